#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formimport/DBLoadFields.h"
#include "platform/data/Query.h"
#include "tests/formimport/TestDBLoadSupport.h"
#include "tests/support/RecordingDialogService.h"

using namespace std::string_literals;

namespace {

// One column record as a line: name type length flags default.
std::string Describe(const TFieldInfo& f) {
  std::string flags;
  flags += f.NotNull ? 'N' : '-';
  flags += f.IsKey ? 'K' : '-';
  flags += f.IsLong ? 'L' : '-';
  flags += f.Overwrite ? 'O' : '-';
  return f.ColumnName + " " + std::to_string(f.FieldType) + " " + std::to_string(f.FieldLength) + " " +
         flags + " [" + f.DefaultValue + "]" + (f.TextValue.empty() ? "" : " text") +
         (f.FieldScale ? " scale " + std::to_string(f.FieldScale) : "");
}

std::vector<std::string> Read(TLoaderDatabase& db, const std::string& table, TFieldTable& fields) {
  db.Connection().StartTransaction();
  const int n = ReadTableFields(table, fields);
  db.Connection().Commit();
  std::vector<std::string> lines;
  for (int i = 0; i < n; ++i) lines.push_back(Describe(fields[i]));
  return lines;
}

}  // namespace

TEST(ReadTableFields, TheMetadataQueryIsSentLineForLine) {
  const struct {
    std::string Line;
    size_t Length;
  } expected[] = {
      {"SELECT", 6},
      {"  RDB$RELATION_FIELDS.RDB$FIELD_NAME , ", 39},
      {"  RDB$RELATION_FIELDS.RDB$FIELD_POSITION, ", 42},
      {"  RDB$FIELDS.RDB$FIELD_TYPE , ", 30},
      {"  RDB$FIELDS.RDB$FIELD_LENGTH , ", 32},
      {"  RDB$RELATION_FIELDS.RDB$NULL_FLAG,", 36},
      {"  RDB$INDEX_SEGMENTS.RDB$FIELD_POSITION PRIMARYKEY,", 51},
      {"  RDB$FIELDS.RDB$FIELD_SCALE", 28},
      {"FROM (( ", 8},
      {"  RDB$RELATION_FIELDS ", 22},
      {"left join RDB$FIELDS on", 23},
      {"  RDB$FIELDS.RDB$FIELD_NAME  = RDB$RELATION_FIELDS.RDB$FIELD_SOURCE ) ", 70},
      {"left join  RDB$INDICES on ", 26},
      {"  RDB$INDICES.RDB$RELATION_NAME = RDB$RELATION_FIELDS.RDB$RELATION_NAME and", 75},
      {"  RDB$INDICES.RDB$INDEX_NAME starts with \"RDB$PRIMARY\" )", 56},
      {"left join RDB$INDEX_SEGMENTS on ", 32},
      {"  RDB$INDEX_SEGMENTS.RDB$INDEX_NAME = RDB$INDICES.RDB$INDEX_NAME and ", 69},
      {"  RDB$INDEX_SEGMENTS.RDB$FIELD_NAME = RDB$RELATION_FIELDS.RDB$FIELD_NAME", 72},
      {"WHERE\t", 6},
      {"  RDB$RELATION_FIELDS.RDB$RELATION_NAME = :TableName", 52},
      {"  and RDB$FIELDS.RDB$COMPUTED_BLR is null", 41},
      {"ORDER BY ", 9},
      {"  RDB$RELATION_FIELDS.RDB$FIELD_POSITION", 40},
  };
  const TStringList& sql = TableFieldsSQL();
  ASSERT_EQ(sql.Count(), 23);
  for (int i = 0; i < 23; ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(sql[i], expected[i].Line);
    EXPECT_EQ(sql[i].size(), expected[i].Length);
  }
}

TEST(ReadTableFields, TheMetadataQueryRunsAsWrittenInDialect1) {
  TLoaderDatabase db(
      "CREATE TABLE t (k INTEGER NOT NULL PRIMARY KEY, a VARCHAR(20) NOT NULL, b INTEGER, "
      "c BLOB SUB_TYPE 0, d BLOB SUB_TYPE 1);");
  TQuery query(nullptr);
  query.SetDatabaseName("dbDatabase");
  query.SetSQL(TableFieldsSQL());
  query.ParamByName("TableName").SetAsString("T");
  query.Open();
  query.First();
  std::vector<std::string> rows;
  for (; !query.Eof(); query.Next()) {
    std::string row = query.Fields()[0].AsString() + "|";
    for (int i = 2; i < 6; ++i)
      row += (query.Fields()[i].IsNull() ? "null" : query.Fields()[i].AsString()) + "|";
    rows.push_back(row);
  }
  const std::string pad(30, ' ');
  EXPECT_EQ(rows, (std::vector<std::string>{"K" + pad + "|8|4|1|0|", "A" + pad + "|37|20|1|null|",
                                            "B" + pad + "|8|4|null|null|", "C" + pad + "|261|8|null|null|",
                                            "D" + pad + "|261|8|null|null|"}));
}

TEST(ReadTableFields, ReadsEveryColumnOfTheSampleFormTableInPositionOrder) {
  TLoaderDatabase db;
  TRecordingDialogService dialogs;
  TFieldTable fields(FieldTableSize);
  fields[0].TextValue = "left over";
  EXPECT_EQ(Read(db, "advform", fields), (std::vector<std::string>{
                                             "FORMID 8 4 NK-O [0]",
                                             "FORMNAME 37 60 N--O [N/A]",
                                             "PUBLISHCODE 14 1 ---O [N]",
                                             "FORMVERSION 7 2 N--O [0]",
                                             "STATUS 14 2 N--O [N]",
                                             "CATEGORY 37 30 ---O [N/A]",
                                             "PUBLISHDATE 35 8 ---O [1-1-1900]",
                                             "REVIEWDATE 35 8 N--O [1-1-1900]",
                                             "SCOREFACTOR 27 8 ---O [0.00]",
                                             "BILLACHOLDERID 8 4 ---O [0]",
                                             "SUBMITHLINKFOLDER 37 120 ---O [N/A]",
                                             "INSTRUCTIONS 37 1000 --LO [N/A]",
                                             "LAYOUT 261 8 --LO []",
                                             "HELPTEXT 261 8 --LO []",
                                         }));
  EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST(ReadTableFields, LengthsDecideTheTextDefaultAndLongVarchars) {
  TLoaderDatabase db(
      "CREATE TABLE lengths (k INTEGER NOT NULL PRIMARY KEY, c1 CHAR(1), c2 CHAR(2), c3 CHAR(3),"
      " v2 VARCHAR(2), v3 VARCHAR(3), v254 VARCHAR(254), v255 VARCHAR(255), b BLOB SUB_TYPE 1,"
      " n NUMERIC(15,2), d DATE, total COMPUTED BY (k + 1), p NUMERIC(9,2), q NUMERIC(4,1), r DECIMAL(4,1))");
  TRecordingDialogService dialogs;
  TFieldTable fields(FieldTableSize);
  EXPECT_EQ(Read(db, "lengths", fields), (std::vector<std::string>{
                                             "K 8 4 NK-O [0]",
                                             "C1 14 1 ---O [N]",
                                             "C2 14 2 ---O [N]",
                                             "C3 14 3 ---O [N/A]",
                                             "V2 37 2 ---O [N]",
                                             "V3 37 3 ---O [N/A]",
                                             "V254 37 254 ---O [N/A]",
                                             "V255 37 255 --LO [N/A]",
                                             "B 261 8 --LO []",
                                             "N 27 8 ---O [0.00] scale -2",
                                             "D 35 8 ---O [1-1-1900]",
                                             // No computed column: nothing can be written to it.
                                             "P 8 4 ---O [0] scale -2",
                                             "Q 7 2 ---O [0] scale -1",
                                             "R 8 4 ---O [0] scale -1",
                                         }));
}

TEST(ReadTableFields, KeysWhateverTheirPlaceAndTablesWithout) {
  TLoaderDatabase db(
      "CREATE TABLE nokey (a INTEGER, b VARCHAR(5));"
      "CREATE TABLE named (a INTEGER NOT NULL, CONSTRAINT pk_named PRIMARY KEY (a))");
  TRecordingDialogService dialogs;
  TFieldTable fields(FieldTableSize);
  EXPECT_EQ(Read(db, "afcomboactions", fields), (std::vector<std::string>{
                                                    "FORMID 8 4 NK-O [0]",
                                                    "ITEMNO 7 2 NK-O [0]",
                                                    "ACTIONNO 7 2 NK-O [0]",
                                                    "COMBOTEXT 37 40 N--O [N/A]",
                                                    "GOTOITEM 7 2 ---O [0]",
                                                }));
  EXPECT_EQ(Read(db, "nokey", fields), (std::vector<std::string>{"A 8 4 ---O [0]", "B 37 5 ---O [N/A]"}));
  // A key declared with a constraint name is indexed under that name, which the query does not see.
  EXPECT_EQ(Read(db, "named", fields), (std::vector<std::string>{"A 8 4 N--O [0]"}));
}

TEST(ReadTableFields, TheTableNameMayBeInAnyLetterCase) {
  TLoaderDatabase db;
  TRecordingDialogService dialogs;
  TFieldTable fields(FieldTableSize);
  const std::vector<std::string> expected = Read(db, "dictcombo", fields);
  ASSERT_EQ(expected.size(), 3u);
  for (const char* name : {"DICTCOMBO", "DictCombo", "dictCOMBO"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Read(db, name, fields), expected);
  }
}

TEST(ReadTableFields, AnUnknownTableGivesNoColumnsAndNoMessage) {
  // A table name has at most 31 characters: a longer one is nobody's, and is not even looked up.
  const std::string longest = "t" + std::string(30, 'x');
  TLoaderDatabase db("CREATE TABLE " + longest + " (k INTEGER NOT NULL PRIMARY KEY)");
  TRecordingDialogService dialogs;
  TFieldTable fields(FieldTableSize);
  for (const std::string& name :
       {"nosuchtable"s, "!--"s, "row"s, ""s, longest + "x", std::string(5000, 'y')}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(Read(db, name, fields).empty());
  }
  EXPECT_EQ(Read(db, longest, fields), (std::vector<std::string>{"K 8 4 NK-O [0]"}));
  EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST(ReadTableFields, AColumnOfAnUnhandledTypeIsReportedAndStillCounted) {
  TLoaderDatabase db("CREATE TABLE odd (k INTEGER NOT NULL PRIMARY KEY, f FLOAT, b BOOLEAN, s VARCHAR(9))");
  TRecordingDialogService dialogs;
  TFieldTable fields(FieldTableSize);
  Read(db, "advform", fields);  // leaves "N/A" and "N" behind in records 1 and 2
  dialogs.ExpectBox(mrOk);
  dialogs.ExpectBox(mrOk);
  EXPECT_EQ(Read(db, "odd", fields), (std::vector<std::string>{
                                         "K 8 4 NK-O [0]",
                                         "F 10 4 ---O []",
                                         "B 23 1 ---O []",
                                         "S 37 9 ---O [N/A]",
                                     }));
  EXPECT_EQ(dialogs.BoxTexts(), (std::vector<std::string>{"DBLOAD: Field \"F\" Has a UnHandeled Type 10",
                                                          "DBLOAD: Field \"B\" Has a UnHandeled Type 23"}));
  for (const TRecordedBox& box : dialogs.Boxes()) {
    EXPECT_EQ(box.Type, mtError);
    EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
    EXPECT_EQ(box.HelpContext, 0);
  }
  dialogs.ExpectBox(mrOk);
  dialogs.ExpectBox(mrOk);
  Read(db, "ODD", fields);
  EXPECT_EQ(dialogs.Boxes().size(), 4u) << "the message comes again with every read of the table";
}

TEST(ReadTableFields, ATableOfMoreThan513ColumnsIsReadWhole) {
  std::string create = "CREATE TABLE wide (k INTEGER NOT NULL PRIMARY KEY";
  for (int i = 1; i < 600; ++i) create += ", c" + std::to_string(i) + " SMALLINT";
  create += ")";
  TLoaderDatabase db(create);
  TRecordingDialogService dialogs;
  TFieldTable fields(FieldTableSize);
  const std::vector<std::string> lines = Read(db, "wide", fields);
  ASSERT_EQ(lines.size(), 600u);
  EXPECT_GE(fields.size(), 600u);
  EXPECT_EQ(lines[0], "K 8 4 NK-O [0]");
  EXPECT_EQ(lines[512], "C512 7 2 ---O [0]");
  EXPECT_EQ(lines[513], "C513 7 2 ---O [0]");
  EXPECT_EQ(lines[599], "C599 7 2 ---O [0]");
}
