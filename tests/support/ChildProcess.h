// A program started by a test, with a time limit on its end; killed when the test ends first.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

class TChildProcess {
 public:
  // Starts program with arguments and this process's environment. With errorFile given, the program's
  // standard error goes there.
  TChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& errorFile = std::string());
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  bool Started() const { return FPid > 0; }

  // The exit status once the program has ended by itself within limit (128 + the signal when a signal
  // ended it); nothing while it still runs.
  std::optional<int> WaitFor(std::chrono::milliseconds limit);

 private:
  pid_t FPid = -1;
  std::optional<int> FExitStatus;
};

// The whole content of a file; empty when it cannot be read.
std::string FileBytes(const std::string& path);
