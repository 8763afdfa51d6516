#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

TChildProcess::TChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& outputFile) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!outputFile.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
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

void TChildProcess::Signal(int signal) {
  if (FPid > 0 && !FExitStatus) kill(FPid, signal);
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

bool TChildProcess::WaitUntilHolding(const std::string& path, bool held, std::chrono::milliseconds limit) {
  const std::string files = "/proc/" + std::to_string(FPid) + "/fd";
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!WaitFor(std::chrono::milliseconds(0)) && std::chrono::steady_clock::now() < deadline) {
    bool holding = false;
    std::error_code error;
    for (std::filesystem::directory_iterator it(files, error), end; !holding && !error && it != end;
         it.increment(error)) {
      std::error_code gone;  // a file closed while the folder is read
      holding = std::filesystem::read_symlink(it->path(), gone) == path;
    }
    if (holding == held) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TVirtualDisplay::TVirtualDisplay() {
  const std::string server = "/usr/bin/Xvfb";
  if (access(server.c_str(), X_OK) != 0) {
    FSkipReason = "Xvfb is not installed (package xvfb)";
    return;
  }
  // Spread over the numbers by process, so that test programs running side by side rarely meet.
  const int first = 100 + getpid() % 400;
  for (int number = first; number < first + 20; ++number) {
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
    if (access(socket.c_str(), F_OK) == 0 || access(lock.c_str(), F_OK) == 0) continue;
    const std::string display = ":" + std::to_string(number);
    auto candidate = std::make_unique<TChildProcess>(
        server, std::vector<std::string>{display, "-nolisten", "tcp", "-screen", "0", "1024x768x24"},
        "/dev/null");
    // The server is ready once its socket is there; one that ends first lost the number to another.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (access(socket.c_str(), F_OK) != 0 && !candidate->WaitFor(std::chrono::milliseconds(50)) &&
           std::chrono::steady_clock::now() < deadline) {
    }
    if (access(socket.c_str(), F_OK) == 0 && !candidate->WaitFor(std::chrono::milliseconds(0))) {
      FServer = std::move(candidate);
      FDisplay = display;
      return;
    }
  }
  FSkipReason = "Xvfb did not start on any of 20 display numbers";
}

TVirtualDisplay::~TVirtualDisplay() {
  // Asked to end, the server removes its socket and lock file; killed, it would leave them behind.
  if (FServer) {
    FServer->Signal(SIGTERM);
    FServer->WaitFor(std::chrono::seconds(5));
  }
}
