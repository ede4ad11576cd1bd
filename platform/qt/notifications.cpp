#include "platform/qt/notifications.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QVariantMap>
#include <utility>

#include "engine/icons.h"
#include "engine/log.h"
#include "platform/qt/qt_text.h"
#include "tarvex_version.h"

namespace tarvex {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
// The sound of the freedesktop sound theme that a server plays for the alert.
const QString kSoundName = QStringLiteral("message-new-instant");
constexpr unsigned char kNormalUrgency = 1;  // 0 low, 1 normal, 2 critical
// The server's own display time, which the user may have set.
constexpr int kServerTimeout = -1;
// A server that has not answered by then is taken to be absent (it may be starting on demand).
constexpr int kReplyMs = 10000;
constexpr int kPictureSize = 128;

// The arguments of Notify: app name, id to replace, app icon, summary, body, actions, hints and
// the display time in milliseconds.
QVariantList NotifyArguments(const MoonAlert& alert, const QString& picture) {
  const QString title = QString::fromUtf8(kProductName);
  QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(kNormalUrgency)},
                    {QStringLiteral("desktop-entry"), QStringLiteral("tarvex")}};
  if (alert.Sound) {
    hints.insert(QStringLiteral("sound-name"), kSoundName);
  } else {
    hints.insert(QStringLiteral("suppress-sound"), true);
  }
  // The server drops a transient notification once shown, keeping it in no history.
  if (alert.Transient) hints.insert(QStringLiteral("transient"), true);
  QString appIcon = QStringLiteral("tarvex");  // the installed icon, when there is no picture
  if (!picture.isEmpty()) {
    // Servers that know the image hint show it; older ones show the app icon.
    appIcon = QUrl::fromLocalFile(picture).toString();
    hints.insert(QStringLiteral("image-path"), appIcon);
  }
  return {title, 0u, appIcon, title, ToQString(alert.Text), QStringList(), hints, kServerTimeout};
}

}  // namespace

DesktopNotifications::DesktopNotifications(std::function<void(const MoonAlert&)> fallback)
    : fallback_(std::move(fallback)) {}

void DesktopNotifications::Show(const MoonAlert& alert) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    FallBack(alert, "no session bus can be reached");
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService,
                                                     QStringLiteral("Notify"));
  call.setArguments(NotifyArguments(alert, PictureFile(alert.Icon)));
  // A server that is not running is started by the bus when it can be; the call fails only when
  // none can be had.
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kReplyMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, alert](QDBusPendingCallWatcher* finished) {
            finished->deleteLater();
            if (finished->isError()) {
              const QDBusError error = finished->error();
              FallBack(alert, "no notification server took it (" + error.name().toStdString() +
                                  ": " + error.message().toStdString() + ")");
            }
          });
}

bool DesktopNotifications::ShowAndWait(const MoonAlert& alert) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  QDBusMessage call =
      QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
  call.setArguments(NotifyArguments(alert, PictureFile(alert.Icon)));
  const QDBusMessage reply =
      bus.isConnected()
          ? bus.call(call, QDBus::Block, kReplyMs)
          : QDBusMessage::createError(QDBusError::Disconnected, QStringLiteral("no session bus"));
  if (reply.type() != QDBusMessage::ErrorMessage) return true;
  Warn("\"" + alert.Text + "\" was not shown: no notification server took it (" +
       reply.errorName().toStdString() + ": " + reply.errorMessage().toStdString() + ")");
  return false;
}

void DesktopNotifications::FallBack(const MoonAlert& alert, const std::string& why) {
  Warn("The moon alarm \"" + alert.Text + "\" was shown as the tray icon's own message: " + why);
  fallback_(alert);
}

QString DesktopNotifications::PictureFile(int icon) {
  if (const auto found = pictures_.find(icon); found != pictures_.end()) return found->second;
  const QString stem =
      IsMoonIcon(icon) ? QStringLiteral("moon%1").arg(icon) : QStringLiteral("app");
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  QString path = QDir(folder).filePath(stem + QStringLiteral(".png"));
  QFile picture(QStringLiteral(":/icons/%1-%2.png").arg(stem).arg(kPictureSize));
  QSaveFile file(path);
  if (folder.isEmpty() || !QDir().mkpath(folder) || !picture.open(QIODevice::ReadOnly) ||
      !file.open(QIODevice::WriteOnly) || file.write(picture.readAll()) != picture.size() ||
      !file.commit()) {
    path.clear();
  }
  return pictures_.emplace(icon, path).first->second;
}

}  // namespace tarvex
