#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "formimport/DBLoad.h"
#include "formimport/ImportAdvF.h"
#include "formimport/LarkspanProgram.h"
#include "foundation/QData.h"
#include "platform/components/Application.h"
#include "platform/data/Query.h"
#include "platform/system/CommandLine.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtRuntime.h"
#include "tests/platform/system/ScopedEnv.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/UnreadableFile.h"
#include "xmlreader/QuXMLFileIn.h"

namespace {

namespace fs = std::filesystem;

const char* const PickSchema =
    "CREATE TABLE picklist ("
    "  pickid INTEGER NOT NULL,"
    "  picktext VARCHAR(40),"
    "  PRIMARY KEY (pickid))";

const char* const SelectPicks = "SELECT pickid, picktext FROM picklist ORDER BY pickid";

const TestDatabase::TRows PickRows = {{"1", "First"}, {"2", "Second & last"}};

// A form of two picklist rows, with a publish code in front of its tables.
std::string PickForm(const std::string& publishCode) {
  return "<?xml version=\"1.0\"?>\r\n"
         "<xmltable>\r\n"
         "<header><title>Picks</title></header>\r\n"
         "<advform><row><publishcode>" +
         publishCode +
         "</publishcode></row></advform>\r\n"
         "<picklist>\r\n"
         "<row><pickid>1</pickid><picktext>First</picktext></row>\r\n"
         "<row><pickid>2</pickid><picktext>Second &amp; last</picktext></row>\r\n"
         "</picklist>\r\n"
         "</xmltable>\r\n";
}

// Reaches no table: the reader stops at the end tag that closes nothing open, on line 3.
const char* const BrokenForm =
    "<xmltable>\r\n"
    "<advform>\r\n"
    "</row>\r\n"
    "</advform>\r\n"
    "</xmltable>\r\n";

// The password "masterkey" as QV32.INI may keep it: '#' and each character raised by 2.
const char* const ScrambledPassword = "#ocuvgtmg{";

// One database's parameter section as QV32.INI holds it.
std::string ParamsSection(int index, const std::string& serverName) {
  return "[DB" + std::to_string(index) + ".PARAMS]\r\nSERVER NAME=" + serverName +
         "\r\nUSER NAME=SYSDBA\r\nLANGDRIVER=\r\nPASSWORD=" + ScrambledPassword + "\r\n";
}

// The window part of the program with the product folder of the test as the program's folder. The
// message loop is not run for a window that would wait for its user: the user's close box is
// pressed instead, and what the user saw up to then is recorded.
class TTestWindowing : public TQtApplicationWindowing {
 public:
  explicit TTestWindowing(std::string exeName) : FExeName(std::move(exeName)) {}

  std::string ExeName() const override { return FExeName; }

  void Run() override {
    RunEntered = true;
    EndedBeforeLoop = Application->Terminated();
    if (!EndedBeforeLoop) {
      TCustomForm* form = MainForm();
      WaitingWindowShown = form != nullptr && form->ShowingForm();
      if (form != nullptr) form->WindowCloseRequested();
    }
    TQtApplicationWindowing::Run();
  }

  bool RunEntered = false;
  bool EndedBeforeLoop = false;
  bool WaitingWindowShown = false;

 private:
  std::string FExeName;
};

class ImportAdvFTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureQtApplication(); }

  void TearDown() override {
    FApplication.reset();
    Screen->SetActiveForm(nullptr);
  }

  std::string BinFolder() const { return FRoot.File("Prod/BIN"); }
  void WriteIni(const std::string& text, const std::string& name = "QV32.INI") {
    FRoot.Write("Prod/BIN/" + name, text);
  }
  std::string WriteForm(const std::string& name, const std::string& text) {
    return FRoot.Write("Forms/" + name, text);
  }

  // Runs Larkspan's main block in this process with the given command-line arguments.
  int RunProgram(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), BinFolder() + "/larkspan");
    std::vector<const char*> argv;
    for (const std::string& a : arguments) argv.push_back(a.c_str());
    SetCommandLine(static_cast<int>(argv.size()), argv.data());

    // One application object at a time: the global one must be empty for the new one to take it.
    FApplication.reset();
    FApplication = std::make_unique<TApplication>(nullptr);
    auto windowing = std::make_unique<TTestWindowing>(BinFolder() + "/larkspan");
    FWindowing = windowing.get();
    FApplication->SetWindowing(std::move(windowing));
    return RunMainBlock(LarkspanProgram());
  }

  // The run ended by itself: the end was asked for before the message loop.
  void ExpectEndedByItself() const {
    ASSERT_NE(FWindowing, nullptr);
    EXPECT_TRUE(FWindowing->RunEntered);
    EXPECT_TRUE(FWindowing->EndedBeforeLoop);
  }
  // The run left the waiting window on screen for the user to close.
  void ExpectWindowWaited() const {
    ASSERT_NE(FWindowing, nullptr);
    EXPECT_TRUE(FWindowing->RunEntered);
    EXPECT_FALSE(FWindowing->EndedBeforeLoop);
    EXPECT_TRUE(FWindowing->WaitingWindowShown);
  }

  TempFolder FRoot;
  TScopedEnv FRegistry{"QV_REGISTRY_DIR", FRoot.File("registry")};
  TScopedEnv FWinStation{"WINSTATIONNAME", std::nullopt};
  TScopedEnv FClientName{"CLIENTNAME", std::nullopt};
  TRecordingDialogService FDialogs;
  std::unique_ptr<TApplication> FApplication;
  TTestWindowing* FWindowing = nullptr;
};

}  // namespace

TEST_F(ImportAdvFTest, TheWaitingBoxAsDesigned) {
  WriteIni("");
  const std::string form = WriteForm("picks.xml", PickForm("P"));
  // The empty QV32.INI names no database: the run says so and ends with status 3.
  ASSERT_EQ(RunProgram({form}), 3);

  TdlImportAdvF* dialog = dlImportAdvF;
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(MainForm(), dialog);
  EXPECT_EQ(dialog->Caption(), "Import Advanced Form");
  EXPECT_EQ(dialog->Width(), 458);
  EXPECT_EQ(dialog->Height(), 144);
  EXPECT_EQ(dialog->Position(), poDesktopCenter);
  EXPECT_EQ(dialog->HelpContext(), 506);
  EXPECT_EQ(dialog->BorderIcons(), TBorderIcons{biSystemMenu});
  EXPECT_TRUE(dialog->Visible());

  EXPECT_EQ(dialog->paTop->Height(), 0);
  EXPECT_EQ(dialog->paBottom->Height(), 0);
  EXPECT_FALSE(dialog->paBottom->Visible());
  EXPECT_EQ(dialog->paButtons->Height(), 0);
  EXPECT_EQ(dialog->buOK->Hint(), "Perform patient join and exit window");
  EXPECT_EQ(dialog->buCancel->Hint(), "Exit Window");
  EXPECT_EQ(dialog->buOK->Caption(), "&OK");
  EXPECT_FALSE(dialog->buHelp->Visible());
  EXPECT_EQ(dialog->pcPageControl->Top(), 0);
  EXPECT_EQ(dialog->pcPageControl->TabHeight(), 1);
  EXPECT_EQ(dialog->pcPageControl->ActivePage(), dialog->tsMain);
  EXPECT_TRUE(dialog->pcPageControl->OwnerDraw());
  EXPECT_EQ(dialog->tsMain->Caption(), "Main");
  EXPECT_FALSE(dialog->tsMain->TabVisible());

  EXPECT_EQ(dialog->Label1->Caption(), "Importing Document ... Please Wait  ");
  EXPECT_EQ(dialog->Label1->Left(), 48);
  EXPECT_EQ(dialog->Label1->Top(), 8);
  EXPECT_EQ(dialog->laDoc->Left(), 48);
  EXPECT_EQ(dialog->laDoc->Top(), 32);
  EXPECT_EQ(dialog->Label1->Parent(), dialog->tsMain);
  EXPECT_EQ(dialog->laDoc->Parent(), dialog->tsMain);

  // Loading pointed the data module's connection component at the working connection.
  ASSERT_NE(dmData, nullptr);
  EXPECT_EQ(dmData->coConnection->FDatabaseRef, &dmData->dbDataBase);
  EXPECT_EQ(Application->Title(), "Larkspan");
}

TEST_F(ImportAdvFTest, CancellingTheOpenDialogEndsTheProgramWithoutTouchingAnyDatabase) {
  // With no argument, and with an empty first argument, the file is asked for.
  const std::vector<std::vector<std::string>> commandLines = {{}, {""}, {"", "ignored.xml"}};
  for (const auto& arguments : commandLines) {
    SCOPED_TRACE(arguments.size());
    TestDatabase db(PickSchema);
    WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
    TRecordingDialogService dialogs;
    dialogs.ExpectOpenFile(false);

    EXPECT_EQ(RunProgram(arguments), 0);

    ASSERT_EQ(dialogs.OpenFileRequests().size(), 1u);
    const TOpenFileRequest& request = dialogs.OpenFileRequests()[0];
    EXPECT_EQ(request.Title, "Browse QV Advanced Forms");
    EXPECT_EQ(request.Filter, "QV Advanced Form files (*.xml)|*.XML");
    EXPECT_EQ(request.InitialDir, "");
    EXPECT_EQ(request.FileName, "");
    EXPECT_TRUE(dialogs.Boxes().empty());
    ExpectEndedByItself();
    EXPECT_EQ(dlImportAdvF->laDoc->Caption(), "");
    // The working connection still holds its designed parameters: the loop never ran.
    EXPECT_EQ(dmData->dbDataBase->Params().Count(), 13);
    EXPECT_EQ(dmData->dbDataBase->Params()[1], "USER NAME=SYSDBA");
    EXPECT_TRUE(db.Rows(SelectPicks).empty());
    FApplication.reset();
  }
}

TEST_F(ImportAdvFTest, TheChosenFileReachesTheWaitingTextByteForByteAndIsImported) {
  TestDatabase db(PickSchema);
  WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
  // Bytes that are no UTF-8, a quote, an ampersand and blanks: the path must cross unchanged.
  const std::string form = WriteForm("R\xe9vision & 'picks' 2.XML", PickForm("P"));
  FDialogs.ExpectOpenFile(true, form);

  EXPECT_EQ(RunProgram({}), 0);

  EXPECT_EQ(dlImportAdvF->laDoc->Caption(), form);
  EXPECT_EQ(db.Rows(SelectPicks), PickRows);
  EXPECT_TRUE(FDialogs.Boxes().empty());
  ExpectEndedByItself();
}

TEST_F(ImportAdvFTest, AFileThatIsNotThereIsReportedAndTheWindowWaits) {
  const std::string missing = FRoot.File("Forms/none.xml");
  FRoot.Write("Forms/folder.xml/inside.txt", "a folder named like a form");
  const std::string folder = FRoot.File("Forms/folder.xml");
  struct {
    const char* Name;
    std::vector<std::string> Arguments;
    bool FromDialog;
    std::string Path;
  } const cases[] = {
      {"missing file on the command line", {missing}, false, missing},
      {"folder on the command line", {folder}, false, folder},
      {"name typed into the open dialog", {}, true, missing},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TestDatabase db(PickSchema);
    WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
    TRecordingDialogService dialogs;
    if (c.FromDialog) dialogs.ExpectOpenFile(true, c.Path);
    dialogs.ExpectBox(mrOk);

    EXPECT_EQ(RunProgram(c.Arguments), 1);

    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    const TRecordedBox& box = dialogs.Boxes()[0];
    EXPECT_EQ(box.Text, "Larkspan: " + c.Path + " Not found");
    EXPECT_EQ(box.Caption, "Error");
    EXPECT_EQ(box.Type, mtError);
    EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
    EXPECT_EQ(box.HelpContext, 0);
    ExpectWindowWaited();
    EXPECT_EQ(dlImportAdvF->laDoc->Caption(), c.Path);
    EXPECT_EQ(dmData->dbDataBase->Params().Count(), 13);
    EXPECT_TRUE(db.Rows(SelectPicks).empty());
    FApplication.reset();
  }
}

TEST_F(ImportAdvFTest, TheHiddenButtonsRunTheDialogsOwnHandlers) {
  WriteIni("");
  const std::string missing = FRoot.File("Forms/none.xml");
  FDialogs.ExpectBox(mrOk);
  RunProgram({missing});
  ASSERT_EQ(FDialogs.Boxes().size(), 1u);

  // buOK runs the import again (the base dialog's handler would fail to focus the hidden button).
  FDialogs.ExpectBox(mrOk);
  dlImportAdvF->buOK->Click();
  EXPECT_EQ(FDialogs.BoxTexts(), (std::vector<std::string>{"Larkspan: " + missing + " Not found",
                                                           "Larkspan: " + missing + " Not found"}));
}

TEST_F(ImportAdvFTest, CancelClosesTheWaitingWindowAndSoEndsTheProgram) {
  WriteIni("");
  FDialogs.ExpectBox(mrOk);
  // The test's window part presses the close box; here Cancel is pressed before the loop instead.
  const char* const argv[] = {"larkspan", "/no/such/form.xml"};
  SetCommandLine(2, argv);
  FApplication = std::make_unique<TApplication>(nullptr);
  FApplication->SetWindowing(std::make_unique<TTestWindowing>(BinFolder() + "/larkspan"));
  RegisterImportAdvFClasses();
  FApplication->Initialize();
  FApplication->CreateForm(dmData);
  FApplication->CreateForm(dlImportAdvF);
  ASSERT_FALSE(FApplication->Terminated());
  EXPECT_TRUE(dlImportAdvF->ShowingForm());
  // The hidden buttons take no Enter or Escape: the waiting window cannot start the import again.
  EXPECT_FALSE(dlImportAdvF->DialogKey(false));
  EXPECT_FALSE(dlImportAdvF->DialogKey(true));
  EXPECT_EQ(FDialogs.Boxes().size(), 1u);

  dlImportAdvF->buCancel->Click();
  EXPECT_TRUE(FApplication->Terminated());
  EXPECT_FALSE(dlImportAdvF->ShowingForm());
}

TEST_F(ImportAdvFTest, ADatabaseThatCannotBeOpenedIsPassedOverWithoutABoxAndNamedInOneLine) {
  TestDatabase first(PickSchema);
  TestDatabase third(PickSchema);
  // The third names this workstation in front of its path, which the preparation takes away.
  bool terminalSession = false;
  std::string workstation;
  TQConnect::GetWorkstationName(terminalSession, workstation);
  WriteIni("[DBNAMES]\r\nDB0=First\r\nDB1=Second\r\nDB2=Third\r\n" + ParamsSection(0, first.Path()) +
           ParamsSection(1, FRoot.File("nowhere/second.fdb")) +
           ParamsSection(2, workstation + ":" + third.Path()));
  const std::string form = WriteForm("picks.xml", PickForm("P"));

  testing::internal::CaptureStderr();
  EXPECT_EQ(RunProgram({form}), 3);
  const std::string written = testing::internal::GetCapturedStderr();

  // One line: the entry, and the engine's own message; never the password, plain or scrambled.
  const std::string second = FRoot.File("nowhere/second.fdb");
  EXPECT_EQ(written.rfind("larkspan: DB1 \"Second\" skipped: cannot open: I/O error during \"open\" "
                          "operation for file \"" +
                              second + "\"; -Error while trying to open file",
                          0),
            0u)
      << written;
  EXPECT_EQ(written.find('\n'), written.size() - 1) << written;
  EXPECT_EQ(written.find("masterkey"), std::string::npos);
  EXPECT_EQ(written.find(ScrambledPassword), std::string::npos);
  EXPECT_EQ(first.Rows(SelectPicks), PickRows);
  EXPECT_EQ(third.Rows(SelectPicks), PickRows);
  EXPECT_TRUE(FDialogs.Boxes().empty());
  ExpectEndedByItself();
  EXPECT_FALSE(dmData->dbDataBase->Connected());
  // The list of the last database, prepared: no line for the empty entry, the password in plain.
  EXPECT_EQ(
      dmData->dbDataBase->Params().Lines(),
      (std::vector<std::string>{"SERVER NAME=" + third.Path(), "USER NAME=SYSDBA", "password=masterkey"}));
}

TEST_F(ImportAdvFTest, AnEmptyParameterSectionIsSkippedAndAGapEndsTheList) {
  TestDatabase second(PickSchema);
  TestDatabase afterGap(PickSchema);
  TestDatabase beyond(PickSchema);
  // DB0 has no parameter section, DB2 is missing, so DB3 and DB4 are never read; other keys of
  // DBNAMES count for nothing.
  WriteIni("[DBNAMES]\r\nDB0=First\r\nDB1=Second\r\nTitle=Ignored\r\nDB3=AfterGap\r\nDB4=Beyond\r\n" +
           ParamsSection(1, second.Path()) + ParamsSection(3, afterGap.Path()) +
           ParamsSection(4, beyond.Path()) + "[DB2.PARAMS]\r\nSERVER NAME=" + beyond.Path() + "\r\n");
  const std::string form = WriteForm("picks.xml", PickForm("P"));

  // The empty section is a skip; the gap is where the list ends, and says nothing.
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunProgram({form}), 3);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "larkspan: DB0 \"First\" skipped: no parameters in [DB0.PARAMS]\n");

  EXPECT_EQ(second.Rows(SelectPicks), PickRows);
  EXPECT_TRUE(afterGap.Rows(SelectPicks).empty());
  EXPECT_TRUE(beyond.Rows(SelectPicks).empty());
  EXPECT_TRUE(FDialogs.Boxes().empty());
  ExpectEndedByItself();
}

TEST_F(ImportAdvFTest, TheLookupsWarningComesOncePerPreparedDatabaseAndTheDatabaseOpensAllTheSame) {
  // A terminal session without USERNAME: every preparation warns. A database skipped for its empty
  // section is never prepared, so it must not warn; one that then fails to open has warned already.
  TScopedEnv session("WINSTATIONNAME", std::string("RDP-Tcp#3"));
  TScopedEnv noUser("USERNAME", std::nullopt);
  TestDatabase second(PickSchema);
  TestDatabase fourth(PickSchema);
  WriteIni("[DBNAMES]\r\nDB0=Empty\r\nDB1=Second\r\nDB2=Unreachable\r\nDB3=Fourth\r\n[DB0.PARAMS]\r\n" +
           ParamsSection(1, second.Path()) + ParamsSection(2, FRoot.File("nowhere/third.fdb")) +
           ParamsSection(3, fourth.Path()));
  const std::string form = WriteForm("picks.xml", PickForm("P"));
  for (int i = 0; i < 3; ++i) FDialogs.ExpectBox(mrOk);

  EXPECT_EQ(RunProgram({form}), 1);

  const std::string warning =
      "Cannot read environment variable \"USERNAME\".\r\n"
      "This will cause the default printers for this\r\n"
      "workstation to be set incorrectly.\r\n"
      "\r\n"
      "Please ensure that your Terminal Server and Client\r\n"
      "software are configured correctly.";
  EXPECT_EQ(FDialogs.BoxTexts(), (std::vector<std::string>{warning, warning, warning}));
  for (const TRecordedBox& box : FDialogs.Boxes()) EXPECT_EQ(box.Type, mtWarning);
  EXPECT_EQ(second.Rows(SelectPicks), PickRows);
  EXPECT_EQ(fourth.Rows(SelectPicks), PickRows);
  ExpectEndedByItself();
}

TEST_F(ImportAdvFTest, AnEmptyValueEndsTheListLikeAMissingKey) {
  TestDatabase first(PickSchema);
  TestDatabase second(PickSchema);
  WriteIni("[DBNAMES]\r\nDB0=First\r\nDB1=   \r\nDB2=Third\r\n" + ParamsSection(0, first.Path()) +
           ParamsSection(1, second.Path()));
  const std::string form = WriteForm("picks.xml", PickForm("P"));

  EXPECT_EQ(RunProgram({form}), 0);

  EXPECT_EQ(first.Rows(SelectPicks), PickRows);
  EXPECT_TRUE(second.Rows(SelectPicks).empty());
  ExpectEndedByItself();
}

TEST_F(ImportAdvFTest, TheConfigurationFileIsFoundInAnyLetterCase) {
  TestDatabase db(PickSchema);
  WriteIni("[dbnames]\r\ndb0=Main\r\n" + ParamsSection(0, db.Path()), "qv32.ini");
  const std::string form = WriteForm("picks.xml", PickForm("P"));

  EXPECT_EQ(RunProgram({form}), 0);

  EXPECT_EQ(db.Rows(SelectPicks), PickRows);
  ExpectEndedByItself();
}

TEST_F(ImportAdvFTest, WithoutAConfiguredDatabaseTheRunEndsWithNothingShownAndSaysWhy) {
  const std::string form = WriteForm("picks.xml", PickForm("P"));
  const std::string ini = BinFolder() + "/QV32.INI";
  const std::string unreadable = UnreadableFile();
  enum TFile { fNone, fText, fUnreadable };
  const struct {
    const char* Name;
    TFile File;
    std::string Written;
  } cases[] = {
      {"no file", fNone, "no QV32.INI in " + BinFolder() + "/"},
      {"no DB0", fText, ini + " has no DB0 in [DBNAMES]"},
      {"a file no user may read", fUnreadable, ini + " cannot be read"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    fs::remove_all(BinFolder());
    fs::create_directories(BinFolder());
    if (c.File == fText) WriteIni("[DBNAMES]\r\nDB1=Second\r\n" + ParamsSection(1, FRoot.File("x.fdb")));
    if (c.File == fUnreadable) {
      if (unreadable.empty()) continue;  // nothing refuses root here; the other cases still count
      fs::create_symlink(unreadable, ini);
    }

    testing::internal::CaptureStderr();
    EXPECT_EQ(RunProgram({form}), 3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "larkspan: no database configured: " + c.Written + "\n");
    EXPECT_TRUE(FDialogs.Boxes().empty());
    ExpectEndedByItself();
    EXPECT_EQ(dmData->dbDataBase->Params().Count(), 13);
    FApplication.reset();
  }
}

TEST_F(ImportAdvFTest, ALoaderErrorStopsTheRunShowsItsMessageAndLeavesTheWindowOpen) {
  TestDatabase first(PickSchema);
  TestDatabase second(PickSchema);
  WriteIni("[DBNAMES]\r\nDB0=First\r\nDB1=Second\r\n" + ParamsSection(0, first.Path()) +
           ParamsSection(1, second.Path()));
  const std::string form = WriteForm("broken.xml", BrokenForm);
  std::string readerMessage;
  try {
    ReadPublishCode(form);
    FAIL() << "the reader took the broken form";
  } catch (const EXMLInputError& e) {
    readerMessage = e.Message();
  }
  ASSERT_NE(readerMessage.find("Line 3"), std::string::npos) << readerMessage;
  FDialogs.ExpectBox(mrOk);

  EXPECT_EQ(RunProgram({form}), 1);

  ASSERT_EQ(FDialogs.Boxes().size(), 1u);
  const TRecordedBox& box = FDialogs.Boxes()[0];
  EXPECT_EQ(box.Caption, "Larkspan");
  EXPECT_EQ(box.Text, ExceptionDisplayText(readerMessage));
  EXPECT_EQ(box.Type, mtError);
  EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
  ExpectWindowWaited();
  // The run stopped before the first database, where the form is read: no database was opened.
  EXPECT_EQ(dmData->dbDataBase->Params().Count(), 13);
  EXPECT_FALSE(dmData->dbDataBase->Connected());
  EXPECT_TRUE(first.Rows(SelectPicks).empty());
  EXPECT_TRUE(second.Rows(SelectPicks).empty());
}

TEST_F(ImportAdvFTest, ADamagedFormShowsOneBoxThatSaysWhereItEndsAndNoDatabaseIsWritten) {
  TestDatabase first(PickSchema);
  TestDatabase second(PickSchema);
  WriteIni("[DBNAMES]\r\nDB0=First\r\nDB1=Second\r\n" + ParamsSection(0, first.Path()) +
           ParamsSection(1, second.Path()));
  // The form's lines: 4 holds the publish code, 6 and 7 the rows, 8 and 9 the end tags.
  const std::string whole = PickForm("P");
  const auto without = [&](const std::string& piece, const std::string& after) {
    std::string text = whole;
    return text.erase(text.find(piece, text.find(after)), piece.size());
  };
  std::string renamed = whole;
  for (size_t at = renamed.find("xmltable"); at != std::string::npos; at = renamed.find("xmltable"))
    renamed.replace(at, 8, "form");
  const struct {
    const char* Name;
    std::string Text, Message;
    int Line;
  } cases[] = {
      {"cut inside a row", whole.substr(0, whole.find("Second")), "Expecting end tag:\"</xmltable>\"", 7},
      {"cut before the table's end", whole.substr(0, whole.find("</picklist>")),
       "Expecting end tag:\"</xmltable>\"", 7},
      {"cut before the end of xmltable", whole.substr(0, whole.find("</xmltable>")),
       "Expecting end tag:\"</xmltable>\"", 8},
      // Ahead of the publish code the first pass's reader finds the end itself.
      {"cut ahead of the publish code", whole.substr(0, whole.find("<publishcode>")),
       "Expecting end tag:\"</row>\"", 4},
      {"the table's end tag lost", without("</picklist>", "<picklist>"), "Expecting end tag:\"</picklist>\"",
       9},
      {"the last row's end tag lost", without("</row>", "Second"), "Expecting end tag:\"</row>\"", 8},
      {"a row's end tag lost before the next row", without("</row>", "<picklist>"),
       "Expecting end tag:\"</row>\"", 7},
      {"no xmltable element", renamed, "Expecting start tag:\"<xmltable>\"", 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string form = WriteForm("damaged.xml", c.Text);
    TRecordingDialogService dialogs;
    dialogs.ExpectBox(mrOk);

    EXPECT_EQ(RunProgram({form}), 1);

    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    const TRecordedBox& box = dialogs.Boxes()[0];
    EXPECT_EQ(box.Caption, "Larkspan");
    EXPECT_EQ(box.Text, ExceptionDisplayText(TXMLFileInput::ErrorText(c.Message, c.Line, form)));
    EXPECT_EQ(box.Type, mtError);
    ExpectWindowWaited();
    // The form was read before any database was opened.
    EXPECT_FALSE(dmData->dbDataBase->Connected());
    EXPECT_EQ(dmData->dbDataBase->Params().Count(), 13);
    EXPECT_TRUE(first.Rows(SelectPicks).empty());
    EXPECT_TRUE(second.Rows(SelectPicks).empty());
    FApplication.reset();
  }
}

TEST_F(ImportAdvFTest, ALocalPublishersCodeIsJudgedByWhatEachDatabaseWouldStore) {
  // "LX" is cut to "L" in a one-character column, and stays "LX" in a longer one.
  const auto schema = [](const std::string& codeType) {
    return PickSchema + std::string(";CREATE TABLE advform (formid INTEGER NOT NULL, publishcode ") +
           codeType +
           ", PRIMARY KEY (formid));"
           "CREATE TABLE afitem (formid INTEGER NOT NULL, PRIMARY KEY (formid));"
           "CREATE TABLE afcomboactions (formid INTEGER NOT NULL, PRIMARY KEY (formid))";
  };
  TestDatabase first(schema("CHAR(1)"));
  TestDatabase second(schema("VARCHAR(2)"));
  WriteIni("[DBNAMES]\r\nDB0=First\r\nDB1=Second\r\n" + ParamsSection(0, first.Path()) +
           ParamsSection(1, second.Path()));
  const std::string form = WriteForm("coded.xml", PickForm("LX"));
  FDialogs.ExpectBox(mrOk);

  EXPECT_EQ(RunProgram({form}), 1);

  EXPECT_EQ(FDialogs.BoxTexts(),
            (std::vector<std::string>{"You cannot import forms for local publisher (L)\"" + form + "\" "}));
  EXPECT_TRUE(first.Rows(SelectPicks).empty());
  EXPECT_TRUE(first.Rows("SELECT publishcode FROM advform").empty());
  EXPECT_EQ(second.Rows(SelectPicks), PickRows);
  EXPECT_EQ(second.Rows("SELECT publishcode FROM advform"), (TestDatabase::TRows{{"LX"}}));
  ExpectEndedByItself();
}

TEST_F(ImportAdvFTest, ALocalPublishersFormIsRefusedOnceInEveryDatabase) {
  TestDatabase first(PickSchema);
  TestDatabase second(PickSchema);
  WriteIni("[DBNAMES]\r\nDB0=First\r\nDB1=Second\r\n" + ParamsSection(0, first.Path()) +
           ParamsSection(1, second.Path()));
  const std::string form = WriteForm("local.xml", PickForm("L"));
  FDialogs.ExpectBox(mrOk);
  FDialogs.ExpectBox(mrOk);

  EXPECT_EQ(RunProgram({form}), 1);

  const std::string refusal = "You cannot import forms for local publisher (L)\"" + form + "\" ";
  EXPECT_EQ(FDialogs.BoxTexts(), (std::vector<std::string>{refusal, refusal}));
  EXPECT_TRUE(first.Rows(SelectPicks).empty());
  EXPECT_TRUE(second.Rows(SelectPicks).empty());
  ExpectEndedByItself();
  EXPECT_FALSE(dmData->dbDataBase->Connected());
}

TEST_F(ImportAdvFTest, AnErrorInsideATableLeavesNothingOfThatTableOnceTheProgramEnds) {
  // No screening table: the lookup for the second observation's code fails after the first
  // observation was written in the table's transaction.
  TestDatabase db(PickSchema +
                  std::string(";"
                              "CREATE TABLE dictobservation (obscode VARCHAR(20) NOT NULL,"
                              "  mapscncode VARCHAR(10), mapvalueno INTEGER, PRIMARY KEY (obscode));"
                              "CREATE TABLE dictcombo (obscode VARCHAR(20) NOT NULL,"
                              "  comboseq SMALLINT NOT NULL, PRIMARY KEY (obscode, comboseq))"));
  WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
  std::string form = PickForm("P");
  form.insert(form.find("</xmltable>"),
              "<dictobservation>\r\n"
              "<row><obscode>FIRST</obscode></row>\r\n"
              "<row><obscode>SECOND</obscode><mapscncode>HE</mapscncode></row>\r\n"
              "</dictobservation>\r\n");
  const std::string path = WriteForm("observations.xml", form);
  FDialogs.ExpectBox(mrOk);

  EXPECT_EQ(RunProgram({path}), 1);

  ASSERT_EQ(FDialogs.Boxes().size(), 1u);
  EXPECT_EQ(FDialogs.Boxes()[0].Caption, "Larkspan");
  EXPECT_NE(FDialogs.Boxes()[0].Text.find("SCREENING"), std::string::npos) << FDialogs.Boxes()[0].Text;
  ExpectWindowWaited();
  EXPECT_TRUE(dmData->dbDataBase->InTransaction());
  {
    // Inside the open transaction the first observation is there.
    TQuery query(nullptr);
    query.SetDatabaseName("dbDataBase");
    query.SQL().Add("SELECT obscode FROM dictobservation");
    query.Open();
    ASSERT_FALSE(query.Eof());
    EXPECT_EQ(query.FieldByName("obscode").AsString(), "FIRST");
    query.Next();
    EXPECT_TRUE(query.Eof());
  }

  FApplication.reset();
  // The table before the failing one was committed; the failing one was rolled back as a whole.
  EXPECT_EQ(db.Rows(SelectPicks), PickRows);
  EXPECT_TRUE(db.Rows("SELECT obscode FROM dictobservation").empty());
}

TEST_F(ImportAdvFTest, ADatabaseThatCannotGrowStopsTheRunWithItsErrorAndCommitsNothingOfTheTable) {
  TSmallDisk disk("8m");
  if (!disk.Mounted()) GTEST_SKIP() << disk.Reason();
  TestDatabase db(
      PickSchema + std::string(";CREATE TABLE bulk (k INTEGER NOT NULL PRIMARY KEY, v VARCHAR(1000))"),
      disk.Path());
  WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
  // More rows of text that does not compress than the disk has room for.
  std::string bulk = "<bulk>\r\n";
  unsigned seed = 1;
  for (int k = 1; k <= 8000; ++k) {
    std::string value(1000, ' ');
    for (char& c : value) {
      seed = seed * 1103515245u + 12345u;
      c = static_cast<char>('a' + (seed >> 16) % 26);
    }
    bulk += "<row><k>" + std::to_string(k) + "</k><v>" + value + "</v></row>\r\n";
  }
  std::string form = PickForm("P");
  form.insert(form.find("</xmltable>"), bulk + "</bulk>\r\n");
  const std::string path = WriteForm("bulk.xml", form);
  FDialogs.ExpectBox(mrOk);

  // The error box makes the run end with status 1.
  EXPECT_EQ(RunProgram({path}), 1);

  // Not a refused row: the default display shows the server's error and the run ends there.
  ASSERT_EQ(FDialogs.Boxes().size(), 1u);
  const TRecordedBox& box = FDialogs.Boxes()[0];
  EXPECT_EQ(box.Caption, "Larkspan");
  EXPECT_EQ(box.Text.rfind("I/O error during \"write\" operation for file \"" + db.Path() + "\"", 0), 0u)
      << box.Text;
  EXPECT_NE(box.Text.find("No space left on device"), std::string::npos) << box.Text;
  EXPECT_EQ(box.Type, mtError);
  ExpectWindowWaited();
  EXPECT_TRUE(dmData->dbDataBase->InTransaction());

  FApplication.reset();
  // The table before was committed; of the table that filled the disk, no row was.
  EXPECT_EQ(db.Rows(SelectPicks), PickRows);
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM bulk"), "0");
}
