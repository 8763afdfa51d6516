// The open side of a TDatabase: its attachment and transactions. Internal to platform/data.
#pragma once

#include "platform/data/FbClient.h"

class TDatabase;

class TDatabaseConnection {
 public:
  TDatabaseConnection(TDatabase& owner, fbclient::TFbAttachment attachment, bool autoCommit)
      : FOwner(owner), FAttachment(std::move(attachment)), FAutoCommit(autoCommit) {}

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

  void StartTransaction();
  void Commit();
  void Rollback();
  // Commits the work outside StartTransaction, rolls back a StartTransaction left open and
  // detaches; the first error of the server is raised once all of it has been tried.
  void Close();
  // Rolls back both transactions and detaches; raises nothing.
  void Abandon();

 private:
  bool HasCursorsOn(Firebird::ITransaction* transaction) const;
  void CloseCursorsOn(Firebird::ITransaction* transaction);
  void EndImplicit();

  TDatabase& FOwner;
  fbclient::TFbAttachment FAttachment;
  bool FAutoCommit;
  fbclient::TFbTransaction FExplicit;
  fbclient::TFbTransaction FImplicit;
};
