#include "platform/system/Environment.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/system/Paths.h"

namespace {

DWORD CopyWithContract(const std::string& value, char* buffer, DWORD size) {
  if (buffer == nullptr || value.size() + 1 > size) return static_cast<DWORD>(value.size() + 1);
  std::memcpy(buffer, value.c_str(), value.size() + 1);
  return static_cast<DWORD>(value.size());
}

std::string CurrentFolder() {
  std::string buffer(4096, '\0');
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) return buffer.c_str();
    if (errno != ERANGE) return "/";
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

DWORD GetEnvironmentVariableA(const char* name, char* buffer, DWORD size) {
  const char* value = name != nullptr && *name != '\0' ? std::getenv(name) : nullptr;
  if (value == nullptr) {
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  SetLastError(ERROR_SUCCESS);
  return CopyWithContract(value, buffer, size);
}

DWORD GetTempPathA(DWORD size, char* buffer) {
  std::string path = "/tmp";
  for (const char* name : {"TMP", "TEMP", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      path = value;
      break;
    }
  }
  if (path[0] != PathDelim) path = IncludeTrailingPathDelimiter(CurrentFolder()) + path;
  return CopyWithContract(IncludeTrailingPathDelimiter(path), buffer, size);
}
