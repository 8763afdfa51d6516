// The program's command-line arguments and its own name, handed over from main.
#pragma once

#include <string>

// Keeps main's arguments; the programs call it first thing in main.
void SetCommandLine(int argc, const char* const* argv);
// The number of arguments after the program's name.
int ParamCount();
// Argument index (1..ParamCount); 0 gives the program's full path; any other index gives "".
std::string ParamStr(int index);

// The program's own name, by which the desktop tells its windows apart (application name, window
// class) and with which its lines on standard error begin; set by main before the QApplication is
// made. "qvapp" when none was set.
void SetProgramName(const std::string& name);
const std::string& ProgramName();
