#include "foundation/QUTabPaint.h"

#include "platform/components/Object.h"
#include "platform/ui/DrawText.h"

void DrawPageControlTab(TCustomTabControl* Control, int TabIndex, const TRect& Rect, int HighlightIndex,
                        bool Highlight, TColor HighlightColor) {
  TPageControl* pageControl = AsClass<TPageControl>(static_cast<TObject*>(Control));
  TCanvas& canvas = pageControl->Canvas();

  // The top of the tab keeps what the control painted there.
  TRect r = Rect;
  r.Top += 4;
  canvas.FillRect(r);

  // The font is taken by position among all pages, hidden tabs included, while the caption below is
  // found among the visible tabs: with a first page whose tab is hidden, the two are different pages.
  canvas.Font().Assign(*pageControl->Pages(TabIndex)->Font());
  canvas.Font().SetColor(TabIndex == HighlightIndex && Highlight ? HighlightColor : clBlack);

  TTabSheet* page = pageControl->Pages(0);
  if (!page->TabVisible()) page = pageControl->FindNextPage(page, true, true);
  for (int i = 0; i < TabIndex && page != nullptr; ++i) page = pageControl->FindNextPage(page, true, true);
  if (page == nullptr) return;  // no visible tab at all: the control never asks for one

  DrawText(canvas, page->Caption(), r, DT_CENTER | DT_VCENTER);
}
