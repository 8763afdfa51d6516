#include <gtest/gtest.h>

#include "foundation/QData.h"
#include "platform/components/TypeInfo.h"
#include "platform/data/Query.h"
#include "platform/data/Session.h"
#include "tests/support/TestDatabase.h"

namespace {

TStringList DesignedParams(const std::string& serverName) {
  return {"SERVER NAME=" + serverName,
          "USER NAME=SYSDBA",
          "PASSWORD=tinplover",
          "OPEN MODE=READ/WRITE",
          "SCHEMA CACHE SIZE=8",
          "LANGDRIVER=",
          "SQLQRYMODE=",
          "SQLPASSTHRU MODE=SHARED AUTOCOMMIT",
          "SCHEMA CACHE TIME=-1",
          "MAX ROWS=-1",
          "BATCH COUNT=200",
          "ENABLE SCHEMA CACHE=FALSE",
          "SCHEMA CACHE DIR="};
}

class QDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterQDataClasses();
    dmData = NewComponent<TdmData>(nullptr);
  }
  void TearDown() override { delete dmData; }
};

TEST_F(QDataTest, TheModuleHoldsItsDesignedConnectionsClosed) {
  struct TCase {
    TDatabase* Database;
    const char* Name;
    const char* ServerName;
  };
  const std::string development = "/var/lib/quorvan/development/";
  const TCase cases[] = {
      {dmData->dbDataBase, "dbDataBase", "QVDEVELOPMENT.FDB"},
      {dmData->dbAuxiliary, "dbAuxiliary", "QVDEVELOPMENT.FDB"},
      {dmData->dbBlob, "dbBlob", "QVDEVELOPMENTBLOB.FDB"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_NE(c.Database, nullptr);
    EXPECT_EQ(c.Database->Name(), c.Name);
    EXPECT_EQ(c.Database->DatabaseName(), c.Name);
    EXPECT_EQ(c.Database->DriverName(), "INTRBASE");
    EXPECT_FALSE(c.Database->LoginPrompt());
    EXPECT_EQ(c.Database->SessionName(), "Default");
    EXPECT_EQ(c.Database->Params(), DesignedParams(development + c.ServerName));
    EXPECT_FALSE(c.Database->Connected());
    EXPECT_EQ(Session().FindDatabase(c.Name), c.Database);
  }
  ASSERT_NE(dmData->coConnection, nullptr);
  EXPECT_EQ(dmData->coConnection->Name(), "coConnection");
  EXPECT_EQ(dmData->ComponentCount(), 7);
}

TEST_F(QDataTest, TheImageListsAreEmptyWithTheirCellSizes) {
  struct TCase {
    TQCustomImageList* List;
    const char* ClassName;
    int Size;
    int First;
    int Last;
  };
  const TCase cases[] = {
      {dmData->im16x16, "TQ16x16ImageList", 16, 3000, 3088},
      {dmData->im20x20, "TQ20x20ImageList", 20, 2000, 2087},
      {dmData->im24x24, "TQ24x24ImageList", 24, 1000, 1087},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.ClassName);
    ASSERT_NE(c.List, nullptr);
    EXPECT_EQ(c.List->ClassName(), c.ClassName);
    EXPECT_EQ(c.List->Count(), 0);
    EXPECT_EQ(c.List->Width(), c.Size);
    EXPECT_EQ(c.List->Height(), c.Size);
    EXPECT_EQ(c.List->FirstResource(), c.First);
    EXPECT_EQ(c.List->LastResource(), c.Last);
    // Its loading step ran, which is what empties a list read from the stored form.
    EXPECT_FALSE(c.List->InState(csLoading));
  }
}

TEST_F(QDataTest, TheLoadersDatabaseNameReachesTheWorkingConnection) {
  TestDatabase fixture("CREATE TABLE t (k INTEGER NOT NULL PRIMARY KEY);INSERT INTO t VALUES (42)");
  dmData->dbDataBase->Params().Clear();
  dmData->dbDataBase->Params().Assign(fixture.Params());
  dmData->dbDataBase->Open();
  TQuery query(nullptr);
  query.SetDatabaseName("dbDatabase");
  query.SQL().Add("SELECT k FROM t");
  query.Open();
  EXPECT_EQ(query.Fields()[0].AsInteger(), 42);
}

TEST_F(QDataTest, TheCreationHandlerClosesTheWorkingAndAuxiliaryConnections) {
  TestDatabase fixture("CREATE TABLE t (k INTEGER)");
  for (TDatabase* database : {dmData->dbDataBase, dmData->dbAuxiliary, dmData->dbBlob}) {
    database->Params().Assign(fixture.Params());
    database->Open();
  }
  dmData->DataModuleCreate(dmData);
  EXPECT_FALSE(dmData->dbDataBase->Connected());
  EXPECT_FALSE(dmData->dbAuxiliary->Connected());
  EXPECT_TRUE(dmData->dbBlob->Connected());  // not touched
  dmData->DataModuleCreate(dmData);          // nothing open: nothing happens
  EXPECT_FALSE(dmData->dbDataBase->Connected());
}

TEST_F(QDataTest, AnEngineErrorWhileClosingTheWorkingConnectionIsIgnoredAndTheAuxiliaryOneStillCloses) {
  // The server refuses every commit of a transaction that sees a row of t, so closing a connection
  // that holds an uncommitted row fails.
  TestDatabase fixture("CREATE TABLE t (k INTEGER);CREATE EXCEPTION no_commit 'commits are refused here'");
  dmData->dbBlob->Params().Assign(fixture.Params());
  dmData->dbBlob->Open();
  TQuery query(nullptr);
  query.SetDatabaseName("dbBlob");
  query.SQL().Add(
      "CREATE TRIGGER refuse_commit ON TRANSACTION COMMIT AS BEGIN IF (EXISTS (SELECT 1 FROM t)) THEN "
      "EXCEPTION no_commit; END");
  query.ExecSQL();
  dmData->dbBlob->Close();

  dmData->dbDataBase->Params().Assign({"SERVER NAME=" + fixture.Path(), "USER NAME=SYSDBA",
                                       "PASSWORD=masterkey", "SQLPASSTHRU MODE=SHARED NOAUTOCOMMIT"});
  dmData->dbDataBase->Open();
  dmData->dbAuxiliary->Params().Assign(fixture.Params());
  dmData->dbAuxiliary->Open();
  query.SetDatabaseName("dbDatabase");
  query.SQL().SetText("INSERT INTO t VALUES (1)");
  query.ExecSQL();

  EXPECT_NO_THROW(dmData->DataModuleCreate(dmData));
  EXPECT_FALSE(dmData->dbDataBase->Connected());
  EXPECT_FALSE(dmData->dbAuxiliary->Connected());
}

TEST_F(QDataTest, FreeingTheModuleClearsTheGlobalReferenceAndTheSessionsNames) {
  delete dmData;
  EXPECT_EQ(dmData, nullptr);
  EXPECT_EQ(Session().FindDatabase("dbDataBase"), nullptr);
  EXPECT_EQ(Session().FindDatabase("dbBlob"), nullptr);
}

}  // namespace
