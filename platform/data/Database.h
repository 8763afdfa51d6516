// TDatabase: one connection to a Firebird database, opened from its parameter list, with its
// transactions; queries reach it through its DatabaseName in the default session.
#pragma once

#include <memory>
#include <string>

#include "platform/components/Component.h"
#include "platform/system/StringList.h"

class TDatabaseConnection;

// Parameter list: KEY=value lines; keys match without regard to case, blank lines and lines without
// '=' are ignored, the first line of a key counts.
//   SERVER NAME       the Firebird connection string: a plain path opens the file with the embedded
//                     engine (or, when a local server holds it, through that server); host:path
//                     reaches a server
//   USER NAME, PASSWORD   the login
//   SQLPASSTHRU MODE  containing NOAUTOCOMMIT: work done outside StartTransaction is committed when
//                     the connection is closed; otherwise (AUTOCOMMIT, the default) right after
//                     each statement
// Every other key is accepted and ignored. The connection uses SQL dialect 1 and a single-byte
// character set, so bytes 0x80-0xFF reach text columns unchanged.
//
// Transactions:
//   closed --Open--> open --StartTransaction--> in transaction --Commit/Rollback--> open
//   open/in transaction --Close--> closed (an open StartTransaction is rolled back; work outside
//   it is committed)
// Ending a transaction closes the queries whose rows were read in it.
//
// Every transaction reads the latest committed version of a row. A statement that writes a row
// which another transaction has changed, or a key which another transaction has inserted, and not
// yet ended waits for that transaction, up to LockWaitSeconds. When it rolls back, the statement
// goes on. Otherwise the statement fails with EDBEngineError: a changed row when the other commits,
// when the wait runs out or in a deadlock, with an update conflict, which is no refusal of the row
// (EDBEngineError::IsRowRefusal); an inserted key with the key violation that a stored one gives.
constexpr int LockWaitSeconds = 10;

class TDatabase : public TComponent {
  Q_CLASS(TDatabase, TComponent)

  explicit TDatabase(TComponent* owner);
  // Closes the connection (as Close, errors ignored) and leaves the session.
  ~TDatabase() override;

  const std::string& DatabaseName() const { return FDatabaseName; }
  // Joins the default session under the new name; EDatabaseError "Duplicate database name 'X'"
  // when another connection holds it.
  void SetDatabaseName(const std::string& name);
  const std::string& DriverName() const { return FDriverName; }
  void SetDriverName(const std::string& name) { FDriverName = name; }
  // Kept for the form resources; there is no login dialog, the list carries the login.
  bool LoginPrompt() const { return FLoginPrompt; }
  void SetLoginPrompt(bool prompt) { FLoginPrompt = prompt; }
  // Every connection belongs to the default session whatever this names.
  const std::string& SessionName() const { return FSessionName; }
  void SetSessionName(const std::string& name) { FSessionName = name; }

  TStringList& Params() { return FParams; }
  const TStringList& Params() const { return FParams; }

  bool Connected() const { return FConnection != nullptr; }
  // While the component is read from a form resource, a stored True opens the connection only
  // once all of its properties have been read (Loaded).
  void SetConnected(bool connected);
  // Nothing when already open; EDBEngineError with the server's text when the server refuses.
  void Open();
  // Nothing when already closed. Closes every query on the connection first. An error of the
  // server while committing or detaching is raised as EDBEngineError once the connection is
  // closed all the same.
  void Close();
  // Ends an open connection at once, as when the program is stopped by a signal: its transactions,
  // the one StartTransaction began and the work outside it, are rolled back and it is detached.
  // Raises nothing.
  void Abandon();

  // EDatabaseError "A user transaction is already in progress" when one is.
  void StartTransaction();
  // EDatabaseError "No user transaction is currently in progress" without one. When the server
  // refuses the commit, the transaction stays active.
  void Commit();
  void Rollback();
  bool InTransaction() const;

  // For queries: the open connection; EDatabaseError "Cannot perform this operation on a closed
  // database" when closed.
  TDatabaseConnection& Connection();

  void Loaded() override;

 private:
  std::string FDatabaseName;
  std::string FDriverName;
  bool FLoginPrompt = true;
  std::string FSessionName;
  TStringList FParams;
  bool FStreamedConnected = false;
  std::unique_ptr<TDatabaseConnection> FConnection;
};
