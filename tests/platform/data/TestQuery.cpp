#include "platform/data/Query.h"

#include <gtest/gtest.h>

#include "platform/data/DBErrors.h"
#include "platform/data/Database.h"
#include "tests/support/TestDatabase.h"

namespace {

class QueryTest : public ::testing::Test {
 protected:
  void Connect(const std::string& schema) {
    fixture = std::make_unique<TestDatabase>(schema);
    database = std::make_unique<TDatabase>(nullptr);
    database->SetDatabaseName("dbDataBase");
    database->Params().Assign(fixture->Params());
    database->Open();
  }
  std::unique_ptr<TQuery> NewQuery(const TStringList& sql, bool live = false) {
    auto query = std::make_unique<TQuery>(nullptr);
    query->SetDatabaseName("dbDatabase");
    query->SetSQL(sql);
    query->SetRequestLive(live);
    return query;
  }
  std::unique_ptr<TestDatabase> fixture;
  std::unique_ptr<TDatabase> database;
};

TEST_F(QueryTest, Smoke) {
  Connect("CREATE TABLE t (k INTEGER NOT NULL PRIMARY KEY, a VARCHAR(20), b INTEGER);"
          "INSERT INTO t VALUES (1, 'one', 10)");
  auto query = NewQuery({"SELECT k , a , b ", "FROM t WHERE", "k = :param0"}, true);
  query->Prepare();
  query->Params()[0].SetAsInteger(1);
  query->Open();
  ASSERT_FALSE(query->Eof());
  EXPECT_EQ(query->Fields()[1].AsString(), "one");
  query->Edit();
  query->Fields()[1].SetAsString("uno");
  query->Post();
  query->Close();
  query->Params()[0].SetAsInteger(2);
  query->Open();
  EXPECT_TRUE(query->Eof());
  query->Append();
  query->Fields()[0].SetAsInteger(2);
  query->Fields()[1].SetAsString("two");
  query->Post();
  query->Close();
  EXPECT_EQ(fixture->Rows("SELECT k, a, b FROM t ORDER BY k"),
            (TestDatabase::TRows{{"1", "uno", "10"}, {"2", "two", TestDatabase::Null}}));
}

}  // namespace
