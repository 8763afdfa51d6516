#include "platform/ui/Graphics.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <cmath>
#include <cstdlib>

#include "platform/system/AnsiStrings.h"
#include "platform/system/Exceptions.h"
#include "platform/ui/QtText.h"

namespace {

struct TColorName {
  TColor Color;
  const char* Name;
};

constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"},           {clBlue, "clBlue"},
    {clWhite, "clWhite"},           {clWindow, "clWindow"},
    {clWindowText, "clWindowText"}, {clBtnFace, "clBtnFace"},
    {clBtnText, "clBtnText"},
};

// The classic desktop scheme, fixed so that a form looks the same on every machine.
TColor SystemColor(int index) {
  switch (index) {
    case 5:  // window background
      return 0xFFFFFF;
    case 8:   // window text
    case 18:  // button text
      return 0x000000;
    case 15:  // button face
      return 0xF0F0F0;
    default:
      return 0x000000;
  }
}

}  // namespace

TColor ColorToRGB(TColor color) {
  if ((color & clSystemColor) == clSystemColor) return SystemColor(color & 0xFF);
  return color & 0xFFFFFF;
}

QColor ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor FromQColor(const QColor& color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }

const TIdentMap& ColorIdents() {
  static const TIdentMap idents = [] {
    TIdentMap map;
    for (const TColorName& entry : ColorNames) map.push_back({entry.Color, entry.Name});
    return map;
  }();
  return idents;
}

const TIdentMap& CharsetIdents() {
  static const TIdentMap idents{{ANSI_CHARSET, "ANSI_CHARSET"}, {DEFAULT_CHARSET, "DEFAULT_CHARSET"}};
  return idents;
}

const TEnumInfo& BrushStyleInfo() {
  static const TEnumInfo info{"TBrushStyle", {"bsSolid", "bsClear"}};
  return info;
}

const TMetaClass& TFont::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TFont>("TFont")
                                    .Integer("Charset", &TFont::Charset, &TFont::SetCharset)
                                    .Idents(CharsetIdents())
                                    .Integer("Color", &TFont::Color, &TFont::SetColor)
                                    .Idents(ColorIdents())
                                    .Integer("Height", &TFont::Height, &TFont::SetHeight)
                                    .String("Name", &TFont::Name, &TFont::SetName)
                                    .Set("Style", FontStyleInfo(), &TFont::Style, &TFont::SetStyle);
  return cls;
}

const TMetaClass& TBrush::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TBrush>("TBrush")
                                    .Integer("Color", &TBrush::Color, &TBrush::SetColor)
                                    .Idents(ColorIdents())
                                    .Default(clWhite)
                                    .Enumeration("Style", BrushStyleInfo(), &TBrush::Style, &TBrush::SetStyle)
                                    .Default(bsSolid);
  return cls;
}

void TBrush::Assign(const TPersistent& persistent) {
  const auto* brush = dynamic_cast<const TBrush*>(&persistent);
  if (brush == nullptr) {
    TPersistent::Assign(persistent);
    return;
  }
  FColor = brush->FColor;
  FStyle = brush->FStyle;
}

bool IdentToColor(const std::string& ident, TColor& color) {
  for (const TColorName& entry : ColorNames) {
    if (SameText(ident, entry.Name)) {
      color = entry.Color;
      return true;
    }
  }
  return false;
}

std::string ColorToString(TColor color) {
  for (const TColorName& entry : ColorNames) {
    if (entry.Color == color) return entry.Name;
  }
  return IntToStr(color);
}

TFont::TFont()
    : FName("MS Sans Serif"),
      FHeight(-11),
      FColor(clWindowText),
      FStyle(),
      FCharset(DEFAULT_CHARSET),
      FPixelsPerInch(96) {}

void TFont::Assign(const TPersistent& persistent) {
  const auto* font = dynamic_cast<const TFont*>(&persistent);
  if (font == nullptr) {
    TPersistent::Assign(persistent);
    return;
  }
  const TFont& source = *font;
  FName = source.FName;
  FHeight = source.FHeight;
  FColor = source.FColor;
  FStyle = source.FStyle;
  FCharset = source.FCharset;
  FPixelsPerInch = source.FPixelsPerInch;
  Changed();
}

bool TFont::SameAs(const TFont& other) const {
  return FName == other.FName && FHeight == other.FHeight && FColor == other.FColor &&
         FStyle == other.FStyle && FCharset == other.FCharset;
}

void TFont::SetName(const std::string& name) {
  FName = name;
  Changed();
}

void TFont::SetHeight(int height) {
  FHeight = height;
  Changed();
}

int TFont::Size() const { return -static_cast<int>(std::lround(FHeight * 72.0 / FPixelsPerInch)); }

void TFont::SetSize(int points) {
  FHeight = -static_cast<int>(std::lround(points * FPixelsPerInch / 72.0));
  Changed();
}

void TFont::SetColor(TColor color) {
  FColor = color;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  FStyle = style;
  Changed();
}

void TFont::SetCharset(int charset) {
  FCharset = charset;
  Changed();
}

void TFont::Changed() {
  if (FOnChange) FOnChange();
}

QFont TFont::ToQFont() const {
  QFont font(SameText(FName, "MS Sans Serif") ? QStringLiteral("DejaVu Sans") : ToQString(FName));
  font.setPixelSize(FHeight == 0 ? 11 : std::abs(FHeight));
  font.setBold(FStyle.Contains(fsBold));
  font.setItalic(FStyle.Contains(fsItalic));
  font.setUnderline(FStyle.Contains(fsUnderline));
  font.setStrikeOut(FStyle.Contains(fsStrikeOut));
  return font;
}

QPainter* TCanvas::RequirePainter() const {
  if (FPainter == nullptr) throw EInvalidOperation("Canvas does not allow drawing");
  return FPainter;
}

void TCanvas::FillRect(const TRect& rect) {
  QPainter* painter = RequirePainter();
  if (FBrush.Style() == bsClear || rect.Width() <= 0 || rect.Height() <= 0) return;
  painter->fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ToQColor(FBrush.Color()));
}
