#include "formimport/DBLoadSQL.h"

#include "platform/system/AnsiStrings.h"

namespace {

constexpr size_t WrapAfter = 64;

std::string KeyTerm(const TFieldInfo& field, int k) { return field.ColumnName + " = :" + KeyParamName(k); }

// The key terms joined by " AND ". A line that passes wrapAfter characters after a term is added and
// the next one begins with " AND "; what is left after the last term is always added, even when empty.
void AddKeyCondition(const TFieldTable& fields, int count, size_t wrapAfter, TStringList& lines) {
  std::string line;
  int k = 0;
  for (int i = 0; i < count; ++i) {
    if (!fields[i].IsKey) continue;
    if (k > 0) line += " AND ";
    line += KeyTerm(fields[i], k++);
    if (line.size() > wrapAfter) {
      lines.Add(line);
      line.clear();
    }
  }
  lines.Add(line);
}

}  // namespace

std::string KeyParamName(int k) { return "param" + IntToStr(k); }

std::string KeyCondition(const TFieldTable& fields, int count) {
  TStringList lines;
  AddKeyCondition(fields, count, std::string::npos, lines);
  return lines[0];
}

void BuildTableStatements(const std::string& tableName, TFieldTable& fields, int count, TStringList& rowSQL,
                          std::vector<TStringList>& longSQL) {
  rowSQL.Clear();
  longSQL.assign(static_cast<size_t>(count), TStringList());
  std::string line = "SELECT ";
  bool first = true;
  for (int i = 0; i < count; ++i) {
    TFieldInfo& field = fields[i];
    field.ColumnName = LowerCase(field.ColumnName);
    if (field.IsLong) {
      longSQL[i].Add("SELECT " + field.ColumnName);
      continue;
    }
    if (!first) line += ", ";
    first = false;
    line += field.ColumnName + " ";
    if (line.size() > WrapAfter) {
      rowSQL.Add(line);
      line.clear();
    }
  }
  rowSQL.Add(line);
  const std::string from = "FROM " + tableName + " WHERE";
  const std::string condition = KeyCondition(fields, count);
  rowSQL.Add(from);
  rowSQL.Add(condition);
  for (TStringList& sql : longSQL) {
    if (sql.Count() == 0) continue;
    sql.Add(from);
    sql.Add(condition);
  }
}

TStringList ChildDeleteSQL(const std::string& childTable, const TFieldTable& fields, int count) {
  TStringList sql;
  sql.Add("delete from " + childTable + " where ");
  AddKeyCondition(fields, count, WrapAfter, sql);
  return sql;
}
