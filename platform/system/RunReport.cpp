#include "platform/system/RunReport.h"

#include <cstdio>

#include "platform/system/CommandLine.h"

namespace {

int GSkippedReports = 0;

// A text of several lines (the engine's messages are) stays on one line, so that each report is one.
std::string OneLine(const std::string& text) {
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      line += text[i];
      continue;
    }
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    line += "; ";
  }
  return line;
}

// Written in one call, so that the line stays whole beside other output.
void WriteLine(const std::string& text) {
  const std::string line = ProgramName() + ": " + OneLine(text) + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace

void ReportSkipped(const std::string& text) {
  WriteLine(text);
  ++GSkippedReports;
}

void ReportNote(const std::string& text) { WriteLine(text); }

int SkippedReportCount() { return GSkippedReports; }
