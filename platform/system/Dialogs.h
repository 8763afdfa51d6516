// Message boxes, the open dialog, the folder browser and the beep, all through one installable service.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};

// A set of buttons, as the class library's set type: TMsgDlgButtons{mbOK, mbCancel}.
class TMsgDlgButtons {
 public:
  constexpr TMsgDlgButtons() = default;
  constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    for (TMsgDlgBtn b : buttons) FBits |= Bit(b);
  }
  constexpr bool Contains(TMsgDlgBtn b) const { return (FBits & Bit(b)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TMsgDlgButtons& Include(TMsgDlgBtn b) {
    FBits |= Bit(b);
    return *this;
  }
  constexpr uint32_t Bits() const { return FBits; }
  constexpr bool operator==(const TMsgDlgButtons&) const = default;

 private:
  static constexpr uint32_t Bit(TMsgDlgBtn b) { return uint32_t{1} << static_cast<unsigned>(b); }
  uint32_t FBits = 0;
};

// The modal results a box gives back; mrNone when it was closed without a choice.
enum TModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 8,
  mrNoToAll = 9,
  mrYesToAll = 10,
};

// The modal result a button gives when it is pressed (mbHelp gives none).
int ModalResultOf(TMsgDlgBtn button);

// The button a box takes when its user just confirms it: the first of its buttons in the order they
// are shown, OK when it has none.
TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons);

// The caption MessageDlg gives a box of this type: "Warning", "Error", "Information", "Confirm";
// an mtCustom box has no caption of its own.
std::string MsgDlgCaption(TMsgDlgType type);

// What an open dialog is asked: the filter is "Description|*.EXT" pairs joined with '|'.
struct TOpenFileRequest {
  std::string Title;
  std::string Filter;
  std::string InitialDir;
  std::string FileName;  // in: the name proposed; out: the file chosen
};

// What a folder browser is asked.
struct TBrowseFolderRequest {
  std::string Title;
  std::string Folder;  // in: the folder proposed; out: the folder chosen
};

// The one way the programs talk to the user in boxes; the program installs the windowed one,
// tests install a recording one.
class TDialogService {
 public:
  virtual ~TDialogService() = default;
  // Shows a modal box and gives the modal result of the button pressed.
  virtual int ShowMessageBox(const std::string& caption, const std::string& text, TMsgDlgType type,
                             TMsgDlgButtons buttons, int helpContext) = 0;
  // True when the user chose a file; request.FileName then holds it.
  virtual bool OpenFileDialog(TOpenFileRequest& request) = 0;
  // True when the user chose a folder; request.Folder then holds it.
  virtual bool BrowseForFolder(TBrowseFolderRequest& request) = 0;
  virtual void Beep(unsigned type) = 0;
};

// Installs a service (nullptr removes it) and gives back the one it replaces.
TDialogService* SetDialogService(TDialogService* service);
TDialogService* DialogService();

// A box captioned by its type's name; with no service installed it raises Exception rather than
// wait for a user who is not there.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
// The same with a caption of the caller's (the application's title for the default error display).
int MessageBoxWithCaption(const std::string& caption, const std::string& text, TMsgDlgType type,
                          TMsgDlgButtons buttons, int helpContext);
// How many error and warning boxes MessageDlg and MessageBoxWithCaption have shown in this process:
// a program whose run showed one ends with exit status 1.
int ErrorOrWarningBoxCount();
// Both raise Exception when no service is installed.
bool ExecuteOpenDialog(TOpenFileRequest& request);
bool ExecuteBrowseForFolder(TBrowseFolderRequest& request);

// Sounds the beep of the given type; without a service there is nobody to hear it, so it does nothing.
// Always true, as the system call reports success.
bool MessageBeep(unsigned type);
