#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "SampleComponents.h"
#include "platform/components/Application.h"
#include "platform/components/DataModule.h"
#include "tests/support/RecordingDialogService.h"

namespace {

using Log = std::vector<std::string>;

// A data module whose creation handler can fail, read from its resource like the programs' ones.
class TSampleModule : public TDataModule {
  Q_CLASS(TSampleModule, TDataModule)
  explicit TSampleModule(TComponent* owner) : TDataModule(owner) {}

  void DataModuleCreate(TObject* sender) {
    SampleLog().push_back("DataModuleCreate, sender " + AsClass<TComponent>(sender)->Name() + ", dbMain " +
                          (dbMain != nullptr && !dbMain->InState(csLoading) ? "loaded" : "not loaded"));
    if (FailWith == "abort") throw EAbort("Operation aborted");
    if (FailWith == "std") throw std::runtime_error("vector too long");
    if (!FailWith.empty()) throw EInOutError(FailWith);
  }

  static inline std::string FailWith;
  TSampleWidget* dbMain = nullptr;
};

const char SampleModuleResource[] =
    "object dmSample: TSampleModule\n"
    "  OldCreateOrder = True\n"
    "  OnCreate = DataModuleCreate\n"
    "  Left = 200\n"
    "  Top = 120\n"
    "  Height = 300\n"
    "  Width = 400\n"
    "  object dbMain: TSampleWidget\n"
    "    Caption = 'dbMain'\n"
    "  end\n"
    "end\n";

const TMetaClass& TSampleModule::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TSampleModule>("TSampleModule")
                                    .Field("dbMain", &TSampleModule::dbMain)
                                    .Method("DataModuleCreate", &TSampleModule::DataModuleCreate)
                                    .Resource(SampleModuleResource);
  return cls;
}

// A module whose resource cannot be read.
class TBrokenModule : public TDataModule {
  Q_CLASS(TBrokenModule, TDataModule)
  explicit TBrokenModule(TComponent* owner) : TDataModule(owner) {}
};

const TMetaClass& TBrokenModule::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TBrokenModule>("TBrokenModule")
                                    .Resource("object dmBroken: TBrokenModule\n  Colour = scRed\nend\n");
  return cls;
}

// Records what the application asks of its window part.
class TRecordingWindowing : public TApplicationWindowing {
 public:
  ~TRecordingWindowing() override { SampleLog().push_back("windowing gone"); }
  void Initialize() override { SampleLog().push_back("Initialize"); }
  void FormCreated(TComponent* instance) override {
    SampleLog().push_back("FormCreated " + instance->Name());
  }
  void Run() override {
    SampleLog().push_back(std::string("Run, terminated ") + (Application->Terminated() ? "yes" : "no"));
  }
  void Terminate() override { SampleLog().push_back("Terminate"); }
  void ProcessMessages() override { SampleLog().push_back("ProcessMessages"); }
  bool HelpContext(int context) override {
    SampleLog().push_back("HelpContext " + std::to_string(context));
    return false;
  }
  std::string ExeName() const override { return "/opt/product/BIN/larkspan"; }
};

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSampleClasses();
    SampleLog().clear();
    TSampleModule::FailWith.clear();
    FApplication = std::make_unique<TApplication>(nullptr);
    FApplication->SetTitle("Larkspan");
  }
  void TearDown() override { FApplication.reset(); }

  std::unique_ptr<TApplication> FApplication;
};

TEST_F(ApplicationTest, DisplayTextGetsAFullStopOnlyAfterACharacterSortingAfterIt) {
  struct Case {
    std::string Message;
    std::string Shown;
  };
  const Case cases[] = {
      {"Larkspan: /tmp/a.xml Not found", "Larkspan: /tmp/a.xml Not found."},
      {"Already ends.", "Already ends."},
      {"Stop!", "Stop!"},
      {"(see above)", "(see above)"},
      {"list,", "list,"},
      {"trailing blank ", "trailing blank "},
      {"dash-", "dash-"},
      {"quote'", "quote'"},
      {"slash/", "slash/."},
      {"code 5", "code 5."},
      {"colon:", "colon:."},
      {"caf\xE9", "caf\xE9."},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Message);
    EXPECT_EQ(ExceptionDisplayText(c.Message), c.Shown);
    TRecordingDialogService dialogs;
    dialogs.ExpectBox(mrOk);
    try {
      throw Exception(c.Message);
    } catch (...) {
      Application->HandleException(nullptr);
    }
    EXPECT_EQ(dialogs.BoxTexts(), (Log{c.Shown}));
  }
}

TEST_F(ApplicationTest, HandleExceptionShowsAnErrorBoxCaptionedWithTheTitle) {
  TRecordingDialogService dialogs;
  dialogs.ExpectBox(mrOk);
  try {
    throw EConvertError("'abc' is not a valid integer value");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  ASSERT_EQ(dialogs.Boxes().size(), 1u);
  const TRecordedBox& box = dialogs.Boxes()[0];
  EXPECT_EQ(box.Caption, "Larkspan");
  EXPECT_EQ(box.Text, "'abc' is not a valid integer value.");
  EXPECT_EQ(box.Type, mtError);
  EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
  EXPECT_EQ(box.HelpContext, 0);
}

TEST_F(ApplicationTest, AbortIsDroppedWithoutAMessage) {
  TRecordingDialogService dialogs;
  try {
    throw EAbort("Operation aborted");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(ApplicationTest, OtherStandardExceptionsAreShownByTheirText) {
  TRecordingDialogService dialogs;
  dialogs.ExpectBox(mrOk);
  try {
    throw std::runtime_error("vector too long");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  EXPECT_EQ(dialogs.BoxTexts(), (Log{"vector too long."}));
}

TEST_F(ApplicationTest, CreationHandlerExceptionIsShownAndConstructionCompletes) {
  TRecordingDialogService dialogs;
  dialogs.ExpectBox(mrOk);
  TSampleModule::FailWith = "Disk full";
  TSampleModule* dmSample = nullptr;
  Application->CreateForm(dmSample);
  ASSERT_NE(dmSample, nullptr);
  EXPECT_EQ(dmSample->Owner(), Application);
  EXPECT_EQ(Application->FindComponent("dmSample"), dmSample);
  ASSERT_NE(dmSample->dbMain, nullptr);
  EXPECT_EQ(dmSample->dbMain->Caption(), "dbMain");
  EXPECT_TRUE(dmSample->OldCreateOrder());
  EXPECT_EQ(dmSample->Left, 200);
  EXPECT_EQ(dmSample->Width, 400);
  // The handler ran once, after every component had been loaded.
  EXPECT_EQ(SampleLog(),
            (Log{"dbMain.Caption", "Loaded dbMain", "DataModuleCreate, sender dmSample, dbMain loaded"}));
  ASSERT_EQ(dialogs.Boxes().size(), 1u);
  EXPECT_EQ(dialogs.Boxes()[0].Caption, "Larkspan");
  EXPECT_EQ(dialogs.Boxes()[0].Text, "Disk full.");
  EXPECT_EQ(dialogs.Boxes()[0].Type, mtError);
}

TEST_F(ApplicationTest, CreationHandlerThatAbortsShowsNothing) {
  TRecordingDialogService dialogs;
  TSampleModule::FailWith = "abort";
  TSampleModule* dmSample = nullptr;
  Application->CreateForm(dmSample);
  ASSERT_NE(dmSample, nullptr);
  EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(ApplicationTest, CreationHandlerWithoutApplicationPropagates) {
  FApplication.reset();
  ASSERT_EQ(Application, nullptr);
  TSampleModule::FailWith = "Disk full";
  try {
    delete NewComponent<TSampleModule>(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "Disk full");
  }
}

TEST_F(ApplicationTest, FailedConstructionEmptiesTheReferenceAndLeavesNothingBehind) {
  TBrokenModule* dmBroken = nullptr;
  try {
    Application->CreateForm(dmBroken);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Line 2: Error reading dmBroken.Colour: Property Colour does not exist");
  }
  EXPECT_EQ(dmBroken, nullptr);
  EXPECT_EQ(Application->ComponentCount(), 0);
}

TEST_F(ApplicationTest, WindowPartIsAskedInOrderAndOutlivesTheForms) {
  Application->SetWindowing(std::make_unique<TRecordingWindowing>());
  Application->Initialize();
  TSampleModule* dmSample = nullptr;
  Application->CreateForm(dmSample);
  EXPECT_EQ(Application->ExeName(), "/opt/product/BIN/larkspan");
  EXPECT_FALSE(Application->HelpContext(12));
  Application->ProcessMessages();
  EXPECT_FALSE(Application->Terminated());
  Application->Terminate();
  EXPECT_TRUE(Application->Terminated());
  Application->Run();
  SampleLog().clear();
  FApplication.reset();
  EXPECT_EQ(Application, nullptr);
  EXPECT_EQ(SampleLog(), (Log{"destroy dbMain", "windowing gone"}));
}

TEST_F(ApplicationTest, WindowPartCallsComeInTheProgramsOrder) {
  Application->SetWindowing(std::make_unique<TRecordingWindowing>());
  Application->Initialize();
  TSampleModule* dmSample = nullptr;
  Application->CreateForm(dmSample);
  Application->HelpContext(12);
  Application->ProcessMessages();
  Application->Terminate();
  Application->Run();
  Log calls;
  for (const std::string& entry : SampleLog()) {
    if (entry.find("dbMain") == std::string::npos && entry.rfind("DataModuleCreate", 0) != 0)
      calls.push_back(entry);
  }
  EXPECT_EQ(calls, (Log{"Initialize", "FormCreated dmSample", "HelpContext 12", "ProcessMessages",
                        "Terminate", "Run, terminated yes"}));
}

TEST_F(ApplicationTest, WithoutWindowPartTheLoopCallsAreHarmless) {
  Application->Initialize();
  Application->ProcessMessages();
  Application->Run();
  EXPECT_FALSE(Application->HelpContext(1));
  Application->Terminate();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_FALSE(Application->ExeName().empty());
}

TEST_F(ApplicationTest, ApplicationOwnsWhatItCreatesAndFreesItAtTheEnd) {
  TSampleModule* first = nullptr;
  TSampleModule* second = nullptr;
  Application->CreateForm(first);
  Application->CreateForm(second);
  EXPECT_EQ(first->Name(), "dmSample");
  EXPECT_EQ(second->Name(), "dmSample_1");
  SampleLog().clear();
  FApplication.reset();
  EXPECT_EQ(SampleLog(), (Log{"destroy dbMain", "destroy dbMain"}));
}

TEST_F(ApplicationTest, ReferenceToAComponentOfAnotherFormIsFoundThroughTheApplication) {
  TSampleModule* dmSample = nullptr;
  Application->CreateForm(dmSample);
  TComponent root(nullptr);
  ReadComponentResource(&root,
                        "object fmUser: TComponent\n"
                        "  object w: TSampleWidget\n"
                        "    Buddy = DMSAMPLE.dbMain\n"
                        "  end\n"
                        "end\n");
  EXPECT_EQ(AsClass<TSampleWidget>(root.FindComponent("w"))->Buddy, dmSample->dbMain);
  EXPECT_THROW(ReadComponentResource(&root,
                                     "object fmUser: TComponent\n"
                                     "  inherited w: TSampleWidget\n"
                                     "    Buddy = dmSample.dbNone\n"
                                     "  end\n"
                                     "end\n"),
               EReadError);
}

TEST_F(ApplicationTest, OnlyTheFirstApplicationBecomesTheGlobalOne) {
  TApplication second(nullptr);
  EXPECT_EQ(Application, FApplication.get());
}

}  // namespace
