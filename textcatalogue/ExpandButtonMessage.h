// The expand button's start-up registration of the window message that drops down its list.
#pragma once

#include "platform/system/WinTypes.h"

// 0 until registered, and 0 when the platform refused the name; nothing in these programs reads it.
extern UINT ExpandButtonDropDownMessage;

// Start-up step; the unit has no exit step, since a registered message stays registered.
void RegisterExpandButtonMessage();
