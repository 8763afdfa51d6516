#include "platform/data/DatabaseConnection.h"

#include <algorithm>
#include <exception>

#include "platform/data/DBErrors.h"
#include "platform/data/DatabaseClient.h"

using namespace Firebird;

TDatabaseConnection::~TDatabaseConnection() { CloseClients(); }

ITransaction* TDatabaseConnection::CurrentTransaction() {
  if (FExplicit) return FExplicit.Get();
  if (!FImplicit) FImplicit = fbclient::StartTransaction(FAttachment.Get());
  return FImplicit.Get();
}

void TDatabaseConnection::AddClient(TDatabaseClient* client) {
  if (std::find(FClients.begin(), FClients.end(), client) == FClients.end()) FClients.push_back(client);
}

void TDatabaseConnection::RemoveClient(TDatabaseClient* client) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), client), FClients.end());
}

bool TDatabaseConnection::HasCursorsOn(ITransaction* transaction) const {
  for (const TDatabaseClient* client : FClients)
    if (client->CursorTransaction() == transaction) return true;
  return false;
}

void TDatabaseConnection::CloseCursorsOn(ITransaction* transaction) {
  for (TDatabaseClient* client : std::vector<TDatabaseClient*>(FClients))
    if (client->CursorTransaction() == transaction) client->TransactionEnded();
}

void TDatabaseConnection::CloseClients() {
  // Their statements are freed while the attachment still stands.
  const std::vector<TDatabaseClient*> clients = std::move(FClients);
  FClients.clear();
  for (TDatabaseClient* client : clients) client->DatabaseClosing();
}

void TDatabaseConnection::EndImplicit() {
  if (!FImplicit) return;
  if (HasCursorsOn(FImplicit.Get())) {
    fbclient::TFbStatus status;
    FImplicit->commitRetaining(status.Get());
    status.Check();
  } else {
    FImplicit.Finish([](ITransaction* t, CheckStatusWrapper* s) { t->commit(s); });
  }
}

void TDatabaseConnection::AfterWrite(ITransaction* transaction) {
  if (FAutoCommit && FImplicit && transaction == FImplicit.Get()) EndImplicit();
}

void TDatabaseConnection::AfterCursorClosed() {
  if (FAutoCommit && FImplicit && !HasCursorsOn(FImplicit.Get()))
    FImplicit.Finish([](ITransaction* t, CheckStatusWrapper* s) { t->commit(s); });
}

void TDatabaseConnection::StartTransaction() {
  if (FExplicit) throw EDatabaseError("A user transaction is already in progress");
  // Work done so far outside a transaction is kept, not swept into one the caller may roll back.
  EndImplicit();
  FExplicit = fbclient::StartTransaction(FAttachment.Get());
}

void TDatabaseConnection::Commit() {
  if (!FExplicit) throw EDatabaseError("No user transaction is currently in progress");
  CloseCursorsOn(FExplicit.Get());
  FExplicit.Finish([](ITransaction* t, CheckStatusWrapper* s) { t->commit(s); });
}

void TDatabaseConnection::Rollback() {
  if (!FExplicit) throw EDatabaseError("No user transaction is currently in progress");
  CloseCursorsOn(FExplicit.Get());
  FExplicit.Finish([](ITransaction* t, CheckStatusWrapper* s) { t->rollback(s); });
}

void TDatabaseConnection::Abandon() {
  CloseClients();
  // Each owner rolls back or detaches, and only releases the handle when the server refuses.
  FExplicit.Reset();
  FImplicit.Reset();
  FAttachment.Reset();
}

void TDatabaseConnection::Close() {
  CloseClients();
  std::exception_ptr firstError;
  auto attempt = [&](auto step) {
    try {
      step();
    } catch (const EDBEngineError&) {
      if (!firstError) firstError = std::current_exception();
    }
  };
  FExplicit.Reset();  // rolled back: it was never committed
  attempt([&] {
    if (FImplicit) FImplicit.Finish([](ITransaction* t, CheckStatusWrapper* s) { t->commit(s); });
  });
  FImplicit.Reset();
  attempt([&] { FAttachment.Finish([](IAttachment* a, CheckStatusWrapper* s) { a->detach(s); }); });
  FAttachment.Reset();
  if (firstError) std::rethrow_exception(firstError);
}
