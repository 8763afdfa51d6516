// Colours, fonts, brushes and the canvas that controls paint on, backed by QPainter.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/components/FontStyles.h"
#include "platform/components/Set.h"
#include "platform/components/TypeInfo.h"

class QColor;
class QFont;
class QPainter;

// $00BBGGRR, or a system colour: $FF000000 plus the system colour's number.
using TColor = int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnText = clSystemColor | 18;

// The plain $00BBGGRR value of a colour; system colours are fixed, not taken from the desktop.
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
// Colour identifiers as stored forms write them ("clBtnFace"); false for an unknown name.
bool IdentToColor(const std::string& ident, TColor& color);
std::string ColorToString(TColor color);
// The identifiers a colour property accepts in a stored form.
const TIdentMap& ColorIdents();

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }

inline constexpr int ANSI_CHARSET = 0;
inline constexpr int DEFAULT_CHARSET = 1;
const TIdentMap& CharsetIdents();

// The font of a control or a canvas. Height < 0 is the character height in pixels, as stored forms
// give it; Size is the same in points at the form's pixels per inch.
class TFont : public TPersistent {
  Q_CLASS(TFont, TPersistent)

  TFont();

  // Copies every attribute of a source font; another class raises EConvertError.
  void Assign(const TPersistent& source) override;
  bool SameAs(const TFont& other) const;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& name);
  int Height() const { return FHeight; }
  void SetHeight(int height);
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles style);
  int Charset() const { return FCharset; }
  void SetCharset(int charset);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int ppi) { FPixelsPerInch = ppi; }

  // Called after any change, so that the control using the font can repaint and relayout.
  void SetOnChange(std::function<void()> onChange) { FOnChange = std::move(onChange); }

  // The Qt font: "MS Sans Serif" stands as DejaVu Sans, sizes in pixels, never scaled for the screen.
  QFont ToQFont() const;

 private:
  void Changed();
  std::function<void()> FOnChange;
  std::string FName;
  int FHeight;
  TColor FColor;
  TFontStyles FStyle;
  int FCharset;
  int FPixelsPerInch;
};

enum TBrushStyle { bsSolid, bsClear };

const TEnumInfo& BrushStyleInfo();

class TBrush : public TPersistent {
  Q_CLASS(TBrush, TPersistent)

  void Assign(const TPersistent& source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor color) { FColor = color; }
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle style) { FStyle = style; }

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

// A surface to paint on: a brush, a font and the painter of the widget or image being painted.
// Painting needs a painter; the control that owns the canvas sets one for the length of a paint.
class TCanvas {
 public:
  TCanvas() = default;
  explicit TCanvas(QPainter* painter) : FPainter(painter) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBrush& Brush() { return FBrush; }
  TFont& Font() { return FFont; }
  const TBrush& Brush() const { return FBrush; }
  const TFont& Font() const { return FFont; }

  QPainter* Painter() const { return FPainter; }
  void SetPainter(QPainter* painter) { FPainter = painter; }

  // Fills the rectangle (right and bottom edges excluded) with the brush; a clear brush fills nothing.
  // Without a painter there is nothing to paint on and this raises EInvalidOperation.
  void FillRect(const TRect& rect);

 private:
  QPainter* RequirePainter() const;
  friend int DrawText(TCanvas& canvas, const std::string& text, const TRect& rect, unsigned format);
  QPainter* FPainter = nullptr;
  TBrush FBrush;
  TFont FFont;
};
