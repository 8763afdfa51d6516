#include "textcatalogue/Dcintl.h"

#include "platform/components/Application.h"
#include "platform/components/TypeInfo.h"
#include "platform/system/Dialogs.h"
#include "platform/system/Exceptions.h"

TdcIntl* dcGlobalIntl = nullptr;

// The platform's message for a value that fails an edit mask. The formatter is given one empty argument,
// but the text has no placeholder for it, so formatting leaves the text as it is.
static const char kMaskValidationMessage[] = "Invalid input value.  Use escape key to abandon changes";

const TEnumInfo& CheckBoxInGridStyleInfo() {
  static const TEnumInfo info{"TdcCheckBoxInGridStyle",
                              {"cbStyleAuto", "cbStyleCheckmark", "cbStyleXmark", "cbStyleCheckmarkFlat"}};
  return info;
}

const TEnumInfo& GridPaintStyleInfo() {
  static const TEnumInfo info{"TdcGridPaintStyle", {"gpsBitmapCanvas", "gpsDynamicDeviceContext"}};
  return info;
}

const TMetaClass& TdcIntl::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TdcIntl>("TdcIntl")
          .Object("ADO", &TdcIntl::ADO)
          .Object("Navigator", &TdcIntl::Navigator)
          .Object("SearchDialog", &TdcIntl::SearchDialog)
          .Object("LocateDialog", &TdcIntl::LocateDialog)
          .Object("MonthCalendar", &TdcIntl::MonthCalendar)
          .Object("FilterDialog", &TdcIntl::FilterDialog)
          .Object("RichEdit", &TdcIntl::RichEdit)
          .Object("UserMessages", &TdcIntl::UserMessages)
          .Boolean("OKCancelBitmapped", &TdcIntl::OKCancelBitmapped, &TdcIntl::SetOKCancelBitmapped)
          .String("BtnOKCaption", &TdcIntl::BtnOKCaption, &TdcIntl::SetBtnOKCaption)
          .String("BtnCancelCaption", &TdcIntl::BtnCancelCaption, &TdcIntl::SetBtnCancelCaption)
          .Enumeration("CheckBoxInGridStyle", CheckBoxInGridStyleInfo(), &TdcIntl::CheckBoxInGridStyle,
                       &TdcIntl::SetCheckBoxInGridStyle)
          .Enumeration("GridPaintStyle", GridPaintStyleInfo(), &TdcIntl::GridPaintStyle,
                       &TdcIntl::SetGridPaintStyle)
          .Default(gpsDynamicDeviceContext)
          .String("VersionInfo", &TdcIntl::VersionInfo, &TdcIntl::SetVersionInfo)
          .Integer("FilterMemoSize", &TdcIntl::FilterMemoSize, &TdcIntl::SetFilterMemoSize)
          .String("IniFileName", &TdcIntl::IniFileName, &TdcIntl::SetIniFileName)
          .Boolean("UseLocateMethodForSearch", &TdcIntl::UseLocateMethodForSearch,
                   &TdcIntl::SetUseLocateMethodForSearch)
          .Default(true)
          .Set("DialogFontStyle", FontStyleInfo(), &TdcIntl::DialogFontStyle, &TdcIntl::SetDialogFontStyle)
          .Integer("DefaultEpochYear", &TdcIntl::DefaultEpochYear, &TdcIntl::SetDefaultEpochYear)
          .Default(1950)
          .Event("OnValidationErrorUsingMask", &TdcIntl::FOnValidationErrorUsingMask)
          .Boolean("Connected", &TdcIntl::Connected, &TdcIntl::SetConnected);
  return cls;
}

TdcIntl::TdcIntl(TComponent* owner) : TComponent(owner) {
  FVersionInfo = kDcintlVersionInfo;
  FUnpublishedFlag = true;
  FUseLocateMethodForSearch = true;
  FDefaultEpochYear = 1950;
  FFilterMemoSize = 65536;

  // Holders are made and filled one by one; should one fail, those made so far go with the members.
  FFilterDialog = std::make_unique<TdcFilterDialogIntl>();
  FillHolderTexts(*FFilterDialog);

  // The editor's own hints, its two menus, its lock-key captions, then its two dialogs.
  constexpr std::size_t kRichEditHints = 38;
  FRichEdit = std::make_unique<TdcDBRichEditIntl>();
  FillHolderTexts(*FRichEdit, 0, kRichEditHints);
  auto menuLabels = std::make_unique<TdcRichEditMenuLabels>();
  FillHolderTexts(*menuLabels);
  auto popupMenuLabels = std::make_unique<TdcRichEditPopupMenuLabels>();
  FillHolderTexts(*popupMenuLabels);
  FRichEdit->AdoptSubHolders(std::move(menuLabels), std::move(popupMenuLabels));
  FillHolderTexts(*FRichEdit, kRichEditHints);
  auto paragraphDialog = std::make_unique<TdcRichEditParagraphDlg>();
  FillHolderTexts(*paragraphDialog);
  auto tabDialog = std::make_unique<TdcRichEditTabDlg>();
  FillHolderTexts(*tabDialog);
  FRichEdit->AdoptDialogHolders(std::move(paragraphDialog), std::move(tabDialog));

  FNavigator = std::make_unique<TdcDBNavigatorIntl>();

  FADO = std::make_unique<TdcADOIntl>();
  FADO->UseLocateWhenFindingValue = true;

  FMonthCalendar = std::make_unique<TdcMonthCalendarIntl>();
  FillHolderTexts(*FMonthCalendar);
  FSearchDialog = std::make_unique<TdcSearchDialogIntl>();
  FillHolderTexts(*FSearchDialog);
  FLocateDialog = std::make_unique<TdcLocateDialogIntl>();
  FillHolderTexts(*FLocateDialog);
  FUserMessages = std::make_unique<TdcUserMessagesIntl>();
  FillHolderTexts(*FUserMessages);

  // Stored directly: a catalogue being built hands nothing on to the application-wide one.
  FOKCancelBitmapped = true;
  FBtnOKCaption = "&OK";
  FBtnCancelCaption = "Cancel";
  FIniFileName.clear();
  FCheckBoxInGridStyle = cbStyleAuto;
  FGridPaintStyle = gpsDynamicDeviceContext;
  FDialogFontStyle = TFontStyles();
}

TdcIntl::~TdcIntl() {
  FSearchDialog.reset();
  FLocateDialog.reset();
  FFilterDialog.reset();
  FMonthCalendar.reset();
  FUserMessages.reset();
  FNavigator.reset();
  FRichEdit.reset();
  FADO.reset();
  // Emptied before the inherited destruction rather than after it, so that nothing reached while the
  // component leaves its owner can find a half-destroyed application-wide instance.
  if (dcGlobalIntl == this) dcGlobalIntl = nullptr;
}

bool TdcIntl::IsGlobalInstance() const { return dcGlobalIntl == this; }

void TdcIntl::Loaded() {
  TComponent::Loaded();
  if (FConnected) ApplyToGlobal();
}

void TdcIntl::ApplyToGlobal() {
  TdcIntl* global = dcGlobalIntl;
  if (global == nullptr || global == this) return;

  CopyHolderTexts(*FFilterDialog, *global->FFilterDialog);
  CopyHolderTexts(*FRichEdit, *global->FRichEdit);
  CopyHolderTexts(*FRichEdit->MenuLabels(), *global->FRichEdit->MenuLabels());
  CopyHolderTexts(*FRichEdit->PopupMenuLabels(), *global->FRichEdit->PopupMenuLabels());
  CopyHolderTexts(*FRichEdit->ParagraphDialog(), *global->FRichEdit->ParagraphDialog());
  global->FRichEdit->ParagraphDialog()->HelpContext = FRichEdit->ParagraphDialog()->HelpContext;
  CopyHolderTexts(*FRichEdit->TabDialog(), *global->FRichEdit->TabDialog());
  global->FRichEdit->TabDialog()->HelpContext = FRichEdit->TabDialog()->HelpContext;
  CopyHolderTexts(*FSearchDialog, *global->FSearchDialog);
  CopyHolderTexts(*FMonthCalendar, *global->FMonthCalendar);
  CopyHolderTexts(*FLocateDialog, *global->FLocateDialog);
  global->FADO->UseLocateWhenFindingValue = FADO->UseLocateWhenFindingValue;
  CopyHolderTexts(*FNavigator, *global->FNavigator);
  CopyHolderTexts(*FNavigator->Hints(), *global->FNavigator->Hints());

  global->FOKCancelBitmapped = FOKCancelBitmapped;
  CopyHolderTexts(*FUserMessages, *global->FUserMessages);
  global->FBtnOKCaption = FBtnOKCaption;
  global->FBtnCancelCaption = FBtnCancelCaption;

  // The name gets the extension whatever it ends in; only the bare extension counts as no name.
  if (FIniFileName.empty() || FIniFileName == ".ini")
    global->FIniFileName.clear();
  else
    global->FIniFileName = FIniFileName + ".ini";

  global->SetCheckBoxInGridStyle(FCheckBoxInGridStyle);
  global->SetGridPaintStyle(FGridPaintStyle);

  global->FOnValidationErrorUsingMask = FOnValidationErrorUsingMask;
  global->FDialogFontStyle = FDialogFontStyle;
  global->FUseLocateMethodForSearch = FUseLocateMethodForSearch;
  global->FUnpublishedFlag = FUnpublishedFlag;
  global->FDefaultEpochYear = FDefaultEpochYear;
  global->FFilterMemoSize = FFilterMemoSize;
}

void TdcIntl::SetConnected(bool value) {
  FConnected = value;
  if (value) ApplyToGlobal();
}

void TdcIntl::SetCheckBoxInGridStyle(TdcCheckBoxInGridStyle value) {
  FCheckBoxInGridStyle = value;
  if (FConnected && !IsGlobalInstance() && dcGlobalIntl != nullptr)
    dcGlobalIntl->SetCheckBoxInGridStyle(value);
}

void TdcIntl::SetGridPaintStyle(TdcGridPaintStyle value) {
  FGridPaintStyle = value;
  if (FConnected && !IsGlobalInstance() && dcGlobalIntl != nullptr) dcGlobalIntl->SetGridPaintStyle(value);
}

void TdcIntl::SetVersionInfo(const std::string& /*value*/) { FVersionInfo = kDcintlVersionInfo; }

void TdcIntl::RaiseMaskValidationError(TObject* sender, TField* field) {
  std::string msg = kMaskValidationMessage;
  bool doDefault = true;
  // An event whose handler's object is gone reads as unassigned, so a handler copied in from a catalogue
  // of a form that has since been freed is never called.
  if (FOnValidationErrorUsingMask.Assigned()) FOnValidationErrorUsingMask(sender, field, msg, doDefault);
  if (doDefault) {
    MessageBeep(0);
    throw EInvalidOperation(msg);
  }
}

void CreateGlobalIntl() { dcGlobalIntl = NewComponent<TdcIntl>(Application); }

void RegisterDcintlClasses() { RegisterClass(TdcIntl::StaticClass()); }

void DcintlInitialization() {
  RegisterDcintlClasses();
  CreateGlobalIntl();
}

void DcintlFinalization() {
  // The destructor empties dcGlobalIntl; when the owner got there first it is empty already.
  delete dcGlobalIntl;
}
