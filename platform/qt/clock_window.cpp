#include "platform/qt/clock_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMoveEvent>
#include <QShowEvent>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <utility>

#include "platform/qt/qt_text.h"
#include "tarvex_version.h"

namespace tarvex {
namespace {

constexpr int kMoonSize = 64;    // device-independent pixels
constexpr int kSettleMs = 1000;  // for a window manager to frame a window just shown

QLabel* NewLabel(QWidget* parent, double scale, bool bold) {
  auto* label = new QLabel(parent);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * scale);
  font.setBold(bold);
  label->setFont(font);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(false);  // each line whole: the window grows to hold it
  return label;
}

}  // namespace

ClockWindow::ClockWindow(Events events) : events_(std::move(events)) {
  setWindowTitle(QString::fromUtf8(kProductName));
  setObjectName(QStringLiteral("ClockWindow"));
  // The palette, the fonts and the colours are the desktop's, light or dark.
  picture_ = new QLabel(this);
  picture_->setFixedSize(kMoonSize, kMoonSize);
  notice_ = NewLabel(this, 1.0, true);
  time_ = NewLabel(this, 1.6, true);
  moons_ = NewLabel(this, 1.0, false);
  menuButton_ = new QToolButton(this);
  menuButton_->setText(QStringLiteral("\u2630"));  // ☰
  menuButton_->setToolTip(QStringLiteral("Menu"));
  menuButton_->setAutoRaise(true);
  connect(menuButton_, &QToolButton::clicked, this, [this] {
    // Queued: the button's own press handling ends before the menu's event loop starts.
    QTimer::singleShot(0, this, [this] { events_.Menu(); });
  });

  auto* lines = new QVBoxLayout;
  lines->addWidget(notice_);
  lines->addWidget(time_);
  lines->addWidget(moons_);
  lines->addStretch();
  auto* corner = new QVBoxLayout;
  corner->addWidget(menuButton_);
  corner->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(picture_, 0, Qt::AlignTop);
  layout->addSpacing(8);
  layout->addLayout(lines, 1);
  layout->addLayout(corner);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // as large as its lines, never cut
}

void ClockWindow::Draw(const ClockFace& face, const QIcon& moon) {
  notice_->setVisible(!face.Notice.empty());
  notice_->setText(ToQString(face.Notice));
  time_->setText(ToQString(face.Time));
  QStringList moons;
  for (const std::string& line : face.Moons) moons << ToQString(line);
  moons_->setText(moons.join(u'\n'));
  if (moon.cacheKey() != moon_.cacheKey()) {
    moon_ = moon;
    DrawMoon();
  }
}

void ClockWindow::DrawMoon() {
  // Drawn from the largest picture for this screen's pixels: sharp at any scale.
  picture_->setPixmap(moon_.pixmap(QSize(kMoonSize, kMoonSize), devicePixelRatioF()));
}

void ClockWindow::closeEvent(QCloseEvent* event) {
  event->ignore();  // the presenter decides: hidden, or the program ends
  events_.Close();
}

void ClockWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // While a window manager frames a window just shown, Qt reports places it has not learnt yet.
  if (reportsMoves_ && isVisible() && settled_) events_.Moved({geometry().x(), geometry().y()});
}

void ClockWindow::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  QTimer::singleShot(0, this, [this] { events_.Menu(); });
}

void ClockWindow::PlaceAt(QPoint corner) {
  // The inner corner, as moves report it: a window placed before it is framed has no frame to
  // count yet, so a frame's corner would come back moved by the frame at every start.
  if (!windowHandle()) create();
  windowHandle()->setPosition(corner);
}

void ClockWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  settled_ = false;
  QTimer::singleShot(kSettleMs, this, [this] { settled_ = isVisible(); });
  if (screenWatched_ || !windowHandle()) return;
  screenWatched_ = true;
  // On a screen of another pixel ratio the moon is drawn again for it.
  connect(windowHandle(), &QWindow::screenChanged, this, [this] { DrawMoon(); });
  DrawMoon();
}

}  // namespace tarvex
