#include "platform/system/IniFiles.h"

#include <vector>

#include "platform/system/ProfileFiles.h"

bool TIniFile::Readable() const {
  // Asked through the same reader as every value: the list of sections says whether it found a file.
  char buffer[2];
  GetPrivateProfileStringA(nullptr, nullptr, nullptr, buffer, sizeof buffer, FFileName.c_str());
  return GetLastError() != static_cast<DWORD>(ERROR_FILE_NOT_FOUND);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) const {
  std::vector<char> buffer(ValueBufferSize);
  const DWORD length = GetPrivateProfileStringA(section.c_str(), ident.c_str(), defaultValue.c_str(),
                                                buffer.data(), ValueBufferSize, FFileName.c_str());
  return std::string(buffer.data(), length);
}

void TIniFile::ReadSection(const std::string& section, TStringList& strings) const {
  std::vector<char> buffer(KeyListBufferSize);
  const DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, nullptr, buffer.data(),
                                                KeyListBufferSize, FFileName.c_str());
  // Names stand one after the other, each ended by a NUL.
  size_t pos = 0;
  while (pos < length) {
    const std::string name(buffer.data() + pos);
    if (name.empty()) break;
    strings.Add(name);
    pos += name.size() + 1;
  }
}

void TIniFile::ReadSectionValues(const std::string& section, TStringList& strings) const {
  TStringList keys;
  ReadSection(section, keys);
  for (int i = 0; i < keys.Count(); ++i) {
    const std::string value = ReadString(section, keys[i], "");
    if (value.empty()) continue;
    // A key named twice reads its first value both times: keep the one line it already has.
    const int line = strings.IndexOfName(keys[i]);
    if (line < 0)
      strings.Add(keys[i] + "=" + value);
    else
      strings.Put(line, strings.Names(line) + "=" + value);
  }
}
