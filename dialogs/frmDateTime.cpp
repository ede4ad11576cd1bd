#include "dialogs/frmDateTime.h"

#include <string_view>
#include <utility>

#include "engine/modGeneral.h"
#include "tarvex_version.h"

namespace tarvex {
namespace {

// A field of the record without the blanks that pad it to its width.
std::string Unpadded(std::string_view field) {
  return std::string(field.substr(0, field.find_last_not_of(' ') + 1));
}

}  // namespace

frmDateTime::frmDateTime(DialogHost& host, const CalibrationRecord& shown,
                         std::function<void(const CalibrationRecord&)> set)
    : host_(host), set_(std::move(set)) {
  SetText(ControlId::txtRealTime, Unpadded(shown.RealTime));
  SetText(ControlId::txtRealDate, Unpadded(shown.RealDate));
  SetText(ControlId::txtZRDTime, Unpadded(shown.ZRDTime));
  SetText(ControlId::txtZRDDate, Unpadded(shown.ZRDDate));
}

const std::string* frmDateTime::Box(ControlId id) const {
  switch (id) {
    case ControlId::txtRealTime:
      return &txtRealTime;
    case ControlId::txtRealDate:
      return &txtRealDate;
    case ControlId::txtZRDTime:
      return &txtZRDTime;
    case ControlId::txtZRDDate:
      return &txtZRDDate;
    default:
      return nullptr;
  }
}

void frmDateTime::Click(ControlId id) {
  if (id == ControlId::cmdSetDateandTime) cmdSetDateandTime_Click();
  if (id == ControlId::cmdCancel) cmdCancel_Click();
}

// The four texts are checked in the order of the rows, and only the first bad one is named.
void frmDateTime::cmdSetDateandTime_Click() {
  // The boxes never hold more than their limit, whoever wrote into them.
  for (const ControlId id : {ControlId::txtRealTime, ControlId::txtRealDate,
                             ControlId::txtZRDTime, ControlId::txtZRDDate}) {
    SetText(id, Text(id));
  }

  const std::string_view failure =
      CalibrationProblem(txtRealTime, txtRealDate, txtZRDTime, txtZRDDate);
  if (!failure.empty()) {
    host_.ShowMessage(failure, kProductName);
    constexpr ControlId kBoxes[] = {ControlId::txtRealTime, ControlId::txtRealDate,
                                    ControlId::txtZRDTime, ControlId::txtZRDDate};
    FocusBox(kBoxes[CalibrationProblemField(txtRealTime, txtRealDate, txtZRDTime, txtZRDDate)]);
    return;
  }

  // All four in one handler: no tick sees half a pair.
  CalibrationRecord pair;
  pair.RealTime = txtRealTime;
  pair.RealDate = txtRealDate;
  pair.ZRDTime = txtZRDTime;
  pair.ZRDDate = txtZRDDate;
  set_(pair);
  Unload();
}

void frmDateTime::cmdCancel_Click() {
  Unload();
}

}  // namespace tarvex
