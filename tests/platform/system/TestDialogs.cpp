#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/system/Dialogs.h"
#include "platform/system/Exceptions.h"
#include "tests/support/RecordingDialogService.h"

TEST(Dialogs, MessageDlgCaptionIsTheTypeName) {
  const struct {
    TMsgDlgType Type;
    const char* Caption;
  } cases[] = {{mtWarning, "Warning"},
               {mtError, "Error"},
               {mtInformation, "Information"},
               {mtConfirmation, "Confirm"},
               {mtCustom, ""}};
  TRecordingDialogService service;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Caption);
    service.ExpectBox(mrOk);
    EXPECT_EQ(MessageDlg("Text", c.Type, {mbOK}, 7), mrOk);
    const TRecordedBox& box = service.Boxes().back();
    EXPECT_EQ(box.Caption, c.Caption);
    EXPECT_EQ(box.Text, "Text");
    EXPECT_EQ(box.Type, c.Type);
    EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
    EXPECT_EQ(box.HelpContext, 7);
  }
}

TEST(Dialogs, AnswersComeBackInTheOrderQueued) {
  TRecordingDialogService service;
  service.ExpectBox(mrYes);
  service.ExpectBox(mrCancel);
  EXPECT_EQ(MessageDlg("first", mtConfirmation, {mbYes, mbNo}, 0), mrYes);
  EXPECT_EQ(MessageBoxWithCaption("Larkspan", "second", mtError, {mbOK, mbCancel}, 0), mrCancel);
  EXPECT_EQ(service.BoxTexts(), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(service.Boxes()[1].Caption, "Larkspan");
  EXPECT_TRUE(service.Boxes()[1].Buttons.Contains(mbCancel));
  EXPECT_FALSE(service.Boxes()[1].Buttons.Contains(mbYes));
}

TEST(Dialogs, WithoutAServiceABoxRaisesInsteadOfWaiting) {
  ASSERT_EQ(DialogService(), nullptr);
  try {
    MessageDlg("Nobody reads this", mtError, {mbOK}, 0);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "No dialog service is installed to show the message \"Nobody reads this\"");
  }
  TOpenFileRequest open;
  EXPECT_THROW(ExecuteOpenDialog(open), Exception);
  TBrowseFolderRequest folder;
  EXPECT_THROW(ExecuteBrowseForFolder(folder), Exception);
  // A beep is no box: with nobody to hear it, it simply does nothing.
  EXPECT_TRUE(MessageBeep(0));
}

TEST(Dialogs, RecordingServiceRestoresThePreviousOne) {
  {
    TRecordingDialogService outer;
    {
      TRecordingDialogService inner;
      EXPECT_EQ(DialogService(), &inner);
      MessageBeep(0x30);
      EXPECT_EQ(inner.Beeps(), (std::vector<unsigned>{0x30}));
      EXPECT_EQ(outer.BeepCount(), 0);
    }
    EXPECT_EQ(DialogService(), &outer);
  }
  EXPECT_EQ(DialogService(), nullptr);
}

TEST(Dialogs, UnexpectedBoxFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        TRecordingDialogService service;
        EXPECT_EQ(MessageDlg("Surprise", mtWarning, {mbOK}, 0), mrNone);
      },
      "unexpected message box \"Warning\": Surprise");
}

TEST(Dialogs, AnswerNeverUsedFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        TRecordingDialogService service;
        service.ExpectBox(mrOk);
      },
      "1 expected message box(es) never shown");
}

TEST(Dialogs, OpenAndFolderRequestsAreRecordedAndAnswered) {
  TRecordingDialogService service;
  service.ExpectOpenFile(true, "/data/form.xml");
  service.ExpectOpenFile(false);
  service.ExpectBrowseForFolder(true, "/data/icons");

  TOpenFileRequest open{"Open", "XML files|*.XML", "/start", "proposed.xml"};
  EXPECT_TRUE(ExecuteOpenDialog(open));
  EXPECT_EQ(open.FileName, "/data/form.xml");
  TOpenFileRequest cancelled{"Open", "XML files|*.XML", "", "kept.xml"};
  EXPECT_FALSE(ExecuteOpenDialog(cancelled));
  EXPECT_EQ(cancelled.FileName, "kept.xml");
  ASSERT_EQ(service.OpenFileRequests().size(), 2u);
  EXPECT_EQ(service.OpenFileRequests()[0].Filter, "XML files|*.XML");
  EXPECT_EQ(service.OpenFileRequests()[0].InitialDir, "/start");
  EXPECT_EQ(service.OpenFileRequests()[0].FileName, "proposed.xml");

  TBrowseFolderRequest folder{"Select folder", "/old"};
  EXPECT_TRUE(ExecuteBrowseForFolder(folder));
  EXPECT_EQ(folder.Folder, "/data/icons");
  ASSERT_EQ(service.FolderRequests().size(), 1u);
  EXPECT_EQ(service.FolderRequests()[0].Folder, "/old");
  EXPECT_EQ(service.PendingAnswers(), 0);
}

TEST(Dialogs, ButtonsGiveTheirModalResults) {
  const struct {
    TMsgDlgBtn Button;
    int Result;
  } cases[] = {{mbOK, 1}, {mbCancel, 2}, {mbAbort, 3},   {mbRetry, 4},     {mbIgnore, 5}, {mbYes, 6},
               {mbNo, 7}, {mbAll, 8},    {mbNoToAll, 9}, {mbYesToAll, 10}, {mbHelp, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Result);
    EXPECT_EQ(ModalResultOf(c.Button), c.Result);
  }
}
