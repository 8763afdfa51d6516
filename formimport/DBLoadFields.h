// The loader's column metadata: one record per column of the table being imported, read from the
// database's system tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data/ColumnValue.h"
#include "platform/system/StringList.h"

// Field type codes of the system tables (RDB$FIELD_TYPE) that the loader handles.
enum : int16_t {
  fiSmallint = 7,
  fiInteger = 8,
  fiChar = 14,
  fiDouble = 27,
  fiTimestamp = 35,
  fiVarchar = 37,
  fiBlob = 261,
};

// How a column element's text is read for one kind of column.
enum class TTextForm {
  Integer,    // a decimal number as ParseNumber reads it, rounded to a whole number (halves to even)
  Decimal,    // the same number kept as decimal digits, rounded to the column's scale (halves to even)
  Number,     // a decimal number as ParseNumber reads it
  Timestamp,  // yyyymmdd, optionally followed by hhmmss
  Text,       // escaped text: a value is cut to the column's length, then unescaped; a key longer than
              // its column refuses its row, since cut it would name another row
  Blob,       // plain text or Base64
};

// What the loader does with one kind of column. There is one kind per type code it writes, and one
// more for each integer code with a scale (a NUMERIC or DECIMAL of up to nine digits in a dialect-1
// database): a scale on any other type changes nothing.
struct TColumnKind {
  int16_t FieldType;  // RDB$FIELD_TYPE
  bool Scaled;        // for a negative RDB$FIELD_SCALE
  // What its values are converted to, and for a scaled integer the integer type that stores them.
  TFieldType Type;
  TFieldType Storage;
  TTextForm Form;
  // Written instead of an empty value in a NOT NULL column; nullptr: "N" below three characters,
  // "N/A" from three on.
  const char* DefaultValue;
  // Written through a query of its own from this length on; 0: always; -1: never.
  int LongFrom;
  bool CanBeKey;
};

struct TFieldInfo {
  std::string TextValue;    // the column's text in the row being imported
  std::string ColumnName;   // as the system tables hold it, without trailing blanks
  int16_t FieldType = 0;    // RDB$FIELD_TYPE
  int16_t FieldLength = 0;  // declared length in bytes; for CHAR and VARCHAR the most characters
  int16_t FieldScale = 0;   // RDB$FIELD_SCALE: minus the number of decimal places
  bool IsLong = false;      // written through a query of its own (long VARCHAR or BLOB)
  bool NotNull = false;
  std::string DefaultValue;           // written instead of an empty value in a NOT NULL column
  bool IsKey = false;                 // a segment of the primary key
  bool Overwrite = true;              // False: an updated row keeps its stored non-null value
  const TColumnKind* Kind = nullptr;  // nullptr for a type the loader does not handle
};

// The kind of a column of that type code and scale; nullptr for a type the loader does not handle.
const TColumnKind* ColumnKindOf(int16_t fieldType, int16_t scale);

// What a column's values are converted to before they are written or looked up. The column must be
// of a kind the loader handles.
TColumnType ColumnTypeOf(const TFieldInfo& field);

// The column table of one import. It starts with room for 513 columns, the most a product table has;
// a table with more columns enlarges it rather than lose or overrun any of them.
using TFieldTable = std::vector<TFieldInfo>;
constexpr int FieldTableSize = 513;

// The lines of the metadata query, exactly as they are sent to the server (SQL dialect 1: line 14
// holds a string literal in double quotes).
const TStringList& TableFieldsSQL();

// Reads the columns of a table of the working database (the connection named WorkingDatabaseName), in
// column-position order, into records 0 to n-1 and returns n; 0 when there is no such table. The name
// may be in any letter case. The caller's transaction must be active. A column of a type the loader
// does not handle is reported and still counted. Computed columns are left out: nothing can be
// written to them.
int ReadTableFields(const std::string& tableName, TFieldTable& fields);
