#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/system/Exceptions.h"
#include "platform/system/FileRead.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnreadableFile.h"

namespace {

// The message and error number with which opening path fails; "opened" when it opens.
std::string OpenError(const std::string& path) {
  TFileReader file;
  try {
    file.Open(path);
  } catch (const EInOutError& e) {
    EXPECT_FALSE(file.IsOpen());
    return e.Message() + " #" + std::to_string(e.ErrorCode);
  }
  return "opened";
}

}  // namespace

TEST(FileRead, AFileThatCannotBeOpenedGivesTheShortText) {
  TempFolder folder;
  const std::string plain = folder.Write("plain.txt", "x");
  struct Case {
    const char* name;
    std::string path;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"missing file", folder.File("missing.xml"), "File not found #2"},
      {"missing folder", folder.File("gone/a.xml"), "File not found #2"},
      {"a file taken for a folder", plain + "/a.xml", "Path not found #20"},
      {"a folder", folder.Path(), "File access denied #21"},
      {"empty name", "", "File not found #2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(OpenError(c.path), c.error);
  }
}

TEST(FileRead, AFileNoUserMayReadGivesFileAccessDenied) {
  const std::string unreadable = UnreadableFile();
  if (unreadable.empty()) GTEST_SKIP() << NoUnreadableFile;
  EXPECT_EQ(OpenError(unreadable), "File access denied #13");
}

TEST(FileRead, ReadingAClosedFileGivesFileNotOpen) {
  TFileReader file;
  std::string buffer;
  try {
    file.ReadInto(buffer);
    FAIL() << "a closed file was read";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "File not open");
    EXPECT_EQ(e.ErrorCode, EBADF);
  }
}

TEST(FileRead, TheWholeFileIsReadByteForByte) {
  // Around the size from which the block is taken in huge pages.
  constexpr size_t HugePage = 2 << 20;
  TempFolder folder;
  std::string buffer =
      std::string(HugePage + 10, '?');  // one buffer for every file, as a folder load uses it
  // And a file of several of the pieces a large file is read in.
  for (const size_t size : {size_t{0}, size_t{1}, HugePage - 1, HugePage, HugePage + 3, 5 * HugePage + 7}) {
    SCOPED_TRACE(size);
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 % 251);
    if (size > 0) bytes[size / 2] = '\x1a';  // a Ctrl-Z is a byte like any other here
    const std::string path = folder.Write("file.bin", bytes);

    TFileReader file;
    file.Open(path);
    size_t read = 12345;
    TTextBlock block = file.ReadBlock(read);
    ASSERT_EQ(read, size);
    EXPECT_EQ(std::string(block.get(), read), bytes);
    file.Close();
    EXPECT_FALSE(file.IsOpen());

    file.Open(path);
    file.ReadInto(buffer);
    EXPECT_EQ(buffer, bytes);
  }
}
