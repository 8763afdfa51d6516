#include "platform/data/FbClient.h"

#include <cmath>
#include <vector>

#include "platform/data/DBErrors.h"
#include "platform/data/Database.h"
#include "platform/system/TerminationSignals.h"

using namespace Firebird;

namespace fbclient {

namespace {

// ISC_DATE counts days from 17 November 1858; the platform's date-time from 30 December 1899.
constexpr int kDateTimeDayZero = 15018;
constexpr double kTimeUnitsPerDay = 24.0 * 60 * 60 * ISC_TIME_SECONDS_PRECISION;
// One putSegment call must stay under 64 KiB.
constexpr unsigned kSegmentSize = 32 * 1024;

}  // namespace

IMaster* Master() {
  static IMaster* master = fb_get_master_interface();
  return master;
}

IUtil* Util() { return Master()->getUtilInterface(); }

namespace {
// The engine's entry point, made on first use (never in a static initialiser) and ended by ShutdownEngine.
IProvider* gProvider = nullptr;
}  // namespace

IProvider* Provider() {
  if (!gProvider) gProvider = Master()->getDispatcher();
  return gProvider;
}

void ShutdownEngine() {
  if (!gProvider) return;
  // Stops the engine's own threads before the process ends, so nothing of it still runs while the
  // process's exit handlers tear down what those threads use.
  TFbStatus status;
  gProvider->shutdown(status.Get(), 0, fb_shutrsn_app_stopped);
  gProvider->release();
  gProvider = nullptr;
}

namespace {

EDBEngineError EngineError(IStatus* status) {
  return EDBEngineError(FormatStatus(status), ErrorCodes(status),
                        static_cast<int>(isc_sqlcode(status->getErrors())));
}

}  // namespace

TFbStatus::TFbStatus()
    : FStatus(Master()->getStatus()), FWrapper(std::make_unique<CheckStatusWrapper>(FStatus)) {}

TFbStatus::~TFbStatus() {
  if (FStatus) FStatus->dispose();
}

TFbStatus::TFbStatus(TFbStatus&& other) noexcept
    : FStatus(std::exchange(other.FStatus, nullptr)), FWrapper(std::move(other.FWrapper)) {}

TFbStatus& TFbStatus::operator=(TFbStatus&& other) noexcept {
  if (this != &other) {
    if (FStatus) FStatus->dispose();
    FStatus = std::exchange(other.FStatus, nullptr);
    FWrapper = std::move(other.FWrapper);
  }
  return *this;
}

CheckStatusWrapper* TFbStatus::Get() {
  FWrapper->clearException();
  return FWrapper.get();
}

bool TFbStatus::Failed() const { return (FWrapper->getState() & IStatus::STATE_ERRORS) != 0; }

std::string TFbStatus::Text() const { return FormatStatus(FWrapper.get()); }

void TFbStatus::Check() const {
  if (Failed()) RaiseEngineError(FWrapper.get());
}

void TFbStatus::Check(IAttachment* attachment) const {
  if (!Failed()) return;
  EDBEngineError error = EngineError(FWrapper.get());
  if (error.IsRowRefusal() && attachment != nullptr) {
    TFbStatus connection;
    attachment->ping(connection.Get());
    connection.Check();
  }
  throw error;
}

std::string FormatStatus(IStatus* status) {
  std::vector<char> buffer(4096);
  const unsigned length = Util()->formatStatus(buffer.data(), static_cast<unsigned>(buffer.size()), status);
  std::string text(buffer.data(), std::min<size_t>(length, buffer.size()));
  while (!text.empty() && (text.back() == '\n' || text.back() == '\0')) text.pop_back();
  return text;
}

std::vector<long> ErrorCodes(IStatus* status) {
  std::vector<long> codes;
  const ISC_STATUS* vector = status->getErrors();
  while (vector && *vector != isc_arg_end) {
    const ISC_STATUS kind = *vector++;
    if (kind == isc_arg_gds) codes.push_back(static_cast<long>(*vector));
    // A counted string has two entries: its length and its text; every other argument has one.
    vector += kind == isc_arg_cstring ? 2 : 1;
  }
  return codes;
}

void RaiseEngineError(IStatus* status) { throw EngineError(status); }

namespace {

// Ends a handle by the given call; when the server refuses, only the client's reference goes.
template <class I, class End>
void EndOrRelease(I* p, End end) {
  TFbStatus status;
  end(p, status.Get());
  if (status.Failed()) p->release();
}

}  // namespace

void TAttachmentPolicy::Dispose(IAttachment* p) {
  EndOrRelease(p, [](IAttachment* a, CheckStatusWrapper* s) { a->detach(s); });
}

void TTransactionPolicy::Dispose(ITransaction* p) {
  EndOrRelease(p, [](ITransaction* t, CheckStatusWrapper* s) { t->rollback(s); });
}

void TStatementPolicy::Dispose(IStatement* p) {
  EndOrRelease(p, [](IStatement* st, CheckStatusWrapper* s) { st->free(s); });
}

void TResultSetPolicy::Dispose(IResultSet* p) {
  EndOrRelease(p, [](IResultSet* r, CheckStatusWrapper* s) { r->close(s); });
}

void TBlobPolicy::Dispose(IBlob* p) {
  // A blob still owned here was never completed: drop what was written of it.
  EndOrRelease(p, [](IBlob* b, CheckStatusWrapper* s) { b->cancel(s); });
}

namespace {

TFbXpb MakeDpb(const TAttachParams& params, bool forCreate) {
  TFbStatus status;
  TFbXpb dpb(Util()->getXpbBuilder(status.Get(), IXpbBuilder::DPB, nullptr, 0));
  status.Check();
  if (!params.UserName.empty()) dpb->insertString(status.Get(), isc_dpb_user_name, params.UserName.c_str());
  status.Check();
  if (!params.Password.empty()) dpb->insertString(status.Get(), isc_dpb_password, params.Password.c_str());
  status.Check();
  dpb->insertInt(status.Get(), isc_dpb_sql_dialect, 1);
  status.Check();
  if (!params.CharacterSet.empty()) {
    dpb->insertString(status.Get(), isc_dpb_lc_ctype, params.CharacterSet.c_str());
    status.Check();
  }
  if (forCreate && !params.DefaultCharacterSet.empty()) {
    dpb->insertString(status.Get(), isc_dpb_set_db_charset, params.DefaultCharacterSet.c_str());
    status.Check();
  }
  return dpb;
}

}  // namespace

namespace {

TFbAttachment Connect(const TAttachParams& params, bool forCreate) {
  TFbXpb dpb = MakeDpb(params, forCreate);
  TFbStatus status;
  const unsigned length = dpb->getBufferLength(status.Get());
  status.Check();
  const unsigned char* buffer = dpb->getBuffer(status.Get());
  status.Check();
  const char* name = params.ConnectionString.c_str();
  TFbAttachment attachment(forCreate ? Provider()->createDatabase(status.Get(), name, length, buffer)
                                     : Provider()->attachDatabase(status.Get(), name, length, buffer));
  // The engine puts its own SIGINT and SIGTERM handlers in place when it starts, on the first attach
  // whether or not that succeeds; they would keep the program running. Take them back.
  RetakeTerminationSignals();
  status.Check();
  return attachment;
}

}  // namespace

TFbAttachment Attach(const TAttachParams& params) { return Connect(params, false); }

TFbAttachment CreateDatabase(const TAttachParams& params) { return Connect(params, true); }

TFbTransaction StartTransaction(IAttachment* attachment) {
  // Read committed, seeing the latest committed version of a row. A row that another transaction
  // has changed and not yet ended is waited for, up to LockWaitSeconds: on a shared server that is
  // another workstation in the middle of saving, and failing at once would pass for a refused row.
  TFbStatus status;
  TFbXpb tpb(Util()->getXpbBuilder(status.Get(), IXpbBuilder::TPB, nullptr, 0));
  status.Check();
  for (unsigned char tag : {isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_wait}) {
    tpb->insertTag(status.Get(), tag);
    status.Check();
  }
  tpb->insertInt(status.Get(), isc_tpb_lock_timeout, LockWaitSeconds);
  status.Check();
  const unsigned length = tpb->getBufferLength(status.Get());
  status.Check();
  const unsigned char* buffer = tpb->getBuffer(status.Get());
  status.Check();
  TFbTransaction transaction(attachment->startTransaction(status.Get(), length, buffer));
  status.Check();
  return transaction;
}

std::string ReadBlob(IAttachment* attachment, ITransaction* transaction, const ISC_QUAD& id) {
  TFbStatus status;
  ISC_QUAD blobId = id;
  TFbBlob blob(attachment->openBlob(status.Get(), transaction, &blobId, 0, nullptr));
  status.Check();
  std::string bytes;
  std::vector<char> segment(65535);
  for (;;) {
    unsigned got = 0;
    const int result =
        blob->getSegment(status.Get(), static_cast<unsigned>(segment.size()), segment.data(), &got);
    if (result == IStatus::RESULT_OK || result == IStatus::RESULT_SEGMENT) {
      bytes.append(segment.data(), got);
      continue;
    }
    if (result == IStatus::RESULT_NO_DATA) break;
    status.Check();
    break;
  }
  blob.Finish([](IBlob* b, CheckStatusWrapper* s) { b->close(s); });
  return bytes;
}

ISC_QUAD WriteBlob(IAttachment* attachment, ITransaction* transaction, const std::string& bytes) {
  TFbStatus status;
  ISC_QUAD id{};
  TFbBlob blob(attachment->createBlob(status.Get(), transaction, &id, 0, nullptr));
  status.Check();
  for (size_t offset = 0; offset < bytes.size(); offset += kSegmentSize) {
    // A blob of hundreds of megabytes takes seconds to write: a signal ends the program between two
    // segments, and the rollback drops the blob with the rest of the transaction.
    TerminationCheckpoint();
    const size_t length = std::min<size_t>(kSegmentSize, bytes.size() - offset);
    blob->putSegment(status.Get(), static_cast<unsigned>(length), bytes.data() + offset);
    status.Check();
  }
  blob.Finish([](IBlob* b, CheckStatusWrapper* s) { b->close(s); });
  return id;
}

double TimestampToDateTime(const ISC_TIMESTAMP& timestamp) {
  const double days = static_cast<double>(timestamp.timestamp_date) - kDateTimeDayZero;
  const double fraction = timestamp.timestamp_time / kTimeUnitsPerDay;
  return days < 0 ? days - fraction : days + fraction;
}

ISC_TIMESTAMP DateTimeToTimestamp(double dateTime) {
  const double whole = std::trunc(dateTime);
  long long day = static_cast<long long>(whole);
  long long units = std::llround(std::fabs(dateTime - whole) * kTimeUnitsPerDay);
  if (units >= static_cast<long long>(kTimeUnitsPerDay)) {
    // Rounded up to midnight: that is the start of the next calendar day.
    units -= static_cast<long long>(kTimeUnitsPerDay);
    ++day;
  }
  ISC_TIMESTAMP timestamp;
  timestamp.timestamp_date = static_cast<ISC_DATE>(day + kDateTimeDayZero);
  timestamp.timestamp_time = static_cast<ISC_TIME>(units);
  return timestamp;
}

}  // namespace fbclient
