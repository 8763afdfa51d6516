#include <gtest/gtest.h>

#include "platform/system/AnsiStrings.h"
#include "platform/system/Exceptions.h"
#include "platform/system/StringList.h"

TEST(StringList, NamesAndValuesMatchKeysWithoutRegardToCase) {
  TStringList list{"SERVER NAME=host:/db.fdb", "password=x", "no equals sign", "EMPTY="};
  EXPECT_EQ(list.Values("server name"), "host:/db.fdb");
  EXPECT_EQ(list.Values("PASSWORD"), "x");
  EXPECT_EQ(list.Values("no equals sign"), "");
  EXPECT_EQ(list.IndexOfName("empty"), 3);
  EXPECT_EQ(list.Names(2), "");
  list.SetValue("Password", "y");
  EXPECT_EQ(list[1], "Password=y");
  list.SetValue("new", "v");
  EXPECT_EQ(list[4], "new=v");
}

TEST(StringList, TextJoinsWithCrLfAndSplitsEveryLineEnd) {
  TStringList list{"a", "", "b"};
  EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
  list.SetText("x\r\ny\rz\nw");
  EXPECT_EQ(list, (TStringList{"x", "y", "z", "w"}));
}

TEST(StringList, IndexOutsideTheListRaisesListError) {
  TStringList list{"a"};
  EXPECT_THROW((void)list[1], EListError);
  EXPECT_THROW(list.Delete(-1), EListError);
}

TEST(AnsiStrings, CasingTouchesAsciiLettersOnly) {
  EXPECT_EQ(UpperCase("ab\xe9z1"), "AB\xe9Z1");
  EXPECT_EQ(LowerCase("AB\xc9Z"), "ab\xc9z");
  EXPECT_TRUE(SameText("dbDatabase", "DBDATABASE"));
  EXPECT_FALSE(SameText("\xe9", "\xc9"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_EQ(Trim("\t  x y \r\n"), "x y");
}

TEST(AnsiStrings, StrToIntTakesOneOptionalSignAndBlanksAround) {
  const struct {
    const char* Text;
    int Value;
  } good[] = {{"12", 12}, {" 7 ", 7}, {"+3", 3}, {"-4", -4}, {"-2147483648", -2147483647 - 1}};
  for (const auto& c : good) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(StrToInt(c.Text), c.Value);
  }
  for (const char* text : {"", " ", "x", "1x", "+-5", "-+5", "++5", "+", "2147483648", "1 2"}) {
    SCOPED_TRACE(text);
    try {
      (void)StrToInt(text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}
