#include "platform/data/Param.h"

#include "platform/data/DBErrors.h"
#include "platform/system/AnsiStrings.h"

namespace {

std::string What(const std::string& name) { return "parameter '" + name + "'"; }

}  // namespace

void TParam::Clear() {
  const TFieldType type = FValue.Type;
  FValue = TDataValue();
  FValue.Type = type;
}

void TParam::SetAsInteger(int value) {
  FValue = TDataValue::OfInteger(ftInteger, value);
  FBound = true;
}

void TParam::SetAsString(const std::string& value) {
  FValue = TDataValue::OfBytes(ftString, value);
  FBound = true;
}

void TParam::SetAsFloat(double value) {
  FValue = TDataValue::OfFloat(ftFloat, value);
  FBound = true;
}

void TParam::SetAsDateTime(TDateTime value) {
  FValue = TDataValue::OfFloat(ftDateTime, value);
  FBound = true;
}

void TParam::SetValue(const TDataValue& value) {
  FValue = value;
  FBound = true;
}

void TParam::SetAsBlob(const std::string& bytes) {
  FValue = TDataValue::OfBytes(ftBlob, bytes);
  FBound = true;
}

int TParam::AsInteger() const { return ValueAsInt32(FValue, What(FName)); }

std::string TParam::AsString() const { return ValueAsString(FValue); }

double TParam::AsFloat() const { return ValueAsFloat(FValue, What(FName)); }

TDateTime TParam::AsDateTime() const { return ValueAsDateTime(FValue, What(FName)); }

void TParam::Assign(const TParam& source) {
  FValue = source.FValue;
  FBound = source.FBound;
}

TParam& TParams::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return *FItems[static_cast<size_t>(index)];
}

int TParams::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (SameText(FItems[i]->Name(), name)) return static_cast<int>(i);
  return -1;
}

TParam* TParams::FindParam(std::string_view name) const {
  const int index = IndexOf(name);
  return index < 0 ? nullptr : FItems[static_cast<size_t>(index)].get();
}

TParam& TParams::ParamByName(std::string_view name) const {
  TParam* param = FindParam(name);
  if (param == nullptr) throw EDatabaseError("Parameter '" + std::string(name) + "' not found");
  return *param;
}

void TParams::Rebuild(const std::vector<std::string>& names) {
  std::vector<std::unique_ptr<TParam>> items;
  for (const std::string& name : names) {
    bool seen = false;
    for (const auto& item : items) seen = seen || SameText(item->Name(), name);
    if (seen) continue;
    auto param = std::make_unique<TParam>(name);
    if (const TParam* old = FindParam(name)) param->Assign(*old);
    items.push_back(std::move(param));
  }
  FItems = std::move(items);
}
