#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "iconloader/QUBaseFolder.h"
#include "platform/system/Paths.h"
#include "tests/support/TempFolder.h"

namespace {

// Sets an environment variable for one test and puts the old value back.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const std::optional<std::string>& value) : FName(name) {
    if (const char* old = getenv(name)) FOld = old;
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  ~TScopedEnv() {
    if (FOld)
      setenv(FName, FOld->c_str(), 1);
    else
      unsetenv(FName);
  }

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

// Points the loader at a program folder for one test.
class TScopedProgramFolder {
 public:
  explicit TScopedProgramFolder(const std::string& folder) { SetLoaderProgramFolder(folder); }
  ~TScopedProgramFolder() { SetLoaderProgramFolder(""); }
};

// The temporary folder comes from TMP first; the tests pin it so the expected texts are known.
class QUBaseFolderTest : public ::testing::Test {
 protected:
  TempFolder FTemp;
  TScopedEnv FTmp{"TMP", FTemp.Path()};
};

}  // namespace

TEST_F(QUBaseFolderTest, LoaderProgramFolderIsTheRunningProgramsUnlessSet) {
  EXPECT_EQ(LoaderProgramFolder(), ProgramFolder());
  {
    TScopedProgramFolder folder("/opt/qv/BIN/Loader");
    EXPECT_EQ(LoaderProgramFolder(), "/opt/qv/BIN/Loader/");
  }
  EXPECT_EQ(LoaderProgramFolder(), ProgramFolder());
}

TEST_F(QUBaseFolderTest, TempFolderEndsInADelimiter) { EXPECT_EQ(GetTempFolder(), FTemp.Path() + "/"); }

TEST_F(QUBaseFolderTest, TempFolderLongerThanTheFirstBufferIsGivenWhole) {
  const std::string longPath = FTemp.Path() + "/" + std::string(150, 'x');
  TScopedEnv tmp("TMP", longPath);
  EXPECT_EQ(GetTempFolder(), longPath + "/");
}

TEST_F(QUBaseFolderTest, BaseFolderCutsFromTheFirstBinOnAndKeepsTheLetters) {
  const std::string longTail = std::string(100, 'a');
  struct {
    std::string ProgramFolder;
    std::string Expected;
  } const cases[] = {
      {"/opt/Prog/Bin/", "/opt/Prog/"},
      {"/srv/Tools/Bin/Icons/", "/srv/Tools/"},
      {"/srv/Tools/bin/", "/srv/Tools/"},
      {"/opt/qv/BINARIES/x/", "/opt/qv/"},
      {"/x/bin/y/BIN/", "/x/"},
      {"/BIN/", "/"},
      // 99 characters from "/BIN" on go; the rest of a longer tail stays.
      {"/p/BIN/" + longTail + "/", "/paaaaaa/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ProgramFolder);
    TScopedProgramFolder folder(c.ProgramFolder);
    EXPECT_EQ(GetBaseFolder(), c.Expected);
  }
}

TEST_F(QUBaseFolderTest, BaseFolderWithoutBinIsTheTemporaryFolder) {
  for (const std::string programFolder : {"/home/ward/Tools/", "/opt/cabinet/", "/opt/qv/BI/"}) {
    SCOPED_TRACE(programFolder);
    TScopedProgramFolder folder(programFolder);
    EXPECT_EQ(GetBaseFolder(), FTemp.Path() + "/");
  }
}
