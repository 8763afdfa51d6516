// A file that no process may read, for tests of a refused read.
#pragma once

#include <string>

// A regular file that opening for reading refuses with EACCES to every user, root too, whom mode bits
// refuse nothing: a write-only attribute of the kernel's. Empty where this machine has none.
std::string UnreadableFile();

// What a test that needs such a file says when it skips.
inline constexpr const char* NoUnreadableFile =
    "this machine has no file that every user is refused, and root cannot be refused otherwise";
