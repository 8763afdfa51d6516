#include "platform/ui/ExtCtrls.h"

#include <QPainter>

#include "platform/ui/Controls_p.h"
#include "platform/ui/DrawText.h"

const TEnumInfo& PanelBevelInfo() {
  static const TEnumInfo info{"TPanelBevel", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
  return info;
}

const TMetaClass& TCustomPanel::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TCustomPanel>("TCustomPanel")
          .Enumeration("BevelInner", PanelBevelInfo(), &TCustomPanel::BevelInner,
                       &TCustomPanel::SetBevelInner)
          .Default(bvNone)
          .Enumeration("BevelOuter", PanelBevelInfo(), &TCustomPanel::BevelOuter,
                       &TCustomPanel::SetBevelOuter)
          .Default(bvRaised)
          .Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
          .Default(1)
          .Integer("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth)
          .Default(0);
  return cls;
}

const TMetaClass& TPanel::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TPanel>("TPanel");
  return cls;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
  FWidth = 185;
  FHeight = 41;
  SetWidget(new TPaintedWidget(this));
}

void TCustomPanel::SetBevelOuter(TPanelBevel bevel) {
  FBevelOuter = bevel;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel bevel) {
  FBevelInner = bevel;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int width) {
  FBevelWidth = width;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int width) {
  FBorderWidth = width;
  Realign();
  Invalidate();
}

TRect TCustomPanel::AlignRect() const {
  TRect rect = ClientRect();
  int inset = FBorderWidth;
  if (FBevelOuter != bvNone) inset += FBevelWidth;
  if (FBevelInner != bvNone) inset += FBevelWidth;
  rect.Left += inset;
  rect.Top += inset;
  rect.Right -= inset;
  rect.Bottom -= inset;
  return rect;
}

void TCustomPanel::Paint(TCanvas& canvas) {
  TRect rect = ClientRect();
  canvas.FillRect(rect);
  QPainter* painter = canvas.Painter();
  auto frame = [&](TPanelBevel bevel) {
    if (bevel == bvNone) return;
    const QColor light(255, 255, 255);
    const QColor shadow(160, 160, 160);
    const QColor topLeft = bevel == bvLowered ? shadow : bevel == bvRaised ? light : ToQColor(Color());
    const QColor bottomRight = bevel == bvLowered ? light : bevel == bvRaised ? shadow : ToQColor(Color());
    for (int i = 0; i < FBevelWidth; ++i) {
      painter->fillRect(QRect(rect.Left, rect.Top, rect.Width(), 1), topLeft);
      painter->fillRect(QRect(rect.Left, rect.Top, 1, rect.Height()), topLeft);
      painter->fillRect(QRect(rect.Left, rect.Bottom - 1, rect.Width(), 1), bottomRight);
      painter->fillRect(QRect(rect.Right - 1, rect.Top, 1, rect.Height()), bottomRight);
      rect = Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
    }
  };
  frame(FBevelOuter);
  rect = Rect(rect.Left + FBorderWidth, rect.Top + FBorderWidth, rect.Right - FBorderWidth,
              rect.Bottom - FBorderWidth);
  frame(FBevelInner);
  if (!Caption().empty()) DrawText(canvas, Caption(), rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
