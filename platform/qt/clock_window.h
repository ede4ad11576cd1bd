// The clock window on a Qt desktop: it draws the presenter's face and forwards the close box, the
// moves and the menu requests (right button, menu button); it decides nothing itself.
#pragma once

#include <QIcon>
#include <QPoint>
#include <QWidget>
#include <functional>

#include "shell/platform.h"

class QLabel;
class QToolButton;

namespace tarvex {

class ClockWindow final : public QWidget {
  Q_OBJECT

 public:
  struct Events {
    std::function<void()> Close;              // the close box
    std::function<void(WindowCorner)> Moved;  // the window's inner corner moved
    std::function<void()> Menu;               // the right button or the menu button
  };
  explicit ClockWindow(Events events);

  // Shows `face` with `moon`, the moon's picture, drawn for the screen's pixel ratio.
  void Draw(const ClockFace& face, const QIcon& moon);
  // Puts the hidden window's inner top-left corner (below the title bar) at `corner`.
  void PlaceAt(QPoint corner);
  // Whether the desktop tells where a window is (not on Wayland): only then are moves reported.
  void SetReportsMoves(bool reports) { reportsMoves_ = reports; }

  // The labels, for tests: the notice, the time and each moon's line.
  QLabel* Notice() const { return notice_; }
  QLabel* Time() const { return time_; }
  QLabel* Moons() const { return moons_; }
  QToolButton* MenuButton() const { return menuButton_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void DrawMoon();

  Events events_;
  QLabel* picture_;
  QLabel* notice_;
  QLabel* time_;
  QLabel* moons_;
  QToolButton* menuButton_;
  QIcon moon_;
  bool reportsMoves_ = true;
  bool screenWatched_ = false;
  bool settled_ = false;  // shown long enough for a window manager to have framed it
};

}  // namespace tarvex
