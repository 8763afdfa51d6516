// TIniFile: reads a profile file through GetPrivateProfileStringA, as the programs read QV32.INI.
#pragma once

#include <string>

#include "platform/system/StringList.h"

class TIniFile {
 public:
  // Opening never fails: with no such file every read gives its default.
  explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

  const std::string& FileName() const { return FFileName; }
  // True when the file is there and the profile reader can read it; otherwise every read gives its
  // default.
  bool Readable() const;

  // The value of ident in section (at most 2,047 characters), or defaultValue when there is none.
  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& defaultValue) const;
  // Adds the key names of section to strings, in the file's order (duplicates as often as they occur).
  void ReadSection(const std::string& section, TStringList& strings) const;
  // For each key of section with a non-empty value, adds the line key=value to strings, or sets the
  // value of the line of that name when there is one already; keys with an empty value give no line.
  void ReadSectionValues(const std::string& section, TStringList& strings) const;

  static constexpr int ValueBufferSize = 2048;
  static constexpr int KeyListBufferSize = 16384;

 private:
  std::string FFileName;
};
