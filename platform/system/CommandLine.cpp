#include "platform/system/CommandLine.h"

#include <vector>

#include "platform/system/Paths.h"

namespace {
std::vector<std::string> GArguments;

std::string& ProgramNameValue() {
  static std::string name = "qvapp";
  return name;
}
}  // namespace

void SetCommandLine(int argc, const char* const* argv) {
  GArguments.clear();
  for (int i = 1; i < argc; ++i) GArguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
}

int ParamCount() { return static_cast<int>(GArguments.size()); }

std::string ParamStr(int index) {
  if (index == 0) return ProgramFileName();
  if (index < 1 || index > ParamCount()) return std::string();
  return GArguments[static_cast<size_t>(index - 1)];
}

void SetProgramName(const std::string& name) { ProgramNameValue() = name; }

const std::string& ProgramName() { return ProgramNameValue(); }
