#include "platform/system/WindowMessages.h"

#include <cstring>
#include <map>
#include <string>

#include "platform/system/AnsiStrings.h"

namespace {

constexpr UINT FirstMessage = 0xC000;
constexpr UINT LastMessage = 0xFFFF;
constexpr size_t MaxNameLength = 255;

std::map<std::string, UINT>& Registered() {
  static std::map<std::string, UINT> names;
  return names;
}

}  // namespace

UINT RegisterWindowMessageA(const char* name) {
  if (name == nullptr) return 0;
  const size_t length = std::strlen(name);
  if (length == 0 || length > MaxNameLength) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::map<std::string, UINT>& names = Registered();
  const std::string key = UpperCase(name);
  const auto it = names.find(key);
  if (it != names.end()) return it->second;
  const UINT next = FirstMessage + static_cast<UINT>(names.size());
  if (next > LastMessage) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  names.emplace(key, next);
  return next;
}
