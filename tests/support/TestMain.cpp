// The entry point of every test program: runs the tests, then ends the database engine, as the
// programs' own main does, so that no engine thread is still running while the process tears down.
#include <gtest/gtest.h>
#include <signal.h>

#include "platform/data/Session.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
  // Tests that start a program collect its end with waitpid, which needs no signal. With SIGCHLD left
  // deliverable, LeakSanitizer's stop-the-world at exit was seen to crash ("Tracer caught signal 11") in
  // a test process that had run the engine and reaped such a child, whereas the same test started from a
  // shell, which blocks SIGCHLD, passed. Blocking it here, before any thread starts, makes every thread
  // inherit the same mask wherever the test is started from.
  sigset_t childSignal;
  sigemptyset(&childSignal);
  sigaddset(&childSignal, SIGCHLD);
  pthread_sigmask(SIG_BLOCK, &childSignal, nullptr);

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
