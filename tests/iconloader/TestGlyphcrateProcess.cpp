// Glyphcrate run as the program it is, from a product folder laid out as the installation does.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/iconloader/IconLoaderTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDatabase.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr auto TimeLimit = std::chrono::seconds(60);

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A started program; killed at the end of the test if it is still running.
class TChildProcess {
 public:
  TChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&FPid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) FPid = -1;
  }
  ~TChildProcess() {
    if (FPid > 0 && !FExitStatus) {
      kill(FPid, SIGKILL);
      int status = 0;
      waitpid(FPid, &status, 0);
    }
  }
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  bool Started() const { return FPid > 0; }

  // The exit status once the program has ended by itself within limit; nothing when it is still running.
  std::optional<int> WaitFor(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!FExitStatus) {
      int status = 0;
      const pid_t done = waitpid(FPid, &status, WNOHANG);
      if (done == FPid) {
        FExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        break;
      }
      if (std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return FExitStatus;
  }

 private:
  pid_t FPid = -1;
  std::optional<int> FExitStatus;
};

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

  // Unlike the in-process tests, TMP stays as it is: this process runs the database engine too, and an
  // engine that was given a temporary folder which the test then removes leaves the process unable to
  // finish cleanly (its leak check at exit crashed).
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

TEST_F(GlyphcrateProcessTest, AFolderThatDoesNotExistEndsTheRunWithNothingStored) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  TChildProcess glyphcrate(Program(), {FRoot.File("NoSuchFolder")});
  const std::optional<int> exitStatus = glyphcrate.WaitFor(TimeLimit);
  ASSERT_TRUE(exitStatus.has_value()) << "glyphcrate did not end by itself";
  EXPECT_EQ(*exitStatus, 0);
  EXPECT_TRUE(db.Rows(SelectIcons).empty());
}

TEST_F(GlyphcrateProcessTest, WithoutConfiguredDatabasesTheRunEndsAtOnce) {
  TChildProcess glyphcrate(Program(), {FSamples});
  const std::optional<int> exitStatus = glyphcrate.WaitFor(TimeLimit);
  ASSERT_TRUE(exitStatus.has_value()) << "glyphcrate did not end by itself";
  EXPECT_EQ(*exitStatus, 0);
}
