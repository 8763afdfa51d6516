// Painting of one page-control tab: the caption of the page that shows that visible tab, centred.
#pragma once

#include "platform/ui/ComCtrls.h"
#include "platform/ui/Graphics.h"

// Paints tab TabIndex (counted among the visible tabs) of Control, a page control, on its canvas: fills
// Rect less its top 4 pixels with the canvas brush, takes the font of the page at position TabIndex
// (hidden tabs counted), and draws the caption of the page that shows that tab, centred, from 4 pixels
// below the tab's top, in HighlightColor when Highlight is set and TabIndex is HighlightIndex, else in
// black.
void DrawPageControlTab(TCustomTabControl* Control, int TabIndex, const TRect& Rect, int HighlightIndex,
                        bool Highlight, TColor HighlightColor);
