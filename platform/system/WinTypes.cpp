#include "platform/system/WinTypes.h"

namespace {
thread_local DWORD GLastError = 0;
}

DWORD GetLastError() { return GLastError; }
void SetLastError(DWORD code) { GLastError = code; }
