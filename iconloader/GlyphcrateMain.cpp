// Glyphcrate: loads a folder of bitmaps into the icon table of one or all configured databases.
#include <cstdio>

#include "iconloader/GlyphcrateUnits.h"
#include "iconloader/IconLoad.h"
#include "platform/components/Application.h"
#include "platform/system/CommandLine.h"
#include "platform/system/UnitStartup.h"
#include "platform/ui/Forms.h"

int main(int argc, char** argv) {
  SetCommandLine(argc, argv);
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
