// The windowed dialog service: message boxes, the open dialog and the folder browser on Qt.
#pragma once

#include <QStringList>
#include <string>

#include "platform/system/Dialogs.h"

// Installed by the application's window part; needs a running QApplication.
class TQtDialogService : public TDialogService {
 public:
  int ShowMessageBox(const std::string& caption, const std::string& text, TMsgDlgType type,
                     TMsgDlgButtons buttons, int helpContext) override;
  bool OpenFileDialog(TOpenFileRequest& request) override;
  bool BrowseForFolder(TBrowseFolderRequest& request) override;
  void Beep(unsigned type) override;
};

// The Qt name filters of a "Description|*.EXT|Description|*.A;*.B" filter. Each pattern is written so
// that it matches any letter case, as the file names of the original platform do; the description is
// shown as given.
QStringList QtNameFilters(const std::string& filter);

// Object names of the dialogs, so that tests and scripts can find the box on screen.
inline constexpr const char* MessageBoxObjectName = "qvMessageBox";
inline constexpr const char* OpenDialogObjectName = "qvOpenDialog";
inline constexpr const char* FolderBrowserObjectName = "qvFolderBrowser";
