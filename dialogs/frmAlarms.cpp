#include "dialogs/frmAlarms.h"

#include <string_view>
#include <utility>

#include "engine/modGeneral.h"
#include "tarvex_version.h"

namespace tarvex {
namespace {

constexpr std::string_view kTitle = kProductName;
constexpr std::string_view kMinutesFormat =
    "The warning minutes must be a whole number from 0 to 1440.  Please fix it and try again.";
// The minutes the box offers when no warning is set, for a user who turns it on.
constexpr int kSuggestedMinutes = 10;

}  // namespace

frmAlarms::frmAlarms(DialogHost& host, const AlarmSettings& settings,
                     std::function<bool(const AlarmSettings&)> save,
                     std::function<void(const AlarmSettings&)> tryIt)
    : chkGoodMoon(settings.GoodMoon),
      chkBadMoon(settings.BadMoon),
      chkWarn(settings.WarningMinutes > 0),
      chkAtStart(settings.AtStart),
      chkSound(settings.Sound),
      txtWarningMinutes(std::to_string(settings.WarningMinutes > 0 ? settings.WarningMinutes
                                                                   : kSuggestedMinutes)),
      host_(host),
      save_(std::move(save)),
      tryIt_(std::move(tryIt)) {}

const std::string* frmAlarms::Box(ControlId id) const {
  return id == ControlId::txtWarningMinutes ? &txtWarningMinutes : nullptr;
}

std::string frmAlarms::LabelCaption(ControlId id) const {
  if (id != ControlId::Label1) return Dialog::LabelCaption(id);
  return ReadWarningMinutes(txtWarningMinutes) == 1 ? "minute before" : "minutes before";
}

bool frmAlarms::Value(ControlId id) const {
  switch (id) {
    case ControlId::chkGoodMoon:
      return chkGoodMoon;
    case ControlId::chkBadMoon:
      return chkBadMoon;
    case ControlId::chkWarn:
      return chkWarn;
    case ControlId::chkAtStart:
      return chkAtStart;
    case ControlId::chkSound:
      return chkSound;
    default:
      return false;
  }
}

void frmAlarms::Click(ControlId id) {
  switch (id) {
    case ControlId::chkGoodMoon:
      chkGoodMoon = !chkGoodMoon;
      return;
    case ControlId::chkBadMoon:
      chkBadMoon = !chkBadMoon;
      return;
    case ControlId::chkWarn:
      chkWarn = !chkWarn;
      return;
    case ControlId::chkAtStart:
      chkAtStart = !chkAtStart;
      return;
    case ControlId::chkSound:
      chkSound = !chkSound;
      return;
    case ControlId::cmdOK:
      return cmdOK_Click();
    case ControlId::cmdCancel:
      return cmdCancel_Click();
    case ControlId::cmdTryIt:
      return cmdTryIt_Click();
    default:
      return;
  }
}

std::optional<AlarmSettings> frmAlarms::Shown() const {
  AlarmSettings settings{chkGoodMoon, chkBadMoon, 0, chkAtStart, chkSound};
  if (!chkWarn) return settings;  // the box's text plays no part
  const std::optional<int> minutes = ReadWarningMinutes(txtWarningMinutes);
  if (!minutes) return std::nullopt;
  settings.WarningMinutes = *minutes;
  return settings;
}

std::optional<AlarmSettings> frmAlarms::Checked() {
  std::optional<AlarmSettings> settings = Shown();
  if (!settings) {
    host_.ShowMessage(kMinutesFormat, kTitle);
    FocusBox(ControlId::txtWarningMinutes);
  }
  return settings;
}

void frmAlarms::cmdOK_Click() {
  const std::optional<AlarmSettings> settings = Checked();
  if (!settings) return;
  if (!save_(*settings)) {
    host_.ShowMessage("The moon alarms could not be saved to " + DataFolder() +
                          std::string(kSettingsFile) + ".  They hold until " + kProductName +
                          " closes.",
                      kTitle);
  }
  Unload();
}

void frmAlarms::cmdCancel_Click() {
  Unload();
}

void frmAlarms::cmdTryIt_Click() {
  if (const std::optional<AlarmSettings> settings = Checked()) tryIt_(*settings);
}

}  // namespace tarvex
