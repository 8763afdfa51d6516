// The entry point of every test program: runs the tests, then ends the database engine, as the
// programs' own main does, so that no engine thread is still running while the process tears down.
#include <gtest/gtest.h>

#include "platform/data/Session.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  ShutdownDatabaseEngine();
  return result;
}
