// The one conversion of a value to the type of the column it is written to, shared by fields and
// parameters.
#pragma once

#include <string>

#include "platform/data/DataValue.h"

// What a column holds, as far as a value written to it is concerned.
struct TColumnType {
  TFieldType Type = ftUnknown;
  // ftBCD: the integer type that stores the units (ftSmallint, ftInteger or ftLargeint) and the power
  // of ten of the last digit (0 to -18).
  TFieldType Storage = ftUnknown;
  int Scale = 0;
};

// The value as the column takes it; fieldName names the column in the messages.
//   Numbers never wrap and are never cut: one that does not fit the column raises EDatabaseError
//   "<value> is not a valid value for field '<name>'. The allowed range is <low> to <high>", and so
//   does a float that is infinite. A float goes to an integer column rounded to the nearest whole
//   number, halves to the even neighbour. A decimal text goes to a scaled integer digit by digit,
//   rounded to the column's scale the same way, with no detour through a binary fraction.
//   A text that is no number raises EConvertError ("'x' is not a valid integer value", "... floating
//   point value", "... boolean value"); a blank text is a null for any column but a text or blob.
//   A value of a type the column cannot take raises EDatabaseError "Cannot access field '<name>' as
//   type <type of the value>".
// A null stays null. Texts are not cut to the column's length: the server refuses a text too long.
TDataValue ConvertToColumn(const TDataValue& value, const TColumnType& column, const std::string& fieldName);
