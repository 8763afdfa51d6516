// The loader's column metadata: one record per column of the table being imported, read from the
// database's system tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

struct TFieldInfo {
  std::string TextValue;    // the column's text in the row being imported
  std::string ColumnName;   // as the system tables hold it, without trailing blanks
  int16_t FieldType = 0;    // RDB$FIELD_TYPE
  int16_t FieldLength = 0;  // declared length in bytes; for CHAR and VARCHAR the most characters
  bool IsLong = false;      // written through a query of its own (long VARCHAR or BLOB)
  bool NotNull = false;
  std::string DefaultValue;  // written instead of an empty value in a NOT NULL column
  bool IsKey = false;        // a segment of the primary key
  bool Overwrite = true;     // False: an updated row keeps its stored non-null value
};

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
// does not handle is reported and still counted.
int ReadTableFields(const std::string& tableName, TFieldTable& fields);
