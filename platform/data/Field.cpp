#include "platform/data/Field.h"

#include <cmath>

#include "platform/data/DBErrors.h"
#include "platform/system/AnsiStrings.h"

TField::TField(TFieldDataSet* dataSet, int index, std::string fieldName, TFieldType dataType, int size,
               bool writable)
    : FDataSet(dataSet),
      FIndex(index),
      FFieldName(std::move(fieldName)),
      FDataType(dataType),
      FSize(size),
      FWritable(writable) {
  FValue.Type = dataType;
}

bool TField::CanModify() const { return FWritable && FDataSet->CanModify(); }

const TDataValue& TField::Current() const {
  FDataSet->CheckActive();
  if (FBlobPending) {
    FValue.Bytes = FDataSet->ReadBlob(FBlobId);
    FBlobPending = false;
  }
  return FValue;
}

bool TField::IsNull() const {
  FDataSet->CheckActive();
  return FValue.Null;  // known without reading a blob's contents
}

int TField::AsInteger() const {
  const int64_t value = ValueAsInteger(Current(), What());
  if (value < INT32_MIN || value > INT32_MAX)
    throw EDatabaseError(IntToStr(value) + " is not a valid value for " + What());
  return static_cast<int>(value);
}

std::string TField::AsString() const { return ValueAsString(Current()); }

double TField::AsFloat() const { return ValueAsFloat(Current(), What()); }

TDateTime TField::AsDateTime() const { return ValueAsDateTime(Current(), What()); }

void TField::Assign(TDataValue value) {
  FDataSet->CheckEditing();
  if (!FWritable) throw EDatabaseError("Field '" + FFieldName + "' cannot be modified");
  value.Type = FDataType;
  FValue = std::move(value);
  FBlobPending = false;
  FModified = true;
}

void TField::Clear() { Assign(TDataValue()); }

namespace {

void CheckRange(int64_t value, TFieldType type, const std::string& fieldName) {
  int64_t low = INT32_MIN, high = INT32_MAX;
  if (type == ftSmallint) {
    low = -32768;
    high = 32767;
  } else if (type == ftLargeint) {
    return;
  }
  if (value < low || value > high)
    throw EDatabaseError(IntToStr(value) + " is not a valid value for field '" + fieldName +
                         "'. The allowed range is " + IntToStr(low) + " to " + IntToStr(high));
}

}  // namespace

void TField::SetAsInteger(int value) {
  if (IsIntegerType(FDataType)) {
    if (FDataType == ftBoolean) {
      Assign(TDataValue::OfInteger(ftBoolean, value != 0));
      return;
    }
    CheckRange(value, FDataType, FFieldName);
    Assign(TDataValue::OfInteger(FDataType, value));
  } else if (FDataType == ftFloat) {
    Assign(TDataValue::OfFloat(ftFloat, value));
  } else if (FDataType == ftString || IsBlobType(FDataType)) {
    Assign(TDataValue::OfBytes(FDataType, IntToStr(value)));
  } else {
    throw EDatabaseError("Cannot access " + What() + " as type Integer");
  }
}

void TField::SetAsString(const std::string& value) {
  if (FDataType == ftString || IsBlobType(FDataType)) {
    Assign(TDataValue::OfBytes(FDataType, value));
    return;
  }
  // An empty text clears a field of any other type.
  if (Trim(value).empty()) {
    Clear();
    return;
  }
  if (FDataType == ftBoolean) {
    if (SameText(Trim(value), "True"))
      Assign(TDataValue::OfInteger(ftBoolean, 1));
    else if (SameText(Trim(value), "False"))
      Assign(TDataValue::OfInteger(ftBoolean, 0));
    else
      throw EConvertError("'" + value + "' is not a valid boolean value");
  } else if (IsIntegerType(FDataType)) {
    TDataValue text = TDataValue::OfBytes(ftString, value);
    const int64_t number = ValueAsInteger(text, What());
    CheckRange(number, FDataType, FFieldName);
    Assign(TDataValue::OfInteger(FDataType, number));
  } else if (FDataType == ftFloat) {
    Assign(TDataValue::OfFloat(ftFloat, TextToFloat(value)));
  } else {
    throw EDatabaseError("Cannot access " + What() + " as type String");
  }
}

void TField::SetAsFloat(double value) {
  if (FDataType == ftFloat || IsDateTimeType(FDataType)) {
    Assign(TDataValue::OfFloat(FDataType, value));
  } else if (IsIntegerType(FDataType) && FDataType != ftBoolean) {
    if (!std::isfinite(value) || std::fabs(value) > 9.2e18)
      throw EDatabaseError(FloatToText(value) + " is not a valid value for " + What());
    const int64_t number = std::llround(value);
    CheckRange(number, FDataType, FFieldName);
    Assign(TDataValue::OfInteger(FDataType, number));
  } else if (FDataType == ftString || FDataType == ftMemo) {
    Assign(TDataValue::OfBytes(FDataType, FloatToText(value)));
  } else {
    throw EDatabaseError("Cannot access " + What() + " as type Float");
  }
}

void TField::SetAsDateTime(TDateTime value) {
  if (IsDateTimeType(FDataType) || FDataType == ftFloat) {
    Assign(TDataValue::OfFloat(FDataType, value));
  } else if (FDataType == ftString || FDataType == ftMemo) {
    Assign(TDataValue::OfBytes(FDataType, DateTimeToText(value)));
  } else {
    throw EDatabaseError("Cannot access " + What() + " as type DateTime");
  }
}

void TField::SetAsBlob(const std::string& bytes) {
  if (FDataType == ftString || IsBlobType(FDataType))
    Assign(TDataValue::OfBytes(FDataType, bytes));
  else
    throw EDatabaseError("Cannot access " + What() + " as type Blob");
}

TField& TFields::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return *FItems[static_cast<size_t>(index)];
}

TField* TFields::FindField(std::string_view name) const {
  for (const auto& field : FItems)
    if (SameText(field->FieldName(), name)) return field.get();
  return nullptr;
}
