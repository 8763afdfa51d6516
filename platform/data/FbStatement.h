// One statement of the Firebird client with everything that runs it: the prepared statement, its
// input message, its output columns and row buffer, and its cursor. The engine runs every statement
// through it. Internal to platform/data.
#pragma once

#include <string>
#include <vector>

#include "platform/data/DataValue.h"
#include "platform/data/FbClient.h"
#include "platform/data/FbMessage.h"

namespace fbclient {

// Prepared in SQL dialect 1 when made, and freed with the object (its open cursor first). The calls
// that a row makes (Open, Fetch, Execute, AffectedRows) share one status object of the statement's
// own, so running a statement again and again costs no more than the client calls themselves. The
// attachment must outlive the statement.
//
// States: prepared --Open--> cursor open --CloseCursor (or Open again)--> prepared
// Fetch reads the open cursor's next row into the row buffer; Execute runs the statement without
// keeping a cursor.
class TFbStatement {
 public:
  // No statement: only to be assigned one.
  TFbStatement() = default;
  // The server's refusal of text is EDBEngineError with its message.
  TFbStatement(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
               const std::string& text);
  TFbStatement(TFbStatement&&) noexcept = default;
  TFbStatement& operator=(TFbStatement&&) noexcept = default;
  TFbStatement(const TFbStatement&) = delete;
  TFbStatement& operator=(const TFbStatement&) = delete;

  explicit operator bool() const { return static_cast<bool>(FHandle); }

  // The parameters in `?` order, as the statement declares them.
  unsigned ParamCount() const { return FInput.Count(); }
  const TSlot& Param(unsigned index) const { return FInput.Declared(index); }
  // The output columns in select-list order.
  const std::vector<TSlot>& Columns() const { return FColumns; }
  // True for a statement that gives rows through a cursor.
  bool HasCursor() const { return FHasCursor; }

  // Opens the cursor in transaction with values[i] as parameter i (blob values are written in that
  // transaction), after closing one still open.
  void Open(Firebird::ITransaction* transaction, const std::vector<const TDataValue*>& values);
  // Reads the cursor's next row; false after the last one.
  bool Fetch();
  // Column index of the row last fetched. A blob is not read: its id goes to blobId (see DecodeSlot).
  TDataValue Column(size_t index, ISC_QUAD* blobId = nullptr) const {
    return DecodeSlot(FColumns[index], FRow.data(), blobId);
  }
  // The transaction that the open cursor reads in; nullptr when no cursor is open.
  Firebird::ITransaction* CursorTransaction() const { return FCursor ? FCursorTransaction : nullptr; }
  // Closes the open cursor, if any; raises nothing.
  void CloseCursor();

  // Runs the statement once in transaction with values as its parameters. A statement that gives
  // rows is only opened and closed again.
  void Execute(Firebird::ITransaction* transaction, const std::vector<const TDataValue*>& values);
  // The rows that the last Execute changed (asked of the server, so only when wanted).
  unsigned long long AffectedRows();

 private:
  Firebird::IAttachment* FAttachment = nullptr;
  TFbStatementHandle FHandle;
  TInputMessage FInput;
  TFbMetadata FOutputMetadata;
  std::vector<TSlot> FColumns;
  std::vector<unsigned char> FRow;
  bool FHasCursor = false;
  TFbResultSet FCursor;
  Firebird::ITransaction* FCursorTransaction = nullptr;
  TFbStatus FStatus;
};

}  // namespace fbclient
