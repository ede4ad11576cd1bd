#include "platform/qt/dialog_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/qt/qt_text.h"

namespace tarvex {
namespace {

// The base units of a dialog, measured the way the classic dialog manager does: the mean width
// of the 52 Latin letters, and the font's full line height.
DialogUnits MeasureUnits(const QFont& font) {
  const QFontMetricsF metrics(font);
  static const QString letters =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return {metrics.horizontalAdvance(letters) / 52.0, metrics.height()};
}

Qt::Alignment ToQt(Align alignment) {
  switch (alignment) {
    case Align::Center:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case Align::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// Overwrites the characters of a string taken from a widget; data() first makes the block the
// string's own, so that only this copy is touched.
void Wipe(QString& text) {
  std::fill_n(text.data(), text.size(), QChar());
}

// `text` as a secret UTF-8 text; the bytes made on the way are wiped.
SecretText ToSecret(const QString& text) {
  QByteArray bytes = text.toUtf8();
  SecretText secret(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  std::fill_n(bytes.data(), bytes.size(), '\0');
  return secret;
}

}  // namespace

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
  const auto across = [this](int units) {
    return static_cast<int>(std::lround(units * CharWidth / 4));
  };
  const auto down = [this](int units) {
    return static_cast<int>(std::lround(units * CharHeight / 8));
  };
  const int left = across(x);
  const int top = down(y);
  // Right and bottom edges are converted as well, so that neighbours never overlap by rounding.
  return {left, top, across(x + width) - left, down(y + height) - top};
}

DialogWindow::DialogWindow(Dialog& dialog)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      dialog_(dialog),
      units_(MeasureUnits(font())) {
  setWindowTitle(ToQString(dialog_.Caption()));
  setAttribute(Qt::WA_DeleteOnClose, false);
  Build();
  ShowValues();
}

void DialogWindow::Build() {
  const QRect client = units_.ToPixels(0, 0, dialog_.Width(), dialog_.Height());
  setFixedSize(client.size());

  QWidget* previous = nullptr;  // the last control that takes the focus, for the tab order
  QWidget* first = nullptr;
  QGroupBox* frame = nullptr;
  for (const Control& control : dialog_.Controls()) {
    const QString name = ToQString(ControlName(control.Id));
    const ControlId id = control.Id;
    const QString caption = ToQString(control.Caption);
    QWidget* widget = nullptr;
    switch (control.Kind) {
      case ControlKind::Label: {
        auto* label = new QLabel(caption, this);
        label->setAlignment(ToQt(control.Alignment));
        // A label taller than one line of text wraps its words, like the instruction line.
        label->setWordWrap(control.Height >= 16);
        captions_.push_back({id, label});
        widget = label;
        break;
      }
      case ControlKind::TextBox: {
        auto* edit = new QLineEdit(this);
        if (control.MaxLength > 0) edit->setMaxLength(control.MaxLength);
        if (control.Password) {
          edit->setEchoMode(QLineEdit::Password);
          // Stars, as the dialogs promise, rather than the style's own dot.
          edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
        }
        boxes_.push_back({id, edit, control.Password});
        // What is typed is kept as it is typed, for the captions worded after it.
        connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
          dialog_.Edited(id, ToSecret(text).view());
          ShowCaptions();
        });
        widget = edit;
        break;
      }
      case ControlKind::Button: {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(true);
        button->setDefault(control.Default);
        connect(button, &QPushButton::clicked, this, [this, id] { Click(id); });
        widget = button;
        break;
      }
      case ControlKind::OptionButton:
      case ControlKind::CheckBox: {
        QAbstractButton* option = nullptr;
        if (control.Kind == ControlKind::CheckBox) {
          option = new QCheckBox(caption, this);
        } else {
          option = new QRadioButton(caption, this);
          option->setAutoExclusive(false);
        }
        // The dialog owns what is selected; the button only reports the click.
        options_.push_back({id, option});
        connect(option, &QAbstractButton::clicked, this, [this, id] { Click(id); });
        widget = option;
        break;
      }
      case ControlKind::Frame: {
        // The controls drawn inside the frame are the dialog's children, positioned in the
        // dialog's own units; the frame is drawn beneath them.
        frame = new QGroupBox(caption, this);
        widget = frame;
        break;
      }
    }
    widget->setObjectName(name);
    widget->setGeometry(units_.ToPixels(control.X, control.Y, control.Width, control.Height));
    if (widget->focusPolicy() & Qt::TabFocus) {
      if (previous) QWidget::setTabOrder(previous, widget);
      if (!first) first = widget;
      previous = widget;
    }
  }
  if (frame) frame->lower();
  if (first) first->setFocus(Qt::OtherFocusReason);
}

QWidget* DialogWindow::Widget(const QString& name) const {
  return findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

SecretText DialogWindow::Typed(ControlId box) const {
  for (const Box& each : boxes_) {
    if (each.Id != box) continue;
    QString text = each.Edit->text();
    SecretText typed = ToSecret(text);
    Wipe(text);
    return typed;
  }
  return {};
}

void DialogWindow::ShowValues() {
  for (const Box& box : boxes_) {
    if (box.Secret) continue;  // shows what was typed, which is what the dialog holds
    const QString text = ToQString(dialog_.Text(box.Id));
    // Only a changed text is put back, so the caret stays where the user left it.
    if (box.Edit->text() != text) box.Edit->setText(text);
  }
  for (const Option& option : options_) option.Button->setChecked(dialog_.Value(option.Id));
  ShowCaptions();
}

void DialogWindow::ShowCaptions() {
  for (const Caption& caption : captions_) {
    const QString text = ToQString(dialog_.LabelCaption(caption.Id));
    if (caption.Label->text() != text) caption.Label->setText(text);
  }
}

void DialogWindow::Settle() {
  if (!dialog_.Closed()) {
    ShowValues();
    if (const std::optional<ControlId> box = dialog_.TakeFocus()) Select(*box);
  } else if (isVisible()) {
    done(QDialog::Rejected);
  }
}

void DialogWindow::Select(ControlId box) {
  for (const Box& each : boxes_) {
    if (each.Id != box) continue;
    activateWindow();  // back from the message box that said why
    each.Edit->setFocus(Qt::OtherFocusReason);
    each.Edit->selectAll();
  }
}

void DialogWindow::Click(ControlId id) {
  dialog_.Press(id, [this](ControlId box) { return Typed(box); });
  Settle();
}

void DialogWindow::Cancel() {
  dialog_.Escape([this](ControlId box) { return Typed(box); });
  Settle();
}

void DialogWindow::reject() {
  Cancel();
}

void DialogWindow::done(int result) {
  ClearSecrets();
  QDialog::done(result);
}

void DialogWindow::ClearSecrets() {
  // setText, unlike clear, also forgets the edits kept for undo.
  for (const Box& box : boxes_) {
    if (box.Secret) box.Edit->setText(QString());
  }
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  if (!dialog_.Closed()) Cancel();
  if (dialog_.Closed()) {
    ClearSecrets();
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace tarvex
