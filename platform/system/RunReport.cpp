#include "platform/system/RunReport.h"

#include "platform/system/CommandLine.h"
#include "platform/system/TerminationSignals.h"

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

// Written whole, so that the line stays whole beside other output, and where nobody reads standard
// error a signal is still acted on.
void WriteLine(const std::string& text) { WriteStandardError(ProgramName() + ": " + OneLine(text) + "\n"); }

}  // namespace

void ReportSkipped(const std::string& text) {
  WriteLine(text);
  ++GSkippedReports;
}

void ReportNote(const std::string& text) { WriteLine(text); }

int SkippedReportCount() { return GSkippedReports; }
