// Glyphcrate's main block: the parts it gives the program skeleton.
#pragma once

#include "platform/ui/ProgramRun.h"

// Its name, classes and units; with no folder on the command line and nobody at the screen it has
// nothing to do; the title "Glyphcrate"; the window fmLoadImages.
TProgramParts GlyphcrateProgram();
