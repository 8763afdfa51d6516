#include "platform/data/Query.h"

#include <exception>
#include <cstring>
#include <map>

#include "platform/components/TypeInfo.h"
#include "platform/data/DBErrors.h"
#include "platform/data/Database.h"
#include "platform/data/DatabaseConnection.h"
#include "platform/data/FbStatement.h"
#include "platform/data/SQLText.h"
#include "platform/data/Session.h"
#include "platform/system/AnsiStrings.h"

using namespace Firebird;

namespace {

// An UPDATE or INSERT that a live query prepared for writing rows back.
struct TWriteStatement {
  fbclient::TFbStatement Statement;
  std::vector<int> FieldIndexes;  // the fields whose values fill the first parameters
};

// The columns of the table's primary key, in key order; empty when it has none.
std::vector<std::string> PrimaryKeyOf(IAttachment* attachment, ITransaction* transaction,
                                      const std::string& table) {
  fbclient::TFbStatement statement(attachment, transaction,
                                   "SELECT S.RDB$FIELD_NAME FROM RDB$RELATION_CONSTRAINTS C "
                                   "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = C.RDB$INDEX_NAME "
                                   "WHERE C.RDB$RELATION_NAME = ? AND C.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' "
                                   "ORDER BY S.RDB$FIELD_POSITION");
  const TDataValue name = TDataValue::OfBytes(ftString, UpperCase(table));
  statement.Open(transaction, {&name});
  std::vector<std::string> keys;
  while (statement.Fetch()) keys.push_back(TrimRight(statement.Column(0).Bytes));
  return keys;
}

}  // namespace

// Everything of a prepared query that lives on the server side.
class TQueryEngine {
 public:
  // The connection that the query joined when it prepared; it closes the query before it goes.
  TDatabaseConnection* Connection = nullptr;
  fbclient::TFbStatement Statement;
  std::vector<int> ParamOfPosition;  // the parameter of each '?', in statement order

  // Live queries.
  bool Live = false;
  std::string Table;                     // as the statement writes it
  std::vector<std::string> KeyColumns;   // the primary key, in key order
  std::vector<std::string> FieldColumn;  // per field: the table column it shows, or empty
  std::vector<int> ColumnFields;         // the first field that shows each table column, in field order
  std::vector<int> KeyField;             // per key column: the one of ColumnFields showing it, or -1
  size_t VisibleCount = 0;               // fields; the key columns follow them unseen
  std::vector<TDataValue> KeyValues;     // the current row's key as read
  std::map<std::string, TWriteStatement> Updates;
  std::unique_ptr<TWriteStatement> Insert;

  // The row as it was before Edit or Append, for Cancel.
  struct TSavedField {
    TDataValue Value;
    bool BlobPending;
    uint64_t BlobId;
  };
  std::vector<TSavedField> Saved;
  std::vector<TDataValue> SavedKeyValues;
};

const TMetaClass& TQuery::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TQuery>("TQuery")
                                    .Boolean("Active", &TQuery::Active, &TQuery::SetActive)
                                    .Default(false)
                                    .String("DatabaseName", &TQuery::DatabaseName, &TQuery::SetDatabaseName)
                                    .Boolean("RequestLive", &TQuery::RequestLive, &TQuery::SetRequestLive)
                                    .Default(false)
                                    .Strings("SQL", static_cast<TStringList& (TQuery::*)()>(&TQuery::SQL));
  return cls;
}

TQuery::TQuery(TComponent* owner) : TComponent(owner) {}

TQuery::~TQuery() {
  try {
    UnPrepare();
  } catch (const Exception&) {
    // The statement goes with the connection in any case.
  }
}

void TQuery::SetDatabaseName(const std::string& name) {
  if (name == FDatabaseName) return;
  UnPrepare();
  FDatabaseName = name;
}

void TQuery::SetRequestLive(bool live) {
  if (live == FRequestLive) return;
  UnPrepare();
  FRequestLive = live;
}

void TQuery::SyncSQL() {
  if (FParsed && FSQL == FParsedSQL) return;
  UnPrepare();
  FParsedSQL = FSQL;
  FParams.Rebuild(ParseSQLParams(FSQL.Text()).Names);
  FParsed = true;
}

TParams& TQuery::Params() {
  SyncSQL();
  return FParams;
}

TFields& TQuery::Fields() { return FFields; }

TField* TQuery::FindField(std::string_view name) { return FFields.FindField(name); }

TField& TQuery::FieldByName(std::string_view name) {
  TField* field = FindField(name);
  if (field == nullptr) throw EDatabaseError("Field '" + std::string(name) + "' not found");
  return *field;
}

bool TQuery::Prepared() const { return FEngine && FEngine->Statement; }

void TQuery::Prepare() {
  SyncSQL();
  if (Prepared()) return;
  TDatabase* database = Session().FindDatabase(FDatabaseName);
  if (database == nullptr) throw EDatabaseError("Unknown database '" + FDatabaseName + "'");
  TDatabaseConnection& connection = database->Connection();
  IAttachment* attachment = connection.Attachment();
  ITransaction* transaction = connection.CurrentTransaction();

  auto engine = std::make_unique<TQueryEngine>();
  engine->Connection = &connection;
  const TParsedSQL parsed = ParseSQLParams(FSQL.Text());
  std::string text = parsed.Text;
  TSelectShape shape;
  if (FRequestLive) shape = ParseSelectShape(text);
  if (shape.Valid) {
    engine->Live = true;
    engine->Table = shape.Table;
    engine->KeyColumns = PrimaryKeyOf(attachment, transaction, shape.Table);
    // The key columns are read along with the row, unseen, so that an update finds the row by the
    // key it was read with whether or not the select list shows the key.
    std::string hidden;
    const std::string& qualifier = shape.Alias.empty() ? shape.Table : shape.Alias;
    for (const std::string& key : engine->KeyColumns) hidden += ", " + qualifier + "." + key;
    if (!hidden.empty()) {
      text.insert(shape.FromOffset, hidden + " ");
      if (shape.StarOffset != std::string::npos) text.replace(shape.StarOffset, 1, qualifier + ".*");
    }
  }

  engine->Statement = fbclient::TFbStatement(attachment, transaction, text);
  if (engine->Statement.ParamCount() != parsed.Names.size())
    throw EDatabaseError("The statement's parameters do not match its :name parameters");
  for (const std::string& name : parsed.Names) engine->ParamOfPosition.push_back(FParams.IndexOf(name));

  const std::vector<fbclient::TSlot>& columns = engine->Statement.Columns();
  engine->VisibleCount = columns.size() - (engine->Live ? engine->KeyColumns.size() : 0);
  engine->KeyValues.assign(engine->Live ? engine->KeyColumns.size() : 0, TDataValue());

  TFields fields;
  TFieldDataSet* dataSet = this;
  for (size_t i = 0; i < engine->VisibleCount; ++i) {
    const fbclient::TSlot& slot = columns[i];
    const bool tableColumn =
        engine->Live && !slot.Field.empty() && SameText(TrimRight(slot.Relation), engine->Table);
    engine->FieldColumn.push_back(tableColumn ? TrimRight(slot.Field) : std::string());
    const TColumnType column = fbclient::SlotColumnType(slot);
    const int size = column.Type == ftString ? static_cast<int>(slot.Length) : 0;
    fields.FItems.push_back(std::make_unique<TField>(dataSet, static_cast<int>(i), TrimRight(slot.Alias),
                                                     column, size, tableColumn));
  }
  // Each table column is written once, from the first field that shows it.
  for (size_t i = 0; i < engine->FieldColumn.size(); ++i) {
    if (engine->FieldColumn[i].empty()) continue;
    bool seen = false;
    for (int j : engine->ColumnFields)
      seen = seen || SameText(engine->FieldColumn[j], engine->FieldColumn[i]);
    if (!seen) engine->ColumnFields.push_back(static_cast<int>(i));
  }
  for (const std::string& key : engine->KeyColumns) {
    int shown = -1;
    for (int i : engine->ColumnFields)
      if (SameText(engine->FieldColumn[static_cast<size_t>(i)], key)) {
        shown = i;
        break;
      }
    engine->KeyField.push_back(shown);
  }
  FFields = std::move(fields);
  FEngine = std::move(engine);
  connection.AddClient(this);
  connection.AfterCursorClosed();
}

int TQuery::ParamSize(std::string_view name) {
  const int index = Params().IndexOf(name);
  if (index < 0) throw EDatabaseError("Parameter '" + std::string(name) + "' not found");
  Prepare();
  int size = 0;
  for (size_t position = 0; position < FEngine->ParamOfPosition.size(); ++position) {
    if (FEngine->ParamOfPosition[position] != index) continue;
    const fbclient::TSlot& slot = FEngine->Statement.Param(static_cast<unsigned>(position));
    if (slot.Type != SQL_TEXT && slot.Type != SQL_VARYING) continue;
    // Used in several places, it carries no more than the shortest of them.
    const int length = static_cast<int>(slot.Length);
    if (size == 0 || length < size) size = length;
  }
  return size;
}

void TQuery::UnPrepare() {
  if (!FEngine) return;
  // The query leaves its connection even when closing fails (a connection that is lost): the
  // connection must not keep it among its clients once the query is gone.
  std::exception_ptr closeError;
  if (Active()) {
    try {
      Close();
    } catch (...) {
      closeError = std::current_exception();
    }
  }
  TDatabaseConnection* connection = FEngine->Connection;
  FEngine.reset();  // frees the statements on the server
  FFields = TFields();
  connection->RemoveClient(this);
  if (closeError) std::rethrow_exception(closeError);
}

void TQuery::SetActive(bool active) {
  if (InState(csLoading)) {
    FStreamedActive = active;
    return;
  }
  if (active)
    Open();
  else
    Close();
}

void TQuery::Loaded() {
  TComponent::Loaded();
  if (FStreamedActive) {
    FStreamedActive = false;
    Open();
  }
}

namespace {

std::vector<const TDataValue*> ParamValues(const TParams& params, const std::vector<int>& positions) {
  std::vector<const TDataValue*> values;
  values.reserve(positions.size());
  for (int index : positions) {
    const TParam& param = params[index];
    if (!param.Bound()) throw EDatabaseError("No value for parameter '" + param.Name() + "'");
    values.push_back(&param.Value());
  }
  return values;
}

}  // namespace

void TQuery::Open() {
  if (Active()) return;
  Prepare();
  if (!FEngine->Statement.HasCursor()) throw EDatabaseError("Error creating cursor handle");
  ITransaction* transaction = FEngine->Connection->CurrentTransaction();
  FEngine->Statement.Open(transaction, ParamValues(FParams, FEngine->ParamOfPosition));
  FState = dsBrowse;
  FRowsRead = 0;
  FEof = !FetchRow();
}

bool TQuery::FetchRow() {
  if (!FEngine->Statement.Fetch()) {
    if (FRowsRead == 0) {
      for (auto& field : FFields.FItems) {
        field->FValue = TDataValue();
        field->FValue.Type = field->FColumn.Type;
        field->FBlobPending = false;
      }
    }
    return false;
  }
  ReadRow();
  ++FRowsRead;
  return true;
}

void TQuery::ReadRow() {
  const fbclient::TFbStatement& statement = FEngine->Statement;
  for (size_t i = 0; i < FEngine->VisibleCount; ++i) {
    TField& field = *FFields.FItems[i];
    ISC_QUAD blobId{};
    field.FValue = statement.Column(i, &blobId);
    field.FBlobPending = field.IsBlob() && !field.FValue.Null;
    std::memcpy(&field.FBlobId, &blobId, sizeof field.FBlobId);
    field.FModified = false;
  }
  for (size_t k = 0; k < FEngine->KeyValues.size(); ++k)
    FEngine->KeyValues[k] = statement.Column(FEngine->VisibleCount + k);
}

std::string TQuery::ReadBlob(uint64_t blobId) {
  TDatabaseConnection& connection = *FEngine->Connection;
  // The row's blob is read where the row was: in the cursor's transaction while it is open.
  ITransaction* transaction = FEngine->Statement.CursorTransaction();
  if (transaction == nullptr) transaction = connection.CurrentTransaction();
  ISC_QUAD id;
  std::memcpy(&id, &blobId, sizeof id);
  return fbclient::ReadBlob(connection.Attachment(), transaction, id);
}

void TQuery::CloseCursor() {
  if (!FEngine) return;
  FEngine->Statement.CloseCursor();
}

void TQuery::Close() {
  if (!Active()) return;
  CloseCursor();
  FState = dsInactive;
  FEof = true;
  FRowsRead = 0;
  if (FEngine) FEngine->Connection->AfterCursorClosed();
}

void TQuery::ExecSQL() {
  Prepare();
  TDatabaseConnection& connection = *FEngine->Connection;
  ITransaction* transaction = connection.CurrentTransaction();
  fbclient::TFbStatement& statement = FEngine->Statement;
  statement.Execute(transaction, ParamValues(FParams, FEngine->ParamOfPosition));
  // The rows of a statement that gives rows are not read: it changed none that count.
  FRowsAffected = statement.HasCursor() ? 0 : static_cast<int>(statement.AffectedRows());
  connection.AfterWrite(transaction);
}

void TQuery::CheckActive() const {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TQuery::CheckEditing() const {
  if (FState != dsEdit && FState != dsInsert) throw EDatabaseError("Dataset not in edit or insert mode");
}

void TQuery::CheckBrowseMode() {
  CheckActive();
  if (FState != dsEdit && FState != dsInsert) return;
  bool modified = false;
  for (const auto& field : FFields.FItems) modified = modified || field->FModified;
  if (modified)
    Post();
  else
    Cancel();
}

void TQuery::First() {
  CheckBrowseMode();
  if (FRowsRead == 0 || (FRowsRead == 1 && !FEof)) return;
  CloseCursor();
  FState = dsInactive;
  Open();
}

void TQuery::Next() {
  CheckBrowseMode();
  if (FEof) return;
  if (!FetchRow()) FEof = true;
}

bool TQuery::CanModify() const { return Active() && FEngine && FEngine->Live; }

void TQuery::SaveRow() {
  FEngine->Saved.clear();
  for (const auto& field : FFields.FItems) {
    FEngine->Saved.push_back({field->FValue, field->FBlobPending, field->FBlobId});
    field->FModified = false;
  }
  FEngine->SavedKeyValues = FEngine->KeyValues;
}

void TQuery::RestoreRow() {
  for (size_t i = 0; i < FFields.FItems.size() && i < FEngine->Saved.size(); ++i) {
    TField& field = *FFields.FItems[i];
    field.FValue = FEngine->Saved[i].Value;
    field.FBlobPending = FEngine->Saved[i].BlobPending;
    field.FBlobId = FEngine->Saved[i].BlobId;
    field.FModified = false;
  }
  FEngine->KeyValues = FEngine->SavedKeyValues;
}

void TQuery::Edit() {
  CheckActive();
  if (FState == dsEdit || FState == dsInsert) return;
  if (!CanModify()) throw EDatabaseError("Cannot modify a read-only dataset");
  if (FRowsRead == 0) {
    Append();
    return;
  }
  SaveRow();
  FState = dsEdit;
}

void TQuery::Append() {
  CheckBrowseMode();
  if (!CanModify()) throw EDatabaseError("Cannot modify a read-only dataset");
  SaveRow();
  for (auto& field : FFields.FItems) {
    field->FValue = TDataValue();
    field->FValue.Type = field->FColumn.Type;
    field->FBlobPending = false;
  }
  FState = dsInsert;
}

void TQuery::Cancel() {
  if (FState != dsEdit && FState != dsInsert) return;
  RestoreRow();
  FState = dsBrowse;
}

void TQuery::Post() {
  CheckActive();
  if (FState != dsEdit && FState != dsInsert) return;
  TQueryEngine& engine = *FEngine;
  TDatabaseConnection& connection = *engine.Connection;
  ITransaction* transaction = connection.CurrentTransaction();
  IAttachment* attachment = connection.Attachment();

  const std::vector<int>& columnFields = engine.ColumnFields;

  auto fieldValues = [&](const std::vector<int>& indexes) {
    std::vector<const TDataValue*> result;
    for (int index : indexes) result.push_back(&FFields[index].FValue);
    return result;
  };
  TWriteStatement* write = nullptr;
  std::vector<const TDataValue*> values;
  if (FState == dsEdit) {
    std::vector<int> changed;
    std::string signature;
    for (int i : columnFields) {
      const TField& field = FFields[i];
      const auto& saved = engine.Saved[static_cast<size_t>(i)];
      if (!field.FModified) continue;
      if (!saved.BlobPending && field.FValue == saved.Value) continue;
      changed.push_back(i);
      signature += IntToStr(i) + ",";
    }
    if (!changed.empty()) {
      if (engine.KeyColumns.empty())
        throw EDatabaseError("Table '" + engine.Table + "' has no primary key to find the row by");
      auto found = engine.Updates.find(signature);
      if (found == engine.Updates.end()) {
        std::string text = "UPDATE " + engine.Table + " SET ";
        for (size_t c = 0; c < changed.size(); ++c)
          text += (c ? ", " : "") + engine.FieldColumn[static_cast<size_t>(changed[c])] + " = ?";
        text += " WHERE ";
        for (size_t k = 0; k < engine.KeyColumns.size(); ++k)
          text += (k ? " AND " : "") + engine.KeyColumns[k] + " = ?";
        TWriteStatement statement{fbclient::TFbStatement(attachment, transaction, text), changed};
        found = engine.Updates.emplace(signature, std::move(statement)).first;
      }
      write = &found->second;
      values = fieldValues(changed);
      for (const TDataValue& key : engine.SavedKeyValues) values.push_back(&key);
    }
  } else {
    if (!engine.Insert) {
      std::string columns, marks;
      for (size_t c = 0; c < columnFields.size(); ++c) {
        columns += (c ? ", " : "") + engine.FieldColumn[static_cast<size_t>(columnFields[c])];
        marks += c ? ", ?" : "?";
      }
      engine.Insert = std::make_unique<TWriteStatement>(TWriteStatement{
          fbclient::TFbStatement(attachment, transaction,
                                 "INSERT INTO " + engine.Table + " (" + columns + ") VALUES (" + marks + ")"),
          columnFields});
    }
    write = engine.Insert.get();
    values = fieldValues(write->FieldIndexes);
  }

  if (write) {
    write->Statement.Execute(transaction, values);
    // The server refused nothing, but the row is gone: a write that failed all the same, so callers
    // that skip rows the server refuses skip this one too.
    if (FState == dsEdit && write->Statement.AffectedRows() == 0)
      throw EDBEngineError("The row to update was not found: another user deleted it or changed its key");
  }

  // The row as posted is now the current one, found by its key as posted the next time.
  for (size_t k = 0; k < engine.KeyColumns.size(); ++k) {
    if (FState == dsInsert) engine.KeyValues[k] = TDataValue();
    if (engine.KeyField[k] >= 0) engine.KeyValues[k] = FFields[engine.KeyField[k]].FValue;
  }
  for (auto& field : FFields.FItems) field->FModified = false;
  if (FState == dsInsert) ++FRowsRead;
  FState = dsBrowse;
  connection.AfterWrite(transaction);
}

const void* TQuery::CursorTransaction() const {
  return FEngine ? FEngine->Statement.CursorTransaction() : nullptr;
}

void TQuery::TransactionEnded() {
  CloseCursor();
  FState = dsInactive;
  FEof = true;
  FRowsRead = 0;
}

void TQuery::DatabaseClosing() {
  TransactionEnded();
  FEngine.reset();
  FFields = TFields();
}
