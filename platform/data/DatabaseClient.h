// TDatabaseClient: what an open connection asks of the datasets that run statements on it.
#pragma once

// A dataset joins the connection when it prepares a statement there and leaves it when it unprepares.
// The connection reaches its datasets only through this, so that it needs to know nothing else of them.
class TDatabaseClient {
 public:
  // The transaction that its open cursor reads rows in, as the connection's own handle (only ever
  // compared); nullptr when no cursor is open.
  virtual const void* CursorTransaction() const = 0;
  // That transaction has ended: the cursor is gone, and the dataset closes.
  virtual void TransactionEnded() = 0;
  // The connection is closing: the dataset closes and drops what it prepared there. It has left
  // the connection by then.
  virtual void DatabaseClosing() = 0;

 protected:
  ~TDatabaseClient() = default;
};
