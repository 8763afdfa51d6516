#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formimport/DBLoadCut.h"
#include "tests/formimport/PlainCutting.h"
#include "xmlreader/QuXMLFileIn.h"

using namespace std::string_literals;

TEST(FindFrom, FindsTheFirstWholeMatchAtOrAfterTheStart) {
  const struct {
    std::string Sub, S;
    size_t From, Expected;
  } cases[] = {
      {"ab", "xabab", 1, 2}, {"ab", "xabab", 3, 4}, {"ab", "xabab", 5, 0},
      {"ab", "xa", 1, 0},    {"a", "a", 1, 1},      {"a", "", 1, 0},
      {"abc", "ab", 1, 0},   {"b", "abc", 9, 0},    {"A", "a", 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Sub + " in " + c.S + " from " + std::to_string(c.From));
    EXPECT_EQ(FindFrom(c.Sub, c.S, c.From), c.Expected);
  }
}

TEST(CutElement, RemovesTheFirstElementAndGivesItsContent) {
  const struct {
    std::string Name, Buffer, Inner, Rest;
  } cases[] = {
      {"a", "x<a>1</a>y<a>2</a>", "1", "xy<a>2</a>"},
      {"a", "<a id=\"3\">v</a>", "v", ""},
      {"a", "<a />rest", "", "rest"},
      {"a", "<a/>rest", "", "<a/>rest"},  // no blank before the slash: not found
      {"a", "<a></a>z", "", "z"},
      {"a", "<A>v</A>", "", "<A>v</A>"},        // names are compared exactly
      {"a", "<a\tx>v</a>", "", "<a\tx>v</a>"},  // a tab after the name is not recognised
      {"a", "<ab>v</ab><a>w</a>", "w", "<ab>v</ab>"},
      {"a", "<a>v", "", "v"},     // no end tag: the start tag is lost
      {"a", "<a x", "", "<a x"},  // no ">" at all: nothing changes
      {"a", "<a> lead and trail </a>", " lead and trail ", ""},
      {"row", "<row><b>1</b></row><row>2</row>", "<b>1</b>", "<row>2</row>"},
      {"row", "<row><c>1</c>\r\n<row><c>2</c></row>", "<c>1</c>\r\n<row><c>2</c>", ""},
      {"a", "<a>1</a >", "", "1</a >"},  // no blanks in an end tag
      {"a", "<a b=\"/\">v</a>", "v", ""},
      {"a", "<a x/>", "", ""},
      {"a", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name + " in " + c.Buffer);
    std::string buffer = c.Buffer;
    std::string inner = "old";
    CutElement(c.Name, buffer, inner);
    EXPECT_EQ(inner, c.Inner);
    EXPECT_EQ(buffer, c.Rest);
  }
}

TEST(CutElement, CuttingEveryRowLeavesWhatStoodBetweenThem) {
  std::string table =
      "\r\n  <row><k>1</k></row>\r\n  <row><k>2</k></row>\r\n  <row />\r\n  <row><k>4</k></row>\r\n";
  TCutBuffer buffer(table);
  std::string row;
  std::vector<std::string> rows;
  for (CutElement("row", buffer, row); !row.empty(); CutElement("row", buffer, row)) rows.push_back(row);
  EXPECT_EQ(rows, (std::vector<std::string>{"<k>1</k>", "<k>2</k>"}));
  EXPECT_EQ(buffer.Str(), "\r\n  \r\n  \r\n  \r\n  <row><k>4</k></row>\r\n") << "an empty row ends the table";
}

TEST(CutElement, AStartTagBroughtTogetherByACutIsFound) {
  // Cutting <b> joins "<ro" and "w>": the next search sees the tag the deletion made.
  std::string buffer = "<ro<b>x</b>w>1</row>";
  std::string inner;
  CutElement("b", buffer, inner);
  EXPECT_EQ(inner, "x");
  CutElement("row", buffer, inner);
  EXPECT_EQ(inner, "1");
  EXPECT_EQ(buffer, "");

  TCutBuffer cut("<ro<b>x</b>w>1</row><row>2</row>");
  CutElement("row", cut, inner);  // remembers where no row begins...
  EXPECT_EQ(inner, "2");
  CutElement("b", cut, inner);  // ...which this cut changes
  CutElement("row", cut, inner);
  EXPECT_EQ(inner, "1");
}

TEST(CutElement, TheBufferGivesTheSameResultsAsPlainDeletion) {
  // Random texts from a few tag pieces and random cut sequences: the gap buffer and its remembered
  // searches must give exactly what deleting from a plain string gives. A long piece takes the
  // searches over long stretches too.
  const std::string blanks(5000, ' ');
  const char* pieces[] = {"<row>", "</row>", "<row ", "<row />",    "<a>",         "</a>", "<a ",
                          "/>",    ">",      "<",     "x",          " ",           "\r\n", "<b>",
                          "</b>",  "<ro",    "w>",    "<!-- c -->", blanks.c_str()};
  const char* names[] = {"row", "a", "b", "ro", "!--"};
  std::mt19937 random(12345);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];
    SCOPED_TRACE(text);
    std::string plain = text;
    TCutBuffer fast(text);
    for (int step = 0; step < 12; ++step) {
      const std::string name = names[random() % std::size(names)];
      std::string expectedInner, inner;
      PlainCut(name, plain, expectedInner);
      if (step % 2 == 0) {
        CutElement(name, fast, inner);
        ASSERT_EQ(inner, expectedInner) << "cut " << step << " of " << name;
      } else {
        // In place, as tables and rows are cut: the content is a view into the gap, and cutting
        // inside it, again in place, changes nothing of the text around it.
        TCutBuffer view, nestedView;
        CutElement(name, fast, view);
        ASSERT_EQ(view.Str(), expectedInner) << "cut " << step << " of " << name;
        const std::string nested = names[random() % std::size(names)];
        std::string expectedNested;
        PlainCut(nested, expectedInner, expectedNested);
        CutElement(nested, view, nestedView);
        ASSERT_EQ(nestedView.Str(), expectedNested) << "cut " << step << " of " << nested << " in " << name;
        ASSERT_EQ(view.Str(), expectedInner) << "cut " << step << " of " << nested << " in " << name;
      }
      ASSERT_EQ(fast.Str(), plain) << "cut " << step << " of " << name;
      ASSERT_EQ(FirstTagName(fast), FirstTagName(plain));
    }
  }
}

TEST(FirstTagName, NamesTheFirstTagWhateverItStarts) {
  const struct {
    std::string Text, Expected;
  } cases[] = {
      {"  <advform>", "advform"},
      {"<afitem attr=\"1\">", "afitem"},
      {"<!-- comment -->", "!--"},
      {"</end>", "/end"},
      {"<empty/>", "empty/"},
      {"< x>", ""},
      {"<>", ""},
      {"no tag", ""},
      {"", ""},
      {"<unterminated", "unterminated"},  // the scan stops at the end of the text
      {"<tab\tname>", "tab\tname"},
      {"<a\r\n b>", "a\r\n"},
      {"text<first><second>", "first"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(FirstTagName(c.Text), c.Expected);
    TCutBuffer buffer(c.Text);
    EXPECT_EQ(FirstTagName(buffer), c.Expected);
  }
}

TEST(DecodeXMLEntities, DecodesFiveEntitiesInOrderAndJoinsWrappedLines) {
  const struct {
    std::string Text, Expected;
  } cases[] = {
      {"a &lt;b&gt; &apos;c&apos; &quot;d&quot; e&amp;f", "a <b> 'c' \"d\" e&f"},
      {"&amp;lt;", "&lt;"},
      {"&#60;", "&#60;"},
      {"&LT;", "&LT;"},
      {"one\r\ntwo\r\nthree", "onetwothree"},
      {"lone\nfeed\rreturn", "lone\nfeed\rreturn"},
      {"\r\r\n\n", ""},
      {"x\r\r\n\ny\r", "xy\r"},
      {"\n\r", "\n\r"},
      {"  spaced  ", "  spaced  "},
      {"&lt;&gt;", "<>"},
      {"&am&amp;p;", "&am&p;"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(DecodeXMLEntities(c.Text), c.Expected);
  }
}

TEST(CutForm, GivesTheTablesAndRowsThatCuttingThemOneAfterAnotherGives) {
  // Random forms, whole or with pieces lost, comments and stray tags among them: every form taken as
  // whole must give exactly the tables and rows that the cuts one after another give.
  const char* pieces[] = {
      "<row>",         "</row>", "<row />", "<k>1</k>",   "<k>2</k>",
      "<row a=\"1\">", "<t>",    "</t>",    "<u>",        "</u>",
      "<u />",         "<ro",    "w>",      "<!-- c -->", "<!-- c --><!-- <row>3</row> -->",
      "<!--",          "-->",    "<?pi?>",  "</x>",       " ",
      "\r\n",          "x"};
  const std::string structure[] = {"<t>",   "<row>",    "<k>1</k>", "</row>",
                                   "<row>", "<k>2</k>", "</row>",   "</t>"};
  // A start tag split around a row: the cut of the row joins its halves.
  const char* split[][2] = {{"<", "row>"}, {"<r", "ow>"}, {"<ro", "w "}, {"<row", ">"}};
  std::mt19937 random(2024);
  int whole = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string text = random() % 4 == 0 ? "<!-- <xmltable> -->" : "";
    text += "<xmltable>";
    if (random() % 2) text += "<header><row><k>9</k></row></header>";
    const int tables = static_cast<int>(random() % 4);
    for (int t = 0; t < tables; ++t) {
      const char* const* around = random() % 10 == 0 ? split[random() % std::size(split)] : nullptr;
      for (const std::string& piece : structure) {
        if (random() % 40 == 0) continue;  // a piece lost
        if (around && piece == "<row>") text += around[0];
        text += piece;
        if (around && piece == "</row>") text += around[1];
        if (random() % 6 == 0) text += pieces[random() % std::size(pieces)];
      }
    }
    text += "</xmltable>";
    if (random() % 8 == 0) text.resize(random() % (text.size() + 1));  // cut off
    SCOPED_TRACE(text);
    try {
      const TCutForm form(text, "f.xml");
      ++whole;
      EXPECT_EQ(FormTables(form), PlainTables(text));
    } catch (const EXMLInputError&) {
    }
  }
  // Most forms are whole: the comparison is not left to a few.
  EXPECT_GT(whole, 1500);
}

TEST(CutForm, ADamagedFormNamesTheEndItLacksAndTheLine) {
  const struct {
    const char* Name;
    std::string Text, Message;
    int Line;
  } cases[] = {
      {"an empty file", "", "Expecting start tag:\"<xmltable>\"", 0},
      {"another root", "<forms>\r\n<t></t>\r\n</forms>\r\n", "Expecting start tag:\"<xmltable>\"", 3},
      {"cut after a line", "<xmltable>\r\n<t>\r\n<row><k>1</k></row>\r\n",
       "Expecting end tag:\"</xmltable>\"", 3},
      {"cut inside a tag", "<xmltable>\r\n<t>\r\n<row><k>1</k></ro", "Expecting end tag:\"</xmltable>\"", 3},
      {"a table's end tag lost", "<xmltable>\r\n<t>\r\n<row><k>1</k></row>\r\n</xmltable>\r\n",
       "Expecting end tag:\"</t>\"", 4},
      {"the last row's end tag lost", "<xmltable><t>\r\n<row><k>1</k>\r\n</t>\r\n</xmltable>",
       "Expecting end tag:\"</row>\"", 3},
      {"a row's end tag lost before the next row",
       "<xmltable><t>\r\n<row><k>1</k>\r\n<row><k>2</k></row>\r\n</t></xmltable>",
       "Expecting end tag:\"</row>\"", 3},
      {"a table that ends in the next of its name",
       "<xmltable>\r\n<t><row>1</row>\r\n<u></u>\r\n<t><row>2</row></t></xmltable>",
       "Expecting end tag:\"</t>\"", 4},
      {"the header's end tag lost", "<xmltable>\r\n<header><title>x</title>\r\n<t></t>\r\n</xmltable>",
       "Expecting end tag:\"</header>\"", 4},
      {"a start tag without its end", "<xmltable>\r\n<t broken\r\n</xmltable>",
       "Tag does not finish on the line it started", 2},
      {"a row tag without its end", "<xmltable><t>\r\n<row k=\"1\"\r\n</t></xmltable>",
       "Tag does not finish on the line it started", 2},
      {"a tag begun before a row and ended behind it",
       "<xmltable><t>\r\n<ro<row>1</row>w>2</row></t></xmltable>",
       "Tag does not finish on the line it started", 2},
      {"a tag without a name", "<xmltable>\r\n< t>\r\n</xmltable>", "Tag does not have a name", 2},
      {"a comment to the end", "<xmltable>\r\n<!-- <t>\r\n</t>\r\n</xmltable>\r\n",
       "Unexpected End Of File in Comment", 4},
      // The lines of what was taken out still count.
      {"lines of a comment", "<!--\r\n\r\n-->\r\n<xmltable>\r\n<t>\r\n</xmltable>",
       "Expecting end tag:\"</t>\"", 6},
      {"lines of the header", "<xmltable><header>\r\n\r\n</header><t>\r\n</xmltable>",
       "Expecting end tag:\"</t>\"", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      TCutForm form(c.Text, "f.xml");
      ADD_FAILURE() << "taken as whole";
    } catch (const EXMLInputError& e) {
      EXPECT_EQ(e.Message(), TXMLFileInput::ErrorText(c.Message, c.Line, "f.xml"));
    }
  }
  // Whole forms: empty ones, a comment that runs on behind the end, and what needs no end tag.
  for (const std::string& text :
       {"<xmltable />"s, "<xmltable></xmltable>"s, "<xmltable></xmltable><!-- and on"s,
        "<xmltable><t /><?pi?></x><!DOCTYPE x><u>\r\n<row>1</row><row />\r\n<row></u></xmltable>"s}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(FormTables(TCutForm(text, "f.xml")), PlainTables(text));
  }
}
