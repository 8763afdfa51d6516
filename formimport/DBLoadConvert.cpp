#include "formimport/DBLoadConvert.h"

#include <cmath>
#include <cstring>
#include <string_view>

#include "platform/system/Dialogs.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text as far as its first NUL: values come from a file and are treated as C texts.
std::string_view UpToNul(const std::string& s) {
  const size_t nul = s.find('\0');
  return std::string_view(s).substr(0, nul == std::string::npos ? s.size() : nul);
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One piece of a timestamp as an integer: leading blanks, then a signed decimal number or an
// unsigned hexadecimal one ("$", "x", "X", "0x" or "0X" before its digits), and nothing after it.
bool TryPieceToInt(std::string_view piece, int& value) {
  size_t i = 0;
  while (i < piece.size() && piece[i] == ' ') ++i;
  piece.remove_prefix(i);
  if (piece.empty()) return false;
  int base = 10;
  bool negative = false;
  if (piece[0] == '+' || piece[0] == '-') {
    negative = piece[0] == '-';
    piece.remove_prefix(1);
  } else if (piece[0] == '$' || piece[0] == 'x' || piece[0] == 'X') {
    base = 16;
    piece.remove_prefix(1);
  } else if (piece.size() >= 2 && piece[0] == '0' && (piece[1] == 'x' || piece[1] == 'X')) {
    base = 16;
    piece.remove_prefix(2);
  }
  if (piece.empty() || piece.size() > 8) return false;  // pieces are at most four characters long
  int result = 0;
  for (char c : piece) {
    const int d = base == 10 ? (IsDigit(c) ? c - '0' : -1) : HexDigitValue(c);
    if (d < 0) return false;
    result = result * base + d;
  }
  value = negative ? -result : result;
  return true;
}

// The count characters from position index (from 1), fewer at the end of the text.
std::string_view Piece(std::string_view s, size_t index, size_t count) {
  if (index > s.size()) return {};
  return s.substr(index - 1, count);
}

void ReportInvalidToken(char c) {
  MessageDlg(std::string("DBLOAD: Invalid Token in Base64 Blob \"") + c + "\" ", mtWarning, {mbOK}, 0);
}

unsigned char TableValue(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code < 128 ? Base64DecodeTable[code] : Base64Invalid;
}

}  // namespace

// RFC 4648 section 4: A-Z, a-z, 0-9, '+' and '/' are 0 to 63, '=' is the pad (64), the rest invalid.
const unsigned char Base64DecodeTable[128] = {
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,  // 0-15
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,  // 16-31
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 62,  255, 255, 255, 63,   // 32-47
    52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  255, 255, 255, 64,  255, 255,  // 48-63
    255, 0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,   // 64-79
    15,  16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  255, 255, 255, 255, 255,  // 80-95
    255, 26,  27,  28,  29,  30,  31,  32,  33,  34,  35,  36,  37,  38,  39,  40,   // 96-111
    41,  42,  43,  44,  45,  46,  47,  48,  49,  50,  51,  255, 255, 255, 255, 255,  // 112-127
};

const char* BlobCursor = "";

namespace {

// The number a text holds, as ParseNumber reads it: the digits before and after its point, and its sign.
struct TNumberDigits {
  bool Negative = false;
  std::string_view Whole;
  std::string_view Fraction;
};

// Everything before the first digit is skipped; a minus sign right before that digit (or before a point
// right before it) makes the number negative; the first character that does not belong to the digits
// and one fraction ends it. No digits at all: an empty number.
TNumberDigits ReadNumberDigits(std::string_view s) {
  TNumberDigits number;
  size_t i = 0;
  while (i < s.size() && !IsDigit(s[i])) ++i;
  if (i == s.size()) return number;
  // A point right before the first digit starts the fraction (".5" is a half), and then the sign
  // stands before the point.
  const bool fractionOnly = i > 0 && s[i - 1] == '.';
  const size_t numberStart = fractionOnly ? i - 1 : i;
  number.Negative = numberStart > 0 && s[numberStart - 1] == '-';
  const auto digitsFrom = [&](size_t from) {
    size_t end = from;
    while (end < s.size() && IsDigit(s[end])) ++end;
    return s.substr(from, end - from);
  };
  if (!fractionOnly) {
    number.Whole = digitsFrom(i);
    i += number.Whole.size();
    if (i >= s.size() || s[i] != '.') return number;
    ++i;
  }
  number.Fraction = digitsFrom(i);
  return number;
}

}  // namespace

double ParseNumber(const std::string& text) {
  const TNumberDigits number = ReadNumberDigits(UpToNul(text));
  double value = 0;
  for (const char c : number.Whole) {
    value = value * 10;
    value = value + (c - '0');
  }
  double divisor = 10;
  for (const char c : number.Fraction) {
    value = value + (c - '0') / divisor;
    divisor = divisor * 10;
  }
  return number.Negative ? 0 - value : value;
}

double ParseInteger(const std::string& s) {
  return std::nearbyint(ParseNumber(s));  // the default rounding: halves to even
}

std::string NumberText(const std::string& text) {
  const TNumberDigits number = ReadNumberDigits(UpToNul(text));
  std::string digits(number.Whole.empty() ? "0" : number.Whole);
  if (!number.Fraction.empty()) (digits += '.') += number.Fraction;
  return number.Negative ? "-" + digits : digits;
}

TDateTime ParseTimestamp(const std::string& text) {
  const std::string_view s = text;
  TDateTime result = 0;
  if (s.empty()) return result;
  int day = 0, month = 0, year = 0;
  if (!TryPieceToInt(Piece(s, 7, 2), day) || !TryPieceToInt(Piece(s, 5, 2), month) ||
      !TryPieceToInt(Piece(s, 1, 4), year))
    return result;
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) return result;
  result = date;
  if (s.size() > 9) {
    int second = 0, minute = 0, hour = 0;
    if (!TryPieceToInt(Piece(s, 13, 2), second) || !TryPieceToInt(Piece(s, 11, 2), minute) ||
        !TryPieceToInt(Piece(s, 9, 2), hour))
      return result;
    TDateTime time = 0;
    if (!TryEncodeTime(hour, minute, second, 0, time)) return result;
    result = ComposeDateTime(date, time);
  }
  return result;
}

void UnescapeText(std::string& s) {
  if (s.size() > 3 && s[0] == '{' && s[1] == '\\' && s[2] == 'r') return;
  size_t out = 0;
  size_t in = 0;
  while (in < s.size()) {
    const char c = s[in];
    if (c == '\\' && in + 1 < s.size()) {
      const char next = s[in + 1];
      if (next == '\\' || next == 'r' || next == 'n') {
        s[out++] = next == '\\' ? '\\' : (next == 'r' ? '\r' : '\n');
        in += 2;
        continue;
      }
    } else if (static_cast<unsigned char>(c) == 0xA6) {
      s[out++] = '|';
      ++in;
      continue;
    }
    s[out++] = c;
    ++in;
  }
  s.resize(out);
}

void SetBlobSource(const std::string& s) { BlobCursor = s.c_str(); }

void ReadPlainBlob(std::string& result) {
  while (*BlobCursor == ' ') ++BlobCursor;
  const char* start = BlobCursor;
  while (*BlobCursor != '\0' && *BlobCursor != '|') ++BlobCursor;
  result.assign(start, BlobCursor);
  if (*BlobCursor == '|') ++BlobCursor;
}

void DecodeBlob(std::string& result) {
  result.clear();
  if (*BlobCursor == '{') {
    ReadPlainBlob(result);
    return;
  }
  // One allocation for the whole value: four characters never give more than three bytes.
  result.reserve(std::strcspn(BlobCursor, "|") / 4 * 3 + 3);
  while (*BlobCursor != '\0' && *BlobCursor != '|') {
    unsigned char x[4] = {Base64Pad, Base64Pad, Base64Pad, Base64Pad};
    int read = 0;
    // A short last group stops at the end of the value rather than read past it; what it lacks counts
    // as padding, so it gives the bytes its characters hold.
    while (read < 4 && *BlobCursor != '\0' && *BlobCursor != '|') {
      const char c = *BlobCursor++;
      unsigned char v = TableValue(c);
      if (v > Base64Pad) {
        ReportInvalidToken(c);
        v = Base64Invalid;
      }
      x[read++] = v;
    }
    if (read < 2) break;  // one character alone holds no whole byte
    result.push_back(static_cast<char>((x[0] & 63) * 4 + (x[1] & 48) / 16));
    if (x[2] != Base64Pad) result.push_back(static_cast<char>((x[1] & 15) * 16 + (x[2] & 60) / 4));
    if (x[2] != Base64Pad && x[3] != Base64Pad)
      result.push_back(static_cast<char>((x[2] & 3) * 64 + (x[3] & 63)));
  }
  if (*BlobCursor == '|') ++BlobCursor;
}

TDataValue ReadColumnText(const TFieldInfo& field, const std::string& text) {
  switch (field.Kind->Form) {
    case TTextForm::Integer:
      return TDataValue::OfFloat(ftFloat, ParseInteger(text));
    case TTextForm::Decimal:
      return TDataValue::OfBytes(ftString, NumberText(text));
    case TTextForm::Number:
      return TDataValue::OfFloat(ftFloat, ParseNumber(text));
    case TTextForm::Timestamp:
      return TDataValue::OfFloat(ftDateTime, ParseTimestamp(text));
    case TTextForm::Text:
      break;
    case TTextForm::Blob: {
      std::string bytes;
      SetBlobSource(text);
      DecodeBlob(bytes);
      return TDataValue::OfBytes(ftBlob, std::move(bytes));
    }
  }
  return TDataValue::OfBytes(ftString, text);
}
