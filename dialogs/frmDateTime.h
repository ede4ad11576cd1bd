// The calibration dialog: a new real time and date, and the game time and date at that moment.
#pragma once

#include <functional>
#include <string>

#include "dialogs/dialog.h"
#include "engine/modZRD.h"

namespace tarvex {

class frmDateTime final : public Dialog {
 public:
  // The boxes open with `shown`'s four texts, without the blanks that pad them (a blank field
  // leaves its box empty). On success `set` is given the new pair, within the one handler; messages
  // go through `host`.
  frmDateTime(DialogHost& host, const CalibrationRecord& shown,
              std::function<void(const CalibrationRecord&)> set);

  DialogKind Kind() const override { return DialogKind::DateTime; }
  std::string_view Caption() const override { return "Set Date and Time"; }
  int Width() const override;
  int Height() const override;
  std::span<const Control> Controls() const override;
  void Click(ControlId id) override;

  void cmdSetDateandTime_Click();
  void cmdCancel_Click();

  std::string txtRealTime;
  std::string txtRealDate;
  std::string txtZRDTime;
  std::string txtZRDDate;

 private:
  const std::string* Box(ControlId id) const override;
  DialogHost& host_;
  std::function<void(const CalibrationRecord&)> set_;
};

}  // namespace tarvex
