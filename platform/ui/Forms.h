// Forms, the screen and the window part of the application object, on Qt top-level widgets.
#pragma once

#include <memory>
#include <string>

#include "platform/components/Application.h"
#include "platform/system/Dialogs.h"
#include "platform/ui/Controls.h"

class QEventLoop;
class TButton;

enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter
};
const TEnumInfo& PositionInfo();

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
const TEnumInfo& BorderIconInfo();

// The window frame of a sizeable form with a caption: Width and Height are the outer size, and the
// client area is this much smaller, as on the desktop the forms were designed on.
inline constexpr int FormFrameWidth = 8;
inline constexpr int FormFrameHeight = 34;

// A window. It is built from the resources of its class chain (base first) when it is constructed
// (Application->CreateForm or NewComponent): the components are read, Loaded runs, then OnCreate inside
// the creation-handler guard, and last a form stored with Visible True is shown.
class TCustomForm : public TWinControl {
  Q_CLASS(TCustomForm, TWinControl)

  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  void AfterConstruction() override;
  void Loaded() override;

  TRect ClientRect() const override;
  void SetClientWidth(int width) { SetWidth(width + FormFrameWidth); }
  void SetClientHeight(int height) { SetHeight(height + FormFrameHeight); }

  // Showing a form runs OnShow first (an exception from it reaches the caller and the form stays hidden),
  // then puts the window on screen.
  void SetVisible(bool visible) override;
  bool ShowingForm() const;
  bool Showing() const override { return ShowingForm(); }

  // Shows the form modally and returns its ModalResult once a handler or button set one (or the window
  // was closed: mrCancel). A visible form raises EInvalidOperation "Cannot make a visible window modal".
  int ShowModal();
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result);
  bool Modal() const { return FModal; }
  // A modal form ends with mrCancel; the main form ends the program; any other form is hidden.
  void Close();

  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition position) { FPosition = position; }
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons icons);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int context) { FHelpContext = context; }
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }
  // Kept as the designer stored them; fonts are never scaled on this platform.
  bool Scaled() const { return FScaled; }
  void SetScaled(bool value) { FScaled = value; }
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int value) { FPixelsPerInch = value; }
  int TextHeight() const { return FTextHeight; }
  void SetTextHeight(int value) { FTextHeight = value; }

  TWinControl* ActiveControl() const { return FActiveControl; }
  // Records control as the one with the focus and gives it the focus when the window is on screen.
  void FocusControl(TWinControl* control);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnActivate;

  // Called by the window when it becomes the program's active window; OnActivate runs when the active
  // form changes (not when a message box of the form's own closes).
  void WindowActivated();
  // Called by the window for the close box, the Enter and the Escape key.
  void WindowCloseRequested();
  void WindowResized(int clientWidth, int clientHeight);
  bool DialogKey(bool escape);

 protected:
  virtual void DoCreate();
  virtual void DoShow();
  void ApplyGeometry() override;
  void ApplyVisibility() override;
  void CaptionChanged() override;

 private:
  void PlaceOnScreen();
  void ApplyTabOrder();
  TButton* FindButton(bool cancel) const;

  int FModalResult = 0;
  bool FModal = false;
  QEventLoop* FModalLoop = nullptr;
  TPosition FPosition = poDesigned;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  int FHelpContext = 0;
  bool FOldCreateOrder = false;
  bool FScaled = true;
  int FPixelsPerInch = 96;
  int FTextHeight = 13;
  TWinControl* FActiveControl = nullptr;
  bool FShown = false;
};

class TForm : public TCustomForm {
  Q_CLASS(TForm, TCustomForm)
  using TCustomForm::TCustomForm;
};

using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crHourGlass = -11;

// The program-wide cursor and the active form.
class TScreen {
 public:
  TCursor Cursor() const { return FCursor; }
  // crDefault gives every window its own cursor back; any other cursor is shown over all windows.
  void SetCursor(TCursor cursor);
  TCustomForm* ActiveForm() const { return FActiveForm; }
  void SetActiveForm(TCustomForm* form) { FActiveForm = form; }

 private:
  TCursor FCursor = crDefault;
  TCustomForm* FActiveForm = nullptr;
};

// The one screen object; it holds no resources, so it needs no start-up.
extern TScreen* const Screen;

// The application's window part on Qt.
class TQtApplicationWindowing : public TApplicationWindowing {
 public:
  TQtApplicationWindowing();
  ~TQtApplicationWindowing() override;

  // Makes the Qt application (on the offscreen platform when there is no display) and installs the
  // windowed dialog service unless one is installed already: the one that answers on standard error
  // where nobody sees the windows (NoScreen).
  void Initialize() override;
  void FormCreated(TComponent* instance) override;
  // Shows the main form and runs the loop until the end is requested; returns at once when the end
  // was requested before, or when the main form could not be shown. Where nobody sees the windows
  // (NoScreen), it returns once the main form has been activated.
  void Run() override;
  void Terminate() override;
  void ProcessMessages() override;
  // This product has no help file: nothing is shown.
  bool HelpContext(int context) override;
  std::string ExeName() const override;

  TCustomForm* MainForm() const { return FMainForm; }
  void FormDestroyed(TCustomForm* form);
  // Called by a form's window once its activation handler has run. Where nobody sees the windows
  // (NoScreen), the main form's first activation ends the main loop.
  void ActivationHandled(TCustomForm* form);

 private:
  // How long the main loop waits for the main form's activation where nobody sees the windows.
  static constexpr int ActivationWait = 2000;

  TCustomForm* FMainForm = nullptr;
  QEventLoop* FLoop = nullptr;
  std::unique_ptr<TDialogService> FDialogService;
};

// Installs the Qt window part into application (the one Application object).
void InstallQtWindowing(TApplication& application);
// The application's main form: the first form CreateForm made; nullptr without the Qt window part.
TCustomForm* MainForm();
