// The database engine's two kinds of error: the server's own (EDBEngineError) and misuse of a dataset.
#pragma once

#include "platform/system/Exceptions.h"

// An error reported by the database server or its client library, with the server's own text, or a
// row write-back whose row the server no longer holds. Callers catch this class apart from all others
// to skip a database or a row.
class EDBEngineError : public Exception {
 public:
  using Exception::Exception;
};

// A dataset or connection used in a way its state does not allow (a field written outside edit mode,
// an unknown parameter name, a query whose database name matches no connection, ...). Raised by the
// engine itself, never by the server.
class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};
