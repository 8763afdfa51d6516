#include "platform/ui/Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

#include "platform/components/FormReader.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Paths.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/NoScreen.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/QtRuntime.h"
#include "platform/ui/QtText.h"
#include "platform/ui/StdCtrls.h"

namespace {

// The top-level window of a form: its client area.
class TFormWidget : public QWidget, public TControlLink {
 public:
  explicit TFormWidget(TCustomForm* form) : QWidget(nullptr), TControlLink(form) {}

 protected:
  TCustomForm* Form() const { return static_cast<TCustomForm*>(LinkedControl()); }

  void paintEvent(QPaintEvent* /*event*/) override { PaintControl(LinkedControl(), this); }

  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    if (TCustomForm* form = Form()) {
      GuardedCall(form, [&] { form->WindowResized(width(), height()); });
    }
  }

  void closeEvent(QCloseEvent* event) override {
    // The form decides: it hides itself, ends a modal showing or ends the program.
    event->ignore();
    if (TCustomForm* form = Form()) GuardedCall(form, [&] { form->WindowCloseRequested(); });
  }

  void keyPressEvent(QKeyEvent* event) override {
    TCustomForm* form = Form();
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool escape = key == Qt::Key_Escape;
    if (form != nullptr && (enter || escape) && event->modifiers() == Qt::NoModifier) {
      bool handled = false;
      GuardedCall(form, [&] { handled = form->DialogKey(escape); });
      if (handled) return;
    }
    QWidget::keyPressEvent(event);
  }

  bool event(QEvent* event) override;
};

TQtApplicationWindowing* QtWindowing() {
  if (Application == nullptr) return nullptr;
  return dynamic_cast<TQtApplicationWindowing*>(Application->Windowing());
}

bool TFormWidget::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    if (TCustomForm* form = Form()) {
      GuardedCall(form, [&] { form->WindowActivated(); });
      if (TQtApplicationWindowing* windowing = QtWindowing()) windowing->ActivationHandled(form);
    }
  }
  return QWidget::event(event);
}

}  // namespace

const TEnumInfo& PositionInfo() {
  static const TEnumInfo info{"TPosition",
                              {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                               "poScreenCenter", "poDesktopCenter"}};
  return info;
}

const TEnumInfo& BorderIconInfo() {
  static const TEnumInfo info{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
  return info;
}

// ---- TCustomForm

const TMetaClass& TCustomForm::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TCustomForm>("TCustomForm")
          .Boolean("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible)
          .Default(false)
          .Integer("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
          .Integer("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
          .Set("BorderIcons", BorderIconInfo(), &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
          .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize})
          .Enumeration("Position", PositionInfo(), &TCustomForm::Position, &TCustomForm::SetPosition)
          .Default(poDesigned)
          .Integer("HelpContext", &TCustomForm::HelpContext, &TCustomForm::SetHelpContext)
          .Default(0)
          .Boolean("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder)
          .Boolean("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled)
          .Default(true)
          .Integer("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
          .Integer("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight)
          .Event("OnActivate", &TCustomForm::OnActivate)
          .Event("OnCreate", &TCustomForm::OnCreate)
          .Event("OnShow", &TCustomForm::OnShow);
  return cls;
}

const TMetaClass& TForm::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TForm>("TForm");
  return cls;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  auto* widget = new TFormWidget(this);
  widget->setAttribute(Qt::WA_DeleteOnClose, false);
  FLeft = 0;
  FTop = 0;
  FWidth = 320;
  FHeight = 240;
  TControl::SetVisible(false);
  SetWidget(widget);
  SetBorderIcons(FBorderIcons);
}

TCustomForm::~TCustomForm() {
  EndLiveness();
  if (FModalLoop != nullptr) FModalLoop->quit();
  if (Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
  if (TQtApplicationWindowing* windowing = QtWindowing()) windowing->FormDestroyed(this);
}

void TCustomForm::AfterConstruction() {
  InitInheritedComponent(this, TForm::StaticClass());
  DoCreate();
  if (Visible() && !FShown) {
    // Stored with Visible True: the window appears once construction is complete.
    TControl::SetVisible(false);
    SetVisible(true);
  }
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  Realign();
}

void TCustomForm::DoCreate() { RunCreationHandler(this, OnCreate); }

void TCustomForm::DoShow() { OnShow(this); }

TRect TCustomForm::ClientRect() const {
  return Rect(0, 0, FWidth - FormFrameWidth, FHeight - FormFrameHeight);
}

void TCustomForm::ApplyGeometry() {
  if (Widget() == nullptr) return;
  Widget()->resize(std::max(FWidth - FormFrameWidth, 1), std::max(FHeight - FormFrameHeight, 1));
  if (FPosition == poDesigned) Widget()->move(FLeft, FTop);
}

void TCustomForm::WindowResized(int clientWidth, int clientHeight) {
  const int width = clientWidth + FormFrameWidth;
  const int height = clientHeight + FormFrameHeight;
  if (width == FWidth && height == FHeight) return;
  FWidth = width;
  FHeight = height;
  Realign();
}

void TCustomForm::CaptionChanged() {
  if (Widget() != nullptr) Widget()->setWindowTitle(ToQString(Caption()));
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  FBorderIcons = icons;
  if (Widget() == nullptr) return;
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (icons.Contains(biSystemMenu)) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (icons.Contains(biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
    if (icons.Contains(biMaximize)) flags |= Qt::WindowMaximizeButtonHint;
    if (icons.Contains(biHelp)) flags |= Qt::WindowContextHelpButtonHint;
  }
  const bool shown = Widget()->isVisible();
  Widget()->setWindowFlags(flags);
  if (shown) Widget()->show();
}

bool TCustomForm::ShowingForm() const { return Visible() && Widget() != nullptr && Widget()->isVisible(); }

void TCustomForm::SetVisible(bool visible) {
  if (InState(csLoading)) {
    // Read from the resource: shown once construction is complete.
    TControl::SetVisible(visible);
    return;
  }
  if (!visible) {
    FShown = false;
    TControl::SetVisible(false);
    if (Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
    return;
  }
  if (Visible() && FShown) return;
  TControl::SetVisible(true);
  try {
    DoShow();
  } catch (...) {
    TControl::SetVisible(false);
    throw;
  }
  FShown = true;
  ApplyVisibility();
}

void TCustomForm::ApplyVisibility() {
  QWidget* widget = Widget();
  if (widget == nullptr) return;
  if (!Visible() || !FShown) {
    widget->hide();
    return;
  }
  Realign();
  ApplyTabOrder();
  PlaceOnScreen();
  widget->show();
  // The offscreen and minimal platforms have no stacking of windows to change (and say so on every
  // call).
  if (!InvisiblePlatform()) widget->raise();
  widget->activateWindow();
  if (FActiveControl != nullptr && FActiveControl->Widget() != nullptr) FActiveControl->Widget()->setFocus();
}

void TCustomForm::PlaceOnScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect area;
  if (FPosition == poScreenCenter) area = screen->availableGeometry();
  if (FPosition == poDesktopCenter) area = screen->virtualGeometry();
  if (area.isNull()) return;
  FLeft = area.left() + (area.width() - FWidth) / 2;
  FTop = area.top() + (area.height() - FHeight) / 2;
  Widget()->move(FLeft, FTop);
}

void TCustomForm::ApplyTabOrder() {
  QWidget* previous = nullptr;
  std::function<void(const TWinControl*)> walk = [&](const TWinControl* container) {
    for (TWinControl* control : container->TabList()) {
      QWidget* widget = control->Widget();
      if (widget != nullptr && widget->focusPolicy() != Qt::NoFocus) {
        if (previous != nullptr) QWidget::setTabOrder(previous, widget);
        previous = widget;
      }
      walk(control);
    }
  };
  walk(this);
}

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
  FModal = true;
  FModalResult = 0;
  Widget()->setWindowModality(Qt::ApplicationModal);
  try {
    Show();
  } catch (...) {
    FModal = false;
    Widget()->setWindowModality(Qt::NonModal);
    throw;
  }
  QEventLoop loop;
  FModalLoop = &loop;
  if (FModalResult == 0 && !(Application != nullptr && Application->Terminated())) loop.exec();
  FModalLoop = nullptr;
  if (FModalResult == 0) FModalResult = mrCancel;
  const int result = FModalResult;
  Hide();
  FModal = false;
  Widget()->setWindowModality(Qt::NonModal);
  return result;
}

void TCustomForm::SetModalResult(int result) {
  FModalResult = result;
  if (result != 0 && FModalLoop != nullptr) FModalLoop->quit();
}

void TCustomForm::Close() {
  if (FModal) {
    SetModalResult(mrCancel);
    return;
  }
  if (MainForm() == this && Application != nullptr) {
    Application->Terminate();
    Hide();
    return;
  }
  Hide();
}

void TCustomForm::WindowCloseRequested() { Close(); }

void TCustomForm::FocusControl(TWinControl* control) {
  FActiveControl = control;
  if (ShowingForm() && control != nullptr && control->Widget() != nullptr) {
    control->Widget()->setFocus(Qt::OtherFocusReason);
  }
}

void TCustomForm::WindowActivated() {
  if (Screen->ActiveForm() == this) return;
  Screen->SetActiveForm(this);
  OnActivate(this);
}

TButton* TCustomForm::FindButton(bool cancel) const {
  std::function<TButton*(const TWinControl*)> find = [&](const TWinControl* container) -> TButton* {
    for (int i = 0; i < container->ControlCount(); ++i) {
      TControl* control = container->Controls(i);
      if (auto* button = dynamic_cast<TButton*>(control)) {
        // As a click could not reach a button inside a disabled or hidden container, neither can a key.
        if ((cancel ? button->Cancel() : button->Default()) && button->Showing() && button->CanFocus())
          return button;
      }
      if (auto* win = dynamic_cast<TWinControl*>(control)) {
        if (TButton* found = find(win)) return found;
      }
    }
    return nullptr;
  };
  return find(this);
}

bool TCustomForm::DialogKey(bool escape) {
  if (!escape) {
    // Enter presses the focused button, or else the default button.
    for (int i = 0; i < ComponentCount(); ++i) {
      auto* button = dynamic_cast<TButton*>(Components(i));
      if (button != nullptr && button->Focused()) {
        button->Click();
        return true;
      }
    }
  }
  if (TButton* button = FindButton(escape)) {
    button->Click();
    return true;
  }
  return false;
}

// ---- TScreen

namespace {
TScreen ScreenObject;
}
TScreen* const Screen = &ScreenObject;

void TScreen::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  const TCursor previous = FCursor;
  FCursor = cursor;
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  const QCursor shape(cursor == crHourGlass ? Qt::WaitCursor : Qt::ArrowCursor);
  if (cursor == crDefault) {
    while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
  } else if (previous == crDefault || QApplication::overrideCursor() == nullptr) {
    QApplication::setOverrideCursor(shape);
  } else {
    QApplication::changeOverrideCursor(shape);
  }
}

// ---- the application's window part

TQtApplicationWindowing::TQtApplicationWindowing() = default;

TQtApplicationWindowing::~TQtApplicationWindowing() {
  if (FDialogService && DialogService() == FDialogService.get()) SetDialogService(nullptr);
  Screen->SetCursor(crDefault);
}

void TQtApplicationWindowing::Initialize() {
  EnsureQtApplication();
  if (DialogService() == nullptr) {
    if (NoScreen())
      FDialogService = std::make_unique<TNoScreenDialogService>();
    else
      FDialogService = std::make_unique<TQtDialogService>();
    SetDialogService(FDialogService.get());
  }
}

void TQtApplicationWindowing::FormCreated(TComponent* instance) {
  if (FMainForm == nullptr) FMainForm = dynamic_cast<TCustomForm*>(instance);
}

void TQtApplicationWindowing::FormDestroyed(TCustomForm* form) {
  if (FMainForm == form) FMainForm = nullptr;
}

void TQtApplicationWindowing::Run() {
  if (FMainForm != nullptr) GuardedCall(FMainForm, [this] { FMainForm->Show(); });
  if (Application == nullptr || Application->Terminated() || FMainForm == nullptr) return;
  // A main form whose showing failed (its error has been shown) leaves no window to close, so the
  // program ends here rather than wait for one.
  if (!FMainForm->ShowingForm()) return;
  QEventLoop loop;
  if (NoScreen()) {
    // Nobody can use the window: the loop runs only until the window has been activated (which may
    // start the program's unattended work) and then ends. Some platforms activate it while it is
    // shown, before the loop; one that never does ends the wait all the same.
    if (Screen->ActiveForm() == FMainForm) return;
    QTimer::singleShot(ActivationWait, &loop, &QEventLoop::quit);
  }
  FLoop = &loop;
  loop.exec();
  FLoop = nullptr;
}

void TQtApplicationWindowing::ActivationHandled(TCustomForm* form) {
  if (form == FMainForm && FLoop != nullptr && NoScreen()) FLoop->quit();
}

void TQtApplicationWindowing::Terminate() {
  if (FLoop != nullptr) FLoop->quit();
  if (Application == nullptr) return;
  // Modal showings end too, as their loops see the end of the program.
  for (int i = 0; i < Application->ComponentCount(); ++i) {
    if (auto* form = dynamic_cast<TCustomForm*>(Application->Components(i));
        form != nullptr && form->Modal()) {
      form->SetModalResult(mrCancel);
    }
  }
}

void TQtApplicationWindowing::ProcessMessages() { QCoreApplication::processEvents(); }

bool TQtApplicationWindowing::HelpContext(int /*context*/) { return false; }

std::string TQtApplicationWindowing::ExeName() const { return ProgramFileName(); }

void InstallQtWindowing(TApplication& application) {
  application.SetWindowing(std::make_unique<TQtApplicationWindowing>());
}

TCustomForm* MainForm() {
  TQtApplicationWindowing* windowing = QtWindowing();
  return windowing != nullptr ? windowing->MainForm() : nullptr;
}
