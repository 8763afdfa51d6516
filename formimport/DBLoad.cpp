#include "formimport/DBLoad.h"

#include <algorithm>
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
#include "platform/system/RunReport.h"
#include "platform/system/TerminationSignals.h"
#include "platform/system/TextFile.h"
#include "xmlreader/QuXMLFileIn.h"

namespace {

TDatabase& WorkingDatabase() { return *dmData->dbDataBase; }

void ShowError(const std::string& text) { MessageDlg(text, mtError, {mbOK}, 0); }

// The text of the whole file, up to its first Ctrl-Z: the text ends there, as it does for the reader
// of the first pass, so what the publish code check has not seen is not imported. It is cut in place,
// in the one block the file was read into.
TCutForm ReadWhole(TFileReader& file, const std::string& fileName) {
  size_t size = 0;
  TTextBlock text = file.ReadBlock(size);
  const size_t length = TextLength(text.get(), size);
  return TCutForm(std::move(text), length, fileName);
}

// The file as the second pass reads it, or the message for a file it cannot open.
bool ReadText(const std::string& fileName, TCutForm& text, std::string& openError) {
  TFileReader file;
  try {
    file.Open(fileName);
  } catch (const EInOutError& e) {
    openError = "Cannot open  \"" + fileName + "\" " + e.Message();
    return false;
  }
  text = ReadWhole(file, fileName);
  file.Close();
  return true;
}

int RefuseLocalPublisher(const std::string& fileName) {
  ShowError("You cannot import forms for local publisher (L)\"" + fileName + "\" ");
  return -1;
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

// A CHAR or VARCHAR value as it is written, in place: cut to its column when longer, then unescaped.
// The cut comes first, so the stored text may end up shorter than the column.
void TextAsWritten(TFieldInfo& field) {
  if (field.FieldLength >= 0 && field.TextValue.size() > static_cast<size_t>(field.FieldLength))
    field.TextValue.resize(static_cast<size_t>(field.FieldLength));
  UnescapeText(field.TextValue);
}

// The name of the table's primary-key constraint; empty when it has none.
std::string PrimaryKeyConstraint(const std::string& tableName) {
  TQuery query(nullptr);
  query.SetDatabaseName(WorkingDatabaseName);
  query.SQL().Add("SELECT RDB$CONSTRAINT_NAME FROM RDB$RELATION_CONSTRAINTS");
  query.SQL().Add("WHERE RDB$RELATION_NAME = :TableName AND RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'");
  query.ParamByName("TableName").SetAsString(UpperCase(tableName));
  query.Open();
  const std::string name = query.Eof() ? std::string() : TrimRight(query.Fields()[0].AsString());
  query.Close();
  return name;
}

// A key text the column cannot hold whole: cut, it would name another row's key.
std::string KeyTooLongText(const TFieldInfo& field) {
  return "The key value \"" + field.TextValue + "\" is longer than column " + field.ColumnName + " holds (" +
         IntToStr(field.FieldLength) + " characters)";
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

// One run of the second pass over a form, into one database: the column table, the queries and the
// current row.
class TFormImport {
 public:
  // databaseEntry names the database in the lines that tell of refused rows.
  explicit TFormImport(std::string databaseEntry) : FDatabaseEntry(std::move(databaseEntry)) {}
  // Whether a row of an advform table would store the local publisher's code "L" in this database.
  bool StoresLocalPublisherCode(const TCutForm& form);
  int Run(const TCutForm& form);

 private:
  void ImportTable(const TFormTable& table, const TCutForm& form);
  // Reads the table's columns into the column table and gives their count.
  int TableColumns(const TFormTable& table);
  // Applies the table's rules to its columns and builds its statements.
  void PrepareStatements(const std::string& tableName);
  void ImportRow(TCutBuffer& row);
  // A row the database, or its key, refuses: it is skipped and counted, and the first refusal of the
  // table is kept.
  void Refuse(const std::string& reason);
  // True when an appended row was refused for its primary key, which the row's lookup did not find:
  // another transaction holds a row of that key (it inserted it and has not committed, or committed
  // it since), and the row is no more refused than one whose stored row another transaction holds.
  bool KeyHeldElsewhere(const EDBEngineError& e) const;
  // Sets param to the key field's value as its column holds it; false when the key refuses its row.
  bool SetKeyParam(TParam& param, const TFieldInfo& field);
  void SetFieldValue(TField& target, TFieldInfo& field, bool emptyDefault);
  // The database's refusal of the long column's write; empty when it is written (or its row is gone).
  std::string WriteLongColumn(TQuery& query, TFieldInfo& field);

  int FieldIndex(const std::string& name) const;
  std::vector<TParam*> KeyParams(TQuery& query) const;
  void DeleteChildRows(TKeyedQuery& childDelete);
  void CheckScreeningCode(const TScreeningPair& pair);

  std::string FDatabaseEntry;
  TFieldTable FFields = TFieldTable(FieldTableSize);
  int FCount = 0;
  std::unique_ptr<TQuery> FRowQuery;
  std::vector<TParam*> FRowKeys;
  // The name of the current table's primary-key constraint, as the engine's messages give it.
  std::string FPrimaryKeyConstraint;
  // Per column: the long-column query of a long column after the first; no query for the others.
  std::vector<TKeyedQuery> FLongQueries;
  // With long columns of their own, a row is written by several statements: a savepoint before the
  // first lets a refusal of any of them take back the whole row. No queries without such columns.
  std::unique_ptr<TQuery> FRowSavepoint;
  std::unique_ptr<TQuery> FUndoRow;
  // What the current table's rules ask per row: its child-row deletes in the order they run, its
  // screening lookup with the codes it checks, and the column never taken from the file.
  std::vector<TKeyedQuery> FChildDeletes;
  std::unique_ptr<TQuery> FScreening;
  TParam* FScreeningCode = nullptr;
  int FScreeningCodeLength = -1;  // not known until the lookup is first prepared
  std::vector<TScreeningPair> FScreeningPairs;
  int FNotFromFile = -1;
  int FResult = 0;
  // The current table's rows and those refused, with the first refusal's reason.
  int FTableRows = 0;
  int FTableRefused = 0;
  std::string FFirstRefusal;
  // The text of the row being written, cut from a copy: every database receives the same rows.
  std::string FRowText;
  // The columns that the publish code check read, which the first advform table takes instead of
  // reading them again.
  const TFormTable* FReadAheadFor = nullptr;
  TFieldTable FReadAhead;
  int FReadAheadCount = 0;
};

bool TFormImport::StoresLocalPublisherCode(const TCutForm& form) {
  const auto isAdvform = [](const TFormTable& table) { return SameText(table.Name, "advform"); };
  const auto first = std::find_if(form.Tables().begin(), form.Tables().end(), isAdvform);
  if (first == form.Tables().end()) return false;
  TDatabase& database = WorkingDatabase();
  database.StartTransaction();
  FReadAheadCount = ReadTableFields(first->Name, FReadAhead);
  database.Commit();
  FReadAheadFor = &*first;

  int code = 0;
  while (code < FReadAheadCount && !SameText(FReadAhead[code].ColumnName, "publishcode")) ++code;
  if (code == FReadAheadCount) return false;
  const TColumnKind* kind = FReadAhead[code].Kind;
  if (!kind || kind->Form != TTextForm::Text) return false;
  // The row is cut as it is when written: the columns before the code first, each taking its element.
  std::vector<std::string> names;
  for (int i = 0; i <= code; ++i) names.push_back(LowerCase(FReadAhead[i].ColumnName));
  TFieldInfo field = FReadAhead[code];
  TCutBuffer row;
  for (const TFormTable& table : form.Tables()) {
    if (!isAdvform(table)) continue;
    TCutForm::TRows rows(form, table);
    for (std::string_view text; rows.Next(text);) {
      FRowText.assign(text);
      row.View(FRowText.data(), FRowText.size());
      for (const std::string& name : names) CutElement(name, row, field.TextValue);
      field.TextValue = DecodeXMLEntities(std::move(field.TextValue));
      // An empty code is none: a default the database gives it is not the form's.
      if (field.TextValue.empty()) continue;
      TextAsWritten(field);
      const size_t last = field.TextValue.find_last_not_of(' ');
      if (last == 0 && field.TextValue[0] == 'L') return true;
    }
  }
  return false;
}

int TFormImport::TableColumns(const TFormTable& table) {
  if (&table != FReadAheadFor) return ReadTableFields(table.Name, FFields);
  FReadAheadFor = nullptr;
  if (FFields.size() < FReadAhead.size()) FFields.resize(FReadAhead.size());
  std::copy(FReadAhead.begin(), FReadAhead.begin() + FReadAheadCount, FFields.begin());
  return FReadAheadCount;
}

int TFormImport::Run(const TCutForm& form) {
  FRowQuery = MakeQuery(true);
  for (const TFormTable& table : form.Tables()) ImportTable(table, form);
  FRowQuery->Close();
  FRowQuery.reset();
  return FResult;
}

void TFormImport::ImportTable(const TFormTable& table, const TCutForm& form) {
  const std::string& tableName = table.Name;
  TDatabase& database = WorkingDatabase();
  database.StartTransaction();
  FCount = TableColumns(table);
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
  FTableRows = 0;
  FTableRefused = 0;
  FFirstRefusal.clear();

  TCutBuffer row;
  TCutForm::TRows rows(form, table);
  for (std::string_view text; rows.Next(text);) {
    TerminationCheckpoint();
    FRowText.assign(text);
    row.View(FRowText.data(), FRowText.size());
    ImportRow(row);
  }
  database.Commit();
  if (FTableRefused > 0) {
    ReportSkipped((FDatabaseEntry.empty() ? "" : FDatabaseEntry + ": ") + IntToStr(FTableRefused) + " of " +
                  IntToStr(FTableRows) + " rows of table " + tableName + " refused: " + FFirstRefusal);
  }
  FLongQueries.clear();
  FRowSavepoint.reset();
  FUndoRow.reset();
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
  FPrimaryKeyConstraint = PrimaryKeyConstraint(tableName);
  FRowSavepoint.reset();
  FUndoRow.reset();
  for (TKeyedQuery& keyed : FLongQueries) {
    if (!keyed.Query) continue;
    keyed.Query->SetRequestLive(true);
    keyed.Query->Prepare();
    keyed.Keys = KeyParams(*keyed.Query);
    if (!FRowSavepoint) {
      FRowSavepoint = MakeQuery(false);
      FRowSavepoint->SQL().Add("SAVEPOINT ROW_WRITE");
      FUndoRow = MakeQuery(false);
      FUndoRow->SQL().Add("ROLLBACK TO SAVEPOINT ROW_WRITE");
    }
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

bool TFormImport::SetKeyParam(TParam& param, const TFieldInfo& field) {
  if (field.TextValue.empty()) {
    param.Clear();
    param.SetBound(true);
    return true;
  }
  if (!field.Kind || !field.Kind->CanBeKey) {
    ShowUnhandledType(field);
    // An explicit null, never the value an earlier row left: the row matches no stored row and no
    // child row.
    param.Clear();
    param.SetBound(true);
    return true;
  }
  TDataValue value;
  if (field.Kind->Form == TTextForm::Text) {
    std::string key = field.TextValue;
    if (field.FieldLength >= 0 && key.size() > static_cast<size_t>(field.FieldLength)) {
      // Blanks at its end the database passes over when it compares keys: only more than those
      // refuses the row.
      const size_t last = key.find_last_not_of(' ');
      if (last != std::string::npos && last >= static_cast<size_t>(field.FieldLength)) return false;
      key.resize(static_cast<size_t>(field.FieldLength));
    }
    // The key as it is written to its column, so that a stored row is found again; the record keeps
    // the escaped text, which the field write cuts and unescapes itself.
    UnescapeText(key);
    value = ReadColumnText(field, key);
  } else {
    value = ReadColumnText(field, field.TextValue);
  }
  param.SetValue(ConvertToColumn(value, ColumnTypeOf(field), UpperCase(field.ColumnName)));
  return true;
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
  if (!field.Kind) {
    ShowUnhandledType(field);
    return;
  }
  switch (field.Kind->Form) {
    case TTextForm::Text:
      TextAsWritten(field);
      break;
    case TTextForm::Timestamp:
      // The default text of an empty NOT NULL timestamp means the first of January 1900.
      if (emptyDefault) {
        target.SetAsDateTime(FirstOfJanuary1900);
        return;
      }
      break;
    default:
      break;
  }
  target.SetValue(ReadColumnText(field, field.TextValue));
}

std::string TFormImport::WriteLongColumn(TQuery& query, TFieldInfo& field) {
  std::string refusal;
  query.Open();
  query.First();
  if (!query.Eof()) {
    query.Edit();
    TField& target = query.Fields()[0];
    if (field.TextValue.empty()) {
      if (!target.IsNull()) target.Clear();
    } else {
      SetFieldValue(target, field, false);
    }
    try {
      query.Post();
    } catch (const EDBEngineError& e) {
      if (!e.IsRowRefusal()) throw;
      query.Cancel();
      refusal = e.Message();
    }
  }
  query.Close();
  return refusal;
}

bool TFormImport::KeyHeldElsewhere(const EDBEngineError& e) const {
  if (FPrimaryKeyConstraint.empty() || !e.IsDuplicateKey()) return false;
  // A row appended with a null key takes its column's default, which may well be stored already.
  for (const TParam* key : FRowKeys)
    if (key->IsNull()) return false;
  // The engine names the constraint the row broke; another unique constraint is the row's own fault.
  return e.Message().find("constraint \"" + FPrimaryKeyConstraint + "\"") != std::string::npos;
}

void TFormImport::Refuse(const std::string& reason) {
  if (FTableRefused++ == 0) FFirstRefusal = reason;
}

void TFormImport::ImportRow(TCutBuffer& row) {
  for (int i = 0; i < FCount; ++i) {
    std::string& value = FFields[i].TextValue;
    CutElement(FFields[i].ColumnName, row, value);
    value = DecodeXMLEntities(std::move(value));
  }

  ++FTableRows;
  size_t k = 0;
  for (int i = 0; i < FCount; ++i) {
    if (!FFields[i].IsKey) continue;
    TParam& source = *FRowKeys[k];
    if (!SetKeyParam(source, FFields[i])) {
      // Refused before anything of it is written: no child row is deleted for it either.
      Refuse(KeyTooLongText(FFields[i]));
      return;
    }
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

  if (FRowSavepoint) FRowSavepoint->ExecSQL();
  const bool appended = FRowQuery->State() == dsInsert;
  try {
    FRowQuery->Post();
  } catch (const EDBEngineError& e) {
    // A row the database refuses is skipped, its long columns with it; a database that cannot take
    // rows at all, or a key another transaction holds, ends the import with this table uncommitted.
    if (!e.IsRowRefusal() || (appended && KeyHeldElsewhere(e))) throw;
    FRowQuery->Cancel();
    FRowQuery->Close();
    Refuse(e.Message());
    return;
  }
  FRowQuery->Close();

  for (int i = 0; i < FCount; ++i) {
    if (!FFields[i].IsLong || !FLongQueries[i].Query) continue;
    const std::string refusal = WriteLongColumn(*FLongQueries[i].Query, FFields[i]);
    if (!refusal.empty()) {
      // Not half of a row: what the row's other statements wrote goes too.
      FUndoRow->ExecSQL();
      Refuse(refusal);
      return;
    }
  }
  ++FResult;
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

TAdvancedForm ReadAdvancedForm(const std::string& fileName) {
  TAdvancedForm form;
  form.FileName = fileName;
  form.PublishCode = ReadPublishCode(fileName);
  if (form.PublishCode != "L") ReadText(fileName, form.Text, form.OpenError);
  return form;
}

int ImportAdvancedForm(const TAdvancedForm& form, const std::string& databaseEntry) {
  if (form.PublishCode == "L") return RefuseLocalPublisher(form.FileName);
  if (!form.OpenError.empty()) {
    ShowError(form.OpenError);
    return 0;
  }
  TFormImport import(databaseEntry);
  if (import.StoresLocalPublisherCode(form.Text)) return RefuseLocalPublisher(form.FileName);
  return import.Run(form.Text);
}

int ImportAdvancedForm(const std::string& fileName) {
  return ImportAdvancedForm(ReadAdvancedForm(fileName), "");
}

int ImportFormTables(const std::string& fileName) {
  TCutForm text;
  std::string openError;
  if (!ReadText(fileName, text, openError)) {
    ShowError(openError);
    return 0;
  }
  TFormImport import("");
  return import.Run(text);
}
