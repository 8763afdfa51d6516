// TControl and TWinControl: visual components on Qt widgets, with the class library's bounds,
// alignment, visibility, hints and focus rules.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/components/Component.h"
#include "platform/components/Events.h"
#include "platform/components/TypeInfo.h"
#include "platform/ui/Graphics.h"

class QWidget;
class TWinControl;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
const TEnumInfo& AlignInfo();

// Runs code that Qt called (a click, a paint, an activation) so that no exception crosses Qt: an
// exception is handed to the application's default handler, as the class library's message loop does.
void GuardedCall(TObject* sender, const std::function<void()>& code);

// The base of everything placed on a form. A control owns one Qt widget; its Left/Top/Width/Height are
// in the parent's client coordinates, which are the parent widget's coordinates.
class TControl : public TComponent {
  Q_CLASS(TControl, TComponent)

  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  // Places the control in parent (nullptr takes it out); the parent lays out its aligned children again.
  virtual void SetParent(TWinControl* parent);

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
  void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
  void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
  void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Rect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }
  // The client area in the control's own coordinates.
  virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and every parent up to the form, and the form itself is shown.
  virtual bool Showing() const;

  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool enabled);

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  // Text is the same property under another name (edits and combo boxes publish it so).
  virtual std::string Text() const { return FCaption; }
  virtual void SetText(const std::string& text) { SetCaption(text); }

  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool show);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool parent);
  // Whether the hint appears as a tooltip: ShowHint, or the parent's when ParentShowHint.
  bool EffectiveShowHint() const;

  TFont* Font() { return FFont.get(); }
  const TFont* Font() const { return FFont.get(); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool parent);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);

  // Paint the control again now / as soon as possible.
  void Repaint();
  void Invalidate();
  void Update();

  // The form the control sits on, nullptr when none.
  TCustomForm* ParentForm() const;

  // The control's Qt widget; nullptr before the derived class made it, or once Qt destroyed it.
  QWidget* Widget() const;

  void Loaded() override;

  // Painting of controls that draw themselves (panels, labels, forms): called with a canvas whose
  // painter, brush (Color) and font (Font) are ready.
  virtual void Paint(TCanvas& canvas);

 protected:
  // The widget is made by the derived class's constructor and handed over here.
  void SetWidget(QWidget* widget);
  // Applies the bounds to the widget (forms override: their bounds include the window frame).
  virtual void ApplyGeometry();
  virtual void ApplyVisibility();
  virtual void CaptionChanged() { Invalidate(); }
  virtual void FontChanged();
  // Called when the parent's font changes or the control gets a new parent.
  void ParentFontChanged();
  void ParentShowHintChanged();
  void ApplyHint();
  // The parent lays out its aligned children again, unless it is still being read.
  void RequestParentRealign();

  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;

 private:
  friend class TWinControl;
  TWinControl* FParent = nullptr;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FCaption;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FTakingParentFont = false;
  TColor FColor = clBtnFace;
  // The widget, watched: Qt may destroy it first (with a parent widget), and then it reads as none.
  struct TWidgetRef;
  std::unique_ptr<TWidgetRef> FWidget;
};

// A control that holds other controls and can take the keyboard focus.
class TWinControl : public TControl {
  Q_CLASS(TWinControl, TControl)

  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const;

  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int order);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool stop);

  // Visible and enabled, and so is every parent up to (not including) the form.
  bool CanFocus() const;
  // Gives the keyboard focus to the control; raises EInvalidOperation "Cannot focus a disabled or
  // invisible window" when it cannot take it.
  virtual void SetFocus();
  bool Focused() const;

  // Lays out the aligned children: alTop and alBottom first, then alLeft and alRight, then alClient
  // takes what is left; within one alignment in creation order. Hidden children take no room.
  void Realign();
  // The part of the client area that aligned children share (panels leave their bevels out).
  virtual TRect AlignRect() const { return ClientRect(); }
  // The widget that child controls' widgets are placed in.
  virtual QWidget* ClientWidget() const { return Widget(); }

  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;
  void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const override;

  // The child controls in tab order, for the focus chain.
  std::vector<TWinControl*> TabList() const;

 protected:
  void FontChanged() override;
  virtual void InsertControl(TControl* control);
  virtual void RemoveControl(TControl* control);
  // Whether the control takes the keyboard focus at all (buttons and edits do, containers do not).
  virtual bool AcceptsFocus() const { return false; }
  void ApplyFocusPolicy();

 private:
  friend class TControl;
  std::vector<TControl*> FControls;
  int FTabOrder = -1;
  bool FTabStop = false;
  bool FAligning = false;
};
