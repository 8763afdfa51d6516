// Painting of one page-control tab: where the caption goes, which page's caption and font it takes,
// and its colour.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "foundation/QUTabPaint.h"
#include "platform/ui/DrawText.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtRuntime.h"

namespace {

constexpr QRgb White = 0xFFFFFFFF;

class QUTabPaintTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureQtApplication(); }

  QUTabPaintTest() : FForm(nullptr), FPages(&FForm), FMain(&FForm), FA(&FForm), FB(&FForm) {
    FPages.SetParent(&FForm);
    for (TTabSheet* page : {&FMain, &FA, &FB}) page->SetPageControl(&FPages);
    FMain.SetCaption("tsMain");
    FMain.SetTabVisible(false);
    FA.SetCaption("General");
    FB.SetCaption("Audit");
    // Each page its own font, so that the font taken tells which page it came from.
    FMain.Font()->SetHeight(-15);
    FMain.Font()->SetStyle(TFontStyles{fsBold});
    FA.Font()->SetHeight(-12);
  }

  // Paints one tab on a white image the way the page control prepares its canvas, and gives the image.
  QImage PaintTab(int tabIndex, int highlightIndex, bool highlight, TColor color = clBlue) {
    QImage image(FSize, QImage::Format_RGB32);
    image.fill(White);
    QPainter painter(&image);
    TCanvas& canvas = FPages.Canvas();
    canvas.SetPainter(&painter);
    canvas.Brush().SetColor(clBtnFace);
    canvas.Font().Assign(*FPages.Font());
    DrawPageControlTab(&FPages, tabIndex, FRect, highlightIndex, highlight, color);
    canvas.SetPainter(nullptr);
    painter.end();
    return image;
  }

  // What the tab must look like: the button-face fill from 4 pixels down and the caption drawn there.
  QImage Expected(const std::string& caption, const TFont& font, TColor color) {
    QImage image(FSize, QImage::Format_RGB32);
    image.fill(White);
    QPainter painter(&image);
    TCanvas canvas(&painter);
    canvas.Brush().SetColor(clBtnFace);
    const TRect r = Rect(FRect.Left, FRect.Top + 4, FRect.Right, FRect.Bottom);
    canvas.FillRect(r);
    canvas.Font().Assign(font);
    canvas.Font().SetColor(color);
    DrawText(canvas, caption, r, DT_CENTER);
    painter.end();
    return image;
  }

  static int CountBlue(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.blue() > 150 && c.blue() > c.red() + 60 && c.blue() > c.green() + 60) ++count;
      }
    }
    return count;
  }

  TForm FForm;
  TPageControl FPages;
  TTabSheet FMain, FA, FB;
  const QSize FSize{90, 30};
  const TRect FRect = Rect(5, 3, 85, 27);
};

TEST_F(QUTabPaintTest, HighlightedTabCaptionIsBlueAndOthersBlack) {
  const QImage audit = PaintTab(1, 1, true);
  EXPECT_GT(CountBlue(audit), 15);
  // Tab 0 shows the caption of the first page with a visible tab, in the font of the page at
  // position 0 (whose own tab is hidden).
  EXPECT_EQ(audit, Expected("Audit", *FA.Font(), clBlue));
  const QImage general = PaintTab(0, 1, true);
  EXPECT_EQ(CountBlue(general), 0);
  EXPECT_EQ(general, Expected("General", *FMain.Font(), clBlack));
}

TEST_F(QUTabPaintTest, CanvasTakesFontOfThePageAtTheTabsPosition) {
  PaintTab(0, -1, false);
  const TFont& font = FPages.Canvas().Font();
  EXPECT_EQ(font.Height(), -15);
  EXPECT_TRUE(font.Style().Contains(fsBold));
  EXPECT_EQ(font.Color(), clBlack);
  PaintTab(1, 1, true);
  EXPECT_EQ(FPages.Canvas().Font().Height(), -12);
  EXPECT_FALSE(FPages.Canvas().Font().Style().Contains(fsBold));
  EXPECT_EQ(FPages.Canvas().Font().Color(), clBlue);
}

TEST_F(QUTabPaintTest, ColourIsBlackUnlessHighlightedWhateverThePagesFontColour) {
  FB.Font()->SetColor(0x0000FF);  // a red page font is not used
  struct TCase {
    const char* Name;
    int HighlightIndex;
    bool Highlight;
    TColor Expected;
  };
  const TCase cases[] = {
      {"highlighted", 1, true, 0x00FF00},
      {"highlight switched off", 1, false, clBlack},
      {"another tab highlighted", 0, true, clBlack},
      {"no audit tab", -1, false, clBlack},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const QImage image = PaintTab(1, c.HighlightIndex, c.Highlight, 0x00FF00);
    EXPECT_EQ(FPages.Canvas().Font().Color(), c.Expected);
    TFont font;
    font.Assign(*FA.Font());
    EXPECT_EQ(image, Expected("Audit", font, c.Expected));
  }
}

TEST_F(QUTabPaintTest, TopFourPixelsAreLeftAndTheCaptionStartsBelowThem) {
  const QImage image = PaintTab(1, 1, true);
  for (int y = 0; y < FSize.height(); ++y) {
    for (int x = FRect.Left; x < FRect.Right; ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (y < FRect.Top + 4) {
        ASSERT_EQ(pixel, White) << "touched above the fill at " << x << "," << y;
      } else if (y == FRect.Top + 4) {
        // The first row of the fill is clear of the caption's glyphs.
        ASSERT_EQ(QColor(pixel), QColor(240, 240, 240)) << "at " << x << "," << y;
      }
    }
  }
  int firstInk = -1;
  for (int y = 0; y < FSize.height() && firstInk < 0; ++y) {
    for (int x = 0; x < FSize.width(); ++x) {
      if (CountBlue(image.copy(x, y, 1, 1)) == 1) {
        firstInk = y;
        break;
      }
    }
  }
  // The text hangs from the top of the filled area (DT_VCENTER has no effect without single-line).
  const QFontMetrics metrics(FA.Font()->ToQFont());
  ASSERT_GE(firstInk, FRect.Top + 4);
  EXPECT_LE(firstInk, FRect.Top + 4 + metrics.ascent() - metrics.capHeight() + 1);
}

TEST_F(QUTabPaintTest, CaptionsFollowTheVisibleTabsWhileFontsFollowAllPages) {
  TTabSheet c(&FForm);
  c.SetPageControl(&FPages);
  c.SetCaption("&Notes");
  // Tabs: General (0), Audit (1), Notes (2); a hidden Audit makes Notes tab 1.
  EXPECT_EQ(PaintTab(2, -1, false), Expected("&Notes", *FB.Font(), clBlack));
  FB.SetTabVisible(false);
  TFont font;
  font.Assign(*FA.Font());
  EXPECT_EQ(PaintTab(1, -1, false), Expected("&Notes", font, clBlack));
  // With the first page's tab visible, tab 0 is that page.
  FMain.SetTabVisible(true);
  EXPECT_EQ(PaintTab(0, -1, false), Expected("tsMain", *FMain.Font(), clBlack));
}

TEST_F(QUTabPaintTest, ControlThatIsNoPageControlIsRefused) {
  TCustomTabControl tabs(nullptr);
  EXPECT_THROW(DrawPageControlTab(&tabs, 0, FRect, -1, false, clBlue), EInvalidCast);
}

}  // namespace
