// The one Qt application object of the process, made on first use, on a platform that can run here.
#pragma once

class QApplication;

// With no display (no DISPLAY, no WAYLAND_DISPLAY) and no platform chosen by QT_QPA_PLATFORM, Qt would
// abort trying to reach an X server; choose its offscreen platform instead. True when it chose it.
bool ChooseOffscreenWhenNoDisplay();

// The process's QApplication, created on the first call (after ChooseOffscreenWhenNoDisplay) and kept
// until the process ends, so that forms made and freed one after another share it. A QApplication the
// program made itself is used as it is. Once it exists, a termination signal (when the program installed
// their handlers) reaches the checkpoint from any event loop, a message box's or a dialog's too. A
// platform that cannot start (a display that cannot be reached) ends the process with status 2.
// Without a usable XDG_RUNTIME_DIR, Qt gets a runtime folder of the process's own, removed again when
// the process ends.
QApplication& EnsureQtApplication();

// True when the running Qt platform shows nothing to anyone (offscreen or minimal); false before the
// application exists.
bool InvisiblePlatform();
