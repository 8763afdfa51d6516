// Larkspan: imports an advanced form file into every database listed in QV32.INI.
#include "formimport/LarkspanProgram.h"

int main(int argc, char** argv) { return RunProgram(argc, argv, LarkspanProgram()); }
