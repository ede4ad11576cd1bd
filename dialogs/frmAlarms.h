// The moon alarms dialog: which moons, how long before and how often, at the start and the end,
// with a sound (the system's or a file of the player's), and the quiet hours without one.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "dialogs/dialog.h"
#include "engine/settings.h"

namespace tarvex {

class frmAlarms final : public Dialog {
 public:
  // Shows `settings`; on OK `save` is given the new ones and says whether they were kept. "Try It"
  // hands `tryIt` the settings as the boxes show them, once they pass OK's check.
  frmAlarms(DialogHost& host, const AlarmSettings& settings,
            std::function<bool(const AlarmSettings&)> save,
            std::function<void(const AlarmSettings&)> tryIt);

  DialogKind Kind() const override { return DialogKind::Alarms; }
  std::string_view Caption() const override { return "Moon Alarms"; }
  int Width() const override;
  int Height() const override;
  std::span<const Control> Controls() const override;
  bool Value(ControlId id) const override;
  // The label beside the minutes box counts what the box holds: "minute before" for 1.
  std::string LabelCaption(ControlId id) const override;
  void Click(ControlId id) override;

  void cmdOK_Click();
  void cmdCancel_Click();
  void cmdTryIt_Click();
  // "…" beside a sound's box: the file dialog for a *.wav, starting from the box's file.
  void cmdSound_Click(std::string& box);

  bool chkGoodMoon = true;
  bool chkBadMoon = true;
  bool chkWarn = true;
  bool chkAtStart = true;
  bool chkSound = true;
  bool chkAtEnd = false;
  std::string txtWarningMinutes;
  std::string txtRepeatMinutes;
  std::string txtQuietFrom;
  std::string txtQuietTo;
  std::string txtGoodSound;
  std::string txtBadSound;

 private:
  const std::string* Box(ControlId id) const override;
  // The settings as the controls show them; none when a box holds what cannot be taken, and then
  // `problem` (when given) says what, in the words of the message box, and `box` which box.
  std::optional<AlarmSettings> Shown(std::string* problem = nullptr,
                                     ControlId* box = nullptr) const;
  // Shown(), or the refusal of OK and "Try It": the message, and the focus on the box at fault.
  std::optional<AlarmSettings> Checked();

  DialogHost& host_;
  std::function<bool(const AlarmSettings&)> save_;
  std::function<void(const AlarmSettings&)> tryIt_;
};

}  // namespace tarvex
