#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/system/ProfileFiles.h"
#include "tests/support/TempFolder.h"

namespace {

const char* const Sample =
    "key0=before any section\r\n"
    "[section1]\r\n"
    "name1=val1\r\n"
    "NaMe2 = \t value two \t\r\n"
    "; name3=commented\r\n"
    "  ;name4=also commented\r\n"
    "name5=v ;x\r\n"
    "#name6=hash is data\r\n"
    "name1=second duplicate\r\n"
    "novalue\r\n"
    "empty=\r\n"
    "q1=  \"  v  \"  \r\n"
    "q2='single'\r\n"
    "q3='mismatched\"\r\n"
    "q4=\"\"x\"\"\r\n"
    "q5=\"\r\n"
    "q6=''\r\n"
    "a=b=c\r\n"
    "  [ Section2 ]  trailing text\r\n"
    "k=in section two\n"
    "[section1]\n"
    "late=not searched\n"
    "[open\n"
    "k=in an unclosed header\r"
    "[ empty ]\n";

struct TResult {
  DWORD Return;
  std::string Buffer;  // up to the first NUL
};

}  // namespace

class ProfileFiles : public ::testing::Test {
 protected:
  void SetUp() override { FFile = FFolder.Write("test.ini", Sample); }

  TResult Get(const char* section, const char* key, const char* def, DWORD size = 256) {
    char buffer[512];
    std::memset(buffer, 'X', sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';
    const DWORD n = GetPrivateProfileStringA(section, key, def, buffer, size, FFile.c_str());
    return {n, std::string(buffer)};
  }
  std::string List(const char* section, DWORD size, DWORD& result) {
    char buffer[512];
    std::memset(buffer, 'X', sizeof buffer);
    result = GetPrivateProfileStringA(section, nullptr, "", buffer, size, FFile.c_str());
    return std::string(buffer, size);
  }

  TempFolder FFolder;
  std::string FFile;
};

TEST_F(ProfileFiles, ValuesAsTheReferenceReaderGivesThem) {
  const struct {
    const char* Section;
    const char* Key;
    const char* Default;
    std::string Expected;
  } cases[] = {
      {"section1", "name1", "def", "val1"},             // first duplicate wins
      {"SECTION1", "NAME1", "def", "val1"},             // names without regard to case
      {"  section1  ", "  name1  ", "def", "val1"},     // caller's outer spaces dropped
      {"section1", "name2", "def", "value two"},        // blanks and tabs trimmed
      {"section1", "name3", "def", "def"},              // comment line
      {"section1", "name4", "def", "def"},              // indented comment line
      {"section1", "name5", "def", "v ;x"},             // no end-of-line comments
      {"section1", "#name6", "def", "hash is data"},    // '#' is no comment
      {"section1", "novalue", "def", "def"},            // a line without '='
      {"section1", "empty", "def", ""},                 // present but empty: not the default
      {"section1", "q1", "def", "  v  "},               // one outer pair, inner blanks kept
      {"section1", "q2", "def", "single"},              //
      {"section1", "q3", "def", "'mismatched\""},       // mismatched quotes stay
      {"section1", "q4", "def", "\"x\""},               // only the outermost pair goes
      {"section1", "q5", "def", "\""},                  // a lone quote is too short to be a pair
      {"section1", "q6", "def", ""},                    //
      {"section1", "a", "def", "b=c"},                  // split at the first '='
      {"section1", "late", "def", "def"},               // second section of that name is not searched
      {"section2", "k", "def", "in section two"},       // [ Section2 ] with blanks and trailing text
      {"open", "k", "def", "in an unclosed header"},    // header with no ']' and a CR line end
      {"section1", "key0", "def", "def"},               // before the first section
      {"nosuch", "name1", "def", "def"},                //
      {"section1", "", "def", "def"},                   // empty key name
      {"section1", "\tname1", "def", "def"},            // tabs in the caller's names are kept
      {"section1", "missing", "one two  ", "one two"},  // default loses trailing spaces only ...
      {"section1", "missing", "  lead", "  lead"},      // ... and keeps leading ones
      {"section1", "missing", nullptr, ""},             // no default means ""
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Section) + " / " + c.Key);
    const TResult r = Get(c.Section, c.Key, c.Default);
    EXPECT_EQ(r.Buffer, c.Expected);
    EXPECT_EQ(r.Return, c.Expected.size());
  }
}

TEST_F(ProfileFiles, BufferTruncation) {
  const struct {
    DWORD Size;
    DWORD Return;
    const char* Buffer;
  } cases[] = {{5, 4, "val1"}, {4, 3, "val"}, {2, 1, "v"}, {1, 0, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Size);
    const TResult r = Get("section1", "name1", "", c.Size);
    EXPECT_EQ(r.Return, c.Return);
    EXPECT_EQ(r.Buffer, c.Buffer);
    EXPECT_EQ(GetLastError(), c.Size < 5 ? static_cast<DWORD>(ERROR_MORE_DATA) : 0u);
  }
  char untouched[4] = {'a', 'b', 'c', '\0'};
  EXPECT_EQ(GetPrivateProfileStringA("section1", "name1", "", untouched, 0, FFile.c_str()), 0u);
  EXPECT_STREQ(untouched, "abc");
  // The default is cut by the same rule.
  EXPECT_EQ(Get("section1", "missing", "default", 4).Buffer, "def");
}

TEST_F(ProfileFiles, KeyListOfASection) {
  FFile = FFolder.Write("keys.ini", "[s]\nname1=a\nname2=b\n;c=x\nbare\nname4=\n[t]\n");
  DWORD n = 0;
  EXPECT_EQ(List("s", 32, n).substr(0, 19), std::string("name1\0name2\0name4\0\0", 19));
  EXPECT_EQ(n, 18u);
  EXPECT_EQ(List("s", 19, n).substr(0, 19), std::string("name1\0name2\0name4\0\0", 19));
  EXPECT_EQ(n, 18u);
  EXPECT_EQ(List("s", 16, n), std::string("name1\0name2\0na\0\0", 16));
  EXPECT_EQ(n, 14u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(List("s", 1, n), std::string("\0", 1));
  EXPECT_EQ(n, 0u);
  // A section without keys, or none at all, gives the default as one string.
  char buffer[32];
  EXPECT_EQ(GetPrivateProfileStringA("t", nullptr, "dflt", buffer, sizeof buffer, FFile.c_str()), 4u);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(GetPrivateProfileStringA("none", nullptr, "", buffer, sizeof buffer, FFile.c_str()), 0u);
  EXPECT_STREQ(buffer, "");
}

TEST_F(ProfileFiles, DuplicateKeysAreListedEveryTime) {
  FFile = FFolder.Write("dup.ini", "[s]\nk=1\nK=2\n");
  DWORD n = 0;
  EXPECT_EQ(List("s", 8, n).substr(0, 5), std::string("k\0K\0\0", 5));
  EXPECT_EQ(n, 4u);
}

TEST_F(ProfileFiles, SectionList) {
  FFile = FFolder.Write("sections.ini", "[section1]\na=1\n[section2]\n[section1]\n");
  DWORD n = 0;
  EXPECT_EQ(List(nullptr, 64, n).substr(0, 28), std::string("section1\0section2\0section1\0\0", 28));
  EXPECT_EQ(n, 27u);
  EXPECT_EQ(List(nullptr, 16, n), std::string("section1\0secti\0\0", 16));
  EXPECT_EQ(n, 14u);
}

TEST_F(ProfileFiles, AByteOrderMarkAtTheStartIsSkippedAndNowhereElse) {
  FFile = FFolder.Write("bom.ini", "\xEF\xBB\xBF[DBNAMES]\r\nDB0=Main\r\n\xEF\xBB\xBF[later]\r\nk=v\r\n");
  EXPECT_EQ(Get("DBNAMES", "DB0", "").Buffer, "Main");
  // Further on, the mark is the text of a line: that line is no section header.
  EXPECT_EQ(Get("DBNAMES", "k", "").Buffer, "v");
  DWORD n = 0;
  EXPECT_EQ(List(nullptr, 16, n).substr(0, 9), std::string("DBNAMES\0\0", 9));
}

TEST_F(ProfileFiles, MissingFile) {
  const std::string missing = FFolder.File("nosuch.ini");
  char buffer[32];
  std::memset(buffer, 'X', sizeof buffer);
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "fallback  ", buffer, sizeof buffer, missing.c_str()), 8u);
  EXPECT_STREQ(buffer, "fallback");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  std::memset(buffer, 'X', sizeof buffer);
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "x", buffer, sizeof buffer, missing.c_str()), 0u);
  EXPECT_EQ(buffer[0], '\0');
  // A folder is no profile file.
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buffer, sizeof buffer, FFolder.Path().c_str()), 1u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  // A successful read clears the last error.
  EXPECT_EQ(Get("section1", "name1", "").Buffer, "val1");
  EXPECT_EQ(GetLastError(), 0u);
}
