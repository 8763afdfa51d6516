// The combo-box control library's start-up registration of its drop-down window message.
#pragma once

#include "platform/system/WinTypes.h"

// 0 until registered, and 0 when the platform refused the name; nothing in these programs sends or
// handles it.
extern UINT ComboDropDownMessage;

// Start-up step; the unit has no exit step, since a registered message stays registered.
void RegisterComboDropDownMessage();
