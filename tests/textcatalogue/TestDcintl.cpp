#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

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

// Every default text of a new catalogue, in the order in which streaming lists the properties; texts that
// stay empty and values equal to their declared default are not written.
static const char kNewCatalogueResource[] = R"lines(object fmCatalogue: TCatalogueForm
  object dcIntl1: TdcIntl
    Navigator.ConfirmDeleteMessage = 'Delete record?'
    Navigator.Hints.FirstHint = 'Move to first record'
    Navigator.Hints.PriorHint = 'Move to prior record'
    Navigator.Hints.NextHint = 'Move to next record'
    Navigator.Hints.LastHint = 'Move to last record'
    Navigator.Hints.InsertHint = 'Insert new record'
    Navigator.Hints.DeleteHint = 'Delete current record'
    Navigator.Hints.EditHint = 'Edit current record'
    Navigator.Hints.PostHint = 'Post changes of current record'
    Navigator.Hints.CancelHint = 'Cancel changes made to current record'
    Navigator.Hints.RefreshHint = 'Refresh the contents of the dataset'
    Navigator.Hints.PriorPageHint = 'Move backward %d records'
    Navigator.Hints.NextPageHint = 'Move forward %d records'
    Navigator.Hints.SaveBookmarkHint = 'Bookmark current record'
    Navigator.Hints.RestoreBookmarkHint = 'Go back to saved bookmark'
    Navigator.Hints.RecordViewDialogHint = 'View current record'
    Navigator.Hints.LocateDialogHint = 'Locate a specific record'
    Navigator.Hints.FilterDialogHint = 'Filter the dataset'
    Navigator.Hints.SearchDialogHint = 'Search the dataset'
    SearchDialog.SearchCharLabel = '&Search Characters'
    SearchDialog.SearchCharShortLabel = '&Search Char'
    SearchDialog.SearchByLabel = 'Search &By'
    SearchDialog.StatusRecLabel = 'Rec #'
    SearchDialog.StatusOfLabel = 'of'
    SearchDialog.SearchCharHint = 'Enter characters for incremental search'
    SearchDialog.SearchByHint = 'Incremental searching and sorting order'
    LocateDialog.FieldValueLabel = 'Field &Value'
    LocateDialog.SearchTypeLabel = '&Search Type'
    LocateDialog.CaseSensitiveLabel = '&Case-sensitive'
    LocateDialog.MatchExactLabel = '&Exact Match'
    LocateDialog.MatchStartLabel = '&Partial Match at Beginning'
    LocateDialog.MatchAnyLabel = 'Partial Match &Anywhere'
    LocateDialog.FieldsLabel = '&Fields'
    LocateDialog.BtnFirst = 'Fi&rst'
    LocateDialog.BtnNext = '&Next'
    LocateDialog.BtnCancel = 'Cancel'
    LocateDialog.BtnClose = 'Close'
    LocateDialog.FieldValueHint = 'Enter field''s search value'
    LocateDialog.CaseSensitiveHint = 'Searching is case-sensitive'
    LocateDialog.MatchExactHint = 'Match occurs only if there is an exact match'
    LocateDialog.MatchStartHint = 'Match occurs if the start of the field''s value matches'
    LocateDialog.MatchAnyHint = 'Match occurs if any part of the field matches'
    LocateDialog.BtnFirstHint = 'Find first match'
    LocateDialog.BtnNextHint = 'Find next match from current record'
    LocateDialog.FieldNameHint = 'Select the field to search on'
    MonthCalendar.PopupYearLabel = 'Edit Year'
    MonthCalendar.EnterYearPrompt = 'Enter Valid Year'
    FilterDialog.BtnViewSummary = 'View Su&mmary'
    FilterDialog.BtnViewSummaryHint = 'View summary of current search criteria'
    FilterDialog.BtnNewSearch = '&New Search'
    FilterDialog.BtnNewSearchHint = 'Start a new search'
    FilterDialog.FieldOrderLabel = 'Field Order'
    FilterDialog.FieldOrderHint = 'Sort field list alphabetically or in their natural logical order'
    FilterDialog.AlphabeticLabel = 'Alpha&betic'
    FilterDialog.LogicalLabel = '&Logical'
    FilterDialog.AllFieldsLabel = '&All'
    FilterDialog.SearchedFieldsLabel = '&Searched'
    FilterDialog.StartingRangeLabel = '&Starting Range'
    FilterDialog.EndingRangeLabel = 'En&ding Range'
    FilterDialog.StartingRangeHint = 'Enter starting range for field'
    FilterDialog.EndingRangeHint = 'Enter ending range for field'
    FilterDialog.BtnClearMin = '&Clear'
    FilterDialog.BtnClearMax = 'Cl&ear'
    FilterDialog.BtnClearFilterValue = '&Clear'
    FilterDialog.BtnClearMinHint = 'Clear starting range for field'
    FilterDialog.BtnClearMaxHint = 'Clear ending range for field'
    FilterDialog.BtnClearFilterValueHint = 'Clear the current field''s search value'
    FilterDialog.ByValueLabel = 'By &Value'
    FilterDialog.ByRangeLabel = 'By &Range'
    FilterDialog.FieldValueLabel = 'Field &Value'
    FilterDialog.FieldValueHint = 'Enter field''s search value'
    FilterDialog.SearchTypeLabel = 'Search Type'
    FilterDialog.SearchTypeHint = 'Specify how the Field Value should be compared'
    FilterDialog.MatchExactLabel = '&Exact Match'
    FilterDialog.MatchStartLabel = '&Partial Match at Beginning'
    FilterDialog.MatchAnyLabel = 'Partial Match Any&where'
    FilterDialog.CaseSensitiveLabel = 'Case Sensi&tive'
    FilterDialog.CaseSensitiveHint = 'Searching is case-sensitive'
    FilterDialog.NonMatchingLabel = 'N&on-matching records'
    FilterDialog.NonMatchingHint = 'Show records that do not match the field value criteria'
    FilterDialog.SummaryFieldLabel = 'Field'
    FilterDialog.SummarySearchLabel = 'Search Type'
    FilterDialog.SummaryValueLabel = 'Value'
    FilterDialog.FieldsLabel = '&Fields'
    FilterDialog.ValueRangeTabHint = 'Search fields by value or by range'
    FilterDialog.AllSearchedTabHint = 'Show all fields or only currently searched fields'
    FilterDialog.ViewSummaryNotText = 'NOT'
    RichEdit.FontNameComboHint = 'Font | Changes the font of the selection'
    RichEdit.FontSizeComboHint = 'Font Size | Changes the font size of the selection'
    RichEdit.NewButtonHint = 'New | Creates a new document'
    RichEdit.LoadButtonHint = 'Load | Load from file'
    RichEdit.SaveAsButtonHint = 'Save As | Save to file'
    RichEdit.PrintButtonHint = 'Print | Prints the active document'
    RichEdit.FindButtonHint = 'Find | Finds the specified text'
    RichEdit.CutButtonHint = 'Cut | Cuts the selection and puts it on the Clipboard'
    RichEdit.CopyButtonHint = 'Copy | Copies the selection and puts it on the Clipboard'
    RichEdit.UndoButtonHint = 'Undo | Reverses the last action'
    RichEdit.RedoButtonHint = 'Redo | Reverses the last undo action'
    RichEdit.PasteButtonHint = 'Paste | Inserts Clipboard contents'
    RichEdit.BoldButtonHint = 'Bold | Makes the selection bold (toggle)'
    RichEdit.ColorButtonHint = 'Color | Formats the selection with a color'
    RichEdit.UnderlineButtonHint = 'Underline | Formats the selection with a continuous underline (toggle)'
    RichEdit.ItalicButtonHint = 'Italic | Makes the selection italic (toggle)'
    RichEdit.LeftButtonHint = 'Align Left | Left-justifies paragraph (toggle)'
    RichEdit.CenterButtonHint = 'Center | Center-justifies paragraph (toggle)'
    RichEdit.RightButtonHint = 'Align Right | Right-justifies paragraph (toggle)'
    RichEdit.JustifyButtonHint = 'Justify | Full Justification for paragraph (toggle)'
    RichEdit.BulletButtonHint = 'Bullets | Inserts a bullet on this line (toggle)'
    RichEdit.HighlightButtonHint = 'Highlight Text | Makes the selection highlighted'
    RichEdit.SaveExitHint = 'Save And Exit | Saves changes and exits editor'
    RichEdit.PageSetupHint = 'Page Setup | Changes page layout settings'
    RichEdit.ExitHint = 'Exit'
    RichEdit.ClearHint = 'Erases the Selection'
    RichEdit.SelectAllHint = 'Selects all of the text'
    RichEdit.FindNextHint = 'Repeats the last find'
    RichEdit.ReplaceHint = 'Replaces specific text with different text'
    RichEdit.InsertObjectHint = 'Inserts new embedded object'
    RichEdit.SpellCheckHint = 'Check spelling'
    RichEdit.ToolbarHint = 'Shows or hides the toolbar'
    RichEdit.FormatBarHint = 'Shows or hides the format bar'
    RichEdit.ViewStatusBarHint = 'Shows or hides the status bar'
    RichEdit.OptionsHint = 'Sets options'
    RichEdit.FontHint = 'Selects font for current selection'
    RichEdit.ParagraphHint = 'Formats current or selected paragraph(s)'
    RichEdit.TabsHint = 'Sets tabs'
    RichEdit.CAPLockCaption = 'CAP'
    RichEdit.NUMLockCaption = 'NUM'
    RichEdit.MenuLabels.FileCaption = '&File'
    RichEdit.MenuLabels.LoadCaption = '&Load'
    RichEdit.MenuLabels.SaveAsCaption = 'Save &As'
    RichEdit.MenuLabels.SaveExitCaption = '&Save and Exit'
    RichEdit.MenuLabels.PrintCaption = '&Print'
    RichEdit.MenuLabels.PageSetupCaption = 'Page Set&up'
    RichEdit.MenuLabels.ExitCaption = 'E&xit'
    RichEdit.MenuLabels.EditCaption = '&Edit'
    RichEdit.MenuLabels.UndoCaption = '&Undo'
    RichEdit.MenuLabels.CutCaption = 'Cu&t'
    RichEdit.MenuLabels.CopyCaption = '&Copy'
    RichEdit.MenuLabels.PasteCaption = '&Paste'
    RichEdit.MenuLabels.ClearCaption = 'Cle&ar'
    RichEdit.MenuLabels.SelectallCaption = 'Select A&ll'
    RichEdit.MenuLabels.FindCaption = '&Find'
    RichEdit.MenuLabels.FindNextCaption = 'Find &Next'
    RichEdit.MenuLabels.ReplaceCaption = 'R&eplace'
    RichEdit.MenuLabels.InsertObjectCaption = '&Object...'
    RichEdit.MenuLabels.ToolCaption = '&Tools'
    RichEdit.MenuLabels.SpellCheckCaption = 'Check &Spelling'
    RichEdit.MenuLabels.InsertCaption = '&Insert'
    RichEdit.MenuLabels.RulerCaption = '&Ruler'
    RichEdit.MenuLabels.ViewCaption = '&View'
    RichEdit.MenuLabels.ToolbarCaption = '&Toolbar'
    RichEdit.MenuLabels.FormatBarCaption = '&Format Bar'
    RichEdit.MenuLabels.ViewStatusBarCaption = '&Status Bar'
    RichEdit.MenuLabels.OptionsCaption = '&Options'
    RichEdit.MenuLabels.FormatCaption = 'F&ormat'
    RichEdit.MenuLabels.FontCaption = '&Font'
    RichEdit.MenuLabels.BulletStyleCaption = '&Bullet Style'
    RichEdit.MenuLabels.ParagraphCaption = '&Paragraph'
    RichEdit.MenuLabels.TabsCaption = '&Tabs'
    RichEdit.MenuLabels.HelpCaption = 'Help'
    RichEdit.PopupMenuLabels.EditCaption = '&Edit'
    RichEdit.PopupMenuLabels.ViewCaption = '&View'
    RichEdit.PopupMenuLabels.CutCaption = 'Cu&t'
    RichEdit.PopupMenuLabels.CopyCaption = '&Copy'
    RichEdit.PopupMenuLabels.PasteCaption = '&Paste'
    RichEdit.PopupMenuLabels.FontCaption = '&Font'
    RichEdit.PopupMenuLabels.BulletStyleCaption = '&Bullet Style'
    RichEdit.PopupMenuLabels.BoldCaption = 'B&old'
    RichEdit.PopupMenuLabels.ItalicCaption = '&Italic'
    RichEdit.PopupMenuLabels.UnderlineCaption = '&Underline'
    RichEdit.PopupMenuLabels.ParagraphCaption = 'P&aragraph'
    RichEdit.PopupMenuLabels.TabsCaption = '&Tabs'
    RichEdit.PopupMenuLabels.FindCaption = 'Fin&d'
    RichEdit.PopupMenuLabels.ReplaceCaption = '&Replace'
    RichEdit.PopupMenuLabels.InsertObjectCaption = 'Insert &Object...'
    RichEdit.PopupMenuLabels.ObjectPropertiesCaption = 'Object P&roperties'
    RichEdit.PopupMenuLabels.SpellCheckCaption = 'Check &Spelling'
    RichEdit.ParagraphDialog.ParagraphDlgCaption = 'Paragraph'
    RichEdit.ParagraphDialog.IndentationGroupBoxCaption = 'Indentation'
    RichEdit.ParagraphDialog.LeftEditHint = 'Left Indentation'
    RichEdit.ParagraphDialog.RightEditHint = 'Right Indentation'
    RichEdit.ParagraphDialog.FirstLineEditHint = 'First Line of Paragraph Indentation'
    RichEdit.ParagraphDialog.AlignmentHint = 'Changes Alignment of Paragraph'
    RichEdit.ParagraphDialog.LeftEditCaption = 'Left:'
    RichEdit.ParagraphDialog.RightEditCaption = 'Right:'
    RichEdit.ParagraphDialog.FirstLineEditCaption = 'First line:'
    RichEdit.ParagraphDialog.SpacingGroupCaption = 'Spacing'
    RichEdit.ParagraphDialog.BeforeParagraphCaption = '&Before'
    RichEdit.ParagraphDialog.AfterParagraphCaption = 'Aft&er'
    RichEdit.ParagraphDialog.WithinParagraphCaption = 'Li&ne Spacing'
    RichEdit.ParagraphDialog.WithinParagraphAtCaption = '&At'
    RichEdit.ParagraphDialog.AlignmentCaption = 'Alignment'
    RichEdit.ParagraphDialog.AlignLeft = 'Left'
    RichEdit.ParagraphDialog.AlignRight = 'Right'
    RichEdit.ParagraphDialog.AlignCenter = 'Center'
    RichEdit.ParagraphDialog.AlignJustify = 'Justify'
    RichEdit.TabDialog.TabDlgCaption = 'Tab'
    RichEdit.TabDialog.TabGroupBoxCaption = '&Tab Stop Position'
    RichEdit.TabDialog.SetTabButtonCaption = 'Set'
    RichEdit.TabDialog.ClearTabButtonCaption = 'Clear'
    RichEdit.TabDialog.ClearAllButtonCaption = 'Clear All'
    RichEdit.TabDialog.TabPositionEditHint = 'Tab Position Edit Box'
    RichEdit.TabDialog.ListBoxHint = 'List of tabs and their positions'
    RichEdit.TabDialog.SetButtonHint = 'Set a new tab position'
    RichEdit.TabDialog.ClearButtonHint = 'Clear the selected tab position'
    RichEdit.TabDialog.ClearAllButtonHint = 'Clear all the tabs'
    UserMessages.dcDBGridDiscardChanges = 'Discard changes to this record?'
    UserMessages.PictureValidateError = 'Invalid characters. Field : '
    UserMessages.LocateNoMatches = 'No matches found'
    UserMessages.LocateNoMoreMatches = 'No more matches found'
    UserMessages.MemoChangesWarning = 'Changes have been made!  Are you sure you wish to cancel?'
    UserMessages.RichEditExitWarning = 'Changes have been made!  Do you wish to save your changes?'
    UserMessages.RichEditClearWarning = 'Clear entire text?'
    UserMessages.RichEditSpellCheckComplete = 'The spell check is complete.'
    UserMessages.RichEditMSWordNotFound = 'Unable to start Microsoft Word''s Spell Checker.'
    UserMessages.FilterDlgNoCriteria = 'You have not selected any search criteria'
    UserMessages.RecordViewExitWarning = 'Changes have been made!  Do you wish to save your changes?'
    OKCancelBitmapped = True
    BtnOKCaption = '&OK'
    BtnCancelCaption = 'Cancel'
    CheckBoxInGridStyle = cbStyleAuto
    VersionInfo = '3000.05.01'
    FilterMemoSize = 65536
    DialogFontStyle = []
    Connected = False
  end
end
)lines";

TEST_F(DcintlTest, ANewCatalogueIsStoredWithEveryDefaultTextInDeclaredOrder) {
  TCatalogueForm form(nullptr);
  form.SetName("fmCatalogue");
  NewCatalogue(&form)->SetName("dcIntl1");

  auto linesOf = [](const std::string& text, const std::string& lineBreak) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + lineBreak.size()) {
      end = text.find(lineBreak, start);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  };
  const std::vector<std::string> expected = linesOf(kNewCatalogueResource, "\n");
  const std::vector<std::string> written = linesOf(WriteComponentResource(&form), "\r\n");
  EXPECT_EQ(written.size(), expected.size());
  for (size_t i = 0; i < std::min(written.size(), expected.size()); ++i) {
    SCOPED_TRACE("line " + std::to_string(i + 1));
    EXPECT_EQ(written[i], expected[i]);
  }
}
