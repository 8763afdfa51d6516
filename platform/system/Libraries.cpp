#include "platform/system/Libraries.h"

#include <dlfcn.h>

HMODULE LoadLibraryA(const char* fileName) {
  if (fileName == nullptr || *fileName == '\0') return nullptr;
  return dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
}

BOOL FreeLibrary(HMODULE module) {
  if (module == nullptr) return FALSE;
  return dlclose(module) == 0 ? TRUE : FALSE;
}
