// Texts and paths crossing into Qt and back keep every byte.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "platform/ui/QtText.h"
#include "tests/support/TempFolder.h"

namespace {

TEST(QtTextTest, EveryByteOfATextSurvives) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(FromQString(ToQString(all)), all);
  EXPECT_EQ(ToQString("caf\xe9"), QString::fromUtf8("caf\xc3\xa9"));
  EXPECT_EQ(FromQString(QString::fromUtf8("\xc3\xa9")), "\xe9");
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
    EXPECT_EQ(PathFromQString(PathToQString(path)), path);
  }
  EXPECT_EQ(PathToQString("/tmp/caf\xc3\xa9"), QString::fromUtf8("/tmp/caf\xc3\xa9"));
}

TEST(QtTextTest, ChosenPathWithUndecodableNameMapsBackToTheFile) {
  TempFolder folder;
  const std::string real = folder.Write("form\xe9\xff.XML", "<x/>");
  folder.Write("other.XML", "<x/>");
  // What a Qt dialog hands back for that file: the name as Qt decoded it, bytes lost.
  const QString shown = QFile::decodeName(QByteArray::fromStdString(real));
  ASSERT_NE(PathFromQString(shown), real);
  EXPECT_EQ(ResolveChosenPath(shown), real);
  // A name that exists, or one that exists nowhere, is taken as it is.
  EXPECT_EQ(ResolveChosenPath(PathToQString(folder.File("other.XML"))), folder.File("other.XML"));
  EXPECT_EQ(ResolveChosenPath(PathToQString(folder.File("typed.xml"))), folder.File("typed.xml"));
}

}  // namespace
