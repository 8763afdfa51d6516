// Larkspan: imports an advanced form file into every database listed in QV32.INI.
#include "formimport/ImportAdvF.h"
#include "platform/components/Application.h"
#include "platform/data/Session.h"
#include "platform/system/CommandLine.h"
#include "platform/ui/Forms.h"

int main(int argc, char** argv) {
  SetCommandLine(argc, argv);
  int exitCode = 0;
  {
    // The application object exists before the units start: the text catalogue they make is its own.
    TApplication application(nullptr);
    InstallQtWindowing(application);
    exitCode = RunLarkspan();
  }
  // The application has closed every connection with the data module; the engine ends last.
  ShutdownDatabaseEngine();
  return exitCode;
}
