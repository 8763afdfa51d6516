// File paths: the delimiter, the folder part of a path, existence checks, the program's folder and
// the case-blind lookup of names the system writes in capitals.
#pragma once

#include <string>
#include <string_view>

constexpr char PathDelim = '/';

// The path up to and including its last delimiter; empty when it has none.
std::string ExtractFilePath(std::string_view fileName);
// The part after the last delimiter.
std::string ExtractFileName(std::string_view fileName);
// path with a delimiter at its end (an empty path stays empty).
std::string IncludeTrailingPathDelimiter(std::string_view path);

// True for an existing regular file (links followed); false for a folder or a missing path.
bool FileExists(const std::string& fileName);
// True for an existing folder (links followed).
bool DirectoryExists(const std::string& dir);

// The full path of the running program's file, from /proc/self/exe.
std::string ProgramFileName();
// The running program's folder with its trailing delimiter.
std::string ProgramFolder();

// The name of an entry of folder for name: name itself when that entry exists, else the entry whose
// name equals it without regard to ASCII case, else name unchanged. When several entries match
// (possible on a case-sensitive file system) the one first in byte order is taken, which prefers the
// spelling with the most capitals (the system's own), and the choice stays the same from run to run.
std::string FindNameIgnoringCase(const std::string& folder, const std::string& name);

// path with each of its parts after the first one that exists looked up by FindNameIgnoringCase,
// so "/opt/qv/bin/qv32.ini" finds "/opt/qv/BIN/QV32.INI". Parts that cannot be found stay as given.
std::string FindPathIgnoringCase(const std::string& path);
