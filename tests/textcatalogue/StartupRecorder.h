// Runs a program's start-up list and records, after each step, the step and what the program's state is.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/system/UnitStartup.h"
#include "textcatalogue/ControlUnits.h"

class TStartupRecorder {
 public:
  // state describes what the steps have left behind so far, as one line.
  TStartupRecorder(const TUnitStepsList& units, std::function<std::string()> state)
      : FState(std::move(state)) {
    for (const TUnitSteps& unit : units)
      FList.Register(unit.Name, Record("start " + unit.Name, unit.Initialization),
                     Record("exit " + unit.Name, unit.Finalization));
  }

  void Start() { FList.RunStartup(); }
  void Stop() { FList.RunShutdown(); }
  const std::vector<std::string>& Log() const { return FLog; }
  const TUnitStartupList& List() const { return FList; }

 private:
  TUnitStartupList::TStep Record(std::string what, TUnitStartupList::TStep step) {
    return [this, what = std::move(what), step = std::move(step)] {
      if (step) step();
      FLog.push_back(what + " | " + FState());
    };
  }

  std::function<std::string()> FState;
  std::vector<std::string> FLog;
  TUnitStartupList FList;
};
