// A folder on a small file system of its own, for tests of a full disk.
#pragma once

#include <string>

#include "tests/support/TempFolder.h"

// A tmpfs of the given size ("4m") mounted on a fresh temporary folder, unmounted at the end. Mounting
// needs the right to mount; where the system refuses it, Mounted() is false and Reason() says why, so
// that the test can be skipped with that reason.
class TSmallDisk {
 public:
  explicit TSmallDisk(const std::string& size);
  // Unmounts; lazily, should the database engine still hold a file of it open.
  ~TSmallDisk();
  TSmallDisk(const TSmallDisk&) = delete;
  TSmallDisk& operator=(const TSmallDisk&) = delete;

  bool Mounted() const { return FReason.empty(); }
  const std::string& Reason() const { return FReason; }
  const std::string& Path() const { return FFolder.Path(); }

 private:
  TempFolder FFolder;
  std::string FReason;
};
