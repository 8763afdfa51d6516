#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/components/Application.h"
#include "platform/components/FormReader.h"
#include "platform/components/FormWriter.h"
#include "platform/components/TypeInfo.h"
#include "platform/system/Exceptions.h"
#include "tests/support/RecordingDialogService.h"
#include "textcatalogue/Dcintl.h"

namespace {

const char kMaskMessage[] = "Invalid input value.  Use escape key to abandon changes";

// A form that holds catalogues and offers a handler for their mask-validation event.
class TCatalogueForm : public TComponent {
  Q_CLASS(TCatalogueForm, TComponent)
  explicit TCatalogueForm(TComponent* owner) : TComponent(owner) {}

  void MaskError(TObject* sender, TField* field, std::string& msg, bool& doDefault) {
    ++Calls;
    LastSender = sender;
    LastField = field;
    if (!NewMessage.empty()) msg = NewMessage;
    doDefault = KeepDefault;
  }

  int Calls = 0;
  TObject* LastSender = nullptr;
  TField* LastField = nullptr;
  std::string NewMessage;
  bool KeepDefault = true;
};

const TMetaClass& TCatalogueForm::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TCatalogueForm>("TCatalogueForm").Method("MaskError", &TCatalogueForm::MaskError);
  return cls;
}

// Every test runs with an application object, the application-wide catalogue and a recording dialog
// service that fails the test on any box.
class DcintlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FApplication = std::make_unique<TApplication>(nullptr);
    DcintlInitialization();
    ASSERT_NE(dcGlobalIntl, nullptr);
  }
  void TearDown() override {
    DcintlFinalization();
    EXPECT_EQ(dcGlobalIntl, nullptr);
    FApplication.reset();
  }

  // A catalogue of a form, owned by it.
  TdcIntl* NewCatalogue(TComponent* owner) { return NewComponent<TdcIntl>(owner); }

  TRecordingDialogService FDialogs;
  std::unique_ptr<TApplication> FApplication;
};

// Gives every text of a holder a value of its own, so a copy that misses one shows.
template <class THolder>
void MarkTexts(THolder& holder, const std::string& mark) {
  for (const auto& text : THolder::Texts()) holder.*text.Field = mark + text.Name;
}

template <class THolder>
void ExpectSameTexts(const THolder& expected, const THolder& actual) {
  for (const auto& text : THolder::Texts()) {
    SCOPED_TRACE(text.Name);
    EXPECT_EQ(actual.*text.Field, expected.*text.Field);
  }
}

void ExpectSameHolderTexts(const TdcIntl& expected, const TdcIntl& actual) {
  ExpectSameTexts(*expected.FilterDialog(), *actual.FilterDialog());
  ExpectSameTexts(*expected.RichEdit(), *actual.RichEdit());
  ExpectSameTexts(*expected.RichEdit()->MenuLabels(), *actual.RichEdit()->MenuLabels());
  ExpectSameTexts(*expected.RichEdit()->PopupMenuLabels(), *actual.RichEdit()->PopupMenuLabels());
  ExpectSameTexts(*expected.RichEdit()->ParagraphDialog(), *actual.RichEdit()->ParagraphDialog());
  ExpectSameTexts(*expected.RichEdit()->TabDialog(), *actual.RichEdit()->TabDialog());
  ExpectSameTexts(*expected.Navigator(), *actual.Navigator());
  ExpectSameTexts(*expected.Navigator()->Hints(), *actual.Navigator()->Hints());
  ExpectSameTexts(*expected.MonthCalendar(), *actual.MonthCalendar());
  ExpectSameTexts(*expected.SearchDialog(), *actual.SearchDialog());
  ExpectSameTexts(*expected.LocateDialog(), *actual.LocateDialog());
  ExpectSameTexts(*expected.UserMessages(), *actual.UserMessages());
}

}  // namespace

TEST_F(DcintlTest, ANewCatalogueHoldsItsDefaultsAndIsNotConnected) {
  TdcIntl intl(nullptr);
  EXPECT_TRUE(intl.OKCancelBitmapped());
  EXPECT_EQ(intl.BtnOKCaption(), "&OK");
  EXPECT_EQ(intl.BtnCancelCaption(), "Cancel");
  EXPECT_EQ(intl.CheckBoxInGridStyle(), cbStyleAuto);
  EXPECT_EQ(intl.GridPaintStyle(), gpsDynamicDeviceContext);
  EXPECT_EQ(intl.VersionInfo(), "3000.05.01");
  EXPECT_EQ(intl.FilterMemoSize(), 65536);
  EXPECT_EQ(intl.IniFileName(), "");
  EXPECT_TRUE(intl.UseLocateMethodForSearch());
  EXPECT_TRUE(intl.DialogFontStyle().Empty());
  EXPECT_EQ(intl.DefaultEpochYear(), 1950);
  EXPECT_FALSE(intl.OnValidationErrorUsingMask().Assigned());
  EXPECT_FALSE(intl.Connected());
  EXPECT_TRUE(intl.UnpublishedFlag());

  intl.SetVersionInfo("4000.01");
  EXPECT_EQ(intl.VersionInfo(), "3000.05.01");
}

TEST_F(DcintlTest, TheCatalogueFillsItsHoldersWithTheirDistinctiveTexts) {
  TdcIntl intl(nullptr);
  struct TCase {
    const char* Property;
    std::string Actual;
    const char* Expected;
  };
  const TCase cases[] = {
      {"FilterDialog.SummaryCaption", intl.FilterDialog()->SummaryCaption, ""},
      {"FilterDialog.BtnClearMax", intl.FilterDialog()->BtnClearMax, "Cl&ear"},
      {"FilterDialog.SearchTypeLabel", intl.FilterDialog()->SearchTypeLabel, "Search Type"},
      {"RichEdit.UnderlineButtonHint", intl.RichEdit()->UnderlineButtonHint,
       "Underline | Formats the selection with a continuous underline (toggle)"},
      {"RichEdit.CAPLockCaption", intl.RichEdit()->CAPLockCaption, "CAP"},
      {"RichEdit.MenuLabels.RedoCaption", intl.RichEdit()->MenuLabels()->RedoCaption, ""},
      {"RichEdit.MenuLabels.SelectallCaption", intl.RichEdit()->MenuLabels()->SelectallCaption,
       "Select A&ll"},
      {"RichEdit.MenuLabels.InsertObjectCaption", intl.RichEdit()->MenuLabels()->InsertObjectCaption,
       "&Object..."},
      {"RichEdit.PopupMenuLabels.InsertObjectCaption",
       intl.RichEdit()->PopupMenuLabels()->InsertObjectCaption, "Insert &Object..."},
      {"RichEdit.ParagraphDialog.SpacingSingle", intl.RichEdit()->ParagraphDialog()->SpacingSingle, ""},
      {"RichEdit.ParagraphDialog.Spacing1_5", intl.RichEdit()->ParagraphDialog()->Spacing1_5, ""},
      {"RichEdit.ParagraphDialog.SpacingDouble", intl.RichEdit()->ParagraphDialog()->SpacingDouble, ""},
      {"RichEdit.ParagraphDialog.SpacingAtLeast", intl.RichEdit()->ParagraphDialog()->SpacingAtLeast, ""},
      {"RichEdit.ParagraphDialog.SpacingExactly", intl.RichEdit()->ParagraphDialog()->SpacingExactly, ""},
      {"RichEdit.ParagraphDialog.SpacingMultiple", intl.RichEdit()->ParagraphDialog()->SpacingMultiple, ""},
      {"RichEdit.ParagraphDialog.FirstLineEditCaption",
       intl.RichEdit()->ParagraphDialog()->FirstLineEditCaption, "First line:"},
      {"RichEdit.TabDialog.TabGroupBoxCaption", intl.RichEdit()->TabDialog()->TabGroupBoxCaption,
       "&Tab Stop Position"},
      {"Navigator.ConfirmDeleteMessage", intl.Navigator()->ConfirmDeleteMessage, "Delete record?"},
      {"Navigator.Hints.PriorPageHint", intl.Navigator()->Hints()->PriorPageHint, "Move backward %d records"},
      {"Navigator.Hints.NextPageHint", intl.Navigator()->Hints()->NextPageHint, "Move forward %d records"},
      {"LocateDialog.SearchTypeLabel", intl.LocateDialog()->SearchTypeLabel, "&Search Type"},
      {"LocateDialog.MatchAnyLabel", intl.LocateDialog()->MatchAnyLabel, "Partial Match &Anywhere"},
      {"UserMessages.PictureValidateError", intl.UserMessages()->PictureValidateError,
       "Invalid characters. Field : "},
      {"UserMessages.MemoChangesWarning", intl.UserMessages()->MemoChangesWarning,
       "Changes have been made!  Are you sure you wish to cancel?"},
      {"UserMessages.RecordViewExitWarning", intl.UserMessages()->RecordViewExitWarning,
       "Changes have been made!  Do you wish to save your changes?"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Property);
    EXPECT_EQ(c.Actual, c.Expected);
  }
  EXPECT_EQ(intl.RichEdit()->ParagraphDialog()->HelpContext, 0);
  EXPECT_EQ(intl.RichEdit()->TabDialog()->HelpContext, 0);
  EXPECT_TRUE(intl.ADO()->UseLocateWhenFindingValue);
}

TEST_F(DcintlTest, TextsThatStartEqualAreIndependent) {
  TdcIntl intl(nullptr);
  intl.UserMessages()->RichEditExitWarning = "Save?";
  EXPECT_EQ(intl.UserMessages()->RecordViewExitWarning,
            "Changes have been made!  Do you wish to save your changes?");
  intl.FilterDialog()->BtnClearMin = "Clear &min";
  EXPECT_EQ(intl.FilterDialog()->BtnClearFilterValue, "&Clear");
  // Another catalogue has holders of its own.
  TdcIntl other(nullptr);
  EXPECT_EQ(other.UserMessages()->RichEditExitWarning,
            "Changes have been made!  Do you wish to save your changes?");
  EXPECT_NE(other.UserMessages(), intl.UserMessages());
}

TEST_F(DcintlTest, ConnectingCopiesEveryHolderTextAndOptionButKeepsTheGlobalOwnState) {
  TCatalogueForm form(nullptr);
  TdcIntl* intl = NewCatalogue(&form);
  MarkTexts(*intl->FilterDialog(), "f-");
  MarkTexts(*intl->RichEdit(), "r-");
  MarkTexts(*intl->RichEdit()->MenuLabels(), "m-");
  MarkTexts(*intl->RichEdit()->PopupMenuLabels(), "p-");
  MarkTexts(*intl->RichEdit()->ParagraphDialog(), "g-");
  MarkTexts(*intl->RichEdit()->TabDialog(), "t-");
  MarkTexts(*intl->Navigator(), "n-");
  MarkTexts(*intl->Navigator()->Hints(), "h-");
  MarkTexts(*intl->MonthCalendar(), "c-");
  MarkTexts(*intl->SearchDialog(), "s-");
  MarkTexts(*intl->LocateDialog(), "l-");
  MarkTexts(*intl->UserMessages(), "u-");
  intl->RichEdit()->ParagraphDialog()->HelpContext = 11;
  intl->RichEdit()->TabDialog()->HelpContext = 12;
  intl->ADO()->UseLocateWhenFindingValue = false;
  intl->SetOKCancelBitmapped(false);
  intl->SetBtnOKCaption("Go");
  intl->SetBtnCancelCaption("Stop");
  intl->SetCheckBoxInGridStyle(cbStyleCheckmarkFlat);
  intl->SetGridPaintStyle(gpsBitmapCanvas);
  intl->SetFilterMemoSize(100);
  intl->SetUseLocateMethodForSearch(false);
  intl->SetDialogFontStyle(TFontStyles{fsBold, fsStrikeOut});
  intl->SetDefaultEpochYear(1970);
  intl->SetUnpublishedFlag(false);

  TdcIntl* global = dcGlobalIntl;
  TdcFilterDialogIntl* globalFilter = global->FilterDialog();
  TdcRichEditTabDlg* globalTabs = global->RichEdit()->TabDialog();
  TdcDBNavigatorIntlHints* globalHints = global->Navigator()->Hints();
  EXPECT_EQ(global->BtnOKCaption(), "&OK");  // nothing reaches it before the connection

  intl->SetConnected(true);
  ExpectSameHolderTexts(*intl, *global);
  EXPECT_EQ(global->RichEdit()->ParagraphDialog()->HelpContext, 11);
  EXPECT_EQ(global->RichEdit()->TabDialog()->HelpContext, 12);
  EXPECT_FALSE(global->ADO()->UseLocateWhenFindingValue);
  EXPECT_FALSE(global->OKCancelBitmapped());
  EXPECT_EQ(global->BtnOKCaption(), "Go");
  EXPECT_EQ(global->BtnCancelCaption(), "Stop");
  EXPECT_EQ(global->CheckBoxInGridStyle(), cbStyleCheckmarkFlat);
  EXPECT_EQ(global->GridPaintStyle(), gpsBitmapCanvas);
  EXPECT_EQ(global->FilterMemoSize(), 100);
  EXPECT_FALSE(global->UseLocateMethodForSearch());
  EXPECT_EQ(global->DialogFontStyle(), (TFontStyles{fsBold, fsStrikeOut}));
  EXPECT_EQ(global->DefaultEpochYear(), 1970);
  EXPECT_FALSE(global->UnpublishedFlag());

  // Its own connection state, version and holder objects stay.
  EXPECT_FALSE(global->Connected());
  EXPECT_EQ(global->VersionInfo(), "3000.05.01");
  EXPECT_EQ(global->FilterDialog(), globalFilter);
  EXPECT_EQ(global->RichEdit()->TabDialog(), globalTabs);
  EXPECT_EQ(global->Navigator()->Hints(), globalHints);
  EXPECT_NE(global->FilterDialog(), intl->FilterDialog());
}

TEST_F(DcintlTest, CopiedIniFileNameGetsTheExtensionUnlessItIsEmptyOrTheBareExtension) {
  struct TCase {
    const char* Name;
    const char* Expected;
  };
  const TCase cases[] = {
      {"", ""},
      {".ini", ""},
      {"abc", "abc.ini"},
      {"abc.ini", "abc.ini.ini"},
      {".INI", ".INI.ini"},
      {" .ini", " .ini.ini"},
  };
  TdcIntl intl(nullptr);
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string("'") + c.Name + "'");
    dcGlobalIntl->SetIniFileName("previous.ini");
    intl.SetIniFileName(c.Name);
    intl.SetConnected(true);
    EXPECT_EQ(dcGlobalIntl->IniFileName(), c.Expected);
    EXPECT_EQ(intl.IniFileName(), c.Name);
  }
}

TEST_F(DcintlTest, ConnectingTheApplicationWideInstanceItselfCopiesNothing) {
  dcGlobalIntl->SetIniFileName("abc");
  dcGlobalIntl->SetConnected(true);
  EXPECT_EQ(dcGlobalIntl->IniFileName(), "abc");  // a copy into itself would have made it abc.ini
  EXPECT_TRUE(dcGlobalIntl->Connected());
  dcGlobalIntl->ApplyToGlobal();
  EXPECT_EQ(dcGlobalIntl->IniFileName(), "abc");
}

TEST_F(DcintlTest, ACopyIsASnapshotButGridStylesReachTheGlobalWhileConnected) {
  TdcIntl intl(nullptr);
  intl.SetBtnOKCaption("Go");
  intl.SetConnected(true);
  intl.SetBtnOKCaption("Later");
  intl.UserMessages()->LocateNoMatches = "Nothing";
  EXPECT_EQ(dcGlobalIntl->BtnOKCaption(), "Go");
  EXPECT_EQ(dcGlobalIntl->UserMessages()->LocateNoMatches, "No matches found");

  intl.SetCheckBoxInGridStyle(cbStyleXmark);
  intl.SetGridPaintStyle(gpsBitmapCanvas);
  EXPECT_EQ(dcGlobalIntl->CheckBoxInGridStyle(), cbStyleXmark);
  EXPECT_EQ(dcGlobalIntl->GridPaintStyle(), gpsBitmapCanvas);
  EXPECT_EQ(dcGlobalIntl->BtnOKCaption(), "Go");  // the forwarded write copies nothing else

  // Disconnecting copies nothing and takes nothing back.
  intl.SetConnected(false);
  EXPECT_EQ(dcGlobalIntl->BtnOKCaption(), "Go");
  intl.SetCheckBoxInGridStyle(cbStyleCheckmark);
  EXPECT_EQ(dcGlobalIntl->CheckBoxInGridStyle(), cbStyleXmark);

  // Every write of True copies again, also when it was True already.
  intl.SetConnected(true);
  intl.SetBtnOKCaption("Again");
  intl.SetConnected(true);
  EXPECT_EQ(dcGlobalIntl->BtnOKCaption(), "Again");
  EXPECT_EQ(dcGlobalIntl->CheckBoxInGridStyle(), cbStyleCheckmark);
}

TEST_F(DcintlTest, TheLastConnectedCatalogueWins) {
  TdcIntl first(nullptr);
  TdcIntl second(nullptr);
  first.SetBtnCancelCaption("First");
  second.SetBtnCancelCaption("Second");
  first.SetConnected(true);
  second.SetConnected(true);
  EXPECT_EQ(dcGlobalIntl->BtnCancelCaption(), "Second");
}

TEST_F(DcintlTest, RaiseMaskValidationErrorBeepsAndRaisesUnlessTheHandlerSaysOtherwise) {
  struct TCase {
    const char* Name;
    bool WithHandler;
    std::string NewMessage;
    bool KeepDefault;
    int Beeps;
    const char* Raised;  // nullptr: returns normally
  };
  const TCase cases[] = {
      {"no handler", false, "", true, 1, kMaskMessage},
      {"handler keeps everything", true, "", true, 1, kMaskMessage},
      {"handler clears DoDefault", true, "", false, 0, nullptr},
      {"handler changes the message", true, "Digits only", true, 1, "Digits only"},
      {"handler changes the message and clears DoDefault", true, "Digits only", false, 0, nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRecordingDialogService dialogs;
    TCatalogueForm form(nullptr);
    TdcIntl* intl = NewCatalogue(&form);
    form.NewMessage = c.NewMessage;
    form.KeepDefault = c.KeepDefault;
    if (c.WithHandler)
      intl->SetOnValidationErrorUsingMask(TdcPictureValidationError(&form, &TCatalogueForm::MaskError));
    TField* field = reinterpret_cast<TField*>(&form);  // handed on untouched, never looked at
    std::string raised;
    bool threw = false;
    try {
      intl->RaiseMaskValidationError(intl, field);
    } catch (const EInvalidOperation& e) {
      threw = true;
      raised = e.Message();
    }
    EXPECT_EQ(threw, c.Raised != nullptr);
    if (c.Raised != nullptr) {
      EXPECT_EQ(raised, c.Raised);
    }
    EXPECT_EQ(dialogs.BeepCount(), c.Beeps);
    if (c.Beeps > 0) {
      EXPECT_EQ(dialogs.Beeps().front(), 0u);
    }
    EXPECT_EQ(form.Calls, c.WithHandler ? 1 : 0);
    if (c.WithHandler) {
      EXPECT_EQ(form.LastSender, intl);
      EXPECT_EQ(form.LastField, field);
    }
  }
}

TEST_F(DcintlTest, AHandlerCopiedIntoTheGlobalIsNeverCalledOnceItsObjectIsGone) {
  auto form = std::make_unique<TCatalogueForm>(nullptr);
  TdcIntl* intl = NewCatalogue(form.get());
  form->KeepDefault = false;
  intl->SetOnValidationErrorUsingMask(TdcPictureValidationError(form.get(), &TCatalogueForm::MaskError));
  intl->SetConnected(true);

  // While the form lives, the global calls its handler, which keeps the beep and exception back.
  EXPECT_NO_THROW(dcGlobalIntl->RaiseMaskValidationError(nullptr, nullptr));
  EXPECT_EQ(form->Calls, 1);
  EXPECT_EQ(FDialogs.BeepCount(), 0);

  // The form goes, and with it the catalogue; the copied handler reads as unassigned from then on.
  form.reset();
  EXPECT_FALSE(dcGlobalIntl->OnValidationErrorUsingMask().Assigned());
  try {
    dcGlobalIntl->RaiseMaskValidationError(nullptr, nullptr);
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), kMaskMessage);
  }
  EXPECT_EQ(FDialogs.BeepCount(), 1);
}

TEST_F(DcintlTest, DestroyingACatalogueEmptiesTheGlobalReferenceOnlyForTheGlobalInstance) {
  {
    TCatalogueForm form(nullptr);
    TdcIntl* intl = NewCatalogue(&form);
    intl->SetBtnOKCaption("Kept");
    intl->SetConnected(true);
  }
  ASSERT_NE(dcGlobalIntl, nullptr);
  EXPECT_EQ(dcGlobalIntl->BtnOKCaption(), "Kept");

  // The owner frees the application-wide instance first: the reference empties and the exit step that
  // follows (in TearDown) has nothing left to free.
  EXPECT_EQ(dcGlobalIntl->Owner(), Application);
  int owned = Application->ComponentCount();
  FApplication.reset();
  EXPECT_EQ(dcGlobalIntl, nullptr);
  EXPECT_EQ(owned, 1);
  DcintlFinalization();
  EXPECT_EQ(dcGlobalIntl, nullptr);
}

TEST_F(DcintlTest, TheExitStepFreesTheGlobalAndTheOwnerForgetsIt) {
  EXPECT_EQ(Application->ComponentCount(), 1);
  DcintlFinalization();
  EXPECT_EQ(dcGlobalIntl, nullptr);
  EXPECT_EQ(Application->ComponentCount(), 0);
}

TEST_F(DcintlTest, WithoutAGlobalInstanceConnectingCopiesNothingAndDoesNoHarm) {
  DcintlFinalization();
  TdcIntl intl(nullptr);
  intl.SetConnected(true);
  intl.SetCheckBoxInGridStyle(cbStyleXmark);
  intl.ApplyToGlobal();
  EXPECT_EQ(dcGlobalIntl, nullptr);
  EXPECT_EQ(intl.CheckBoxInGridStyle(), cbStyleXmark);
}

// A form resource holding a connected catalogue, as a form of the controls would store it.
static const char kConnectedResource[] =
    "object fmCatalogue: TCatalogueForm\n"
    "  object dcIntl1: TdcIntl\n"
    "    Navigator.Hints.PriorPageHint = 'Page back %d'\n"
    "    RichEdit.TabDialog.HelpContext = 7\n"
    "    UserMessages.PictureValidateError = 'Bad field: '\n"
    "    OKCancelBitmapped = False\n"
    "    BtnOKCaption = 'Go'\n"
    "    CheckBoxInGridStyle = cbStyleXmark\n"
    "    GridPaintStyle = gpsBitmapCanvas\n"
    "    VersionInfo = '9.9'\n"
    "    IniFileName = 'site'\n"
    "    DialogFontStyle = [fsBold, fsItalic]\n"
    "    OnValidationErrorUsingMask = MaskError\n"
    "    Connected = True\n"
    "  end\n"
    "end\n";

TEST_F(DcintlTest, AConnectedCatalogueReadFromAFormResourceCopiesItsValuesIntoTheGlobal) {
  TCatalogueForm form(nullptr);
  ReadComponentResource(&form, kConnectedResource);
  auto* intl = dynamic_cast<TdcIntl*>(form.FindComponent("dcIntl1"));
  ASSERT_NE(intl, nullptr);
  EXPECT_TRUE(intl->Connected());
  EXPECT_EQ(intl->VersionInfo(), "3000.05.01");  // the stored version is kept out
  EXPECT_EQ(intl->IniFileName(), "site");

  TdcIntl* global = dcGlobalIntl;
  EXPECT_EQ(global->Navigator()->Hints()->PriorPageHint, "Page back %d");
  EXPECT_EQ(global->Navigator()->Hints()->NextPageHint, "Move forward %d records");
  EXPECT_EQ(global->RichEdit()->TabDialog()->HelpContext, 7);
  EXPECT_EQ(global->UserMessages()->PictureValidateError, "Bad field: ");
  EXPECT_FALSE(global->OKCancelBitmapped());
  EXPECT_EQ(global->BtnOKCaption(), "Go");
  EXPECT_EQ(global->BtnCancelCaption(), "Cancel");
  EXPECT_EQ(global->CheckBoxInGridStyle(), cbStyleXmark);
  EXPECT_EQ(global->GridPaintStyle(), gpsBitmapCanvas);
  EXPECT_EQ(global->IniFileName(), "site.ini");
  EXPECT_EQ(global->DialogFontStyle(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(global->VersionInfo(), "3000.05.01");
  EXPECT_FALSE(global->Connected());

  // The handler was bound to the form and copied with the rest.
  form.KeepDefault = false;
  EXPECT_NO_THROW(global->RaiseMaskValidationError(nullptr, nullptr));
  EXPECT_EQ(form.Calls, 1);
}

TEST_F(DcintlTest, ReadingCopiesAgainOnceEverythingIsRead) {
  // Stored with Connected first, so the copy made as it is read sees none of the values after it;
  // the copy that Loaded makes brings them over.
  TCatalogueForm form(nullptr);
  ReadComponentResource(&form,
                        "object fmCatalogue: TCatalogueForm\n"
                        "  object dcIntl1: TdcIntl\n"
                        "    Connected = True\n"
                        "    BtnCancelCaption = 'Stop'\n"
                        "    LocateDialog.BtnClose = 'Done'\n"
                        "  end\n"
                        "end\n");
  EXPECT_EQ(dcGlobalIntl->BtnCancelCaption(), "Stop");
  EXPECT_EQ(dcGlobalIntl->LocateDialog()->BtnClose, "Done");
}

TEST_F(DcintlTest, ACatalogueThatIsNotConnectedIsReadWithoutTouchingTheGlobal) {
  TCatalogueForm form(nullptr);
  ReadComponentResource(&form,
                        "object fmCatalogue: TCatalogueForm\n"
                        "  object dcIntl1: TdcIntl\n"
                        "    BtnCancelCaption = 'Stop'\n"
                        "    CheckBoxInGridStyle = cbStyleXmark\n"
                        "    GridPaintStyle = gpsBitmapCanvas\n"
                        "    IniFileName = 'abc'\n"
                        "  end\n"
                        "end\n");
  EXPECT_EQ(dcGlobalIntl->BtnCancelCaption(), "Cancel");
  EXPECT_EQ(dcGlobalIntl->CheckBoxInGridStyle(), cbStyleAuto);
  EXPECT_EQ(dcGlobalIntl->GridPaintStyle(), gpsDynamicDeviceContext);
  EXPECT_EQ(dcGlobalIntl->IniFileName(), "");
}

TEST_F(DcintlTest, AStoredCatalogueLeavesOutDeclaredDefaultsAndReadsBackTheSame) {
  TCatalogueForm form(nullptr);
  form.SetName("fmCatalogue");
  TdcIntl* intl = NewCatalogue(&form);
  intl->SetName("dcIntl1");
  intl->FilterDialog()->SummaryCaption = "Summary";
  intl->UserMessages()->MemoChangesWarning = "It's  changed ";
  intl->SetOnValidationErrorUsingMask(
      TdcPictureValidationError(&form, &TCatalogueForm::MaskError, "MaskError"));

  std::string text = WriteComponentResource(&form);
  // Declared defaults are left out; properties that declare none are always written.
  EXPECT_EQ(text.find("GridPaintStyle"), std::string::npos);
  EXPECT_EQ(text.find("UseLocateMethodForSearch"), std::string::npos);
  EXPECT_EQ(text.find("DefaultEpochYear"), std::string::npos);
  EXPECT_EQ(text.find("HelpContext"), std::string::npos);
  EXPECT_EQ(text.find("UseLocateWhenFindingValue"), std::string::npos);
  EXPECT_NE(text.find("OKCancelBitmapped = True"), std::string::npos);
  EXPECT_NE(text.find("CheckBoxInGridStyle = cbStyleAuto"), std::string::npos);
  EXPECT_NE(text.find("FilterMemoSize = 65536"), std::string::npos);
  EXPECT_NE(text.find("DialogFontStyle = []"), std::string::npos);
  EXPECT_NE(text.find("Connected = False"), std::string::npos);
  EXPECT_NE(text.find("OnValidationErrorUsingMask = MaskError"), std::string::npos);
  EXPECT_NE(text.find("Navigator.Hints.PriorPageHint = 'Move backward %d records'"), std::string::npos);
  // Connected is written last, so that reading it copies a complete catalogue.
  EXPECT_LT(text.find("OnValidationErrorUsingMask"), text.find("Connected"));

  TCatalogueForm copy(nullptr);
  ReadComponentResource(&copy, text.c_str());
  auto* read = dynamic_cast<TdcIntl*>(copy.FindComponent("dcIntl1"));
  ASSERT_NE(read, nullptr);
  ExpectSameHolderTexts(*intl, *read);
  EXPECT_EQ(read->FilterDialog()->SummaryCaption, "Summary");
  EXPECT_EQ(read->UserMessages()->MemoChangesWarning, "It's  changed ");
  EXPECT_TRUE(read->OnValidationErrorUsingMask().Assigned());
  EXPECT_EQ(read->OnValidationErrorUsingMask().Object(), &copy);
}
