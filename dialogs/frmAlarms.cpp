#include "dialogs/frmAlarms.h"

#include <cstddef>
#include <string_view>
#include <utility>

#include "engine/modGeneral.h"
#include "tarvex_version.h"

namespace tarvex {
namespace {

constexpr std::string_view kTitle = kProductName;
constexpr std::string_view kMinutesFormat =
    "The warning minutes must be a whole number from 0 to 1440.  Please fix it and try again.";
constexpr std::string_view kFixIt = "  Please fix it and try again.";
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
      chkAtEnd(settings.AtEnd),
      txtWarningMinutes(std::to_string(settings.WarningMinutes > 0 ? settings.WarningMinutes
                                                                   : kSuggestedMinutes)),
      txtRepeatMinutes(std::to_string(settings.RepeatMinutes)),
      txtQuietFrom(settings.QuietFrom),
      txtQuietTo(settings.QuietTo),
      txtGoodSound(settings.GoodSound),
      txtBadSound(settings.BadSound),
      host_(host),
      save_(std::move(save)),
      tryIt_(std::move(tryIt)) {}

const std::string* frmAlarms::Box(ControlId id) const {
  switch (id) {
    case ControlId::txtWarningMinutes:
      return &txtWarningMinutes;
    case ControlId::txtRepeatMinutes:
      return &txtRepeatMinutes;
    case ControlId::txtQuietFrom:
      return &txtQuietFrom;
    case ControlId::txtQuietTo:
      return &txtQuietTo;
    case ControlId::txtGoodSound:
      return &txtGoodSound;
    case ControlId::txtBadSound:
      return &txtBadSound;
    default:
      return nullptr;
  }
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
    case ControlId::chkAtEnd:
      return chkAtEnd;
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
    case ControlId::chkAtEnd:
      chkAtEnd = !chkAtEnd;
      return;
    case ControlId::cmdGoodSound:
      return cmdSound_Click(txtGoodSound);
    case ControlId::cmdBadSound:
      return cmdSound_Click(txtBadSound);
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

std::optional<AlarmSettings> frmAlarms::Shown(std::string* problem, ControlId* box) const {
  const auto refuse = [problem, box](std::string_view why, ControlId at) {
    if (problem != nullptr) *problem = why;
    if (box != nullptr) *box = at;
    return std::nullopt;
  };
  AlarmSettings settings{chkGoodMoon, chkBadMoon, 0, chkAtStart, chkSound};
  settings.AtEnd = chkAtEnd;
  // Without a warning the minutes and the repeat play no part.
  if (chkWarn) {
    const std::optional<int> minutes = ReadWarningMinutes(txtWarningMinutes);
    if (!minutes) return refuse(kMinutesFormat, ControlId::txtWarningMinutes);
    settings.WarningMinutes = *minutes;
    const std::optional<int> repeat = ReadWarningMinutes(txtRepeatMinutes);
    if (!repeat)
      return refuse(std::string(kRepeatFormat) + std::string(kFixIt), ControlId::txtRepeatMinutes);
    settings.RepeatMinutes = *repeat;
  } else {
    settings.RepeatMinutes = ReadWarningMinutes(txtRepeatMinutes).value_or(0);
  }
  // Both times, or neither.
  if (!txtQuietFrom.empty() || !txtQuietTo.empty()) {
    const std::optional<std::string> from = ReadClockTime(txtQuietFrom);
    const std::optional<std::string> to = ReadClockTime(txtQuietTo);
    if (!from || !to) {
      return refuse(std::string(kQuietFormat) + std::string(kFixIt),
                    from ? ControlId::txtQuietTo : ControlId::txtQuietFrom);
    }
    settings.QuietFrom = *from;
    settings.QuietTo = *to;
  }
  if (const std::optional<std::string> good = ReadSoundPath(txtGoodSound)) {
    settings.GoodSound = *good;
  } else {
    return refuse(std::string(kSoundFormat) + std::string(kFixIt), ControlId::txtGoodSound);
  }
  if (const std::optional<std::string> bad = ReadSoundPath(txtBadSound)) {
    settings.BadSound = *bad;
  } else {
    return refuse(std::string(kSoundFormat) + std::string(kFixIt), ControlId::txtBadSound);
  }
  return settings;
}

std::optional<AlarmSettings> frmAlarms::Checked() {
  std::string problem;
  ControlId box = ControlId::txtWarningMinutes;
  std::optional<AlarmSettings> settings = Shown(&problem, &box);
  if (!settings) {
    host_.ShowMessage(problem, kTitle);
    FocusBox(box);
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

void frmAlarms::cmdSound_Click(std::string& box) {
  const std::size_t slash = box.find_last_of("/\\");
  const std::string chosen = host_.ShowOpenFileDialog(
      {.Title = "Moon Alarm Sound",
       .FileName = slash == std::string::npos ? box : box.substr(slash + 1),
       .InitialFolder = slash == std::string::npos ? std::string() : box.substr(0, slash + 1),
       .FilterDescription = "Sound Files (*.wav) ",
       .FilterPattern = "*.wav",
       .FilterText = "Sound Files (*.wav)"});
  if (!chosen.empty()) box = chosen;
}

void frmAlarms::cmdCancel_Click() {
  Unload();
}

void frmAlarms::cmdTryIt_Click() {
  if (const std::optional<AlarmSettings> settings = Checked()) tryIt_(*settings);
}

}  // namespace tarvex
