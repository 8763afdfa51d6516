#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

TChildProcess::TChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& errorFile) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!errorFile.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
  }
  if (posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) FPid = -1;
  posix_spawn_file_actions_destroy(&actions);
}

TChildProcess::~TChildProcess() {
  if (FPid > 0 && !FExitStatus) {
    kill(FPid, SIGKILL);
    int status = 0;
    waitpid(FPid, &status, 0);
  }
}

std::optional<int> TChildProcess::WaitFor(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!FExitStatus && FPid > 0) {
    int status = 0;
    if (waitpid(FPid, &status, WNOHANG) == FPid) {
      FExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return FExitStatus;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
