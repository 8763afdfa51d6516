// The lines on standard error that name what a run was given and did not do where no box says so, and
// the count that turns such a run's exit status into 3.
#pragma once

#include <string>

// Writes "<program>: <text>" to standard error as one line, each line break inside text standing as
// "; ", and counts it: a run that wrote one and showed no error or warning box ends with status 3.
void ReportSkipped(const std::string& text);
// Writes the line in the same way without counting it: what a run passes over as a matter of course.
void ReportNote(const std::string& text);
// How many lines ReportSkipped has written in this process.
int SkippedReportCount();
