#include <gtest/gtest.h>

#include <string>

#include "iconloader/QUBaseFolder.h"
#include "platform/system/Paths.h"
#include "tests/iconloader/IconLoaderTestSupport.h"

namespace {

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
