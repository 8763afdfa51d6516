#include <gtest/gtest.h>

#include "platform/components/FormReader.h"
#include "platform/data/DataClasses.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "tests/support/TestDatabase.h"

namespace {

// A form's connection and insert query as a stored form gives them; Connected comes before the
// parameter list, so the connection may open only once the list has been read.
std::string Resource(const std::string& serverName) {
  return "object Holder: TComponent\n"
         "  object quBlob: TQuery\n"
         "    DatabaseName = 'dbDatabase'\n"
         "    SQL.Strings = (\n"
         "      'INSERT INTO QVICONS'\n"
         "      '(ICONKEY, IconBLOB)'\n"
         "      ' VALUES (:IconKey,:IconBlob)')\n"
         "  end\n"
         "  object dbDatabase: TDatabase\n"
         "    Connected = True\n"
         "    DatabaseName = 'dbDatabase'\n"
         "    DriverName = 'INTRBASE'\n"
         "    LoginPrompt = False\n"
         "    Params.Strings = (\n"
         "      'SERVER NAME=" +
         serverName +
         "'\n"
         "      'USER NAME=SYSDBA'\n"
         "      'PASSWORD=tinplover'\n"
         "      'SQLPASSTHRU MODE=SHARED NOAUTOCOMMIT'\n"
         "      ' ')\n"
         "    SessionName = 'Default'\n"
         "  end\n"
         "end\n";
}

TEST(DataClassesTest, AStoredFormMakesAConnectionAndAQueryThatWork) {
  TestDatabase fixture("CREATE TABLE QVICONS (ICONKEY VARCHAR(15) NOT NULL PRIMARY KEY, ICONBLOB BLOB)");
  RegisterDataClasses();
  TComponent holder(nullptr);
  holder.SetName("Holder");
  ReadComponentResource(&holder, Resource(fixture.Path()).c_str());

  auto* database = dynamic_cast<TDatabase*>(holder.FindComponent("dbDatabase"));
  auto* query = dynamic_cast<TQuery*>(holder.FindComponent("quBlob"));
  ASSERT_NE(database, nullptr);
  ASSERT_NE(query, nullptr);
  EXPECT_TRUE(database->Connected());
  EXPECT_FALSE(database->LoginPrompt());
  EXPECT_EQ(database->Params().Count(), 5);
  EXPECT_EQ(query->SQL().Text(),
            "INSERT INTO QVICONS\r\n(ICONKEY, IconBLOB)\r\n VALUES (:IconKey,:IconBlob)\r\n");
  ASSERT_EQ(query->ParamCount(), 2);

  query->ParamByName("ICONKEY").SetAsString("pic");
  query->ParamByName("ICONBLOB").SetAsBlob(std::string("BM\0\x01\xFF", 5));
  query->ExecSQL();
  database->Close();
  EXPECT_EQ(fixture.Rows("SELECT ICONKEY, ICONBLOB FROM QVICONS"),
            (TestDatabase::TRows{{"pic", std::string("BM\0\x01\xFF", 5)}}));
}

}  // namespace
