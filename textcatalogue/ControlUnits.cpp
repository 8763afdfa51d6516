#include "textcatalogue/ControlUnits.h"

#include "platform/system/Ole.h"
#include "textcatalogue/DatePickerMessage.h"
#include "textcatalogue/Dcintl.h"
#include "textcatalogue/ExpandButtonMessage.h"
#include "textcatalogue/RichEditSupport.h"

void RegisterUnits(TUnitStartupList& list, const TUnitStepsList& units) {
  for (const TUnitSteps& unit : units) list.Register(unit.Name, unit.Initialization, unit.Finalization);
}

// Only an initialisation that took place is balanced at exit.
static bool OleInitializedByContainer = false;

TUnitSteps OleContainerUnit() {
  return {"OleContainer", [] { OleInitializedByContainer = OleInitialize(nullptr) >= 0; },
          [] {
            if (OleInitializedByContainer) OleUninitialize();
            OleInitializedByContainer = false;
          }};
}

TUnitStepsList DataAwareControlUnits() {
  return {
      {"Dcintl", DcintlInitialization, DcintlFinalization},
      OleContainerUnit(),
      {"DatePickerMessage", RegisterDatePickerMessage, nullptr},
      {"ExpandButtonMessage", RegisterExpandButtonMessage, nullptr},
      {"RichEditSupport", InitRichEditSupport, DoneRichEditSupport},
  };
}
