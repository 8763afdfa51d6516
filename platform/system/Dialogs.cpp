#include "platform/system/Dialogs.h"

#include "platform/system/Exceptions.h"

namespace {

TDialogService* GService = nullptr;
int GErrorOrWarningBoxes = 0;

// Nobody could answer a box without a service: fail loudly instead of waiting for ever.
TDialogService& RequireService(const std::string& what) {
  if (GService == nullptr) throw Exception("No dialog service is installed to show " + what);
  return *GService;
}

}  // namespace

TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons) {
  for (int b = mbYes; b <= mbHelp; ++b) {
    if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) return static_cast<TMsgDlgBtn>(b);
  }
  return mbOK;
}

int ModalResultOf(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
    case mbAbort:
      return mrAbort;
    case mbRetry:
      return mrRetry;
    case mbIgnore:
      return mrIgnore;
    case mbAll:
      return mrAll;
    case mbNoToAll:
      return mrNoToAll;
    case mbYesToAll:
      return mrYesToAll;
    case mbHelp:
      return mrNone;
  }
  return mrNone;
}

std::string MsgDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    case mtCustom:
      return "";
  }
  return "";
}

TDialogService* SetDialogService(TDialogService* service) {
  TDialogService* previous = GService;
  GService = service;
  return previous;
}

TDialogService* DialogService() { return GService; }

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
  return MessageBoxWithCaption(MsgDlgCaption(type), text, type, buttons, helpContext);
}

int MessageBoxWithCaption(const std::string& caption, const std::string& text, TMsgDlgType type,
                          TMsgDlgButtons buttons, int helpContext) {
  TDialogService& service = RequireService("the message \"" + text + "\"");
  if (type == mtError || type == mtWarning) ++GErrorOrWarningBoxes;
  return service.ShowMessageBox(caption, text, type, buttons, helpContext);
}

int ErrorOrWarningBoxCount() { return GErrorOrWarningBoxes; }

bool ExecuteOpenDialog(TOpenFileRequest& request) {
  return RequireService("an open dialog").OpenFileDialog(request);
}

bool ExecuteBrowseForFolder(TBrowseFolderRequest& request) {
  return RequireService("a folder browser").BrowseForFolder(request);
}

bool MessageBeep(unsigned type) {
  if (GService != nullptr) GService->Beep(type);
  return true;
}
