// The open side of a TDatabase: its attachment, its transactions and the datasets that run statements
// on it. Internal to platform/data.
#pragma once

#include <vector>

#include "platform/data/FbClient.h"

class TDatabaseClient;

class TDatabaseConnection {
 public:
  TDatabaseConnection(fbclient::TFbAttachment attachment, bool autoCommit)
      : FAttachment(std::move(attachment)), FAutoCommit(autoCommit) {}
  // Closing or not, no client is left holding statements of a connection that is gone.
  ~TDatabaseConnection();
  TDatabaseConnection(const TDatabaseConnection&) = delete;
  TDatabaseConnection& operator=(const TDatabaseConnection&) = delete;

  Firebird::IAttachment* Attachment() const { return FAttachment.Get(); }
  bool AutoCommit() const { return FAutoCommit; }
  bool InTransaction() const { return static_cast<bool>(FExplicit); }

  // The transaction that statements run in now: the one StartTransaction began, else the
  // connection's own one for work outside it, started when first needed.
  Firebird::ITransaction* CurrentTransaction();
  // After a statement changed data in transaction: with AUTOCOMMIT, work outside StartTransaction
  // is committed at once (keeping open cursors open).
  void AfterWrite(Firebird::ITransaction* transaction);
  // After a cursor closed: with AUTOCOMMIT, an idle transaction of its own is ended, so that the
  // next statement sees what others committed meanwhile.
  void AfterCursorClosed();

  // A dataset that prepared a statement here joins; it leaves when it unprepares. Ending a
  // transaction closes the clients whose cursors read in it; closing the connection closes them all.
  void AddClient(TDatabaseClient* client);
  void RemoveClient(TDatabaseClient* client);

  void StartTransaction();
  void Commit();
  void Rollback();
  // Tells every client that the connection closes, commits the work outside StartTransaction,
  // rolls back a StartTransaction left open and detaches; the first error of the server is raised
  // once all of it has been tried.
  void Close();
  // Tells every client that the connection closes, rolls back both transactions and detaches;
  // raises nothing.
  void Abandon();

 private:
  bool HasCursorsOn(Firebird::ITransaction* transaction) const;
  void CloseCursorsOn(Firebird::ITransaction* transaction);
  void CloseClients();
  void EndImplicit();

  fbclient::TFbAttachment FAttachment;
  bool FAutoCommit;
  fbclient::TFbTransaction FExplicit;
  fbclient::TFbTransaction FImplicit;
  std::vector<TDatabaseClient*> FClients;
};
