// The environment and the temporary folder, with the buffer contracts of the system calls.
#pragma once

#include "platform/system/WinTypes.h"

// Copies the value of the environment variable name and its NUL into buffer and returns its length.
// When it does not fit, returns the size needed including the NUL and leaves the buffer alone.
// 0 (last error ERROR_ENVVAR_NOT_FOUND) when the variable is not set.
DWORD GetEnvironmentVariableA(const char* name, char* buffer, DWORD size);

// The temporary folder: the first of TMP, TEMP and TMPDIR that is set and not empty, else /tmp, made
// absolute and always ending in the path delimiter; it need not exist. Returns the length without the
// NUL when it fits into size, else the size needed including the NUL (buffer left alone).
DWORD GetTempPathA(DWORD size, char* buffer);
