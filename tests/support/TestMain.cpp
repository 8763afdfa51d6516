// The entry point of every test program: runs the tests, then ends the database engine, as the
// programs' own main does, so that no engine thread is still running while the process tears down.
#include <gtest/gtest.h>

#include "platform/data/Session.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  ShutdownDatabaseEngine();
#if defined(__SANITIZE_ADDRESS__)
  // Check for leaks here, while the process is whole, rather than at exit among the libraries' own
  // exit handlers; the check at exit then does not run again.
  __lsan_do_leak_check();
#endif
  return result;
}
