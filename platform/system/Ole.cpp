#include "platform/system/Ole.h"

namespace {
int GOleCount = 0;
}

HRESULT OleInitialize(void* /*reserved*/) { return GOleCount++ == 0 ? S_OK : S_FALSE; }

void OleUninitialize() {
  if (GOleCount > 0) --GOleCount;
}

int OleInitializeCount() { return GOleCount; }
