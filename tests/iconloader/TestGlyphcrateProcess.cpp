// Glyphcrate run as the program it is, from a product folder laid out as the installation does.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/iconloader/IconLoaderTestSupport.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;

constexpr auto TimeLimit = std::chrono::seconds(60);

class GlyphcrateProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string built = BuildPath("bin/glyphcrate");
    if (!fs::exists(built)) {
      GTEST_SKIP() << "the built program is not there (" << built << "): build the glyphcrate target first";
    }
    // The installed layout: the program one folder below BIN, which holds QV32.INI.
    fs::create_directories(FRoot.File("Prod/BIN/Loader"));
    fs::copy_file(built, Program());
    FSamples = SourcePath("samples/icons");
  }

  std::string Program() const { return FRoot.File("Prod/BIN/Loader/glyphcrate"); }
  void WriteIni(const std::vector<std::string>& names, const std::vector<std::string>& servers) {
    FRoot.Write("Prod/BIN/QV32.INI", Qv32IniText(names, servers));
  }
  // The rows the sample bitmaps give: each file under its key, byte for byte.
  TestDatabase::TRows SampleRows() const {
    return {{".Pending", FileBytes(FSamples + "/.Pending.bmp")},
            {"Cross", FileBytes(FSamples + "/Cross.bmp")},
            {"Tick", FileBytes(FSamples + "/Tick.bmp")},
            {"WARNING", FileBytes(FSamples + "/WARNING.BMP")}};
  }

  TempFolder FRoot;
  TScopedEnv FRegistry{"QV_REGISTRY_DIR", FRoot.File("registry")};
  TScopedEnv FPlatform{"QT_QPA_PLATFORM", std::string("offscreen")};
  TScopedEnv FWinStation{"WINSTATIONNAME", std::nullopt};
  TScopedEnv FClientName{"CLIENTNAME", std::nullopt};
  std::string FSamples;
};

}  // namespace

TEST_F(GlyphcrateProcessTest, AFolderArgumentLoadsEveryDatabaseAndTheProgramEndsByItself) {
  TestDatabase first(IconSchema);
  TestDatabase second(IconSchema);
  WriteIni({"First", "Second"}, {first.Path(), second.Path()});

  TChildProcess glyphcrate(Program(), {FSamples});
  ASSERT_TRUE(glyphcrate.Started());
  const std::optional<int> exitStatus = glyphcrate.WaitFor(TimeLimit);
  ASSERT_TRUE(exitStatus.has_value()) << "glyphcrate did not end by itself";
  EXPECT_EQ(*exitStatus, 0);

  EXPECT_EQ(first.Rows(SelectIcons), SampleRows());
  EXPECT_EQ(second.Rows(SelectIcons), SampleRows());
}

TEST_F(GlyphcrateProcessTest, AFolderLoadedAgainStoresNothingNewSaysSoForEachDatabaseAndGives0) {
  TestDatabase first(IconSchema);
  TestDatabase second(IconSchema);
  WriteIni({"First", "Second"}, {first.Path(), second.Path()});
  for (const int run : {1, 2}) {
    SCOPED_TRACE(run);
    TChildProcess glyphcrate(Program(), {FSamples}, FRoot.File("output.txt"));
    const std::optional<int> exitStatus = glyphcrate.WaitFor(TimeLimit);
    ASSERT_TRUE(exitStatus.has_value()) << "glyphcrate did not end by itself";
    EXPECT_EQ(*exitStatus, 0);
    const std::string written = FileBytes(FRoot.File("output.txt"));
    EXPECT_EQ(written.find("glyphcrate: DB0 \"First\": 4 of 4 icons not stored, their key exists\n") !=
                  std::string::npos,
              run == 2)
        << written;
    EXPECT_EQ(written.find("glyphcrate: DB1 \"Second\": 4 of 4 icons not stored, their key exists\n") !=
                  std::string::npos,
              run == 2)
        << written;
  }
  EXPECT_EQ(first.Rows(SelectIcons), SampleRows());
  EXPECT_EQ(second.Rows(SelectIcons), SampleRows());
}

TEST_F(GlyphcrateProcessTest, AFolderThatDoesNotExistEndsTheRunWithNothingStoredSaysSoAndGives3) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  const std::string folder = FRoot.File("NoSuchFolder");
  TChildProcess glyphcrate(Program(), {folder}, FRoot.File("output.txt"));
  const std::optional<int> exitStatus = glyphcrate.WaitFor(TimeLimit);
  ASSERT_TRUE(exitStatus.has_value()) << "glyphcrate did not end by itself";
  EXPECT_EQ(*exitStatus, 3);
  const std::string written = FileBytes(FRoot.File("output.txt"));
  EXPECT_NE(written.find("glyphcrate: DB0 \"Main\" skipped: folder \"" + folder + "\" not found\n"),
            std::string::npos)
      << written;
  EXPECT_TRUE(db.Rows(SelectIcons).empty());
}

TEST_F(GlyphcrateProcessTest, WithoutConfiguredDatabasesTheRunEndsAtOnceSaysWhereItLookedAndGives3) {
  TChildProcess glyphcrate(Program(), {FSamples}, FRoot.File("output.txt"));
  const std::optional<int> exitStatus = glyphcrate.WaitFor(TimeLimit);
  ASSERT_TRUE(exitStatus.has_value()) << "glyphcrate did not end by itself";
  EXPECT_EQ(*exitStatus, 3);
  const std::string written = FileBytes(FRoot.File("output.txt"));
  EXPECT_NE(written.find("glyphcrate: no database list: no QV32.INI in " + FRoot.File("Prod/BIN/Loader/") +
                         " or " + FRoot.File("Prod/BIN/") + "\n"),
            std::string::npos)
      << written;
}

TEST_F(GlyphcrateProcessTest, WithNoScreenEachEndingWritesWhatItShowedAndGivesItsStatus) {
  TestDatabase db(IconSchema);
  const std::string unreachable = FRoot.File("NoSuchFolder/MAIN.FDB");
  WriteIni({"Missing", "Main"}, {unreachable, db.Path()});
  struct {
    const char* Name;
    std::vector<std::string> Arguments;
    int Status;
    std::string Written;
  } const cases[] = {
      {"a database that cannot be opened",
       {FSamples},
       1,
       "glyphcrate: Error box, caption \"Error\":\n  Cannot Connect to the Database. \n  SERVER NAME=" +
           unreachable + "\n\n  Please ensure: \n"},
      {"no folder",
       {},
       2,
       "glyphcrate: no display to show the window on: give the folder of bitmaps as the argument (glyphcrate "
       "FOLDER) to load it into every database unattended\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TChildProcess glyphcrate(Program(), c.Arguments, FRoot.File("output.txt"));
    const std::optional<int> exitStatus = glyphcrate.WaitFor(TimeLimit);
    ASSERT_TRUE(exitStatus.has_value()) << "glyphcrate did not end by itself";
    EXPECT_EQ(*exitStatus, c.Status);
    const std::string written = FileBytes(FRoot.File("output.txt"));
    EXPECT_NE(written.find(c.Written), std::string::npos) << written;
  }
  // The database after the one that failed is loaded all the same.
  EXPECT_EQ(db.Rows(SelectIcons), SampleRows());
}

TEST_F(GlyphcrateProcessTest, SigtermEndsALoadInTheMiddleOfALargeBitmapBeforeItsBlobIsStored) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  // One file of 96 MiB: read for a fraction of a second, then written into its blob for seconds. The
  // engine's cache of changed pages, written out as the program ends, is a sixth of it.
  constexpr std::uintmax_t Size = 96 << 20;
  const std::string bitmap = FRoot.Write("Large/Large.bmp", std::string(Size, 'B'));
  const std::uintmax_t sizeBefore = fs::file_size(db.Path());
  struct {
    const char* Name;
    bool Written;  // the signal comes once the blob's pages reach the database, not once the file is open
  } const cases[] = {{"while the file is read", false}, {"while its blob is written", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TChildProcess glyphcrate(Program(), {FRoot.File("Large")}, FRoot.File("output.txt"));
    ASSERT_TRUE(glyphcrate.WaitUntilHolding(bitmap, true, TimeLimit)) << FileBytes(FRoot.File("output.txt"));
    const auto deadline = std::chrono::steady_clock::now() + TimeLimit;
    while (c.Written && fs::file_size(db.Path()) < sizeBefore + Size / 10 &&
           !glyphcrate.WaitFor(std::chrono::milliseconds(2)) && std::chrono::steady_clock::now() < deadline) {
    }
    const std::uintmax_t sizeAtSignal = fs::file_size(db.Path());
    glyphcrate.Signal(SIGTERM);
    EXPECT_EQ(glyphcrate.WaitFor(TimeLimit), 143);
    // The ending itself takes as long as the engine needs to write out its cache, which depends on the
    // disk; that the rest of the blob was never written shows that the signal was acted on at once.
    EXPECT_LT(fs::file_size(db.Path()), sizeAtSignal + Size / 3)
        << "the blob was written on after the signal";
  }
  EXPECT_TRUE(db.Rows(SelectIcons).empty());
}
