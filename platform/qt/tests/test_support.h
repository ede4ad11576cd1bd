// Helpers shared by the Qt front-end's tests: a watchdog, and an answerer that records every
// message box as it opens and presses its OK button.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace tarvex::testing {

// Ends the process if a test hangs in a modal loop, long before CTest's own timeout.
inline void StartWatchdog(int milliseconds = 60000) {
  auto* watchdog = new QTimer(qApp);
  watchdog->setSingleShot(true);
  QObject::connect(watchdog, &QTimer::timeout, [] {
    std::fputs("watchdog: a test hung in an event loop\n", stderr);
    std::_Exit(3);
  });
  watchdog->start(milliseconds);
}

struct ShownMessage {
  QString Title;
  QString Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  int Buttons = 0;
};

// Answers message boxes with OK, the way a user would: a click on the button.
class MessageAnswerer final : public QObject {
 public:
  MessageAnswerer() { qApp->installEventFilter(this); }
  ~MessageAnswerer() override { qApp->removeEventFilter(this); }
  QList<ShownMessage> Messages;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* box = qobject_cast<QMessageBox*>(object)) {
        // Answered once the box's own event loop runs.
        QTimer::singleShot(0, box, [this, box = QPointer<QMessageBox>(box)] {
          if (!box) return;
          Messages.push_back({box->windowTitle(), box->text(), box->icon(),
                              static_cast<int>(box->buttons().size())});
          if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            QTest::mouseClick(ok, Qt::LeftButton);
          } else {
            box->reject();
          }
        });
      }
    }
    return false;
  }
};

}  // namespace tarvex::testing
