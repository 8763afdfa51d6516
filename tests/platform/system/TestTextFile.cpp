#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/Exceptions.h"
#include "platform/system/TextFile.h"
#include "tests/support/TempFolder.h"

namespace {

std::vector<std::string> ReadAllLines(const std::string& path) {
  TTextFile file;
  file.Open(path);
  std::vector<std::string> lines;
  while (!file.Eof()) lines.push_back(file.ReadLine());
  file.Close();
  return lines;
}

std::string OpenError(const std::string& path) {
  TTextFile file;
  try {
    file.Open(path);
  } catch (const EInOutError& e) {
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.FileName(), "");
    return e.Message() + " #" + std::to_string(e.ErrorCode);
  }
  return "opened";
}

}  // namespace

TEST(TextFile, LinesEndAtCarriageReturnsAndTheTextEndsAtCtrlZ) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"CR", "one\rtwo", {"one", "two"}},
      {"CR LF", "one\r\ntwo\r\n", {"one", "two"}},
      {"lone LF is a character", "one\ntwo\r\nx\n", {"one\ntwo", "x\n"}},
      {"LF CR", "a\n\rb", {"a\n", "b"}},
      {"empty lines", "a\r\r\n\rb", {"a", "", "", "b"}},
      {"empty file", "", {}},
      {"only a line end", "\r\n", {""}},
      {"Ctrl-Z ends the text", std::string("ab\x1a" "cd\r\nef", 9), {"ab"}},
      {"Ctrl-Z at a line start", std::string("a\r\n\x1a" "b\r\n", 6), {"a"}},
      {"Ctrl-Z first", std::string("\x1a" "abc", 4), {}},
      {"NUL is a character", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
      {"high bytes", "\xe9t\xe9\r\n\xff", {"\xe9t\xe9", "\xff"}},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadAllLines(folder.Write("case.txt", c.bytes)), c.lines);
  }
}

TEST(TextFile, LineFeedOfALineEndIsFoundInTheNextBlock) {
  // The CR is the last byte of the first block and its LF the first byte of the second.
  TempFolder folder;
  const std::string first(TTextFile::BufferSize - 1, 'x');
  const std::string longLine(3 * TTextFile::BufferSize + 17, 'y');
  const std::string path = folder.Write("blocks.txt", first + "\r\nsecond\r\n" + longLine + "\rlast");
  EXPECT_EQ(ReadAllLines(path), (std::vector<std::string>{first, "second", longLine, "last"}));
}

TEST(TextFile, ReadingPastTheEndYieldsEmptyLines) {
  TempFolder folder;
  TTextFile file;
  file.Open(folder.Write("a.txt", "only\r\n"));
  EXPECT_EQ(file.FileName(), folder.File("a.txt"));
  EXPECT_FALSE(file.Eof());
  EXPECT_EQ(file.ReadLine(), "only");
  EXPECT_TRUE(file.Eof());
  EXPECT_EQ(file.ReadLine(), "");
  EXPECT_TRUE(file.Eof());
}

TEST(TextFile, ReopeningStartsAgainAtTheBeginning) {
  TempFolder folder;
  const std::string a = folder.Write("a.txt", "a1\ra2\r");
  const std::string b = folder.Write("b.txt", "b1\r");
  TTextFile file;
  file.Open(a);
  EXPECT_EQ(file.ReadLine(), "a1");
  file.Open(b);
  EXPECT_EQ(file.ReadLine(), "b1");
  EXPECT_TRUE(file.Eof());
  file.Open(a);
  EXPECT_EQ(file.ReadLine(), "a1");
  EXPECT_EQ(file.ReadLine(), "a2");
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.FileName(), "");
}

TEST(TextFile, MovingHandsTheOpenFileOver) {
  TempFolder folder;
  TTextFile first;
  first.Open(folder.Write("a.txt", "1\r2\r"));
  EXPECT_EQ(first.ReadLine(), "1");
  TTextFile second(std::move(first));
  EXPECT_FALSE(first.IsOpen());
  EXPECT_EQ(second.ReadLine(), "2");
  TTextFile third;
  third = std::move(second);
  EXPECT_TRUE(third.IsOpen());
  EXPECT_TRUE(third.Eof());
}

TEST(TextFile, FailuresGiveTheSystemsTextAndErrorNumber) {
  TempFolder folder;
  EXPECT_EQ(OpenError(folder.File("missing.xml")), "File not found #2");
  EXPECT_EQ(OpenError(folder.Path()), "File access denied #21");

  // The kernel refuses to read this process's memory at address 0.
  TTextFile file;
  file.Open("/proc/self/mem");
  try {
    (void)file.ReadLine();
    FAIL() << "reading /proc/self/mem succeeded";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "Input/output error");
    EXPECT_EQ(e.ErrorCode, 5);
  }
}

TEST(TextFile, ReadingAClosedFileIsRefused) {
  TTextFile file;
  EXPECT_THROW((void)file.Eof(), EInOutError);
  EXPECT_THROW((void)file.ReadLine(), EInOutError);
  file.Close();  // closing a file that is not open does nothing
  EXPECT_FALSE(file.IsOpen());
}
