// Helpers shared by the Qt front-end's tests: a watchdog, and an answerer that records every
// message box as it opens and closes it.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace tarvex::testing {

// Ends the process if a test hangs in a modal loop, long before CTest's own timeout.
inline void StartWatchdog(int milliseconds = 60000) {
  QTimer::singleShot(milliseconds, qApp, [] {
    std::fputs("watchdog: a test hung in an event loop\n", stderr);
    std::_Exit(3);
  });
}

// Notes each message box that opens and closes it again, as OK would.
class MessageAnswerer final : public QObject {
 public:
  MessageAnswerer() { qApp->installEventFilter(this); }
  ~MessageAnswerer() override { qApp->removeEventFilter(this); }
  QStringList Messages;  // "title, N button, icon" for each box shown

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(object);
    if (!box || event->type() != QEvent::Show) return false;
    QTimer::singleShot(0, box, [this, box] {  // once the box's own event loop runs
      Messages << QStringLiteral("%1, %2 button, %3")
                      .arg(box->windowTitle(), QString::number(box->buttons().size()),
                           box->icon() == QMessageBox::NoIcon ? "no icon" : "icon");
      box->done(QMessageBox::Ok);
    });
    return false;
  }
};

}  // namespace tarvex::testing
