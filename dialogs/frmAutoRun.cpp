#include "dialogs/frmAutoRun.h"

#include <cstddef>
#include <string_view>
#include <utility>

#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "shell/character_file.h"
#include "shell/frmTarvexMain.h"
#include "shell/platform.h"

namespace tarvex {
namespace {

constexpr std::string_view kTitle = "Tarvex";
constexpr std::string_view kTimeFormat =
    "The time is not in the correct format.  Please fix it and try again.";
constexpr std::string_view kDateFormat =
    "The date is not in the correct format.  Please fix it and try again.";
constexpr std::string_view kNoCharacter = "You must load a character file.";

}  // namespace

frmAutoRun::frmAutoRun(Platform& platform, frmTarvexMain& main)
    : platform_(platform), main_(main) {}

const std::string* frmAutoRun::Box(std::string_view name) const {
  if (name == "txtTime") return &txtTime;
  if (name == "txtDate") return &txtDate;
  if (name == "txtCharacterFile") return &txtCharacterFile;
  if (name == "txtPassword") return &txtPassword;
  return nullptr;
}

bool frmAutoRun::Value(std::string_view name) const {
  if (name == "optKSTime") return optKSTime;
  if (name == "optRLTime") return optRLTime;
  return false;
}

void frmAutoRun::Click(std::string_view name) {
  if (name == "optKSTime") {
    optKSTime_Click();
  } else if (name == "optRLTime") {
    optRLTime_Click();
  } else if (name == "cmdLoad") {
    cmdLoad_Click();
  } else if (name == "cmdOK") {
    cmdOK_Click();
  } else if (name == "cmdCancel") {
    cmdCancel_Click();
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
  std::string chosen = platform_.ShowOpenFileDialog(CharacterFileRequest(GamePath));
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
    platform_.ShowMessage(failure, kTitle);
    return;
  }

  // The five settings and the check mark in one handler: no tick sees them half-made. The texts
  // are stored as typed; the menu command escapes them once the dialog has closed.
  main_.AutoRunKSTime = optKSTime;
  main_.AutoRunTime = txtTime;
  main_.AutoRunDate = txtDate;
  main_.AutoRunCharacter = txtCharacterFile;
  main_.AutoRunPassword = txtPassword;
  main_.SetChecked(MenuItem::AutoRunKestrune, true);
  Unload();
}

void frmAutoRun::cmdCancel_Click() {
  Unload();
}

}  // namespace tarvex
