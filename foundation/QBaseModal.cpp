#include "foundation/QBaseModal.h"

#include "foundation/QUTabPaint.h"
#include "platform/components/Application.h"
#include "platform/data/Field.h"
#include "platform/system/AnsiStrings.h"
#include "platform/system/DateTime.h"
#include "platform/ui/DBCtrls.h"

extern const char FormResource_QBaseModal[];

const TMetaClass& TdlQBaseModal::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TdlQBaseModal>("TdlQBaseModal")
                                    .Field("paTop", &TdlQBaseModal::paTop)
                                    .Field("paBottom", &TdlQBaseModal::paBottom)
                                    .Field("paButtons", &TdlQBaseModal::paButtons)
                                    .Field("pcPageControl", &TdlQBaseModal::pcPageControl)
                                    .Field("tsMain", &TdlQBaseModal::tsMain)
                                    .Field("buOK", &TdlQBaseModal::buOK)
                                    .Field("buCancel", &TdlQBaseModal::buCancel)
                                    .Field("buHelp", &TdlQBaseModal::buHelp)
                                    .Method("buOKClick", &TdlQBaseModal::buOKClick)
                                    .Method("miCancelClick", &TdlQBaseModal::miCancelClick)
                                    .Method("buHelpClick", &TdlQBaseModal::buHelpClick)
                                    .Method("Loaded", &TdlQBaseModal::Loaded)
                                    .Method("FormShow", &TdlQBaseModal::FormShow)
                                    .Method("pcPageControlDrawTab", &TdlQBaseModal::pcPageControlDrawTab)
                                    .Resource(FormResource_QBaseModal);
  return cls;
}

TdlQBaseModal::TdlQBaseModal(TComponent* owner) : TForm(owner) {}

void TdlQBaseModal::Loaded() {
  TForm::Loaded();
  FAuditTabIndex = -1;
  FAuditSheet = nullptr;
  if (pcPageControl != nullptr) pcPageControl->SetOwnerDraw(true);
}

void TdlQBaseModal::buOKClick(TObject* /*Sender*/) {
  buOK->SetFocus();
  SetModalResult(mrOk);
}

void TdlQBaseModal::miCancelClick(TObject* /*Sender*/) { SetModalResult(mrCancel); }

void TdlQBaseModal::buHelpClick(TObject* /*Sender*/) {
  if (Application != nullptr) Application->HelpContext(HelpContext());
}

void TdlQBaseModal::FormShow(TObject* /*Sender*/) {
  TDateTime insertTime = 0;
  TDateTime editTime = 0;
  for (int i = 0; i < ComponentCount(); ++i) {
    if (auto* text = dynamic_cast<TDBText*>(Components(i))) {
      const std::string name = Trim(UpperCase(text->DataField()));
      if (name == "ROWINSERTWHEN") {
        if (TField* field = text->Field()) insertTime = field->AsDateTime();
      } else if (name == "ROWEDITWHEN") {
        if (TField* field = text->Field()) editTime = field->AsDateTime();
      }
    }
    // A zero time counts as absent: the scan goes on until both are known.
    if (insertTime != 0 && editTime != 0) break;
  }
  if (insertTime != editTime)
    FAuditSheet = AsClass<TTabSheet>(static_cast<TObject*>(FindComponent("tsAudit")));
}

void TdlQBaseModal::pcPageControlDrawTab(TCustomTabControl* Control, int TabIndex, const TRect& Rect,
                                         bool /*Active*/) {
  if (InState(csDesigning)) return;
  // Recomputed at every painting, so the highlight follows the audit page's current tab.
  FAuditTabIndex = FAuditSheet != nullptr ? FAuditSheet->TabIndex() : -1;
  // The selected tab is painted like every other: Active is not passed on.
  DrawPageControlTab(Control, TabIndex, Rect, FAuditTabIndex, FAuditTabIndex != -1, clBlue);
}

void TdlQBaseModal::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  // The audit page is referred to, not owned: forget it when it goes.
  if (operation == opRemove && component == FAuditSheet) {
    FAuditSheet = nullptr;
    FAuditTabIndex = -1;
  }
}

void RegisterQBaseModal() { RegisterClass(TdlQBaseModal::StaticClass()); }
