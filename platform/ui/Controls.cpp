#include "platform/ui/Controls.h"

#include <QPainter>
#include <QPointer>
#include <algorithm>

#include "platform/components/Application.h"
#include "platform/system/AnsiStrings.h"
#include "platform/system/Exceptions.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtRuntime.h"
#include "platform/ui/QtText.h"

const TEnumInfo& AlignInfo() {
  static const TEnumInfo info{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
  return info;
}

void GuardedCall(TObject* sender, const std::function<void()>& code) {
  try {
    code();
  } catch (...) {
    if (Application != nullptr) {
      Application->HandleException(sender);
    }
    // With no application object there is nobody to tell; Qt must not see the exception.
  }
}

// ---- TControl

const TMetaClass& TControl::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TControl>("TControl")
          .Integer("Left", &TControl::Left, &TControl::SetLeft)
          .Integer("Top", &TControl::Top, &TControl::SetTop)
          .Integer("Width", &TControl::Width, &TControl::SetWidth)
          .Integer("Height", &TControl::Height, &TControl::SetHeight)
          .Enumeration("Align", AlignInfo(), &TControl::Align, &TControl::SetAlign)
          .Default(alNone)
          .String("Caption", &TControl::Caption, &TControl::SetCaption)
          .Integer("Color", &TControl::Color, &TControl::SetColor)
          .Idents(ColorIdents())
          .Default(clBtnFace)
          .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .Default(true)
          .Object("Font", static_cast<TFont* (TControl::*)()>(&TControl::Font))
          .Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
          .Default(true)
          .String("Hint", &TControl::Hint, &TControl::SetHint)
          .Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .Boolean("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
          .Default(true)
          .Boolean("Visible", &TControl::Visible, &TControl::SetVisible)
          .Default(true);
  return cls;
}

struct TControl::TWidgetRef {
  QPointer<QWidget> Widget;
};

TControl::TControl(TComponent* owner)
    : TComponent(owner), FFont(std::make_unique<TFont>()), FWidget(std::make_unique<TWidgetRef>()) {
  // Widgets need the Qt application; a control made before Application->Initialize still gets one.
  EnsureQtApplication();
  FFont->SetOnChange([this] {
    if (!FTakingParentFont) FParentFont = false;
    FontChanged();
  });
}

TControl::~TControl() {
  SetParent(nullptr);
  if (QWidget* widget = Widget()) {
    if (auto* link = dynamic_cast<TControlLink*>(widget)) link->Unlink();
    delete widget;
  }
}

QWidget* TControl::Widget() const { return FWidget->Widget.data(); }

void TControl::SetWidget(QWidget* widget) {
  FWidget->Widget = widget;
  widget->hide();
  widget->setFont(FFont->ToQFont());
  ApplyGeometry();
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* parent) {
  if (parent == nullptr) {
    SetParent(nullptr);
    return;
  }
  SetParent(AsClass<TWinControl>(static_cast<TObject*>(parent)));
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent != nullptr) {
    TWinControl* old = FParent;
    old->RemoveControl(this);
    FParent = nullptr;
    if (QWidget* widget = Widget()) widget->setParent(nullptr);
    if (FAlign != alNone && FVisible) old->Realign();
  }
  if (parent != nullptr) {
    FParent = parent;
    parent->InsertControl(this);
    if (QWidget* widget = Widget()) widget->setParent(parent->ClientWidget());
    ParentFontChanged();
    ParentShowHintChanged();
  }
  ApplyGeometry();
  ApplyVisibility();
  RequestParentRealign();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  ApplyGeometry();
  RequestParentRealign();
}

void TControl::ApplyGeometry() {
  if (QWidget* widget = Widget()) widget->setGeometry(FLeft, FTop, std::max(FWidth, 0), std::max(FHeight, 0));
}

void TControl::SetAlign(TAlign align) {
  if (align == FAlign) return;
  const bool wasAligned = FAlign != alNone;
  FAlign = align;
  if (wasAligned && align == alNone && FParent != nullptr && FVisible) {
    FParent->Realign();
  } else {
    RequestParentRealign();
  }
}

void TControl::RequestParentRealign() {
  if (FParent != nullptr && FAlign != alNone) FParent->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  ApplyVisibility();
  if (FParent != nullptr && FAlign != alNone) FParent->Realign();
}

void TControl::ApplyVisibility() {
  QWidget* widget = Widget();
  if (widget == nullptr) return;
  // A control that sits on nothing is no window of its own.
  widget->setVisible(FVisible && FParent != nullptr);
}

bool TControl::Showing() const { return FVisible && FParent != nullptr && FParent->Showing(); }

void TControl::SetEnabled(bool enabled) {
  FEnabled = enabled;
  if (QWidget* widget = Widget()) widget->setEnabled(enabled);
}

void TControl::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  CaptionChanged();
}

void TControl::SetHint(const std::string& hint) {
  FHint = hint;
  ApplyHint();
}

void TControl::SetShowHint(bool show) {
  FShowHint = show;
  FParentShowHint = false;
  ApplyHint();
  if (auto* win = dynamic_cast<TWinControl*>(this)) {
    for (TControl* child : win->FControls) child->ParentShowHintChanged();
  }
}

void TControl::SetParentShowHint(bool parent) {
  FParentShowHint = parent;
  ParentShowHintChanged();
}

bool TControl::EffectiveShowHint() const {
  if (FParentShowHint) return FParent != nullptr && FParent->EffectiveShowHint();
  return FShowHint;
}

void TControl::ApplyHint() {
  if (QWidget* widget = Widget()) widget->setToolTip(EffectiveShowHint() ? ToQString(FHint) : QString());
}

void TControl::ParentShowHintChanged() {
  ApplyHint();
  if (auto* win = dynamic_cast<TWinControl*>(this)) {
    for (TControl* child : win->FControls) child->ParentShowHintChanged();
  }
}

void TControl::SetParentFont(bool parent) {
  FParentFont = parent;
  if (parent) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || FParent == nullptr) return;
  FTakingParentFont = true;
  try {
    FFont->Assign(*FParent->Font());
  } catch (...) {
    FTakingParentFont = false;
    throw;
  }
  FTakingParentFont = false;
}

void TControl::FontChanged() {
  if (QWidget* widget = Widget()) widget->setFont(FFont->ToQFont());
  Invalidate();
}

void TControl::SetColor(TColor color) {
  FColor = color;
  Invalidate();
}

void TControl::Repaint() {
  if (QWidget* widget = Widget()) widget->repaint();
}

void TControl::Invalidate() {
  if (QWidget* widget = Widget()) widget->update();
}

void TControl::Update() {
  if (QWidget* widget = Widget()) widget->repaint();
}

TCustomForm* TControl::ParentForm() const {
  const TControl* control = this;
  while (control->FParent != nullptr) control = control->FParent;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

void TControl::Loaded() {
  TComponent::Loaded();
  RequestParentRealign();
}

void TControl::Paint(TCanvas& canvas) { canvas.FillRect(ClientRect()); }

// ---- TWinControl

const TMetaClass& TWinControl::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TWinControl>("TWinControl")
                                    .Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
                                    .Default(-1)
                                    .Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
                                    .Default(false);
  return cls;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Children that outlive this control keep their widgets: take them out of this one's first, with
  // no more layout here.
  SetComponentStateFlag(csDestroying, true);
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount())
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return FControls[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
  FControls.push_back(control);
  if (auto* win = dynamic_cast<TWinControl*>(control); win != nullptr && win->FTabOrder < 0) {
    int count = 0;
    for (TControl* c : FControls) {
      if (c != control && dynamic_cast<TWinControl*>(c) != nullptr) ++count;
    }
    win->FTabOrder = count;
  }
}

void TWinControl::RemoveControl(TControl* control) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
}

void TWinControl::SetTabOrder(int order) { FTabOrder = order; }

void TWinControl::SetTabStop(bool stop) {
  FTabStop = stop;
  ApplyFocusPolicy();
}

void TWinControl::ApplyFocusPolicy() {
  if (Widget() == nullptr) return;
  if (!AcceptsFocus()) {
    Widget()->setFocusPolicy(Qt::NoFocus);
  } else {
    Widget()->setFocusPolicy(FTabStop ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

std::vector<TWinControl*> TWinControl::TabList() const {
  std::vector<TWinControl*> list;
  for (TControl* c : FControls) {
    if (auto* win = dynamic_cast<TWinControl*>(c)) list.push_back(win);
  }
  std::stable_sort(list.begin(), list.end(),
                   [](const TWinControl* a, const TWinControl* b) { return a->FTabOrder < b->FTabOrder; });
  return list;
}

bool TWinControl::CanFocus() const {
  const TCustomForm* form = ParentForm();
  if (form == nullptr) return false;
  for (const TControl* control = this; control != form; control = control->Parent()) {
    if (!control->Visible() || !control->Enabled()) return false;
  }
  return true;
}

void TWinControl::SetFocus() {
  TCustomForm* form = ParentForm();
  if (form == nullptr || !CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  form->FocusControl(this);
}

bool TWinControl::Focused() const { return Widget() != nullptr && Widget()->hasFocus(); }

void TWinControl::SetBounds(int left, int top, int width, int height) {
  const bool resized = width != FWidth || height != FHeight;
  TControl::SetBounds(left, top, width, height);
  if (resized) Realign();
}

void TWinControl::Realign() {
  if (FAligning || InState(csLoading) || InState(csDestroying)) return;
  FAligning = true;
  try {
    TRect rect = AlignRect();
    auto place = [](TControl* c, int left, int top, int width, int height) {
      c->SetBounds(left, top, std::max(width, 0), std::max(height, 0));
    };
    for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
      for (TControl* c : FControls) {
        if (c->Align() != pass || !c->Visible()) continue;
        switch (pass) {
          case alTop:
            place(c, rect.Left, rect.Top, rect.Width(), c->Height());
            rect.Top += c->Height();
            break;
          case alBottom:
            place(c, rect.Left, rect.Bottom - c->Height(), rect.Width(), c->Height());
            rect.Bottom -= c->Height();
            break;
          case alLeft:
            place(c, rect.Left, rect.Top, c->Width(), rect.Height());
            rect.Left += c->Width();
            break;
          case alRight:
            place(c, rect.Right - c->Width(), rect.Top, c->Width(), rect.Height());
            rect.Right -= c->Width();
            break;
          case alClient:
            place(c, rect.Left, rect.Top, rect.Width(), rect.Height());
            break;
          case alNone:
            break;
        }
      }
    }
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* child : FControls) child->ParentFontChanged();
}

void TWinControl::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
  for (TControl* c : FControls) {
    if (c->Owner() == root) children.push_back(c);
  }
}

// ---- widgets

TPaintedWidget::TPaintedWidget(TControl* control) : QWidget(nullptr), TControlLink(control) {}

void TPaintedWidget::paintEvent(QPaintEvent* /*event*/) { PaintControl(LinkedControl(), this); }

void PaintControl(TControl* control, QWidget* widget) {
  if (control == nullptr) return;
  QPainter painter(widget);
  TCanvas canvas(&painter);
  canvas.Brush().SetColor(control->Color());
  canvas.Font().Assign(*control->Font());
  GuardedCall(control, [&] { control->Paint(canvas); });
}
