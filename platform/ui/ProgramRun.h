// The one start-up and exit of a program, filled in with each program's own parts.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/components/Application.h"

class TUnitStartupList;

// Creates one form or data module with Application->CreateForm into its global variable.
using TFormMaker = std::function<void(TApplication&)>;

template <class T>
TFormMaker MakeForm(T*& reference) {
  return [&reference](TApplication& application) { application.CreateForm(reference); };
}

// What a program brings to the skeleton, in the order the main block uses it.
struct TProgramParts {
  // Its lines on standard error begin with it; the desktop knows its windows by it.
  std::string Name;
  // Makes known the classes its form resources name.
  std::function<void()> RegisterClasses;
  // Registers its units' start-up and exit steps, in start-up order.
  std::function<void(TUnitStartupList&)> RegisterUnits;
  // True when this run could do nothing without a person at the screen (it would ask for its input or
  // wait at its window); NothingToDoMessage then says on standard error what to give instead.
  std::function<bool()> NeedsAPerson;
  std::string NothingToDoMessage;
  // The application's title, the caption of the default exception display.
  std::string Title;
  // Made in this order; the first form among them becomes the main form.
  std::vector<TFormMaker> Forms;
};

// The main block on the application object that exists (with its window part installed and the command
// line set): the classes, the units' start-up steps, Initialize, the check for a person, the title, the
// forms, the message loop, then the units' exit steps in reverse. Gives the exit status: 0 for a run that
// showed no error or warning box and skipped nothing; 1 when it showed one, or a unit's exit step
// failed; 2 when it could not start (a start-up step failed, or nobody can see the windows and the run
// needs a person); 3 when it showed no such box but reported something it was given and did not do
// (ReportSkipped). What failed outside a box is written to standard error after the program's name,
// which the block makes the program's name (SetProgramName) for the lines of the run's own work.
int RunMainBlock(const TProgramParts& parts);

// All of main: takes the termination signals and the command line, names the program, answers boxes on
// standard error where nobody can see them, makes the application object with its Qt window part, runs
// the main block, frees the application (and with it every form and connection), shuts the database
// engine down and passes the last termination checkpoint. Gives the main block's exit status, or ends
// the process with 128 + n on signal n.
int RunProgram(int argc, char** argv, const TProgramParts& parts);
