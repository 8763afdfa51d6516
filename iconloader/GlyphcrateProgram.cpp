#include "iconloader/GlyphcrateProgram.h"

#include "iconloader/GlyphcrateUnits.h"
#include "iconloader/IconLoad.h"

TProgramParts GlyphcrateProgram() {
  return {
      .Name = "glyphcrate",
      .RegisterClasses = RegisterIconLoaderClasses,
      .RegisterUnits = RegisterGlyphcrateUnits,
      // The window would wait for a person who is not there.
      .NeedsAPerson = [] { return FolderArgument().empty(); },
      .NothingToDoMessage =
          "no display to show the window on: give the folder of bitmaps as the argument "
          "(glyphcrate FOLDER) to load it into every database unattended",
      .Title = "Glyphcrate",
      .Forms = {MakeForm(fmLoadImages)},
  };
}
