// Panels: containers with bevels and an optional centred caption.
#pragma once

#include "platform/ui/Controls.h"

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
const TEnumInfo& PanelBevelInfo();

class TCustomPanel : public TWinControl {
  Q_CLASS(TCustomPanel, TWinControl)

  explicit TCustomPanel(TComponent* owner);

  TPanelBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel bevel);
  TPanelBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel bevel);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int width);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int width);

  // Aligned children share the client area less the bevels and the border.
  TRect AlignRect() const override;
  void Paint(TCanvas& canvas) override;

 private:
  TPanelBevel FBevelOuter = bvRaised;
  TPanelBevel FBevelInner = bvNone;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
};

class TPanel : public TCustomPanel {
  Q_CLASS(TPanel, TCustomPanel)
  using TCustomPanel::TCustomPanel;
};
