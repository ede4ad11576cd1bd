// The auto-run dialog: the moment (real or game), the character file and its password.
#pragma once

#include <string>

#include "dialogs/dialog.h"

namespace tarvex {

class Platform;
class frmTarvexMain;

class frmAutoRun final : public Dialog {
 public:
  // Stores the settings into `main` and arms its menu item on OK; reads the game folder from
  // GamePath for "Load".
  frmAutoRun(Platform& platform, frmTarvexMain& main);

  DialogKind Kind() const override { return DialogKind::AutoRun; }
  std::string_view Caption() const override { return "Auto Run Kestrune"; }
  int Width() const override;
  int Height() const override;
  std::span<const Control> Controls() const override;
  bool Value(std::string_view name) const override;
  void Click(std::string_view name) override;

  void optKSTime_Click();
  void optRLTime_Click();
  void cmdLoad_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

  bool optKSTime = true;
  bool optRLTime = false;
  std::string txtTime;
  std::string txtDate;
  std::string txtCharacterFile;
  std::string txtPassword;

 private:
  const std::string* Box(std::string_view name) const override;
  Platform& platform_;
  frmTarvexMain& main_;
};

}  // namespace tarvex
