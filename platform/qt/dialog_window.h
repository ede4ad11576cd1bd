// One window for any of the presenters' dialogs: the widgets are built from Dialog::Controls(),
// every click goes to the dialog, and what the dialog holds afterwards is shown again. The window
// decides nothing itself.
#pragma once

#include <QDialog>
#include <QRect>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/dialog.h"

class QLabel;
class QLineEdit;
class QAbstractButton;
class QWidget;

namespace tarvex {

// Converts dialog units (a quarter of the average character width across, an eighth of the
// character height down) into pixels for the window's font.
struct DialogUnits {
  double CharWidth = 0;   // average width of a character, pixels
  double CharHeight = 0;  // height of a line of text, pixels
  QRect ToPixels(int x, int y, int width, int height) const;
};

class DialogWindow final : public QDialog {
  Q_OBJECT

 public:
  explicit DialogWindow(Dialog& dialog);

  Dialog& dialog() { return dialog_; }
  const DialogUnits& units() const { return units_; }
  // The widget of control `name`, or nullptr.
  QWidget* Widget(const QString& name) const;

  // A press of button or option button `id`: the dialog handles it, then the window shows its
  // values again, or finishes once the dialog has closed.
  void Click(ControlId id);
  // Escape, the close box and closing from outside all end here.
  void Cancel();
  // Every way the window finishes: the secret boxes are emptied first.
  void done(int result) override;

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Box {
    ControlId Id;
    QLineEdit* Edit;
    bool Secret;  // a password's box
  };
  struct Option {
    ControlId Id;
    QAbstractButton* Button;
  };
  struct Caption {
    ControlId Id;
    QLabel* Label;
  };

  void Build();
  SecretText Typed(ControlId box) const;
  // Empties the secret boxes' widgets.
  void ClearSecrets();
  void ShowValues();
  // The labels' captions as the dialog words them now.
  void ShowCaptions();
  // After a press: the values shown again and the focus where the dialog asks, or the window
  // finished.
  void Settle();
  // The keyboard focus on text box `box`, its whole text selected.
  void Select(ControlId box);

  Dialog& dialog_;
  DialogUnits units_;
  std::vector<Box> boxes_;
  std::vector<Option> options_;
  std::vector<Caption> captions_;
};

}  // namespace tarvex
