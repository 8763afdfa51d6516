// TStringList: an ordered list of single-byte lines, with the name=value view the system's
// parameter lists and profile sections use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TStringList {
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string> lines) : FLines(lines) {}

  int Count() const { return static_cast<int>(FLines.size()); }
  // Appends a line and returns its index.
  int Add(std::string line);
  void Insert(int index, std::string line);
  void Delete(int index);
  void Clear() { FLines.clear(); }
  void Assign(const TStringList& other) { FLines = other.FLines; }

  // Line i; an index outside 0..Count-1 raises EListError "List index out of bounds (i)".
  const std::string& operator[](int index) const;
  const std::string& Strings(int index) const { return (*this)[index]; }
  void Put(int index, std::string line);

  // Index of the first line equal to s without regard to ASCII case; -1 when none.
  int IndexOf(std::string_view s) const;

  // The name=value view: a line's name is the text before its first '=' (the whole line when it
  // has none is no name at all); names match without regard to ASCII case.
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  int IndexOfName(std::string_view name) const;
  // The value of the first line named name; empty when there is none.
  std::string Values(std::string_view name) const;
  // Sets the value of the first line named name, appends name=value when there is none,
  // and deletes that line when value is empty.
  void SetValue(std::string_view name, std::string_view value);

  // All lines, each ended by CR LF.
  std::string Text() const;
  // Replaces the lines by those of text, split at CR LF, CR or LF.
  void SetText(std::string_view text);

  const std::vector<std::string>& Lines() const { return FLines; }
  bool operator==(const TStringList& other) const = default;

 private:
  void CheckIndex(int index) const;
  std::vector<std::string> FLines;
};
