// Glyphcrate: loads a folder of bitmaps into the icon table of one or all configured databases.
#include <cstdio>

#include "iconloader/GlyphcrateUnits.h"
#include "iconloader/IconLoad.h"
#include "platform/components/Application.h"
#include "platform/data/Session.h"
#include "platform/system/CommandLine.h"
#include "platform/system/UnitStartup.h"
#include "platform/ui/Forms.h"

namespace {

int RunGlyphcrate() {
  // The application object exists before the units start: the text catalogue they make is its own.
  TApplication application(nullptr);
  InstallQtWindowing(application);
  RegisterIconLoaderClasses();

  TUnitStartupList units;
  RegisterGlyphcrateUnits(units);
  int exitCode = 0;
  try {
    units.RunStartup();
    Application->Initialize();
    Application->SetTitle("Glyphcrate");
    Application->CreateForm(fmLoadImages);
    Application->Run();
  } catch (const std::exception& e) {
    // Only a failing start-up gets here: errors of the window's own work are shown in message boxes.
    std::fprintf(stderr, "glyphcrate: %s\n", e.what());
    exitCode = 1;
  }
  try {
    units.RunShutdown();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "glyphcrate: %s\n", e.what());
    exitCode = 1;
  }
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  SetCommandLine(argc, argv);
  const int exitCode = RunGlyphcrate();
  // The application has closed the window's connection with the window; the engine ends last.
  ShutdownDatabaseEngine();
  return exitCode;
}
