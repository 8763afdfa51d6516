#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "formimport/DBLoad.h"
#include "platform/data/DBErrors.h"
#include "platform/data/Query.h"
#include "tests/formimport/TestDBLoadSupport.h"
#include "tests/support/RecordingDialogService.h"
#include "xmlreader/QuXMLFileIn.h"

using TRows = TestDatabase::TRows;
using namespace std::string_literals;

namespace {

const std::string N = TestDatabase::Null;

// One element per column, each on its own line, as the publisher writes them.
std::string Row(const std::vector<std::pair<std::string, std::string>>& columns) {
  std::string row = "    <row>\r\n";
  for (const auto& [name, value] : columns) row += "      <" + name + ">" + value + "</" + name + ">\r\n";
  return row + "    </row>\r\n";
}

std::string Table(const std::string& name, const std::vector<std::string>& rows) {
  std::string table = "  <" + name + ">\r\n";
  for (const std::string& row : rows) table += row;
  return table + "  </" + name + ">\r\n";
}

std::string Form(const std::string& tables) {
  return "<?xml version=\"1.0\"?>\r\n<xmltable>\r\n  <header>\r\n    <title>Test</title>\r\n  </header>\r\n" +
         tables + "</xmltable>\r\n";
}

std::string Pick(const std::string& id, const std::string& text) {
  return Row({{"pickid", id}, {"picktext", text}});
}

const char* const PickRows =
    "SELECT pickid, picktext, sortorder, weight, changed FROM afpicklist ORDER BY pickid";

// The loader's own messages are error boxes with one OK button and no help context.
void ExpectErrorBoxes(const TRecordingDialogService& dialogs) {
  for (const TRecordedBox& box : dialogs.Boxes()) {
    SCOPED_TRACE(box.Text);
    EXPECT_EQ(box.Type, mtError);
    EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
    EXPECT_EQ(box.HelpContext, 0);
  }
}

class TImportTest : public testing::Test {
 protected:
  void Open(const std::string& extraSql = "") {
    FDb.reset();  // one working connection at a time
    FDb = std::make_unique<TLoaderDatabase>(extraSql);
  }
  int Import(const std::string& formText) { return ImportAdvancedForm(WriteForm(formText)); }
  // The second pass alone, for files that the first pass's reader would refuse.
  int ImportTables(const std::string& formText) { return ImportFormTables(WriteForm(formText)); }
  std::string WriteForm(const std::string& formText) {
    FFormPath = FDb->Db().Folder().Write("form.xml", formText);
    return FFormPath;
  }
  TRows Rows(const std::string& select) const { return FDb->Rows(select); }
  void Execute(const std::string& sql) { FDb->Db().Execute(sql); }

  std::unique_ptr<TLoaderDatabase> FDb;
  TRecordingDialogService FDialogs;
  std::string FFormPath;
};

}  // namespace

TEST_F(TImportTest, TheSampleFormIsWrittenRowByRow) {
  Open();
  EXPECT_EQ(ImportAdvancedForm(SourcePath("samples/forms/diabetes-review.xml")), 18);
  EXPECT_TRUE(FDialogs.Boxes().empty());
  EXPECT_EQ(
      Rows("SELECT formid, formname, publishcode, formversion, status, category, publishdate, reviewdate,"
           " scorefactor, billacholderid, submithlinkfolder, instructions, helptext FROM advform"),
      (TRows{{"9001", "Diabetes review & plan", "P", "3", "AC", "Chronic care", "2024-01-15",
              "2024-03-01 09:30:00", "1.25", N, "forms|diabetes",
              "Check both feet.\nRecord the reading as shown: systolic/diastolic, e.g. 120/80 (mmHg).\n"
              "Use \\ to separate repeat readings.",
              "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Review \\b every\\b0  visit.\\par}"}}));
  EXPECT_EQ(
      Rows("SELECT layout FROM advform"),
      (TRows{
          {"\x51\x56\x4c\x01\x00\x03grid:2x3;\xf0\xf1\xf2\xf3\xf4\xf5\xf6\xf7\xf8\xf9\xfa\xfb\xfc\xfd\xfe\xff"s}}));
  EXPECT_EQ(Rows("SELECT formid, itemno, caption, itemtype, obscode, lowlimit, highlimit FROM afitem ORDER "
                 "BY itemno"),
            (TRows{{"9001", "1", "Blood pressure <systolic>", "N", "BP_SYS", "60", "250.5"},
                   {"9001", "2", "Weight", "N", "WT_KG", "0.5", "-0.5"},
                   {"9001", "3", "Foot check done", "C", N, N, N}}));
  EXPECT_EQ(
      Rows("SELECT formid, itemno, actionno, combotext, gotoitem FROM afcomboactions ORDER BY actionno"),
      (TRows{{"9001", "3", "1", "Yes", N}, {"9001", "3", "2", "No - refer", "1"}}));
  EXPECT_EQ(
      Rows("SELECT obscode, description, units, normallow, normalhigh, mapscncode, mapvalueno, lastchanged,"
           " notes FROM dictobservation ORDER BY obscode"),
      (TRows{{"BP_SYS", "Systolic blood pressure", "mmHg      ", "90", "140", "HT", "1", "2023-12-01", N},
             {"CHOL_T", "Total cholesterol", "mmol/L    ", N, "5.2", "CHOL", "3", N,
              "{\\rtf1 Fasting sample preferred.}"},
             {"OLD_OBS", "Retired observation", N, N, N, N, N, N, N},
             {"WT_KG", "Body weight", "kg        ", N, N, "WE", "2", N, N}}));
  EXPECT_EQ(Rows("SELECT obscode, comboseq, combotext FROM dictcombo ORDER BY comboseq"),
            (TRows{{"BP_SYS", "1", "Sitting"}, {"BP_SYS", "2", "Standing"}}));
  EXPECT_EQ(
      Rows("SELECT conceptid, conceptname, maptoscncode, maptoscnvalueno, maptovalueno, maptoscncodealt,"
           " maptoscnvaluenoalt, maptovaluenoalt FROM conceptmap ORDER BY conceptid"),
      (TRows{{"501", "Breast screening", "MY", "11", N, "HT", "12", N},
             {"502", "Retired concept", N, N, "22", N, N, N}}));
  EXPECT_EQ(Rows("SELECT conceptid, valueno, valuetext FROM conceptvaluemap ORDER BY valueno"),
            (TRows{{"501", "1", "Normal"}, {"501", "2", "Recall"}}));
  EXPECT_EQ(Rows(PickRows),
            (TRows{{"1", "Left foot", "1", "0.5", "2024-01-15 12:00:00"}, {"2", "Right foot", "2", N, N}}));
}

TEST_F(TImportTest, ImportingAgainUpdatesRowsKeepsMarkedValuesAndReplacesChildRows) {
  Open();
  const std::string sample = SourcePath("samples/forms/diabetes-review.xml");
  ASSERT_EQ(ImportAdvancedForm(sample), 18);
  Execute(
      "UPDATE advform SET billacholderid = 5, submithlinkfolder = 'kept', formname = 'changed', category = "
      "NULL;"
      "INSERT INTO afitem (formid, itemno, caption) VALUES (9001, 99, 'stale');"
      "INSERT INTO afcomboactions (formid, itemno, actionno, combotext) VALUES (9001, 99, 1, 'stale');"
      "INSERT INTO afitem (formid, itemno, caption) VALUES (9002, 1, 'other form');"
      "INSERT INTO dictcombo (obscode, comboseq, combotext) VALUES ('BP_SYS', 9, 'stale');"
      "INSERT INTO conceptvaluemap (conceptid, valueno, valuetext) VALUES (501, 9, 'stale');"
      "UPDATE dictobservation SET mapscncode = 'XX', mapvalueno = 70 WHERE obscode = 'BP_SYS';"
      "UPDATE dictobservation SET mapscncode = NULL WHERE obscode = 'WT_KG';"
      "UPDATE conceptmap SET maptoscncode = NULL, maptovalueno = 99, maptoscncodealt = 'CHOL',"
      " maptoscnvaluenoalt = 97, maptovaluenoalt = 98 WHERE conceptid = 501");
  EXPECT_EQ(ImportAdvancedForm(sample), 18);
  EXPECT_TRUE(FDialogs.Boxes().empty());
  EXPECT_EQ(Rows("SELECT formname, category, billacholderid, submithlinkfolder FROM advform"),
            (TRows{{"Diabetes review & plan", "Chronic care", "5", "kept"}}));
  EXPECT_EQ(Rows("SELECT formid, itemno FROM afitem ORDER BY formid, itemno"),
            (TRows{{"9001", "1"}, {"9001", "2"}, {"9001", "3"}, {"9002", "1"}}));
  EXPECT_EQ(Rows("SELECT itemno, actionno FROM afcomboactions ORDER BY actionno"),
            (TRows{{"3", "1"}, {"3", "2"}}));
  EXPECT_EQ(Rows("SELECT comboseq FROM dictcombo ORDER BY comboseq"), (TRows{{"1"}, {"2"}}));
  EXPECT_EQ(Rows("SELECT valueno FROM conceptvaluemap ORDER BY valueno"), (TRows{{"1"}, {"2"}}));
  // Stored non-null codes stay; a stored null takes the file's (replaced) code.
  EXPECT_EQ(
      Rows("SELECT obscode, mapscncode, mapvalueno FROM dictobservation ORDER BY obscode"),
      (TRows{{"BP_SYS", "XX", "70"}, {"CHOL_T", "CHOL", "3"}, {"OLD_OBS", N, N}, {"WT_KG", "WE", "2"}}));
  // conceptmap keeps both pairs; the screening value numbers are the file's.
  EXPECT_EQ(Rows("SELECT maptoscncode, maptovalueno, maptoscncodealt, maptovaluenoalt, maptoscnvaluenoalt"
                 " FROM conceptmap WHERE conceptid = 501"),
            (TRows{{"MY", "99", "CHOL", "98", "12"}}));
}

TEST_F(TImportTest, ALocalPublishersFormIsRefusedWhereverARowWouldStoreItsCode) {
  // Form 7's row with the code's elements between its key and its name.
  const auto row = [](const std::string& elements) {
    return "    <row>\r\n      <formid>7</formid>\r\n      " + elements +
           "\r\n      <formname>F</formname>\r\n    </row>\r\n";
  };
  const auto coded = [&](const std::string& code) {
    return Table("advform", {row("<publishcode>" + code + "</publishcode>")});
  };
  const std::string local = Row({{"formid", "8"}, {"formname", "G"}, {"publishcode", "L"}});
  const std::string picks = Table("afpicklist", {Pick("1", "a")});
  const struct {
    const char* Name;
    std::string Column;  // the type of advform's publishcode
    std::string Tables;
    std::string Stored;      // form 7's code once imported; empty: the form is refused
    std::string Front = "";  // what stands before the xmltable element
  } cases[] = {
      {"L", "CHAR(1)", coded("L"), ""},
      {"l", "CHAR(1)", coded("l"), "l"},
      {"a blank before", "CHAR(1)", coded(" L"), " "},
      {"a blank behind", "CHAR(1)", coded("L "), ""},
      {"longer than its column", "CHAR(1)", coded("LOCAL"), ""},
      {"on a line of its own", "CHAR(1)", coded("\r\nL\r\n"), ""},
      {"as an entity", "CHAR(1)", coded("&#76;"), "&"},
      {"empty", "CHAR(1)", coded(""), N},
      {"no code", "CHAR(1)", Table("advform", {row("")}), N},
      {"commented out ahead of another", "CHAR(1)",
       Table("advform", {row("<!-- <publishcode>L</publishcode> --><publishcode>P</publishcode>")}), "P"},
      {"in a second row", "CHAR(1)", Table("advform", {row("<publishcode>P</publishcode>"), local}), ""},
      {"in a second advform element", "CHAR(1)", coded("P") + picks + Table("AdvForm", {local}), ""},
      {"inside an advform element before xmltable's", "CHAR(1)", coded("L"), "",
       "<advform><row><publishcode>P</publishcode></row></advform>\r\n"},
      // The row's columns are cut in their order: publishcode before instructions, after formname.
      {"inside a later column", "CHAR(1)",
       Table("advform",
             {row("<instructions><publishcode>L</publishcode></instructions><publishcode>P</publishcode>")}),
       ""},
      {"inside an earlier column", "CHAR(1)",
       Table("advform",
             {row("<formname><publishcode>L</publishcode></formname><publishcode>P</publishcode>")}),
       "P"},
      {"a blank behind, in a longer column", "VARCHAR(5)", coded("L  "), ""},
      {"longer, in a longer column", "VARCHAR(5)", coded("LX"), "LX"},
  };
  std::string column;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.Column != column) {
      column = c.Column;
      Open(column == "CHAR(1)" ? "" : "ALTER TABLE advform ALTER publishcode TYPE " + column);
    }
    Execute("DELETE FROM advform; DELETE FROM afpicklist");
    TRecordingDialogService dialogs;
    if (c.Stored.empty()) dialogs.ExpectBox(mrOk);
    std::string form = Form(c.Tables);
    form.insert(form.find("<xmltable>"), c.Front);
    const int result = Import(form);
    if (c.Stored.empty()) {
      EXPECT_EQ(result, -1);
      EXPECT_EQ(dialogs.BoxTexts(),
                (std::vector<std::string>{"You cannot import forms for local publisher (L)\"" + FFormPath +
                                          "\" "}));
      ExpectErrorBoxes(dialogs);
      EXPECT_TRUE(Rows("SELECT formid FROM advform").empty());
      EXPECT_TRUE(Rows(PickRows).empty());
    } else {
      EXPECT_GT(result, 0);
      EXPECT_TRUE(dialogs.Boxes().empty());
      EXPECT_EQ(Rows("SELECT publishcode FROM advform WHERE formid = 7"), (TRows{{c.Stored}}));
    }
  }
}

TEST_F(TImportTest, FilesWithNothingToImport) {
  Open();
  const std::string cases[] = {
      "<xmltable>\r\n</xmltable>\r\n",
      "<xmltable>\r\n  <header>\r\n  </header>\r\n  <nosuchtable>\r\n" + Pick("1", "a") +
          "  </nosuchtable>\r\n"
          "  <!-- a comment between tables -->\r\n</xmltable>\r\n",
  };
  for (const std::string& form : cases) {
    SCOPED_TRACE(form);
    EXPECT_EQ(Import(form), 0);
  }
  EXPECT_TRUE(Rows(PickRows).empty());
  EXPECT_TRUE(FDialogs.Boxes().empty());
  EXPECT_FALSE(FDb->Connection().InTransaction());
}

TEST_F(TImportTest, ADamagedFormWritesNothingAndSaysWhereItEnds) {
  Open();
  const std::string picks = Table("afpicklist", {Pick("1", "a")});
  const struct {
    std::string Form, Message;
    int Line;
  } cases[] = {
      {"<?xml version=\"1.0\"?>\r\n<forms>\r\n" + picks + "</forms>\r\n",
       "Expecting start tag:\"<xmltable>\"", 9},
      {"<xmltable>\r\n" + picks, "Expecting end tag:\"</xmltable>\"", 7},
      // Behind a Ctrl-Z the first pass sees nothing, and neither does the second: the form ends there.
      {"<?xml version=\"1.0\"?>\r\n<xmltable>\r\n  <header>\r\n  </header>\r\n\x1a" +
           Table("advform", {Row({{"formid", "7"}, {"publishcode", "L"}, {"formname", "F"}})}) + picks +
           "</xmltable>\r\n",
       "Expecting end tag:\"</xmltable>\"", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Form);
    try {
      Import(c.Form);
      ADD_FAILURE() << "imported";
    } catch (const EXMLInputError& e) {
      EXPECT_EQ(e.Message(), TXMLFileInput::ErrorText(c.Message, c.Line, FFormPath));
    }
  }
  EXPECT_TRUE(Rows(PickRows).empty());
  EXPECT_TRUE(Rows("SELECT formid FROM advform").empty());
  EXPECT_TRUE(FDialogs.Boxes().empty());
  EXPECT_FALSE(FDb->Connection().InTransaction());
}

TEST_F(TImportTest, WhatTheReaderTakesForACommentIsNotImported) {
  Open();
  EXPECT_EQ(
      Import(
          "<!-- an older form:\r\n" + Form(Table("afpicklist", {Pick("1", "older")})) + "-->\r\n" +
          Form("  <!-- a table put aside\r\n" + Table("afpicklist", {Pick("2", "aside")}) + "  -->\r\n" +
               Table("afpicklist",
                     {Pick("3", "kept"), "    <!-- a row put aside\r\n" + Pick("4", "aside") + "    -->\r\n",
                      Pick("5", "a<!-- remark --> b"),
                      // A comment right behind another is text to the reader, and its row is a row.
                      "    <!-- x --><!-- " + Pick("6", "behind a comment") + " -->\r\n"}))),
      3);
  EXPECT_EQ(Rows("SELECT pickid, picktext FROM afpicklist ORDER BY pickid"),
            (TRows{{"3", "kept"}, {"5", "a b"}, {"6", "behind a comment"}}));
}

TEST_F(TImportTest, AFileTheSecondPassCannotOpen) {
  Open();
  FDialogs.ExpectBox(mrOk);
  const std::string missing = FDb->Db().Folder().File("gone.xml");
  EXPECT_EQ(ImportFormTables(missing), 0);
  EXPECT_EQ(FDialogs.BoxTexts(),
            (std::vector<std::string>{"Cannot open  \"" + missing + "\" File not found"}));
  ExpectErrorBoxes(FDialogs);
  // The first pass reports a file that is not there itself, through the reader.
  EXPECT_THROW(ImportAdvancedForm(missing), EInOutError);
}

TEST_F(TImportTest, AMalformedFileEndsInTheReadersMessageAndWritesNothing) {
  Open();
  const std::string form =
      "<xmltable>\r\n  <advform>\r\n    <row>\r\n      <formid>1</formi>\r\n      "
      "<publishcode>P</publishcode>\r\n";
  try {
    Import(form + Table("afpicklist", {Pick("1", "a")}) + "</xmltable>\r\n");
    ADD_FAILURE() << "no error";
  } catch (const EXMLInputError& e) {
    EXPECT_EQ(e.Message(),
              "Error\r\nExpecting end tag:\"</formid>\"\r\nLine 4\r\nFile \"" + FFormPath + "\"");
  }
  // A 1 MB line of tags inside the first row, each an empty element whose name runs over all the
  // names behind it: looked at one by one, in time and memory in proportion to the line.
  std::string names = "<xmltable><advform><row>";
  for (int i = 0; i < 500000; ++i) names += "<a";
  const auto start = std::chrono::steady_clock::now();
  try {
    Import(names + "/>\r\n");
    ADD_FAILURE() << "no error";
  } catch (const EXMLInputError& e) {
    EXPECT_EQ(e.Message(),
              "Error\r\nUnexpected End Of File\r\nExpecting end tag:\"</row>\"\r\nLine 1\r\nFile \"" +
                  FFormPath + "\"");
  }
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
  EXPECT_TRUE(Rows(PickRows).empty());
  EXPECT_FALSE(FDb->Connection().InTransaction());
}

TEST_F(TImportTest, AFailureEndsTheImportWithEarlierTablesCommittedAndTheFailingOneNot) {
  Open("CREATE TABLE nokey (a INTEGER, b VARCHAR(5))");
  // A table without a primary key cannot be written: its statement ends in WHERE.
  EXPECT_THROW(Import(Form(Table("afpicklist", {Pick("1", "a")}) + Table("nokey", {Row({{"a", "1"}})}) +
                           Table("afpicklist", {Pick("2", "b")}))),
               EDBEngineError);
  EXPECT_EQ(Rows("SELECT pickid FROM afpicklist"), (TRows{{"1"}}));
  EXPECT_TRUE(FDb->Connection().InTransaction()) << "the failing table's transaction stays open";
  FDb->Connection().Rollback();

  // A value its column refuses: the rows of the failing table before it are not committed.
  EXPECT_THROW(
      Import(Form(Table("afpicklist", {Pick("3", "c")}) +
                  Table("afitem", {Row({{"formid", "1"}, {"itemno", "1"}, {"caption", "one"}}),
                                   Row({{"formid", "1"}, {"itemno", "99999"}, {"caption", "two"}})}))),
      Exception);
  EXPECT_EQ(Rows("SELECT pickid FROM afpicklist ORDER BY pickid"), (TRows{{"1"}, {"3"}}));
  EXPECT_TRUE(Rows("SELECT itemno FROM afitem").empty());
  EXPECT_TRUE(FDb->Connection().InTransaction());
}

TEST_F(TImportTest, ColumnValuesAsTheFileWritesThem) {
  // A computed column is no column the import writes: its element is passed over like any other.
  Open(
      "CREATE TABLE vals (k INTEGER NOT NULL PRIMARY KEY, v VARCHAR(40), twice COMPUTED BY (k * 2),"
      " w VARCHAR(40), c CHAR(5))");
  const struct {
    std::string Elements;         // the row's elements after the key
    TestDatabase::TRow Expected;  // v, w, c
  } cases[] = {
      {"<v>plain</v><w>other</w>", {"plain", "other", N}},
      {"<w>other</w><v>plain</v>", {"plain", "other", N}},  // any order
      {"<V>upper</V><w>x</w>", {N, "x", N}},                // names are lower case
      {"<v\tx=\"1\">tab</v><w>x</w>", {N, "x", N}},         // a tab after the name
      {"<v a=\"1\">attr</v>", {"attr", N, N}},              // a blank and attributes
      {"<v />", {N, N, N}},
      {"<v/>", {N, N, N}},
      {"<v></v><w>x</w>", {N, "x", N}},
      {"<v>one\r\ntwo\r\n three</v>", {"onetwo three", N, N}},  // wrapped over lines
      {"<v>&amp;lt; &lt;b&gt; &#60;</v>", {"&lt; <b> &#60;", N, N}},
      {"<v>first</v><v>second</v>", {"first", N, N}},
      {"<v>a\\\\b\\nc\\r\\t</v>", {"a\\b\nc\r\\t", N, N}},
      {"<v>{\\rtf1 \\\\ \xa6}</v>", {"{\\rtf1 \\\\ \xa6}", N, N}},
      {"<c>ab\\\\cd</c>", {N, N, "ab\\c "}},  // cut to 5, then unescaped
      {"<c>abcdefgh</c>", {N, N, "abcde"}},
      {"<v><b>bold</b></v>", {"<b>bold</b>", N, N}},  // markup stays text
      {"<v>1234567890123456789012345678901234567890TOO LONG</v>",
       {"1234567890123456789012345678901234567890", N, N}},
      {"<twice>7</twice><v>computed</v>", {"computed", N, N}},
  };
  int k = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Elements);
    ++k;
    ASSERT_EQ(ImportTables(Form("  <vals>\r\n    <row><k>" + std::to_string(k) + "</k>" + c.Elements +
                                "</row>\r\n  </vals>\r\n")),
              1);
    EXPECT_EQ(Rows("SELECT v, w, c FROM vals WHERE k = " + std::to_string(k)), TRows{c.Expected});
  }
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(TImportTest, NumbersAndTimestampsAreConvertedByColumnType) {
  // In a dialect-1 database a NUMERIC or DECIMAL of up to nine digits is a scaled SMALLINT or INTEGER.
  Open(
      "CREATE TABLE nums (k INTEGER NOT NULL PRIMARY KEY, s SMALLINT, i INTEGER, d DOUBLE PRECISION,"
      " t TIMESTAMP, n NUMERIC(9,2), e DECIMAL(9,3), m NUMERIC(4,1))");
  const struct {
    std::string S, I, D, T, N, E, M;
    TestDatabase::TRow Expected;
  } cases[] = {
      {"2.5",
       "3.5",
       "12.5",
       "20040115",
       "12.34",
       "1.005",
       "-0.5",
       {"2", "4", "12.5", "2004-01-15", "12.34", "1.005", "-0.5"}},
      {"-2.5",
       "2147483647",
       "-.5",
       "20040115133005",
       "12.345",
       "1.0005",
       "-0.05",
       {"-2", "2147483647", "-0.5", "2004-01-15 13:30:05", "12.34", "1.000", "0.0"}},
      {"x",
       "1,5",
       "12.34.5",
       "1-1-1900",
       "-12.355",
       "abc7",
       "3276.7",
       {"0", "1", "12.34", "1899-12-30", "-12.36", "7.000", "3276.7"}},
      {"1",
       "-2147483648",
       "1",
       "18000101120000",
       "0.125",
       "-0.0015",
       "-3276.8",
       {"1", "-2147483648", "1", "1800-01-01 12:00:00", "0.12", "-0.002",
        "-3276.8"}},  // before the zero date
      // Decimals that a binary fraction cannot hold, fewer places than the scale, and a carry.
      {"32767",
       "0",
       "0",
       "20040115",
       "1.015",
       "2.5",
       "99.95",
       {"32767", "0", "0", "2004-01-15", "1.02", "2.500", "100.0"}},
      {"-32768",
       "0",
       "0",
       "20040115",
       "21474836.47",
       "-2147483.648",
       "x",
       {"-32768", "0", "0", "2004-01-15", "21474836.47", "-2147483.648", "0.0"}},
  };
  int k = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.S + " " + c.I + " " + c.D + " " + c.T + " " + c.N + " " + c.E + " " + c.M);
    ++k;
    ASSERT_EQ(Import(Form(Table("nums", {Row({{"k", std::to_string(k)},
                                              {"s", c.S},
                                              {"i", c.I},
                                              {"d", c.D},
                                              {"t", c.T},
                                              {"n", c.N},
                                              {"e", c.E},
                                              {"m", c.M}})}))),
              1);
    EXPECT_EQ(Rows("SELECT s, i, d, t, n, e, m FROM nums WHERE k = " + std::to_string(k)), TRows{c.Expected});
  }
  // A scaled key is found again by its exact value.
  Open("CREATE TABLE priced (p NUMERIC(9,2) NOT NULL PRIMARY KEY, v VARCHAR(5))");
  ASSERT_EQ(Import(Form(Table("priced", {Row({{"p", "0.1"}, {"v", "a"}}), Row({{"p", "0.10"}, {"v", "b"}}),
                                         Row({{"p", "0.105"}, {"v", "c"}})}))),
            3);
  EXPECT_EQ(Rows("SELECT p, v FROM priced"), (TRows{{"0.10", "c"}}));
}

TEST_F(TImportTest, ANumberThatDoesNotFitItsColumnStopsTheImportBeforeItsRowIsWritten) {
  Open(
      "CREATE TABLE nums (k INTEGER NOT NULL PRIMARY KEY, s SMALLINT, i INTEGER, d DOUBLE PRECISION,"
      " n NUMERIC(9,2), m NUMERIC(4,1))");
  const std::string huge = "1" + std::string(400, '0');
  const std::string range32 = "The allowed range is -2147483648 to 2147483647";
  const struct {
    std::string Column, Value, Message;
  } cases[] = {
      {"s", "40000", "40000 is not a valid value for field 'S'. The allowed range is -32768 to 32767"},
      {"s", "-32768.6", "-32769 is not a valid value for field 'S'. The allowed range is -32768 to 32767"},
      {"i", "3000000000", "3000000000 is not a valid value for field 'I'. " + range32},
      {"i", "4294967297", "4294967297 is not a valid value for field 'I'. " + range32},
      {"i", "-2147483648.5001", "-2147483649 is not a valid value for field 'I'. " + range32},
      {"i", "99999999999999999999", "1e+20 is not a valid value for field 'I'. " + range32},
      {"d", huge,
       "inf is not a valid value for field 'D'. The allowed range is -1.79769313486232e+308 to "
       "1.79769313486232e+308"},
      {"n", "21474836.475",
       "21474836.48 is not a valid value for field 'N'. The allowed range is -21474836.48 to 21474836.47"},
      {"n", huge + ".5",
       huge + ".50 is not a valid value for field 'N'. The allowed range is -21474836.48 to 21474836.47"},
      {"m", "-3276.851",
       "-3276.9 is not a valid value for field 'M'. The allowed range is -3276.8 to 3276.7"},
      // A key: no stored row is named by its low bits (form 4294976297 would be form 9001).
      {"k", "4294967298", "4294967298 is not a valid value for field 'K'. " + range32},
  };
  Execute("INSERT INTO nums (k, s) VALUES (2, 5)");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Column + " " + c.Value.substr(0, 30));
    try {
      const std::string second =
          c.Column == "k" ? Row({{"k", c.Value}, {"s", "1"}}) : Row({{"k", "2"}, {c.Column, c.Value}});
      Import(Form(Table("nums", {Row({{"k", "1"}, {"s", "1"}}), second})));
      ADD_FAILURE() << "imported";
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    if (FDb->Connection().InTransaction()) FDb->Connection().Rollback();
    EXPECT_EQ(Rows("SELECT k, s, i, d, n, m FROM nums"), (TRows{{"2", "5", N, N, N, N}}));
  }
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(TImportTest, EmptyValuesGiveDefaultsInNotNullColumnsAndNullElsewhere) {
  Open();
  ASSERT_EQ(
      Import(Form(Table(
          "advform",
          {Row({{"formid", "1"}, {"category", "c"}, {"scorefactor", "2"}, {"publishdate", "20240101"}})}))),
      1);
  EXPECT_EQ(Rows("SELECT formname, formversion, status, reviewdate, category, scorefactor, publishdate FROM "
                 "advform"),
            (TRows{{"N/A", "0", "N ", "1900-01-01", "c", "2", "2024-01-01"}}));
  // On update an empty value clears a stored one, and a NOT NULL column gets its default again.
  ASSERT_EQ(Import(Form(Table("advform", {Row({{"formid", "1"}, {"formname", ""}, {"category", ""}})}))), 1);
  EXPECT_EQ(Rows("SELECT formname, formversion, status, reviewdate, category, scorefactor, publishdate FROM "
                 "advform"),
            (TRows{{"N/A", "0", "N ", "1900-01-01", N, N, N}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(TImportTest, AnEmptyRowEndsTheTable) {
  Open();
  for (const std::string& empty : {"<row></row>"s, "<row />"s, "<row>\r\n</row>"s}) {
    SCOPED_TRACE(empty);
    Execute("DELETE FROM afpicklist");
    EXPECT_EQ(
        ImportTables(Form(Table("afpicklist", {Pick("1", "a"), "    " + empty + "\r\n", Pick("2", "b")}) +
                          Table("afpicklist", {Pick("3", "c")}))),
        empty == "<row>\r\n</row>" ? 4 : 2);
  }
  // "<row>" CR LF "</row>" has content: a row of empty values, written with pickid 0.
  EXPECT_EQ(Rows("SELECT pickid, picktext FROM afpicklist ORDER BY pickid"),
            (TRows{{"0", "N/A"}, {"1", "a"}, {"2", "b"}, {"3", "c"}}));
}

TEST_F(TImportTest, AnEmptyKeyMatchesNothingAndAppends) {
  Open();
  Execute("INSERT INTO afpicklist (pickid, picktext) VALUES (0, 'stored')");
  // The first row is appended with the key's default 0, which exists: the post fails, silently.
  EXPECT_EQ(
      Import(Form(Table("afpicklist", {Row({{"pickid", ""}, {"picktext", "new"}}), Pick("5", "five")}))), 1);
  EXPECT_EQ(Rows("SELECT pickid, picktext FROM afpicklist ORDER BY pickid"),
            (TRows{{"0", "stored"}, {"5", "five"}}));
  Execute("DELETE FROM afpicklist WHERE pickid = 0");
  EXPECT_EQ(Import(Form(Table("afpicklist", {Row({{"picktext", "keyless"}}), Row({{"picktext", "again"}})}))),
            1);
  EXPECT_EQ(Rows("SELECT pickid, picktext FROM afpicklist ORDER BY pickid"),
            (TRows{{"0", "keyless"}, {"5", "five"}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(TImportTest, KeysAreMatchedUnescapedAndNeverCutOntoAnotherRow) {
  Open();
  // The escaped text as a key: no import matches it.
  Execute(
      "INSERT INTO dictobservation (obscode, description) VALUES ('a\\nb', 'stored');"
      "INSERT INTO dictobservation (obscode, description) VALUES ('BLOOD_PRESSURE_SYSTO', 'stored');"
      "INSERT INTO dictcombo (obscode, comboseq, combotext) VALUES ('BLOOD_PRESSURE_SYSTO', 1, 'stored')");
  const auto form = [&](const std::string& value, const std::string& seq) {
    std::vector<std::string> parents, children;
    // The last three are longer than the column's 20 characters: cut, each would name the stored row
    // BLOOD_PRESSURE_SYSTO, so each is refused, and its child rows are not deleted.
    for (const std::string& key :
         {"a\\\\b"s, "a\\rb"s, "a\\nb"s, std::string("a\xa6") + "b", "BLOOD_PRESSURE_SYSTOLIC"s,
          "BLOOD_PRESSURE_SYSTOLE2"s, "BLOOD_PRESSURE_SYSTO\\n"s}) {
      parents.push_back(Row({{"obscode", key}, {"description", value}}));
      children.push_back(Row({{"obscode", key}, {"comboseq", seq}, {"combotext", value}}));
    }
    return Form(Table("dictobservation", parents) + Table("dictcombo", children));
  };
  ASSERT_EQ(Import(form("one", "1")), 8);
  // Imported again with new values: every row is found and updated, and its old child rows deleted.
  ASSERT_EQ(Import(form("two", "2")), 8);
  EXPECT_EQ(Rows("SELECT obscode, description FROM dictobservation ORDER BY obscode"),
            (TRows{{"BLOOD_PRESSURE_SYSTO", "stored"},
                   {"a\nb", "two"},
                   {"a\rb", "two"},
                   {"a\\b", "two"},
                   {"a\\nb", "stored"},
                   {"a|b", "two"}}));
  EXPECT_EQ(Rows("SELECT obscode, comboseq, combotext FROM dictcombo ORDER BY obscode"),
            (TRows{{"BLOOD_PRESSURE_SYSTO", "1", "stored"},
                   {"a\nb", "2", "two"},
                   {"a\rb", "2", "two"},
                   {"a\\b", "2", "two"},
                   {"a|b", "2", "two"}}));
  // Blanks past the column's length are no part of the key, as the database compares keys: the stored
  // row is found and updated.
  ASSERT_EQ(Import(Form(Table("dictobservation",
                              {Row({{"obscode", "BLOOD_PRESSURE_SYSTO   "}, {"description", "blanks"}})}))),
            1);
  EXPECT_EQ(Rows("SELECT description FROM dictobservation WHERE obscode = 'BLOOD_PRESSURE_SYSTO'"),
            (TRows{{"blanks"}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(TImportTest, EveryParentRowDeletesItsOwnChildRowsThroughTheStatementItsTableShares) {
  Open();
  // Two child rows of each rule's child tables for parents 1 to 6.
  for (int p = 1; p <= 6; ++p) {
    const std::string id = std::to_string(p);
    for (const std::string n : {"1", "2"}) {
      Execute("INSERT INTO afitem (formid, itemno, caption) VALUES (" + id + ", " + n +
              ", 'old');"
              "INSERT INTO afcomboactions (formid, itemno, actionno, combotext) VALUES (" +
              id + ", 1, " + n +
              ", 'old');"
              "INSERT INTO dictcombo (obscode, comboseq, combotext) VALUES ('O" +
              id + "', " + n +
              ", 'old');"
              "INSERT INTO conceptvaluemap (conceptid, valueno) VALUES (" +
              id + ", " + n + ")");
    }
  }
  // Parents 1 to 5 in two elements of each table, the second with an empty key in its middle.
  const auto parents = [](const std::vector<std::string>& ids) {
    std::vector<std::string> forms, observations, concepts;
    for (const std::string& id : ids) {
      forms.push_back(Row({{"formid", id}, {"formname", "f"}}));
      observations.push_back(Row({{"obscode", id.empty() ? id : "O" + id}, {"description", "d"}}));
      concepts.push_back(Row({{"conceptid", id}, {"conceptname", "c"}}));
    }
    return Table("advform", forms) + Table("dictobservation", observations) + Table("conceptmap", concepts);
  };
  // An item written after its form's row stays.
  EXPECT_EQ(Import(Form(parents({"1", "2", "3"}) +
                        Table("afitem", {Row({{"formid", "2"}, {"itemno", "9"}, {"caption", "new"}})}) +
                        parents({"4", "", "5"}))),
            19);
  EXPECT_EQ(Rows("SELECT formid, itemno FROM afitem ORDER BY formid, itemno"),
            (TRows{{"2", "9"}, {"6", "1"}, {"6", "2"}}));
  EXPECT_EQ(Rows("SELECT formid, actionno FROM afcomboactions ORDER BY formid, actionno"),
            (TRows{{"6", "1"}, {"6", "2"}}));
  EXPECT_EQ(Rows("SELECT obscode, comboseq FROM dictcombo ORDER BY obscode, comboseq"),
            (TRows{{"O6", "1"}, {"O6", "2"}}));
  EXPECT_EQ(Rows("SELECT conceptid, valueno FROM conceptvaluemap ORDER BY conceptid, valueno"),
            (TRows{{"6", "1"}, {"6", "2"}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(TImportTest, ARowWhosePostFailsIsSkippedAndItsChildRowsStayDeleted) {
  Open("ALTER TABLE advform ADD CHECK (formversion < 100)");
  Execute(
      "INSERT INTO advform (formid, formname, formversion, status, reviewdate) VALUES (2, 'two', 1, 'A', "
      "'2024-01-01');"
      "INSERT INTO afitem (formid, itemno, caption) VALUES (2, 1, 'child');"
      "INSERT INTO afitem (formid, itemno, caption) VALUES (3, 1, 'other child')");
  EXPECT_EQ(
      Import(Form(Table(
          "advform", {Row({{"formid", "1"}, {"formname", "one"}}),
                      Row({{"formid", "2"}, {"formname", "bad"}, {"formversion", "500"}, {"layout", "TWFu"}}),
                      Row({{"formid", "4"}, {"formname", "four"}, {"layout", "TWFu"}})}))),
      2);
  EXPECT_EQ(Rows("SELECT formid, formname, formversion, layout FROM advform ORDER BY formid"),
            (TRows{{"1", "one", "0", N}, {"2", "two", "1", N}, {"4", "four", "0", "Man"}}));
  EXPECT_EQ(Rows("SELECT formid FROM afitem"), (TRows{{"3"}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
  EXPECT_FALSE(FDb->Connection().InTransaction());
}

TEST_F(TImportTest, ScreeningCodesWithoutAnActiveRowAreReplacedOrCleared) {
  Open();
  const struct {
    std::string Code;
    std::string Stored;  // code as written
    std::string Value;   // mapvalueno as written
  } cases[] = {
      {"HE", "HT", "1"},  // inactive: its partner, whether or not the partner is active
      {"HT", "HT", "1"},  // active
      {"WE", "WE", "1"},     {"WT", "WE", "1"},      // no row at all
      {"MAM", "MY", "1"},                            // MY has no row: the partner is not looked up again
      {"MY", "MAM", "1"},    {"OLD", N, N},          // inactive without partner: code and value cleared
      {"XYZ", N, N},         {"he", N, N},           // codes are compared exactly
      {"", N, "1"},                                  // no code, no lookup
      {"CHOL", "CHOL", "1"}, {"CHOLESTEROL", N, N},  // longer than any code: no row, without asking
  };
  std::vector<std::string> rows;
  for (size_t i = 0; i < std::size(cases); ++i)
    rows.push_back(Row({{"obscode", "O" + std::to_string(i)},
                        {"description", "d"},
                        {"mapscncode", cases[i].Code},
                        {"mapvalueno", "1"}}));
  EXPECT_EQ(Import(Form(Table("dictobservation", rows))), static_cast<int>(std::size(cases)));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].Code);
    EXPECT_EQ(Rows("SELECT mapscncode, mapvalueno FROM dictobservation WHERE obscode = 'O" +
                   std::to_string(i) + "'"),
              (TRows{{cases[i].Stored, cases[i].Value}}));
  }
  // conceptmap checks both of its codes, each with its own value column.
  EXPECT_EQ(Import(Form(Table("conceptmap", {Row({{"conceptid", "1"},
                                                  {"conceptname", "c"},
                                                  {"maptoscncode", "OLD"},
                                                  {"maptoscnvalueno", "5"},
                                                  {"maptoscncodealt", "OLD"},
                                                  {"maptoscnvaluenoalt", "6"},
                                                  {"maptovalueno", "7"},
                                                  {"maptovaluenoalt", "8"}}),
                                             Row({{"conceptid", "2"},
                                                  {"conceptname", "c"},
                                                  {"maptoscncode", "HE"},
                                                  {"maptoscncodealt", "WT"}})}))),
            2);
  EXPECT_EQ(Rows("SELECT conceptid, maptoscncode, maptoscnvalueno, maptoscncodealt, maptoscnvaluenoalt, "
                 "maptovalueno,"
                 " maptovaluenoalt FROM conceptmap ORDER BY conceptid"),
            (TRows{{"1", N, N, N, N, "7", "8"}, {"2", "HT", N, "WE", N, N, N}}));
  // Other tables have no screening rule.
  EXPECT_EQ(Import(Form(Table("afpicklist", {Row({{"pickid", "1"}, {"picktext", "OLD"}})}))), 1);
  EXPECT_EQ(Rows("SELECT picktext FROM afpicklist"), (TRows{{"OLD"}}));
}

TEST_F(TImportTest, TheTableNameMayDifferInCaseAndTheRulesStillApply) {
  Open();
  Execute("INSERT INTO afitem (formid, itemno, caption) VALUES (1, 1, 'stale')");
  EXPECT_EQ(
      Import(Form(Table("AdvForm", {Row({{"formid", "1"}, {"formname", "f"}, {"billacholderid", "9"}})}) +
                  Table("AFITEM", {Row({{"formid", "1"}, {"itemno", "2"}, {"caption", "new"}})}))),
      2);
  EXPECT_EQ(Rows("SELECT formid, billacholderid FROM advform"), (TRows{{"1", N}}));
  EXPECT_EQ(Rows("SELECT itemno, caption FROM afitem"), (TRows{{"2", "new"}}));
}

TEST_F(TImportTest, AFormsBillacholderidIsNeverTakenFromTheFile) {
  Open("ALTER TABLE advform ALTER billacholderid SET NOT NULL");
  const std::string form =
      Form(Table("advform", {Row({{"formid", "1"}, {"formname", "f"}, {"billacholderid", "9"}})}));
  // A new row gets the NOT NULL default; an updated one keeps what is stored.
  ASSERT_EQ(Import(form), 1);
  EXPECT_EQ(Rows("SELECT billacholderid FROM advform"), (TRows{{"0"}}));
  Execute("UPDATE advform SET billacholderid = 5");
  ASSERT_EQ(Import(form), 1);
  EXPECT_EQ(Rows("SELECT billacholderid FROM advform"), (TRows{{"5"}}));
}

TEST_F(TImportTest, KeysOfEveryHandledTypeFindTheRowAndItsLongColumns) {
  Open(
      "CREATE TABLE keyed (d DOUBLE PRECISION NOT NULL, t TIMESTAMP NOT NULL, c CHAR(3) NOT NULL,"
      " s SMALLINT NOT NULL, v VARCHAR(5), a VARCHAR(300), b BLOB SUB_TYPE 1, e BLOB SUB_TYPE 1,"
      " PRIMARY KEY (d, t, c, s))");
  const auto keyedRow = [](const std::string& n) {
    return Row({{"d", "1.5"},
                {"t", "20240102030405"},
                {"c", "ab"},
                {"s", "7"},
                {"v", "v" + n},
                {"a", "a" + n},
                {"b", "{b" + n + "}"},
                {"e", "{e" + n + "}"}});
  };
  ASSERT_EQ(Import(Form(Table("keyed", {keyedRow("1")}))), 1);
  // The second import finds the row by all four keys, in the row query and in each long column's own.
  ASSERT_EQ(Import(Form(Table("keyed", {keyedRow("2")}))), 1);
  EXPECT_EQ(Rows("SELECT d, t, c, s, v, a, b, e FROM keyed"),
            (TRows{{"1.5", "2024-01-02 03:04:05", "ab ", "7", "v2", "a2", "{b2}", "{e2}"}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(TImportTest, ATableNameLongerThanATableNameCanBeIsPassedOver) {
  Open();
  EXPECT_EQ(ImportTables(Form(Table(std::string(32, 't'), {Pick("1", "lost")}) +
                              Table("afpicklist", {Pick("2", "kept")}))),
            1);
  EXPECT_EQ(Rows("SELECT pickid, picktext FROM afpicklist"), (TRows{{"2", "kept"}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
  EXPECT_FALSE(FDb->Connection().InTransaction());
}

TEST_F(TImportTest, TablesAreWrittenInFileOrderAndAsOftenAsTheyAppear) {
  Open();
  // The second advform element deletes the items the afitem element wrote after the first.
  EXPECT_EQ(Import(Form(Table("advform", {Row({{"formid", "1"}, {"formname", "a"}})}) +
                        Table("afitem", {Row({{"formid", "1"}, {"itemno", "1"}, {"caption", "x"}})}) +
                        Table("afpicklist", {Pick("1", "first")}) +
                        Table("advform", {Row({{"formid", "1"}, {"formname", "b"}})}) +
                        Table("afpicklist", {Pick("1", "second")}))),
            5);
  EXPECT_EQ(Rows("SELECT formname FROM advform"), (TRows{{"b"}}));
  EXPECT_TRUE(Rows("SELECT itemno FROM afitem").empty());
  EXPECT_EQ(Rows("SELECT picktext FROM afpicklist"), (TRows{{"second"}}));
}

TEST_F(TImportTest, LongColumnsAreWrittenAfterTheRowByQueriesOfTheirOwn) {
  Open("ALTER TABLE advform ADD CHECK (formversion < 100)");
  EXPECT_EQ(Import(Form(Table("advform", {Row({{"formid", "1"},
                                               {"formname", "a"},
                                               {"instructions", "first long\\n"},
                                               {"layout", "TWFuTWE="},
                                               {"helptext", "{\\rtf1 x}|ignored"}}),
                                          Row({{"formid", "2"},
                                               {"formname", "b"},
                                               {"formversion", "500"},
                                               {"layout", "TWFu"},
                                               {"helptext", "{h}"}}),
                                          Row({{"formid", "3"}, {"formname", "c"}, {"helptext", "{c}"}})}))),
            2);
  EXPECT_EQ(Rows("SELECT formid, instructions, layout, helptext FROM advform ORDER BY formid"),
            (TRows{{"1", "first long\n", "ManMa", "{\\rtf1 x}"}, {"3", N, N, "{c}"}}));
  // Updating: empty long values clear what is stored; a long VARCHAR is cut and unescaped.
  EXPECT_EQ(
      Import(Form(Table(
          "advform", {Row({{"formid", "1"}, {"formname", "a"}, {"instructions", std::string(1100, 'x')}})}))),
      1);
  EXPECT_EQ(Rows("SELECT char_length(instructions), layout, helptext FROM advform WHERE formid = 1"),
            (TRows{{"1000", N, N}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(TImportTest, ALongColumnTheDatabaseRefusesTakesBackItsWholeRowAndTheImportGoesOn) {
  Open(
      "CREATE TABLE notes (k INTEGER NOT NULL PRIMARY KEY, a VARCHAR(300), n INTEGER,"
      " b VARCHAR(300) CHECK (b <> 'refused'), c BLOB SUB_TYPE 1)");
  const auto note = [](const std::string& k, const std::string& b, const std::string& c) {
    return Row({{"k", k}, {"a", "a" + k}, {"n", k}, {"b", b}, {"c", c}});
  };
  // No half of a row is written: not its first long column, not its other columns, not the long
  // columns after the refused one. The rows after it are written.
  EXPECT_EQ(Import(Form(Table("notes", {note("1", "refused", "{c1}"), note("2", "b2", "{c2}")}))), 1);
  Execute("UPDATE notes SET n = 0");
  EXPECT_EQ(Import(Form(Table("notes", {note("2", "refused", "{c3}"), note("3", "b3", "{c4}")}))), 1);
  EXPECT_EQ(Rows("SELECT k, a, n, b, c FROM notes ORDER BY k"),
            (TRows{{"2", "a2", "0", "b2", "{c2}"}, {"3", "a3", "3", "b3", "{c4}"}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
  EXPECT_FALSE(FDb->Connection().InTransaction());
}

TEST_F(TImportTest, InvalidBase64IsReportedCharacterByCharacter) {
  Open();
  FDialogs.ExpectBox(mrOk);
  FDialogs.ExpectBox(mrOk);
  EXPECT_EQ(
      Import(Form(Table("advform", {Row({{"formid", "1"}, {"formname", "a"}, {"layout", "TW Fu\nTWFu"}})}))),
      1);
  EXPECT_EQ(FDialogs.BoxTexts(), (std::vector<std::string>{"DBLOAD: Invalid Token in Base64 Blob \" \" ",
                                                           "DBLOAD: Invalid Token in Base64 Blob \"\n\" "}));
  EXPECT_EQ(FDialogs.Boxes()[0].Type, mtWarning);
  EXPECT_EQ(Rows("SELECT octet_length(layout) FROM advform"), (TRows{{"7"}}));
}

TEST_F(TImportTest, ColumnsOfUnhandledTypesAreReportedRowByRow) {
  Open(
      "CREATE TABLE odd (k INTEGER NOT NULL PRIMARY KEY, f FLOAT, v VARCHAR(10));"
      "CREATE TABLE fkey (k FLOAT NOT NULL PRIMARY KEY, v VARCHAR(10));"
      "INSERT INTO odd (k, f, v) VALUES (2, 7, 'stored');"
      "INSERT INTO fkey (k, v) VALUES (1.5, 'stored')");
  for (int i = 0; i < 3; ++i) FDialogs.ExpectBox(mrOk);
  EXPECT_EQ(
      Import(Form(Table("odd", {Row({{"k", "1"}, {"f", "1.5"}, {"v", "a"}}), Row({{"k", "2"}, {"v", "b"}}),
                                Row({{"k", "3"}, {"f", "2.5"}, {"v", "c"}})}))),
      3);
  EXPECT_EQ(FDialogs.BoxTexts(), (std::vector<std::string>{
                                     "DBLOAD: Field \"F\" Has a UnHandeled Type 10",
                                     "DBLOAD: INSERTION ERROR Field \"f\" Has a UnHandeled Type 10",
                                     "DBLOAD: INSERTION ERROR Field \"f\" Has a UnHandeled Type 10",
                                 }));
  ExpectErrorBoxes(FDialogs);
  // The value of such a column is left alone; an empty one still clears it.
  EXPECT_EQ(Rows("SELECT k, f, v FROM odd ORDER BY k"), (TRows{{"1", N, "a"}, {"2", N, "b"}, {"3", N, "c"}}));

  // A key of such a type is an explicit null for every row, never an earlier row's value: no stored
  // row is found or changed, and the insert of a null key fails silently.
  TRecordingDialogService dialogs;
  for (int i = 0; i < 5; ++i) dialogs.ExpectBox(mrOk);
  EXPECT_EQ(
      Import(Form(Table("fkey", {Row({{"k", "1.5"}, {"v", "new"}}), Row({{"k", "2.5"}, {"v", "other"}})}))),
      0);
  EXPECT_EQ(dialogs.BoxTexts(), (std::vector<std::string>{
                                    "DBLOAD: Field \"K\" Has a UnHandeled Type 10",
                                    "DBLOAD: INSERTION ERROR Field \"k\" Has a UnHandeled Type 10",
                                    "DBLOAD: INSERTION ERROR Field \"k\" Has a UnHandeled Type 10",
                                    "DBLOAD: INSERTION ERROR Field \"k\" Has a UnHandeled Type 10",
                                    "DBLOAD: INSERTION ERROR Field \"k\" Has a UnHandeled Type 10",
                                }));
  ExpectErrorBoxes(dialogs);
  EXPECT_EQ(Rows("SELECT k, v FROM fkey"), (TRows{{"1.5", "stored"}}));
}

TEST_F(TImportTest, ASelectListThatEndsWithAnEmptyLineStillRuns) {
  const std::string a(30, 'a'), b(30, 'b');
  Open("CREATE TABLE wrapped (k INTEGER NOT NULL PRIMARY KEY, " + a + " INTEGER, " + b + " VARCHAR(5))");
  EXPECT_EQ(Import(Form(Table("wrapped", {Row({{"k", "1"}, {a, "2"}, {b, "x"}})}))), 1);
  EXPECT_EQ(Rows("SELECT k, " + a + ", " + b + " FROM wrapped"), (TRows{{"1", "2", "x"}}));
}

TEST_F(TImportTest, ATableWithMoreThan513ColumnsIsWrittenWhole) {
  std::string create = "CREATE TABLE wide (k INTEGER NOT NULL PRIMARY KEY";
  std::vector<std::pair<std::string, std::string>> columns = {{"k", "1"}};
  for (int i = 1; i < 600; ++i) {
    create += ", c" + std::to_string(i) + " SMALLINT";
    columns.push_back({"c" + std::to_string(i), std::to_string(i)});
  }
  Open(create + ")");
  EXPECT_EQ(Import(Form(Table("wide", {Row(columns)}))), 1);
  EXPECT_EQ(Rows("SELECT c1, c512, c513, c599 FROM wide"), (TRows{{"1", "512", "513", "599"}}));
}

TEST_F(TImportTest, AStartTagThatNeverEndsDamagesTheForm) {
  Open();
  try {
    ImportTables("<xmltable>\r\n" + Table("afpicklist", {Pick("1", "a")}) +
                 "  <afpicklist broken\r\n</xmltable>\r\n");
    ADD_FAILURE() << "imported";
  } catch (const EXMLInputError& e) {
    EXPECT_EQ(e.Message(),
              TXMLFileInput::ErrorText("Tag does not finish on the line it started", 8, FFormPath));
  }
  EXPECT_TRUE(Rows("SELECT pickid FROM afpicklist").empty());
  EXPECT_FALSE(FDb->Connection().InTransaction());
}

TEST_F(TImportTest, ARowAnotherTransactionHoldsIsWaitedForAndTheTableStopsWhenItIsNotReleased) {
  enum TRelease { rlRollback, rlCommit, rlNever };
  const char* const Update = "UPDATE afpicklist SET picktext = 'held' WHERE pickid = 2";
  const char* const Insert = "INSERT INTO afpicklist (pickid, picktext) VALUES (3, 'held')";
  const char* const Conflict =
      "deadlock\n-update conflicts with concurrent update\n-concurrent transaction number is ";
  const char* const KeyHeld = "violation of PRIMARY or UNIQUE KEY constraint \"";
  const TRows Written = {{"1", "new one"}, {"2", "new two"}, {"3", "new three"}};
  struct {
    const char* Name;
    const char* Held;   // what the other transaction changed and holds
    TRelease Release;   // what it does after a second, while the import waits
    int Result;         // -1: the import stops with the engine's error
    const char* Error;  // how the engine's error begins
    TRows Picks;
  } const cases[] = {
      {"a stored row, rolled back", Update, rlRollback, 3, nullptr, Written},
      {"a new row, rolled back", Insert, rlRollback, 3, nullptr, Written},
      // Firebird reports a change committed while the statement waited as an update conflict.
      {"a stored row, committed", Update, rlCommit, -1, Conflict, {{"1", "one"}, {"2", "held"}}},
      {"a stored row, held past the wait", Update, rlNever, -1, Conflict, {{"1", "one"}, {"2", "two"}}},
      // A key that another transaction inserted: once the wait ends, the engine says the key exists,
      // which the row's lookup had not found. Not a row of the form's own fault either.
      {"a new row, committed", Insert, rlCommit, -1, KeyHeld, {{"1", "one"}, {"2", "two"}, {"3", "held"}}},
      {"a new row, held past the wait", Insert, rlNever, -1, KeyHeld, {{"1", "one"}, {"2", "two"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Open(
        "INSERT INTO afpicklist (pickid, picktext) VALUES (1, 'one');"
        "INSERT INTO afpicklist (pickid, picktext) VALUES (2, 'two')");
    // Another user's open transaction, on a connection of its own.
    TDatabase other(nullptr);
    other.SetDatabaseName("dbOther");
    other.Params().Assign(FDb->Db().Params());
    other.Open();
    other.StartTransaction();
    TQuery held(nullptr);
    held.SetDatabaseName("dbOther");
    held.SQL().Add(c.Held);
    held.ExecSQL();
    std::thread release;
    if (c.Release != rlNever) {
      release = std::thread([&other, &c] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        if (c.Release == rlCommit)
          other.Commit();
        else
          other.Rollback();
      });
    }

    const auto start = std::chrono::steady_clock::now();
    int result = -1;
    std::string error;
    bool refusal = true;
    try {
      result = Import(
          Form(Table("afpicklist", {Pick("1", "new one"), Pick("2", "new two"), Pick("3", "new three")})));
    } catch (const EDBEngineError& e) {
      error = e.Message();
      refusal = e.IsRowRefusal();
    } catch (const std::exception& e) {
      error = e.what();  // fails below, after the other transaction's thread has ended
    }
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (release.joinable()) release.join();

    EXPECT_EQ(result, c.Result) << error;
    // Waited for the other transaction, rather than taking its lock for a refusal at once.
    EXPECT_GE(waited, c.Release == rlNever ? LockWaitSeconds - 1 : 0.5);
    if (c.Result < 0) {
      // Not a refused row: the error reaches the caller, whose box shows it, and the table is not committed.
      EXPECT_EQ(error.rfind(c.Error, 0), 0u) << error;
      // The engine's own conflicts are no refusal by their codes; a held key is one by the loader's
      // reading of where the key was refused.
      if (c.Error == Conflict) {
        EXPECT_FALSE(refusal);
      }
      EXPECT_TRUE(FDb->Connection().InTransaction());
    }
    if (other.InTransaction()) other.Rollback();
    EXPECT_EQ(Rows("SELECT pickid, picktext FROM afpicklist ORDER BY pickid"), c.Picks);
    EXPECT_TRUE(FDialogs.Boxes().empty());
  }
}
