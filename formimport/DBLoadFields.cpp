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

// Type code, scaled, converted to, storage, read as, default, long from, can be a key.
const TColumnKind ColumnKinds[] = {
    {fiSmallint, false, ftSmallint, ftUnknown, TTextForm::Integer, "0", -1, true},
    {fiSmallint, true, ftBCD, ftSmallint, TTextForm::Decimal, "0", -1, true},
    {fiInteger, false, ftInteger, ftUnknown, TTextForm::Integer, "0", -1, true},
    {fiInteger, true, ftBCD, ftInteger, TTextForm::Decimal, "0", -1, true},
    {fiChar, false, ftString, ftUnknown, TTextForm::Text, nullptr, -1, true},
    {fiDouble, false, ftFloat, ftUnknown, TTextForm::Number, "0.00", -1, true},
    {fiTimestamp, false, ftDateTime, ftUnknown, TTextForm::Timestamp, "1-1-1900", -1, true},
    {fiVarchar, false, ftString, ftUnknown, TTextForm::Text, nullptr, 255, true},
    {fiBlob, false, ftBlob, ftUnknown, TTextForm::Blob, "", 0, false},
};

}  // namespace

const TColumnKind* ColumnKindOf(int16_t fieldType, int16_t scale) {
  const TColumnKind* unscaled = nullptr;
  for (const TColumnKind& kind : ColumnKinds) {
    if (kind.FieldType != fieldType) continue;
    if (kind.Scaled == (scale < 0)) return &kind;
    if (!kind.Scaled) unscaled = &kind;
  }
  return unscaled;
}

TColumnType ColumnTypeOf(const TFieldInfo& field) {
  return {field.Kind->Type, field.Kind->Storage, field.Kind->Type == ftBCD ? field.FieldScale : 0};
}

const TStringList& TableFieldsSQL() {
  static const TStringList lines = {
      "SELECT",
      "  RDB$RELATION_FIELDS.RDB$FIELD_NAME , ",
      "  RDB$RELATION_FIELDS.RDB$FIELD_POSITION, ",
      "  RDB$FIELDS.RDB$FIELD_TYPE , ",
      "  RDB$FIELDS.RDB$FIELD_LENGTH , ",
      "  RDB$RELATION_FIELDS.RDB$NULL_FLAG,",
      "  RDB$INDEX_SEGMENTS.RDB$FIELD_POSITION PRIMARYKEY,",
      "  RDB$FIELDS.RDB$FIELD_SCALE",
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
      "  and RDB$FIELDS.RDB$COMPUTED_BLR is null",
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
    field.FieldScale = static_cast<int16_t>(row[6].AsInteger());
    field.Overwrite = true;
    field.Kind = ColumnKindOf(field.FieldType, field.FieldScale);
    if (field.Kind) {
      field.DefaultValue =
          field.Kind->DefaultValue ? field.Kind->DefaultValue : TextDefault(field.FieldLength);
      field.IsLong = field.Kind->LongFrom >= 0 && field.FieldLength >= field.Kind->LongFrom;
    } else {
      // No default text of an earlier table's column may stay behind in the record.
      field.DefaultValue.clear();
      field.IsLong = false;
      MessageDlg(
          "DBLOAD: Field \"" + field.ColumnName + "\" Has a UnHandeled Type " + IntToStr(field.FieldType),
          mtError, {mbOK}, 0);
    }
    query->Next();
    ++i;
  }
  query->Close();
  return i;
}
