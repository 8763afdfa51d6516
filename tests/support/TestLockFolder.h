// The lock folder of a test program's own databases.
#pragma once

#include <string>

// The lock folder of the databases a test program makes. They are the program's own (and those of the
// processes it starts, which inherit the environment), so they need not share the engine's common lock
// folder, which only members of the group firebird may use. Made once in main, before the engine's
// first use: a folder that FIREBIRD_LOCK already names is kept (made when missing), so that every
// process of one run agrees; otherwise a fresh folder is made, named in FIREBIRD_LOCK and removed again
// on destruction. Throws std::runtime_error naming the folder when it cannot be made.
class TestLockFolder {
 public:
  TestLockFolder();
  ~TestLockFolder();
  TestLockFolder(const TestLockFolder&) = delete;
  TestLockFolder& operator=(const TestLockFolder&) = delete;

  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
  bool FMade = false;
};
