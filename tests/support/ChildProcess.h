// A program started by a test, with a time limit on its end; killed when the test ends first. And an X
// server of the test's own for a program that must run on a real display.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TChildProcess {
 public:
  // Starts program with arguments and this process's environment. With outputFile given, the program's
  // standard output and standard error go there.
  TChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& outputFile = std::string());
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  bool Started() const { return FPid > 0; }
  pid_t Pid() const { return FPid; }
  // Sends signal to the program unless it has ended.
  void Signal(int signal);

  // The exit status once the program has ended by itself within limit (128 + the signal when a signal
  // ended it); nothing while it still runs.
  std::optional<int> WaitFor(std::chrono::milliseconds limit);
  // Waits until the program has the file path open (held true) or no longer has it open (held false),
  // as its open files in /proc show; false when the program ends first or limit passes.
  bool WaitUntilHolding(const std::string& path, bool held, std::chrono::milliseconds limit);

 private:
  pid_t FPid = -1;
  std::optional<int> FExitStatus;
};

// The whole content of a file; empty when it cannot be read.
std::string FileBytes(const std::string& path);

// Xvfb on a display number that no other X server holds, until the object is destroyed. Display() is
// ":N", or empty when Xvfb is not installed or would not start (SkipReason() then says why).
class TVirtualDisplay {
 public:
  TVirtualDisplay();
  ~TVirtualDisplay();
  TVirtualDisplay(const TVirtualDisplay&) = delete;
  TVirtualDisplay& operator=(const TVirtualDisplay&) = delete;

  const std::string& Display() const { return FDisplay; }
  const std::string& SkipReason() const { return FSkipReason; }

 private:
  std::unique_ptr<TChildProcess> FServer;
  std::string FDisplay;
  std::string FSkipReason;
};
