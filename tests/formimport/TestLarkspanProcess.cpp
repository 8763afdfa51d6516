// Larkspan run as the program it is, from a product folder laid out as the installation does.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/platform/system/ScopedEnv.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;

constexpr auto TimeLimit = std::chrono::seconds(90);

std::string ParamsSection(int index, const std::string& serverName) {
  return "[DB" + std::to_string(index) + ".PARAMS]\r\nSERVER NAME=" + serverName +
         "\r\nUSER NAME=SYSDBA\r\nPASSWORD=masterkey\r\nSQLPASSTHRU MODE=SHARED AUTOCOMMIT\r\n";
}

class LarkspanProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string built = BuildPath("bin/larkspan");
    ASSERT_TRUE(fs::exists(built)) << built << " is not there: build the larkspan target first";
    // The installed layout: the program and QV32.INI side by side in BIN.
    fs::create_directories(FRoot.File("Prod/BIN"));
    fs::copy_file(built, Program());
    FSchema = FileBytes(SourcePath("samples/schema.sql"));
    FSampleForm = SourcePath("samples/forms/diabetes-review.xml");
    ASSERT_FALSE(FSchema.empty());
    ASSERT_TRUE(fs::exists(FSampleForm));
  }

  std::string Program() const { return FRoot.File("Prod/BIN/larkspan"); }
  std::string ErrorFile() const { return FRoot.File("stderr.txt"); }
  void WriteIni(const std::string& text) { FRoot.Write("Prod/BIN/QV32.INI", text); }

  // Runs the program to its end and gives its exit status; a run that does not end fails the test.
  std::optional<int> Run(const std::vector<std::string>& arguments) {
    TChildProcess larkspan(Program(), arguments, ErrorFile());
    EXPECT_TRUE(larkspan.Started());
    const std::optional<int> status = larkspan.WaitFor(TimeLimit);
    EXPECT_TRUE(status.has_value()) << "larkspan did not end by itself";
    return status;
  }

  TempFolder FRoot;
  TScopedEnv FPlatform{"QT_QPA_PLATFORM", std::string("offscreen")};
  TScopedEnv FRegistry{"QV_REGISTRY_DIR", FRoot.File("registry")};
  TScopedEnv FWinStation{"WINSTATIONNAME", std::nullopt};
  TScopedEnv FClientName{"CLIENTNAME", std::nullopt};
  std::string FSchema;
  std::string FSampleForm;
};

}  // namespace

TEST_F(LarkspanProcessTest, TheSampleFormLandsInEveryDatabaseAndTheProgramEndsByItself) {
  TestDatabase first(FSchema);
  TestDatabase second(FSchema);
  WriteIni("[DBNAMES]\r\nDB0=First\r\nDB1=Second\r\n" + ParamsSection(0, first.Path()) +
           ParamsSection(1, second.Path()));

  const std::optional<int> status = Run({FSampleForm});
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0) << FileBytes(ErrorFile());

  for (const TestDatabase* db : {&first, &second}) {
    SCOPED_TRACE(db->Path());
    EXPECT_EQ(db->Rows("SELECT formid, formname, publishcode, billacholderid FROM advform"),
              (TestDatabase::TRows{{"9001", "Diabetes review & plan", "P", TestDatabase::Null}}));
    // Codes without an active screening row take their partner, or are cleared with their value.
    EXPECT_EQ(db->Rows("SELECT obscode, mapscncode, mapvalueno FROM dictobservation ORDER BY obscode"),
              (TestDatabase::TRows{{"BP_SYS", "HT", "1"},
                                   {"CHOL_T", "CHOL", "3"},
                                   {"OLD_OBS", TestDatabase::Null, TestDatabase::Null},
                                   {"WT_KG", "WE", "2"}}));
    EXPECT_EQ(db->Rows("SELECT formid, itemno, caption FROM afitem ORDER BY itemno"),
              (TestDatabase::TRows{{"9001", "1", "Blood pressure <systolic>"},
                                   {"9001", "2", "Weight"},
                                   {"9001", "3", "Foot check done"}}));
    EXPECT_EQ(db->Value("SELECT COUNT(*) FROM afcomboactions"), "2");
    EXPECT_EQ(db->Value("SELECT COUNT(*) FROM dictcombo"), "2");
    EXPECT_EQ(db->Value("SELECT COUNT(*) FROM conceptvaluemap"), "2");
    EXPECT_EQ(db->Rows("SELECT pickid, picktext FROM afpicklist ORDER BY pickid"),
              (TestDatabase::TRows{{"1", "Left foot"}, {"2", "Right foot"}}));
  }
}

TEST_F(LarkspanProcessTest, WithoutConfiguredDatabasesTheRunEndsAtOnce) {
  const std::optional<int> status = Run({FSampleForm});
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0) << FileBytes(ErrorFile());
}
