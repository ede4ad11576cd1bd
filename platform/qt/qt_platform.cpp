#include "platform/qt/qt_platform.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QMessageBox>
#include <QRect>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "engine/icons.h"
#include "engine/log.h"
#include "platform/autostart.h"
#include "platform/qt/clock_window.h"
#include "platform/qt/dialog_window.h"
#include "platform/qt/game_process.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/session.h"
#include "platform/qt/x11_input.h"
#include "platform/startup.h"
#include "shell/keystrokes.h"
#include "tarvex_version.h"

// The tray pictures are compiled into the front-end's library, which a program must ask for.
static void LoadTrayPictures() {
  Q_INIT_RESOURCE(tarvex);
}

namespace tarvex {
namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// How long a later start waits for the running Tarvex to connect and to answer.
constexpr int kAnswerMs = 3000;
const QByteArray kShowRequest = QByteArrayLiteral("show\n");
const QByteArray kShownAnswer = QByteArrayLiteral("shown\n");

bool OnWayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// The tray's mouse events as the presenter's mouse event codes.
std::optional<float> MouseCode(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Context:
      return kRightButtonUp;
    case QSystemTrayIcon::Trigger:
      return kLeftButtonUp;
    case QSystemTrayIcon::DoubleClick:
      return kLeftDoubleClick;
    case QSystemTrayIcon::MiddleClick:
      return kMiddleButtonUp;
    case QSystemTrayIcon::Unknown:
      break;
  }
  return std::nullopt;
}

// The item that DrawMenu drew as `action`.
std::optional<MenuItem> ItemOf(const QAction* action) {
  if (!action) return std::nullopt;
  return static_cast<MenuItem>(action->data().toInt());
}

// Draws `items` into `menu`, keeping the action of each item that it shows already: an open menu
// changes in place, its highlighted item stays when tip lines come or go above it, and a D-Bus
// tray is told only of what changed.
void DrawMenu(QMenu& menu, std::span<const MenuEntry> items) {
  const QList<QAction*> actions = menu.actions();
  auto next = actions.begin();  // the first action not drawn yet
  for (const MenuEntry& entry : items) {
    const auto same = std::find_if(next, actions.end(), [&entry](const QAction* action) {
      return ItemOf(action) == entry.Item;
    });
    QAction* action = nullptr;
    if (same == actions.end()) {  // a new entry
      action = new QAction(&menu);
      menu.insertAction(next == actions.end() ? nullptr : *next, action);
    } else {  // the actions before its own have gone from the menu
      std::for_each(next, same, [](QAction* gone) { delete gone; });
      action = *same;
      next = same + 1;
    }
    action->setSeparator(entry.Separator);
    action->setText(ToQString(entry.Caption));
    action->setCheckable(entry.Checkable || entry.Checked);
    action->setChecked(entry.Checked);
    action->setEnabled(!entry.Disabled);
    action->setData(static_cast<int>(entry.Item));
  }
  std::for_each(next, actions.end(), [](QAction* gone) { delete gone; });
}

// The tip with its CR LF line breaks as the tray's line breaks.
QString TipText(const TrayIcon& icon) {
  return ToQString(VisibleTip(icon)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

QtPlatform::QtPlatform()
    : notifications_([this](const MoonAlert& alert) {
        tray_.showMessage(QString::fromUtf8(kProductName), ToQString(alert.Text),
                          IconFor(alert.Icon));
      }) {
  LoadTrayPictures();
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (main_) main_->tmrUpdateTimes_Timer();
  });
  connect(&tray_, &QSystemTrayIcon::activated, this, &QtPlatform::OnTrayActivated);
  // Qt gives the menu a D-Bus form only when the tray is a D-Bus tray; an X11 tray would pop it
  // up on its own at the right button's press.
  tray_.setContextMenu(&trayMenu_);
  dbusMenu_ = trayMenu_.platformMenu() != nullptr;
  if (dbusMenu_) {
    connect(&trayMenu_, &QMenu::aboutToShow, this, &QtPlatform::OnTrayMenuOpening);
    // An item chosen while nothing waits (some trays close the menu first): its command runs.
    connect(&trayMenu_, &QMenu::triggered, this, [this](QAction* action) {
      if (trayMenuWaiting_) return;
      QTimer::singleShot(0, this, [this, item = ItemOf(action)] {
        if (main_ && main_->Running() && item) main_->MenuCommand(*item);
      });
    });
  } else {
    tray_.setContextMenu(nullptr);
  }
  clock_ = std::make_unique<ClockWindow>(ClockWindow::Events{
      .Close =
          [this] {
            if (main_) main_->ClockWindow_Close();
          },
      .Moved =
          [this](WindowCorner place) {
            if (main_) main_->ClockWindow_Moved(place);
          },
      .Menu =
          [this] {
            if (main_) main_->ClockWindow_Menu();
          },
  });
  clock_->SetReportsMoves(!OnWayland());  // a Wayland client is not told where it is
  typingEnd_.setSingleShot(true);
  typingEnd_.setInterval(kTypingEndMs);
  connect(&typingEnd_, &QTimer::timeout, this, &QtPlatform::EndTyping);
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::Attach(frmTarvexMain& main) {
  main_ = &main;
}

void QtPlatform::Shutdown() {
  if (main_) main_->Form_Unload();  // the first call saves; later ones do nothing
  tray_.hide();
  clock_->hide();
  for (const auto& [kind, window] : std::map(dialogs_)) CloseDialog(kind);
  QCoreApplication::exit(0);  // leaves nested loops too: menus, message boxes, dialogs
}

bool QtPlatform::Ending() const {
  return main_ && !main_->Running();
}

QIcon QtPlatform::IconFor(int number) {
  if (!IsMoonIcon(number)) number = kProgramIcon;  // kApplicationIcon and any other: the app
  if (const auto found = icons_.find(number); found != icons_.end()) return found->second;
  const QString stem =
      number == kProgramIcon ? QStringLiteral("app") : QStringLiteral("moon%1").arg(number);
  QIcon icon;
  for (const int size : kIconSizes) {
    icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(stem).arg(size), QSize(size, size));
  }
  return icons_.emplace(number, icon).first->second;
}

DialogWindow* QtPlatform::OpenDialog(DialogKind kind) const {
  const auto found = dialogs_.find(kind);
  return found == dialogs_.end() ? nullptr : found->second;
}

// --- Tray, timer, menu -------------------------------------------------------------------------

void QtPlatform::StartTimer(int intervalMs) {
  timer_.start(intervalMs);
}

void QtPlatform::StopTimer() {
  timer_.stop();
}

bool QtPlatform::NotifyIcon(TrayMessage message, const TrayIcon& icon) {
  // A D-Bus tray opens no empty menu, and one may show it without a word: it holds the menu
  // with the tip's present lines from the start.
  if (message != TrayMessage::Delete) DrawTrayMenu();
  switch (message) {
    case TrayMessage::Add:
      tray_.setIcon(IconFor(icon.Icon));
      tray_.setToolTip(TipText(icon));
      // Shown even without a tray: Qt docks the icon as soon as a tray appears.
      tray_.show();
      return QSystemTrayIcon::isSystemTrayAvailable();
    case TrayMessage::Modify: {
      const QString tip = TipText(icon);
      if (tray_.toolTip() != tip) tray_.setToolTip(tip);
      const QIcon picture = IconFor(icon.Icon);
      if (tray_.icon().cacheKey() != picture.cacheKey()) tray_.setIcon(picture);
      return true;
    }
    case TrayMessage::Delete:
      tray_.hide();
      return true;
  }
  return false;
}

void QtPlatform::BringToForeground() {
  // Nothing to do: a Qt popup menu grabs the pointer and closes on a click anywhere else.
}

std::optional<MenuItem> QtPlatform::ShowPopupMenu(std::span<const MenuEntry> items) {
  if (std::exchange(trayMenuOpening_, false)) return WaitOnTrayMenu(items);
  QMenu menu;
  DrawMenu(menu, items);
  QMenu* const outer = std::exchange(openMenu_, &menu);
  QAction* action = menu.exec(QCursor::pos());
  openMenu_ = outer;
  return ItemOf(action);
}

void QtPlatform::UpdateOpenMenu(std::span<const MenuEntry> items) {
  if (openMenu_) DrawMenu(*openMenu_, items);
}

void QtPlatform::DrawTrayMenu() {
  if (dbusMenu_ && main_ && !trayMenuWaiting_) DrawMenu(trayMenu_, main_->PopupMenu());
}

void QtPlatform::OnTrayMenuOpening() {
  if (!main_ || !main_->Running() || trayMenuWaiting_) return;
  // Drawn as it is now before the reply: the check marks that a command has changed.
  DrawTrayMenu();
  // The presenter's wait begins once the tray has its reply.
  QTimer::singleShot(0, this, [this] {
    if (!main_ || trayMenuWaiting_) return;
    trayMenuOpening_ = true;
    main_->Form_MouseMove(0, 0, kRightButtonUp, 0);
    trayMenuOpening_ = false;
  });
}

std::optional<MenuItem> QtPlatform::WaitOnTrayMenu(std::span<const MenuEntry> items) {
  DrawMenu(trayMenu_, items);
  std::optional<MenuItem> chosen;
  QEventLoop loop;
  connect(&trayMenu_, &QMenu::aboutToHide, &loop, &QEventLoop::quit);
  connect(&trayMenu_, &QMenu::triggered, &loop, [&chosen, &loop](QAction* action) {
    chosen = ItemOf(action);
    loop.quit();
  });
  QMenu* const outer = std::exchange(openMenu_, &trayMenu_);
  trayMenuWaiting_ = true;
  // This wait begins inside a posted event; the loop below delivers only what is posted after
  // it, so the tray's calls that came meanwhile (its GetLayout) are answered first.
  QCoreApplication::sendPostedEvents();
  if (!Ending()) loop.exec();
  trayMenuWaiting_ = false;
  openMenu_ = outer;
  return chosen;
}

void QtPlatform::OnTrayActivated(QSystemTrayIcon::ActivationReason reason) {
  const std::optional<float> code = MouseCode(reason);
  if (!code) return;
  // Queued, so that the tray's own mouse handling ends before the menu's event loop starts.
  QTimer::singleShot(0, this, [this, x = *code] {
    if (main_) main_->Form_MouseMove(0, 0, x, 0);
  });
}

// --- Messages and dialogs ----------------------------------------------------------------------

void QtPlatform::ShowMessage(std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(title.empty() ? kProductName : title),
                  ToQString(text), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::string QtPlatform::ShowOpenFileDialog(const FileOpenRequest& request) {
  QString folder = ToQString(request.InitialFolder);
  if (!request.FileName.empty()) folder = QDir(folder).filePath(ToQString(request.FileName));
  // Qt takes the pattern from the parentheses at the end of the one text it shows.
  const QString filter = ToQString(request.FilterText);
  if (chooser_) return QDir::toNativeSeparators(chooser_(folder, filter)).toStdString();
  QFileDialog dialog(nullptr, ToQString(request.Title), folder, filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // A desktop's own file dialog places itself; Qt's is put in the middle of the screen.
  dialog.adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

std::string QtPlatform::HomeFolder() {
  return QDir::toNativeSeparators(QDir::homePath() + u'/').toStdString();
}

void QtPlatform::ShowDialog(Dialog& dialog) {
  const DialogKind kind = dialog.Kind();
  DialogWindow window(dialog);
  DialogWindow* const outer = OpenDialog(kind);
  dialogs_[kind] = &window;
  // A local loop rather than an application-modal one: the tray icon and its menu stay usable
  // while the dialog is open, and the presenter decides what they may do meanwhile.
  QEventLoop loop;
  connect(&window, &QDialog::finished, &loop, &QEventLoop::quit);
  window.show();
  window.raise();
  window.activateWindow();
  if (!dialog.Closed() && !Ending()) loop.exec();
  window.hide();
  if (outer) {
    dialogs_[kind] = outer;
  } else {
    dialogs_.erase(kind);
  }
  if (!dialog.Closed()) dialog.Unload();  // the program is ending
}

void QtPlatform::ActivateMessage(std::string_view title) {
  const QString wanted = title.empty() ? QStringLiteral("Tarvex") : ToQString(title);
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (box == nullptr || !box->isVisible() || box->windowTitle() != wanted) continue;
    box->raise();
    box->activateWindow();
  }
}

void QtPlatform::ActivateDialog(DialogKind kind) {
  if (DialogWindow* window = OpenDialog(kind)) {
    window->show();
    window->raise();
    window->activateWindow();
  }
}

void QtPlatform::CloseDialog(DialogKind kind) {
  DialogWindow* window = OpenDialog(kind);
  if (!window) return;
  window->dialog().Unload();
  window->done(QDialog::Rejected);
}

void QtPlatform::ShowAlert(const MoonAlert& alert) {
  notifications_.Show(alert);
}

void QtPlatform::CloseMainWindow() {
  Shutdown();
}

// --- The game ------------------------------------------------------------------------------------

std::optional<std::string> QtPlatform::FindNormalFile(const std::string& path) {
  const std::optional<QString> name = NormalFileName(QString::fromStdString(path));
  if (!name) return std::nullopt;
  return name->toStdString();
}

std::optional<ProcessId> QtPlatform::StartProgram(const std::string& path,
                                                  const std::string& workingFolder,
                                                  int /*showWindow*/) {
  // Wine takes no show-window code from its command line: the game opens its window its own way.
  return StartUnderWine(FindWine(), QString::fromStdString(path),
                        QString::fromStdString(workingFolder));
}

std::string QtPlatform::KeystrokeLimitation() {
  // The game runs under Wine as an X client, on X11 or on Wayland's Xwayland, and its log-in is
  // typed there through X's own display, whatever Qt draws on.
  if (!x11::DisplayReachable()) {
    return std::string(kProductName) +
           " cannot type the log-in on this desktop: it needs an X display (X11, or Xwayland on "
           "Wayland).";
  }
  if (!x11::HasXTest()) {
    return std::string(kProductName) +
           " cannot type the log-in: the X server lacks the XTEST extension.";
  }
  if (FindWine().isEmpty()) {
    return std::string(kProductName) +
           " cannot start the game: no Wine was found. Install Wine or set TARVEX_WINE.";
  }
  return {};
}

bool QtPlatform::FocusBelongsTo(ProcessId process) {
  const std::optional<std::uint64_t> owner = x11::FocusedWindowProcess();
  return owner && IsSameOrDescendant(*owner, process);
}

void QtPlatform::PlayKeystrokes(std::string_view keys) {
  typingEnd_.start();
  if (!typingFailure_.empty()) return;  // a text of this log-in was not typed: nor is the rest
  if (!keyboard_) keyboard_ = std::make_unique<x11::Keyboard>();
  typingFailure_ = keyboard_->Type(ParseKeystrokes(keys).keys());
}

void QtPlatform::EndTyping() {
  if (keyboard_) keyboard_->Release();
  if (const std::string failure = std::exchange(typingFailure_, {}); !failure.empty()) {
    ShowMessage(failure, kProductName);
  }
}

// --- The clock window and later starts --------------------------------------------------------

void QtPlatform::ShowClockWindow(std::optional<WindowCorner> place, bool raise) {
  if (place && !clock_->isVisible()) clock_->move(place->Left, place->Top);
  clock_->show();
  if (!raise) return;
  clock_->raise();
  clock_->activateWindow();
}

void QtPlatform::HideClockWindow() {
  clock_->hide();
}

void QtPlatform::DrawClockWindow(const ClockFace& face) {
  clock_->Draw(face, IconFor(face.Icon));
}

bool QtPlatform::CanStayOnTop() {
  return !OnWayland();  // a Wayland client cannot ask to stay above others
}

void QtPlatform::SetClockWindowOnTop(bool onTop) {
  const bool shown = clock_->isVisible();
  clock_->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);  // hides a shown window
  if (shown) clock_->show();
}

std::vector<ScreenArea> QtPlatform::ScreenAreas() {
  std::vector<ScreenArea> areas;
  if (OnWayland()) return areas;  // no global coordinates
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect area = screen->availableGeometry();
    areas.push_back({area.x(), area.y(), area.width(), area.height()});
  }
  return areas;
}

bool QtPlatform::ListenForLaterStarts() {
  auto* server = new QLocalServer(this);
  const QString path = InstanceChannelPath();
  QLocalServer::removeServer(path);  // left by a Tarvex that died: the lock is ours now
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(path)) {
    Warn("A later start cannot bring this Tarvex forward: " + server->errorString().toStdString());
    delete server;
    return false;
  }
  connect(server, &QLocalServer::newConnection, this, [this, server] {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine()) return;
        if (socket->readLine() != kShowRequest || !main_ || !main_->Running()) {
          socket->disconnectFromServer();
          return;
        }
        main_->StartedAgain();
        socket->write(kShownAnswer);
        socket->flush();
        socket->disconnectFromServer();
      });
    }
  });
  return true;
}

bool QtPlatform::BringRunningForward() {
  QLocalSocket socket;
  socket.connectToServer(InstanceChannelPath());
  if (!socket.waitForConnected(kAnswerMs)) return false;  // a Tarvex that does not listen
  socket.write(kShowRequest);
  if (!socket.waitForBytesWritten(kAnswerMs)) return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(kAnswerMs)) return false;
  }
  return socket.readLine() == kShownAnswer;
}

void QtPlatform::ShowNotice(std::string_view text) {
  if (!notifications_.ShowAndWait({std::string(text), kProgramIcon, false}))
    std::fprintf(stderr, "tarvex: %.*s\n", static_cast<int>(text.size()), text.data());
}

// --- The log-in entry ---------------------------------------------------------------------------

bool QtPlatform::StartsAtLogIn() {
  return LogInEntryStarts(RunningProgram());
}

Result QtPlatform::SetStartAtLogIn(bool on) {
  return on ? WriteLogInEntry(RunningProgram()) : DeleteLogInEntry();
}

}  // namespace tarvex
