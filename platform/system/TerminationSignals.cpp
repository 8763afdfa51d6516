#include "platform/system/TerminationSignals.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
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
// Set once the end steps have begun.
std::atomic<bool> GEnding{false};
static_assert(std::atomic<bool>::is_always_lock_free);
int GPipe[2] = {-1, -1};
std::vector<std::function<void()>> GEndSteps;

bool Installed() { return GPipe[0] >= 0; }

extern "C" void OnTerminationSignal(int signal) {
  int none = 0;
  if (!GSignal.compare_exchange_strong(none, signal)) {
    // A second signal before the ending has begun: the main thread is held where no checkpoint comes
    // (a call to a server that does not answer), so the signal takes its default action. While the end
    // steps run, further signals are dropped, so that the rollback finishes.
    if (!GEnding.load()) {
      std::signal(signal, SIG_DFL);
      std::raise(signal);
    }
    return;
  }
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
  SetHandlers();
}

void RetakeTerminationSignals() {
  if (Installed()) SetHandlers();
}

int TerminationSignalPipe() { return GPipe[0]; }

void AddTerminationEndStep(std::function<void()> step) { GEndSteps.push_back(std::move(step)); }

void TerminationCheckpoint() {
  // Relaxed: only the value matters, and the handler's write reaches this thread soon enough.
  const int signal = GSignal.load(std::memory_order_relaxed);
  if (signal == 0) return;
  // An end step that reaches a checkpoint again must not start the ending anew.
  if (GEnding.exchange(true)) return;
  // The wait the signal interrupted left EINTR behind, and the database engine retries some of its
  // calls for as long as errno says EINTR, even after they succeed: its detach would never end.
  errno = 0;
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

void WriteStandardError(std::string_view text) {
  while (!text.empty()) {
    pollfd watched[2] = {{STDERR_FILENO, POLLOUT, 0}, {GPipe[0], POLLIN, 0}};
    // Once the ending has begun, the signal is being acted on already.
    const nfds_t count = Installed() && !GEnding.load() ? 2 : 1;
    if (::poll(watched, count, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (count == 2 && (watched[1].revents & POLLIN) != 0) {
      TerminationCheckpoint();
      continue;
    }
    if ((watched[0].revents & POLLNVAL) != 0) return;  // no standard error to write to
    if (watched[0].revents == 0) continue;
    // A pipe that has room takes this much whole, without waiting.
    const ssize_t written = ::write(STDERR_FILENO, text.data(), std::min<std::size_t>(text.size(), PIPE_BUF));
    if (written < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

void LastTerminationCheckpoint() {
  if (Installed()) {
    for (int signal : HandledSignals) std::signal(signal, SIG_DFL);
  }
  TerminationCheckpoint();
}
