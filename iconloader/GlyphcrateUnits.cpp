#include "iconloader/GlyphcrateUnits.h"

#include "iconloader/ComboDropDownMessage.h"
#include "iconloader/ComboLibraryVersion.h"

TUnitStepsList GlyphcrateUnits() {
  TUnitStepsList units = DataAwareControlUnits();
  units.push_back({"ComboLibraryVersion", InitComboVersion, DoneComboVersion});
  units.push_back({"ComboDropDownMessage", RegisterComboDropDownMessage, nullptr});
  return units;
}

void RegisterGlyphcrateUnits(TUnitStartupList& list) { RegisterUnits(list, GlyphcrateUnits()); }
