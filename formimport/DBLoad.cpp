#include "formimport/DBLoad.h"

#include <memory>
#include <vector>

#include "formimport/DBLoadConvert.h"
#include "formimport/DBLoadCut.h"
#include "formimport/DBLoadFields.h"
#include "formimport/DBLoadSQL.h"
#include "foundation/QData.h"
#include "platform/data/DBErrors.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/system/AnsiStrings.h"
#include "platform/system/Dialogs.h"
#include "platform/system/Exceptions.h"
#include "platform/system/FileRead.h"
#include "platform/system/TerminationSignals.h"
#include "platform/system/TextFile.h"
#include "xmlreader/QuXMLFileIn.h"

namespace {

TDatabase& WorkingDatabase() { return *dmData->dbDataBase; }

void ShowError(const std::string& text) { MessageDlg(text, mtError, {mbOK}, 0); }

// The text of the whole file, up to its first Ctrl-Z: the text ends there, as it does for the reader
// of the first pass, so what the publish code check has not seen is not imported.
TCutBuffer ReadWhole(TFileReader& file) {
  size_t size = 0;
  TTextBlock text = file.ReadBlock(size);
  const size_t length = TextLength(text.get(), size);
  return TCutBuffer(std::move(text), length);
}

std::unique_ptr<TQuery> MakeQuery(bool live) {
  auto query = std::make_unique<TQuery>(nullptr);
  query->SetDatabaseName(WorkingDatabaseName);
  query->SQL().Clear();
  query->SetRequestLive(live);
  return query;
}

// A key or field value of a type the loader cannot write; the message comes again for every row.
void ShowUnhandledType(const TFieldInfo& field) {
  ShowError("DBLOAD: INSERTION ERROR Field \"" + field.ColumnName + "\" Has a UnHandeled Type " +
            IntToStr(field.FieldType));
}

// A CHAR or VARCHAR value longer than its column is cut in place: the cut value serves the rest of
// the row.
void CutToLength(TFieldInfo& field) {
  if (field.FieldLength >= 0 && field.TextValue.size() > static_cast<size_t>(field.FieldLength))
    field.TextValue.resize(static_cast<size_t>(field.FieldLength));
}

// What the default text "1-1-1900" of a timestamp column stands for: two days after the zero date.
constexpr TDateTime FirstOfJanuary1900 = 2;

// A screening code column and the value column that is cleared with a code that has no partner.
struct TScreeningColumns {
  const char* Code;
  const char* Value;
};

// What the loader knows of a table with fixed rules. Column names are found without regard to letter
// case; a column the table does not have is passed over.
struct TTableRules {
  const char* Table;
  // Columns that keep a stored non-null value when a row is updated.
  std::vector<const char*> KeepOnUpdate;
  // The tables whose rows carrying a row's key are deleted before the row is written, in this order.
  std::vector<const char*> ChildTables;
  // The screening codes checked after the child rows are deleted, in this order.
  std::vector<TScreeningColumns> Screening;
  // A column whose value is never taken from the file; nullptr when there is none.
  const char* NotFromFile;
};

// The rules of the table of that name (without regard to letter case); nullptr for any other table.
// conceptmap keeps maptovalueno and maptovaluenoalt on update, while its screening checks clear
// maptoscnvalueno and maptoscnvaluenoalt: different columns.
const TTableRules* RulesOf(const std::string& tableName) {
  static const TTableRules rules[] = {
      {"dictobservation",
       {"mapscncode", "mapvalueno"},
       {"dictcombo"},
       {{"mapscncode", "mapValueNo"}},
       nullptr},
      {"conceptmap",
       {"maptoscncode", "maptovalueno", "maptoscncodealt", "maptovaluenoalt"},
       {"conceptvaluemap"},
       {{"maptoscncode", "maptoscnvalueno"}, {"maptoscncodealt", "maptoscnvaluenoalt"}},
       nullptr},
      {"advform",
       {"billacholderid", "submithlinkfolder"},
       {"afitem", "afcomboactions"},
       {},
       "billacholderid"},
  };
  for (const TTableRules& table : rules)
    if (SameText(tableName, table.Table)) return &table;
  return nullptr;
}

// A statement of the current table and its key parameters, parameter k for key column k. The
// parameters are found once, when the statement is built: its text does not change until the table
// is done, so it is prepared once and each row only gives it values.
struct TKeyedQuery {
  std::unique_ptr<TQuery> Query;
  std::vector<TParam*> Keys;
};

// A screening code column and the value column cleared with it; -1 where the table has no such column.
struct TScreeningPair {
  int Code;
  int Value;
};

// One run of the second pass over one file: the column table, the queries and the current row.
class TFormImport {
 public:
  int Run(TCutBuffer& xml);

 private:
  void ImportTable(const std::string& tableName, TCutBuffer& rows);
  // Applies the table's rules to its columns and builds its statements.
  void PrepareStatements(const std::string& tableName);
  void ImportRow(TCutBuffer& row);
  // Sets param from the key field; false when the field's type is not handled.
  bool SetKeyParam(TParam& param, TFieldInfo& field);
  void SetFieldValue(TField& target, TFieldInfo& field, bool emptyDefault);
  void WriteLongColumn(TQuery& query, TFieldInfo& field);

  int FieldIndex(const std::string& name) const;
  std::vector<TParam*> KeyParams(TQuery& query) const;
  void DeleteChildRows(TKeyedQuery& childDelete);
  void CheckScreeningCode(const TScreeningPair& pair);

  TFieldTable FFields = TFieldTable(FieldTableSize);
  int FCount = 0;
  std::unique_ptr<TQuery> FRowQuery;
  std::vector<TParam*> FRowKeys;
  // Per column: the long-column query of a long column after the first; no query for the others.
  std::vector<TKeyedQuery> FLongQueries;
  // What the current table's rules ask per row: its child-row deletes in the order they run, its
  // screening lookup with the codes it checks, and the column never taken from the file.
  std::vector<TKeyedQuery> FChildDeletes;
  std::unique_ptr<TQuery> FScreening;
  TParam* FScreeningCode = nullptr;
  int FScreeningCodeLength = -1;  // not known until the lookup is first prepared
  std::vector<TScreeningPair> FScreeningPairs;
  int FNotFromFile = -1;
  int FResult = 0;
};

int TFormImport::Run(TCutBuffer& xml) {
  FRowQuery = MakeQuery(true);
  TCutBuffer header;
  CutElement("header", xml, header);
  TCutBuffer tableText;
  for (std::string table = FirstTagName(xml); !table.empty(); table = FirstTagName(xml)) {
    const size_t before = xml.Length();
    CutElement(table, xml, tableText);
    // A start tag with no ">" anywhere after it cannot be cut; its name would come back forever.
    if (xml.Length() == before) break;
    ImportTable(table, tableText);
  }
  FRowQuery->Close();
  FRowQuery.reset();
  return FResult;
}

void TFormImport::ImportTable(const std::string& tableName, TCutBuffer& rows) {
  TDatabase& database = WorkingDatabase();
  database.StartTransaction();
  FCount = ReadTableFields(tableName, FFields);
  if (FCount == 0) {
    database.Commit();
    return;
  }
  for (int i = 0; i < FCount; ++i) {
    if (FFields[i].IsLong) {
      FFields[i].IsLong = false;
      break;
    }
  }
  PrepareStatements(tableName);

  TCutBuffer row;
  for (CutElement("row", rows, row); !row.Empty(); CutElement("row", rows, row)) {
    TerminationCheckpoint();
    ImportRow(row);
  }
  database.Commit();
  FLongQueries.clear();
  FChildDeletes.clear();
  FScreening.reset();
}

std::vector<TParam*> TFormImport::KeyParams(TQuery& query) const {
  std::vector<TParam*> keys;
  for (int i = 0; i < FCount; ++i)
    if (FFields[i].IsKey) keys.push_back(&query.ParamByName(KeyParamName(static_cast<int>(keys.size()))));
  return keys;
}

void TFormImport::PrepareStatements(const std::string& tableName) {
  const TTableRules* rules = RulesOf(tableName);
  if (rules) {
    for (const char* column : rules->KeepOnUpdate) {
      const int i = FieldIndex(column);
      if (i >= 0) FFields[i].Overwrite = false;
    }
  }

  FRowQuery->Close();
  FRowQuery->SQL().Clear();
  TStringList rowSQL;
  std::vector<TStringList> longSQL;
  BuildTableStatements(tableName, FFields, FCount, rowSQL, longSQL);
  FLongQueries.clear();
  FLongQueries.resize(static_cast<size_t>(FCount));
  for (int i = 0; i < FCount; ++i) {
    if (longSQL[i].Count() == 0) continue;
    FLongQueries[i].Query = MakeQuery(true);
    FLongQueries[i].Query->SetSQL(longSQL[i]);
  }
  FRowQuery->SetSQL(rowSQL);
  FRowQuery->SetRequestLive(true);
  FRowQuery->Prepare();
  FRowKeys = KeyParams(*FRowQuery);
  for (TKeyedQuery& keyed : FLongQueries) {
    if (!keyed.Query) continue;
    keyed.Query->SetRequestLive(true);
    keyed.Query->Prepare();
    keyed.Keys = KeyParams(*keyed.Query);
  }

  // The statements of the table's rules. Each is prepared when a row first runs it, where the rules
  // have always first met the server, and then serves every further row of the table.
  FChildDeletes.clear();
  FScreeningPairs.clear();
  FScreening.reset();
  FScreeningCode = nullptr;
  FScreeningCodeLength = -1;
  FNotFromFile = -1;
  if (!rules) return;
  for (const char* child : rules->ChildTables) {
    TKeyedQuery childDelete{MakeQuery(false), {}};
    childDelete.Query->SetSQL(ChildDeleteSQL(child, FFields, FCount));
    childDelete.Keys = KeyParams(*childDelete.Query);
    FChildDeletes.push_back(std::move(childDelete));
  }
  for (const TScreeningColumns& columns : rules->Screening)
    FScreeningPairs.push_back({FieldIndex(columns.Code), FieldIndex(columns.Value)});
  if (!FScreeningPairs.empty()) {
    FScreening = MakeQuery(false);
    FScreening->SQL().Add("select 1 from screening where scncode = :scncode and rowinactive = 0");
    FScreeningCode = &FScreening->ParamByName("scncode");
  }
  if (rules->NotFromFile) FNotFromFile = FieldIndex(rules->NotFromFile);
}

int TFormImport::FieldIndex(const std::string& name) const {
  if (name.empty()) return -1;
  for (int i = 0; i < FCount; ++i)
    if (SameText(FFields[i].ColumnName, name)) return i;
  return -1;
}

bool TFormImport::SetKeyParam(TParam& param, TFieldInfo& field) {
  if (field.TextValue.empty()) {
    param.Clear();
    param.SetBound(true);
    return true;
  }
  switch (field.FieldType) {
    case fiSmallint:
    case fiInteger:
      param.SetAsInteger(ParseInteger(field.TextValue));
      return true;
    case fiChar:
    case fiVarchar: {
      // The key as it is written to its column, so that a stored row is found again; the record
      // keeps the escaped text, which the field write unescapes itself.
      CutToLength(field);
      std::string key = field.TextValue;
      UnescapeText(key);
      param.SetAsString(key);
      return true;
    }
    case fiDouble:
      param.SetAsFloat(ParseNumber(field.TextValue));
      return true;
    case fiTimestamp:
      param.SetAsDateTime(ParseTimestamp(field.TextValue));
      return true;
    default:
      ShowUnhandledType(field);
      // An explicit null, never the value an earlier row left: the row matches no stored row and
      // no child row.
      param.Clear();
      param.SetBound(true);
      return false;
  }
}

void TFormImport::DeleteChildRows(TKeyedQuery& childDelete) {
  size_t k = 0;
  for (int i = 0; i < FCount; ++i)
    if (FFields[i].IsKey) SetKeyParam(*childDelete.Keys[k++], FFields[i]);
  childDelete.Query->ExecSQL();
}

void TFormImport::CheckScreeningCode(const TScreeningPair& pair) {
  if (pair.Code < 0) return;
  const std::string code = FFields[pair.Code].TextValue;
  if (code.empty()) return;
  // A code longer than the codes of screening has no row there; the server would refuse the lookup.
  if (FScreeningCodeLength < 0) FScreeningCodeLength = FScreening->ParamSize("scncode");
  bool found = false;
  if (FScreeningCodeLength == 0 || code.size() <= static_cast<size_t>(FScreeningCodeLength)) {
    FScreeningCode->SetAsString(code);
    FScreening->Open();
    found = !FScreening->Eof();
  }
  if (!found) {
    static const struct {
      const char* From;
      const char* To;
    } partners[] = {{"HE", "HT"}, {"HT", "HE"}, {"WE", "WT"}, {"WT", "WE"}, {"MAM", "MY"}, {"MY", "MAM"}};
    bool replaced = false;
    for (const auto& partner : partners) {
      if (code == partner.From) {
        FFields[pair.Code].TextValue = partner.To;
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      FFields[pair.Code].TextValue.clear();
      if (pair.Value >= 0) FFields[pair.Value].TextValue.clear();
    }
  }
  FScreening->Close();
}

void TFormImport::SetFieldValue(TField& target, TFieldInfo& field, bool emptyDefault) {
  switch (field.FieldType) {
    case fiSmallint:
    case fiInteger:
      target.SetAsInteger(ParseInteger(field.TextValue));
      break;
    case fiChar:
    case fiVarchar:
      // Cut before unescaping: the stored text may end up shorter than the column.
      CutToLength(field);
      UnescapeText(field.TextValue);
      target.SetAsString(field.TextValue);
      break;
    case fiDouble:
      target.SetAsFloat(ParseNumber(field.TextValue));
      break;
    case fiTimestamp:
      // The default text of an empty NOT NULL timestamp means the first of January 1900.
      target.SetAsDateTime(emptyDefault ? FirstOfJanuary1900 : ParseTimestamp(field.TextValue));
      break;
    case fiBlob: {
      std::string bytes;
      SetBlobSource(field.TextValue);
      DecodeBlob(bytes);
      target.SetAsBlob(bytes);
      break;
    }
    default:
      ShowUnhandledType(field);
      break;
  }
}

void TFormImport::WriteLongColumn(TQuery& query, TFieldInfo& field) {
  query.Open();
  query.First();
  if (!query.Eof()) {
    query.Edit();
    TField& target = query.Fields()[0];
    if (field.TextValue.empty()) {
      if (!target.IsNull()) target.Clear();
    } else if (field.FieldType == fiVarchar || field.FieldType == fiBlob) {
      SetFieldValue(target, field, false);
    }
    try {
      query.Post();
    } catch (const EDBEngineError& e) {
      if (!e.IsRowRefusal()) throw;
      query.Cancel();
    }
  }
  query.Close();
}

void TFormImport::ImportRow(TCutBuffer& row) {
  for (int i = 0; i < FCount; ++i) {
    std::string& value = FFields[i].TextValue;
    CutElement(FFields[i].ColumnName, row, value);
    value = DecodeXMLEntities(std::move(value));
  }

  size_t k = 0;
  for (int i = 0; i < FCount; ++i) {
    if (!FFields[i].IsKey) continue;
    TParam& source = *FRowKeys[k];
    SetKeyParam(source, FFields[i]);
    for (TKeyedQuery& keyed : FLongQueries)
      if (keyed.Query) keyed.Keys[k]->Assign(source);
    ++k;
  }

  for (TKeyedQuery& childDelete : FChildDeletes) DeleteChildRows(childDelete);
  for (const TScreeningPair& pair : FScreeningPairs) CheckScreeningCode(pair);
  if (FNotFromFile >= 0) FFields[FNotFromFile].TextValue.clear();

  FRowQuery->Open();
  FRowQuery->First();
  if (FRowQuery->Eof())
    FRowQuery->Append();
  else
    FRowQuery->Edit();

  int j = 0;
  for (int i = 0; i < FCount; ++i) {
    TFieldInfo& field = FFields[i];
    if (field.IsLong) continue;
    TField& target = FRowQuery->Fields()[j++];
    bool emptyDefault = false;
    if (field.NotNull && field.TextValue.empty()) {
      field.TextValue = field.DefaultValue;
      emptyDefault = true;
    }
    if (!field.Overwrite && FRowQuery->State() != dsInsert && !target.IsNull()) continue;
    if (field.TextValue.empty()) {
      if (!target.IsNull()) target.Clear();
      continue;
    }
    SetFieldValue(target, field, emptyDefault);
  }

  try {
    FRowQuery->Post();
    ++FResult;
  } catch (const EDBEngineError& e) {
    // A row the database refuses is skipped; a database that cannot take rows at all ends the
    // import with this table uncommitted.
    if (!e.IsRowRefusal()) throw;
    FRowQuery->Cancel();
  }
  FRowQuery->Close();

  for (int i = 0; i < FCount; ++i)
    if (FFields[i].IsLong && FLongQueries[i].Query) WriteLongColumn(*FLongQueries[i].Query, FFields[i]);
}

}  // namespace

std::string ReadPublishCode(const std::string& fileName) {
  std::string code;
  auto reader = std::make_unique<TXMLFileInput>();
  reader->Open(fileName);
  std::string rootName;
  reader->ReadRoot(rootName);
  while (!reader->EndOfFile()) {
    if (reader->TagNameIs("advform")) {
      reader->NextChildTag();
      if (reader->TagNameIs("row")) reader->NextChildTag();
      while (!reader->EndOfFile()) {
        if (reader->TagNameIs("publishcode")) {
          code = reader->GetTagValue();
          break;
        }
        reader->SkipElement();
      }
      if (!code.empty()) break;
    } else {
      reader->SkipElement();
    }
  }
  reader->Close();
  return code;
}

int ImportFormTables(const std::string& fileName) {
  TFileReader file;
  try {
    file.Open(fileName);
  } catch (const EInOutError& e) {
    ShowError("Cannot open  \"" + fileName + "\" " + e.Message());
    return 0;
  }
  TCutBuffer fileText = ReadWhole(file);
  file.Close();
  // Every level is cut in place: the tables, their rows and the file's xmltable content are views of
  // the one block the file was read into.
  TCutBuffer tables;
  CutElement("xmltable", fileText, tables);
  TFormImport import;
  return import.Run(tables);
}

int ImportAdvancedForm(const std::string& fileName) {
  const std::string code = ReadPublishCode(fileName);
  if (code == "L") {
    ShowError("You cannot import forms for local publisher (L)\"" + fileName + "\" ");
    return -1;
  }
  return ImportFormTables(fileName);
}
