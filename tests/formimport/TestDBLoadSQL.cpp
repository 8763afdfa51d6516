#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formimport/DBLoadSQL.h"

namespace {

TFieldInfo Column(const std::string& name, bool key = false, bool isLong = false) {
  TFieldInfo field;
  field.ColumnName = name;
  field.IsKey = key;
  field.IsLong = isLong;
  return field;
}

std::vector<std::string> Lines(const TStringList& list) { return list.Lines(); }

}  // namespace

TEST(BuildTableStatements, RowQueryAndLongColumnQueriesOfASmallTable) {
  TFieldTable fields = {Column("K", true), Column("A"), Column("c", false, true), Column("B")};
  TStringList rowSQL;
  std::vector<TStringList> longSQL;
  BuildTableStatements("t", fields, 4, rowSQL, longSQL);
  EXPECT_EQ(Lines(rowSQL), (std::vector<std::string>{"SELECT k , a , b ", "FROM t WHERE", "k = :param0"}));
  ASSERT_EQ(longSQL.size(), 4u);
  EXPECT_EQ(longSQL[0].Count(), 0);
  EXPECT_EQ(Lines(longSQL[2]), (std::vector<std::string>{"SELECT c", "FROM t WHERE", "k = :param0"}));
  EXPECT_EQ(fields[0].ColumnName, "k") << "names are lower-cased for the rest of the table";
}

TEST(BuildTableStatements, TheTableNameStaysAsTheFileWritesIt) {
  TFieldTable fields = {Column("FORMID", true), Column("ITEMNO", true), Column("CAPTION")};
  TStringList rowSQL;
  std::vector<TStringList> longSQL;
  BuildTableStatements("AfItem", fields, 3, rowSQL, longSQL);
  EXPECT_EQ(Lines(rowSQL), (std::vector<std::string>{"SELECT formid , itemno , caption ", "FROM AfItem WHERE",
                                                     "formid = :param0 AND itemno = :param1"}));
}

TEST(BuildTableStatements, SelectListWrapsAfter64CharactersAndEndsWithItsBuffer) {
  const std::string name57(57, 'x');  // "SELECT " + 57 + " " = 65 characters: the line is full
  const struct {
    std::vector<std::string> Names;
    std::vector<std::string> SelectLines;
  } cases[] = {
      // The column that completes a line is the last: the select list ends with an empty line.
      {{name57}, {"SELECT " + name57 + " ", ""}},
      {{name57, "b"}, {"SELECT " + name57 + " ", ", b "}},
      // 64 characters exactly do not wrap.
      {{std::string(56, 'y')}, {"SELECT " + std::string(56, 'y') + " "}},
      {{"a", std::string(60, 'z'), "c"}, {"SELECT a , " + std::string(60, 'z') + " ", ", c "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Names.size());
    TFieldTable fields;
    for (const std::string& n : c.Names) fields.push_back(Column(n, fields.empty()));
    TStringList rowSQL;
    std::vector<TStringList> longSQL;
    BuildTableStatements("t", fields, static_cast<int>(fields.size()), rowSQL, longSQL);
    std::vector<std::string> expected = c.SelectLines;
    expected.push_back("FROM t WHERE");
    expected.push_back(c.Names[0] + " = :param0");
    EXPECT_EQ(Lines(rowSQL), expected);
  }
}

TEST(BuildTableStatements, OnlyTheColumnsInUseAreBuilt) {
  TFieldTable fields(513);
  fields[0] = Column("k", true);
  fields[1] = Column("a");
  fields[2] = Column("left_over_from_an_earlier_table", true);
  TStringList rowSQL;
  std::vector<TStringList> longSQL;
  BuildTableStatements("t", fields, 2, rowSQL, longSQL);
  EXPECT_EQ(Lines(rowSQL), (std::vector<std::string>{"SELECT k , a ", "FROM t WHERE", "k = :param0"}));
  EXPECT_EQ(longSQL.size(), 2u);
}

TEST(BuildTableStatements, ATableWithoutKeyGetsAnEmptyCondition) {
  TFieldTable fields = {Column("a"), Column("b")};
  TStringList rowSQL;
  std::vector<TStringList> longSQL;
  BuildTableStatements("t", fields, 2, rowSQL, longSQL);
  EXPECT_EQ(Lines(rowSQL), (std::vector<std::string>{"SELECT a , b ", "FROM t WHERE", ""}));
}

TEST(ChildDeleteSQL, WrapsTheKeyConditionAfter64Characters) {
  TFieldTable shortKey = {Column("formid", true), Column("name")};
  EXPECT_EQ(Lines(ChildDeleteSQL("afitem", shortKey, 2)),
            (std::vector<std::string>{"delete from afitem where ", "formid = :param0"}));

  TFieldTable longKey = {Column("a_rather_long_key_column_name", true),
                         Column("another_long_key_column", true), Column("third", true), Column("x")};
  // After the second term the buffer holds 77 characters and becomes a line; the third term starts
  // the next line with " AND ".
  EXPECT_EQ(Lines(ChildDeleteSQL("child", longKey, 4)),
            (std::vector<std::string>{
                "delete from child where ",
                "a_rather_long_key_column_name = :param0 AND another_long_key_column = :param1",
                " AND third = :param2"}));

  TFieldTable exact = {Column(std::string(57, 'k'), true)};  // 57 + " = :param0" = 67: wraps, then empty
  EXPECT_EQ(Lines(ChildDeleteSQL("c", exact, 1)),
            (std::vector<std::string>{"delete from c where ", std::string(57, 'k') + " = :param0", ""}));
}
