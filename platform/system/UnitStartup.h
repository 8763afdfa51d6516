// The explicit start-up list: each program registers its units' start-up and exit steps in order.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Start-up steps run in the order registered, exit steps in reverse, each at most once. A unit whose
// start-up step did not complete (it threw, or an earlier one did) does no exit work: a step that
// throws must undo its own partial work before it lets the exception go.
class TUnitStartupList {
 public:
  using TStep = std::function<void()>;

  TUnitStartupList() = default;
  // Runs the exit steps still due, swallowing their exceptions (a destructor cannot report them).
  ~TUnitStartupList();
  TUnitStartupList(const TUnitStartupList&) = delete;
  TUnitStartupList& operator=(const TUnitStartupList&) = delete;

  // Adds a unit; either step may be empty. Units added after RunStartup are started by the next call.
  void Register(std::string name, TStep initialization, TStep finalization);

  // Runs the start-up steps not yet run, in order; the first exception stops the list and goes to
  // the caller, leaving the units before it started.
  void RunStartup();
  // Runs the exit steps of the started units in reverse order. Every one runs even when an earlier
  // one throws; the first exception is raised again at the end.
  void RunShutdown();

  int Count() const { return static_cast<int>(FUnits.size()); }
  const std::string& Name(int index) const { return FUnits.at(static_cast<size_t>(index)).Name; }
  // The names of the units that are started and not yet shut down, in start-up order.
  std::vector<std::string> StartedUnits() const;

 private:
  struct TUnit {
    std::string Name;
    TStep Initialization;
    TStep Finalization;
    bool Tried = false;    // its start-up step has been called
    bool Started = false;  // its start-up step completed and its exit step is still due
  };
  std::vector<TUnit> FUnits;
  bool FFailed = false;
};
