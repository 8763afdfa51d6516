// Larkspan's start-up list: the units whose start-up steps run before its main block, in order.
#pragma once

#include "textcatalogue/ControlUnits.h"

// The data-aware controls' units (DataAwareControlUnits), in their order.
TUnitStepsList LarkspanUnits();
void RegisterLarkspanUnits(TUnitStartupList& list);
