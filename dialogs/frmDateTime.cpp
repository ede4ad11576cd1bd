#include "dialogs/frmDateTime.h"

#include <string_view>

#include "engine/modGeneral.h"
#include "shell/platform.h"

namespace tarvex {
namespace {

constexpr std::string_view kTitle = "Tarvex";

}  // namespace

frmDateTime::frmDateTime(Platform& platform, CalibrationRecord& calibration)
    : platform_(platform), calibration_(calibration) {}

const std::string* frmDateTime::Box(std::string_view name) const {
  if (name == "txtRealTime") return &txtRealTime;
  if (name == "txtRealDate") return &txtRealDate;
  if (name == "txtZRDTime") return &txtZRDTime;
  if (name == "txtZRDDate") return &txtZRDDate;
  return nullptr;
}

void frmDateTime::Click(std::string_view name) {
  if (name == "cmdSetDateandTime") {
    cmdSetDateandTime_Click();
  } else if (name == "cmdCancel") {
    cmdCancel_Click();
  }
}

// The four texts are checked in the order of the rows, and only the first bad one is named. The
// real pair must also be a moment of the calendar, since the game clock counts from it; the game
// pair only needs the form, as the game clock carries any day up to 31 and any hour up to 24.
void frmDateTime::cmdSetDateandTime_Click() {
  // The boxes never hold more than their limit, whoever wrote into them.
  for (const std::string_view name : {"txtRealTime", "txtRealDate", "txtZRDTime", "txtZRDDate"}) {
    SetText(name, Text(name));
  }

  const std::string_view failure =
      CalibrationProblem(txtRealTime, txtRealDate, txtZRDTime, txtZRDDate);
  if (!failure.empty()) {
    platform_.ShowMessage(failure, kTitle);
    return;
  }

  // All four in one handler: no tick sees half a pair.
  calibration_.RealTime = txtRealTime;
  calibration_.RealDate = txtRealDate;
  calibration_.ZRDTime = txtZRDTime;
  calibration_.ZRDDate = txtZRDDate;
  Unload();
}

void frmDateTime::cmdCancel_Click() {
  Unload();
}

}  // namespace tarvex
