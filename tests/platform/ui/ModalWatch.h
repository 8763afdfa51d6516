// Tests of windows that wait in a modal dialog: acts on the dialog once it is on screen, as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>

class TModalWatch {
 public:
  // Calls action with the first modal widget that appears; fails the test when none appears within
  // five seconds. A new start replaces the action of an earlier one.
  void Start(std::function<void(QWidget*)> action) {
    FAction = std::move(action);
    FAttempts = 0;
    QObject::disconnect(&FTimer, nullptr, nullptr, nullptr);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Poll(); });
    FTimer.setInterval(10);
    FTimer.start();
  }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      if (++FAttempts > 500) {
        FTimer.stop();
        ADD_FAILURE() << "no dialog appeared";
      }
      return;
    }
    FTimer.stop();
    FAction(modal);
  }

  QTimer FTimer;
  std::function<void(QWidget*)> FAction;
  int FAttempts = 0;
};
