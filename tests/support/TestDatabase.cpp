#include "tests/support/TestDatabase.h"

#include "platform/data/FbClient.h"
#include "platform/data/FbStatement.h"

using namespace Firebird;

namespace {

fbclient::TAttachParams AttachParams(const std::string& path) {
  fbclient::TAttachParams params;
  params.ConnectionString = path;
  params.UserName = "SYSDBA";
  params.Password = "masterkey";
  params.CharacterSet = "NONE";
  return params;
}

void RunStatements(IAttachment* attachment, const std::vector<std::string>& statements) {
  for (const std::string& sql : statements) {
    fbclient::TFbTransaction transaction = fbclient::StartTransaction(attachment);
    fbclient::TFbStatement(attachment, transaction.Get(), sql).Execute(transaction.Get(), {});
    transaction.Finish([](ITransaction* t, CheckStatusWrapper* s) { t->commit(s); });
  }
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

}  // namespace

std::vector<std::string> TestDatabase::SplitStatements(const std::string& sql) {
  std::vector<std::string> statements;
  std::string current;
  for (size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      size_t end = i + 1;
      while (end < sql.size()) {
        if (sql[end] == c) {
          if (end + 1 < sql.size() && sql[end + 1] == c) {
            end += 2;
            continue;
          }
          break;
        }
        ++end;
      }
      current.append(sql, i, end + 1 - i);
      i = end;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const size_t end = sql.find('\n', i);
      const size_t stop = end == std::string::npos ? sql.size() : end;
      current.append(sql, i, stop - i);
      i = stop - 1;
    } else if (c == ';') {
      if (!IsBlank(current)) statements.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!IsBlank(current)) statements.push_back(current);
  return statements;
}

TestDatabase::TestDatabase(const std::string& schemaSql) : FPath(FFolder.File("test.fdb")) {
  Create(schemaSql);
}

TestDatabase::TestDatabase(const std::string& schemaSql, const std::string& folder)
    : FPath(folder + "/test.fdb") {
  Create(schemaSql);
}

void TestDatabase::Create(const std::string& schemaSql) {
  fbclient::TFbAttachment attachment = fbclient::CreateDatabase(AttachParams(FPath));
  RunStatements(attachment.Get(), SplitStatements(schemaSql));
  attachment.Finish([](IAttachment* a, CheckStatusWrapper* s) { a->detach(s); });
}

TStringList TestDatabase::Params() const {
  return {"SERVER NAME=" + FPath, "USER NAME=SYSDBA", "PASSWORD=masterkey",
          "SQLPASSTHRU MODE=SHARED AUTOCOMMIT"};
}

void TestDatabase::Execute(const std::string& sql) const {
  fbclient::TFbAttachment attachment = fbclient::Attach(AttachParams(FPath));
  RunStatements(attachment.Get(), SplitStatements(sql));
  attachment.Finish([](IAttachment* a, CheckStatusWrapper* s) { a->detach(s); });
}

TestDatabase::TRows TestDatabase::Rows(const std::string& select) const {
  fbclient::TFbAttachment attachment = fbclient::Attach(AttachParams(FPath));
  fbclient::TFbTransaction transaction = fbclient::StartTransaction(attachment.Get());
  TRows rows;
  {
    fbclient::TFbStatement statement(attachment.Get(), transaction.Get(), select);
    statement.Open(transaction.Get(), {});
    while (statement.Fetch()) {
      TRow values;
      for (size_t i = 0; i < statement.Columns().size(); ++i) {
        ISC_QUAD blobId{};
        TDataValue value = statement.Column(i, &blobId);
        if (value.Null) {
          values.emplace_back(Null);
        } else if (IsBlobType(value.Type)) {
          values.push_back(fbclient::ReadBlob(attachment.Get(), transaction.Get(), blobId));
        } else {
          values.push_back(ValueAsString(value));
        }
      }
      rows.push_back(std::move(values));
    }
  }  // the statement is freed before its transaction ends
  transaction.Finish([](ITransaction* t, CheckStatusWrapper* s) { t->commit(s); });
  attachment.Finish([](IAttachment* a, CheckStatusWrapper* s) { a->detach(s); });
  return rows;
}

std::string TestDatabase::Value(const std::string& select) const {
  const TRows rows = Rows(select);
  if (rows.empty() || rows[0].empty()) return Null;
  return rows[0][0];
}
