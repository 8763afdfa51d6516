#include "iconloader/QUBaseFolder.h"

#include <vector>

#include "platform/system/AnsiStrings.h"
#include "platform/system/Environment.h"
#include "platform/system/Paths.h"

namespace {

std::string& ProgramFolderOverride() {
  static std::string folder;
  return folder;
}

// The length of the tail that is cut from "/BIN" on.
constexpr size_t BinTailLength = 99;
// The buffer the temporary folder is first asked into.
constexpr DWORD TempBufferSize = 127;

}  // namespace

std::string LoaderProgramFolder() {
  const std::string& folder = ProgramFolderOverride();
  return folder.empty() ? ProgramFolder() : folder;
}

void SetLoaderProgramFolder(const std::string& folder) {
  ProgramFolderOverride() = IncludeTrailingPathDelimiter(folder);
}

std::string GetTempFolder() {
  std::vector<char> buffer(TempBufferSize, '\0');
  DWORD length = GetTempPathA(TempBufferSize, buffer.data());
  if (length >= TempBufferSize) {
    // A longer path than the first buffer holds is asked for again whole rather than lost: the size
    // reported then counts its terminating NUL.
    buffer.assign(length + 1, '\0');
    length = GetTempPathA(length + 1, buffer.data());
    if (length > buffer.size()) return std::string();
  }
  return std::string(buffer.data());
}

std::string GetBaseFolder() {
  std::string result = LoaderProgramFolder();
  const size_t pos = UpperCase(result).find("/BIN");
  if (pos != std::string::npos) {
    result.erase(pos, BinTailLength);
  } else {
    result = GetTempFolder();
  }
  if (result.empty() || result.back() != PathDelim) result += PathDelim;
  return result;
}
