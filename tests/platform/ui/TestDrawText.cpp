// Text drawing into a tab's rectangle: prefixes, line breaks, centring, clipping, and the font that
// stands in for the product's.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "platform/system/Exceptions.h"
#include "platform/ui/DrawText.h"
#include "platform/ui/QtRuntime.h"

namespace {

class DrawTextTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureQtApplication(); }

  // Paints text on a white image, over a button-face fill of rect, in the given font colour.
  static QImage Paint(const std::string& text, const TRect& rect, unsigned format, TColor color = clBlack,
                      QSize size = QSize(120, 60)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas canvas(&painter);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(rect);
    canvas.Font().SetColor(color);
    DrawText(canvas, text, rect, format);
    painter.end();
    return image;
  }

  // Rows and columns holding a pixel that is clearly dark (text), or -1 when none.
  struct TInk {
    int Top = -1, Bottom = -1, Left = -1, Right = -1;
  };
  static TInk InkOf(const QImage& image) {
    TInk ink;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 128) {
          if (ink.Top < 0) ink.Top = y;
          ink.Bottom = y;
          if (ink.Left < 0 || x < ink.Left) ink.Left = x;
          if (x > ink.Right) ink.Right = x;
        }
      }
    }
    return ink;
  }
};

TEST(LayoutDrawTextTest, PrefixesAndLineBreaks) {
  struct TCase {
    const char* Text;
    unsigned Format;
    std::vector<TPrefixedLine> Lines;
  };
  const TCase cases[] = {
      {"&OK", DT_CENTER, {{"OK", {0}}}},
      {"Save &changes", 0, {{"Save changes", {5}}}},
      {"a&&b", 0, {{"a&b", {}}}},
      {"&&&x", 0, {{"&x", {1}}}},
      {"end&", 0, {{"end", {}}}},
      {"&a&b", 0, {{"ab", {0, 1}}}},
      {"a&&b", DT_NOPREFIX, {{"a&&b", {}}}},
      {"one\r\ntwo", 0, {{"one", {}}, {"two", {}}}},
      {"one\ntwo\rthree", 0, {{"one", {}}, {"two", {}}, {"three", {}}}},
      {"one\r\n", 0, {{"one", {}}, {"", {}}}},
      {"one\r\ntwo", DT_SINGLELINE, {{"onetwo", {}}}},
      {"a very long caption without breaks", DT_CENTER, {{"a very long caption without breaks", {}}}},
      {"", 0, {{"", {}}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(LayoutDrawText(c.Text, c.Format), c.Lines);
  }
}

TEST_F(DrawTextTest, ProductFontIsDejaVuSansAtElevenPixels) {
  const TFont font;
  EXPECT_EQ(font.Name(), "MS Sans Serif");
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  const QFont qfont = font.ToQFont();
  EXPECT_EQ(qfont.pixelSize(), 11);
  EXPECT_EQ(QFontInfo(qfont).family(), QStringLiteral("DejaVu Sans"));
  // Without a real font Qt draws empty boxes and every pixel test below would prove nothing.
  EXPECT_TRUE(QFontMetrics(qfont).inFont(QLatin1Char('G')));
}

TEST_F(DrawTextTest, TextStartsAtTopAndIsCentredWithoutSingleLine) {
  const TRect rect = Rect(10, 20, 110, 60);
  const QImage centred = Paint("Main", rect, DT_CENTER | DT_VCENTER);
  const TInk ink = InkOf(centred);
  ASSERT_GE(ink.Top, 0) << "nothing was drawn";
  // DT_VCENTER without DT_SINGLELINE has no effect: the text hangs from the top of the rectangle.
  EXPECT_GE(ink.Top, rect.Top);
  EXPECT_LT(ink.Top, rect.Top + 6);
  EXPECT_EQ(centred, Paint("Main", rect, DT_CENTER));
  // Centred horizontally: equal margins, give or take the rounding of the glyphs' side bearings.
  const int leftMargin = ink.Left - rect.Left;
  const int rightMargin = rect.Right - 1 - ink.Right;
  EXPECT_LE(std::abs(leftMargin - rightMargin), 3) << leftMargin << " vs " << rightMargin;
  // With DT_SINGLELINE the same flags centre vertically.
  const TInk single = InkOf(Paint("Main", rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE));
  EXPECT_GT(single.Top, ink.Top + 5);
}

TEST_F(DrawTextTest, AmpersandUnderlinesNextCharacterAndDoubleAmpersandDrawsOne) {
  const TRect rect = Rect(0, 0, 120, 30);
  const QImage prefixed = Paint("&Help", rect, 0);
  const QImage plain = Paint("Help", rect, 0);
  EXPECT_NE(prefixed, plain);
  // The only difference is the underline below the H: rows under the baseline, columns of the H.
  const QFontMetrics metrics(TFont().ToQFont());
  const int hWidth = metrics.horizontalAdvance(QLatin1Char('H'));
  for (int y = 0; y < prefixed.height(); ++y) {
    for (int x = 0; x < prefixed.width(); ++x) {
      if (prefixed.pixel(x, y) != plain.pixel(x, y)) {
        EXPECT_GE(y, metrics.ascent()) << "difference above the baseline at " << x << "," << y;
        EXPECT_LT(x, hWidth + 1) << "underline reaches past the H at " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(Paint("a&&b", rect, 0), Paint("a&b", rect, DT_NOPREFIX));
  EXPECT_NE(Paint("a&&b", rect, 0), Paint("a&&b", rect, DT_NOPREFIX));
  // After a character of two bytes the prefix still finds its character.
  EXPECT_NE(Paint("\xc3\xa9&z", rect, 0), Paint("\xc3\xa9z", rect, 0));
}

TEST_F(DrawTextTest, LinesBreakOnlyAtLineBreaksAndAreClippedToTheRectangle) {
  const TRect rect = Rect(10, 5, 50, 25);
  const QImage image = Paint("A long caption that is far wider\r\nsecond\r\nthird", rect, DT_CENTER);
  const TInk ink = InkOf(image);
  ASSERT_GE(ink.Top, 0);
  EXPECT_GE(ink.Left, rect.Left);
  EXPECT_LT(ink.Right, rect.Right);
  EXPECT_GE(ink.Top, rect.Top);
  EXPECT_LT(ink.Bottom, rect.Bottom);
  // Unclipped, the long line spills out on both sides and the third line below.
  const TInk spilled =
      InkOf(Paint("A long caption that is far wider\r\nsecond\r\nthird", rect, DT_CENTER | DT_NOCLIP));
  EXPECT_LT(spilled.Left, rect.Left);
  EXPECT_GE(spilled.Right, rect.Right);
  EXPECT_GE(spilled.Bottom, rect.Bottom);
  // One line only: the wide caption is not wrapped onto a second line.
  const int lineHeight = QFontMetrics(TFont().ToQFont()).height();
  const TInk oneLine = InkOf(Paint("A long caption that is far wider", Rect(0, 0, 40, 50), 0));
  EXPECT_LT(oneLine.Bottom, lineHeight);
}

TEST_F(DrawTextTest, TextTakesTheFontColour) {
  const QImage image = Paint("WWW", Rect(0, 0, 60, 20), 0, clBlue, QSize(60, 20));
  int blue = 0, other = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.blue() > 160 && c.red() < 100 && c.green() < 100) ++blue;
      if (c.red() < 100 && c.blue() < 100) ++other;
    }
  }
  EXPECT_GT(blue, 10);
  EXPECT_EQ(other, 0);
}

TEST(ColorTest, ValuesAndIdentifiers) {
  EXPECT_EQ(ColorToRGB(clBlue), 0xFF0000);
  EXPECT_EQ(ToQColor(clBlue), QColor(0, 0, 255));
  EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(clWindowText), QColor(0, 0, 0));
  EXPECT_EQ(ToQColor(clBtnFace), QColor(240, 240, 240));
  EXPECT_EQ(FromQColor(QColor(1, 2, 3)), 0x030201);
  TColor color = 0;
  EXPECT_TRUE(IdentToColor("clBtnFace", color));
  EXPECT_EQ(color, clBtnFace);
  EXPECT_TRUE(IdentToColor("CLBLUE", color));
  EXPECT_EQ(color, clBlue);
  EXPECT_FALSE(IdentToColor("clNoSuch", color));
  EXPECT_EQ(ColorToString(clWindowText), "clWindowText");
  EXPECT_EQ(ColorToString(0x123456), "1193046");
}

TEST(CanvasTest, FillRectLeavesRightAndBottomEdgesAndNeedsAPainter) {
  TCanvas idle;
  EXPECT_THROW(idle.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
  QImage image(10, 10, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    TCanvas canvas(&painter);
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(Rect(2, 3, 5, 7));
  }
  EXPECT_EQ(image.pixelColor(2, 3), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(4, 6), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(5, 6), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(4, 7), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(2, 2), QColor(255, 255, 255));
}

}  // namespace
