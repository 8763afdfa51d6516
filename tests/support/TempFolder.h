// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#pragma once

#include <string>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, without a trailing delimiter.
  const std::string& Path() const { return FPath; }
  // Path() + "/" + name.
  std::string File(const std::string& name) const { return FPath + "/" + name; }
  // Writes bytes to a file of the folder (creating sub-folders) and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string FPath;
};

// The path of a file in tests/data ($QV_TEST_DATA when set).
std::string TestDataFile(const std::string& name);
// The path of a file of the source tree ($QV_SOURCE_DIR when set, else the tree this was built from).
std::string SourcePath(const std::string& relativePath);
// The path of a file of the build folder ($QV_BUILD_DIR when set, else the folder this was built in),
// e.g. BuildPath("bin/larkspan").
std::string BuildPath(const std::string& relativePath);
