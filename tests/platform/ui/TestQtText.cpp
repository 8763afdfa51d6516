// Texts and paths crossing into Qt and back keep every byte.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "platform/ui/QtText.h"
#include "tests/support/TempFolder.h"

namespace {

TEST(QtTextTest, EveryByteOfATextSurvives) {
  // Bytes as the system holds them, and the characters Qt gets: UTF-8 read as such, every other byte
  // as U+DC00 + the byte.
  struct {
    const char* Name;
    std::string Bytes;
    std::u16string Shown;
  } const cases[] = {
      {"empty", "", u""},
      {"plain", "Form.XML", u"Form.XML"},
      {"control bytes", std::string("\x00\x01\t\r\n\x1b\x7f", 7), std::u16string(u"\0\x01\t\r\n\x1b\x7f", 7)},
      {"UTF-8 name", "ic\xc3\xb4nes", u"ic\u00f4nes"},
      {"Latin-1 byte", "caf\xe9", u"caf\xdce9"},
      {"four-byte character", "\xf0\x9f\x98\x80!", u"\xd83d\xde00!"},
      {"U+FFFD as written", "\xef\xbf\xbd", u"\xfffd"},
      {"U+DC80 encoded is no UTF-8", "\xed\xb2\x80", u"\xdced\xdcb2\xdc80"},
      {"U+DCFF encoded is no UTF-8", "\xed\xb3\xbf", u"\xdced\xdcb3\xdcbf"},
      // U+10080 is the pair D800 DC80; the escapes after it must not be taken for its halves.
      {"pair ending in an escape's value", "\xf0\x90\x82\x80\xed\xb2\x80", u"\xd800\xdc80\xdced\xdcb2\xdc80"},
      {"escaped bytes after a lead byte", "\xf0\xed\xb2\x80", u"\xdcf0\xdced\xdcb2\xdc80"},
      {"overlong form", "\xc0\xaf", u"\xdcc0\xdcaf"},
      {"beyond U+10FFFF", "\xf4\x90\x80\x80", u"\xdcf4\xdc90\xdc80\xdc80"},
      {"cut sequence", "\xe2\x82Z", u"\xdce2\xdc82Z"},
      {"stray continuation", "\x80\xbf", u"\xdc80\xdcbf"},
      {"mixed", "\xc3\xa9\xe9\xc3", u"\u00e9\xdce9\xdcc3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const QString shown = QString::fromStdU16String(c.Shown);
    EXPECT_EQ(ToQString(c.Bytes), shown);
    EXPECT_EQ(FromQString(shown), c.Bytes);
  }

  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(FromQString(ToQString(all)), all);
  std::string pairs;  // every byte after every lead byte
  for (int lead = 0xc0; lead < 0x100; ++lead) {
    for (int b = 0; b < 256; ++b) pairs += {static_cast<char>(lead), static_cast<char>(b)};
  }
  EXPECT_EQ(FromQString(ToQString(pairs)), pairs);
  // A lone half of a pair, which no byte string gives, comes back as U+FFFD.
  EXPECT_EQ(FromQString(QString(QChar(0xd800)) + u'x' + QChar(0xdc10)), "\xef\xbf\xbdx\xef\xbf\xbd");

  // Where a byte's character stands in the string Qt gets.
  EXPECT_EQ(QtPositionOfByte("a\xc3\xa9z", 2), 1);
  EXPECT_EQ(QtPositionOfByte("a\xc3\xa9z", 3), 2);
  EXPECT_EQ(QtPositionOfByte("\xf0\x9f\x98\x80z\xe9", 5), 3);
  EXPECT_EQ(QtPositionOfByte("ab", 7), 2);
}

TEST(QtTextTest, PathsOfAnyBytesSurvive) {
  const std::string paths[] = {
      "/tmp/plain/Form.XML",
      "/tmp/caf\xc3\xa9/r\xc3\xa9sum\xc3\xa9.xml",  // valid UTF-8
      "/tmp/latin\xe9/\x80\xff.xml",                // not UTF-8
      "/tmp/mixed\xc3\xa9\xe9\xc3",                 // a valid sequence, a stray byte, a cut sequence
      "/tmp/\xed\xa0\x80surrogate",                 // an encoded surrogate is not valid UTF-8
      "",
  };
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    EXPECT_EQ(FromQString(ToQString(path)), path);
  }
  EXPECT_EQ(ToQString("/tmp/caf\xc3\xa9"), QString::fromUtf8("/tmp/caf\xc3\xa9"));
}

TEST(QtTextTest, ChosenPathWithUndecodableNameMapsBackToTheFile) {
  TempFolder folder;
  const std::string real = folder.Write("form\xe9\xff.XML", "<x/>");
  folder.Write("other.XML", "<x/>");
  // What a Qt dialog hands back for that file: the name as Qt decoded it, bytes lost.
  const QString shown = QFile::decodeName(QByteArray::fromStdString(real));
  ASSERT_NE(FromQString(shown), real);
  EXPECT_EQ(ResolveChosenPath(shown), real);
  // A name that exists, or one that exists nowhere, is taken as it is.
  EXPECT_EQ(ResolveChosenPath(ToQString(folder.File("other.XML"))), folder.File("other.XML"));
  EXPECT_EQ(ResolveChosenPath(ToQString(folder.File("typed.xml"))), folder.File("typed.xml"));
}

}  // namespace
