// Glyphcrate: loads a folder of bitmaps into the icon table of one or all configured databases.
#include <cstdio>

#include "iconloader/GlyphcrateUnits.h"
#include "iconloader/IconLoad.h"
#include "platform/components/Application.h"
#include "platform/data/Session.h"
#include "platform/system/CommandLine.h"
#include "platform/system/Dialogs.h"
#include "platform/system/TerminationSignals.h"
#include "platform/system/UnitStartup.h"
#include "platform/ui/Forms.h"
#include "platform/ui/NoScreen.h"

namespace {

// 0 for a run that showed no error or warning box, 1 when it showed one or a unit's exit step failed,
// 2 when it could not start (a start-up step failed, or nobody can see the window and no folder was
// given to load unattended).
int RunGlyphcrate() {
  // The application object exists before the units start: the text catalogue they make is its own.
  TApplication application(nullptr);
  InstallQtWindowing(application);
  RegisterIconLoaderClasses();

  TUnitStartupList units;
  RegisterGlyphcrateUnits(units);
  int exitCode = 0;
  const int boxesBefore = ErrorOrWarningBoxCount();
  try {
    units.RunStartup();
    Application->Initialize();
    if (NoScreen() && FolderArgument().empty()) {
      // The window would wait for a person who is not there.
      std::fprintf(stderr,
                   "glyphcrate: no display to show the window on: give the folder of bitmaps as "
                   "the argument (glyphcrate FOLDER) to load it into every database unattended\n");
      exitCode = 2;
    } else {
      Application->SetTitle("Glyphcrate");
      Application->CreateForm(fmLoadImages);
      Application->Run();
    }
  } catch (const std::exception& e) {
    // Only a failing start-up gets here: errors of the window's own work are shown in message boxes.
    std::fprintf(stderr, "glyphcrate: %s\n", e.what());
    exitCode = 2;
  }
  try {
    units.RunShutdown();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "glyphcrate: %s\n", e.what());
    if (exitCode == 0) exitCode = 1;
  }
  if (exitCode == 0 && ErrorOrWarningBoxCount() > boxesBefore) exitCode = 1;
  // A signal that came after the run's last checkpoint rolls back what is still open, rather than
  // the normal closing of the window's connection committing it.
  TerminationCheckpoint();
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  InstallTerminationSignals();
  SetCommandLine(argc, argv);
  SetProgramName("glyphcrate");
  AnswerWithoutScreen();
  const int exitCode = RunGlyphcrate();
  // The application has closed the window's connection with the window; the engine ends last.
  ShutdownDatabaseEngine();
  LastTerminationCheckpoint();
  return exitCode;
}
