// The program's command-line arguments, handed over from main.
#pragma once

#include <string>

// Keeps main's arguments; the programs call it first thing in main.
void SetCommandLine(int argc, const char* const* argv);
// The number of arguments after the program's name.
int ParamCount();
// Argument index (1..ParamCount); 0 gives the program's full path; any other index gives "".
std::string ParamStr(int index);
