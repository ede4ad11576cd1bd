// The calibration dialog: a new real time and date, and the game time and date at that moment.
#pragma once

#include <string>

#include "dialogs/dialog.h"
#include "engine/modZRD.h"

namespace tarvex {

class Platform;

// The message for the first of the four texts of a calibration pair that fails its check, in the
// order real time, real date, game time, game date; empty when all four pass. The real pair must
// also name a moment of the calendar, since the game clock counts from it.
std::string_view CalibrationProblem(std::string_view realTime, std::string_view realDate,
                                    std::string_view gameTime, std::string_view gameDate);

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
