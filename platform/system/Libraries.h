// Loading shared libraries by name, as the programs ask for optional system libraries.
#pragma once

#include "platform/system/WinTypes.h"

using HMODULE = void*;

// Really tries to load the library of that name; nullptr when there is none to load.
HMODULE LoadLibraryA(const char* fileName);
// Releases a library LoadLibraryA gave; FALSE for an empty handle or a failed release.
BOOL FreeLibrary(HMODULE module);
