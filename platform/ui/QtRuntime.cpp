#include "platform/ui/QtRuntime.h"

#include <QApplication>
#include <QFont>
#include <cstdlib>

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
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
  // Qt keeps references to argc and argv for the life of the application object.
  static int argc = 1;
  static char programName[] = "qvapp";
  static char* argv[] = {programName, nullptr};
  // Never destroyed: Qt's own globals go at exit in an order a static application object cannot follow,
  // and the process's end frees everything anyway. The pointer keeps it reachable.
  static QApplication* application = new QApplication(argc, argv);
  // Every window uses the product's font unless its form says otherwise; pinned so that layouts do not
  // depend on the machine's desktop settings.
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  QApplication::setFont(font);
  return *application;
}
