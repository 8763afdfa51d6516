#include "platform/ui/QtRuntime.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QFont>
#include <QSocketNotifier>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/system/CommandLine.h"
#include "platform/system/TerminationSignals.h"

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

QtMessageHandler GPreviousHandler = nullptr;

// The runtime folder this process made for Qt; empty when the session gave one.
std::string GRuntimeFolder;

void RemoveRuntimeFolder() {
  if (GRuntimeFolder.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(GRuntimeFolder, ignored);
  GRuntimeFolder.clear();
}

// What Qt accepts as its runtime folder: a folder (not a link to one) of this user's, open to no one
// else.
bool UsableRuntimeFolder(const char* path) {
  struct stat info;
  return ::lstat(path, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
         (info.st_mode & 07777) == 0700;
}

// Without a usable XDG_RUNTIME_DIR (a run from cron, su or a service) Qt warns on standard error and
// falls back on a folder in /tmp shared by all runs of the user. Each run gets a private one instead,
// made afresh (mode 0700, owned by the user) and removed when the program ends, by a signal too.
void GiveQtARuntimeFolder() {
  const char* given = std::getenv("XDG_RUNTIME_DIR");
  if (given != nullptr && *given != '\0' && UsableRuntimeFolder(given)) return;
  const char* temp = std::getenv("TMPDIR");
  std::string folder = (temp != nullptr && *temp != '\0' ? std::string(temp) : std::string("/tmp")) + "/" +
                       ProgramName() + "-runtime-XXXXXX";
  // Where none can be made, Qt says itself what it uses instead.
  if (::mkdtemp(folder.data()) == nullptr) return;
  // Whatever the umask took away: Qt refuses a runtime folder of any other mode.
  ::chmod(folder.c_str(), 0700);
  GRuntimeFolder = folder;
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  std::atexit(RemoveRuntimeFolder);
  AddTerminationEndStep(RemoveRuntimeFolder);
}

// While the QApplication is made: a platform that cannot start (no display at the address given)
// means the program could not start, not that it crashed.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    GPreviousHandler(type, context, message);
    return;
  }
  std::fprintf(stderr, "%s: cannot start: %s\n", ProgramName().c_str(), message.toLocal8Bit().constData());
  std::fflush(stderr);
  RemoveRuntimeFolder();
  ::_exit(2);
}

// The signal handlers write a byte to their pipe; whatever loop runs then (the main loop, a message
// box's, a dialog's) wakes up and reaches the checkpoint.
void WatchTerminationSignals(QApplication* application) {
  const int pipe = TerminationSignalPipe();
  if (pipe < 0) return;
  auto* notifier = new QSocketNotifier(pipe, QSocketNotifier::Read, application);
  QObject::connect(notifier, &QSocketNotifier::activated, application, [pipe] {
    char bytes[16];
    while (::read(pipe, bytes, sizeof bytes) > 0) {
    }
    TerminationCheckpoint();
  });
}

}  // namespace

bool ChooseOffscreenWhenNoDisplay() {
  if (IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return false;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  return true;
}

QApplication& EnsureQtApplication() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  ChooseOffscreenWhenNoDisplay();
  // Forms are laid out in pixels with fonts in pixels, as designed: no scaling for the screen's
  // resolution.
  if (!IsSet("QT_ENABLE_HIGHDPI_SCALING")) setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
  // The window class comes from argv[0] and the application name, the desktop entry from its file name.
  QCoreApplication::setApplicationName(QString::fromStdString(ProgramName()));
  QGuiApplication::setDesktopFileName(QString::fromStdString(ProgramName()));
  // Qt keeps references to argc and argv for the life of the application object.
  static int argc = 1;
  static std::string programName = ProgramName();
  static char* argv[] = {programName.data(), nullptr};
  GiveQtARuntimeFolder();
  GPreviousHandler = qInstallMessageHandler(StartupMessageHandler);
  // Never destroyed: Qt's own globals go at exit in an order a static application object cannot follow,
  // and the process's end frees everything anyway. The pointer keeps it reachable.
  static QApplication* application = new QApplication(argc, argv);
  // The application object sets the process locale from the environment; numbers are read and
  // written by the C library (strtod, printf) with a point, whatever the user's language.
  std::setlocale(LC_NUMERIC, "C");
  qInstallMessageHandler(GPreviousHandler);
  WatchTerminationSignals(application);
  // Every window uses the product's font unless its form says otherwise; pinned so that layouts do not
  // depend on the machine's desktop settings.
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  QApplication::setFont(font);
  return *application;
}

bool InvisiblePlatform() {
  if (QCoreApplication::instance() == nullptr) return false;
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}
