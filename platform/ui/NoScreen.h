// Runs where nobody can see the windows (Qt's offscreen or minimal platform): message boxes and
// dialogs are answered on standard error, and nothing waits for a person.
#pragma once

#include <string>

#include "platform/system/Dialogs.h"

// Switched on by a program's main. The test suite leaves it off: it runs windows on the offscreen
// platform on purpose and answers their boxes itself.
void AnswerWithoutScreen();
// True when switched on and the QApplication runs on the offscreen or minimal platform (whether the
// program chose it for lack of a display or QT_QPA_PLATFORM asked for it). False before the
// QApplication exists.
bool NoScreen();

// The dialog service then. A message box writes one block to standard error (the program's name, the
// box's kind and caption, then its whole text, a line each, indented) and gives its default button:
// the first of its buttons, OK when it has none. An open dialog or a folder browser writes that it
// needs a display and counts as cancelled.
class TNoScreenDialogService : public TDialogService {
 public:
  int ShowMessageBox(const std::string& caption, const std::string& text, TMsgDlgType type,
                     TMsgDlgButtons buttons, int helpContext) override;
  bool OpenFileDialog(TOpenFileRequest& request) override;
  bool BrowseForFolder(TBrowseFolderRequest& request) override;
  void Beep(unsigned type) override;
};
