#include "platform/data/DataValue.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/data/DBErrors.h"
#include "platform/system/AnsiStrings.h"

const char* FieldTypeName(TFieldType type) {
  switch (type) {
    case ftString:
      return "String";
    case ftSmallint:
      return "Smallint";
    case ftInteger:
      return "Integer";
    case ftLargeint:
      return "Largeint";
    case ftBoolean:
      return "Boolean";
    case ftFloat:
      return "Float";
    case ftDate:
      return "Date";
    case ftTime:
      return "Time";
    case ftDateTime:
      return "DateTime";
    case ftBlob:
      return "Blob";
    case ftMemo:
      return "Memo";
    case ftBCD:
      return "BCD";
    case ftUnknown:
      break;
  }
  return "Unknown";
}

bool IsIntegerType(TFieldType type) {
  return type == ftSmallint || type == ftInteger || type == ftLargeint || type == ftBoolean;
}

bool IsDateTimeType(TFieldType type) { return type == ftDate || type == ftTime || type == ftDateTime; }

bool IsBlobType(TFieldType type) { return type == ftBlob || type == ftMemo; }

TDataValue TDataValue::OfInteger(TFieldType type, int64_t value) {
  TDataValue v;
  v.Type = type;
  v.Null = false;
  v.Integer = value;
  return v;
}

TDataValue TDataValue::OfScaled(int64_t units, int scale) {
  TDataValue v = OfInteger(ftBCD, units);
  v.Scale = scale;
  return v;
}

TDataValue TDataValue::OfFloat(TFieldType type, double value) {
  TDataValue v;
  v.Type = type;
  v.Null = false;
  v.Float = value;
  return v;
}

TDataValue TDataValue::OfBytes(TFieldType type, std::string value) {
  TDataValue v;
  v.Type = type;
  v.Null = false;
  v.Bytes = std::move(value);
  return v;
}

bool TDataValue::operator==(const TDataValue& other) const {
  if (Null || other.Null) return Null == other.Null;
  if (Type != other.Type) return false;
  if (IsIntegerType(Type)) return Integer == other.Integer;
  if (Type == ftBCD) return Integer == other.Integer && Scale == other.Scale;
  if (Type == ftFloat || IsDateTimeType(Type)) return Float == other.Float;
  return Bytes == other.Bytes;
}

namespace {

[[noreturn]] void CannotAccess(const std::string& what, const char* typeName) {
  throw EDatabaseError("Cannot access " + what + " as type " + typeName);
}

int64_t TextToInteger(const std::string& text) {
  const std::string trimmed = Trim(text);
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(trimmed.c_str(), &end, 10);
  if (trimmed.empty() || *end != '\0' || errno == ERANGE)
    throw EConvertError("'" + text + "' is not a valid integer value");
  return value;
}

// 10^places for 0 to 18 places.
int64_t PowerOfTen(int places) {
  int64_t power = 1;
  for (int i = 0; i < places; ++i) power *= 10;
  return power;
}

// units × 10^scale rounded to a whole number, halves to the even neighbour.
int64_t ScaledToInteger(int64_t units, int scale) {
  if (scale == 0) return units;
  if (scale < -18) return 0;  // fewer than one unit in 10^18: no scale goes so far
  const int64_t power = PowerOfTen(-scale);
  const int64_t quotient = units / power;
  const int64_t remainder = units % power;
  const int64_t twice = remainder < 0 ? -2 * (-remainder) : 2 * remainder;  // |remainder| < 10^18
  if (twice > power || (twice == power && quotient % 2 != 0)) return quotient + 1;
  if (twice < -power || (twice == -power && quotient % 2 != 0)) return quotient - 1;
  return quotient;
}

}  // namespace

std::string ScaledToText(int64_t units, int scale) {
  const bool negative = units < 0;
  // The magnitude as unsigned, so that the most negative units have one too.
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  std::string digits = std::to_string(magnitude);
  const size_t places = static_cast<size_t>(-scale);
  if (places > 0) {
    if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
    digits.insert(digits.size() - places, 1, '.');
  }
  return negative ? "-" + digits : digits;
}

int64_t ValueAsInteger(const TDataValue& value, const std::string& what) {
  if (value.Null) return 0;
  if (IsIntegerType(value.Type)) return value.Integer;
  if (value.Type == ftBCD) return ScaledToInteger(value.Integer, value.Scale);
  if (value.Type == ftFloat) return std::llround(value.Float);
  if (value.Type == ftString || value.Type == ftMemo) return TextToInteger(value.Bytes);
  CannotAccess(what, "Integer");
}

int32_t ValueAsInt32(const TDataValue& value, const std::string& what) {
  const int64_t wide = ValueAsInteger(value, what);
  if (wide < INT32_MIN || wide > INT32_MAX)
    throw EDatabaseError(IntToStr(wide) + " is not a valid value for " + what);
  return static_cast<int32_t>(wide);
}

double ValueAsFloat(const TDataValue& value, const std::string& what) {
  if (value.Null) return 0;
  if (IsIntegerType(value.Type)) return static_cast<double>(value.Integer);
  if (value.Type == ftBCD)
    return static_cast<double>(value.Integer) / static_cast<double>(PowerOfTen(-value.Scale));
  if (value.Type == ftFloat || IsDateTimeType(value.Type)) return value.Float;
  if (value.Type == ftString || value.Type == ftMemo) return TextToFloat(value.Bytes);
  CannotAccess(what, "Float");
}

TDateTime ValueAsDateTime(const TDataValue& value, const std::string& what) {
  if (value.Null) return 0;
  if (IsDateTimeType(value.Type) || value.Type == ftFloat) return value.Float;
  CannotAccess(what, "DateTime");
}

std::string ValueAsString(const TDataValue& value) {
  if (value.Null) return std::string();
  if (value.Type == ftBoolean) return value.Integer ? "True" : "False";
  if (IsIntegerType(value.Type)) return IntToStr(value.Integer);
  if (value.Type == ftBCD) return ScaledToText(value.Integer, value.Scale);
  if (value.Type == ftFloat) return FloatToText(value.Float);
  if (IsDateTimeType(value.Type)) return DateTimeToText(value.Float);
  return value.Bytes;
}

std::string FloatToText(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

double TextToFloat(std::string_view text) {
  const std::string trimmed = Trim(text);
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  // strtod also reads "inf", "nan" and hexadecimal forms, which no number text of the system uses.
  const bool plain = trimmed.find_first_not_of("0123456789+-.eE") == std::string::npos;
  if (trimmed.empty() || *end != '\0' || !plain || !std::isfinite(value))
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  return value;
}

std::string DateTimeToText(TDateTime value) {
  int year, month, day, hour, minute, second, msec;
  DecodeDateTime(value, year, month, day, hour, minute, second, msec);
  char buffer[64];
  if (hour == 0 && minute == 0 && second == 0 && msec == 0)
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
  else if (msec == 0)
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                  second);
  else
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", year, month, day, hour, minute,
                  second, msec);
  return buffer;
}
