#include "platform/data/ColumnValue.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "platform/data/DBErrors.h"
#include "platform/system/AnsiStrings.h"

namespace {

struct TRange {
  int64_t Low;
  int64_t High;
};

TRange RangeOf(TFieldType integerType) {
  switch (integerType) {
    case ftSmallint:
      return {INT16_MIN, INT16_MAX};
    case ftInteger:
      return {INT32_MIN, INT32_MAX};
    default:
      return {INT64_MIN, INT64_MAX};
  }
}

[[noreturn]] void OutOfRange(const std::string& value, const std::string& low, const std::string& high,
                             const std::string& fieldName) {
  throw EDatabaseError(value + " is not a valid value for field '" + fieldName + "'. The allowed range is " +
                       low + " to " + high);
}

[[noreturn]] void CannotAccess(const std::string& fieldName, TFieldType valueType) {
  throw EDatabaseError("Cannot access field '" + fieldName + "' as type " + FieldTypeName(valueType));
}

int64_t CheckedInteger(int64_t value, TFieldType type, const std::string& fieldName) {
  const TRange range = RangeOf(type);
  if (value < range.Low || value > range.High)
    OutOfRange(IntToStr(value), IntToStr(range.Low), IntToStr(range.High), fieldName);
  return value;
}

constexpr double TwoTo63 = 9223372036854775808.0;

// A float in an integer column: the nearest whole number, halves to the even neighbour (the default
// rounding mode), when it fits.
int64_t RoundedFloat(double value, TFieldType type, const std::string& fieldName) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -TwoTo63 && rounded < TwoTo63)) {
    const TRange range = RangeOf(type);
    OutOfRange(FloatToText(rounded), IntToStr(range.Low), IntToStr(range.High), fieldName);
  }
  return CheckedInteger(static_cast<int64_t>(rounded), type, fieldName);
}

TDataValue ToInteger(const TDataValue& value, TFieldType type, const std::string& fieldName) {
  const TFieldType from = value.Type;
  int64_t number = 0;
  // A text is read as a whole integer; a scaled integer rounds halves to even. These views never
  // need the name.
  if (IsIntegerType(from) || from == ftBCD || from == ftString || from == ftMemo)
    number = CheckedInteger(ValueAsInteger(value, std::string()), type, fieldName);
  else if (from == ftFloat)
    number = RoundedFloat(value.Float, type, fieldName);
  else
    CannotAccess(fieldName, from);
  return TDataValue::OfInteger(type, number);
}

TDataValue ToFloat(const TDataValue& value, const std::string& fieldName) {
  const TFieldType from = value.Type;
  double number = 0;
  if (IsIntegerType(from) || from == ftBCD || IsDateTimeType(from) || from == ftString || from == ftMemo)
    number = ValueAsFloat(value, std::string());
  else if (from == ftFloat)
    number = value.Float;
  else
    CannotAccess(fieldName, from);
  if (!std::isfinite(number))
    OutOfRange(FloatToText(number), FloatToText(-DBL_MAX), FloatToText(DBL_MAX), fieldName);
  return TDataValue::OfFloat(ftFloat, number);
}

// The digits of a decimal text: an optional sign, digits with at most one point among them, and at
// least one digit; false for any other text.
bool ReadDecimal(std::string_view text, bool& negative, std::string_view& whole, std::string_view& fraction) {
  negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const size_t point = text.find('.');
  whole = text.substr(0, point);
  fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const auto allDigits = [](std::string_view s) {
    return s.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return (!whole.empty() || !fraction.empty()) && allDigits(whole) && allDigits(fraction);
}

// Adds one to a string of decimal digits.
void Increment(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(0, 1, '1');
}

// The units that digits (the number's digits down to the column's last place) count.
TDataValue ScaledUnits(bool negative, std::string digits, const TColumnType& column,
                       const std::string& fieldName) {
  const TRange range = RangeOf(column.Storage);
  const size_t places = static_cast<size_t>(-column.Scale);
  if (digits.size() < places + 1) digits.insert(0, places + 1 - digits.size(), '0');
  // At most 19 digits fit 64 bits unsigned without overflow.
  uint64_t magnitude = 0;
  bool fits = digits.size() <= 19;
  if (fits) magnitude = std::stoull(digits);
  const uint64_t limit = negative ? 0 - static_cast<uint64_t>(range.Low) : static_cast<uint64_t>(range.High);
  if (!fits || magnitude > limit) {
    std::string text = digits;
    if (places > 0) text.insert(text.size() - places, 1, '.');
    OutOfRange((negative ? "-" : "") + text, ScaledToText(range.Low, column.Scale),
               ScaledToText(range.High, column.Scale), fieldName);
  }
  const int64_t units = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return TDataValue::OfScaled(units, column.Scale);
}

// A decimal number to the column's scale, digit by digit: the digits past the scale round the last one
// kept, halves to the even neighbour.
TDataValue DecimalToScaled(bool negative, std::string_view whole, std::string_view fraction,
                           const TColumnType& column, const std::string& fieldName) {
  const size_t places = static_cast<size_t>(-column.Scale);
  std::string digits(whole);
  digits += fraction.substr(0, places);
  digits.append(places - std::min(places, fraction.size()), '0');
  if (digits.empty()) digits = "0";
  if (fraction.size() > places) {
    const std::string_view dropped = fraction.substr(places);
    const bool moreThanHalf = dropped.find_first_not_of('0', 1) != std::string_view::npos;
    const bool odd = (digits.back() - '0') % 2 != 0;
    if (dropped[0] > '5' || (dropped[0] == '5' && (moreThanHalf || odd))) Increment(digits);
  }
  // Leading zeros go, but the places after the point and one digit before it stay.
  const size_t first = digits.find_first_not_of('0');
  const size_t zeros = first == std::string::npos ? digits.size() : first;
  if (digits.size() > places + 1) digits.erase(0, std::min(zeros, digits.size() - places - 1));
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  return ScaledUnits(negative && !zero, digits, column, fieldName);
}

TDataValue FloatToScaled(double value, const TColumnType& column, const std::string& fieldName) {
  // Powers of ten that a double holds exactly.
  static const double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                  1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
  const TRange range = RangeOf(column.Storage);
  const double rounded = std::nearbyint(value * powers[std::clamp(-column.Scale, 0, 18)]);
  if (!(rounded >= -TwoTo63 && rounded < TwoTo63))
    OutOfRange(FloatToText(value), ScaledToText(range.Low, column.Scale),
               ScaledToText(range.High, column.Scale), fieldName);
  return ScaledUnits(rounded < 0, std::to_string(static_cast<uint64_t>(std::fabs(rounded))), column,
                     fieldName);
}

TDataValue ToScaled(const TDataValue& value, const TColumnType& column, const std::string& fieldName) {
  const TFieldType from = value.Type;
  std::string text;
  if (IsIntegerType(from))
    text = IntToStr(value.Integer);
  else if (from == ftBCD)
    text = ScaledToText(value.Integer, value.Scale);
  else if (from == ftString || from == ftMemo)
    text = Trim(value.Bytes);
  else if (from == ftFloat)
    return FloatToScaled(value.Float, column, fieldName);
  else
    CannotAccess(fieldName, from);
  bool negative = false;
  std::string_view whole, fraction;
  if (!ReadDecimal(text, negative, whole, fraction))
    return FloatToScaled(TextToFloat(text), column, fieldName);
  return DecimalToScaled(negative, whole, fraction, column, fieldName);
}

TDataValue ToBoolean(const TDataValue& value, const std::string& fieldName) {
  if (IsIntegerType(value.Type)) return TDataValue::OfInteger(ftBoolean, value.Integer != 0);
  if (value.Type == ftString || value.Type == ftMemo) {
    const std::string text = Trim(value.Bytes);
    if (SameText(text, "True")) return TDataValue::OfInteger(ftBoolean, 1);
    if (SameText(text, "False")) return TDataValue::OfInteger(ftBoolean, 0);
    throw EConvertError("'" + value.Bytes + "' is not a valid boolean value");
  }
  CannotAccess(fieldName, value.Type);
}

TDataValue ToBytes(const TDataValue& value, TFieldType type, const std::string& fieldName) {
  const TFieldType from = value.Type;
  if (from == ftString || IsBlobType(from)) return TDataValue::OfBytes(type, value.Bytes);
  if (IsIntegerType(from) && from != ftBoolean) return TDataValue::OfBytes(type, IntToStr(value.Integer));
  // Numbers and dates as text, but not as the bytes of a binary blob.
  if (type != ftBlob && (from == ftFloat || from == ftBCD || IsDateTimeType(from)))
    return TDataValue::OfBytes(type, ValueAsString(value));
  CannotAccess(fieldName, from);
}

TDataValue NullOf(TFieldType type) {
  TDataValue null;
  null.Type = type;
  return null;
}

}  // namespace

TDataValue ConvertToColumn(const TDataValue& value, const TColumnType& column, const std::string& fieldName) {
  if (value.Null) return NullOf(column.Type);
  if (column.Type == ftString || IsBlobType(column.Type)) return ToBytes(value, column.Type, fieldName);
  // An empty text clears a column of any other type.
  if ((value.Type == ftString || value.Type == ftMemo) && Trim(value.Bytes).empty())
    return NullOf(column.Type);
  switch (column.Type) {
    case ftBoolean:
      return ToBoolean(value, fieldName);
    case ftSmallint:
    case ftInteger:
    case ftLargeint:
      return ToInteger(value, column.Type, fieldName);
    case ftBCD:
      return ToScaled(value, column, fieldName);
    case ftFloat:
      return ToFloat(value, fieldName);
    case ftDate:
    case ftTime:
    case ftDateTime:
      if (IsDateTimeType(value.Type) || value.Type == ftFloat)
        return TDataValue::OfFloat(column.Type, value.Float);
      break;
    case ftString:
    case ftBlob:
    case ftMemo:
    case ftUnknown:
      break;
  }
  CannotAccess(fieldName, value.Type);
}
