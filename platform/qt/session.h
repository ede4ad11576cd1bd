// The program's place in the user's session: one instance at a time, and an orderly end when
// the session or a signal asks the program to stop.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace tarvex {

// The lock that keeps a second Tarvex from starting in the same session: tarvex.lock in the
// user's runtime folder ($XDG_RUNTIME_DIR).
QString InstanceLockPath();
// Where the running Tarvex listens for later starts in the same session: tarvex.socket beside the
// lock. A later start writes "show" and a line end; the running one answers "shown" once its
// clock window is shown and raised.
QString InstanceChannelPath();

class SingleInstance {
 public:
  explicit SingleInstance(const QString& lockPath);
  // True when this is the only instance; the lock is held until this object is destroyed.
  // A lock left behind by an instance that died is taken over.
  [[nodiscard]] bool Acquire();

 private:
  QLockFile lock_;
};

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the event loop, through a pipe written by
// the handler (the only thing a signal handler may safely do). One instance per process.
class TerminationSignals final : public QObject {
  Q_OBJECT

 public:
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;

 signals:
  void Received(int signal);

 private:
  void Drain();
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tarvex
