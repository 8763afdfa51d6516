#include "platform/ui/QtDialogService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <vector>

#include "platform/ui/QtText.h"

namespace {

QMessageBox::Icon IconOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return QMessageBox::Warning;
    case mtError:
      return QMessageBox::Critical;
    case mtInformation:
      return QMessageBox::Information;
    case mtConfirmation:
      return QMessageBox::Question;
    case mtCustom:
      break;
  }
  return QMessageBox::NoIcon;
}

const char* ButtonCaption(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return "&Yes";
    case mbNo:
      return "&No";
    case mbOK:
      return "OK";
    case mbCancel:
      return "Cancel";
    case mbAbort:
      return "&Abort";
    case mbRetry:
      return "&Retry";
    case mbIgnore:
      return "&Ignore";
    case mbAll:
      return "&All";
    case mbNoToAll:
      return "N&o to All";
    case mbYesToAll:
      return "Yes to &All";
    case mbHelp:
      return "&Help";
  }
  return "";
}

QMessageBox::ButtonRole RoleOf(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
    case mbYesToAll:
    case mbAll:
      return QMessageBox::YesRole;
    case mbNo:
    case mbNoToAll:
      return QMessageBox::NoRole;
    case mbOK:
      return QMessageBox::AcceptRole;
    case mbCancel:
    case mbAbort:
      return QMessageBox::RejectRole;
    case mbHelp:
      return QMessageBox::HelpRole;
    case mbRetry:
    case mbIgnore:
      break;
  }
  return QMessageBox::ActionRole;
}

// A pattern whose letters match either case: "*.XML" becomes "*.[xX][mM][lL]".
QString AnyCasePattern(const QString& pattern) {
  QString result;
  for (const QChar c : pattern) {
    if (c.isLetter() && c.toLower() != c.toUpper()) {
      result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
    } else {
      result += c;
    }
  }
  return result;
}

// The file dialog keeps its last folder, history and view in the user's settings (QtProject.conf in
// the configuration folder), read when it opens and written when it closes, cancelled or not. These
// programs keep no settings: the user's settings of Qt are looked for below a device, where no folder
// can ever be made, so nothing is read and the write fails silently.
void KeepNoDialogSettings() {
  static bool pointed = false;
  if (pointed) return;
  const QString nowhere = QStringLiteral("/dev/null/");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
  pointed = true;
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      patterns << AnyCasePattern(pattern.trimmed());
    }
    // The file dialog takes the patterns from the last parentheses and, with the details hidden,
    // shows only the description before them.
    result << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return result;
}

int TQtDialogService::ShowMessageBox(const std::string& caption, const std::string& text, TMsgDlgType type,
                                     TMsgDlgButtons buttons, int /*helpContext*/) {
  QMessageBox box(QApplication::activeWindow());
  box.setObjectName(QLatin1String(MessageBoxObjectName));
  box.setWindowTitle(ToQString(caption));
  box.setTextFormat(Qt::PlainText);
  // The system ends its lines with CR LF; Qt breaks lines at LF and would show the CR.
  QString shown = ToQString(text);
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  box.setText(shown);
  box.setIcon(IconOf(type));
  if (buttons.Empty()) buttons = TMsgDlgButtons{mbOK};
  std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> made;
  for (int b = mbYes; b <= mbHelp; ++b) {
    const auto button = static_cast<TMsgDlgBtn>(b);
    if (!buttons.Contains(button)) continue;
    QPushButton* push = box.addButton(ToQString(ButtonCaption(button)), RoleOf(button));
    made.emplace_back(push, button);
    if (button == mbCancel || button == mbNo || made.size() == 1) box.setEscapeButton(push);
    if (button == DefaultButton(buttons)) box.setDefaultButton(push);
  }
  box.exec();
  for (const auto& [widget, button] : made) {
    if (box.clickedButton() == widget) return ModalResultOf(button);
  }
  return mrNone;
}

bool TQtDialogService::OpenFileDialog(TOpenFileRequest& request) {
  KeepNoDialogSettings();
  QFileDialog dialog(QApplication::activeWindow(), ToQString(request.Title), ToQString(request.InitialDir));
  dialog.setObjectName(QLatin1String(OpenDialogObjectName));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // A typed name is taken even when no such file exists; the caller checks it.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  const QStringList filters = QtNameFilters(request.Filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!request.FileName.empty()) dialog.selectFile(ToQString(request.FileName));
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  request.FileName = ResolveChosenPath(chosen.front());
  return true;
}

bool TQtDialogService::BrowseForFolder(TBrowseFolderRequest& request) {
  KeepNoDialogSettings();
  // With no folder given, the browser starts at the top of the file system; Qt would otherwise open
  // the working folder, which the user could take for a choice already made.
  const std::string start = request.Folder.empty() ? std::string("/") : request.Folder;
  QFileDialog dialog(QApplication::activeWindow(), ToQString(request.Title), ToQString(start));
  dialog.setObjectName(QLatin1String(FolderBrowserObjectName));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  request.Folder = ResolveChosenPath(chosen.front());
  return true;
}

void TQtDialogService::Beep(unsigned /*type*/) { QApplication::beep(); }
