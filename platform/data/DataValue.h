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
  ftMemo   // text bytes of a text blob
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
  double Float = 0;     // ftFloat and the date-time types
  std::string Bytes;    // ftString, ftBlob and ftMemo

  static TDataValue OfInteger(TFieldType type, int64_t value);
  static TDataValue OfFloat(TFieldType type, double value);
  static TDataValue OfBytes(TFieldType type, std::string value);
  bool operator==(const TDataValue& other) const;
};

// The views of a value. Null reads as 0, "" or 0.0. `what` names the field or parameter in
// messages. A text that is no number raises EConvertError; a view the type does not have raises
// EDatabaseError "Cannot access <what> as type <type>".
int64_t ValueAsInteger(const TDataValue& value, const std::string& what);
double ValueAsFloat(const TDataValue& value, const std::string& what);
TDateTime ValueAsDateTime(const TDataValue& value, const std::string& what);
std::string ValueAsString(const TDataValue& value);

// Number texts as the engine reads and writes them: '.' as the decimal separator, 15 significant
// digits when written.
std::string FloatToText(double value);
// Raises EConvertError "'<text>' is not a valid floating point value".
double TextToFloat(std::string_view text);
// "yyyy-mm-dd hh:nn:ss" (the time left out at midnight, and milliseconds added when there are any).
std::string DateTimeToText(TDateTime value);
