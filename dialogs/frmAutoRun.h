// The auto-run dialog: the moment (real or game), the character file and its password.
#pragma once

#include <functional>
#include <string>

#include "dialogs/dialog.h"

namespace tarvex {

// The auto-run's settings as the dialog hands them over on OK, the texts as typed; the password
// stays a secret.
struct AutoRunSettings {
  bool KSTime = false;  // the moment is a game moment, else a real one
  std::string Date;
  std::string Time;
  SecretText Password;
  std::string Character;
};

class frmAutoRun final : public Dialog {
 public:
  // On OK, `arm` is given the settings, within the one handler; "Load" starts in GamePath.
  frmAutoRun(DialogHost& host, std::function<void(const AutoRunSettings&)> arm);

  DialogKind Kind() const override { return DialogKind::AutoRun; }
  std::string_view Caption() const override { return "Auto Run Kestrune"; }
  int Width() const override;
  int Height() const override;
  std::span<const Control> Controls() const override;
  bool Value(ControlId id) const override;
  void Click(ControlId id) override;

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
  SecretText txtPassword;  // a secret box

 private:
  const std::string* Box(ControlId id) const override;
  const SecretText* SecretBox(ControlId id) const override;
  DialogHost& host_;
  std::function<void(const AutoRunSettings&)> arm_;
};

}  // namespace tarvex
