// A fresh embedded Firebird database for a test: made in its own temporary folder from SQL text,
// with helpers that run more SQL and read rows back as text for assertions.
//
//   TestDatabase db("CREATE TABLE t (k INTEGER NOT NULL PRIMARY KEY, s VARCHAR(10));"
//                   "INSERT INTO t VALUES (1, 'one')");
//   TDatabase connection(nullptr);
//   connection.Params().Assign(db.Params());      // SERVER NAME=<file>, USER NAME, PASSWORD
//   ...
//   EXPECT_EQ(db.Rows("SELECT k, s FROM t ORDER BY k"), (TestDatabase::TRows{{"1", "one"}}));
//
// The database uses SQL dialect 1 (double quotes make strings) and character set NONE, so any
// byte is stored as it is. Each statement of the SQL text runs and is committed in order.
// The file is removed with its folder when the object is destroyed.
#pragma once

#include <string>
#include <vector>

#include "platform/system/StringList.h"
#include "tests/support/TempFolder.h"

class TestDatabase {
 public:
  using TRow = std::vector<std::string>;
  using TRows = std::vector<TRow>;

  // How a null value reads in Rows and Value.
  static constexpr const char* Null = "<null>";

  // Makes the database file "test.fdb" in a fresh folder and runs schemaSql: statements
  // separated by ';' (a ';' inside a '...' or "..." literal or a -- comment does not count);
  // blank statements are skipped. Raises EDBEngineError with the server's text on a bad one.
  explicit TestDatabase(const std::string& schemaSql = "");
  // The same, with the file "test.fdb" made in folder, which must exist.
  TestDatabase(const std::string& schemaSql, const std::string& folder);

  const std::string& Path() const { return FPath; }
  const TempFolder& Folder() const { return FFolder; }

  // The parameter list that opens this database with TDatabase: "SERVER NAME=<path>",
  // "USER NAME=SYSDBA", "PASSWORD=masterkey" and "SQLPASSTHRU MODE=SHARED AUTOCOMMIT".
  TStringList Params() const;

  // Runs statements as the constructor does, each committed, on a connection of its own.
  void Execute(const std::string& sql) const;

  // The rows of a SELECT, read on a connection of its own in a transaction of its own (so it sees
  // only what others committed). Values as text: integers in decimal, floats with up to 15
  // significant digits, timestamps "yyyy-mm-dd hh:nn:ss" (the time left out at midnight), CHAR
  // values with their trailing blanks, blobs as their bytes, null as Null.
  TRows Rows(const std::string& select) const;
  // The first column of the first row; Null when there is no row.
  std::string Value(const std::string& select) const;

  // The statements of an SQL text, split as the constructor splits them.
  static std::vector<std::string> SplitStatements(const std::string& sql);

 private:
  void Create(const std::string& schemaSql);

  TempFolder FFolder;
  std::string FPath;
};
