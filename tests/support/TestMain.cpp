// The entry point of every test program: pins the locale, gives the test databases their own lock
// folder, runs the tests, then ends the database engine, as the programs' own main does, so that no engine
// thread is still running while the process tears down.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/data/Session.h"
#include "tests/support/TestLockFolder.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
  // Expectations of texts from the system (its error messages) hold whatever the user's language:
  // the application object takes the locale from the environment, and so do the programs the tests
  // start. A test that wants another locale sets it for itself.
  setenv("LC_ALL", "C.UTF-8", 1);
  unsetenv("LANGUAGE");
  testing::InitGoogleTest(&argc, argv);
  // Before the engine's first use: it reads the lock folder once, when it starts.
  std::optional<TestLockFolder> lockFolder;
  try {
    lockFolder.emplace();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
  const int result = RUN_ALL_TESTS();
  ShutdownDatabaseEngine();
  lockFolder.reset();
#if defined(__SANITIZE_ADDRESS__)
  // Check for leaks here, while the process is whole, rather than at exit among the libraries' own
  // exit handlers; the check at exit then does not run again.
  __lsan_do_leak_check();
#endif
  return result;
}
