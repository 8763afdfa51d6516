// Font styles as stored forms name them; free of the toolkit, so that non-visual components can
// publish a font style without depending on the window layer.
#pragma once

#include "platform/components/Set.h"
#include "platform/components/TypeInfo.h"

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

// Defined here rather than in a unit of the window layer, so that a header is all a user needs.
inline const TEnumInfo& FontStyleInfo() {
  static const TEnumInfo info{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return info;
}
