// Shared by the loader's database tests: a fresh database made from the product's sample schema,
// with the data module's working connection open on it.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "foundation/QData.h"
#include "platform/data/Database.h"
#include "tests/support/TestDatabase.h"

// The path of a file of the source tree: under QV_SOURCE_DIR when it is set, else found from where
// this header was compiled.
inline std::string SourcePath(const std::string& relativePath) {
  if (const char* root = std::getenv("QV_SOURCE_DIR"); root && *root)
    return std::string(root) + "/" + relativePath;
  std::string here = __FILE__;
  const std::string::size_type tests = here.rfind("/tests/formimport/");
  return (tests == std::string::npos ? std::string(".") : here.substr(0, tests)) + "/" + relativePath;
}

inline std::string SourceFile(const std::string& relativePath) {
  const std::string path = SourcePath(relativePath);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::string SampleSchema() { return SourceFile("samples/schema.sql"); }

// The sample schema plus the test's own SQL, with the data module made and its working database
// open on it, as the database loop leaves it before each import.
class TLoaderDatabase {
 public:
  explicit TLoaderDatabase(const std::string& extraSql = "") : FDatabase(SampleSchema() + "\n" + extraSql) {
    RegisterQDataClasses();
    FModule = NewComponent<TdmData>(nullptr);
    dmData = FModule;
    FModule->dbDataBase->Params().Assign(FDatabase.Params());
    FModule->dbDataBase->Open();
  }
  ~TLoaderDatabase() { delete FModule; }
  TLoaderDatabase(const TLoaderDatabase&) = delete;
  TLoaderDatabase& operator=(const TLoaderDatabase&) = delete;

  TestDatabase& Db() { return FDatabase; }
  TDatabase& Connection() { return *FModule->dbDataBase; }
  TestDatabase::TRows Rows(const std::string& select) const { return FDatabase.Rows(select); }

 private:
  TestDatabase FDatabase;
  TdmData* FModule = nullptr;
};
