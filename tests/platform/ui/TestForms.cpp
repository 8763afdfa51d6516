// Forms and controls read from form resources: layout, focus, hints, showing, modal results, the
// application's window part and the program-wide cursor, on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "platform/components/Application.h"
#include "platform/components/FormReader.h"
#include "platform/system/Exceptions.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/QtRuntime.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/UiClasses.h"
#include "tests/platform/ui/ModalWatch.h"
#include "tests/support/RecordingDialogService.h"

namespace {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

// A form laid out as the product's dialogs are: panels at top and bottom, buttons on the right,
// a page control taking the rest.
const char LayoutFormResource[] =
    "object fmLayout: TfmLayout\n"
    "  Width = 323\n"
    "  Height = 275\n"
    "  Caption = 'Layout'\n"
    "  OnCreate = FormCreate\n"
    "  OnShow = FormShow\n"
    "  OnActivate = FormActivate\n"
    "  object paTop: TPanel\n"
    "    Height = 30\n"
    "    Align = alTop\n"
    "    object laInside: TLabel\n"
    "      Caption = 'A &label'\n"
    "      Align = alClient\n"
    "    end\n"
    "  end\n"
    "  object paBottom: TPanel\n"
    "    Height = 30\n"
    "    Align = alBottom\n"
    "    BevelOuter = bvNone\n"
    "    ShowHint = True\n"
    "    object paButtons: TPanel\n"
    "      Width = 204\n"
    "      Align = alRight\n"
    "      BevelOuter = bvNone\n"
    "      object buOK: TButton\n"
    "        Left = 5\n"
    "        Top = 2\n"
    "        Width = 65\n"
    "        Height = 24\n"
    "        Caption = '&OK'\n"
    "        Hint = 'Save changes'\n"
    "        Default = True\n"
    "        OnClick = buOKClick\n"
    "      end\n"
    "      object buCancel: TBitBtn\n"
    "        Left = 71\n"
    "        Top = 2\n"
    "        Caption = '&Cancel'\n"
    "        Hint = 'Cancel changes'\n"
    "        ParentShowHint = False\n"
    "        Cancel = True\n"
    "        ModalResult = 2\n"
    "      end\n"
    "    end\n"
    "  end\n"
    "  object paLeft: TPanel\n"
    "    Width = 40\n"
    "    Align = alLeft\n"
    "  end\n"
    "  object pcPages: TPageControl\n"
    "    Align = alClient\n"
    "    object tsOne: TTabSheet\n"
    "      Caption = 'One'\n"
    "      object edName: TEdit\n"
    "        Left = 8\n"
    "        Top = 8\n"
    "        Text = 'typed'\n"
    "      end\n"
    "    end\n"
    "  end\n"
    "end\n";

class TfmLayout : public TForm {
  Q_CLASS(TfmLayout, TForm)
  explicit TfmLayout(TComponent* owner) : TForm(owner) {}

  void FormCreate(TObject*) {
    Log().push_back("FormCreate");
    if (!FailCreateWith.empty()) throw EInOutError(FailCreateWith);
  }
  void FormShow(TObject*) {
    Log().push_back("FormShow");
    if (!FailShowWith.empty()) throw EInvalidCast(FailShowWith);
  }
  void FormActivate(TObject*) { Log().push_back("FormActivate"); }
  void buOKClick(TObject*) {
    Log().push_back("buOKClick");
    SetModalResult(mrOk);
  }

  static inline std::string FailCreateWith;
  static inline std::string FailShowWith;

  TPanel* paTop = nullptr;
  TPanel* paBottom = nullptr;
  TPanel* paButtons = nullptr;
  TPanel* paLeft = nullptr;
  TLabel* laInside = nullptr;
  TButton* buOK = nullptr;
  TBitBtn* buCancel = nullptr;
  TPageControl* pcPages = nullptr;
  TTabSheet* tsOne = nullptr;
  TEdit* edName = nullptr;
};

const TMetaClass& TfmLayout::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TfmLayout>("TfmLayout")
                                    .Field("paTop", &TfmLayout::paTop)
                                    .Field("paBottom", &TfmLayout::paBottom)
                                    .Field("paButtons", &TfmLayout::paButtons)
                                    .Field("paLeft", &TfmLayout::paLeft)
                                    .Field("laInside", &TfmLayout::laInside)
                                    .Field("buOK", &TfmLayout::buOK)
                                    .Field("buCancel", &TfmLayout::buCancel)
                                    .Field("pcPages", &TfmLayout::pcPages)
                                    .Field("tsOne", &TfmLayout::tsOne)
                                    .Field("edName", &TfmLayout::edName)
                                    .Method("FormCreate", &TfmLayout::FormCreate)
                                    .Method("FormShow", &TfmLayout::FormShow)
                                    .Method("FormActivate", &TfmLayout::FormActivate)
                                    .Method("buOKClick", &TfmLayout::buOKClick)
                                    .Resource(LayoutFormResource);
  return cls;
}

// A form shown as soon as it is created, as the import dialog is.
class TfmVisible : public TForm {
  Q_CLASS(TfmVisible, TForm)
  explicit TfmVisible(TComponent* owner) : TForm(owner) {}
  void FormCreate(TObject*) {
    Log().push_back(std::string("FormCreate, showing ") + (ShowingForm() ? "yes" : "no"));
  }
  void FormShow(TObject*) { Log().push_back("FormShow"); }
};

const TMetaClass& TfmVisible::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TfmVisible>("TfmVisible")
                                    .Method("FormCreate", &TfmVisible::FormCreate)
                                    .Method("FormShow", &TfmVisible::FormShow)
                                    .Resource(
                                        "object fmVisible: TfmVisible\n  Visible = True\n"
                                        "  Position = poDesktopCenter\n  OnCreate = FormCreate\n"
                                        "  OnShow = FormShow\nend\n");
  return cls;
}

class FormsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnsureQtApplication();
    RegisterUiClasses();
  }
  void SetUp() override {
    Log().clear();
    TfmLayout::FailCreateWith.clear();
    TfmLayout::FailShowWith.clear();
    FApp = std::make_unique<TApplication>(nullptr);
    InstallQtWindowing(*FApp);
    FApp->SetTitle("Larkspan");
    FApp->Initialize();
  }
  void TearDown() override {
    FApp.reset();
    Screen->SetCursor(crDefault);
  }

  // Runs action once the event loop runs (inside ShowModal or Run).
  void Later(std::function<void()> action) {
    FTimer.setSingleShot(true);
    FTimer.setInterval(0);
    QObject::disconnect(&FTimer, nullptr, nullptr, nullptr);
    QObject::connect(&FTimer, &QTimer::timeout, std::move(action));
    FTimer.start();
  }

  static void Press(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
  }

  static std::string BoundsOf(const TControl* c) {
    return std::to_string(c->Left()) + "," + std::to_string(c->Top()) + " " + std::to_string(c->Width()) +
           "x" + std::to_string(c->Height());
  }

  TRecordingDialogService FBoxes;  // installed first, so the window part leaves it in place
  std::unique_ptr<TApplication> FApp;
  QTimer FTimer;
};

TEST_F(FormsTest, AlignedControlsShareTheClientAreaInCreationOrder) {
  TfmLayout* form = nullptr;
  FApp->CreateForm(form);
  EXPECT_EQ(form->ClientWidth(), 315);
  EXPECT_EQ(form->ClientHeight(), 241);
  struct TCase {
    const TControl* Control;
    const char* Bounds;
  };
  const TCase cases[] = {
      {form->paTop, "0,0 315x30"},
      {form->paBottom, "0,211 315x30"},
      {form->paButtons, "111,0 204x30"},
      {form->buOK, "5,2 65x24"},
      {form->paLeft, "0,30 40x181"},
      {form->pcPages, "40,30 275x181"},
      // A raised panel keeps its one-pixel bevel out of its children's room.
      {form->laInside, "1,1 313x28"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Control->Name());
    EXPECT_EQ(BoundsOf(c.Control), c.Bounds);
    EXPECT_EQ(c.Control->Widget()->geometry(),
              QRect(c.Control->Left(), c.Control->Top(), c.Control->Width(), c.Control->Height()));
  }

  // A hidden aligned control gives its room to the others; a resized form lays out again.
  form->paBottom->Hide();
  EXPECT_EQ(BoundsOf(form->pcPages), "40,30 275x211");
  form->SetWidth(423);
  form->SetHeight(175);
  EXPECT_EQ(BoundsOf(form->paTop), "0,0 415x30");
  EXPECT_EQ(BoundsOf(form->pcPages), "40,30 375x111");
  form->paBottom->Show();
  EXPECT_EQ(BoundsOf(form->paBottom), "0,111 415x30");
  EXPECT_EQ(BoundsOf(form->paButtons), "211,0 204x30");
  EXPECT_EQ(BoundsOf(form->pcPages), "40,30 375x81");
}

TEST_F(FormsTest, SetFocusRefusesHiddenOrDisabledControls) {
  TfmLayout* form = nullptr;
  FApp->CreateForm(form);
  struct TCase {
    const char* Name;
    std::function<void(TfmLayout*)> Arrange;
    bool CanFocus;
  };
  const TCase cases[] = {
      {"all visible, form not shown", [](TfmLayout*) {}, true},
      {"button hidden", [](TfmLayout* f) { f->buOK->Hide(); }, false},
      {"button disabled", [](TfmLayout* f) { f->buOK->SetEnabled(false); }, false},
      {"grandparent panel hidden", [](TfmLayout* f) { f->paBottom->SetVisible(false); }, false},
      {"parent panel disabled", [](TfmLayout* f) { f->paButtons->SetEnabled(false); }, false},
      {"the form itself disabled", [](TfmLayout* f) { f->SetEnabled(false); }, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (TControl* control : {static_cast<TControl*>(form->buOK), static_cast<TControl*>(form->paBottom),
                              static_cast<TControl*>(form->paButtons), static_cast<TControl*>(form)}) {
      control->SetVisible(control != form);
      control->SetEnabled(true);
    }
    c.Arrange(form);
    EXPECT_EQ(form->buOK->CanFocus(), c.CanFocus);
    if (c.CanFocus) {
      EXPECT_NO_THROW(form->buOK->SetFocus());
      EXPECT_EQ(form->ActiveControl(), form->buOK);
    } else {
      try {
        form->buOK->SetFocus();
        ADD_FAILURE() << "no focus error";
      } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Cannot focus a disabled or invisible window");
      }
    }
  }
  // A control that sits on no form cannot take the focus at all.
  TEdit loose(nullptr);
  EXPECT_THROW(loose.SetFocus(), EInvalidOperation);
}

TEST_F(FormsTest, HintsAreTooltipsWhereShowHintHolds) {
  TfmLayout* form = nullptr;
  FApp->CreateForm(form);
  // buOK takes ShowHint from its parents (paBottom says True); buCancel has its own ShowHint False.
  EXPECT_TRUE(form->buOK->EffectiveShowHint());
  EXPECT_EQ(form->buOK->Widget()->toolTip(), QStringLiteral("Save changes"));
  EXPECT_FALSE(form->buCancel->EffectiveShowHint());
  EXPECT_TRUE(form->buCancel->Widget()->toolTip().isEmpty());
  form->paBottom->SetShowHint(false);
  EXPECT_TRUE(form->buOK->Widget()->toolTip().isEmpty());
  form->buCancel->SetShowHint(true);
  EXPECT_EQ(form->buCancel->Widget()->toolTip(), QStringLiteral("Cancel changes"));
}

TEST_F(FormsTest, ControlsShowTheirStoredTexts) {
  TfmLayout* form = nullptr;
  FApp->CreateForm(form);
  EXPECT_EQ(form->Widget()->windowTitle(), QStringLiteral("Layout"));
  EXPECT_EQ(qobject_cast<QPushButton*>(form->buOK->Widget())->text(), QStringLiteral("&OK"));
  EXPECT_EQ(form->edName->Text(), "typed");
  form->edName->SetText("caf\xe9 \x80\xff");
  EXPECT_EQ(form->edName->Text(), "caf\xe9 \x80\xff");
  EXPECT_EQ(form->tsOne->Caption(), "One");
  EXPECT_EQ(form->pcPages->TabBar()->tabText(0), QStringLiteral("One"));
  // Forms and controls take the product's font unless they set their own.
  EXPECT_EQ(form->edName->Font()->Name(), "MS Sans Serif");
  form->Font()->SetHeight(-14);
  EXPECT_EQ(form->edName->Font()->Height(), -14);
  EXPECT_EQ(form->edName->Widget()->font().pixelSize(), 14);
  form->tsOne->Font()->SetStyle(TFontStyles{fsBold});
  EXPECT_FALSE(form->tsOne->ParentFont());
  form->Font()->SetHeight(-11);
  EXPECT_EQ(form->tsOne->Font()->Height(), -14);
  EXPECT_EQ(form->edName->Font()->Height(), -14);
}

TEST_F(FormsTest, FirstFormCreatedIsTheMainFormAndRunReturnsAtOnceAfterTerminate) {
  TfmLayout* first = nullptr;
  TfmVisible* second = nullptr;
  FApp->CreateForm(first);
  FApp->CreateForm(second);
  EXPECT_EQ(MainForm(), first);
  EXPECT_FALSE(first->ShowingForm());
  FApp->Terminate();
  FApp->Run();
  // Run shows the main form, then finds the end already requested.
  EXPECT_TRUE(first->ShowingForm());
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"FormCreate", "FormCreate, showing no", "FormShow", "FormShow"}));
}

TEST_F(FormsTest, ClosingTheMainFormEndsTheLoop) {
  TfmLayout* form = nullptr;
  FApp->CreateForm(form);
  Later([form] { form->Widget()->close(); });
  FApp->Run();
  EXPECT_TRUE(FApp->Terminated());
  EXPECT_FALSE(form->ShowingForm());
  EXPECT_EQ(Log(), (std::vector<std::string>{"FormCreate", "FormShow", "FormActivate"}));
}

TEST_F(FormsTest, RunEndsWhenTheMainFormCannotBeShown) {
  // Left running, the program would wait for a window that is not there.
  TfmLayout::FailShowWith = "Invalid class typecast";
  TfmLayout* form = nullptr;
  FApp->CreateForm(form);
  FBoxes.ExpectBox(mrOk);
  bool hung = false;
  Later([this, &hung] {
    hung = true;
    FApp->Terminate();
  });
  FApp->Run();
  EXPECT_FALSE(hung);
  EXPECT_FALSE(form->ShowingForm());
  EXPECT_EQ(FBoxes.BoxTexts(), (std::vector<std::string>{"Invalid class typecast."}));
  EXPECT_EQ(Log(), (std::vector<std::string>{"FormCreate", "FormShow"}));
}

TEST_F(FormsTest, FormStoredVisibleIsShownAfterItsCreationHandlerAndCentred) {
  TfmVisible* form = nullptr;
  FApp->CreateForm(form);
  EXPECT_TRUE(form->ShowingForm());
  EXPECT_EQ(Log(), (std::vector<std::string>{"FormCreate, showing no", "FormShow"}));
  const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
  EXPECT_EQ(form->Left(), desktop.left() + (desktop.width() - form->Width()) / 2);
  EXPECT_EQ(form->Top(), desktop.top() + (desktop.height() - form->Height()) / 2);
}

TEST_F(FormsTest, CreationHandlerExceptionIsShownAndConstructionCompletes) {
  TfmLayout::FailCreateWith = "Larkspan: missing.xml Not found";
  FBoxes.ExpectBox(mrOk);
  TfmLayout* form = nullptr;
  FApp->CreateForm(form);
  ASSERT_NE(form, nullptr);
  EXPECT_NE(form->pcPages, nullptr);
  EXPECT_FALSE(form->pcPages->InState(csLoading));
  ASSERT_EQ(FBoxes.Boxes().size(), 1u);
  EXPECT_EQ(FBoxes.Boxes()[0].Caption, "Larkspan");
  EXPECT_EQ(FBoxes.Boxes()[0].Text, "Larkspan: missing.xml Not found.");
  EXPECT_EQ(FBoxes.Boxes()[0].Type, mtError);
  EXPECT_EQ(FBoxes.Boxes()[0].Buttons, TMsgDlgButtons{mbOK});
  EXPECT_EQ(MainForm(), form);
}

TEST_F(FormsTest, ShowModalEndsWithTheModalResultOfTheButtonOrKey) {
  TfmLayout* form = nullptr;
  FApp->CreateForm(form);
  struct TCase {
    const char* Name;
    std::function<void(TfmLayout*)> Act;
    int Result;
  };
  const TCase cases[] = {
      {"OK button", [](TfmLayout* f) { qobject_cast<QPushButton*>(f->buOK->Widget())->click(); }, mrOk},
      {"Cancel button", [](TfmLayout* f) { qobject_cast<QPushButton*>(f->buCancel->Widget())->click(); },
       mrCancel},
      {"Enter presses the default button", [](TfmLayout* f) { Press(f->Widget(), Qt::Key_Return); }, mrOk},
      {"Escape presses the cancel button", [](TfmLayout* f) { Press(f->Widget(), Qt::Key_Escape); },
       mrCancel},
      {"close box", [](TfmLayout* f) { f->Widget()->close(); }, mrCancel},
      {"a handler sets the result", [](TfmLayout* f) { f->SetModalResult(7); }, 7},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Later([form, &c] { c.Act(form); });
    EXPECT_EQ(form->ShowModal(), c.Result);
    EXPECT_FALSE(form->ShowingForm());
  }
  // Closing a modal form does not end the program even though it is the main form.
  EXPECT_FALSE(FApp->Terminated());
  form->Show();
  EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(FormsTest, EnterAndEscapePressOnlyButtonsThatCouldTakeTheFocus) {
  TfmLayout* form = nullptr;
  FApp->CreateForm(form);
  form->pcPages->SetActivePage(form->tsOne);
  form->Show();
  struct TCase {
    const char* Name;
    std::function<void(TfmLayout*)> Arrange;
    bool Pressed;
  };
  const TCase cases[] = {
      {"buttons usable", [](TfmLayout*) {}, true},
      {"buttons disabled",
       [](TfmLayout* f) {
         f->buOK->SetEnabled(false);
         f->buCancel->SetEnabled(false);
       },
       false},
      {"their panel disabled", [](TfmLayout* f) { f->paButtons->SetEnabled(false); }, false},
      {"their panel hidden", [](TfmLayout* f) { f->paBottom->Hide(); }, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (TControl* control :
         {static_cast<TControl*>(form->buOK), static_cast<TControl*>(form->buCancel),
          static_cast<TControl*>(form->paButtons), static_cast<TControl*>(form->paBottom)}) {
      control->SetVisible(true);
      control->SetEnabled(true);
    }
    form->edName->SetFocus();
    c.Arrange(form);
    form->SetModalResult(0);
    Log().clear();
    Press(form->Widget(), Qt::Key_Return);
    EXPECT_EQ(Log(), c.Pressed ? std::vector<std::string>{"buOKClick"} : std::vector<std::string>{});
    form->SetModalResult(0);
    Press(form->Widget(), Qt::Key_Escape);
    EXPECT_EQ(form->ModalResult(), c.Pressed ? mrCancel : 0);
  }
}

TEST_F(FormsTest, ActivationRunsOnActivateOncePerChangeOfActiveForm) {
  TfmLayout* form = nullptr;
  FApp->CreateForm(form);
  form->Show();
  form->WindowActivated();
  form->WindowActivated();  // back from one of its own message boxes: still the active form
  EXPECT_EQ(Log(), (std::vector<std::string>{"FormCreate", "FormShow", "FormActivate"}));
  form->Hide();
  form->Show();
  form->WindowActivated();
  EXPECT_EQ(Log().back(), "FormActivate");
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "FormActivate"), 2);
}

TEST_F(FormsTest, PageControlCountsVisibleTabsAndSearchesWithWrapAround) {
  TForm form(nullptr);
  TPageControl pages(&form);
  pages.SetParent(&form);
  TTabSheet hidden(&form), a(&form), b(&form), c(&form);
  for (TTabSheet* page : {&hidden, &a, &b, &c}) page->SetPageControl(&pages);
  hidden.SetCaption("tsMain");
  a.SetCaption("A");
  b.SetCaption("B");
  c.SetCaption("C");
  hidden.SetTabVisible(false);
  c.SetTabVisible(false);
  EXPECT_EQ(pages.PageCount(), 4);
  EXPECT_EQ(pages.VisibleTabCount(), 2);
  EXPECT_EQ(pages.TabBar()->count(), 2);
  EXPECT_EQ(pages.TabBar()->tabText(1), QStringLiteral("B"));
  struct TCase {
    TTabSheet* Page;
    int TabIndex;
    int PageIndex;
  };
  for (const TCase& t : {TCase{&hidden, -1, 0}, TCase{&a, 0, 1}, TCase{&b, 1, 2}, TCase{&c, -1, 3}}) {
    SCOPED_TRACE(t.Page->Caption());
    EXPECT_EQ(t.Page->TabIndex(), t.TabIndex);
    EXPECT_EQ(t.Page->PageIndex(), t.PageIndex);
  }
  EXPECT_EQ(pages.FindNextPage(&hidden, true, true), &a);
  EXPECT_EQ(pages.FindNextPage(&b, true, true), &a);  // past c (hidden tab) and round to the start
  EXPECT_EQ(pages.FindNextPage(&b, true, false), &c);
  EXPECT_EQ(pages.FindNextPage(&a, false, true), &b);
  EXPECT_EQ(pages.FindNextPage(nullptr, true, true), &a);
  a.SetTabVisible(false);
  EXPECT_EQ(pages.FindNextPage(&b, true, true), &b);  // the only visible tab finds itself
  b.SetTabVisible(false);
  EXPECT_EQ(pages.FindNextPage(&b, true, true), nullptr);
  EXPECT_FALSE(pages.TabBar()->isVisibleTo(pages.Widget()));
  // Moving a page changes the tab indexes.
  a.SetTabVisible(true);
  b.SetTabVisible(true);
  b.SetPageIndex(0);
  EXPECT_EQ(b.TabIndex(), 0);
  EXPECT_EQ(a.TabIndex(), 1);
  pages.SetActivePage(&a);
  EXPECT_TRUE(a.Visible());
  EXPECT_FALSE(b.Visible());
  EXPECT_EQ(pages.TabBar()->currentIndex(), 1);
  // Clicking a tab shows its page.
  pages.TabBar()->setCurrentIndex(0);
  EXPECT_EQ(pages.ActivePage(), &b);
  TPageControl other(&form);
  EXPECT_THROW(other.SetActivePage(&a), EInvalidOperation);
}

TEST_F(FormsTest, WithTheActivePagesTabHiddenNoTabIsActiveAndAClickShowsThatTabsPage) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 323, 275);
  TPageControl pages(&form);
  pages.SetParent(&form);
  pages.SetAlign(alClient);
  TTabSheet hidden(&form), a(&form), b(&form);
  for (TTabSheet* page : {&hidden, &a, &b}) page->SetPageControl(&pages);
  a.SetCaption("A");
  b.SetCaption("B");
  hidden.SetTabVisible(false);
  pages.SetActivePage(&hidden);
  std::vector<std::string> painted;
  pages.SetOwnerDraw(true);
  pages.OnDrawTab =
      TDrawTabEvent(nullptr, [&](TObject*, TCustomTabControl*, int tab, const TRect&, bool active) {
        painted.push_back(std::to_string(tab) + (active ? " active" : ""));
      });
  form.Show();
  auto paint = [&] {
    painted.clear();
    pages.TabBar()->grab();
    return painted;
  };
  ASSERT_EQ(pages.TabBar()->count(), 2);
  EXPECT_EQ(pages.ActiveTabIndex(), -1);
  EXPECT_EQ(paint(), (std::vector<std::string>{"0", "1"}));
  // The user clicks the first tab, which Qt already holds as its current one.
  auto click = [&](int tab) {
    const QPointF at = pages.TabBar()->tabRect(tab).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, pages.TabBar()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pages.TabBar(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, pages.TabBar()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pages.TabBar(), &release);
  };
  click(0);
  EXPECT_EQ(pages.ActivePage(), &a);
  EXPECT_TRUE(a.Visible());
  EXPECT_FALSE(hidden.Visible());
  EXPECT_EQ(paint(), (std::vector<std::string>{"0 active", "1"}));
  click(1);
  EXPECT_EQ(pages.ActivePage(), &b);
  EXPECT_EQ(paint(), (std::vector<std::string>{"0", "1 active"}));
}

TEST_F(FormsTest, ComboBoxListFollowsItsItems) {
  TForm form(nullptr);
  TComboBox combo(&form);
  combo.SetParent(&form);
  combo.Items().Add("Main");
  combo.Items().Add("Train\xe9");
  EXPECT_EQ(combo.ItemIndex(), -1);
  combo.SetItemIndex(1);
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(combo.Text(), "Train\xe9");
  // The edit field's text can be set apart from the selection.
  combo.SetText("cbDatabase");
  EXPECT_EQ(combo.Text(), "cbDatabase");
  EXPECT_EQ(combo.ItemIndex(), 1);
  // An entry added later is in the list the user drops down.
  combo.Items().Add("Third");
  auto* list = qobject_cast<QComboBox*>(combo.Widget());
  list->showPopup();
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(list->itemText(2), QStringLiteral("Third"));
  list->hidePopup();
  EXPECT_EQ(combo.Text(), "cbDatabase");
  combo.SetItemIndex(-1);
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
  combo.SetItemIndex(5);
  EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST_F(FormsTest, AutoSizedLabelTakesTheSizeOfItsText) {
  TForm form(nullptr);
  TLabel label(&form);
  label.SetParent(&form);
  label.SetBounds(100, 10, 5, 5);
  label.SetCaption("Select &database :");
  const QFontMetrics metrics(label.Font()->ToQFont());
  EXPECT_EQ(label.Width(), metrics.horizontalAdvance(QStringLiteral("Select database :")));
  EXPECT_EQ(label.Height(), metrics.height());
  EXPECT_EQ(label.Left(), 100);
  label.SetCaption("two\r\nlines");
  EXPECT_EQ(label.Height(), 2 * metrics.height());
  // A right-aligned label grows to the left.
  label.SetAlignment(taRightJustify);
  const int right = label.Left() + label.Width();
  label.SetCaption("a much longer caption");
  EXPECT_EQ(label.Left() + label.Width(), right);
  // Without AutoSize the bounds stay as set.
  label.SetAutoSize(false);
  label.SetBounds(0, 0, 20, 8);
  label.SetCaption("longer still, and longer");
  EXPECT_EQ(label.Width(), 20);
  EXPECT_EQ(label.Height(), 8);
}

TEST_F(FormsTest, ScreenCursorIsProgramWide) {
  EXPECT_EQ(Screen->Cursor(), crDefault);
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Screen->SetCursor(crHourGlass);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FormsTest, WindowPartAnswersHelpAndProgramName) {
  EXPECT_FALSE(FApp->HelpContext(506));
  EXPECT_EQ(FApp->ExeName(), std::filesystem::canonical("/proc/self/exe").string());
  EXPECT_EQ(std::filesystem::path(FApp->ExeName()).filename(), "platform_ui_TestForms");
}

TEST(QtWindowingTest, DefaultExceptionDisplayIsAWindowedErrorBox) {
  ASSERT_EQ(DialogService(), nullptr);
  {
    TApplication app(nullptr);
    InstallQtWindowing(app);
    app.SetTitle("Glyphcrate");
    app.Initialize();
    ASSERT_NE(dynamic_cast<TQtDialogService*>(DialogService()), nullptr);
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    TModalWatch watch;
    watch.Start([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      text = box->text();
      icon = box->icon();
      for (QAbstractButton* b : box->buttons()) buttons << b->text();
      box->buttons().front()->click();
    });
    try {
      throw EInOutError("Cannot read C:\\Icons\\a.bmp");
    } catch (...) {
      app.HandleException(&app);
    }
    EXPECT_EQ(caption, QStringLiteral("Glyphcrate"));
    EXPECT_EQ(text, QStringLiteral("Cannot read C:\\Icons\\a.bmp."));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
  }
  // The window part takes its service away with it.
  EXPECT_EQ(DialogService(), nullptr);
}

TEST(QtRuntimeTest, NoDisplayChoosesTheOffscreenPlatform) {
  struct TSaved {
    const char* Name;
    std::string Value;
    bool Set;
  };
  std::vector<TSaved> saved;
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    saved.push_back({name, value ? value : "", value != nullptr});
    unsetenv(name);
  }
  setenv("DISPLAY", ":7", 1);
  EXPECT_FALSE(ChooseOffscreenWhenNoDisplay());
  EXPECT_EQ(std::getenv("QT_QPA_PLATFORM"), nullptr);
  unsetenv("DISPLAY");
  setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  EXPECT_FALSE(ChooseOffscreenWhenNoDisplay());
  unsetenv("WAYLAND_DISPLAY");
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  EXPECT_FALSE(ChooseOffscreenWhenNoDisplay());
  EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "xcb");
  unsetenv("QT_QPA_PLATFORM");
  EXPECT_TRUE(ChooseOffscreenWhenNoDisplay());
  EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "offscreen");
  for (const TSaved& s : saved) {
    if (s.Set) {
      setenv(s.Name, s.Value.c_str(), 1);
    } else {
      unsetenv(s.Name);
    }
  }
}

}  // namespace
