// The calibration dialog: a new real time and date, and the game time and date at that moment.
#pragma once

#include <string>

#include "dialogs/dialog.h"
#include "engine/modZRD.h"

namespace tarvex {

class Platform;

class frmDateTime final : public Dialog {
 public:
  // Stores into `calibration` on success; messages go through `platform`.
  frmDateTime(Platform& platform, CalibrationRecord& calibration);

  DialogKind Kind() const override { return DialogKind::DateTime; }
  std::string_view Caption() const override { return "Set Date and Time"; }
  int Width() const override;
  int Height() const override;
  std::span<const Control> Controls() const override;
  void Click(std::string_view name) override;

  void cmdSetDateandTime_Click();
  void cmdCancel_Click();

  std::string txtRealTime;
  std::string txtRealDate;
  std::string txtZRDTime;
  std::string txtZRDDate;

 private:
  const std::string* Box(std::string_view name) const override;
  Platform& platform_;
  CalibrationRecord& calibration_;
};

}  // namespace tarvex
