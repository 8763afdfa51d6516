// Text drawing into a rectangle with the format flags of the original platform's DrawText.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Graphics.h"

inline constexpr unsigned DT_LEFT = 0x0;
inline constexpr unsigned DT_TOP = 0x0;
inline constexpr unsigned DT_CENTER = 0x1;
inline constexpr unsigned DT_RIGHT = 0x2;
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_NOCLIP = 0x100;
inline constexpr unsigned DT_NOPREFIX = 0x800;

// One line as it is drawn: the text without its prefix characters, and the positions (in Shown) of
// the characters to underline.
struct TPrefixedLine {
  std::string Shown;
  std::vector<size_t> Underlined;
  bool operator==(const TPrefixedLine&) const = default;
};

// Splits text into the lines that DrawText draws: at CR LF, CR or LF unless DT_SINGLELINE; and, unless
// DT_NOPREFIX, "&x" becomes an underlined x and "&&" one ampersand.
std::vector<TPrefixedLine> LayoutDrawText(const std::string& text, unsigned format);

// Draws text into rect on the canvas with its font and font colour; a solid brush gives the text its
// background. Lines start at the top of rect and are left-aligned, centred with DT_CENTER or
// right-aligned with DT_RIGHT.
// DT_VCENTER centres vertically only together with DT_SINGLELINE. Drawing is clipped to rect unless
// DT_NOCLIP. Gives the height of the text drawn.
int DrawText(TCanvas& canvas, const std::string& text, const TRect& rect, unsigned format);
