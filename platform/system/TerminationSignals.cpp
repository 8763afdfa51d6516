#include "platform/system/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <vector>

namespace {

constexpr int HandledSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Written by the handler, which may run on any thread (the database engine has its own): only
// lock-free atomics and write() are safe there.
std::atomic<int> GSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);
int GPipe[2] = {-1, -1};
bool GInstalled = false;
std::vector<std::function<void()>> GEndSteps;

extern "C" void OnTerminationSignal(int signal) {
  int none = 0;
  // The first signal counts; later ones, also those arriving while the program ends, are dropped.
  if (!GSignal.compare_exchange_strong(none, signal)) return;
  const int savedErrno = errno;
  const char byte = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(GPipe[1], &byte, 1);
  errno = savedErrno;
}

void SetHandlers() {
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal : HandledSignals) sigaddset(&action.sa_mask, signal);
  for (int signal : HandledSignals) sigaction(signal, &action, nullptr);
}

}  // namespace

void InstallTerminationSignals() {
  if (GPipe[0] < 0 && ::pipe2(GPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    std::perror("termination signals: pipe");
    GPipe[0] = GPipe[1] = -1;
    return;
  }
  GInstalled = true;
  SetHandlers();
}

void RetakeTerminationSignals() {
  if (GInstalled) SetHandlers();
}

int TerminationSignalPipe() { return GPipe[0]; }

int PendingTerminationSignal() { return GSignal.load(); }

void AddTerminationEndStep(std::function<void()> step) { GEndSteps.push_back(std::move(step)); }

void TerminationCheckpoint() {
  const int signal = GSignal.load();
  if (signal == 0) return;
  // An end step that reaches a checkpoint again must not start the ending anew.
  static bool ending = false;
  if (ending) return;
  ending = true;
  for (auto step = GEndSteps.rbegin(); step != GEndSteps.rend(); ++step) {
    try {
      (*step)();
    } catch (...) {
      // The program ends all the same; the next step may still release what this one could not.
    }
  }
  std::fflush(nullptr);
  // Not exit(): the exit handlers of the libraries would tear down a window system and a database
  // engine in whatever state the signal found them.
  ::_exit(128 + signal);
}

void LastTerminationCheckpoint() {
  if (GInstalled) {
    for (int signal : HandledSignals) std::signal(signal, SIG_DFL);
  }
  TerminationCheckpoint();
}
