// The statements the loader builds for one table: the row query, the queries of further long columns
// and the child-row delete. Key parameter k is ":param" k, for the k-th key column in column order.
#pragma once

#include <string>
#include <vector>

#include "formimport/DBLoadFields.h"
#include "platform/system/StringList.h"

// Lower-cases the names of columns 0 to count-1 (ASCII letters only) and builds the row query's lines:
// the select list of every column not marked long (a new line once a line passes 64 characters, and
// always a last line, empty or not), "FROM " table " WHERE", and the key condition on one line.
// longSQL receives, for every column still marked long, "SELECT " name and the same two lines; for
// every other column an empty list.
void BuildTableStatements(const std::string& tableName, TFieldTable& fields, int count, TStringList& rowSQL,
                          std::vector<TStringList>& longSQL);

// The key condition: "name = :paramk" for every key column, joined by " AND ".
std::string KeyCondition(const TFieldTable& fields, int count);

// "delete from " child " where ", then the key condition broken into lines once a line passes 64
// characters (the next line beginning with " AND "), and always a last line.
TStringList ChildDeleteSQL(const std::string& childTable, const TFieldTable& fields, int count);

// The name of key parameter k: "param" k; the statements write it after a colon.
std::string KeyParamName(int k);
