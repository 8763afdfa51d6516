#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "qvtest-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  FPath = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(FPath, ec);
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
  const fs::path path = fs::path(FPath) / name;
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
  return path.string();
}

std::string TestDataFile(const std::string& name) {
  const char* dir = std::getenv("QV_TEST_DATA");
  return std::string(dir ? dir : "tests/data") + "/" + name;
}
