// The product's base folder (the one that holds the BIN folder) and the platform's temporary folder.
#pragma once

#include <string>

// The folder the icon loader's rules for finding QV32.INI start from, with its trailing delimiter:
// the running program's folder, unless SetLoaderProgramFolder named another.
std::string LoaderProgramFolder();
// Makes LoaderProgramFolder give folder (a delimiter is added when it has none); the empty text
// gives the running program's folder back. Lets a product folder be laid out around code that does
// not run from it.
void SetLoaderProgramFolder(const std::string& folder);

// The platform's temporary folder, with its trailing delimiter; empty when the platform has none.
std::string GetTempFolder();

// The program's folder less everything from its first "/BIN" on (found without regard to case; the
// path keeps its own letters), or the temporary folder when the path holds no "/BIN"; always with a
// trailing delimiter. Of a tail longer than 99 characters from "/BIN" on, the rest beyond the 99th
// character stays.
std::string GetBaseFolder();
