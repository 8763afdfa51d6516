#include "platform/system/ProfileFiles.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/system/AnsiStrings.h"
#include "platform/system/TextFile.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

std::string TrimBlanks(std::string_view s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  return std::string(s.substr(begin, end - begin));
}

// The caller's names lose outer spaces only; tabs stay and then simply match nothing.
std::string TrimSpaces(std::string_view s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && s[begin] == ' ') ++begin;
  while (end > begin && s[end - 1] == ' ') --end;
  return std::string(s.substr(begin, end - begin));
}

struct TEntry {
  std::string Key;
  std::optional<std::string> Value;  // none for a line without '='
};

struct TSection {
  std::string Name;
  std::vector<TEntry> Entries;
};

std::string Unquote(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Parses the whole file; false when it cannot be read as a file.
bool LoadProfile(const char* fileName, std::vector<TSection>& sections) {
  struct stat st {};
  if (fileName == nullptr || stat(fileName, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // A byte-order mark must not hide the first section.
  size_t pos = ByteOrderMarkLength(text);
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    const std::string_view line(text.data() + pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;

    size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    if (first == line.size()) continue;
    if (line[first] == '[') {
      // The name ends at the first ']'; without one, at the end of the line.
      const size_t close = line.find(']', first + 1);
      const size_t stop = close == std::string_view::npos ? line.size() : close;
      sections.push_back({TrimBlanks(line.substr(first + 1, stop - first - 1)), {}});
      continue;
    }
    if (sections.empty() || line[first] == ';') continue;
    const size_t eq = line.find('=', first);
    if (eq == std::string_view::npos) {
      sections.back().Entries.push_back({TrimBlanks(line), std::nullopt});
    } else {
      sections.back().Entries.push_back(
          {TrimBlanks(line.substr(first, eq - first)), Unquote(TrimBlanks(line.substr(eq + 1)))});
    }
  }
  return true;
}

const TSection* FindSection(const std::vector<TSection>& sections, const std::string& name) {
  for (const TSection& section : sections)
    if (SameText(section.Name, name)) return &section;
  return nullptr;
}

DWORD CopyString(const std::string& value, char* buffer, DWORD size) {
  if (size == 0 || buffer == nullptr) return 0;
  if (value.size() + 1 <= size) {
    std::memcpy(buffer, value.data(), value.size());
    buffer[value.size()] = '\0';
    return static_cast<DWORD>(value.size());
  }
  std::memcpy(buffer, value.data(), size - 1);
  buffer[size - 1] = '\0';
  SetLastError(ERROR_MORE_DATA);
  return size - 1;
}

DWORD CopyList(const std::vector<std::string>& names, char* buffer, DWORD size) {
  std::string joined;
  for (const std::string& name : names) {
    joined += name;
    joined += '\0';
  }
  if (buffer == nullptr || size < 2) {
    if (buffer != nullptr && size == 1) buffer[0] = '\0';
    return 0;
  }
  if (joined.size() + 1 <= size) {
    std::memcpy(buffer, joined.data(), joined.size());
    buffer[joined.size()] = '\0';
    if (joined.empty()) return 0;
    return static_cast<DWORD>(joined.size());
  }
  std::memcpy(buffer, joined.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  SetLastError(ERROR_MORE_DATA);
  return size - 2;
}

std::string DefaultText(const char* defaultValue) {
  std::string text = defaultValue != nullptr ? defaultValue : "";
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue, char* buffer,
                               DWORD size, const char* fileName) {
  SetLastError(ERROR_SUCCESS);
  std::vector<TSection> sections;
  const bool loaded = LoadProfile(fileName, sections);

  if (section == nullptr) {
    std::vector<std::string> names;
    for (const TSection& s : sections) names.push_back(s.Name);
    if (!loaded) SetLastError(ERROR_FILE_NOT_FOUND);
    return CopyList(names, buffer, size);
  }

  const TSection* found = loaded ? FindSection(sections, TrimSpaces(section)) : nullptr;
  if (key == nullptr) {
    std::vector<std::string> names;
    if (found != nullptr)
      for (const TEntry& entry : found->Entries)
        if (entry.Value && !entry.Key.empty()) names.push_back(entry.Key);
    if (!names.empty()) return CopyList(names, buffer, size);
  } else if (found != nullptr) {
    const std::string wanted = TrimSpaces(key);
    if (!wanted.empty())
      for (const TEntry& entry : found->Entries)
        if (entry.Value && SameText(entry.Key, wanted)) return CopyString(*entry.Value, buffer, size);
  }
  const DWORD result = CopyString(DefaultText(defaultValue), buffer, size);
  if (!loaded) SetLastError(ERROR_FILE_NOT_FOUND);
  return result;
}
