#include "tests/support/TestLockFolder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

TestLockFolder::TestLockFolder() {
  const char* given = std::getenv("FIREBIRD_LOCK");
  if (given != nullptr && *given != '\0') {
    FPath = given;
    std::error_code error;
    std::filesystem::create_directories(FPath, error);
    if (error || !std::filesystem::is_directory(FPath))
      throw std::runtime_error("cannot make the lock folder " + FPath + " (FIREBIRD_LOCK): " +
                               (error ? error.message() : std::string("not a folder")));
    return;
  }
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  // A temporary folder that is not there still gives the message a path to name.
  if (error) folder = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp";
  const std::string pattern = (folder / "qvtest-lock-XXXXXX").string();
  std::string made = pattern;
  if (mkdtemp(made.data()) == nullptr)
    throw std::runtime_error("cannot make the lock folder " + pattern + ": " + std::strerror(errno));
  FPath = made;
  FMade = true;
  setenv("FIREBIRD_LOCK", FPath.c_str(), 1);
}

TestLockFolder::~TestLockFolder() {
  if (!FMade) return;
  unsetenv("FIREBIRD_LOCK");
  std::error_code error;
  std::filesystem::remove_all(FPath, error);
}
