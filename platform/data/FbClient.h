// The engine's door to the Firebird client: the process-wide entry points, the status object, one
// move-only owner per kind of handle, and the translation of every failure into EDBEngineError.
// Statements are run through FbStatement, their messages read and built by FbMessage. Only units of
// platform/data include this header.
#pragma once

#include <firebird/Interface.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fbclient {

Firebird::IMaster* Master();
Firebird::IUtil* Util();
// The dispatcher that routes a connection string to the embedded engine or a server; it lives
// until ShutdownEngine.
Firebird::IProvider* Provider();
// Ends the engine's work: detaches what is still attached and stops its threads. A later Provider()
// starts it again.
void ShutdownEngine();

// Owns one status vector. Get() hands it to a client call fresh; Check() raises the server's
// message as EDBEngineError when that call failed.
class TFbStatus {
 public:
  TFbStatus();
  ~TFbStatus();
  TFbStatus(TFbStatus&& other) noexcept;
  TFbStatus& operator=(TFbStatus&& other) noexcept;
  TFbStatus(const TFbStatus&) = delete;
  TFbStatus& operator=(const TFbStatus&) = delete;

  Firebird::CheckStatusWrapper* Get();
  bool Failed() const;
  // The client's formatted text of the last failure.
  std::string Text() const;
  void Check() const;
  // Check for a call on attachment's connection. Once the connection is gone, a call can fail with
  // an error that only follows from it: the client sends some calls later, with the next one, and
  // drops the server's answer to them (a cursor's close, which then leaves the next open to fail
  // with "Attempt to reopen an open cursor"). So when the call's error is the statement's own, the
  // connection is asked, and when it is gone, its error is raised instead.
  void Check(Firebird::IAttachment* attachment) const;

 private:
  Firebird::IStatus* FStatus = nullptr;
  // Held apart so that moving the owner keeps the wrapper pointing at the same status.
  std::unique_ptr<Firebird::CheckStatusWrapper> FWrapper;
};

// Formats a failed status the way the server reports it: its lines joined by line breaks.
std::string FormatStatus(Firebird::IStatus* status);
// The server's error codes of a failed status, in order.
std::vector<long> ErrorCodes(Firebird::IStatus* status);
// Raises the failure as EDBEngineError with the server's text, its error codes and its SQLCODE.
[[noreturn]] void RaiseEngineError(Firebird::IStatus* status);

// Owner of one client interface pointer. Policy::Dispose(p) ends the handle for good (detach,
// rollback, free, close, release): it must not throw, and falls back to release() when the
// server refuses. Finish() runs an operation that ends the handle itself on success (commit,
// detach, close, free): ownership ends only when it succeeds.
template <class I, class Policy>
class TFbOwner {
 public:
  TFbOwner() = default;
  explicit TFbOwner(I* pointer) : FPointer(pointer) {}
  ~TFbOwner() { Reset(); }
  TFbOwner(TFbOwner&& other) noexcept : FPointer(std::exchange(other.FPointer, nullptr)) {}
  TFbOwner& operator=(TFbOwner&& other) noexcept {
    if (this != &other) {
      Reset();
      FPointer = std::exchange(other.FPointer, nullptr);
    }
    return *this;
  }
  TFbOwner(const TFbOwner&) = delete;
  TFbOwner& operator=(const TFbOwner&) = delete;

  I* Get() const { return FPointer; }
  I* operator->() const { return FPointer; }
  explicit operator bool() const { return FPointer != nullptr; }

  void Reset(I* pointer = nullptr) {
    if (FPointer) Policy::Dispose(FPointer);
    FPointer = pointer;
  }

  template <class Operation>
  void Finish(Operation operation) {
    TFbStatus status;
    operation(FPointer, status.Get());
    status.Check();
    FPointer = nullptr;
  }

 private:
  I* FPointer = nullptr;
};

struct TReleasePolicy {
  static void Dispose(Firebird::IReferenceCounted* p) { p->release(); }
};
struct TAttachmentPolicy {
  static void Dispose(Firebird::IAttachment* p);
};
struct TTransactionPolicy {
  static void Dispose(Firebird::ITransaction* p);
};
struct TStatementPolicy {
  static void Dispose(Firebird::IStatement* p);
};
struct TResultSetPolicy {
  static void Dispose(Firebird::IResultSet* p);
};
struct TBlobPolicy {
  static void Dispose(Firebird::IBlob* p);
};
struct TXpbPolicy {
  static void Dispose(Firebird::IXpbBuilder* p) { p->dispose(); }
};

using TFbAttachment = TFbOwner<Firebird::IAttachment, TAttachmentPolicy>;
using TFbTransaction = TFbOwner<Firebird::ITransaction, TTransactionPolicy>;
// The bare statement handle; statements are run through TFbStatement (FbStatement.h).
using TFbStatementHandle = TFbOwner<Firebird::IStatement, TStatementPolicy>;
using TFbResultSet = TFbOwner<Firebird::IResultSet, TResultSetPolicy>;
using TFbBlob = TFbOwner<Firebird::IBlob, TBlobPolicy>;
using TFbMetadata = TFbOwner<Firebird::IMessageMetadata, TReleasePolicy>;
using TFbMetadataBuilder = TFbOwner<Firebird::IMetadataBuilder, TReleasePolicy>;
using TFbXpb = TFbOwner<Firebird::IXpbBuilder, TXpbPolicy>;

// Connection parameters as the client takes them.
struct TAttachParams {
  std::string ConnectionString;
  std::string UserName;
  std::string Password;
  // Single-byte character set of the connection: bytes pass unchanged and lengths count bytes.
  std::string CharacterSet = "WIN1252";
  // Only when a database is made: the default character set of its text columns (empty: NONE).
  std::string DefaultCharacterSet;
};

TFbAttachment Attach(const TAttachParams& params);
// Makes a new dialect-1 database file and leaves it attached.
TFbAttachment CreateDatabase(const TAttachParams& params);
TFbTransaction StartTransaction(Firebird::IAttachment* attachment);

// Blob contents, read whole or written in segments the client accepts (under 64 KiB each).
std::string ReadBlob(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                     const ISC_QUAD& id);
ISC_QUAD WriteBlob(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                   const std::string& bytes);

// The platform's date-time (days since 30 December 1899, time of day as the fraction; before that
// day the fraction still counts forward from midnight) against the server's timestamp.
double TimestampToDateTime(const ISC_TIMESTAMP& timestamp);
ISC_TIMESTAMP DateTimeToTimestamp(double dateTime);

}  // namespace fbclient
