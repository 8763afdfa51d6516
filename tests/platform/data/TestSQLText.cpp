#include <gtest/gtest.h>

#include "platform/data/SQLText.h"
#include "platform/system/AnsiStrings.h"

namespace {

struct TParamCase {
  const char* Sql;
  const char* Text;
  std::vector<std::string> Names;
};

TEST(SQLTextTest, NamedParametersBecomePositionalOutsideLiteralsAndComments) {
  const TParamCase cases[] = {
      {"SELECT a FROM t WHERE k = :param0", "SELECT a FROM t WHERE k = ?", {"param0"}},
      {"k = :param0 AND j = :param1", "k = ? AND j = ?", {"param0", "param1"}},
      {" VALUES (:IconKey,:IconBlob)", " VALUES (?,?)", {"IconKey", "IconBlob"}},
      {"x = ':not' AND y = :yes", "x = ':not' AND y = ?", {"yes"}},
      {"x = \"a:b\" AND y = :y", "x = \"a:b\" AND y = ?", {"y"}},
      {"x = 'it''s :no' AND y = :y", "x = 'it''s :no' AND y = ?", {"y"}},
      {"x = \"say \"\":no\"\"\" AND y=:y", "x = \"say \"\":no\"\"\" AND y=?", {"y"}},
      {"-- :gone\r\nk = :k", "-- :gone\r\nk = ?", {"k"}},
      {"/* :gone */ k = :k /* :also */", "/* :gone */ k = ? /* :also */", {"k"}},
      {"a = :p AND b = :P", "a = ? AND b = ?", {"p", "P"}},
      {"time '12:30' and :t$1", "time '12:30' and ?", {"t$1"}},
      {"a::b : c", "a::b : c", {}},
      {"unclosed ':x", "unclosed ':x", {}},
      {"RDB$INDEX_NAME starts with \"RDB$PRIMARY\" )\r\n  RDB$RELATION_NAME = :TableName",
       "RDB$INDEX_NAME starts with \"RDB$PRIMARY\" )\r\n  RDB$RELATION_NAME = ?",
       {"TableName"}},
  };
  for (const TParamCase& c : cases) {
    SCOPED_TRACE(c.Sql);
    const TParsedSQL parsed = ParseSQLParams(c.Sql);
    EXPECT_EQ(parsed.Text, c.Text);
    EXPECT_EQ(parsed.Names, c.Names);
  }
}

struct TShapeCase {
  const char* Sql;
  bool Valid;
  const char* Table;
  const char* Alias;
};

TEST(SQLTextTest, SingleTableSelectsAreRecognised) {
  const TShapeCase cases[] = {
      {"SELECT k , a , b \r\nFROM t WHERE\r\nk = ?\r\n", true, "t", ""},
      {"select c from dictobservation where k = ?", true, "dictobservation", ""},
      {"SELECT * FROM t", true, "t", ""},
      {"SELECT x.a FROM t x WHERE x.k = 1", true, "t", "x"},
      {"SELECT a FROM t AS x ORDER BY a", true, "t", "x"},
      {"SELECT (SELECT 1 FROM u) AS one, a FROM t", true, "t", ""},
      {"SELECT 'FROM' , a FROM t", true, "t", ""},
      {"SELECT a FROM t, u", false, "", ""},
      {"SELECT a FROM t JOIN u ON t.k = u.k", false, "", ""},
      {"SELECT a FROM t LEFT JOIN u ON t.k = u.k", false, "", ""},
      {"SELECT a, COUNT(*) FROM t GROUP BY a", false, "", ""},
      {"SELECT DISTINCT a FROM t", false, "", ""},
      {"SELECT a FROM t UNION SELECT a FROM u", false, "", ""},
      {"SELECT a FROM (SELECT a FROM t)", false, "", ""},
      {"UPDATE t SET a = 1", false, "", ""},
      {"INSERT INTO t VALUES (1)", false, "", ""},
  };
  for (const TShapeCase& c : cases) {
    SCOPED_TRACE(c.Sql);
    const TSelectShape shape = ParseSelectShape(c.Sql);
    EXPECT_EQ(shape.Valid, c.Valid);
    if (!c.Valid) continue;
    EXPECT_EQ(shape.Table, c.Table);
    EXPECT_EQ(shape.Alias, c.Alias);
    const std::string sql = c.Sql;
    EXPECT_EQ(UpperCase(sql.substr(shape.FromOffset, 5)), "FROM ");
    EXPECT_EQ(sql.substr(shape.FromOffset + 5, shape.Table.size()), shape.Table);
    // A bare * select list is marked, since it admits no further column.
    EXPECT_EQ(shape.StarOffset, sql.rfind("SELECT * ", 0) == 0 ? 7u : std::string::npos);
  }
}

}  // namespace
