// The start-up and exit steps of the data-aware controls' units, in the order both programs run them.
#pragma once

#include <string>
#include <vector>

#include "platform/system/UnitStartup.h"

// One unit of a program's start-up list: its name and its steps (either may be empty).
struct TUnitSteps {
  std::string Name;
  TUnitStartupList::TStep Initialization;
  TUnitStartupList::TStep Finalization;
};
using TUnitStepsList = std::vector<TUnitSteps>;

// Adds the units to a program's start-up list, in the given order.
void RegisterUnits(TUnitStartupList& list, const TUnitStepsList& units);

// The platform's OLE container support: initialises OLE at start-up and balances that at exit.
TUnitSteps OleContainerUnit();

// In start-up order: "Dcintl" (the application-wide catalogue; needs Application), "OleContainer",
// "DatePickerMessage", "ExpandButtonMessage", "RichEditSupport". Exit runs them in reverse, so the
// rich-edit library is released and OLE uninitialised before the catalogue is freed.
TUnitStepsList DataAwareControlUnits();
