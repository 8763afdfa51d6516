// OLE start-up and shut-down: nothing to set up here, but the calls must pair up.
#pragma once

#include "platform/system/WinTypes.h"

// Counts one more initialisation: S_OK for the first, S_FALSE while already initialised.
HRESULT OleInitialize(void* reserved);
// Counts one initialisation off; an extra call does nothing.
void OleUninitialize();
// The number of initialisations not yet balanced.
int OleInitializeCount();
