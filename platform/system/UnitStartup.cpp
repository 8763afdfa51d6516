#include "platform/system/UnitStartup.h"

#include <exception>

TUnitStartupList::~TUnitStartupList() {
  try {
    RunShutdown();
  } catch (...) {
  }
}

void TUnitStartupList::Register(std::string name, TStep initialization, TStep finalization) {
  FUnits.push_back({std::move(name), std::move(initialization), std::move(finalization)});
}

void TUnitStartupList::RunStartup() {
  // After a failed start-up the program is on its way out: no later unit may start.
  if (FFailed) return;
  for (TUnit& unit : FUnits) {
    if (unit.Tried) continue;
    unit.Tried = true;
    try {
      if (unit.Initialization) unit.Initialization();
    } catch (...) {
      FFailed = true;
      throw;
    }
    unit.Started = true;
  }
}

void TUnitStartupList::RunShutdown() {
  std::exception_ptr first;
  for (auto it = FUnits.rbegin(); it != FUnits.rend(); ++it) {
    if (!it->Started) continue;
    it->Started = false;
    try {
      if (it->Finalization) it->Finalization();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

std::vector<std::string> TUnitStartupList::StartedUnits() const {
  std::vector<std::string> names;
  for (const TUnit& unit : FUnits)
    if (unit.Started) names.push_back(unit.Name);
  return names;
}
