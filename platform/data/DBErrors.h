// The database engine's two kinds of error: the server's own (EDBEngineError) and misuse of a dataset.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/system/Exceptions.h"

// An error reported by the database server or its client library, with the server's own text, or a
// row write-back whose row the server no longer holds. Callers catch this class apart from all others
// to skip a database or a row.
class EDBEngineError : public Exception {
 public:
  using Exception::Exception;
  EDBEngineError(std::string message, std::vector<long> errorCodes, int sqlCode)
      : Exception(std::move(message)), FErrorCodes(std::move(errorCodes)), FSqlCode(sqlCode) {}

  // The server's error codes, in the order of its status vector; empty when the error is not the
  // server's (the row write-back).
  const std::vector<long>& ErrorCodes() const { return FErrorCodes; }
  // The SQLCODE the server gives the error; 0 when the error is not the server's.
  int SqlCode() const { return FSqlCode; }

  // True when the server refused the statement for what it writes (a key, a constraint, a value, a
  // table it does not have) or the row to update is gone: the row failed, and the next can be written.
  // False when the row is not what failed:
  // - the database or the connection failed: the database file cannot be read or written (a full
  //   disk, a file that cannot grow), the database or the connection was shut down or lost, the
  //   database is read-only, or the server found itself inconsistent; nothing written afterwards
  //   can be relied on to reach the database;
  // - another transaction holds what the statement needs: its lock was not released in time, it
  //   committed a change of the row meanwhile, or the two wait for each other (a deadlock); the row
  //   keeps the other's values and would be lost in silence if it were skipped.
  bool IsRowRefusal() const;
  // True when the server refused a row because a primary or unique key already holds its value.
  bool IsDuplicateKey() const;

 private:
  std::vector<long> FErrorCodes;
  int FSqlCode = 0;
};

// A dataset or connection used in a way its state does not allow (a field written outside edit mode,
// an unknown parameter name, a query whose database name matches no connection, ...). Raised by the
// engine itself, never by the server.
class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};
