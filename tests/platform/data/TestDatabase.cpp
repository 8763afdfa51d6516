#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include "platform/data/DBErrors.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/data/Session.h"

namespace {

const char* const kSchema = "CREATE TABLE t (k INTEGER NOT NULL PRIMARY KEY, a VARCHAR(20))";

// The designed parameter list of the icon loader's connection, with its first line pointing at db.
TStringList DesignedParams(const std::string& serverName, const std::string& passthru) {
  return {"SERVER NAME=" + serverName,
          "USER NAME=SYSDBA",
          "PASSWORD=tinplover",
          "OPEN MODE=READ/WRITE",
          "SCHEMA CACHE SIZE=8",
          "LANGDRIVER=",
          "SQLQRYMODE=",
          "SQLPASSTHRU MODE=" + passthru,
          "SCHEMA CACHE TIME=-1",
          "MAX ROWS=-1",
          "BATCH COUNT=200",
          "ENABLE SCHEMA CACHE=FALSE",
          "SCHEMA CACHE DIR=",
          " "};
}

void Insert(const std::string& databaseName, int key, const std::string& text) {
  TQuery query(nullptr);
  query.SetDatabaseName(databaseName);
  query.SQL().Add("INSERT INTO t (k, a) VALUES (:k, :a)");
  query.ParamByName("k").SetAsInteger(key);
  query.ParamByName("a").SetAsString(text);
  query.ExecSQL();
}

TEST(DatabaseTest, OpensWithTheDesignedParameterListAndIgnoresTheEngineKeys) {
  TestDatabase fixture(kSchema);
  TDatabase database(nullptr);
  database.SetDatabaseName("dbDatabase");
  database.Params().Assign(DesignedParams(fixture.Path(), "SHARED NOAUTOCOMMIT"));
  database.Open();
  EXPECT_TRUE(database.Connected());
  database.Open();  // a second Open changes nothing
  EXPECT_TRUE(database.Connected());
  database.Close();
  EXPECT_FALSE(database.Connected());
  database.Close();
  EXPECT_FALSE(database.Connected());
}

TEST(DatabaseTest, ParameterKeysMatchWithoutRegardToCaseAndTheFirstLineOfAKeyCounts) {
  TestDatabase fixture(kSchema);
  TDatabase database(nullptr);
  database.SetDatabaseName("dbKeys");
  database.Params().Assign({"", "no equals sign here", "server name=" + fixture.Path(),
                            "SERVER NAME=/nowhere/else.fdb", "user name=SYSDBA", "password=whatever",
                            "Sqlpassthru Mode=SHARED AUTOCOMMIT"});
  database.SetConnected(true);
  EXPECT_TRUE(database.Connected());
  Insert("DBKEYS", 1, "x");
  EXPECT_EQ(fixture.Value("SELECT a FROM t WHERE k = 1"), "x");
}

TEST(DatabaseTest, AServerErrorOnOpenIsAnEngineErrorWithTheServersText) {
  TempFolder folder;
  const std::string missing = folder.File("missing.fdb");
  TDatabase database(nullptr);
  database.Params().Assign({"SERVER NAME=" + missing, "USER NAME=SYSDBA", "PASSWORD=x"});
  try {
    database.Open();
    FAIL() << "opening a missing file succeeded";
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(e.Message(), "I/O error during \"open\" operation for file \"" + missing +
                               "\"\n-Error while trying to open file\n-No such file or directory");
  }
  EXPECT_FALSE(database.Connected());
}

TEST(DatabaseTest, TheSessionFindsConnectionsByNameWithoutRegardToCase) {
  TDatabase data(nullptr), blob(nullptr);
  data.SetDatabaseName("dbDataBase");
  blob.SetDatabaseName("dbBlob");
  EXPECT_EQ(Session().FindDatabase("dbDatabase"), &data);
  EXPECT_EQ(Session().FindDatabase("DBDATABASE"), &data);
  EXPECT_EQ(Session().FindDatabase("dbblob"), &blob);
  EXPECT_EQ(Session().FindDatabase("dbAuxiliary"), nullptr);
  EXPECT_EQ(Session().FindDatabase(""), nullptr);

  try {
    blob.SetDatabaseName("DBDATABASE");
    FAIL() << "a second connection took a name in use";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Duplicate database name 'DBDATABASE'");
  }
  EXPECT_EQ(blob.DatabaseName(), "dbBlob");

  data.SetDatabaseName("dbOther");
  EXPECT_EQ(Session().FindDatabase("dbDatabase"), nullptr);
  EXPECT_EQ(Session().FindDatabase("dbother"), &data);
  {
    TDatabase transient(nullptr);
    transient.SetDatabaseName("dbTransient");
    EXPECT_EQ(Session().FindDatabase("dbTransient"), &transient);
  }
  EXPECT_EQ(Session().FindDatabase("dbTransient"), nullptr);
}

class TransactionTest : public ::testing::Test {
 protected:
  void Open(const std::string& passthru) {
    database.SetDatabaseName("dbDataBase");
    database.Params().Assign(DesignedParams(fixture.Path(), passthru));
    database.Open();
  }
  TestDatabase fixture{kSchema};
  TDatabase database{nullptr};
};

TEST_F(TransactionTest, ACommittedTransactionSurvivesClosingAndAnOpenOneDoesNot) {
  Open("SHARED AUTOCOMMIT");
  database.StartTransaction();
  EXPECT_TRUE(database.InTransaction());
  Insert("dbDatabase", 1, "committed");
  database.Commit();
  EXPECT_FALSE(database.InTransaction());

  database.StartTransaction();
  Insert("dbDatabase", 2, "left open");
  EXPECT_EQ(fixture.Rows("SELECT k FROM t ORDER BY k"), (TestDatabase::TRows{{"1"}}));
  database.Close();
  EXPECT_FALSE(database.InTransaction());
  EXPECT_EQ(fixture.Rows("SELECT k, a FROM t ORDER BY k"), (TestDatabase::TRows{{"1", "committed"}}));
}

TEST_F(TransactionTest, ATransactionLeftOpenIsRolledBackWhenTheConnectionIsDestroyed) {
  {
    TDatabase transient(nullptr);
    transient.SetDatabaseName("dbTransient");
    transient.Params().Assign(fixture.Params());
    transient.Open();
    transient.StartTransaction();
    Insert("dbTransient", 7, "gone");
  }
  EXPECT_EQ(fixture.Value("SELECT COUNT(*) FROM t"), "0");
}

TEST_F(TransactionTest, RollbackDropsTheTransactionsWork) {
  Open("SHARED AUTOCOMMIT");
  database.StartTransaction();
  Insert("dbDatabase", 1, "x");
  database.Rollback();
  EXPECT_FALSE(database.InTransaction());
  EXPECT_EQ(fixture.Value("SELECT COUNT(*) FROM t"), "0");
}

TEST_F(TransactionTest, AutocommitStoresEachStatementOutsideATransactionAtOnce) {
  Open("SHARED AUTOCOMMIT");
  Insert("dbDatabase", 1, "at once");
  EXPECT_EQ(fixture.Rows("SELECT k, a FROM t"), (TestDatabase::TRows{{"1", "at once"}}));
}

TEST_F(TransactionTest, NoautocommitStoresWorkOutsideATransactionWhenTheConnectionCloses) {
  Open("SHARED NOAUTOCOMMIT");
  Insert("dbDatabase", 1, "on close");
  Insert("dbDatabase", 2, "on close too");
  EXPECT_EQ(fixture.Value("SELECT COUNT(*) FROM t"), "0");
  database.Close();
  EXPECT_EQ(fixture.Rows("SELECT k, a FROM t ORDER BY k"),
            (TestDatabase::TRows{{"1", "on close"}, {"2", "on close too"}}));
}

TEST_F(TransactionTest, AFailedStatementLosesNothingElseOfTheWorkCommittedOnClose) {
  Open("SHARED NOAUTOCOMMIT");
  Insert("dbDatabase", 1, "first");
  EXPECT_THROW(Insert("dbDatabase", 1, "duplicate"), EDBEngineError);
  Insert("dbDatabase", 2, "after");
  database.Close();
  EXPECT_EQ(fixture.Rows("SELECT k, a FROM t ORDER BY k"),
            (TestDatabase::TRows{{"1", "first"}, {"2", "after"}}));
}

TEST_F(TransactionTest, ACommitRefusedOnCloseIsAnEngineErrorAndTheConnectionIsClosedAllTheSame) {
  // A database trigger that refuses every commit of a transaction that sees a row of t.
  fixture.Execute("CREATE EXCEPTION no_commit 'commits are refused here'");
  Open("SHARED AUTOCOMMIT");
  TQuery trigger(nullptr);
  trigger.SetDatabaseName("dbDatabase");
  trigger.SQL().Add(
      "CREATE TRIGGER refuse_commit ON TRANSACTION COMMIT AS BEGIN IF (EXISTS (SELECT 1 FROM t)) THEN "
      "EXCEPTION no_commit; END");
  trigger.ExecSQL();
  database.Close();

  Open("SHARED NOAUTOCOMMIT");
  Insert("dbDatabase", 1, "never stored");
  try {
    database.Close();
    FAIL() << "the refused commit went unreported";
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(
        e.Message(),
        "exception 1\n-NO_COMMIT\n-commits are refused here\n-At trigger 'REFUSE_COMMIT' line: 1, col: 96");
  }
  EXPECT_FALSE(database.Connected());
  database.Open();  // opens again as a fresh connection
  EXPECT_TRUE(database.Connected());
}

TEST_F(TransactionTest, NoautocommitKeepsEarlierWorkWhenAnExplicitTransactionIsRolledBack) {
  Open("SHARED NOAUTOCOMMIT");
  Insert("dbDatabase", 1, "outside");
  database.StartTransaction();
  Insert("dbDatabase", 2, "inside");
  database.Rollback();
  database.Close();
  EXPECT_EQ(fixture.Rows("SELECT k FROM t"), (TestDatabase::TRows{{"1"}}));
}

TEST_F(TransactionTest, MisusedTransactionCallsAreRefused) {
  struct TCase {
    const char* Name;
    std::function<void()> Call;
    const char* Message;
  };
  Open("SHARED AUTOCOMMIT");
  const TCase cases[] = {
      {"commit without a transaction", [&] { database.Commit(); },
       "No user transaction is currently in progress"},
      {"rollback without a transaction", [&] { database.Rollback(); },
       "No user transaction is currently in progress"},
      {"a second StartTransaction",
       [&] {
         database.StartTransaction();
         database.StartTransaction();
       },
       "A user transaction is already in progress"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_THROW(
        try { c.Call(); } catch (const EDatabaseError& e) {
          EXPECT_EQ(e.Message(), c.Message);
          throw;
        },
        EDatabaseError);
  }
  database.Rollback();
  database.Close();
  EXPECT_THROW(database.StartTransaction(), EDatabaseError);
}

TEST_F(TransactionTest, EndingATransactionClosesTheQueriesReadInIt) {
  Open("SHARED AUTOCOMMIT");
  Insert("dbDatabase", 1, "x");
  TQuery query(nullptr);
  query.SetDatabaseName("dbDatabase");
  query.SQL().Add("SELECT k FROM t");
  database.StartTransaction();
  query.Open();
  EXPECT_EQ(query.State(), dsBrowse);
  database.Commit();
  EXPECT_EQ(query.State(), dsInactive);
  query.Open();  // prepared still, opened again outside the transaction
  EXPECT_EQ(query.Fields()[0].AsInteger(), 1);
}

TEST_F(TransactionTest, ClosingTheConnectionClosesAndUnpreparesItsQueries) {
  Open("SHARED AUTOCOMMIT");
  Insert("dbDatabase", 1, "x");
  TQuery query(nullptr);
  query.SetDatabaseName("dbDatabase");
  query.SQL().Add("SELECT k FROM t");
  query.Open();
  database.Close();
  EXPECT_EQ(query.State(), dsInactive);
  EXPECT_FALSE(query.Prepared());
  try {
    query.Open();
    FAIL() << "a query opened on a closed connection";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Cannot perform this operation on a closed database");
  }
  database.Open();
  query.Open();
  EXPECT_EQ(query.Fields()[0].AsInteger(), 1);
}

TEST_F(TransactionTest, AQueryDestroyedOnALostConnectionLeavesItAndClosingReportsTheLoss) {
  Open("SHARED AUTOCOMMIT");
  Insert("dbDatabase", 1, "x");
  {
    TQuery query(nullptr);
    query.SetDatabaseName("dbDatabase");
    query.SQL().Add("SELECT k FROM t");
    query.Open();
    // Another attachment ends this one, as an administrator or a server going down would.
    fixture.Execute("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION");
  }  // its commit on closing fails; it must leave the connection all the same
  try {
    database.Close();
    FAIL() << "closing a lost connection reported nothing";
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(e.Message(), "connection shutdown");
    EXPECT_EQ(e.ErrorCodes(), std::vector<long>{335544856});
    EXPECT_FALSE(e.IsRowRefusal());
  }
  EXPECT_FALSE(database.Connected());
}

TEST_F(TransactionTest, AQueryThatOutlivesItsConnectionIsClosedAndUnpreparedWithIt) {
  TQuery query(nullptr);
  {
    TDatabase transient(nullptr);
    transient.SetDatabaseName("dbTransient");
    transient.Params().Assign(fixture.Params());
    transient.Open();
    Insert("dbTransient", 1, "x");
    query.SetDatabaseName("dbTransient");
    query.SQL().Add("SELECT k FROM t");
    query.Open();
  }
  EXPECT_EQ(query.State(), dsInactive);
  EXPECT_FALSE(query.Prepared());
  EXPECT_EQ(query.FieldCount(), 0);
  try {
    query.Open();
    FAIL() << "a query opened on a connection that is gone";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Unknown database 'dbTransient'");
  }
}

}  // namespace
