// Glyphcrate: loads a folder of bitmaps into the icon table of one or all configured databases.
#include "iconloader/GlyphcrateProgram.h"

int main(int argc, char** argv) { return RunProgram(argc, argv, GlyphcrateProgram()); }
