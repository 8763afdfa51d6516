#include <gtest/gtest.h>

#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "iconloader/IconLoad.h"
#include "platform/components/Application.h"
#include "platform/data/DBErrors.h"
#include "platform/data/Query.h"
#include "platform/system/AnsiStrings.h"
#include "platform/system/CommandLine.h"
#include "platform/system/RunReport.h"
#include "platform/ui/QtRuntime.h"
#include "tests/iconloader/IconLoaderTestSupport.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/UnreadableFile.h"

namespace {

// Bitmap-like bytes that a text read would spoil: NULs, CR LF, bytes above 127.
std::string BitmapBytes(const std::string& tag) {
  return std::string("BM\x00\x01\r\n\xff\xfe", 8) + tag + std::string(300, '\x80');
}

// The text the engine gives for a connection string that opens nothing.
std::string EngineMessageFor(const std::string& serverName) {
  TDatabase probe(nullptr);
  probe.Params().Add("SERVER NAME=" + serverName);
  probe.Params().Add("USER NAME=SYSDBA");
  try {
    probe.Open();
  } catch (const EDBEngineError& e) {
    return e.Message();
  }
  ADD_FAILURE() << serverName << " opened";
  return std::string();
}

// A product folder: the program in BIN/Loader/, QV32.INI in BIN/, the icons in Icons/.
class IconLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApplication();
    RegisterIconLoaderClasses();
    FApplication = std::make_unique<TApplication>(nullptr);
    InstallQtWindowing(*FApplication);
    FApplication->Initialize();
    FApplication->SetTitle("Glyphcrate");
  }

  void TearDown() override {
    FApplication.reset();
    Screen->SetActiveForm(nullptr);
    Screen->SetCursor(crDefault);
  }

  std::string ProgramFolder() const { return FBox.Root.File("Prod/BIN/Loader"); }
  std::string IconFolder() const { return FBox.Root.File("Icons"); }
  void WriteIni(const std::vector<std::string>& names, const std::vector<std::string>& servers) {
    FBox.Root.Write("Prod/BIN/QV32.INI", Qv32IniText(names, servers));
  }
  std::string WriteIcon(const std::string& name, const std::string& bytes) {
    return FBox.Root.Write("Icons/" + name, bytes);
  }

  // Creates the main form as the program does, with the given command-line arguments.
  TfmLoadImages* CreateForm(std::vector<std::string> arguments = {}) {
    arguments.insert(arguments.begin(), "glyphcrate");
    std::vector<const char*> argv;
    for (const std::string& a : arguments) argv.push_back(a.c_str());
    SetCommandLine(static_cast<int>(argv.size()), argv.data());
    TfmLoadImages* form = nullptr;
    FApplication->CreateForm(form);
    return form;
  }

  // Shows the form and makes it the active window, as the first showing after start-up does.
  void ShowAndActivate(TfmLoadImages* form) {
    form->Show();
    form->WindowActivated();
  }

  TIconLoaderSandbox FBox;
  TScopedEnv FWinStation{"WINSTATIONNAME", std::nullopt};
  TScopedEnv FClientName{"CLIENTNAME", std::nullopt};
  TScopedProgramFolder FProgramFolder{ProgramFolder()};
  TRecordingDialogService FDialogs;
  std::unique_ptr<TApplication> FApplication;
};

}  // namespace

TEST_F(IconLoadTest, TheFormAsDesigned) {
  TfmLoadImages* form = CreateForm();
  EXPECT_EQ(form->Caption(), "Load images into Database");
  EXPECT_EQ(form->Width(), 612);
  EXPECT_EQ(form->Height(), 173);
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(form->Font()->Height(), -11);

  EXPECT_EQ(form->paPanel->Align(), alTop);
  EXPECT_EQ(form->paPanel->Height(), 97);
  EXPECT_EQ(form->paPanel->Caption(), "");
  EXPECT_EQ(form->paBottom->Align(), alBottom);
  EXPECT_EQ(form->paBottom->Height(), 41);
  EXPECT_EQ(form->paBottom->BevelOuter(), bvNone);
  EXPECT_EQ(form->Label2->Caption(), "This Utility loads images and icons to database");
  EXPECT_EQ(form->Label2->Alignment(), taCenter);
  EXPECT_TRUE(form->Label2->Font()->Style().Contains(fsBold));
  EXPECT_EQ(form->Label1->Caption(), "Select database :");
  EXPECT_EQ(form->laSelectIcon->Caption(), "Select icon folder :");
  EXPECT_EQ(form->edIconFileName->Text(), "");

  struct {
    TControl* Control;
    std::string Caption;
    std::string Hint;
    bool ShowsHint;
  } const controls[] = {
      {form->edIconFileName, "", "Icon file path", true},
      {form->buSelectIcon, "...", "Select Icon file path", true},
      {form->buCheck, "Load Image to database", "Load Images into database", true},
      {form->buCheckAll, "Load Image to All database", "Load Images into database", true},
      {form->cbDatabase, "", "Select database", false},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.Control->Name());
    if (!c.Caption.empty()) {
      EXPECT_EQ(c.Control->Caption(), c.Caption);
    }
    EXPECT_EQ(c.Control->Hint(), c.Hint);
    EXPECT_EQ(c.Control->EffectiveShowHint(), c.ShowsHint);
  }

  // Tab order: the top panel (folder field, button), the bottom panel (the two loads), the list.
  EXPECT_EQ(form->paPanel->TabOrder(), 0);
  EXPECT_EQ(form->edIconFileName->TabOrder(), 0);
  EXPECT_EQ(form->buSelectIcon->TabOrder(), 1);
  EXPECT_EQ(form->paBottom->TabOrder(), 1);
  EXPECT_EQ(form->buCheck->TabOrder(), 0);
  EXPECT_EQ(form->buCheckAll->TabOrder(), 1);
  EXPECT_EQ(form->cbDatabase->TabOrder(), 2);
  EXPECT_EQ(form->cbDatabase->Parent(), form);

  EXPECT_EQ(form->cbDatabase->Text(), "cbDatabase");
  EXPECT_FALSE(form->cbDatabase->DefaultLastDatabase());

  EXPECT_EQ(form->dbDatabase->DatabaseName(), "dbDatabase");
  EXPECT_EQ(form->dbDatabase->DriverName(), "INTRBASE");
  EXPECT_FALSE(form->dbDatabase->LoginPrompt());
  EXPECT_EQ(form->dbDatabase->SessionName(), "Default");
  const std::vector<std::string> params = form->dbDatabase->Params().Lines();
  ASSERT_EQ(params.size(), 14u);
  EXPECT_TRUE(StartsWith(params[0], "SERVER NAME="));
  EXPECT_EQ(std::vector<std::string>(params.begin() + 1, params.end()),
            (std::vector<std::string>{
                "USER NAME=SYSDBA", "PASSWORD=tinplover", "OPEN MODE=READ/WRITE", "SCHEMA CACHE SIZE=8",
                "LANGDRIVER=", "SQLQRYMODE=", "SQLPASSTHRU MODE=SHARED NOAUTOCOMMIT", "SCHEMA CACHE TIME=-1",
                "MAX ROWS=-1", "BATCH COUNT=200", "ENABLE SCHEMA CACHE=FALSE", "SCHEMA CACHE DIR=", " "}));
  EXPECT_EQ(form->quBlob->SQL().Lines(),
            (std::vector<std::string>{"INSERT INTO QVICONS", "(ICONKEY, IconBLOB)",
                                      " VALUES (:IconKey,:IconBlob)"}));
  EXPECT_EQ(form->quBlob->DatabaseName(), "");
  EXPECT_NE(form->PicOpenDialog, nullptr);
  EXPECT_NE(form->DbOpenDialog, nullptr);
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(IconLoadTest, EachBitmapOfTheFolderBecomesARowUnderItsKey) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  WriteIcon("pic.bmp", BitmapBytes("pic"));
  WriteIcon("AVeryLongIconName.BMP", BitmapBytes("long"));
  WriteIcon(".bmp", BitmapBytes("bare"));
  WriteIcon(".hidden.Bmp", BitmapBytes("hidden"));
  WriteIcon("notes.txt", "not a bitmap");
  WriteIcon("pic.bmp.old", "not a bitmap either");
  WriteIcon("old.bmp/inner.bmp", BitmapBytes("inner"));
  // The key's 15 places take whole UTF-8 characters only: "Ä" would stand in the 15th and 16th.
  WriteIcon("abcdefghijklmn\xC3\x84\xC3\x96.bmp", BitmapBytes("umlauts"));
  WriteIcon("ABCDEFGHIJKLM\xC3\x84\xC3\x96.bmp", BitmapBytes("fits"));
  WriteIcon("\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xF0\x9F\x98\x80.bmp", BitmapBytes("euros"));
  // A name that is no UTF-8 (Latin-1 here) is cut as bytes.
  WriteIcon("abcdefghijklmn\xC4\xD6.bmp", BitmapBytes("latin"));

  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText(IconFolder());
  form->buCheckClick(form->buCheck);

  EXPECT_EQ(
      db.Rows(SelectIcons),
      (TestDatabase::TRows{{"", BitmapBytes("bare")},
                           {".hidden", BitmapBytes("hidden")},
                           {"ABCDEFGHIJKLM\xC3\x84", BitmapBytes("fits")},
                           {"AVeryLongIconNa", BitmapBytes("long")},
                           {"abcdefghijklmn", BitmapBytes("umlauts")},
                           {"abcdefghijklmn\xC4", BitmapBytes("latin")},
                           {"pic", BitmapBytes("pic")},
                           {"\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", BitmapBytes("euros")}}));
  EXPECT_FALSE(form->dbDatabase->Connected());
  EXPECT_TRUE(FDialogs.Boxes().empty());
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
}

TEST_F(IconLoadTest, ASecondFileOfTheSameKeyOrOneTheTableRefusesIsSkippedWithoutABoxCountedInOneLineEach) {
  TestDatabase db(std::string(IconSchema) + ";\nALTER TABLE QVICONS ADD CHECK (ICONKEY <> 'Refused')");
  WriteIni({"Main"}, {db.Path()});
  WriteIcon("ClinicalAlertRed.bmp", BitmapBytes("red"));
  WriteIcon("ClinicalAlertRedDark.bmp", BitmapBytes("dark"));
  WriteIcon("Zeta.bmp", BitmapBytes("zeta"));
  WriteIcon("Refused.bmp", BitmapBytes("refused"));

  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText(IconFolder());
  const int skipsBefore = SkippedReportCount();
  testing::internal::CaptureStderr();
  form->buCheckClick(form->buCheck);
  // A key that exists is ordinary; any other refusal is something not done, with the engine's reason.
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_EQ(written.rfind(ProgramName() + ": DB0 \"Main\": 1 of 4 icons not stored: Operation violates CHECK "
                                          "constraint ",
                          0),
            0u)
      << written;
  EXPECT_NE(
      written.find("\n" + ProgramName() + ": DB0 \"Main\": 1 of 4 icons not stored, their key exists\n"),
      std::string::npos)
      << written;
  EXPECT_EQ(SkippedReportCount(), skipsBefore + 1);

  const TestDatabase::TRows rows = db.Rows(SelectIcons);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "ClinicalAlertRe");
  // Which of the two came first is the directory's order.
  EXPECT_TRUE(rows[0][1] == BitmapBytes("red") || rows[0][1] == BitmapBytes("dark"));
  EXPECT_EQ(rows[1], (TestDatabase::TRow{"Zeta", BitmapBytes("zeta")}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(IconLoadTest, ADatabaseThatCannotGrowShowsItsErrorAndEndsTheLoad) {
  TSmallDisk disk("8m");
  if (!disk.Mounted()) GTEST_SKIP() << disk.Reason();
  TestDatabase full(IconSchema, disk.Path());
  TestDatabase second(IconSchema);
  WriteIni({"Full", "Second"}, {full.Path(), second.Path()});
  // More bitmap bytes than the disk has room for.
  for (int i = 0; i < 20; ++i)
    WriteIcon("big" + std::to_string(i) + ".bmp", BitmapBytes(std::string(400000, 'x')));
  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText(IconFolder());
  FDialogs.ExpectBox(mrOk);

  GuardedCall(form, [form] { form->buCheckAllClick(form->buCheckAll); });

  // Unlike a refused key, the default display shows the server's error, and the load goes no further.
  ASSERT_EQ(FDialogs.Boxes().size(), 1u);
  EXPECT_EQ(FDialogs.Boxes()[0].Caption, "Glyphcrate");
  EXPECT_EQ(
      FDialogs.Boxes()[0].Text.rfind("I/O error during \"write\" operation for file \"" + full.Path(), 0), 0u)
      << FDialogs.Boxes()[0].Text;
  EXPECT_TRUE(form->dbDatabase->Connected());
  EXPECT_EQ(form->dbDatabase->Params()[0], "SERVER NAME=" + full.Path());
  EXPECT_TRUE(second.Rows(SelectIcons).empty());
}

TEST_F(IconLoadTest, ABitmapThatCannotBeReadShowsTheFileErrorAndEndsTheLoad) {
  const std::string unreadable = UnreadableFile();
  if (unreadable.empty()) GTEST_SKIP() << NoUnreadableFile;
  TestDatabase first(IconSchema);
  TestDatabase second(IconSchema);
  WriteIni({"First", "Second"}, {first.Path(), second.Path()});
  std::filesystem::create_directories(IconFolder());
  std::filesystem::create_symlink(unreadable, IconFolder() + "/locked.bmp");
  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText(IconFolder());
  FDialogs.ExpectBox(mrOk);

  GuardedCall(form, [form] { form->buCheckAllClick(form->buCheckAll); });

  ASSERT_EQ(FDialogs.Boxes().size(), 1u);
  EXPECT_EQ(FDialogs.Boxes()[0].Caption, "Glyphcrate");
  EXPECT_EQ(FDialogs.Boxes()[0].Text,
            "Cannot read file \"" + IconFolder() + "/locked.bmp\". File access denied.");
  EXPECT_EQ(FDialogs.Boxes()[0].Type, mtError);
  EXPECT_TRUE(form->dbDatabase->Connected());
  EXPECT_EQ(form->dbDatabase->Params()[0], "SERVER NAME=" + first.Path());
  EXPECT_TRUE(first.Rows(SelectIcons).empty());
  EXPECT_TRUE(second.Rows(SelectIcons).empty());
}

TEST_F(IconLoadTest, AFolderWithOrWithoutItsTrailingDelimiterLoadsTheSameFiles) {
  TestDatabase first(IconSchema);
  TestDatabase second(IconSchema);
  WriteIni({"First", "Second"}, {first.Path(), second.Path()});
  WriteIcon("pic.bmp", BitmapBytes("pic"));
  WriteIcon("Tick.BMP", BitmapBytes("tick"));

  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText(IconFolder());
  form->cbDatabase->SetItemIndex(0);
  form->buCheckClick(form->buCheck);
  form->edIconFileName->SetText(IconFolder() + "/");
  form->cbDatabase->SetItemIndex(1);
  form->buCheckClick(form->buCheck);

  const TestDatabase::TRows expected{{"Tick", BitmapBytes("tick")}, {"pic", BitmapBytes("pic")}};
  EXPECT_EQ(first.Rows(SelectIcons), expected);
  EXPECT_EQ(second.Rows(SelectIcons), expected);
}

TEST_F(IconLoadTest, RowsAreStoredWhenTheConnectionClosesAndTheListPersists) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  WriteIcon("pic.bmp", BitmapBytes("pic"));
  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText(IconFolder());

  form->buCheckClick(form->buCheck);
  EXPECT_EQ(db.Rows("SELECT ICONKEY FROM QVICONS"), (TestDatabase::TRows{{"pic"}}));

  // The list keeps what the load made of it: the server line and the password prepared.
  const TStringList& params = form->dbDatabase->Params();
  EXPECT_EQ(params[0], "SERVER NAME=" + db.Path());
  EXPECT_EQ(params[2], "password=tinplover");
  EXPECT_EQ(params[7], "SQLPASSTHRU MODE=SHARED NOAUTOCOMMIT");
  EXPECT_EQ(params.Count(), 14);

  // A second load of the same folder inserts nothing new and shows nothing.
  form->buCheckClick(form->buCheck);
  EXPECT_EQ(db.Rows("SELECT ICONKEY FROM QVICONS"), (TestDatabase::TRows{{"pic"}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(IconLoadTest, TheListAndTheLoadReadTwoDifferentFiles) {
  TestDatabase besideProgram(IconSchema);
  TestDatabase inBin(IconSchema);
  // The list finds the file beside the program; the load reads the one in BIN/.
  FBox.Root.Write("Prod/BIN/Loader/QV32.INI", Qv32IniText({"Listed beside"}, {besideProgram.Path()}));
  WriteIni({"Listed in BIN"}, {inBin.Path()});
  WriteIcon("pic.bmp", BitmapBytes("pic"));

  TfmLoadImages* form = CreateForm();
  EXPECT_EQ(form->cbDatabase->Items().Lines(), (std::vector<std::string>{"Listed beside"}));
  form->edIconFileName->SetText(IconFolder());
  form->buCheckAllClick(form->buCheckAll);

  EXPECT_EQ(inBin.Rows(SelectIcons), (TestDatabase::TRows{{"pic", BitmapBytes("pic")}}));
  EXPECT_TRUE(besideProgram.Rows(SelectIcons).empty());
}

TEST_F(IconLoadTest, WithoutTheLoadsFileTheConnectionErrorNamesServerUnknown) {
  FBox.Root.Write("Prod/BIN/Loader/QV32.INI", Qv32IniText({"Listed beside"}, {"/nowhere/x.fdb"}));
  WriteIcon("pic.bmp", BitmapBytes("pic"));
  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText(IconFolder());

  FDialogs.ExpectBox(mrOk);
  form->buCheckClick(form->buCheck);

  ASSERT_EQ(FDialogs.Boxes().size(), 1u);
  const TRecordedBox& box = FDialogs.Boxes()[0];
  EXPECT_EQ(box.Text,
            "Cannot Connect to the Database. \r\n"
            "SERVER NAME=UNKNOWN\r\n"
            "\r\n"
            "Please ensure: \r\n"
            "  (a) Your server is operational \r\n"
            "  (b) You have a network connection to the server \r\n"
            "  (c) You have chosen the correct database \r\n"
            "\r\n"
            "The Error encountered was \"" +
                EngineMessageFor("UNKNOWN") + "\"");
  EXPECT_EQ(box.Type, mtError);
  EXPECT_EQ(box.Caption, "Error");
  EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
  EXPECT_FALSE(form->dbDatabase->Connected());
}

TEST_F(IconLoadTest, TheConnectionErrorNamesTheServerLineAsPrepared) {
  // This workstation is WARD3; a server path that begins with its name is opened locally.
  FBox.Root.Write("registry/HKEY_LOCAL_MACHINE.reg",
                  "[System\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\n"
                  "\"ComputerName\"=\"Ward3\"\n");
  const std::string missing = FBox.Root.File("missing.fdb");
  WriteIni({"Main"}, {"WARD3:" + missing});
  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText(IconFolder());

  FDialogs.ExpectBox(mrOk);
  form->buCheckClick(form->buCheck);

  EXPECT_EQ(
      FDialogs.BoxTexts(),
      (std::vector<std::string>{ConnectionErrorText("SERVER NAME=" + missing, EngineMessageFor(missing))}));
}

namespace {

// Notes what the database list's edit field shows whenever a box appears.
class TListWatchingDialogService : public TRecordingDialogService {
 public:
  TfmLoadImages* Form = nullptr;
  std::vector<std::string> Shown;
  int ShowMessageBox(const std::string& caption, const std::string& text, TMsgDlgType type,
                     TMsgDlgButtons buttons, int helpContext) override {
    Shown.push_back(Form->cbDatabase->Text());
    return TRecordingDialogService::ShowMessageBox(caption, text, type, buttons, helpContext);
  }
};

}  // namespace

TEST_F(IconLoadTest, LoadingIntoAllShowsEachDatabasesNameInTheListInTurn) {
  WriteIni({"North practice", "South practice"}, {FBox.Root.File("north.fdb"), FBox.Root.File("south.fdb")});
  TfmLoadImages* form = CreateForm();
  // As created: the first entry selected, the edit field showing the designed text.
  ASSERT_EQ(form->cbDatabase->ItemIndex(), 0);
  ASSERT_EQ(form->cbDatabase->Text(), "cbDatabase");
  form->edIconFileName->SetText(IconFolder());

  TListWatchingDialogService dialogs;
  dialogs.Form = form;
  dialogs.ExpectBox(mrOk);
  dialogs.ExpectBox(mrOk);
  form->buCheckAllClick(form->buCheckAll);

  EXPECT_EQ(dialogs.Shown, (std::vector<std::string>{"North practice", "South practice"}));
}

TEST_F(IconLoadTest, AFolderWithANonAsciiLetterLoadsWhenTypedOrChosen) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  const std::string folder = FBox.Root.File("ic\xc3\xb4nes");
  FBox.Root.Write("ic\xc3\xb4nes/pic.bmp", BitmapBytes("pic"));
  TfmLoadImages* form = CreateForm();
  auto* field = qobject_cast<QLineEdit*>(form->edIconFileName->Widget());
  ASSERT_NE(field, nullptr);

  // Typed by hand: the field holds characters, not bytes.
  field->clear();
  field->insert(QString::fromUtf8(folder.c_str()));
  form->buCheckClick(form->buCheck);
  EXPECT_EQ(db.Rows(SelectIcons), (TestDatabase::TRows{{"pic", BitmapBytes("pic")}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());

  // Chosen with the folder button: the field shows the name as written.
  FDialogs.ExpectBrowseForFolder(true, folder);
  form->buSelectIcon->Click();
  EXPECT_EQ(field->text().toStdString(), folder);
  EXPECT_EQ(form->edIconFileName->Text(), folder);
}

TEST_F(IconLoadTest, ALoadWithoutASelectedDatabaseAsksForOne) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  TfmLoadImages* form = CreateForm();
  form->cbDatabase->SetItemIndex(-1);
  form->edIconFileName->SetText(IconFolder());

  FDialogs.ExpectBox(mrOk);
  form->buCheckClick(form->buCheck);

  ASSERT_EQ(FDialogs.Boxes().size(), 1u);
  EXPECT_EQ(FDialogs.Boxes()[0].Text, "Please select a Database to Check");
  EXPECT_EQ(FDialogs.Boxes()[0].Type, mtWarning);
  EXPECT_EQ(FDialogs.Boxes()[0].Buttons, (TMsgDlgButtons{mbOK}));
  EXPECT_FALSE(form->dbDatabase->Connected());
  EXPECT_EQ(form->dbDatabase->Params()[0].find(db.Path()), std::string::npos);
}

TEST_F(IconLoadTest, AnEmptyFolderFieldAsksForTheFolderAndClosesTheConnection) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  TfmLoadImages* form = CreateForm();
  form->Show();

  FDialogs.ExpectBox(mrOk);
  form->buCheckClick(form->buCheck);

  EXPECT_EQ(FDialogs.BoxTexts(), (std::vector<std::string>{"Select Icon Folder"}));
  EXPECT_EQ(FDialogs.Boxes()[0].Type, mtInformation);
  EXPECT_EQ(form->ActiveControl(), form->edIconFileName);
  EXPECT_FALSE(form->dbDatabase->Connected());
  // The connection was opened, so the server line names the database.
  EXPECT_EQ(form->dbDatabase->Params()[0], "SERVER NAME=" + db.Path());
}

TEST_F(IconLoadTest, AFolderThatDoesNotExistLoadsNothingAndSaysSoInOneLineWithoutABox) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText(FBox.Root.File("NoSuchFolder"));
  testing::internal::CaptureStderr();
  form->buCheckClick(form->buCheck);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), ProgramName() + ": DB0 \"Main\" skipped: folder \"" +
                                                        FBox.Root.File("NoSuchFolder") + "\" not found\n");
  EXPECT_TRUE(db.Rows(SelectIcons).empty());
  EXPECT_FALSE(form->dbDatabase->Connected());
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(IconLoadTest, TheFolderButtonTakesTheChosenFolderAndKeepsTheTextOnCancel) {
  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText("/earlier");

  FDialogs.ExpectBrowseForFolder(false);
  form->buSelectIcon->Click();
  EXPECT_EQ(form->edIconFileName->Text(), "/earlier");

  FDialogs.ExpectBrowseForFolder(true, "/srv/icons");
  form->buSelectIcon->Click();
  EXPECT_EQ(form->edIconFileName->Text(), "/srv/icons");

  ASSERT_EQ(FDialogs.FolderRequests().size(), 2u);
  EXPECT_EQ(FDialogs.FolderRequests()[0].Title, "Select Directory of Icons");
  EXPECT_EQ(FDialogs.FolderRequests()[0].Folder, "");
}

TEST_F(IconLoadTest, TheCommandLineArgumentCountsFromTwoCharacters) {
  struct {
    std::vector<std::string> Arguments;
    std::string FolderArg;
  } const cases[] = {
      {{}, ""}, {{"x"}, ""}, {{""}, ""}, {{"/d"}, "/d"}, {{"/srv/icons", "ignored"}, "/srv/icons"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments.empty() ? "(none)" : c.Arguments[0]);
    TfmLoadImages* form = CreateForm(c.Arguments);
    EXPECT_EQ(form->FolderArg(), c.FolderArg);
    delete form;
  }
}

TEST_F(IconLoadTest, AOneCharacterArgumentLeavesTheWindowForInteractiveUse) {
  WriteIni({"Main"}, {"/nowhere/x.fdb"});
  TfmLoadImages* form = CreateForm({"x"});
  ShowAndActivate(form);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(form->buCheck->Enabled());
  EXPECT_TRUE(form->buCheckAll->Enabled());
  EXPECT_FALSE(FApplication->Terminated());
  EXPECT_TRUE(FDialogs.Boxes().empty());
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(IconLoadTest, AnUnattendedRunWithAnEmptyListEndsTheProgramAtOnce) {
  WriteIcon("pic.bmp", BitmapBytes("pic"));
  TfmLoadImages* form = CreateForm({IconFolder()});
  EXPECT_TRUE(form->cbDatabase->Items().Lines().empty());
  ShowAndActivate(form);
  EXPECT_TRUE(FApplication->Terminated());
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->buCheck->Enabled());
  EXPECT_FALSE(form->buCheckAll->Enabled());
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(IconLoadTest, AnUnattendedRunIntoAMissingFolderConnectsToEveryDatabaseAndEnds) {
  TestDatabase first(IconSchema);
  TestDatabase second(IconSchema);
  WriteIni({"First", "Second"}, {first.Path(), second.Path()});
  TfmLoadImages* form = CreateForm({FBox.Root.File("NoSuchFolder")});
  ShowAndActivate(form);
  EXPECT_TRUE(FApplication->Terminated());
  EXPECT_TRUE(first.Rows(SelectIcons).empty());
  EXPECT_TRUE(second.Rows(SelectIcons).empty());
  EXPECT_TRUE(FDialogs.Boxes().empty());
  // Both were connected: each load left its server in the list's first line, the last one last.
  EXPECT_EQ(form->dbDatabase->Params()[0], "SERVER NAME=" + second.Path());
  EXPECT_EQ(form->edIconFileName->Text(), FBox.Root.File("NoSuchFolder"));
}

TEST_F(IconLoadTest, AnUnattendedRunSkipsADatabaseThatCannotOpenAfterItsMessage) {
  TestDatabase good(IconSchema);
  const std::string missing = FBox.Root.File("missing.fdb");
  WriteIni({"Broken", "Good"}, {missing, good.Path()});
  WriteIcon("pic.bmp", BitmapBytes("pic"));
  WriteIcon("Tick.BMP", BitmapBytes("tick"));
  TfmLoadImages* form = CreateForm({IconFolder()});

  FDialogs.ExpectBox(mrOk);
  ShowAndActivate(form);

  ASSERT_EQ(FDialogs.Boxes().size(), 1u);
  EXPECT_EQ(FDialogs.Boxes()[0].Text,
            ConnectionErrorText("SERVER NAME=" + missing, EngineMessageFor(missing)));
  EXPECT_EQ(good.Rows(SelectIcons),
            (TestDatabase::TRows{{"Tick", BitmapBytes("tick")}, {"pic", BitmapBytes("pic")}}));
  EXPECT_TRUE(FApplication->Terminated());
  EXPECT_FALSE(form->Visible());
}

namespace {

// A box that, once confirmed, makes the window the active one again, as the desktop does.
class TReactivatingDialogService : public TRecordingDialogService {
 public:
  TCustomForm* Form = nullptr;
  int ShowMessageBox(const std::string& caption, const std::string& text, TMsgDlgType type,
                     TMsgDlgButtons buttons, int helpContext) override {
    const int result = TRecordingDialogService::ShowMessageBox(caption, text, type, buttons, helpContext);
    Screen->SetActiveForm(nullptr);
    if (Form != nullptr) Form->WindowActivated();
    return result;
  }
};

}  // namespace

TEST_F(IconLoadTest, AMessageConfirmedDuringTheUnattendedRunDoesNotStartItAgain) {
  TestDatabase good(IconSchema);
  const std::string missing = FBox.Root.File("missing.fdb");
  WriteIni({"Broken", "Good"}, {missing, good.Path()});
  WriteIcon("pic.bmp", BitmapBytes("pic"));
  TfmLoadImages* form = CreateForm({IconFolder()});

  TReactivatingDialogService dialogs;
  dialogs.Form = form;
  dialogs.ExpectBox(mrOk);
  ShowAndActivate(form);

  // One run: one message for the broken database, one row in the good one.
  EXPECT_EQ(dialogs.Boxes().size(), 1u);
  EXPECT_EQ(good.Rows("SELECT ICONKEY FROM QVICONS"), (TestDatabase::TRows{{"pic"}}));
  EXPECT_TRUE(FApplication->Terminated());

  // A later activation does not start it either.
  Screen->SetActiveForm(nullptr);
  form->WindowActivated();
  EXPECT_EQ(dialogs.Boxes().size(), 1u);
}

TEST_F(IconLoadTest, WithAFolderArgumentEveryLoadPutsTheArgumentBack) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  WriteIcon("pic.bmp", BitmapBytes("pic"));
  TfmLoadImages* form = CreateForm({IconFolder()});
  form->edIconFileName->SetText(FBox.Root.File("Elsewhere"));
  form->buCheckClick(form->buCheck);
  EXPECT_EQ(form->edIconFileName->Text(), IconFolder());
  EXPECT_EQ(db.Rows("SELECT ICONKEY FROM QVICONS"), (TestDatabase::TRows{{"pic"}}));
}

TEST_F(IconLoadTest, AnErrorThatEscapesTheUnattendedRunLeavesTheWindowOpenAndTheRunIsNotRepeated) {
  TestDatabase first(IconSchema);
  TestDatabase second(IconSchema);
  WriteIni({"First", "Second"}, {first.Path(), second.Path()});
  WriteIcon("pic.bmp", BitmapBytes("pic"));
  TfmLoadImages* form = CreateForm({IconFolder()});
  // A statement without the blob parameter: setting it fails before any insert runs.
  form->quBlob->SQL().Clear();
  form->quBlob->SQL().Add("INSERT INTO QVICONS (ICONKEY) VALUES (:IconKey)");

  FDialogs.ExpectBox(mrOk);
  form->Show();
  GuardedCall(form, [form] { form->WindowActivated(); });

  // The default error display, captioned with the title; the rest of the run is abandoned.
  ASSERT_EQ(FDialogs.Boxes().size(), 1u);
  EXPECT_EQ(FDialogs.Boxes()[0].Caption, "Glyphcrate");
  EXPECT_EQ(FDialogs.Boxes()[0].Text, "Parameter 'ICONBLOB' not found.");
  EXPECT_EQ(FDialogs.Boxes()[0].Type, mtError);
  EXPECT_TRUE(first.Rows(SelectIcons).empty());
  EXPECT_TRUE(second.Rows(SelectIcons).empty());
  EXPECT_TRUE(form->dbDatabase->Connected());
  EXPECT_EQ(form->dbDatabase->Params()[0], "SERVER NAME=" + first.Path());
  EXPECT_FALSE(FApplication->Terminated());
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(form->buCheck->Enabled());
  EXPECT_FALSE(form->buCheckAll->Enabled());

  // Activated again (the box closed, the user came back): no second run, no second box.
  Screen->SetActiveForm(nullptr);
  GuardedCall(form, [form] { form->WindowActivated(); });
  EXPECT_EQ(FDialogs.Boxes().size(), 1u);
}

namespace {

// Runs a test step in another current folder and goes back to the first one.
class TScopedCurrentFolder {
 public:
  explicit TScopedCurrentFolder(const std::string& folder) : FOld(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~TScopedCurrentFolder() { std::filesystem::current_path(FOld); }

 private:
  std::filesystem::path FOld;
};

}  // namespace

TEST_F(IconLoadTest, AProgramFolderOfSevenCharactersOrFewerReadsTheBareNameInTheCurrentFolder) {
  TestDatabase db(IconSchema);
  // The list: no file beside "/opt/", no "/BIN" in it, so the temporary folder's BIN/QV32.INI.
  FBox.Root.Write("tmp/BIN/QV32.INI", Qv32IniText({"From the temporary folder"}, {"/nowhere/x.fdb"}));
  // The load: "QV32.INI" as it stands, in the current folder.
  FBox.Root.Write("Current/qv32.ini", Qv32IniText({"Current"}, {db.Path()}));
  WriteIcon("pic.bmp", BitmapBytes("pic"));
  TScopedProgramFolder shortFolder("/opt/");

  TfmLoadImages* form = CreateForm();
  EXPECT_EQ(form->cbDatabase->Items().Lines(), (std::vector<std::string>{"From the temporary folder"}));
  form->edIconFileName->SetText(IconFolder());
  {
    TScopedCurrentFolder current(FBox.Root.File("Current"));
    form->buCheckClick(form->buCheck);
  }
  EXPECT_EQ(db.Rows("SELECT ICONKEY FROM QVICONS"), (TestDatabase::TRows{{"pic"}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(IconLoadTest, AKeyThatAnotherTransactionIsInsertingIsWaitedForAndStoredWhenItRollsBack) {
  TestDatabase db(IconSchema);
  WriteIni({"Main"}, {db.Path()});
  WriteIcon("Zeta.bmp", BitmapBytes("zeta"));
  // Another workstation inserts the same key and has not ended its transaction yet.
  TDatabase other(nullptr);
  other.SetDatabaseName("dbOther");
  other.Params().Assign(db.Params());
  other.Open();
  other.StartTransaction();
  TQuery insert(nullptr);
  insert.SetDatabaseName("dbOther");
  insert.SQL().Add("INSERT INTO QVICONS (ICONKEY) VALUES ('Zeta')");
  insert.ExecSQL();
  std::thread rollback([&other] {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    other.Rollback();
  });
  TfmLoadImages* form = CreateForm();
  form->edIconFileName->SetText(IconFolder());

  form->buCheckClick(form->buCheck);
  rollback.join();

  EXPECT_EQ(db.Rows(SelectIcons), (TestDatabase::TRows{{"Zeta", BitmapBytes("zeta")}}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}
