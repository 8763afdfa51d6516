// TParam and TParams: the named parameters of a query, set before it is opened or executed.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/DataValue.h"

// One named parameter. Its data type is that of the value last set. A parameter that was never
// set and is not Bound stops the query ("No value for parameter 'X'"); Clear followed by
// SetBound(true) sends an explicit null.
class TParam {
 public:
  explicit TParam(std::string name) : FName(std::move(name)) {}

  const std::string& Name() const { return FName; }
  TFieldType DataType() const { return FValue.Type; }
  bool IsNull() const { return FValue.Null; }
  bool Bound() const { return FBound; }
  void SetBound(bool bound) { FBound = bound; }

  // Makes the value null; the data type and Bound stay.
  void Clear();

  // Each setter sets the type and the value and marks the parameter bound.
  void SetAsInteger(int value);
  void SetAsString(const std::string& value);
  void SetAsFloat(double value);
  void SetAsDateTime(TDateTime value);
  // Blob bytes, sent whole as a blob of any size.
  void SetAsBlob(const std::string& bytes);
  // A value of any type, as the caller has converted it to the parameter's column.
  void SetValue(const TDataValue& value);

  // The value read back in another view; null reads as 0 or an empty text.
  int AsInteger() const;
  std::string AsString() const;
  double AsFloat() const;
  TDateTime AsDateTime() const;
  std::string AsBlob() const { return AsString(); }

  const TDataValue& Value() const { return FValue; }
  void Assign(const TParam& source);

 private:
  std::string FName;
  TDataValue FValue;
  bool FBound = false;
};

// The parameters of a statement, one per distinct name (names match without regard to case), in
// the order in which they first appear.
class TParams {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // Index outside 0..Count-1: EListError "List index out of bounds (i)".
  TParam& Items(int index) const;
  TParam& operator[](int index) const { return Items(index); }
  // nullptr when no parameter has that name.
  TParam* FindParam(std::string_view name) const;
  // Raises EDatabaseError "Parameter 'X' not found".
  TParam& ParamByName(std::string_view name) const;
  int IndexOf(std::string_view name) const;

  // Makes the list hold the parameters of names (duplicates once), keeping the values of those
  // whose names it held before.
  void Rebuild(const std::vector<std::string>& names);

 private:
  std::vector<std::unique_ptr<TParam>> FItems;
};
