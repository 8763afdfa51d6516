// TQuery: an SQL statement with named parameters on the connection that its DatabaseName names,
// read row by row and, when live, written back row by row.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/components/Component.h"
#include "platform/data/DatabaseClient.h"
#include "platform/data/Field.h"
#include "platform/data/Param.h"
#include "platform/system/StringList.h"

class TQueryEngine;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// The statement is the SQL lines, each ended by CR LF. `:name` parameters become positional ones
// (literals and comments are left alone); Params holds one parameter per distinct name and is
// rebuilt, keeping the values of names it held, whenever the SQL lines change.
//
// A statement is prepared once (Prepare, or the first Open or ExecSQL) and stays prepared until its
// SQL or DatabaseName changes, UnPrepare, or its connection closes; Open and Close only open and
// close its cursor, so a query can be opened again and again with new parameter values cheaply.
//
// Live queries (RequestLive) on a single-table SELECT write rows back: Post after Edit runs an
// UPDATE of the fields that changed, located by the table's primary key (the row's values as read);
// Post after Append an INSERT of every table column of the select list, unset ones as null. Both
// run in the connection's current transaction. A failed Post (the server's refusal, or an update
// whose row another user deleted) raises EDBEngineError and leaves the row in edit or insert state
// until Cancel. Any other SELECT is read-only.
//
// States: dsInactive --Open--> dsBrowse --Edit--> dsEdit --Post/Cancel--> dsBrowse
//                                       --Append--> dsInsert --Post/Cancel--> dsBrowse
//         any --Close--> dsInactive (unposted changes are dropped)
// Ending the transaction that the rows were read in closes the query.
class TQuery : public TComponent, private TDatabaseClient, private TFieldDataSet {
  Q_CLASS(TQuery, TComponent)

  explicit TQuery(TComponent* owner);
  ~TQuery() override;

  const std::string& DatabaseName() const { return FDatabaseName; }
  // Closes and unprepares the query when the name changes.
  void SetDatabaseName(const std::string& name);
  TStringList& SQL() { return FSQL; }
  const TStringList& SQL() const { return FSQL; }
  void SetSQL(const TStringList& sql) { FSQL.Assign(sql); }
  bool RequestLive() const { return FRequestLive; }
  void SetRequestLive(bool live);

  // Finds the connection (EDatabaseError "Unknown database 'X'" or "Cannot perform this operation
  // on a closed database") and prepares the statement; the server's refusal is EDBEngineError.
  void Prepare();
  void UnPrepare();
  bool Prepared() const;

  TParams& Params();
  int ParamCount() { return Params().Count(); }
  TParam& ParamByName(std::string_view name) { return Params().ParamByName(name); }
  // The most characters that text parameter name can carry where the statement uses it: the
  // declared length of its column (the connection's character set is single-byte); 0 when it is
  // no text. Prepares the query.
  int ParamSize(std::string_view name);

  bool Active() const { return FState != dsInactive; }
  // While the component is read from a form resource, a stored True opens the query only once all
  // of its properties have been read (Loaded).
  void SetActive(bool active);
  void Loaded() override;
  // Opens the cursor and reads the first row. A statement that gives no rows raises
  // EDatabaseError "Error creating cursor handle".
  void Open();
  void Close();
  // Runs a statement that gives no rows; with AUTOCOMMIT outside StartTransaction its work is
  // committed at once.
  void ExecSQL();
  // Rows changed by the last ExecSQL.
  int RowsAffected() const { return FRowsAffected; }

  // Back to the first row (the statement runs again when the cursor has moved past it).
  void First();
  void Next();
  // True when there is no current row: after the last one, or with no rows at all.
  bool Eof() const { return FEof; }
  bool IsEmpty() const { return FState == dsBrowse && FEof && FRowsRead == 0; }

  TFields& Fields();
  int FieldCount() { return Fields().Count(); }
  // EDatabaseError "Field 'X' not found" when the select list has no such column.
  TField& FieldByName(std::string_view name);
  TField* FindField(std::string_view name);

  TDataSetState State() const { return FState; }
  // True for an open live query whose statement is a single-table SELECT.
  bool CanModify() const override;
  // Edit of a row; on a query without a current row the same as Append. EDatabaseError "Cannot
  // modify a read-only dataset" on a query that cannot be written back.
  void Edit();
  // A new row whose fields are all null.
  void Append();
  void Post();
  void Cancel();

 private:
  void SyncSQL();
  void CheckBrowseMode();
  void ReadRow();
  bool FetchRow();
  void CloseCursor();
  void SaveRow();
  void RestoreRow();

  // What its fields ask of it.
  void CheckActive() const override;
  void CheckEditing() const override;
  std::string ReadBlob(uint64_t blobId) override;

  // What its connection asks of it.
  const void* CursorTransaction() const override;
  void TransactionEnded() override;
  void DatabaseClosing() override;

  std::string FDatabaseName;
  TStringList FSQL;
  bool FRequestLive = false;
  bool FStreamedActive = false;
  TStringList FParsedSQL;
  bool FParsed = false;
  TParams FParams;
  TFields FFields;
  TDataSetState FState = dsInactive;
  bool FEof = true;
  int FRowsRead = 0;
  int FRowsAffected = 0;
  std::unique_ptr<TQueryEngine> FEngine;
};
