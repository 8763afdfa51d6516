#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "formimport/DBLoadConvert.h"
#include "platform/system/DateTime.h"
#include "tests/support/RecordingDialogService.h"

using namespace std::string_literals;

TEST(ParseNumber, ReadsDigitsSignAndOneFraction) {
  const struct {
    std::string Text;
    double Expected;
  } cases[] = {
      {"12.5", 12.5},
      {"-12.5", -12.5},
      {"abc-7", -7},
      {"+7", 7},
      {"- 7", 7},
      {"1,5", 1},
      {"1e3", 1},
      {"12.34.5", 12.34},
      {".5", 0.5},
      {"-.5", -0.5},
      {"x-.25", -0.25},
      {"- .5", 0.5},
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {"007", 7},
      {"3.", 3},
      {"  42  ", 42},
      {"12\0"
       "34"s,
       12},
      {"--3", -3},
      {"0.125", 0.125},
      {"-0", 0},
      {"1.05", 1.05},
      {"a.b5", 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.Text + "'");
    EXPECT_DOUBLE_EQ(ParseNumber(c.Text), c.Expected);
  }
  EXPECT_FALSE(std::signbit(ParseNumber("-0"))) << "0 - 0 is a plain zero";
}

TEST(ParseInteger, RoundsHalvesToEvenAndNeverWraps) {
  const struct {
    std::string Text;
    double Expected;
  } cases[] = {
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"7.49", 7},
      {"0.5", 0},
      {"1.5", 2},
      {"-7.51", -8},
      {"abc", 0},
      {"2147483647", 2147483647},
      // Whole, however large: the column's conversion refuses what does not fit.
      {"2147483648", 2147483648.0},
      {"4294967297", 4294967297.0},
      {"12345678901", 12345678901.0},
      {"-9223372036854775808", -9223372036854775808.0},
      {"99999999999999999999", 1e20},
      {std::string(400, '9'), HUGE_VAL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.Text.substr(0, 30) + "'");
    EXPECT_DOUBLE_EQ(ParseInteger(c.Text), c.Expected);
  }
}

TEST(NumberText, TheDigitsParseNumberReads) {
  const struct {
    std::string Text, Expected;
  } cases[] = {
      {"12.5", "12.5"},
      {"abc-12.50x", "-12.50"},
      {".5", "0.5"},
      {"-.25", "-0.25"},
      {"1,5", "1"},
      {"12.34.5", "12.34"},
      {"", "0"},
      {"abc", "0"},
      {"007", "007"},
      {"3.", "3"},
      {"- 7", "7"},
      {"12\0"
       "34"s,
       "12"},
      {"1.0000000000000000000001", "1.0000000000000000000001"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.Text + "'");
    EXPECT_EQ(NumberText(c.Text), c.Expected);
  }
}

TEST(ParseTimestamp, ReadsTheDateAndOptionalTimeOrFallsBack) {
  const TDateTime jan15 = EncodeDate(2004, 1, 15);
  const struct {
    std::string Text;
    TDateTime Expected;
  } cases[] = {
      {"20040115", jan15},
      {"20040115133005", jan15 + EncodeTime(13, 30, 5, 0)},
      {"2004011513", jan15},                                // an hour alone is no time
      {"2004011513300", jan15 + EncodeTime(13, 30, 0, 0)},  // the second piece is "0"
      {"20040115133005999", jan15 + EncodeTime(13, 30, 5, 0)},
      {"20040115253005", jan15},  // hour 25
      {"20040115136005", jan15},  // minute 60
      {"200401151330xx", jan15},
      {"20041315", 0},
      {"20040230", 0},
      {"20000229", EncodeDate(2000, 2, 29)},
      {"19000229", 0},
      {"1-1-1900", 0},
      {"2004-01-15", 0},
      {"", 0},
      {"2004", 0},
      {"2004011 ", 0},                     // a blank after the digits
      {"   10115", EncodeDate(1, 1, 15)},  // blanks before the digits
      {"$7D40115", jan15},                 // a hexadecimal year
      {"x7D40115", jan15},
      {"+2040115", EncodeDate(204, 1, 15)},
      {"-0040115", 0},
      {"00000115", 0},
      {"99991231235959", EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59, 0)},
      {"18000101120000", EncodeDateTime(1800, 1, 1, 12, 0, 0, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.Text + "'");
    EXPECT_DOUBLE_EQ(ParseTimestamp(c.Text), c.Expected);
  }
  // A moment before the zero date keeps its day when the database takes it apart again.
  int y, m, d, h, n, s, ms;
  DecodeDateTime(ParseTimestamp("18000101120000"), y, m, d, h, n, s, ms);
  EXPECT_EQ(d, 1);
  EXPECT_EQ(h, 12);
}

TEST(UnescapeText, TurnsEscapesBackIntoCharacters) {
  const struct {
    std::string Text;
    std::string Expected;
  } cases[] = {
      {"a\\nb", "a\nb"},
      {"a\\rb", "a\rb"},
      {"\\\\n", "\\n"},
      {"\\\\\\n", "\\\n"},
      {"a\\tb", "a\\tb"},
      {"end\\", "end\\"},
      {"\\", "\\"},
      {"a\xA6"
       "b",
       "a|b"},
      {"\\\xA6", "\\|"},
      {"{\\r\\n\xA6\\\\", "{\\r\\n\xA6\\\\"},  // rich text stands for itself
      {"{\\r", "{\r"},                         // three characters are no rich text
      {"{\\n\\r", "{\n\r"},
      {"", ""},
      {"plain", "plain"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.Text + "'");
    std::string s = c.Text;
    UnescapeText(s);
    EXPECT_EQ(s, c.Expected);
  }
}

namespace {

std::string Decode(const std::string& text) {
  SetBlobSource(text);
  std::string result = "left over";
  DecodeBlob(result);
  return result;
}

}  // namespace

TEST(DecodeBlob, DecodesBase64GroupsUpToTheFirstBar) {
  TRecordingDialogService dialogs;
  const struct {
    std::string Text;
    std::string Expected;
  } cases[] = {
      {"TWFu", "Man"},
      {"TWE=", "Ma"},
      {"TQ==", "M"},
      {"TWFuTWFu", "ManMan"},
      {"TWFu|TWFu", "Man"},
      {"TQ==TWFu", "MMan"},  // decoding goes on after a padded group
      {"", ""},
      {"|TWFu", ""},
      {"AAEC/f7/", "\x00\x01\x02\xfd\xfe\xff"s},
      {"SGVsbG8sIHdvcmxkIQ==", "Hello, world!"},
      {"TWFu\0TWFu"s, "Man"},  // the text ends at its first NUL
      // A short last group never reads past the end: it gives the bytes its characters hold.
      {"TWFuTW", "ManM"},
      {"TWFuTWF", "ManMa"},
      {"TWFuT", "Man"},
      {"TW|Fu", "M"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.Text + "'");
    EXPECT_EQ(Decode(c.Text), c.Expected);
  }
  EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST(DecodeBlob, MatchesAStandardDecoderForEveryByteValue) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  bytes += bytes;  // 512 bytes: the result runs past several growth steps of a small buffer
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (size_t length : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{300}, bytes.size()}) {
    SCOPED_TRACE(length);
    std::string encoded;
    for (size_t i = 0; i < length; i += 3) {
      const unsigned b0 = static_cast<unsigned char>(bytes[i]);
      const unsigned b1 = i + 1 < length ? static_cast<unsigned char>(bytes[i + 1]) : 0;
      const unsigned b2 = i + 2 < length ? static_cast<unsigned char>(bytes[i + 2]) : 0;
      encoded += alphabet[b0 >> 2];
      encoded += alphabet[((b0 & 3) << 4) | (b1 >> 4)];
      encoded += i + 1 < length ? alphabet[((b1 & 15) << 2) | (b2 >> 6)] : '=';
      encoded += i + 2 < length ? alphabet[b2 & 63] : '=';
    }
    EXPECT_EQ(Decode(encoded), bytes.substr(0, length));
  }
}

TEST(DecodeBlob, WarnsOfEveryInvalidCharacterAndGoesOn) {
  const struct {
    std::string Text;
    std::vector<std::string> Boxes;
    size_t Bytes;
  } cases[] = {
      {"TW Fu", {"DBLOAD: Invalid Token in Base64 Blob \" \" "}, 3},  // "TW F", then a lone "u"
      {"TWFu\nTWFu", {"DBLOAD: Invalid Token in Base64 Blob \"\n\" "}, 6},
      {"T*Fu", {"DBLOAD: Invalid Token in Base64 Blob \"*\" "}, 3},
      {"TW\xe9u", {"DBLOAD: Invalid Token in Base64 Blob \"\xe9\" "}, 3},  // codes above 127 are invalid
      {"\x80\xff==",
       {"DBLOAD: Invalid Token in Base64 Blob \"\x80\" ", "DBLOAD: Invalid Token in Base64 Blob \"\xff\" "},
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.Text + "'");
    TRecordingDialogService dialogs;
    for (size_t i = 0; i < c.Boxes.size(); ++i) dialogs.ExpectBox(mrOk);
    EXPECT_EQ(Decode(c.Text).size(), c.Bytes);
    EXPECT_EQ(dialogs.BoxTexts(), c.Boxes);
    for (const TRecordedBox& box : dialogs.Boxes()) {
      EXPECT_EQ(box.Type, mtWarning);
      EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
      EXPECT_EQ(box.HelpContext, 0);
    }
  }
}

TEST(DecodeBlob, InvalidCharactersCountAsAllBitsSet) {
  TRecordingDialogService dialogs;
  dialogs.ExpectBox(mrOk);
  // '*' reads as 255: (255 AND 63) * 4 + ... gives the byte 0xFD from "*QAA".
  EXPECT_EQ(Decode("*QAA"), "\xfd\x00\x00"s);
}

TEST(DecodeBlob, PlainTextFromTheOpeningBraceToTheFirstBar) {
  TRecordingDialogService dialogs;
  const struct {
    std::string Text;
    std::string Expected;
  } cases[] = {
      {"{\\rtf1 \\b bold\\b0 }", "{\\rtf1 \\b bold\\b0 }"},
      {"{a}|{b}", "{a}"},
      {"{ with blanks  }", "{ with blanks  }"},
      {"{", "{"},
      {"{a\0b"s, "{a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.Text + "'");
    EXPECT_EQ(Decode(c.Text), c.Expected);
  }
  EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST(DecodeBlob, TheCursorMovesPastTheValueAndItsBar) {
  TRecordingDialogService dialogs;
  const std::string text = "TWFu|{x}|  {y}";
  SetBlobSource(text);
  std::string value;
  DecodeBlob(value);
  EXPECT_EQ(value, "Man");
  EXPECT_EQ(BlobCursor, text.c_str() + 5);
  DecodeBlob(value);
  EXPECT_EQ(value, "{x}");
  ReadPlainBlob(value);
  EXPECT_EQ(value, "{y}");
  EXPECT_EQ(*BlobCursor, '\0') << "the cursor stays on the end";
  DecodeBlob(value);
  EXPECT_EQ(value, "");
}
