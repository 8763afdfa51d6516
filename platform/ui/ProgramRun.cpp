#include "platform/ui/ProgramRun.h"

#include <exception>

#include "platform/data/Session.h"
#include "platform/system/CommandLine.h"
#include "platform/system/Dialogs.h"
#include "platform/system/RunReport.h"
#include "platform/system/TerminationSignals.h"
#include "platform/system/UnitStartup.h"
#include "platform/ui/Forms.h"
#include "platform/ui/NoScreen.h"
#include "platform/ui/QtRuntime.h"

namespace {

void WriteFailure(const TProgramParts& parts, const char* text) {
  WriteStandardError(parts.Name + ": " + text + "\n");
}

}  // namespace

int RunMainBlock(const TProgramParts& parts) {
  // The run's own lines begin with the same name as the block's, also where no RunProgram set it.
  SetProgramName(parts.Name);
  if (parts.RegisterClasses) parts.RegisterClasses();

  TUnitStartupList units;
  if (parts.RegisterUnits) parts.RegisterUnits(units);
  int exitCode = 0;
  const int boxesBefore = ErrorOrWarningBoxCount();
  const int skipsBefore = SkippedReportCount();
  try {
    units.RunStartup();
    Application->Initialize();
    if (NoScreen() && parts.NeedsAPerson && parts.NeedsAPerson()) {
      WriteFailure(parts, parts.NothingToDoMessage.c_str());
      exitCode = 2;
    } else {
      Application->SetTitle(parts.Title);
      for (const TFormMaker& makeForm : parts.Forms) makeForm(*Application);
      Application->Run();
    }
  } catch (const std::exception& e) {
    // Only a failing start-up gets here: errors of the program's own work are shown in message boxes.
    WriteFailure(parts, e.what());
    exitCode = 2;
  }
  try {
    units.RunShutdown();
  } catch (const std::exception& e) {
    WriteFailure(parts, e.what());
    if (exitCode == 0) exitCode = 1;
  }
  if (exitCode == 0 && ErrorOrWarningBoxCount() > boxesBefore) exitCode = 1;
  // A box says more than a line does: only a run that showed none tells of its skips by its status.
  if (exitCode == 0 && SkippedReportCount() > skipsBefore) exitCode = 3;
  return exitCode;
}

int RunProgram(int argc, char** argv, const TProgramParts& parts) {
  InstallTerminationSignals();
  SetCommandLine(argc, argv);
  SetProgramName(parts.Name);
  AnswerWithoutScreen();
  int exitCode = 0;
  {
    // The application object exists before the units start: the text catalogue they make is its own.
    TApplication application(nullptr);
    InstallQtWindowing(application);
    exitCode = RunMainBlock(parts);
    // A signal that came after the run's last checkpoint rolls back what is still open, rather than the
    // normal closing of the forms' connections committing it.
    TerminationCheckpoint();
  }
  // Freeing the application has closed every connection with its form; the engine ends last.
  ShutdownDatabaseEngine();
  LastTerminationCheckpoint();
  return exitCode;
}
