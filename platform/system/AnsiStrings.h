// Single-byte text helpers: casing and comparison of the ASCII letters only, trimming, number texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text is single-byte throughout; a string holds bytes, not characters.
using AnsiString = std::string;

// Upper- and lower-casing change the letters a to z (A to Z) only; every other byte stays.
char UpCaseChar(char c);
char LowCaseChar(char c);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

// Comparison without regard to case of the ASCII letters: <0, 0 or >0 like strcmp.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// Trimming drops blanks and control characters (bytes up to 32).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

std::string IntToStr(int64_t value);

// Decimal integer text with optional sign and blanks around; raises EConvertError
// "'<text>' is not a valid integer value" otherwise.
int StrToInt(std::string_view s);

// True when s begins with prefix, compared exactly.
bool StartsWith(std::string_view s, std::string_view prefix);
