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

namespace {
std::string FromEnvironment(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  return (value && *value) ? value : fallback;
}
}  // namespace

std::string SourcePath(const std::string& relativePath) {
  return FromEnvironment("QV_SOURCE_DIR", QV_DEFAULT_SOURCE_DIR) + "/" + relativePath;
}

std::string BuildPath(const std::string& relativePath) {
  return FromEnvironment("QV_BUILD_DIR", QV_DEFAULT_BUILD_DIR) + "/" + relativePath;
}

std::string TestDataFile(const std::string& name) {
  const char* dir = std::getenv("QV_TEST_DATA");
  if (dir && *dir) return std::string(dir) + "/" + name;
  return SourcePath("tests/data/" + name);
}
