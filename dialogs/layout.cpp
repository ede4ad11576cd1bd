// The two dialogs' controls and layout, in dialog units, in focus (tab) order.
#include "dialogs/frmAlarms.h"
#include "dialogs/frmAutoRun.h"
#include "dialogs/frmDateTime.h"

namespace tarvex {
namespace {

using K = ControlKind;

constexpr Control kDateTimeControls[] = {
    {ControlId::Label2, K::Label,
     "Enter times in 24 hour format.  Example 4:45 p.m. would be entered as 16:45:00", 10, 7, 180,
     18},
    {ControlId::Label1, K::Label, "Real Time (HH:MM:SS)", 7, 32, 105, 8, Align::Right},
    {ControlId::txtRealTime, K::TextBox, "", 116, 30, 60, 12, Align::Left, 8},
    {ControlId::Label3, K::Label, "Real Date (MM/DD/YYYY)", 7, 48, 105, 8, Align::Right},
    {ControlId::txtRealDate, K::TextBox, "", 116, 46, 60, 12, Align::Left, 10},
    {ControlId::Label4, K::Label, "Kestrune Time (HH:MM:SS)", 7, 64, 105, 8, Align::Right},
    {ControlId::txtZRDTime, K::TextBox, "", 116, 62, 60, 12, Align::Left, 8},
    {ControlId::Label5, K::Label, "Kestrune Date (MM/DD/YYYY)", 7, 80, 105, 8, Align::Right},
    {ControlId::txtZRDDate, K::TextBox, "", 116, 78, 60, 12, Align::Left, 10},
    {ControlId::cmdSetDateandTime, K::Button, "Set Date and Times", 30, 100, 72, 14, Align::Center,
     0, false, true},
    {ControlId::cmdCancel, K::Button, "Cancel", 110, 100, 60, 14, Align::Center, 0, false, false,
     true},
};

constexpr Control kAutoRunControls[] = {
    {ControlId::Frame1, K::Frame, "Auto Run Time", 7, 7, 186, 62},
    {ControlId::optKSTime, K::OptionButton, "Kestrune Time", 20, 20, 70, 10},
    {ControlId::optRLTime, K::OptionButton, "Real Time", 110, 20, 70, 10},
    {ControlId::Label1, K::Label, "Time (HH:MM:SS)", 14, 36, 80, 8, Align::Right},
    {ControlId::Label2, K::Label, "Date (MM/DD/YYYY)", 14, 52, 80, 8, Align::Right},
    {ControlId::txtTime, K::TextBox, "", 98, 34, 80, 12},
    {ControlId::txtDate, K::TextBox, "", 98, 50, 80, 12},
    {ControlId::cmdOK, K::Button, "OK", 45, 150, 50, 14, Align::Center, 0, false, true},
    {ControlId::cmdCancel, K::Button, "Cancel", 105, 150, 50, 14, Align::Center, 0, false, false,
     true},
    {ControlId::Label3, K::Label, "Character file to autostart", 7, 76, 186, 8},
    {ControlId::txtCharacterFile, K::TextBox, "", 7, 86, 186, 12},
    {ControlId::Label4, K::Label, "Character Password", 7, 120, 186, 8, Align::Center},
    {ControlId::cmdLoad, K::Button, "Load", 75, 101, 50, 14, Align::Center},
    {ControlId::txtPassword, K::TextBox, "", 50, 130, 100, 12, Align::Left, 0, true},
};

constexpr Control kAlarmsControls[] = {
    {ControlId::chkGoodMoon, K::CheckBox, "Good moon (day 15)", 10, 8, 180, 10},
    {ControlId::chkBadMoon, K::CheckBox, "Bad moon (day 1)", 10, 22, 180, 10},
    {ControlId::chkWarn, K::CheckBox, "Warn", 10, 40, 34, 10},
    {ControlId::txtWarningMinutes, K::TextBox, "", 46, 38, 26, 12, Align::Left, 4},
    {ControlId::Label1, K::Label, "minutes before", 76, 40, 110, 8},
    {ControlId::Label2, K::Label, "and again every", 20, 56, 56, 8},
    {ControlId::txtRepeatMinutes, K::TextBox, "", 78, 54, 26, 12, Align::Left, 4},
    {ControlId::Label3, K::Label, "minutes (0: once)", 108, 56, 84, 8},
    {ControlId::chkAtStart, K::CheckBox, "When the moon begins", 10, 72, 180, 10},
    {ControlId::chkAtEnd, K::CheckBox, "When the moon ends", 10, 86, 180, 10},
    {ControlId::chkSound, K::CheckBox, "Play a sound", 10, 100, 180, 10},
    {ControlId::Label4, K::Label, "Quiet from", 10, 118, 38, 8},
    {ControlId::txtQuietFrom, K::TextBox, "", 50, 116, 27, 12, Align::Left, 5},
    {ControlId::Label5, K::Label, "to", 81, 118, 10, 8},
    {ControlId::txtQuietTo, K::TextBox, "", 93, 116, 27, 12, Align::Left, 5},
    {ControlId::Label6, K::Label, "(HH:MM, no sound)", 124, 118, 66, 8},
    {ControlId::Label7, K::Label, "Good moon sound (*.wav; empty: the system's)", 10, 134, 180, 8},
    {ControlId::txtGoodSound, K::TextBox, "", 10, 144, 158, 12},
    {ControlId::cmdGoodSound, K::Button, "\u2026", 172, 143, 18, 14, Align::Center},
    {ControlId::Label8, K::Label, "Bad moon sound", 10, 162, 180, 8},
    {ControlId::txtBadSound, K::TextBox, "", 10, 172, 158, 12},
    {ControlId::cmdBadSound, K::Button, "\u2026", 172, 171, 18, 14, Align::Center},
    {ControlId::cmdOK, K::Button, "OK", 20, 194, 50, 14, Align::Center, 0, false, true},
    {ControlId::cmdCancel, K::Button, "Cancel", 75, 194, 50, 14, Align::Center, 0, false, false,
     true},
    {ControlId::cmdTryIt, K::Button, "Try It", 130, 194, 50, 14, Align::Center},
};

}  // namespace

int frmAlarms::Width() const {
  return 200;
}
int frmAlarms::Height() const {
  return 216;
}
std::span<const Control> frmAlarms::Controls() const {
  return kAlarmsControls;
}

int frmDateTime::Width() const {
  return 200;
}
int frmDateTime::Height() const {
  return 122;
}
std::span<const Control> frmDateTime::Controls() const {
  return kDateTimeControls;
}

int frmAutoRun::Width() const {
  return 200;
}
int frmAutoRun::Height() const {
  return 172;
}
std::span<const Control> frmAutoRun::Controls() const {
  return kAutoRunControls;
}

}  // namespace tarvex
