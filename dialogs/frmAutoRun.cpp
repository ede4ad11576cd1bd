#include "dialogs/frmAutoRun.h"

#include <string_view>
#include <utility>

#include "dialogs/character_file.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "tarvex_version.h"

namespace tarvex {
namespace {

constexpr std::string_view kTitle = kProductName;
constexpr std::string_view kTimeFormat =
    "The time is not in the correct format.  Please fix it and try again.";
constexpr std::string_view kDateFormat =
    "The date is not in the correct format.  Please fix it and try again.";
constexpr std::string_view kNoCharacter = "You must load a character file.";

}  // namespace

frmAutoRun::frmAutoRun(DialogHost& host, std::function<void(const AutoRunSettings&)> arm)
    : host_(host), arm_(std::move(arm)) {}

const std::string* frmAutoRun::Box(ControlId id) const {
  switch (id) {
    case ControlId::txtTime:
      return &txtTime;
    case ControlId::txtDate:
      return &txtDate;
    case ControlId::txtCharacterFile:
      return &txtCharacterFile;
    default:
      return nullptr;
  }
}

const SecretText* frmAutoRun::SecretBox(ControlId id) const {
  return id == ControlId::txtPassword ? &txtPassword : nullptr;
}

bool frmAutoRun::Value(ControlId id) const {
  return (id == ControlId::optKSTime && optKSTime) || (id == ControlId::optRLTime && optRLTime);
}

void frmAutoRun::Click(ControlId id) {
  switch (id) {
    case ControlId::optKSTime:
      return optKSTime_Click();
    case ControlId::optRLTime:
      return optRLTime_Click();
    case ControlId::cmdLoad:
      return cmdLoad_Click();
    case ControlId::cmdOK:
      return cmdOK_Click();
    case ControlId::cmdCancel:
      return cmdCancel_Click();
    default:
      return;
  }
}

void frmAutoRun::optKSTime_Click() {
  optKSTime = true;
  optRLTime = false;
}

void frmAutoRun::optRLTime_Click() {
  optRLTime = true;
  optKSTime = false;
}

void frmAutoRun::cmdLoad_Click() {
  std::string chosen = host_.ShowOpenFileDialog(CharacterFileRequest(GamePath));
  if (!chosen.empty()) txtCharacterFile = std::move(chosen);  // a cancel keeps the box's text
}

void frmAutoRun::cmdOK_Click() {
  std::string_view failure;
  if (!IsArmableTime(txtTime)) {
    failure = kTimeFormat;
  } else if (!IsArmableDate(txtDate)) {
    failure = kDateFormat;
  } else if (txtCharacterFile.empty()) {
    failure = kNoCharacter;
  }
  if (!failure.empty()) {
    host_.ShowMessage(failure, kTitle);
    return;
  }
  // The five settings and the check mark in one handler: no tick sees them half-made.
  arm_({optKSTime, txtDate, txtTime, txtPassword, txtCharacterFile});
  Unload();
}

void frmAutoRun::cmdCancel_Click() {
  Unload();
}

}  // namespace tarvex
