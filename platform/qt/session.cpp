#include "platform/qt/session.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#include "engine/log.h"

namespace tarvex {
namespace {

constexpr std::array kTerminationSignals = {SIGTERM, SIGINT, SIGHUP};
int signalPipe[2] = {-1, -1};  // [0] read by the event loop, [1] written by the handler

extern "C" void OnTerminationSignal(int number) {
  const int saved = errno;
  const char byte = static_cast<char>(number);
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

namespace {

QString RuntimeFile(const QString& name) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return QDir(folder).filePath(name);
}

}  // namespace

QString InstanceLockPath() {
  return RuntimeFile(QStringLiteral("tarvex.lock"));
}

QString InstanceChannelPath() {
  return RuntimeFile(QStringLiteral("tarvex.socket"));
}

SingleInstance::SingleInstance(const QString& lockPath) : lock_(lockPath) {
  // Never stale by age: only a lock whose process is gone is taken over.
  lock_.setStaleLockTime(0);
}

bool SingleInstance::Acquire() {
  return lock_.tryLock(0);
}

// A signal without its handler ends the program as the system's default does, without saving the
// pair.
TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    Warn(std::string("A termination signal will not save the pair, no pipe for it: ") +
         std::strerror(errno));
    return;
  }
  notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Drain);
  struct sigaction action = {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int number : kTerminationSignals) {
    if (sigaction(number, &action, nullptr) != 0) {
      Warn("Signal " + std::to_string(number) +
           " will not save the pair, its handler was refused: " + std::strerror(errno));
    }
  }
}

TerminationSignals::~TerminationSignals() {
  if (!notifier_) return;
  for (const int number : kTerminationSignals) ::signal(number, SIG_DFL);
  ::close(signalPipe[0]);
  ::close(signalPipe[1]);
  signalPipe[0] = signalPipe[1] = -1;
}

void TerminationSignals::Drain() {
  char byte = 0;
  while (::read(signalPipe[0], &byte, 1) == 1) emit Received(static_cast<unsigned char>(byte));
}

}  // namespace tarvex
