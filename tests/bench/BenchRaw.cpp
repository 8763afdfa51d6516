// The engine's floor for the loader's bench: stores the bench's rows through the Firebird client API
// with one prepared INSERT per table in one transaction, and prints a digest of every table so that
// databases loaded in different ways can be compared. scripts/bench runs it.
//
//   bench_raw load DATABASE.fdb ROWS
//   bench_raw digest DATABASE.fdb     one line per user table: name, rows and a digest of their values
#include <firebird/Interface.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/bench/BenchRows.h"

using namespace Firebird;

namespace {

IMaster* Master() { return fb_get_master_interface(); }

// Owns one reference to a client interface; handles that have an ending of their own (commit,
// detach, free, close) are ended explicitly on the way that succeeds.
struct TRelease {
  void operator()(IReferenceCounted* p) const { p->release(); }
};
template <class I>
using TOwned = std::unique_ptr<I, TRelease>;

struct TDispose {
  void operator()(IDisposable* p) const { p->dispose(); }
};

class TSession {
 public:
  explicit TSession(const std::string& path)
      : FStatusOwner(Master()->getStatus()), FStatus(FStatusOwner.get()) {
    FProvider.reset(Master()->getDispatcher());
    std::unique_ptr<IXpbBuilder, TDispose> dpb(
        Master()->getUtilInterface()->getXpbBuilder(&FStatus, IXpbBuilder::DPB, nullptr, 0));
    dpb->insertString(&FStatus, isc_dpb_user_name, "SYSDBA");
    dpb->insertString(&FStatus, isc_dpb_password, "masterkey");
    // The character set the programs connect with, so that the engine converts texts as it does for them.
    dpb->insertString(&FStatus, isc_dpb_lc_ctype, "WIN1252");
    FAttachment.reset(FProvider->attachDatabase(&FStatus, path.c_str(), dpb->getBufferLength(&FStatus),
                                                dpb->getBuffer(&FStatus)));
    FTransaction.reset(FAttachment->startTransaction(&FStatus, 0, nullptr));
  }

  // Commits, detaches and stops the engine.
  void Finish() {
    FTransaction->commit(&FStatus);
    FTransaction.release();
    FAttachment->detach(&FStatus);
    FAttachment.release();
    FProvider->shutdown(&FStatus, 0, fb_shutrsn_app_stopped);
  }

  ThrowStatusWrapper* Status() { return &FStatus; }
  IAttachment* Attachment() const { return FAttachment.get(); }
  ITransaction* Transaction() const { return FTransaction.get(); }

 private:
  std::unique_ptr<IStatus, TDispose> FStatusOwner;
  ThrowStatusWrapper FStatus;
  TOwned<IProvider> FProvider;
  TOwned<IAttachment> FAttachment;
  TOwned<ITransaction> FTransaction;
};

// One prepared statement with the message layout it declares.
struct TStatement {
  TOwned<IStatement> Statement;
  TOwned<IMessageMetadata> Metadata;
  std::vector<unsigned char> Buffer;
};

unsigned SlotType(IMessageMetadata* metadata, ThrowStatusWrapper* status, unsigned i) {
  return metadata->getType(status, i) & ~1u;
}

template <class T>
void Store(unsigned char* p, T value) {
  std::memcpy(p, &value, sizeof value);
}

// Puts value into slot i of statement's message, in the type the statement declares.
void StoreValue(TSession& session, TStatement& statement, unsigned i, const TBenchValue& value) {
  ThrowStatusWrapper* status = session.Status();
  IMessageMetadata* metadata = statement.Metadata.get();
  unsigned char* data = statement.Buffer.data() + metadata->getOffset(status, i);
  Store<int16_t>(statement.Buffer.data() + metadata->getNullOffset(status, i), 0);
  const unsigned length = metadata->getLength(status, i);
  switch (SlotType(metadata, status, i)) {
    case SQL_SHORT:
      Store<int16_t>(data, static_cast<int16_t>(std::strtol(value.Text.c_str(), nullptr, 10)));
      break;
    case SQL_LONG:
      Store<int32_t>(data, static_cast<int32_t>(std::strtol(value.Text.c_str(), nullptr, 10)));
      break;
    case SQL_INT64:
      Store<int64_t>(data, std::strtoll(value.Text.c_str(), nullptr, 10));
      break;
    case SQL_DOUBLE:
      Store<double>(data, std::strtod(value.Text.c_str(), nullptr));
      break;
    case SQL_TEXT:
      std::memset(data, ' ', length);
      std::memcpy(data, value.Text.data(), std::min<size_t>(length, value.Text.size()));
      break;
    case SQL_VARYING: {
      const size_t size = std::min<size_t>(length, value.Text.size());
      Store<uint16_t>(data, static_cast<uint16_t>(size));
      std::memcpy(data + 2, value.Text.data(), size);
      break;
    }
    case SQL_TIMESTAMP: {
      IUtil* util = Master()->getUtilInterface();
      const int* s = value.Stamp;
      ISC_TIMESTAMP stamp{util->encodeDate(s[0], s[1], s[2]), util->encodeTime(s[3], s[4], s[5], 0)};
      Store<ISC_TIMESTAMP>(data, stamp);
      break;
    }
    case SQL_BLOB: {
      ISC_QUAD id{};
      TOwned<IBlob> blob(session.Attachment()->createBlob(status, session.Transaction(), &id, 0, nullptr));
      blob->putSegment(status, static_cast<unsigned>(value.Text.size()), value.Text.data());
      blob->close(status);
      blob.release();
      Store<ISC_QUAD>(data, id);
      break;
    }
    default:
      throw std::runtime_error(std::string("no way to store column ") + value.Column);
  }
}

int Load(const std::string& path, long rows) {
  TSession session(path);
  ThrowStatusWrapper* status = session.Status();
  std::map<std::string, TStatement> statements;
  long count = 0;
  ForEachBenchRow(rows, [&](const TBenchRow& row) {
    TStatement& statement = statements[row.Table];
    if (!statement.Statement) {
      std::string columns, marks;
      for (const TBenchValue& value : row.Values) {
        columns += (columns.empty() ? "" : ", ") + std::string(value.Column);
        marks += marks.empty() ? "?" : ", ?";
      }
      const std::string sql =
          "INSERT INTO " + std::string(row.Table) + " (" + columns + ") VALUES (" + marks + ")";
      statement.Statement.reset(
          session.Attachment()->prepare(status, session.Transaction(), 0, sql.c_str(), 1, 0));
      statement.Metadata.reset(statement.Statement->getInputMetadata(status));
      statement.Buffer.assign(statement.Metadata->getMessageLength(status), 0);
    }
    for (unsigned i = 0; i < row.Values.size(); ++i) StoreValue(session, statement, i, row.Values[i]);
    statement.Statement->execute(status, session.Transaction(), statement.Metadata.get(),
                                 statement.Buffer.data(), nullptr, nullptr);
    ++count;
  });
  for (auto& [table, statement] : statements) {
    statement.Statement->free(status);
    statement.Statement.release();
  }
  session.Finish();
  std::cout << count << "\n";
  return 0;
}

// FNV-1a, 64 bits.
uint64_t Mix(uint64_t hash, const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
  return hash;
}

std::string BlobBytes(TSession& session, ISC_QUAD id) {
  ThrowStatusWrapper* status = session.Status();
  TOwned<IBlob> blob(session.Attachment()->openBlob(status, session.Transaction(), &id, 0, nullptr));
  std::string bytes;
  char segment[32768];
  for (;;) {
    unsigned got = 0;
    const int result = blob->getSegment(status, sizeof segment, segment, &got);
    if (result != IStatus::RESULT_OK && result != IStatus::RESULT_SEGMENT) break;
    bytes.append(segment, got);
  }
  blob->close(status);
  blob.release();
  return bytes;
}

// Every row's values, column by column (blobs by their contents); the rows' hashes are added up so that
// the digest does not depend on the order the server returns them in.
void DigestTable(TSession& session, const std::string& table) {
  ThrowStatusWrapper* status = session.Status();
  const std::string sql = "SELECT * FROM " + table;
  TOwned<IStatement> statement(session.Attachment()->prepare(status, session.Transaction(), 0, sql.c_str(), 1,
                                                             IStatement::PREPARE_PREFETCH_METADATA));
  TOwned<IMessageMetadata> metadata(statement->getOutputMetadata(status));
  std::vector<unsigned char> row(metadata->getMessageLength(status));
  const unsigned columns = metadata->getCount(status);
  TOwned<IResultSet> cursor(
      statement->openCursor(status, session.Transaction(), nullptr, nullptr, metadata.get(), 0));
  long rows = 0;
  uint64_t digest = 0;
  while (cursor->fetchNext(status, row.data()) == IStatus::RESULT_OK) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned i = 0; i < columns; ++i) {
      int16_t null;
      std::memcpy(&null, row.data() + metadata->getNullOffset(status, i), sizeof null);
      hash = Mix(hash, &null, sizeof null);
      if (null) continue;
      const unsigned char* data = row.data() + metadata->getOffset(status, i);
      switch (SlotType(metadata.get(), status, i)) {
        case SQL_VARYING: {
          uint16_t length;
          std::memcpy(&length, data, sizeof length);
          hash = Mix(hash, data + 2, length);
          break;
        }
        case SQL_BLOB: {
          ISC_QUAD id;
          std::memcpy(&id, data, sizeof id);
          const std::string bytes = BlobBytes(session, id);
          hash = Mix(hash, bytes.data(), bytes.size());
          break;
        }
        default:
          hash = Mix(hash, data, metadata->getLength(status, i));
      }
    }
    digest += hash;
    ++rows;
  }
  cursor->close(status);
  cursor.release();
  statement->free(status);
  statement.release();
  std::cout << table << " rows=" << rows << " digest=" << std::hex << digest << std::dec << "\n";
}

int Digest(const std::string& path) {
  TSession session(path);
  ThrowStatusWrapper* status = session.Status();
  std::vector<std::string> tables;
  {
    TOwned<IStatement> statement(session.Attachment()->prepare(
        status, session.Transaction(), 0,
        "SELECT CAST(TRIM(RDB$RELATION_NAME) AS VARCHAR(63)) FROM RDB$RELATIONS"
        " WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS NULL ORDER BY 1",
        1, IStatement::PREPARE_PREFETCH_METADATA));
    TOwned<IMessageMetadata> metadata(statement->getOutputMetadata(status));
    std::vector<unsigned char> row(metadata->getMessageLength(status));
    const unsigned offset = metadata->getOffset(status, 0);
    TOwned<IResultSet> cursor(
        statement->openCursor(status, session.Transaction(), nullptr, nullptr, metadata.get(), 0));
    while (cursor->fetchNext(status, row.data()) == IStatus::RESULT_OK) {
      uint16_t length;
      std::memcpy(&length, row.data() + offset, sizeof length);
      tables.emplace_back(reinterpret_cast<const char*>(row.data() + offset + 2), length);
    }
    cursor->close(status);
    cursor.release();
    statement->free(status);
    statement.release();
  }
  for (const std::string& table : tables) DigestTable(session, table);
  session.Finish();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  try {
    if (mode == "load" && argc == 4) return Load(argv[2], std::stol(argv[3]));
    if (mode == "digest" && argc == 3) return Digest(argv[2]);
  } catch (const FbException& e) {
    char text[1024];
    Master()->getUtilInterface()->formatStatus(text, sizeof text, e.getStatus());
    std::cerr << "bench_raw: " << text << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "bench_raw: " << e.what() << "\n";
    return 1;
  }
  std::cerr << "usage: bench_raw load DATABASE.fdb ROWS | digest DATABASE.fdb\n";
  return 2;
}
