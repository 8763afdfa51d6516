#include "formimport/DBLoadFields.h"

#include <memory>

#include "foundation/QData.h"
#include "platform/data/Query.h"
#include "platform/system/AnsiStrings.h"
#include "platform/system/Dialogs.h"

namespace {

std::string WithoutTrailingBlanks(std::string s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  s.resize(n);
  return s;
}

std::string TextDefault(int16_t length) { return length < 3 ? "N" : "N/A"; }

}  // namespace

const TStringList& TableFieldsSQL() {
  static const TStringList lines = {
      "SELECT",
      "  RDB$RELATION_FIELDS.RDB$FIELD_NAME , ",
      "  RDB$RELATION_FIELDS.RDB$FIELD_POSITION, ",
      "  RDB$FIELDS.RDB$FIELD_TYPE , ",
      "  RDB$FIELDS.RDB$FIELD_LENGTH , ",
      "  RDB$RELATION_FIELDS.RDB$NULL_FLAG,",
      "  RDB$INDEX_SEGMENTS.RDB$FIELD_POSITION PRIMARYKEY",
      "FROM (( ",
      "  RDB$RELATION_FIELDS ",
      "left join RDB$FIELDS on",
      "  RDB$FIELDS.RDB$FIELD_NAME  = RDB$RELATION_FIELDS.RDB$FIELD_SOURCE ) ",
      "left join  RDB$INDICES on ",
      "  RDB$INDICES.RDB$RELATION_NAME = RDB$RELATION_FIELDS.RDB$RELATION_NAME and",
      "  RDB$INDICES.RDB$INDEX_NAME starts with \"RDB$PRIMARY\" )",
      "left join RDB$INDEX_SEGMENTS on ",
      "  RDB$INDEX_SEGMENTS.RDB$INDEX_NAME = RDB$INDICES.RDB$INDEX_NAME and ",
      "  RDB$INDEX_SEGMENTS.RDB$FIELD_NAME = RDB$RELATION_FIELDS.RDB$FIELD_NAME",
      "WHERE\t",
      "  RDB$RELATION_FIELDS.RDB$RELATION_NAME = :TableName",
      "ORDER BY ",
      "  RDB$RELATION_FIELDS.RDB$FIELD_POSITION",
  };
  return lines;
}

int ReadTableFields(const std::string& tableName, TFieldTable& fields) {
  auto query = std::make_unique<TQuery>(nullptr);
  query->SetDatabaseName(WorkingDatabaseName);
  query->SQL().Clear();
  query->SetSQL(TableFieldsSQL());
  // A name longer than a table name can be is no table's: the server would refuse the lookup itself.
  const std::string name = UpperCase(tableName);
  const int nameLength = query->ParamSize("TableName");
  if (nameLength > 0 && name.size() > static_cast<size_t>(nameLength)) return 0;
  query->ParamByName("TableName").SetAsString(name);
  query->Open();
  query->First();
  int i = 0;
  while (!query->Eof()) {
    if (static_cast<size_t>(i) >= fields.size()) fields.resize(static_cast<size_t>(i) + 1);
    TFieldInfo& field = fields[static_cast<size_t>(i)];
    TFields& row = query->Fields();
    field.TextValue.clear();
    field.ColumnName = WithoutTrailingBlanks(row[0].AsString());
    field.FieldType = static_cast<int16_t>(row[2].AsInteger());
    field.FieldLength = static_cast<int16_t>(row[3].AsInteger());
    field.NotNull = !row[4].IsNull() && row[4].AsInteger() == 1;
    field.IsKey = !row[5].IsNull();
    field.Overwrite = true;
    field.IsLong = false;
    switch (field.FieldType) {
      case fiSmallint:
      case fiInteger:
        field.DefaultValue = "0";
        break;
      case fiChar:
        field.DefaultValue = TextDefault(field.FieldLength);
        break;
      case fiDouble:
        field.DefaultValue = "0.00";
        break;
      case fiTimestamp:
        field.DefaultValue = "1-1-1900";
        break;
      case fiVarchar:
        field.DefaultValue = TextDefault(field.FieldLength);
        field.IsLong = field.FieldLength >= 255;
        break;
      case fiBlob:
        field.DefaultValue.clear();
        field.IsLong = true;
        break;
      default:
        // No default text of an earlier table's column may stay behind in the record.
        field.DefaultValue.clear();
        MessageDlg(
            "DBLOAD: Field \"" + field.ColumnName + "\" Has a UnHandeled Type " + IntToStr(field.FieldType),
            mtError, {mbOK}, 0);
        break;
    }
    query->Next();
    ++i;
  }
  query->Close();
  return i;
}
