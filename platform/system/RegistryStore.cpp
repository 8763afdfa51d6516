#include "platform/system/RegistryStore.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "platform/system/AnsiStrings.h"
#include "platform/system/FileRead.h"
#include "platform/system/Paths.h"
#include "platform/system/TextFile.h"

namespace {

const char* const ComputerNameKey = "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
const char* const ComputerNameValue = "ComputerName";

struct TValue {
  std::string Name;
  DWORD Type = REG_NONE;
  std::string Data;  // a string's bytes without the NUL, or a number's four bytes
};

struct TKey {
  std::string Path;
  std::vector<TValue> Values;
};

struct TOpenKey {
  HKEY Hive;
  std::string Path;
};

// Open keys by handle; handles count up from a value no hive uses.
std::map<HKEY, TOpenKey>& OpenKeys() {
  static std::map<HKEY, TOpenKey> keys;
  return keys;
}

HKEY NextHandle() {
  static HKEY next = 0x100;
  return next++;
}

bool IsHive(HKEY key) { return key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER; }

std::string HiveFileName(HKEY hive) {
  return RegistryStoreFolder() +
         (hive == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE.reg" : "HKEY_CURRENT_USER.reg");
}

// The parts of a key path joined by single backslashes, with none at either end.
std::string NormalizePath(std::string_view path) {
  std::string result;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (!result.empty()) result += '\\';
      result += path.substr(start, end - start);
    }
    start = end + 1;
  }
  return result;
}

std::string JoinPath(const std::string& parent, const std::string& child) {
  if (parent.empty()) return child;
  if (child.empty()) return parent;
  return parent + "\\" + child;
}

// True when path is ancestor or the same key as other.
bool IsAtOrAbove(const std::string& path, const std::string& other) {
  if (path.empty()) return true;
  if (other.size() < path.size()) return false;
  if (!SameText(std::string_view(other).substr(0, path.size()), path)) return false;
  return other.size() == path.size() || other[path.size()] == '\\';
}

// A quoted text at pos ("..." with \\ and \" escapes); pos moves past it.
bool ReadQuoted(const std::string& line, size_t& pos, std::string& text) {
  if (pos >= line.size() || line[pos] != '"') return false;
  text.clear();
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < line.size()) c = line[++pos];
    text += c;
  }
  return false;
}

bool ParseValueLine(const std::string& line, TValue& value) {
  size_t pos = 0;
  if (!ReadQuoted(line, pos, value.Name)) return false;
  if (pos >= line.size() || line[pos] != '=') return false;
  ++pos;
  if (pos < line.size() && line[pos] == '"') {
    value.Type = REG_SZ;
    return ReadQuoted(line, pos, value.Data) && Trim(line.substr(pos)).empty();
  }
  const std::string rest = Trim(line.substr(pos));
  if (!StartsWith(LowerCase(rest), "dword:")) return false;
  const std::string digits = rest.substr(6);
  if (digits.empty() || digits.size() > 8 ||
      digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    return false;
  const auto number = static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
  value.Type = REG_DWORD;
  value.Data.assign(4, '\0');
  for (int i = 0; i < 4; ++i)
    value.Data[static_cast<size_t>(i)] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return true;
}

struct THive {
  std::vector<TKey> Keys;
  bool HostNameRemoved = false;  // a removal line took the computer-name key away
  LONG Error = ERROR_SUCCESS;    // the file could not be read, or holds a line of no known form
};

// The hive file's bytes. A missing file (or store folder) is an empty hive; a file that is there and
// cannot be read, a folder in its place too, must not pass for one.
LONG ReadHiveFile(HKEY hive, std::string& text) {
  text.clear();
  try {
    TFileReader file;
    file.Open(HiveFileName(hive));
    file.ReadInto(text);
    file.Close();
  } catch (const EInOutError& e) {
    if (e.ErrorCode == ENOENT || e.ErrorCode == ENOTDIR) return ERROR_SUCCESS;
    const bool refused = e.ErrorCode == EACCES || e.ErrorCode == EPERM || e.ErrorCode == EISDIR;
    return refused ? ERROR_ACCESS_DENIED : ERROR_REGISTRY_IO_FAILED;
  }
  return ERROR_SUCCESS;
}

THive LoadHive(HKEY hive) {
  THive result;
  std::string text;
  result.Error = ReadHiveFile(hive, text);
  if (result.Error != ERROR_SUCCESS) return result;
  // Some editors begin a UTF-8 file with a byte-order mark; it is no part of the first line.
  text.erase(0, ByteOrderMarkLength(text));

  std::vector<TKey>& keys = result.Keys;
  bool inKey = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    if (trimmed.size() > 2 && trimmed[0] == '[' && trimmed[1] == '-' && trimmed.back() == ']') {
      const std::string removed = NormalizePath(std::string_view(trimmed).substr(2, trimmed.size() - 3));
      std::erase_if(keys, [&](const TKey& key) { return IsAtOrAbove(removed, key.Path); });
      if (hive == HKEY_LOCAL_MACHINE && IsAtOrAbove(removed, ComputerNameKey)) result.HostNameRemoved = true;
      inKey = false;  // values that follow belong to no key until the next header
      continue;
    }
    if (trimmed[0] == '[' && trimmed.back() == ']') {
      inKey = true;
      keys.push_back({NormalizePath(std::string_view(trimmed).substr(1, trimmed.size() - 2)), {}});
      continue;
    }
    TValue value;
    if (!ParseValueLine(trimmed, value)) {
      // A line of no known form: what the hive holds cannot be told, so none of it is taken.
      result.Keys.clear();
      result.Error = ERROR_BADDB;
      return result;
    }
    if (inKey) keys.back().Values.push_back(std::move(value));
  }
  return result;
}

bool KeyExists(const THive& data, HKEY hive, const std::string& path) {
  if (path.empty()) return true;
  if (hive == HKEY_LOCAL_MACHINE && !data.HostNameRemoved && IsAtOrAbove(path, ComputerNameKey)) return true;
  for (const TKey& key : data.Keys)
    if (IsAtOrAbove(path, key.Path)) return true;
  return false;
}

// The host name as the system keeps the computer name: first label, capitals, 15 characters at most.
bool HostComputerName(std::string& name) {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) return false;
  name = ComputerNameFromHost(host);
  return !name.empty();
}

// Resolves a handle and a sub-key to the hive and the full path; false for a handle not open.
bool Resolve(HKEY hKey, const char* subKey, HKEY& hive, std::string& path) {
  std::string base;
  if (IsHive(hKey)) {
    hive = hKey;
  } else {
    const auto it = OpenKeys().find(hKey);
    if (it == OpenKeys().end()) return false;
    hive = it->second.Hive;
    base = it->second.Path;
  }
  path = JoinPath(base, NormalizePath(subKey != nullptr ? subKey : ""));
  return true;
}

HKEY AddOpenKey(HKEY hive, const std::string& path) {
  const HKEY handle = NextHandle();
  OpenKeys()[handle] = {hive, path};
  return handle;
}

}  // namespace

std::string ComputerNameFromHost(const std::string& hostName) {
  return UpperCase(hostName.substr(0, std::min(hostName.find('.'), size_t{15})));
}

std::string RegistryStoreFolder() {
  const char* dir = std::getenv("QV_REGISTRY_DIR");
  if (dir != nullptr && *dir != '\0') return IncludeTrailingPathDelimiter(dir);
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && *config != '\0') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  return IncludeTrailingPathDelimiter(base) + "quorvan/registry/";
}

LONG RegOpenKeyExA(HKEY hKey, const char* subKey, DWORD /*options*/, REGSAM /*samDesired*/, HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = 0;
  HKEY hive = 0;
  std::string path;
  if (!Resolve(hKey, subKey, hive, path)) return ERROR_INVALID_HANDLE;
  const THive data = LoadHive(hive);
  if (data.Error != ERROR_SUCCESS) return data.Error;
  if (!KeyExists(data, hive, path)) return ERROR_FILE_NOT_FOUND;
  *result = AddOpenKey(hive, path);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY hKey, const char* subKey, HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = 0;
  HKEY hive = 0;
  std::string path;
  if (!Resolve(hKey, subKey, hive, path)) return ERROR_INVALID_HANDLE;
  const THive data = LoadHive(hive);
  // Nothing is added to a file that could not be read as a hive.
  if (data.Error != ERROR_SUCCESS) return data.Error;
  if (!KeyExists(data, hive, path)) {
    std::error_code ec;
    std::filesystem::create_directories(RegistryStoreFolder(), ec);
    const std::string fileName = HiveFileName(hive);
    // A file whose last line has no line break must not have the new key glued to it.
    std::string tail;
    {
      std::ifstream in(fileName, std::ios::binary);
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (!text.empty() && text.back() != '\n') tail = "\n";
    }
    std::ofstream out(fileName, std::ios::binary | std::ios::app);
    out << tail << '[' << path << "]\n";
    out.flush();
    if (!out) return ERROR_ACCESS_DENIED;
  }
  *result = AddOpenKey(hive, path);
  return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY hKey, const char* valueName, DWORD* /*reserved*/, DWORD* type, BYTE* data,
                      DWORD* dataSize) {
  HKEY hive = 0;
  std::string path;
  if (!Resolve(hKey, nullptr, hive, path)) return ERROR_INVALID_HANDLE;
  if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
  const std::string name = valueName != nullptr ? valueName : "";

  const TValue* found = nullptr;
  const THive hiveData = LoadHive(hive);
  if (hiveData.Error != ERROR_SUCCESS) return hiveData.Error;
  for (const TKey& key : hiveData.Keys) {
    if (found != nullptr) break;
    if (!SameText(key.Path, path)) continue;
    for (const TValue& value : key.Values)
      if (SameText(value.Name, name)) {
        found = &value;
        break;
      }
  }
  TValue computerName;
  if (found == nullptr && hive == HKEY_LOCAL_MACHINE && !hiveData.HostNameRemoved &&
      SameText(path, ComputerNameKey) && SameText(name, ComputerNameValue) &&
      HostComputerName(computerName.Data)) {
    computerName.Type = REG_SZ;
    found = &computerName;
  }
  if (found == nullptr) return ERROR_FILE_NOT_FOUND;

  const DWORD needed = static_cast<DWORD>(found->Data.size() + (found->Type == REG_SZ ? 1 : 0));
  if (type != nullptr) *type = found->Type;
  if (data == nullptr) {
    if (dataSize != nullptr) *dataSize = needed;
    return ERROR_SUCCESS;
  }
  if (*dataSize < needed) {
    *dataSize = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, found->Data.data(), found->Data.size());
  if (found->Type == REG_SZ) data[found->Data.size()] = 0;
  *dataSize = needed;
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
  if (IsHive(hKey)) return ERROR_SUCCESS;
  return OpenKeys().erase(hKey) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
