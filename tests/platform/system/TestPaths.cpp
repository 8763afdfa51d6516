#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/system/Paths.h"
#include "tests/support/TempFolder.h"

TEST(Paths, ExtractFilePathKeepsTheLastDelimiter) {
  const struct {
    const char* Path;
    const char* Folder;
    const char* Name;
  } cases[] = {{"/opt/qv/BIN/larkspan", "/opt/qv/BIN/", "larkspan"},
               {"/opt/qv/BIN/", "/opt/qv/BIN/", ""},
               {"larkspan", "", "larkspan"},
               {"/larkspan", "/", "larkspan"},
               {"", "", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Path);
    EXPECT_EQ(ExtractFilePath(c.Path), c.Folder);
    EXPECT_EQ(ExtractFileName(c.Path), c.Name);
  }
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "");
}

TEST(Paths, FileExistsIsTrueForFilesOnly) {
  TempFolder folder;
  const std::string file = folder.Write("form.xml", "<x/>");
  std::filesystem::create_directory(folder.File("dir"));
  std::filesystem::create_symlink(file, folder.File("link.xml"));
  std::filesystem::create_symlink(folder.File("gone"), folder.File("dangling"));
  const struct {
    std::string Path;
    bool File;
    bool Dir;
  } cases[] = {{file, true, false},
               {folder.File("link.xml"), true, false},
               {folder.File("dangling"), false, false},
               {folder.File("dir"), false, true},
               {folder.File("dir/"), false, true},
               {folder.File("missing"), false, false},
               {"", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Path);
    EXPECT_EQ(FileExists(c.Path), c.File);
    EXPECT_EQ(DirectoryExists(c.Path), c.Dir);
  }
}

TEST(Paths, ProgramFolderIsTheFolderOfTheRunningProgram) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), PathDelim);
  EXPECT_EQ(folder, std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/");
  EXPECT_TRUE(FileExists(ProgramFileName()));
}

TEST(Paths, FindNameIgnoringCase) {
  TempFolder folder;
  folder.Write("qv32.ini", "");
  std::filesystem::create_directory(folder.File("Bin"));
  folder.Write("Both.txt", "");
  folder.Write("both.TXT", "");
  folder.Write("BOTH.txt", "");
  folder.Write("exact.TXT", "");
  folder.Write("EXACT.txt", "");
  const struct {
    const char* Name;
    const char* Found;
  } cases[] = {{"QV32.INI", "qv32.ini"},    // the one entry that matches
               {"BIN", "Bin"},              // folders too
               {"exact.TXT", "exact.TXT"},  // an exact entry wins over other spellings
               {"both.txt", "BOTH.txt"},    // several: first in byte order, capitals first
               {"MISSING", "MISSING"},      // none: the name as given
               {"", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(FindNameIgnoringCase(folder.Path(), c.Name), c.Found);
    EXPECT_EQ(FindNameIgnoringCase(folder.Path() + "/", c.Name), c.Found);
  }
  EXPECT_EQ(FindNameIgnoringCase(folder.File("nosuchdir"), "X"), "X");
}

TEST(Paths, FindPathIgnoringCaseResolvesEachPart) {
  TempFolder folder;
  folder.Write("Prog/bin/qv32.ini", "");
  EXPECT_EQ(FindPathIgnoringCase(folder.Path() + "/PROG/BIN/QV32.INI"), folder.Path() + "/Prog/bin/qv32.ini");
  EXPECT_EQ(FindPathIgnoringCase(folder.Path() + "/PROG/BIN/"), folder.Path() + "/Prog/bin/");
  // Past a part that is not there, the rest stays as written.
  EXPECT_EQ(FindPathIgnoringCase(folder.Path() + "/PROG/NONE/QV32.INI"),
            folder.Path() + "/Prog/NONE/QV32.INI");
}
