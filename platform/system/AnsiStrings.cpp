#include "platform/system/AnsiStrings.h"

#include <charconv>

#include "platform/system/Exceptions.h"

char UpCaseChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

char LowCaseChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperCase(std::string_view s) {
  std::string result(s);
  for (char& c : result) c = UpCaseChar(c);
  return result;
}

std::string LowerCase(std::string_view s) {
  std::string result(s);
  for (char& c : result) c = LowCaseChar(c);
  return result;
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(UpCaseChar(a[i]));
    const auto cb = static_cast<unsigned char>(UpCaseChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

namespace {
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsTrimmed(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsTrimmed(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

std::string Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string IntToStr(int64_t value) { return std::to_string(value); }

int StrToInt(std::string_view s) {
  const std::string t = Trim(s);
  std::string_view digits = t;
  // One sign at most: from_chars would take a '-' behind a '+' as a second one.
  if (!digits.empty() && digits.front() == '+' && (digits.size() < 2 || digits[1] != '-'))
    digits.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
    throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return value;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}
