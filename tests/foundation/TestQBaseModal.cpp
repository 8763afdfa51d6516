// The base modal dialog: its designed form, its buttons, the audit scan of its show handler, the
// owner-drawn tabs, and a derived dialog read over it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <memory>

#include "foundation/QBaseModal.h"
#include "platform/components/Application.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/QtRuntime.h"
#include "platform/ui/UiClasses.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/support/TestDatabase.h"

namespace {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

// A dialog derived as the import dialog is: its resource is read over the base one and it has its own
// buOKClick and Loaded.
class TdlDerived : public TdlQBaseModal {
  Q_CLASS(TdlDerived, TdlQBaseModal)
  explicit TdlDerived(TComponent* owner) : TdlQBaseModal(owner) {}

  void buOKClick(TObject*) { Log().push_back("derived buOKClick"); }
  void Loaded() override {
    Log().push_back(std::string("derived Loaded, tabs owner-drawn before: ") +
                    (pcPageControl->OwnerDraw() ? "yes" : "no"));
    TdlQBaseModal::Loaded();
  }
  TTabSheet* tsAudit = nullptr;
};

const TMetaClass& TdlDerived::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TdlDerived>("TdlDerived")
                                    .Field("tsAudit", &TdlDerived::tsAudit)
                                    .Method("buOKClick", &TdlDerived::buOKClick)
                                    .Method("Loaded", &TdlDerived::Loaded)
                                    .Resource(
                                        "inherited dlDerived: TdlDerived\n"
                                        "  Caption = 'Derived dialog'\n"
                                        "  HelpContext = 506\n"
                                        "  inherited paBottom: TPanel\n"
                                        "    Height = 40\n"
                                        "  end\n"
                                        "  inherited buOK: TButton\n"
                                        "    Hint = 'Perform and exit'\n"
                                        "  end\n"
                                        "  inherited pcPageControl: TPageControl\n"
                                        "    object tsGeneral: TTabSheet\n"
                                        "      Caption = 'General'\n"
                                        "    end\n"
                                        "    object tsAudit: TTabSheet\n"
                                        "      Caption = 'Audit'\n"
                                        "    end\n"
                                        "  end\n"
                                        "end\n");
  return cls;
}

// Records the help requests that reach the application's window part.
class THelpRecorder : public TApplicationWindowing {
 public:
  void Initialize() override {}
  void FormCreated(TComponent*) override {}
  void Run() override {}
  void Terminate() override {}
  void ProcessMessages() override {}
  bool HelpContext(int context) override {
    Log().push_back("HelpContext " + std::to_string(context));
    return false;
  }
  std::string ExeName() const override { return "/opt/BIN/larkspan"; }
};

class QBaseModalTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnsureQtApplication();
    RegisterUiClasses();
    RegisterQBaseModal();
    RegisterClass(TdlDerived::StaticClass());
  }
  void SetUp() override {
    Log().clear();
    FApp = std::make_unique<TApplication>(nullptr);
    InstallQtWindowing(*FApp);
    FApp->SetTitle("Larkspan");
    FApp->Initialize();
  }
  void TearDown() override { FApp.reset(); }

  template <class T>
  T* Create() {
    T* form = nullptr;
    FApp->CreateForm(form);
    return form;
  }

  TRecordingDialogService FBoxes;
  std::unique_ptr<TApplication> FApp;
};

TEST_F(QBaseModalTest, DesignedFormAsStored) {
  auto* form = Create<TdlQBaseModal>();
  EXPECT_EQ(form->Name(), "dlQBaseModal");
  EXPECT_EQ(form->Caption(), "Dialog View");
  EXPECT_EQ(form->Width(), 323);
  EXPECT_EQ(form->Height(), 275);
  EXPECT_EQ(form->ClientWidth(), 315);
  EXPECT_EQ(form->ClientHeight(), 241);
  EXPECT_EQ(form->BorderIcons(), TBorderIcons{biSystemMenu});
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_FALSE(form->Scaled());
  EXPECT_EQ(form->Color(), clBtnFace);
  EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(form->Font()->Height(), -11);
  EXPECT_EQ(form->Font()->Color(), clWindowText);
  EXPECT_EQ(form->Font()->Charset(), DEFAULT_CHARSET);
  EXPECT_TRUE(form->Font()->Style().Empty());
  EXPECT_EQ(form->PixelsPerInch(), 96);
  EXPECT_EQ(form->TextHeight(), 13);
  EXPECT_TRUE(form->OldCreateOrder());
  EXPECT_EQ(form->HelpContext(), 0);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->OnShow.MethodName(), "FormShow");

  struct TCase {
    TComponent* Component;
    const char* Name;
    const char* Class;
    const char* Parent;
    const char* Bounds;
    int TabOrder;
  };
  auto bounds = [](TComponent* c) {
    auto* control = static_cast<TControl*>(c);
    return std::to_string(control->Left()) + "," + std::to_string(control->Top()) + " " +
           std::to_string(control->Width()) + "x" + std::to_string(control->Height());
  };
  const TCase cases[] = {
      {form->paTop, "paTop", "TPanel", "dlQBaseModal", "0,0 315x30", 0},
      {form->paBottom, "paBottom", "TPanel", "dlQBaseModal", "0,211 315x30", 1},
      {form->paButtons, "paButtons", "TPanel", "paBottom", "111,0 204x30", 0},
      {form->buOK, "buOK", "TButton", "paButtons", "5,2 65x24", 0},
      {form->buCancel, "buCancel", "TButton", "paButtons", "71,2 65x24", 1},
      {form->buHelp, "buHelp", "TButton", "paButtons", "139,2 64x24", 2},
      {form->pcPageControl, "pcPageControl", "TPageControl", "dlQBaseModal", "0,30 315x181", 2},
  };
  ASSERT_EQ(form->ComponentCount(), 8);
  for (int i = 0; i < 7; ++i) {
    const TCase& c = cases[i];
    SCOPED_TRACE(c.Name);
    ASSERT_NE(c.Component, nullptr);
    EXPECT_EQ(form->Components(i), c.Component);
    EXPECT_EQ(c.Component->Name(), c.Name);
    EXPECT_EQ(c.Component->ClassName(), c.Class);
    EXPECT_EQ(static_cast<TControl*>(c.Component)->Parent()->Name(), c.Parent);
    EXPECT_EQ(bounds(c.Component), c.Bounds);
    EXPECT_EQ(static_cast<TWinControl*>(c.Component)->TabOrder(), c.TabOrder);
  }
  EXPECT_EQ(form->Components(7), form->tsMain);
  EXPECT_EQ(form->paTop->Caption(), "");
  EXPECT_EQ(form->paTop->BevelOuter(), bvRaised);
  EXPECT_EQ(form->paBottom->BevelOuter(), bvNone);
  EXPECT_EQ(form->paButtons->BevelOuter(), bvNone);
  EXPECT_EQ(form->paButtons->Align(), alRight);

  struct TButtonCase {
    TButton* Button;
    const char* Caption;
    const char* Hint;
    bool Default;
    bool Cancel;
    int ModalResult;
    const char* Handler;
  };
  const TButtonCase buttons[] = {
      {form->buOK, "&OK", "Save changes and Exit window", true, false, 0, "buOKClick"},
      {form->buCancel, "&Cancel", "Cancel any changes and Exit Window", false, true, 2, ""},
      {form->buHelp, "&Help", "View help on this window", false, false, 0, "buHelpClick"},
  };
  for (const TButtonCase& b : buttons) {
    SCOPED_TRACE(b.Caption);
    EXPECT_EQ(b.Button->Caption(), b.Caption);
    EXPECT_EQ(b.Button->Hint(), b.Hint);
    EXPECT_EQ(b.Button->Default(), b.Default);
    EXPECT_EQ(b.Button->Cancel(), b.Cancel);
    EXPECT_EQ(b.Button->ModalResult(), b.ModalResult);
    EXPECT_EQ(b.Button->OnClick.MethodName(), b.Handler);
    EXPECT_TRUE(b.Button->ShowHint());
    EXPECT_FALSE(b.Button->ParentShowHint());
    EXPECT_EQ(b.Button->Widget()->toolTip().toStdString(), b.Hint);
  }

  EXPECT_TRUE(form->pcPageControl->HotTrack());
  EXPECT_TRUE(form->pcPageControl->OwnerDraw());
  EXPECT_EQ(form->pcPageControl->OnDrawTab.MethodName(), "pcPageControlDrawTab");
  EXPECT_EQ(form->pcPageControl->Align(), alClient);
  EXPECT_EQ(form->tsMain->Caption(), "tsMain");
  EXPECT_FALSE(form->tsMain->TabVisible());
  EXPECT_EQ(form->tsMain->PageControl(), form->pcPageControl);
  EXPECT_EQ(form->AuditTabIndex(), -1);
  EXPECT_EQ(form->AuditSheet(), nullptr);

  const TMetaClass& cls = TdlQBaseModal::StaticClass();
  for (const char* method :
       {"buOKClick", "miCancelClick", "buHelpClick", "Loaded", "FormShow", "pcPageControlDrawTab"}) {
    SCOPED_TRACE(method);
    EXPECT_NE(cls.FindMethod(method), nullptr);
  }
}

TEST_F(QBaseModalTest, ButtonsEndAModalShowing) {
  auto* form = Create<TdlQBaseModal>();
  QTimer timer;
  timer.setSingleShot(true);
  struct TCase {
    const char* Name;
    std::function<void()> Act;
    int Result;
  };
  const TCase cases[] = {
      {"OK", [form] { qobject_cast<QPushButton*>(form->buOK->Widget())->click(); }, mrOk},
      {"Cancel", [form] { qobject_cast<QPushButton*>(form->buCancel->Widget())->click(); }, mrCancel},
      {"miCancelClick", [form] { form->miCancelClick(form); }, mrCancel},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    QObject::disconnect(&timer, nullptr, nullptr, nullptr);
    QObject::connect(&timer, &QTimer::timeout, c.Act);
    timer.start(0);
    EXPECT_EQ(form->ShowModal(), c.Result);
  }
  // After OK the button has the focus it was given.
  EXPECT_EQ(form->ActiveControl(), form->buOK);
}

TEST_F(QBaseModalTest, OkOnAHiddenButtonRaisesTheFocusErrorAndSetsNoResult) {
  auto* form = Create<TdlQBaseModal>();
  struct TCase {
    const char* Name;
    TControl* Hidden;
    bool Disable;
  };
  const TCase cases[] = {
      {"button hidden", form->buOK, false},
      {"button panel hidden", form->paBottom, false},
      {"button disabled", form->buOK, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    form->SetModalResult(0);
    c.Disable ? c.Hidden->SetEnabled(false) : c.Hidden->SetVisible(false);
    try {
      form->buOKClick(form);
      ADD_FAILURE() << "no focus error";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message(), "Cannot focus a disabled or invisible window");
    }
    EXPECT_EQ(form->ModalResult(), 0);
    c.Hidden->SetVisible(true);
    c.Hidden->SetEnabled(true);
  }
  form->buOKClick(form);
  EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(QBaseModalTest, HelpAsksTheApplicationForTheFormsHelpContext) {
  FApp->SetWindowing(std::make_unique<THelpRecorder>());
  auto* form = Create<TdlQBaseModal>();
  form->buHelpClick(form);
  form->SetHelpContext(506);
  qobject_cast<QPushButton*>(form->buHelp->Widget())->click();
  EXPECT_EQ(Log(), (std::vector<std::string>{"HelpContext 0", "HelpContext 506"}));
}

TEST_F(QBaseModalTest, DerivedResourceIsReadOverTheBaseAndItsHandlerTakesTheBasesPlace) {
  auto* form = Create<TdlDerived>();
  EXPECT_EQ(form->Name(), "dlDerived");
  EXPECT_EQ(form->Caption(), "Derived dialog");
  EXPECT_EQ(form->HelpContext(), 506);
  EXPECT_EQ(form->Width(), 323);                                            // kept from the base
  EXPECT_EQ(form->buOK->Hint(), "Perform and exit");                        // set by the derived form
  EXPECT_EQ(form->buCancel->Hint(), "Cancel any changes and Exit Window");  // kept
  EXPECT_EQ(form->paBottom->Height(), 40);
  EXPECT_EQ(form->pcPageControl->Height(), 171);
  ASSERT_NE(form->tsAudit, nullptr);
  EXPECT_EQ(form->pcPageControl->PageCount(), 3);
  EXPECT_EQ(form->tsAudit->TabIndex(), 1);
  // The derived Loaded ran first and then the base's, which made the tabs owner-drawn.
  EXPECT_EQ(Log(), (std::vector<std::string>{"derived Loaded, tabs owner-drawn before: no"}));
  EXPECT_TRUE(form->pcPageControl->OwnerDraw());
  // buOK's stored handler name finds the derived class's method, not the base's.
  qobject_cast<QPushButton*>(form->buOK->Widget())->click();
  EXPECT_EQ(Log().back(), "derived buOKClick");
  EXPECT_EQ(form->ModalResult(), 0);
  EXPECT_EQ(form->OnShow.MethodName(), "FormShow");
}

// ---- the audit scan

class AuditScanTest : public QBaseModalTest {
 protected:
  static void SetUpTestSuite() {
    QBaseModalTest::SetUpTestSuite();
    FData = std::make_unique<TestDatabase>(
        "CREATE TABLE audit (id INTEGER NOT NULL PRIMARY KEY, rowinsertwhen DATE, roweditwhen DATE);"
        "INSERT INTO audit VALUES (1, '2020-01-02 03:04:05', '2020-01-02 03:04:05');"
        "INSERT INTO audit VALUES (2, '2021-05-06 07:08:09', '2022-10-11 12:13:14');"
        "INSERT INTO audit VALUES (3, '2020-01-02 03:04:05', NULL)");
  }
  static void TearDownTestSuite() { FData.reset(); }

  void SetUp() override {
    QBaseModalTest::SetUp();
    FDatabase = std::make_unique<TDatabase>(nullptr);
    FDatabase->SetDatabaseName("dbAudit");
    FDatabase->Params().Assign(FData->Params());
    FDatabase->Open();
    for (int id = 1; id <= 3; ++id) {
      auto query = std::make_unique<TQuery>(nullptr);
      query->SetDatabaseName("dbAudit");
      query->SetSQL({"SELECT rowinsertwhen, roweditwhen FROM audit WHERE id = " + std::to_string(id)});
      query->Open();
      auto source = std::make_unique<TDataSource>(nullptr);
      source->SetDataSet(query.get());
      FQueries.push_back(std::move(query));
      FSources.push_back(std::move(source));
    }
  }
  void TearDown() override {
    QBaseModalTest::TearDown();
    FSources.clear();
    FQueries.clear();
    FDatabase.reset();
  }

  // A dialog with pages tsMain (tab hidden), General and Audit.
  TdlQBaseModal* Dialog(const std::string& auditName = "tsAudit") {
    auto* form = Create<TdlQBaseModal>();
    auto* general = NewComponent<TTabSheet>(form);
    general->SetName("tsGeneral");
    general->SetCaption("General");
    general->SetPageControl(form->pcPageControl);
    auto* audit = NewComponent<TTabSheet>(form);
    audit->SetName(auditName);
    audit->SetCaption("Audit");
    audit->SetPageControl(form->pcPageControl);
    return form;
  }

  // A data-aware text of form on row (1..3) of the audit table; row 0 attaches it to nothing.
  TDBText* Text(TdlQBaseModal* form, const std::string& dataField, int row) {
    auto* text = NewComponent<TDBText>(form);
    text->SetParent(form->tsMain);
    text->SetDataField(dataField);
    if (row > 0) text->SetDataSource(FSources[static_cast<size_t>(row - 1)].get());
    return text;
  }

  static inline std::unique_ptr<TestDatabase> FData;
  std::unique_ptr<TDatabase> FDatabase;
  std::vector<std::unique_ptr<TQuery>> FQueries;
  std::vector<std::unique_ptr<TDataSource>> FSources;
};

TEST_F(AuditScanTest, AuditPageFoundWhenInsertionAndEditTimesDiffer) {
  struct TText {
    const char* DataField;
    int Row;  // 1: equal times; 2: differing times; 3: no edit time; 0: not attached
  };
  struct TCase {
    const char* Name;
    std::vector<TText> Texts;
    bool Audit;
  };
  const TCase cases[] = {
      {"no data-aware texts", {}, false},
      {"insertion time only", {{"ROWINSERTWHEN", 2}}, true},
      {"equal times", {{"ROWINSERTWHEN", 1}, {"ROWEDITWHEN", 1}}, false},
      {"differing times", {{"ROWINSERTWHEN", 2}, {"ROWEDITWHEN", 2}}, true},
      {"data fields in lower and mixed case", {{"rowinsertwhen", 1}, {"rowEditWhen", 1}}, false},
      // Each alone in lower or mixed case: not recognised, its time would stay 0 and differ.
      {"edit time in mixed case", {{"ROWINSERTWHEN", 1}, {"rowEditWhen", 1}}, false},
      {"insertion time in lower case", {{"rowinsertwhen", 1}, {"ROWEDITWHEN", 1}}, false},
      {"insertion text not attached to a field", {{"ROWINSERTWHEN", 0}, {"ROWEDITWHEN", 1}}, true},
      {"both not attached", {{"ROWINSERTWHEN", 0}, {"ROWEDITWHEN", 0}}, false},
      {"other data fields are no times",
       {{"ROWINSERTWHEN", 1}, {"ROWEDITWHENEVER", 2}, {"ROWEDITWHEN", 1}},
       false},
      {"scan stops once both are known",
       {{"ROWINSERTWHEN", 1}, {"ROWEDITWHEN", 1}, {"ROWEDITWHEN", 2}},
       false},
      {"a later text overwrites before both are known",
       {{"ROWINSERTWHEN", 2}, {"ROWINSERTWHEN", 1}, {"ROWEDITWHEN", 1}},
       false},
      {"a null edit time counts as absent", {{"ROWEDITWHEN", 3}, {"ROWINSERTWHEN", 3}}, true},
      {"the scan goes on past a null time",
       {{"ROWINSERTWHEN", 1}, {"ROWEDITWHEN", 3}, {"ROWEDITWHEN", 1}},
       false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TdlQBaseModal* form = Dialog();
    for (const TText& t : c.Texts) Text(form, t.DataField, t.Row);
    form->Show();
    EXPECT_EQ(form->AuditSheet(), c.Audit ? form->FindComponent("tsAudit") : nullptr);
    delete form;
  }
}

TEST_F(AuditScanTest, TextIsAttachedToItsFieldWhileTheQueryIsOpen) {
  TdlQBaseModal* form = Dialog();
  TDBText* text = Text(form, "RowEditWhen", 2);
  ASSERT_NE(text->Field(), nullptr);
  EXPECT_EQ(text->Field()->FieldName(), "ROWEDITWHEN");
  EXPECT_EQ(text->LabelText(), text->Field()->AsString());
  EXPECT_EQ(Text(form, "NOSUCHFIELD", 2)->Field(), nullptr);
  // A closed query attaches nothing: its times count as absent, so the insertion time alone differs.
  FQueries[1]->Close();
  EXPECT_EQ(text->Field(), nullptr);
  EXPECT_EQ(text->LabelText(), "");
  Text(form, "ROWINSERTWHEN", 1);
  form->Show();
  EXPECT_NE(form->AuditSheet(), nullptr);
}

TEST_F(AuditScanTest, AuditPageNameIsMatchedWithoutRegardToCase) {
  TdlQBaseModal* form = Dialog("TSAUDIT");
  Text(form, "ROWINSERTWHEN", 2);
  form->Show();
  ASSERT_NE(form->AuditSheet(), nullptr);
  EXPECT_EQ(form->AuditSheet()->Name(), "TSAUDIT");
}

TEST_F(AuditScanTest, SecondShowingWithEqualTimesKeepsTheAuditPage) {
  TdlQBaseModal* form = Dialog();
  TDBText* inserted = Text(form, "ROWINSERTWHEN", 2);
  form->Show();
  ASSERT_NE(form->AuditSheet(), nullptr);
  form->Hide();
  inserted->SetDataSource(FSources[0].get());
  Text(form, "ROWEDITWHEN", 1);
  form->Show();
  EXPECT_EQ(form->AuditSheet(), form->FindComponent("tsAudit"));
}

TEST_F(AuditScanTest, FailedScanLeavesTheAuditPageAsItWasAndTheFormHidden) {
  auto notADate = std::make_unique<TQuery>(nullptr);
  notADate->SetDatabaseName("dbAudit");
  notADate->SetSQL({"SELECT 'not a date' AS roweditwhen FROM rdb$database"});
  notADate->Open();
  TDataSource notADateSource(nullptr);
  notADateSource.SetDataSet(notADate.get());

  struct TCase {
    const char* Name;
    std::function<void(TdlQBaseModal*)> Arrange;
    const char* Message;
  };
  const TCase cases[] = {
      {"the name tsAudit on something else than a page",
       [](TdlQBaseModal* form) {
         form->FindComponent("tsAudit")->SetName("tsAuditBefore");
         NewComponent<TPanel>(form)->SetName("tsAudit");
       },
       "Invalid class typecast"},
      {"an edit time that is no date-time",
       [&](TdlQBaseModal* form) {
         auto* text = NewComponent<TDBText>(form);
         text->SetParent(form->tsMain);
         text->SetDataField("ROWEDITWHEN");
         text->SetDataSource(&notADateSource);
       },
       "Cannot access field 'ROWEDITWHEN' as type DateTime"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TdlQBaseModal* form = Dialog();
    Text(form, "ROWINSERTWHEN", 2);
    form->Show();
    TTabSheet* found = form->AuditSheet();
    ASSERT_NE(found, nullptr);
    form->Hide();
    c.Arrange(form);
    try {
      form->Show();
      ADD_FAILURE() << "the showing did not fail";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    EXPECT_EQ(form->AuditSheet(), found);
    EXPECT_FALSE(form->ShowingForm());
    delete form;
  }
}

TEST_F(AuditScanTest, AuditTabIsPaintedBlueOnScreenAndFollowsItsTabVisibility) {
  TdlQBaseModal* form = Dialog();
  Text(form, "ROWINSERTWHEN", 2);
  form->pcPageControl->SetActivePage(form->tsMain);
  form->Show();
  auto blueIn = [&](int tab) {
    const QImage strip = form->pcPageControl->TabBar()->grab().toImage();
    const QRect r = form->pcPageControl->TabBar()->tabRect(tab);
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
      for (int x = r.left(); x <= r.right(); ++x) {
        const QColor c = strip.pixelColor(x, y);
        if (c.blue() > 150 && c.blue() > c.red() + 60 && c.blue() > c.green() + 60) ++count;
      }
    }
    return count;
  };
  ASSERT_EQ(form->pcPageControl->TabBar()->count(), 2);
  EXPECT_GT(blueIn(1), 10);
  EXPECT_EQ(blueIn(0), 0);
  EXPECT_EQ(form->AuditTabIndex(), 1);
  // Hidden, the audit page has no tab: nothing is highlighted.
  auto* audit = AsClass<TTabSheet>(static_cast<TObject*>(form->FindComponent("tsAudit")));
  audit->SetTabVisible(false);
  ASSERT_EQ(form->pcPageControl->TabBar()->count(), 1);
  EXPECT_EQ(blueIn(0), 0);
  EXPECT_EQ(form->AuditTabIndex(), -1);
  // An audit page that goes is forgotten.
  delete audit;
  EXPECT_EQ(form->AuditSheet(), nullptr);
}

TEST_F(AuditScanTest, SelectedTabIsPaintedLikeAnyOther) {
  TdlQBaseModal* form = Dialog();
  Text(form, "ROWINSERTWHEN", 2);
  form->Show();
  auto paint = [&](int tab, bool active) {
    QImage image(80, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas& canvas = form->pcPageControl->Canvas();
    canvas.SetPainter(&painter);
    canvas.Brush().SetColor(clBtnFace);
    form->pcPageControlDrawTab(form->pcPageControl, tab, Rect(0, 0, 80, 24), active);
    canvas.SetPainter(nullptr);
    return image;
  };
  EXPECT_EQ(paint(1, true), paint(1, false));
  EXPECT_EQ(paint(0, true), paint(0, false));
  EXPECT_NE(paint(0, false), paint(1, false));
}

}  // namespace
