// TField and TFields: the columns of a query's current row, read and (in a live query) written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/ColumnValue.h"
#include "platform/data/DataValue.h"

class TQuery;

// What a field asks of the dataset that holds it.
class TFieldDataSet {
 public:
  // EDatabaseError "Cannot perform this operation on a closed dataset" when it is closed.
  virtual void CheckActive() const = 0;
  // EDatabaseError "Dataset not in edit or insert mode" unless a row is being edited or inserted.
  virtual void CheckEditing() const = 0;
  // True while its rows can be written back.
  virtual bool CanModify() const = 0;
  // The bytes of a blob of the current row, by the id that the row holds.
  virtual std::string ReadBlob(uint64_t blobId) = 0;

 protected:
  ~TFieldDataSet() = default;
};

// One column of a query. Reading needs an open query; writing needs the query in edit or insert
// state and a column that the live query can write back. A field's type is its column's: a value
// set through any view is converted to it as ConvertToColumn converts (a text that is no number
// raises EConvertError, a number that does not fit the column EDatabaseError).
class TField {
 public:
  TField(TFieldDataSet* dataSet, int index, std::string fieldName, const TColumnType& column, int size,
         bool writable);
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  const std::string& FieldName() const { return FFieldName; }
  TFieldType DataType() const { return FColumn.Type; }
  // The declared length of a text column in characters; 0 for other types.
  int Size() const { return FSize; }
  int Index() const { return FIndex; }
  bool IsBlob() const { return IsBlobType(FColumn.Type); }
  // False for a column that no live query can write (an expression, or any column of a
  // read-only query).
  bool CanModify() const;

  bool IsNull() const;
  void Clear();

  int AsInteger() const;
  void SetAsInteger(int value);
  std::string AsString() const;
  void SetAsString(const std::string& value);
  double AsFloat() const;
  void SetAsFloat(double value);
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime value);
  // Blob bytes; for a text column the same as AsString.
  std::string AsBlob() const { return AsString(); }
  void SetAsBlob(const std::string& bytes);
  // Any value, converted to the column's type.
  void SetValue(const TDataValue& value);

 private:
  // The query makes its fields and puts each row it reads (or restores) into them.
  friend class TQuery;

  const TDataValue& Current() const;
  // Converts value to the column's type and makes it the field's.
  void Assign(const TDataValue& value);
  std::string What() const { return "field '" + FFieldName + "'"; }

  TFieldDataSet* FDataSet;
  int FIndex;
  std::string FFieldName;
  TColumnType FColumn;
  int FSize;
  bool FWritable;

  // The row's value; a blob is read from the server when first asked for.
  mutable TDataValue FValue;
  mutable bool FBlobPending = false;
  uint64_t FBlobId = 0;
  bool FModified = false;
};

// The fields of a query in select-list order.
class TFields {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // Index outside 0..Count-1: EListError "List index out of bounds (i)".
  TField& Items(int index) const;
  TField& operator[](int index) const { return Items(index); }
  // Matched without regard to case; nullptr when none.
  TField* FindField(std::string_view name) const;

 private:
  friend class TQuery;
  std::vector<std::unique_ptr<TField>> FItems;
};
