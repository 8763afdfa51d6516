// Larkspan's main block: the parts it gives the program skeleton.
#pragma once

#include "platform/ui/ProgramRun.h"

// Its name, classes and units; with no form file on the command line and nobody at the screen it has
// nothing to do; the title "Larkspan"; the data module dmData, then the import dialog dlImportAdvF.
TProgramParts LarkspanProgram();
