// Glyphcrate's start-up list: the units whose start-up steps run before its main block, in order.
#pragma once

#include "textcatalogue/ControlUnits.h"

// The data-aware controls' units (DataAwareControlUnits), then the combo library's "ComboLibraryVersion"
// and "ComboDropDownMessage", the version before the message.
TUnitStepsList GlyphcrateUnits();
void RegisterGlyphcrateUnits(TUnitStartupList& list);
