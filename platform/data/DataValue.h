// Values as fields and parameters hold them: a data type, a null mark and the value itself, with
// the conversions between the As... views (integer, string, float, date-time, blob bytes).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system/DateTime.h"

enum TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftLargeint,
  ftBoolean,
  ftFloat,
  ftDate,
  ftTime,
  ftDateTime,
  ftBlob,  // binary bytes
  ftMemo,  // text bytes of a text blob
  ftBCD    // a scaled integer: Integer counts units of ten to the power Scale
};

// The type's name as error messages show it ("Integer", "String", ...).
const char* FieldTypeName(TFieldType type);

bool IsIntegerType(TFieldType type);
bool IsDateTimeType(TFieldType type);
bool IsBlobType(TFieldType type);

struct TDataValue {
  TFieldType Type = ftUnknown;
  bool Null = true;
  int64_t Integer = 0;  // the integer types and ftBoolean
  int Scale = 0;        // ftBCD: the power of ten of Integer's last digit, 0 to -18
  double Float = 0;     // ftFloat and the date-time types
  std::string Bytes;    // ftString, ftBlob and ftMemo

  static TDataValue OfInteger(TFieldType type, int64_t value);
  // units × 10^scale, kept exactly.
  static TDataValue OfScaled(int64_t units, int scale);
  static TDataValue OfFloat(TFieldType type, double value);
  static TDataValue OfBytes(TFieldType type, std::string value);
  bool operator==(const TDataValue& other) const;
};

// The views of a value. Null reads as 0, "" or 0.0. `what` names the field or parameter in
// messages. A text that is no number raises EConvertError; a view the type does not have raises
// EDatabaseError "Cannot access <what> as type <type>".
int64_t ValueAsInteger(const TDataValue& value, const std::string& what);
// The integer view narrowed to 32 bits: EDatabaseError "<value> is not a valid value for <what>" when it
// does not fit, never cut to its low bits.
int32_t ValueAsInt32(const TDataValue& value, const std::string& what);
double ValueAsFloat(const TDataValue& value, const std::string& what);
TDateTime ValueAsDateTime(const TDataValue& value, const std::string& what);
std::string ValueAsString(const TDataValue& value);

// Number texts as the engine reads and writes them: '.' as the decimal separator, 15 significant
// digits when written.
std::string FloatToText(double value);
// Raises EConvertError "'<text>' is not a valid floating point value".
double TextToFloat(std::string_view text);
// A scaled integer as decimal digits with all its places: units 1230 at scale -2 is "12.30".
std::string ScaledToText(int64_t units, int scale);
// "yyyy-mm-dd hh:nn:ss" (the time left out at midnight, and milliseconds added when there are any).
std::string DateTimeToText(TDateTime value);
