// Shared by the loader's database tests: a fresh database made from the product's sample schema,
// with the working connection open on it under the name the loader's queries use.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/data/Database.h"
#include "tests/support/TestDatabase.h"

inline std::string SourceFile(const std::string& relativePath) {
  const char* root = std::getenv("QV_SOURCE_DIR");
  const std::string path = std::string(root ? root : ".") + "/" + relativePath;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::string SampleSchema() { return SourceFile("samples/schema.sql"); }

// The sample schema plus the test's own SQL, and a connection named as the data module names its
// working database.
class TLoaderDatabase {
 public:
  explicit TLoaderDatabase(const std::string& extraSql = "") : FDatabase(SampleSchema() + "\n" + extraSql) {
    FConnection.SetDatabaseName("dbDataBase");
    FConnection.Params().Assign(FDatabase.Params());
    FConnection.Open();
  }

  TestDatabase& Db() { return FDatabase; }
  TDatabase& Connection() { return FConnection; }
  TestDatabase::TRows Rows(const std::string& select) const { return FDatabase.Rows(select); }

 private:
  TestDatabase FDatabase;
  TDatabase FConnection{nullptr};
};
