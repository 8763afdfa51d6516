// The data-aware controls' text catalogue: TdcIntl, its application-wide instance and the unit's start-up.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/components/Component.h"
#include "platform/components/Events.h"
#include "platform/components/FontStyles.h"
#include "textcatalogue/DcintlHolders.h"

class TField;

enum TdcCheckBoxInGridStyle : uint8_t { cbStyleAuto, cbStyleCheckmark, cbStyleXmark, cbStyleCheckmarkFlat };
enum TdcGridPaintStyle : uint8_t { gpsBitmapCanvas, gpsDynamicDeviceContext };

const TEnumInfo& CheckBoxInGridStyleInfo();
const TEnumInfo& GridPaintStyleInfo();

// Raised by a value that fails an edit mask; the handler may change the message and may clear DoDefault
// to keep the beep and the exception back.
using TdcPictureValidationError =
    TEvent<void(TObject* Sender, TField* Field, std::string& Msg, bool& DoDefault)>;

// The version text every catalogue reports, whatever a stored form says.
inline constexpr const char* kDcintlVersionInfo = "3000.05.01";

// Holds the controls' texts and option defaults. A catalogue other than the application-wide one
// changes the application-wide texts by being connected: each time Connected is written True (and when
// a connected one has been read from a form resource) its values are copied over.
class TdcIntl : public TComponent {
  Q_CLASS(TdcIntl, TComponent)

  explicit TdcIntl(TComponent* owner);
  ~TdcIntl() override;

  void Loaded() override;

  // Copies this catalogue's texts and options into dcGlobalIntl, which keeps its own holders, its own
  // Connected and its own VersionInfo. Nothing happens on the application-wide instance itself, nor
  // when there is no application-wide instance to copy into.
  void ApplyToGlobal();

  // Reports a value that fails an edit mask: the event may change the message or clear DoDefault;
  // unless it did, beeps and raises EInvalidOperation with the message.
  virtual void RaiseMaskValidationError(TObject* sender, TField* field);

  // The holders: made with the catalogue, filled in place by form resources, never replaced.
  TdcADOIntl* ADO() const { return FADO.get(); }
  TdcDBNavigatorIntl* Navigator() const { return FNavigator.get(); }
  TdcSearchDialogIntl* SearchDialog() const { return FSearchDialog.get(); }
  TdcLocateDialogIntl* LocateDialog() const { return FLocateDialog.get(); }
  TdcMonthCalendarIntl* MonthCalendar() const { return FMonthCalendar.get(); }
  TdcFilterDialogIntl* FilterDialog() const { return FFilterDialog.get(); }
  TdcDBRichEditIntl* RichEdit() const { return FRichEdit.get(); }
  TdcUserMessagesIntl* UserMessages() const { return FUserMessages.get(); }

  bool OKCancelBitmapped() const { return FOKCancelBitmapped; }
  void SetOKCancelBitmapped(bool value) { FOKCancelBitmapped = value; }
  const std::string& BtnOKCaption() const { return FBtnOKCaption; }
  void SetBtnOKCaption(const std::string& value) { FBtnOKCaption = value; }
  const std::string& BtnCancelCaption() const { return FBtnCancelCaption; }
  void SetBtnCancelCaption(const std::string& value) { FBtnCancelCaption = value; }

  // Stored, and handed on to the application-wide instance at once while this one is connected.
  TdcCheckBoxInGridStyle CheckBoxInGridStyle() const { return FCheckBoxInGridStyle; }
  void SetCheckBoxInGridStyle(TdcCheckBoxInGridStyle value);
  TdcGridPaintStyle GridPaintStyle() const { return FGridPaintStyle; }
  void SetGridPaintStyle(TdcGridPaintStyle value);

  // Always the catalogue's own version: a written value is ignored.
  const std::string& VersionInfo() const { return FVersionInfo; }
  void SetVersionInfo(const std::string& value);

  int32_t FilterMemoSize() const { return FFilterMemoSize; }
  void SetFilterMemoSize(int32_t value) { FFilterMemoSize = value; }
  const std::string& IniFileName() const { return FIniFileName; }
  void SetIniFileName(const std::string& value) { FIniFileName = value; }
  bool UseLocateMethodForSearch() const { return FUseLocateMethodForSearch; }
  void SetUseLocateMethodForSearch(bool value) { FUseLocateMethodForSearch = value; }
  TFontStyles DialogFontStyle() const { return FDialogFontStyle; }
  void SetDialogFontStyle(TFontStyles value) { FDialogFontStyle = value; }
  int32_t DefaultEpochYear() const { return FDefaultEpochYear; }
  void SetDefaultEpochYear(int32_t value) { FDefaultEpochYear = value; }

  // The event keeps only a weak view of its handler's object: once that object is gone the event reads
  // as unassigned, also in the application-wide instance it was copied into.
  const TdcPictureValidationError& OnValidationErrorUsingMask() const { return FOnValidationErrorUsingMask; }
  void SetOnValidationErrorUsingMask(const TdcPictureValidationError& value) {
    FOnValidationErrorUsingMask = value;
  }

  // Writing True copies into the application-wide instance, every time; False copies nothing.
  bool Connected() const { return FConnected; }
  void SetConnected(bool value);

  // Not published; copied with the rest.
  bool UnpublishedFlag() const { return FUnpublishedFlag; }
  void SetUnpublishedFlag(bool value) { FUnpublishedFlag = value; }

 private:
  bool IsGlobalInstance() const;

  std::unique_ptr<TdcADOIntl> FADO;
  std::unique_ptr<TdcDBNavigatorIntl> FNavigator;
  std::unique_ptr<TdcSearchDialogIntl> FSearchDialog;
  std::unique_ptr<TdcLocateDialogIntl> FLocateDialog;
  std::unique_ptr<TdcMonthCalendarIntl> FMonthCalendar;
  bool FOKCancelBitmapped = false;
  TFontStyles FDialogFontStyle;
  std::string FBtnOKCaption;
  std::string FBtnCancelCaption;
  bool FConnected = false;
  std::unique_ptr<TdcUserMessagesIntl> FUserMessages;
  std::unique_ptr<TdcFilterDialogIntl> FFilterDialog;
  std::unique_ptr<TdcDBRichEditIntl> FRichEdit;
  std::string FVersionInfo;
  std::string FIniFileName;
  bool FUnpublishedFlag = false;
  TdcCheckBoxInGridStyle FCheckBoxInGridStyle = cbStyleAuto;
  TdcGridPaintStyle FGridPaintStyle = gpsBitmapCanvas;
  bool FUseLocateMethodForSearch = false;
  int32_t FDefaultEpochYear = 0;
  int32_t FFilterMemoSize = 0;
  TdcPictureValidationError FOnValidationErrorUsingMask;
};

// The application-wide catalogue: empty before the unit's start-up step and again once it is destroyed.
extern TdcIntl* dcGlobalIntl;

// dcGlobalIntl := a new catalogue owned by Application.
void CreateGlobalIntl();

// Makes TdcIntl known to form resources by its class name.
void RegisterDcintlClasses();

// The unit's start-up step (registers the class, creates the application-wide catalogue) and exit step
// (frees it, unless its owner already has).
void DcintlInitialization();
void DcintlFinalization();
