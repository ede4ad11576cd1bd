// The moon alarms' alerts as the desktop's notifications: org.freedesktop.Notifications.Notify on
// the session bus, or the tray icon's own message where no notification server takes them.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <string>

#include "shell/platform.h"

namespace tarvex {

class DesktopNotifications final : public QObject {
 public:
  // `fallback` shows an alert the tray's own way. It is called when there is no session bus, when
  // no notification server answers on it, or when the server refuses the alert.
  explicit DesktopNotifications(std::function<void(const MoonAlert&)> fallback);

  // Sends `alert` to the notification server, titled with the product's name and the moon's
  // picture, and returns at once; the fallback follows once the bus has told of a failure.
  void Show(const MoonAlert& alert);
  // Sends `alert` as Show does, but waits for the server's answer; false, and logged, when no
  // server took it. For a process that ends right afterwards and has no tray for a fallback.
  bool ShowAndWait(const MoonAlert& alert);

 private:
  // Shows `alert` through the fallback and logs `why` the desktop's notification was not used.
  void FallBack(const MoonAlert& alert, const std::string& why);
  // The picture `icon` (a moon's phase, else the application's) as a PNG file in the user's
  // cache folder, where the server can read it; written at its first use. Empty when it cannot
  // be written.
  QString PictureFile(int icon);

  std::function<void(const MoonAlert&)> fallback_;
  std::map<int, QString> pictures_;
};

}  // namespace tarvex
