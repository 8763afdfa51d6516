// Window-message names registered for the session, each given a number of its own.
#pragma once

#include "platform/system/WinTypes.h"

// The message number of name: from 0xC000 upward, the same for the same name in any ASCII letter
// case. 0 for a refused name (none, empty, longer than 255 characters) or when the numbers run out.
UINT RegisterWindowMessageA(const char* name);
