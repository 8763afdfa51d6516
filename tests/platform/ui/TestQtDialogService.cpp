// The windowed dialog service, driven as a user would: boxes read and clicked, names typed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/ui/QtDialogService.h"
#include "platform/ui/QtRuntime.h"
#include "platform/ui/QtText.h"
#include "tests/platform/ui/ModalWatch.h"
#include "tests/support/TempFolder.h"

namespace {

class QtDialogServiceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The user's configuration folder is one of the suite's own, set before any dialog is made.
    static TempFolder configHome;
    FConfigHome = configHome.Path();
    setenv("XDG_CONFIG_HOME", FConfigHome.c_str(), 1);
    EnsureQtApplication();
  }

  void WhenModalAppears(std::function<void(QWidget*)> action) { FWatch.Start(std::move(action)); }

  static inline std::string FConfigHome;
  TModalWatch FWatch;
  TQtDialogService FService;
};

TEST_F(QtDialogServiceTest, MessageBoxShowsIconCaptionTextAndOneOkButton) {
  struct TCase {
    TMsgDlgType Type;
    QMessageBox::Icon Icon;
  };
  const TCase cases[] = {
      {mtError, QMessageBox::Critical},
      {mtWarning, QMessageBox::Warning},
      {mtInformation, QMessageBox::Information},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Type));
    QString caption, text, objectName;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    WhenModalAppears([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      text = box->text();
      icon = box->icon();
      objectName = box->objectName();
      for (QAbstractButton* b : box->buttons()) buttons << b->text();
      box->buttons().front()->click();
    });
    const int result = FService.ShowMessageBox("Larkspan", "Larkspan: /tmp/caf\xe9 <b>Not</b> found", c.Type,
                                               TMsgDlgButtons{mbOK}, 0);
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(caption, QStringLiteral("Larkspan"));
    // Shown as plain text: markup stays visible and every byte arrives.
    EXPECT_EQ(FromQString(text), "Larkspan: /tmp/caf\xe9 <b>Not</b> found");
    EXPECT_EQ(icon, c.Icon);
    EXPECT_EQ(objectName, QLatin1String(MessageBoxObjectName));
    EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
  }
}

TEST_F(QtDialogServiceTest, MessageBoxGivesTheModalResultOfTheButtonPressed) {
  WhenModalAppears([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* b : box->buttons()) {
      if (b->text() == QStringLiteral("Cancel")) b->click();
    }
  });
  EXPECT_EQ(FService.ShowMessageBox("Confirm", "Go on?", mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}, 0),
            mrCancel);
}

TEST_F(QtDialogServiceTest, MessageLinesEndedByCrLfAreShownAsLines) {
  QString text;
  WhenModalAppears([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->buttons().front()->click();
  });
  FService.ShowMessageBox(
      "Glyphcrate", "Cannot Connect to the Database. \r\nSERVER NAME=UNKNOWN\r\n\rPlease ensure: ", mtError,
      TMsgDlgButtons{mbOK}, 0);
  EXPECT_EQ(text, QStringLiteral("Cannot Connect to the Database. \nSERVER NAME=UNKNOWN\n\nPlease ensure: "));
}

TEST_F(QtDialogServiceTest, NameFiltersMatchAnyLetterCase) {
  const QStringList filters = QtNameFilters("QV Advanced Form files (*.xml)|*.XML");
  ASSERT_EQ(filters.size(), 1);
  EXPECT_EQ(filters[0], QStringLiteral("QV Advanced Form files (*.xml) (*.[xX][mM][lL])"));
  const QRegularExpression pattern(
      QRegularExpression::wildcardToRegularExpression(QStringLiteral("*.[xX][mM][lL]")));
  for (const char* name : {"a.xml", "b.XML", "c.Xml"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(pattern.match(QLatin1String(name)).hasMatch());
  }
  EXPECT_FALSE(pattern.match(QStringLiteral("a.xmlx")).hasMatch());
  EXPECT_EQ(QtNameFilters("Bitmaps|*.bmp;*.DIB|All|*").size(), 2);
  EXPECT_EQ(QtNameFilters("Bitmaps|*.bmp;*.DIB|All|*")[0],
            QStringLiteral("Bitmaps (*.[bB][mM][pP] *.[dD][iI][bB])"));
  EXPECT_TRUE(QtNameFilters("").isEmpty());
}

TEST_F(QtDialogServiceTest, OpenDialogAcceptsATypedNameThatDoesNotExist) {
  TempFolder folder;
  folder.Write("present.XML", "<x/>");
  QString title;
  QStringList filters;
  WhenModalAppears([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    filters = dialog->nameFilters();
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("missing.xml"));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  TOpenFileRequest request;
  request.Title = "Browse QV Advanced Forms";
  request.Filter = "QV Advanced Form files (*.xml)|*.XML";
  request.InitialDir = folder.Path();
  ASSERT_TRUE(FService.OpenFileDialog(request));
  EXPECT_EQ(request.FileName, folder.File("missing.xml"));
  EXPECT_EQ(title, QStringLiteral("Browse QV Advanced Forms"));
  EXPECT_EQ(filters, QtNameFilters(request.Filter));
}

TEST_F(QtDialogServiceTest, CancelledDialogsLeaveTheRequestAlone) {
  WhenModalAppears([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  TOpenFileRequest request;
  request.FileName = "kept.xml";
  EXPECT_FALSE(FService.OpenFileDialog(request));
  EXPECT_EQ(request.FileName, "kept.xml");

  WhenModalAppears([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  TBrowseFolderRequest folderRequest;
  folderRequest.Folder = "/kept";
  EXPECT_FALSE(FService.BrowseForFolder(folderRequest));
  EXPECT_EQ(folderRequest.Folder, "/kept");
  // The programs keep no settings: the dialogs leave no file of theirs (QtProject.conf) behind.
  EXPECT_TRUE(std::filesystem::is_empty(FConfigHome));
}

TEST_F(QtDialogServiceTest, FolderBrowserWithNoFolderGivenStartsAtTheTopOfTheFileSystem) {
  // Not in the working folder of the program, which would stand as a folder chosen in advance.
  QString start;
  WhenModalAppears([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    start = dialog->directory().absolutePath();
    dialog->reject();
  });
  TBrowseFolderRequest request;
  request.Title = "Select Directory of Icons";
  EXPECT_FALSE(FService.BrowseForFolder(request));
  EXPECT_EQ(start.toStdString(), "/");
  EXPECT_EQ(request.Folder, "");
}

TEST_F(QtDialogServiceTest, FolderBrowserGivesTheChosenFolder) {
  TempFolder folder;
  folder.Write("Icons/a.bmp", "BM");
  const std::string icons = folder.File("Icons");
  QString title;
  WhenModalAppears([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
    EXPECT_EQ(dialog->objectName(), QLatin1String(FolderBrowserObjectName));
    // The user opens the folder and chooses it.
    dialog->setDirectory(ToQString(icons));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  TBrowseFolderRequest request;
  request.Title = "Select Directory of Icons";
  request.Folder = folder.Path();
  ASSERT_TRUE(FService.BrowseForFolder(request));
  EXPECT_EQ(request.Folder, icons);
  EXPECT_EQ(title, QStringLiteral("Select Directory of Icons"));
}

}  // namespace
