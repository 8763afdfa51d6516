// Larkspan: imports an advanced form file into every database listed in QV32.INI.
#include "formimport/ImportAdvF.h"
#include "platform/components/Application.h"
#include "platform/data/Session.h"
#include "platform/system/CommandLine.h"
#include "platform/system/TerminationSignals.h"
#include "platform/ui/Forms.h"
#include "platform/ui/NoScreen.h"

int main(int argc, char** argv) {
  InstallTerminationSignals();
  SetCommandLine(argc, argv);
  SetProgramName("larkspan");
  AnswerWithoutScreen();
  int exitCode = 0;
  {
    // The application object exists before the units start: the text catalogue they make is its own.
    TApplication application(nullptr);
    InstallQtWindowing(application);
    exitCode = RunLarkspan();
    // A signal that came after the run's last checkpoint rolls back what is still open, rather than
    // the normal closing of the data module's connection committing it.
    TerminationCheckpoint();
  }
  // The application has closed every connection with the data module; the engine ends last.
  ShutdownDatabaseEngine();
  LastTerminationCheckpoint();
  return exitCode;
}
