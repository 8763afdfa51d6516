#include "platform/data/Field.h"


#include "platform/data/DBErrors.h"
#include "platform/system/AnsiStrings.h"

TField::TField(TFieldDataSet* dataSet, int index, std::string fieldName, const TColumnType& column, int size,
               bool writable)
    : FDataSet(dataSet),
      FIndex(index),
      FFieldName(std::move(fieldName)),
      FColumn(column),
      FSize(size),
      FWritable(writable) {
  FValue.Type = column.Type;
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

int TField::AsInteger() const { return ValueAsInt32(Current(), What()); }

std::string TField::AsString() const { return ValueAsString(Current()); }

double TField::AsFloat() const { return ValueAsFloat(Current(), What()); }

TDateTime TField::AsDateTime() const { return ValueAsDateTime(Current(), What()); }

void TField::Assign(const TDataValue& value) {
  FDataSet->CheckEditing();
  if (!FWritable) throw EDatabaseError("Field '" + FFieldName + "' cannot be modified");
  FValue = ConvertToColumn(value, FColumn, FFieldName);
  FBlobPending = false;
  FModified = true;
}

void TField::Clear() { Assign(TDataValue()); }

void TField::SetAsInteger(int value) { Assign(TDataValue::OfInteger(ftInteger, value)); }

void TField::SetAsString(const std::string& value) { Assign(TDataValue::OfBytes(ftString, value)); }

void TField::SetAsFloat(double value) { Assign(TDataValue::OfFloat(ftFloat, value)); }

void TField::SetAsDateTime(TDateTime value) { Assign(TDataValue::OfFloat(ftDateTime, value)); }

void TField::SetAsBlob(const std::string& bytes) { Assign(TDataValue::OfBytes(ftBlob, bytes)); }

void TField::SetValue(const TDataValue& value) { Assign(value); }

TField& TFields::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return *FItems[static_cast<size_t>(index)];
}

TField* TFields::FindField(std::string_view name) const {
  for (const auto& field : FItems)
    if (SameText(field->FieldName(), name)) return field.get();
  return nullptr;
}
