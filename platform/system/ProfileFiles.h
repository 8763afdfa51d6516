// Reading profile (INI) files: sections in square brackets holding key=value entries.
#pragma once

#include "platform/system/WinTypes.h"

// Copies the value of key in section of fileName into buffer (at most size-1 characters and a NUL)
// and returns the number of characters copied.
// - Section and key names match without regard to ASCII case after their outer spaces are dropped;
//   in the file, names and values lose their outer blanks, and one outer pair of matching quotes
//   ('...' or "...") around a value is removed.
// - A UTF-8 byte-order mark at the start of the file is skipped.
// - A line whose first non-blank is ';' is a comment; lines before the first section are not read;
//   the first of duplicate keys wins and only the first of duplicate sections is searched.
// - A missing file, section or key (or an empty key name) gives the default (nullptr means ""),
//   less its trailing spaces. A missing file sets the last error to ERROR_FILE_NOT_FOUND.
// - A value cut short returns size-1 and sets ERROR_MORE_DATA; size 0 returns 0, buffer untouched.
// - key == nullptr lists the section's key names (lines with '='), each ended by a NUL, with one more
//   NUL at the end; the result counts all but that last NUL. A list that does not fit is cut, ended by
//   two NULs, and returns size-2; size below 2 returns 0. A missing or empty section gives the default.
// - section == nullptr lists the section names the same way (key is then ignored); a missing file
//   gives 0 and a single NUL.
// fileName is used as given: a name without a folder is looked for in the current folder.
DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue, char* buffer,
                               DWORD size, const char* fileName);
