#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/system/Exceptions.h"
#include "tests/support/TempFolder.h"
#include "xmlreader/QuXMLFileIn.h"

using namespace std::string_literals;

namespace {

// The message the reader raises: Error, the text, Line n (when n > 0), File "name" (when named).
std::string Expected(const std::string& text, int line, const std::string& file) {
  std::string message = "Error\r\n" + text;
  if (line > 0) message += "\r\nLine " + std::to_string(line);
  if (!file.empty()) message += "\r\nFile \"" + file + "\"";
  return message;
}

std::vector<std::string> Stack(const TXMLFileInput& reader) { return reader.TagStack().Lines(); }

// Runs the operations of ops in order: R ReadRoot, S SkipElement, N NextChildTag, V GetTagValue,
// G GetTagName. Returns the message of the EXMLInputError that one of them raises, or "no error".
std::string RunUntilError(TXMLFileInput& reader, const std::string& ops) {
  try {
    for (const char op : ops) {
      std::string name;
      switch (op) {
        case 'R':
          reader.ReadRoot(name);
          break;
        case 'S':
          reader.SkipElement();
          break;
        case 'N':
          reader.NextChildTag();
          break;
        case 'V':
          (void)reader.GetTagValue();
          break;
        case 'G':
          (void)reader.GetTagName();
          break;
        default:
          ADD_FAILURE() << "unknown operation " << op;
      }
    }
  } catch (const EXMLInputError& e) {
    return e.Message();
  }
  return "no error";
}

// The walk with which the form loader looks for a form's publish code.
std::string ReadPublishCode(const std::string& path) {
  TXMLFileInput reader;
  reader.Open(path);
  std::string root;
  reader.ReadRoot(root);
  std::string code;
  bool found = false;
  while (!reader.EndOfFile() && !found) {
    if (reader.GetTagName() == "advform") {
      reader.NextChildTag();
      if (reader.GetTagName() == "row") reader.NextChildTag();
      while (!reader.EndOfFile()) {
        if (reader.GetTagName() == "publishcode") {
          code = reader.GetTagValue();
          found = true;
          break;
        }
        reader.SkipElement();
      }
    } else {
      reader.SkipElement();
    }
  }
  reader.Close();
  return code;
}

class XmlReader : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) { return FFolder.Write("doc.xml", bytes); }
  // Opens bytes as a file and reads its root.
  void OpenAtRoot(const std::string& bytes) {
    FReader.Open(Write(bytes));
    std::string root;
    FReader.ReadRoot(root);
  }

  TempFolder FFolder;
  TXMLFileInput FReader;
};

}  // namespace

TEST_F(XmlReader, TwelveLineDocumentWalkStepByStep) {
  const std::string path = TestDataFile("xml/walk.xml");
  FReader.Open(path);
  EXPECT_EQ(FReader.LineNumber(), 0);
  EXPECT_FALSE(FReader.EndOfFile());

  std::string root = "unchanged";
  FReader.ReadRoot(root);
  EXPECT_EQ(root, "xmltable");
  EXPECT_EQ(FReader.GetTagName(), "xmltable");
  EXPECT_TRUE(FReader.TagClosed());
  EXPECT_FALSE(FReader.TagOpened());
  EXPECT_EQ(FReader.GetTagValue(), "");
  EXPECT_EQ(Stack(FReader), (std::vector<std::string>{"xmltable"}));
  EXPECT_EQ(FReader.LineNumber(), 2);

  struct Step {
    char op;
    const char* tag;
    std::vector<std::string> stack;
    int lines;
  };
  const std::vector<Step> steps = {
      {'S', "header", {"xmltable", "header"}, 3},
      {'S', "advform", {"xmltable", "advform"}, 6},
      {'N', "row", {"xmltable", "advform", "row"}, 7},
      {'N', "name", {"xmltable", "advform", "row", "name"}, 8},
      {'S', "publishcode", {"xmltable", "advform", "row", "publishcode"}, 9},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(1, step.op) + " to " + step.tag);
    if (step.op == 'S')
      FReader.SkipElement();
    else
      FReader.NextChildTag();
    EXPECT_EQ(FReader.GetTagName(), step.tag);
    EXPECT_TRUE(FReader.TagOpened());
    EXPECT_FALSE(FReader.TagClosed());
    EXPECT_EQ(Stack(FReader), step.stack);
    EXPECT_EQ(FReader.LineNumber(), step.lines);
  }
  EXPECT_EQ(FReader.GetTagValue(), "Q");
  EXPECT_EQ(FReader.GetTagValue(), "Q");
  EXPECT_EQ(FReader.GetTagName(), "publishcode");
  EXPECT_EQ(FReader.LineNumber(), 9);
  EXPECT_EQ(Stack(FReader).size(), 4u);
  EXPECT_EQ(FReader.FileName(), path);
}

TEST_F(XmlReader, WalkWithoutACodeClimbsOutLevelByLevelToTheEnd) {
  FReader.Open(TestDataFile("xml/walk-nocode.xml"));
  EXPECT_EQ(RunUntilError(FReader, "RSSNN"), "no error");
  EXPECT_EQ(FReader.GetTagName(), "name");

  struct Step {
    const char* tag;
    std::vector<std::string> stack;
    bool endOfFile;
  };
  const std::vector<Step> steps = {
      {"/row", {"xmltable", "advform"}, false},
      {"/advform", {"xmltable"}, false},
      {"/xmltable", {}, false},
      {"", {}, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.tag);
    FReader.SkipElement();
    EXPECT_EQ(FReader.GetTagName(), step.tag);
    EXPECT_EQ(Stack(FReader), step.stack);
    EXPECT_EQ(FReader.EndOfFile(), step.endOfFile);
  }
  EXPECT_EQ(FReader.LineNumber(), 11);
  EXPECT_EQ(RunUntilError(FReader, "S"),
            Expected("End of XML file", 11, TestDataFile("xml/walk-nocode.xml")));
}

TEST(XmlReaderWalk, PublishCodeIsFoundInTheFirstRowOnly) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* code;
  };
  const std::vector<Case> cases = {
      {"code after other columns",
       "<xmltable>\r<advform><row><name>n</name><publishcode>L</publishcode></row></advform></xmltable>",
       "L"},
      {"no code", "<xmltable>\r<advform><row><name>n</name></row></advform></xmltable>", ""},
      {"code in the second row only",
       "<xmltable><advform>\r<row><a>1</a></row>\r<row><publishcode>S</publishcode></row>\r</advform></"
       "xmltable>",
       ""},
      {"advform after other tables",
       "<?xml?><xmltable><t><row><publishcode>no</publishcode></row></t><advform><row>"
       "<publishcode>&quot;Q&quot;</publishcode></row></advform></xmltable>",
       "\"Q\""},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadPublishCode(folder.Write("form.xml", c.bytes)), c.code);
  }
  EXPECT_EQ(ReadPublishCode(TestDataFile("xml/walk.xml")), "Q");
}

TEST(XmlReaderErrors, EachMessageNamesItsLineAndFile) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* ops;
    std::string text;
    int line;
  };
  const std::vector<Case> cases = {
      {"empty file", "", "R", "No XML Header", 0},
      {"only a declaration", "<?xml version=\"1.0\"?>\r\n", "R", "No XML Header", 1},
      {"declaration and comments", "<?xml?>\r\n<!-- a -->\r\n<!-- b\r\n-->\r\n", "R", "No XML Header", 4},
      {"only a one-character element", "<a>x</a>", "R", "no error", 0},
      {"'>' on the next line", "<?xml?>\r\n<root\r\n>\r\n", "R", "Tag does not finish on the line it started",
       2},
      {"attributes continue on the next line", "<root>\r\n<a x=\"1\"\r\n y=\"2\">\r\n</a></root>", "RS",
       "Tag does not finish on the line it started", 2},
      {"blank but no '>'", "<root>\r\n\r\n<a \r\n", "RS", "Tag does not finish on the line it started", 3},
      {"empty tag", "<root>\r\n<>\r\n", "RS", "Tag does not have a name", 2},
      {"blank after '<'", "<root>< a>", "RS", "Tag does not have a name", 1},
      {"end tag in other letter case", "<root>\r\n<Item>x</item>\r\n</root>", "RSS",
       "Expecting end tag:\"</Item>\"", 2},
      {"misplaced end tag while skipping", "<root>\r\n<a>\r\n<b>\r\n</a>\r\n", "RSS",
       "Expecting end tag:\"</b>\"", 4},
      {"comment between tags never ends", "<root>\r\n<!-- open\r\nstill open\r\n", "RS",
       "Unexpected End Of File in Comment", 3},
      {"comment in text never ends", "<root><a>text<!-- x\r\ny\r\n", "RSV", "Unexpected End Of File", 2},
      {"child of a start tag at the end of the file", "<root>\r\n<a>", "RSN", "Expecting end tag:\"</a>\"",
       2},
      {"file ends inside a skipped element", "<root>\r\n<a>\r\n<b>text\r\n", "RSS",
       "Expecting end tag:\"</b>\"", 3},
      {"file ends behind a closed tag", "<root>\r\n<a/>", "RSS",
       "Unexpected End Of File\r\nExpecting end tag:\"</root>\"", 2},
      {"file ends behind the root tag", "<root>", "RS",
       "Unexpected End Of File\r\nExpecting end tag:\"</root>\"", 1},
      {"child before the root", "<root></root>", "N", "Cannot have a child tag at root level", 0},
      {"child after the root has closed", "<root>\r\n</root>\r\n<x/>", "RSN",
       "Cannot have a child tag at root level", 2},
      {"step at the end of the file", "<root></root>", "RSSS", "End of XML file", 1},
      {"child at the end of the file", "<root>\r\n<a>x</a>", "RSSN", "End of XML file", 2},
      {"end tag with no element open", "<root>\r\n</root>\r\n</root>", "RSS",
       "No element open for end tag:\"</root>\"", 3},
      {"blank before '/' makes a start tag", "<root>\r\n<a />\r\n</root>", "RSS",
       "Expecting end tag:\"</a>\"", 3},
      {"end tag out of place after its name lost a comment", "<root>\r\n<a<!--x>y-->z</a<!--x>></root>",
       "RSVN", "Tag out of place:\"</a<!--x>\"", 2},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Write("bad.xml", c.bytes);
    TXMLFileInput reader;
    reader.Open(path);
    const std::string expected = c.text == "no error" ? c.text : Expected(c.text, c.line, path);
    EXPECT_EQ(RunUntilError(reader, c.ops), expected);
  }
}

TEST_F(XmlReader, OpeningASecondFileKeepsTheFirstOpen) {
  const std::string first = FFolder.Write("first.xml", "<?xml?>\r\n<root>\r\n<a>1</a>\r\n</root>");
  FReader.Open(first);
  EXPECT_EQ(RunUntilError(FReader, "RS"), "no error");
  try {
    FReader.Open(FFolder.Write("second.xml", "<other/>"));
    FAIL() << "a second file was opened";
  } catch (const EXMLInputError& e) {
    EXPECT_EQ(e.Message(), "Error\r\nA file is currently open\r\nLine 3\r\nFile \"" + first + "\"");
  }
  EXPECT_EQ(FReader.FileName(), first);
  EXPECT_EQ(FReader.GetTagValue(), "1");
}

TEST_F(XmlReader, MissingFileRaisesInOutErrorAndLeavesNoFileOpen) {
  const std::string missing = FFolder.File("missing.xml");
  try {
    FReader.Open(missing);
    FAIL() << "a missing file was opened";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "File not found");
  }
  EXPECT_EQ(FReader.FileName(), "");
  EXPECT_TRUE(FReader.EndOfFile());
  EXPECT_EQ(FReader.GetTagName(), "");
  // The reader is still usable.
  FReader.Open(Write("<root/>"));
  std::string root;
  FReader.ReadRoot(root);
  EXPECT_EQ(root, "root/");
}

TEST_F(XmlReader, EndOfFileBeforeOpenAtTheEndAndAfterClose) {
  EXPECT_TRUE(FReader.EndOfFile());
  EXPECT_EQ(FReader.GetTagValue(), "");
  FReader.Open(Write(""));
  EXPECT_TRUE(FReader.EndOfFile());
  FReader.Close();
  EXPECT_TRUE(FReader.EndOfFile());
  EXPECT_EQ(FReader.FileName(), "");

  // Reopened, the reader starts afresh.
  FReader.Open(Write("<root>\r\n<a>1</a>\r\n</root>\r\n"));
  EXPECT_EQ(FReader.LineNumber(), 0);
  EXPECT_EQ(FReader.TagStack().Count(), 0);
  EXPECT_EQ(RunUntilError(FReader, "RSS"), "no error");
  EXPECT_FALSE(FReader.EndOfFile());
  EXPECT_EQ(FReader.GetTagName(), "/root");
  FReader.SkipElement();
  EXPECT_TRUE(FReader.EndOfFile());
  EXPECT_EQ(FReader.GetTagName(), "");
  EXPECT_EQ(FReader.LineNumber(), 3);
  FReader.Close();
  EXPECT_TRUE(FReader.EndOfFile());
  EXPECT_EQ(FReader.TagStack().Count(), 0);
}

TEST_F(XmlReader, TwoElementsOnOneLineEachWithItsText) {
  OpenAtRoot("<root>\r\n<a>one</a><b>two &amp; more</b>\r\n<c>three</c>\r\n</root>");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "a");
  EXPECT_EQ(FReader.GetTagValue(), "one");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "b");
  EXPECT_EQ(FReader.GetTagValue(), "two & more");
  EXPECT_EQ(FReader.LineNumber(), 2);
  FReader.NextChildTag();
  EXPECT_EQ(FReader.GetTagName(), "/b");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "c");
  EXPECT_EQ(FReader.GetTagValue(), "three");
  EXPECT_EQ(FReader.LineNumber(), 3);
}

TEST_F(XmlReader, ElementTextAsWritten) {
  struct Case {
    const char* name;
    std::string element;  // the first child of the root, whose text is read
    std::string text;
  };
  const std::vector<Case> cases = {
      {"text on its own lines", "<v>\r\nline one\r\n  line two\r\n</v>", "\r\nline one\r\n  line two\r\n"},
      {"blanks kept", "<v>  a  b  </v>", "  a  b  "},
      {"lone LF is text", "<v>a\nb</v>", "a\nb"},
      {"attributes are not text", "<v id=\"1\" x='>'>t</v>", "'>t"},
      {"comment over three lines joins without a break", "<v>before<!-- one\r\ntwo\r\nthree -->after</v>",
       "beforeafter"},
      {"comment on one line", "<v>a<!-- c -->b</v>", "ab"},
      {"'->' before a comment does not end it", "<v>x->y<!-- c -->z</v>", "x->yz"},
      {"'<!->' is a whole comment in text", "<v>a<!->b</v>", "ab"},
      {"several comments in one text", "<v>x<!--1-->y<!--2-->z</v>", "xyz"},
      {"comment ends with the first '->' on its closing line", "<v>a<!-- x\r\ny -> z -->b</v>", "a z -->b"},
      {"comment behind the text ends on a later line", "<v>a<!--\r\n-->\r\nb</v>", "a\r\nb"},
      {"empty text", "<v></v>", ""},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TXMLFileInput reader;
    reader.Open(folder.Write("v.xml", "<root>\r\n" + c.element + "\r\n</root>\r\n"));
    EXPECT_EQ(RunUntilError(reader, "RS"), "no error");
    EXPECT_EQ(reader.GetTagName(), "v");
    EXPECT_EQ(reader.GetTagValue(), c.text);
    EXPECT_EQ(reader.GetTagValue(), c.text);
    // The walk goes on behind the text to the element's end tag and the root's.
    reader.NextChildTag();
    EXPECT_EQ(reader.GetTagName(), "/v");
    reader.SkipElement();
    EXPECT_EQ(reader.GetTagName(), "/root");
    reader.SkipElement();
    EXPECT_TRUE(reader.EndOfFile());
  }
}

TEST_F(XmlReader, TextRunningToTheEndOfTheFile) {
  OpenAtRoot("<root><v>first\r\nsecond<!-- c -->third<!-- d -->fourth");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagValue(), "first\r\nsecondthirdfourth");
  EXPECT_EQ(FReader.LineNumber(), 2);
  EXPECT_EQ(RunUntilError(FReader, "N"), Expected("Expecting end tag:\"</v>\"", 2, FFolder.File("doc.xml")));
}

TEST_F(XmlReader, WholeDocumentOnItsLastLineKeepsTheTextBehindEveryComment) {
  // The file is at its end as soon as this one line is read: no text may be lost behind a comment.
  OpenAtRoot("<root><v>a<!--1-->b<!--2-->c</v><w>d<!--3--></w></root>");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagValue(), "abc");
  EXPECT_EQ(FReader.GetTagValue(), "abc");
  FReader.NextChildTag();
  EXPECT_EQ(FReader.GetTagName(), "/v");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "w");
  EXPECT_EQ(FReader.GetTagValue(), "d");
  FReader.NextChildTag();
  EXPECT_EQ(FReader.GetTagName(), "/w");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "/root");
  FReader.SkipElement();
  EXPECT_TRUE(FReader.EndOfFile());
  EXPECT_EQ(FReader.LineNumber(), 1);
}

TEST_F(XmlReader, CommentsBetweenTags) {
  OpenAtRoot(
      "<?xml?>\r\n<!-- before\r\nthe root -->\r\n<root>\r\n<!-- one --><!-- two <x> "
      "-->\r\n<a/><!--\r\n<b>\r\n-->"
      "<c/>\r\n</root>\r\n<!-- after the end -->");
  EXPECT_EQ(FReader.GetTagName(), "root");
  EXPECT_EQ(FReader.LineNumber(), 4);
  // A comment right behind another is searched as text: the "<x>" inside it is read as a tag.
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "x");
  EXPECT_EQ(Stack(FReader), (std::vector<std::string>{"root", "x"}));
  EXPECT_EQ(RunUntilError(FReader, "S"), Expected("Expecting end tag:\"</x>\"", 9, FFolder.File("doc.xml")));
}

TEST_F(XmlReader, CommentsBetweenTagsOverSeveralLinesAreSkipped) {
  OpenAtRoot("<root>\r\n<a/><!--\r\n<b>\r\n-->\r\n<c/><!---->\r\n</root>\r\n<!-- after the end -->");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "a");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "c");
  EXPECT_EQ(FReader.LineNumber(), 5);
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "/root");
  FReader.SkipElement();
  EXPECT_TRUE(FReader.EndOfFile());
  EXPECT_EQ(FReader.LineNumber(), 7);
}

TEST(XmlReaderEntities, DecodedInOrderAndOverAndOver) {
  struct Case {
    const char* raw;
    const char* decoded;
  };
  const std::vector<Case> cases = {
      {"a &lt; b &gt; c", "a < b > c"},
      {"&quot;q&quot; &apos;s&apos;", "\"q\" 's'"},
      {"&amp;lt;", "<"},
      {"&amp;amp;", "&"},
      {"&amp;amp;amp;gt;", ">"},
      {"&amp;&amp;", "&&"},
      {"&#60; &#x3C;", "&#60; &#x3C;"},
      {"&AMP; &Lt;", "&AMP; &Lt;"},
      {"&lt;amp;", "<amp;"},
      {"&&amp;", "&&"},
      {"&amp", "&amp"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raw);
    TXMLFileInput reader;
    reader.Open(folder.Write("e.xml", std::string("<root><v>") + c.raw + "</v></root>"));
    EXPECT_EQ(RunUntilError(reader, "RS"), "no error");
    EXPECT_EQ(reader.GetTagValue(), c.decoded);
  }
}

TEST_F(XmlReader, NamesAreDecodedButPushedAsWritten) {
  OpenAtRoot("<r&amp;s>\r\n<n&lt;1 a=\"&gt;\">t</n&lt;1>\r\n</r&amp;s>");
  EXPECT_EQ(FReader.GetTagName(), "r&s");
  // Only the root is pushed decoded; its end tag then no longer matches.
  EXPECT_EQ(Stack(FReader), (std::vector<std::string>{"r&s"}));
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "n<1");
  // Compared in place, the name is the decoded one as well.
  EXPECT_TRUE(FReader.TagNameIs("n<1"));
  EXPECT_FALSE(FReader.TagNameIs("n&lt;1"));
  EXPECT_FALSE(FReader.TagNameIs("n1"));
  EXPECT_EQ(Stack(FReader), (std::vector<std::string>{"r&s", "n&lt;1"}));
  FReader.NextChildTag();
  EXPECT_EQ(FReader.GetTagName(), "/n<1");
  EXPECT_TRUE(FReader.TagNameIs("/n<1"));
  EXPECT_EQ(RunUntilError(FReader, "S"),
            Expected("Expecting end tag:\"</r&s>\"", 3, FFolder.File("doc.xml")));
}

TEST_F(XmlReader, ReadRootGivesTheNameAsWritten) {
  FReader.Open(Write("<r&amp;s>"));
  std::string root;
  FReader.ReadRoot(root);
  EXPECT_EQ(root, "r&amp;s");
  root = "kept";
  FReader.ReadRoot(root);  // the root has been read already
  EXPECT_EQ(root, "kept");
}

TEST_F(XmlReader, OneCharacterRootIsPassedOver) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* root;
  };
  const std::vector<Case> cases = {
      {"next longer tag", "<a>\r\n<root>", "root"},
      {"its own end tag", "<a>x</a>", "/a"},
      {"declarations first", "<?xml?><!DOCTYPE x><b><table>", "table"},
      {"empty-element tag of two characters", "<?xml?><b/><table>", "b/"},
      {"empty-element root keeps its slash", "<ok/>", "ok/"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TXMLFileInput reader;
    reader.Open(folder.Write("one.xml", c.bytes));
    std::string root;
    reader.ReadRoot(root);
    EXPECT_EQ(root, c.root);
    EXPECT_EQ(reader.TagStack().Lines(), std::vector<std::string>{c.root});
  }
}

TEST_F(XmlReader, ClosedTagsStayUnderNextChildTag) {
  OpenAtRoot("<root>\r\n<e/>\r\n<t>text</t>\r\n</root>");
  // On the root just read.
  FReader.NextChildTag();
  EXPECT_EQ(FReader.GetTagName(), "root");
  EXPECT_EQ(FReader.GetTagValue(), "");
  EXPECT_EQ(FReader.LineNumber(), 1);
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "e");
  EXPECT_TRUE(FReader.TagOpened());
  EXPECT_TRUE(FReader.TagClosed());
  FReader.NextChildTag();
  EXPECT_EQ(FReader.GetTagName(), "e");
  EXPECT_EQ(FReader.GetTagValue(), "");
  EXPECT_EQ(Stack(FReader), (std::vector<std::string>{"root"}));
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "t");
  // An element with only text: its first "child" is its own end tag.
  FReader.NextChildTag();
  EXPECT_EQ(FReader.GetTagName(), "/t");
  EXPECT_FALSE(FReader.TagOpened());
  EXPECT_TRUE(FReader.TagClosed());
  FReader.NextChildTag();
  EXPECT_EQ(FReader.GetTagName(), "/t");
}

TEST_F(XmlReader, SkippingANestedElementCountsEveryLine) {
  OpenAtRoot(
      "<root>\r\n<big>\r\n<x>1\r\n2</x>\r\n<y><z/>\r\n<!-- "
      "c\r\n-->\r\n</y>\r\n</big>\r\n\r\n<after/>\r\n</root>\r\n");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "big");
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "after");
  EXPECT_EQ(FReader.LineNumber(), 11);
  EXPECT_EQ(Stack(FReader), (std::vector<std::string>{"root"}));
}

TEST_F(XmlReader, FileEndingBehindAnEndTagWithOuterElementsOpen) {
  OpenAtRoot("<root>\r\n<a>x</a>");
  FReader.SkipElement();
  FReader.SkipElement();
  EXPECT_TRUE(FReader.EndOfFile());
  EXPECT_EQ(Stack(FReader), (std::vector<std::string>{"root"}));
  EXPECT_EQ(RunUntilError(FReader, "N"), Expected("End of XML file", 2, FFolder.File("doc.xml")));
}

TEST_F(XmlReader, SkipElementReadsTheRootWhenCalledFirst) {
  FReader.Open(Write("<?xml?>\r\n<root>\r\n<first/>\r\n</root>"));
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagName(), "first");
  EXPECT_EQ(Stack(FReader), (std::vector<std::string>{"root"}));
  EXPECT_EQ(FReader.LineNumber(), 3);
}

TEST_F(XmlReader, CtrlZEndsTheDocument) {
  OpenAtRoot(
      "<root>\r\n</root>"
      "\x1a"
      "<garbage");
  FReader.SkipElement();
  FReader.SkipElement();
  EXPECT_TRUE(FReader.EndOfFile());
}

TEST_F(XmlReader, LongLinesAndManyLinesTakeLinearTime) {
  // Quadratic work on any of these would take minutes, not seconds.
  const int count = 200000;
  std::string sameLine = "<root>";
  for (int i = 0; i < count; ++i) sameLine += "<a>x<!-- c -->y</a>";
  sameLine += "</root>";
  std::string blanks = "<root><b>";
  for (int i = 0; i < count; ++i) blanks += "<c ";
  blanks += ">";
  std::string lines = "<root>\r<v>";
  for (int i = 0; i < count; ++i) lines += "text\r";
  lines += "</v></root>";

  const auto start = std::chrono::steady_clock::now();
  OpenAtRoot(sameLine);
  int elements = 0;
  for (FReader.SkipElement(); !FReader.EndOfFile(); FReader.SkipElement()) {
    if (FReader.GetTagName() == "a") {
      ++elements;
      ASSERT_EQ(FReader.GetTagValue(), "xy");
    }
  }
  EXPECT_EQ(elements, count);
  FReader.Close();

  // Every "<c " looks for a ">" to the end of the line; the tags become open elements.
  OpenAtRoot(blanks);
  FReader.SkipElement();
  FReader.NextChildTag();
  EXPECT_EQ(RunUntilError(FReader, "S"), Expected("Expecting end tag:\"</c>\"", 1, FFolder.File("doc.xml")));
  EXPECT_EQ(FReader.TagStack().Count(), 2 + count);
  FReader.Close();

  OpenAtRoot(lines);
  FReader.SkipElement();
  EXPECT_EQ(FReader.GetTagValue().size(), static_cast<size_t>(count) * 6);
  EXPECT_EQ(FReader.LineNumber(), count + 2);
  FReader.Close();

  // Every "<a" of a 1 MB line begins a tag whose name runs on to the ">" at the line's end, over the
  // names of all the tags behind it; walked as the form loader walks, and step by step into each.
  const int overlapping = 500000;
  std::string names = "<xmltable>";
  for (int i = 0; i < overlapping; ++i) names += "<a";
  names += ">\r\n";
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const long peakBefore = usage.ru_maxrss;
  const std::string endTagError = Expected("Expecting end tag:\"</a>\"", 1, FFolder.File("doc.xml"));
  for (const std::string& ops : {"SS"s, "S" + std::string(overlapping, 'N')}) {
    OpenAtRoot(names);
    EXPECT_EQ(RunUntilError(FReader, ops), endTagError);
    EXPECT_EQ(FReader.TagStack().Count(), 1 + overlapping);
    FReader.Close();
  }
  getrusage(RUSAGE_SELF, &usage);
  EXPECT_LT(usage.ru_maxrss - peakBefore, 100 * 1024) << "KiB more at the peak";

  // A name of megabytes is shown by its start only.
  OpenAtRoot("<root><" + std::string(2000000, 'n') + ">\r\n");
  EXPECT_EQ(
      RunUntilError(FReader, "SS"),
      Expected("Expecting end tag:\"</" + std::string(256, 'n') + "...>\"", 1, FFolder.File("doc.xml")));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 20.0);
}
