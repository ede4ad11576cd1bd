// The moon alarms dialog: which moons, how long before, at the start, with a sound.
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

  bool chkGoodMoon = true;
  bool chkBadMoon = true;
  bool chkWarn = true;
  bool chkAtStart = true;
  bool chkSound = true;
  std::string txtWarningMinutes;

 private:
  const std::string* Box(ControlId id) const override;
  // The settings as the controls show them; none when the minutes are not a whole number from 0
  // to the most there may be.
  std::optional<AlarmSettings> Shown() const;
  // Shown(), or the refusal of OK and "Try It": the message, and the focus on the minutes box.
  std::optional<AlarmSettings> Checked();

  DialogHost& host_;
  std::function<bool(const AlarmSettings&)> save_;
  std::function<void(const AlarmSettings&)> tryIt_;
};

}  // namespace tarvex
