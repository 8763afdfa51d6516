#include "platform/system/Paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/system/AnsiStrings.h"

std::string ExtractFilePath(std::string_view fileName) {
  const size_t pos = fileName.rfind(PathDelim);
  return pos == std::string_view::npos ? std::string() : std::string(fileName.substr(0, pos + 1));
}

std::string ExtractFileName(std::string_view fileName) {
  const size_t pos = fileName.rfind(PathDelim);
  return std::string(pos == std::string_view::npos ? fileName : fileName.substr(pos + 1));
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
  std::string result(path);
  if (!result.empty() && result.back() != PathDelim) result += PathDelim;
  return result;
}

bool FileExists(const std::string& fileName) {
  struct stat st {};
  return !fileName.empty() && stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& dir) {
  struct stat st {};
  return !dir.empty() && stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ProgramFileName() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(n));
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramFolder() { return ExtractFilePath(ProgramFileName()); }

namespace {

bool EntryExists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

}  // namespace

std::string FindNameIgnoringCase(const std::string& folder, const std::string& name) {
  const std::string dir = folder.empty() ? std::string(".") : folder;
  if (name.empty() || EntryExists(IncludeTrailingPathDelimiter(dir) + name)) return name;
  DIR* handle = opendir(dir.c_str());
  if (handle == nullptr) return name;
  std::string best;
  bool found = false;
  while (const dirent* entry = readdir(handle)) {
    const std::string candidate = entry->d_name;
    if (candidate == "." || candidate == "..") continue;
    if (SameText(candidate, name) && (!found || candidate < best)) {
      best = candidate;
      found = true;
    }
  }
  closedir(handle);
  return found ? best : name;
}

std::string FindPathIgnoringCase(const std::string& path) {
  if (path.empty() || EntryExists(path)) return path;
  std::string result;
  size_t start = 0;
  if (path[0] == PathDelim) {
    result = "/";
    start = 1;
  }
  bool lost = false;  // once a part is not found, the rest cannot be looked up
  while (start <= path.size()) {
    size_t end = path.find(PathDelim, start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (!part.empty()) {
      const std::string folder = result.empty() ? std::string(".") : result;
      const std::string chosen = lost ? part : FindNameIgnoringCase(folder, part);
      result += chosen;
      if (!EntryExists(IncludeTrailingPathDelimiter(folder) + chosen)) lost = true;
    }
    if (end < path.size()) result += PathDelim;
    start = end + 1;
  }
  return result;
}
