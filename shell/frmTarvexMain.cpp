#include "shell/frmTarvexMain.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <filesystem>
#include <iterator>
#include <string_view>
#include <tuple>
#include <utility>

#include "dialogs/character_file.h"
#include "dialogs/frmAlarms.h"
#include "dialogs/frmAutoRun.h"
#include "dialogs/frmDateTime.h"
#include "engine/clock.h"
#include "engine/icons.h"
#include "engine/live_data.h"
#include "engine/log.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "engine/utf8.h"
#include "shell/keystrokes.h"
#include "tarvex_version.h"

namespace tarvex {
namespace {

constexpr int kTimerIntervalMs = 500;
constexpr std::int64_t kFocusWaitSeconds = 60;

constexpr std::string_view kTitle = kProductName;
constexpr std::string_view kViewLimitText =
    "Due to limitations on the length of the tool tip text, you can only choose 2 options to "
    "view.";
constexpr std::string_view kViewLimitTitle = "Tool Tip Limitation";
constexpr std::string_view kSetPathText =
    "To set the path, open a character file that resides in the same directory as the game.";
constexpr std::string_view kSetPathTitle = "Set Path";
constexpr std::string_view kSetPathMenuCaption = "Set Kestrune Path";
// The tip's first line while no pair is stored.
constexpr std::string_view kNotSetLine = "SET THE DATE AND TIME FIRST";
constexpr std::string_view kFocusLostText =
    "The log-in was not typed because the game's window did not have the keyboard focus.";

constexpr std::string_view kGameExecutable = "vrak.exe";
constexpr std::string_view kEnter = "~";
constexpr std::string_view kTab = "{TAB}";

struct MenuLine {
  MenuItem Item;
  std::string_view Caption;  // empty for a separator line
  bool Checkable = false;    // the three views, the armed auto-run, the start at log-in, the clock
};

// The popup menu, in menu order.
constexpr MenuLine kMenu[] = {
    {MenuItem::SetDateandTime, "Set Date and Time"},
    {MenuItem::SetPath, kSetPathMenuCaption},
    {MenuItem::Sep1, ""},
    {MenuItem::ShowCurrentTime, "Show Current Time", true},
    {MenuItem::ShowNextGoodMoon, "Show Next Good Moon", true},
    {MenuItem::ShowNextBadMoon, "Show Next Bad Moon", true},
    {MenuItem::Sep2, ""},
    {MenuItem::AutoRunKestrune, "Auto Run Kestrune", true},
    {MenuItem::MoonAlarms, "Moon Alarms..."},
    {MenuItem::StartAtLogIn, "Start at Log-in", true},
    {MenuItem::ClockWindow, "Clock Window", true},
    {MenuItem::Clock24, "24-Hour Clock", true},
    {MenuItem::Sep3, ""},
    {MenuItem::Exit, "Exit"},
};

std::size_t Index(MenuItem item) {
  return static_cast<std::size_t>(item);
}

// The lines that the tray's tip shows; none for an empty tip.
std::vector<std::string> ShownTipLines(const TrayIcon& icon) {
  constexpr std::string_view kBreak = "\r\n";
  const std::string tip = VisibleTip(icon);
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < tip.size();) {
    const std::size_t end = std::min(tip.find(kBreak, start), tip.size());
    lines.push_back(tip.substr(start, end - start));
    start = end + kBreak.size();
  }
  return lines;
}

// The 29 keystroke texts of the log-in, in the order they are typed.
std::array<std::string_view, 29> LogInTexts(std::string_view character, std::string_view password) {
  std::array<std::string_view, 29> texts;
  texts.fill(kTab);  // 4 Tabs, Enter, character, 2 Enters, 9 Tabs, password, 10 Tabs, Enter
  texts[4] = texts[6] = texts[7] = texts[28] = kEnter;
  texts[5] = character;
  texts[17] = password;
  return texts;
}

}  // namespace

std::string VisibleTip(const tarvex::TrayIcon& icon) {
  const std::string_view tip = icon.Tip;
  return std::string(tip.substr(0, tip.find('\0')));
}

frmTarvexMain::frmTarvexMain(Platform& platform) : platform_(platform) {
  ShowViews(DisplaySettings{});  // until TARVEX.INI is read
}

// --- Start-up and shut-down --------------------------------------------------------------------

void frmTarvexMain::Form_Load() {
  const std::vector<Result> unreadable = live_.Load();
  GamePath = live_.GamePath();
  Calibration = live_.Pair();
  Alarms = live_.Settings();  // a value that cannot be read keeps its default
  ShowViews(live_.Display());
  AutoRunFired = false;
  BlinkPhase = 1;
  // A file that cannot be read may hold a pair: the player is not asked for one then.
  askForPair_ = !live_.PairStored() && !live_.PairUnreadable();
  platform_.StartTimer(kTimerIntervalMs);

  TrayIcon = tarvex::TrayIcon{};
  TrayIcon.Icon = kProgramIcon;
  TrayIcon.Tip.clear();
  loaded_ = true;
  // Without a tray yet (a logon that is still starting the shell), the ticks add it later.
  if (platform_.NotifyIcon(TrayMessage::Add, TrayIcon)) shown_ = TrayIcon;
  clock_.Load(Face());

  // A file that is there but cannot be read is left as it is for the whole run.
  if (!unreadable.empty()) {
    std::string message;
    for (const Result& failure : unreadable) message += failure.why() + ".  ";
    platform_.ShowMessage(message + "Tarvex runs on its defaults and does not write over it.",
                          kTitle);
  }
}

void frmTarvexMain::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  logIn_.reset();
  if (!loaded_) return;  // nothing was read, so nothing is written back
  platform_.StopTimer();

  if (const Result saved = SavePair(); !saved) {
    platform_.ShowMessage(saved.why() + ".  The date and time set in Tarvex will be lost.", kTitle);
  }
  if (dateTimeOpen_) platform_.CloseDialog(DialogKind::DateTime);
  clock_.Unload();
  // Deleted even when the last add seemed to fail: a shell that timed out may still show it. A
  // delete refused has nothing left to do.
  std::ignore = platform_.NotifyIcon(TrayMessage::Delete, TrayIcon);
  shown_.reset();
}

void frmTarvexMain::TaskbarCreated() {
  if (!Running()) return;
  // The new shell has no icon of ours: add the present one. A refused add is retried by the ticks.
  if (platform_.NotifyIcon(TrayMessage::Add, TrayIcon)) {
    shown_ = TrayIcon;
  } else {
    shown_.reset();
  }
}

// --- Tray icon and popup menu ------------------------------------------------------------------

void frmTarvexMain::Form_MouseMove(int /*Button*/, int /*Shift*/, float X, float /*Y*/) {
  if (!Running()) return;
  if (X == kRightButtonUp) OpenMenu(false);
}

void frmTarvexMain::OpenMenu(bool clockWindow) {
  platform_.BringToForeground();
  std::optional<MenuItem> chosen;
  {
    const FlagWhile open(menuOpen_);  // the ticks go on meanwhile and keep its tip lines current
    menuOfClockWindow_ = clockWindow;
    // The entry may have changed since: through tarvex-cli, an installer, another Tarvex.
    SetChecked(MenuItem::StartAtLogIn, platform_.StartsAtLogIn());
    const std::vector<MenuEntry> menu = PopupMenu(clockWindow);
    menuTip_ = ShownTipLines(TrayIcon);
    chosen = platform_.ShowPopupMenu(menu);
  }
  if (chosen) MenuCommand(*chosen);
}

std::vector<MenuEntry> frmTarvexMain::PopupMenu(bool clockWindow) const {
  std::vector<MenuEntry> entries;
  if (platform_.MenuShowsTip()) {
    for (std::string& line : ShownTipLines(TrayIcon)) {
      entries.push_back({.Item = MenuItem::TipLine, .Caption = std::move(line), .Disabled = true});
    }
    if (!entries.empty())
      entries.push_back({.Item = MenuItem::Sep0, .Caption = "", .Separator = true});
  }
  for (const MenuLine& line : kMenu) {
    entries.push_back({line.Item, std::string(line.Caption), line.Caption.empty(), line.Checkable,
                       Checked(line.Item)});
    // Without a tray icon the shown window is the program's only door: it cannot be hidden.
    if (line.Item == MenuItem::ClockWindow) entries.back().Disabled = !shown_ && clock_.Shown();
    if (line.Item == MenuItem::ClockWindow && clockWindow && platform_.CanStayOnTop())
      entries.push_back(
          {MenuItem::StayOnTop, "Stay on Top", false, true, Checked(MenuItem::StayOnTop)});
  }
  return entries;
}

bool frmTarvexMain::Checked(MenuItem item) const {
  if (item == MenuItem::ClockWindow) return clock_.Shown();
  if (item == MenuItem::StayOnTop) return clock_.OnTop();
  return checked_.at(Index(item));
}

void frmTarvexMain::SetChecked(MenuItem item, bool checked) {
  checked_.at(Index(item)) = checked;
}

void frmTarvexMain::MenuCommand(MenuItem item) {
  switch (item) {
    case MenuItem::SetDateandTime:
      mnuSetDateandTime_Click();
      break;
    case MenuItem::SetPath:
      mnuSetPath_Click();
      break;
    case MenuItem::ShowCurrentTime:
      mnuShowCurrentTime_Click();
      break;
    case MenuItem::ShowNextGoodMoon:
      mnuShowNextGoodMoon_Click();
      break;
    case MenuItem::ShowNextBadMoon:
      mnuShowNextBadMoon_Click();
      break;
    case MenuItem::AutoRunKestrune:
      mnuAutoRunKestrune_Click();
      break;
    case MenuItem::MoonAlarms:
      mnuMoonAlarms_Click();
      break;
    case MenuItem::StartAtLogIn:
      mnuStartAtLogIn_Click();
      break;
    case MenuItem::ClockWindow:
      mnuClockWindow_Click();
      break;
    case MenuItem::StayOnTop:
      mnuStayOnTop_Click();
      break;
    case MenuItem::Clock24:
      mnu24HourClock_Click();
      break;
    case MenuItem::Exit:
      mnuExit_Click();
      break;
    case MenuItem::TipLine:  // greyed: shown, never chosen
    case MenuItem::Sep0:
    case MenuItem::Sep1:
    case MenuItem::Sep2:
    case MenuItem::Sep3:
      break;
  }
}

// --- View options ------------------------------------------------------------------------------

void frmTarvexMain::mnuShowCurrentTime_Click() {
  ToggleView(MenuItem::ShowCurrentTime, MenuItem::ShowNextGoodMoon, MenuItem::ShowNextBadMoon);
}

void frmTarvexMain::mnuShowNextGoodMoon_Click() {
  ToggleView(MenuItem::ShowNextGoodMoon, MenuItem::ShowCurrentTime, MenuItem::ShowNextBadMoon);
}

void frmTarvexMain::mnuShowNextBadMoon_Click() {
  ToggleView(MenuItem::ShowNextBadMoon, MenuItem::ShowCurrentTime, MenuItem::ShowNextGoodMoon);
}

// At most two views fit the tip. The tip follows the new choice at the next tick; the choice is
// kept in TARVEX.INI at once.
void frmTarvexMain::ToggleView(MenuItem view, MenuItem other1, MenuItem other2) {
  if (ActivateOpenMessage(view)) return;
  TakeUpChanges();  // what another program stored meanwhile is kept, and changed from
  if (Checked(view)) {
    SetChecked(view, false);
  } else if (Checked(other1) && Checked(other2)) {
    ShowItemMessage(view, kViewLimitText, kViewLimitTitle);
    return;
  } else {
    SetChecked(view, true);
  }
  const Result saved =
      live_.SetDisplay({Checked(MenuItem::ShowCurrentTime), Checked(MenuItem::ShowNextGoodMoon),
                        Checked(MenuItem::ShowNextBadMoon), Checked(MenuItem::Clock24)});
  if (!saved)
    platform_.ShowMessage("The choice of views could not be saved.  " + saved.why() + ".", kTitle);
}

// --- Commands ----------------------------------------------------------------------------------

void frmTarvexMain::mnuSetDateandTime_Click() {
  if (dateTimeOpen_) {
    platform_.ActivateDialog(DialogKind::DateTime);
    return;
  }
  const FlagWhile open(dateTimeOpen_);
  TakeUpChanges();  // the game clock of the pair the file holds now
  // The moment it opens, in the boxes' own forms; the game clock only when it is the player's.
  CalibrationRecord shown = live_.Rebase(CurrentClock().Now(), false);
  if (!live_.PairStored()) shown.ZRDTime = shown.ZRDDate = "";
  frmDateTime dialog(platform_, shown, [this](const CalibrationRecord& pair) {
    Calibration = pair;
    // Kept at once, so that a program that ends without its unload loses nothing set here.
    if (const Result saved = live_.SetPair(pair); !saved)
      platform_.ShowMessage("The calibration could not be saved.  " + saved.why() + ".", kTitle);
  });
  platform_.ShowDialog(dialog);
}

// While a menu item's message box is open, choosing the item again brings that box to the front
// instead of opening another.
bool frmTarvexMain::ActivateOpenMessage(MenuItem item) {
  const std::string& title = openMessage_.at(Index(item));
  if (title.empty()) return false;
  platform_.ActivateMessage(title);
  return true;
}

void frmTarvexMain::ShowItemMessage(MenuItem item, std::string_view text, std::string_view title) {
  openMessage_.at(Index(item)) = title;
  platform_.ShowMessage(text, title);
  openMessage_.at(Index(item)).clear();
}

void frmTarvexMain::mnuSetPath_Click() {
  if (ActivateOpenMessage(MenuItem::SetPath)) return;
  if (setPathOpen_) return;  // its file dialog is open: one is enough
  const FlagWhile open(setPathOpen_);
  ShowItemMessage(MenuItem::SetPath, kSetPathText, kSetPathTitle);
  // The program's own folder stands in for a game folder never stored; the home folder is the
  // better start then.
  const std::string start = GamePath == GetAppPath() ? platform_.HomeFolder() : GamePath;
  const std::string chosen =
      platform_.ShowOpenFileDialog(CharacterFileRequest(start, kSetPathMenuCaption));
  if (chosen.empty()) return;
  if (const Result saved = live_.SetGamePath(chosen); !saved)
    platform_.ShowMessage("The game folder could not be saved.  " + saved.why() + ".", kTitle);
  GamePath = live_.GamePath();
}

void frmTarvexMain::mnuAutoRunKestrune_Click() {
  if (autoRunOpen_) {
    platform_.ActivateDialog(DialogKind::AutoRun);
    return;
  }
  if (Checked(MenuItem::AutoRunKestrune)) {
    // Disarmed; the settings stay but the password, which the next arming asks for again.
    SetChecked(MenuItem::AutoRunKestrune, false);
    AutoRunPassword.Clear();
    return;
  }
  {
    const FlagWhile open(autoRunOpen_);
    frmAutoRun dialog(platform_, [this](const AutoRunSettings& settings) {
      AutoRunKSTime = settings.KSTime;
      AutoRunTime = settings.Time;
      AutoRunDate = settings.Date;
      AutoRunCharacter = settings.Character;
      AutoRunPassword = settings.Password;
      SetChecked(MenuItem::AutoRunKestrune, true);
    });
    platform_.ShowDialog(dialog);
  }
  // The check mark is on only when OK stored fresh texts. After a Cancel the stored texts are
  // the escaped ones of an earlier arming; escaping them again would double their braces.
  if (Checked(MenuItem::AutoRunKestrune)) {
    AutoRunCharacter = std::string(EscapeKeystrokes(AutoRunCharacter).view());
    AutoRunPassword = EscapeKeystrokes(AutoRunPassword.view());
  } else {
    AutoRunPassword.Clear();  // nothing armed uses it
  }
  AutoRunFired = false;
}

void frmTarvexMain::mnuMoonAlarms_Click() {
  if (alarmsOpen_) {
    platform_.ActivateDialog(DialogKind::Alarms);
    return;
  }
  const FlagWhile open(alarmsOpen_);
  TakeUpChanges();  // the dialog opens with what the file holds now
  frmAlarms dialog(
      platform_, Alarms,
      [this](const AlarmSettings& settings) {
        Alarms = settings;  // in force from the next tick, saved or not
        return live_.SetSettings(settings).ok();
      },
      [this](const AlarmSettings& settings) {
        const bool good = settings.GoodMoon || !settings.BadMoon;
        platform_.ShowAlert(
            {.Text = SampleAlertText(CurrentClock().Now(), settings, Checked(MenuItem::Clock24)),
             .Icon = good ? kGoodMoonIcon : kBadMoonIcon,
             .Sound = settings.Sound,
             .Transient = true,
             .SoundFile = PlayableSound(good ? settings.GoodSound : settings.BadSound)});
      });
  platform_.ShowDialog(dialog);
}

// The check mark shows what the entry is afterwards, whether or not the change was made.
void frmTarvexMain::mnuStartAtLogIn_Click() {
  if (ActivateOpenMessage(MenuItem::StartAtLogIn)) return;
  const bool on = !Checked(MenuItem::StartAtLogIn);
  const Result changed = platform_.SetStartAtLogIn(on);
  SetChecked(MenuItem::StartAtLogIn, platform_.StartsAtLogIn());
  if (changed) return;
  ShowItemMessage(MenuItem::StartAtLogIn,
                  std::string("Starting Tarvex at log-in could not be turned ") +
                      (on ? "on" : "off") + ".  " + changed.why() + ".",
                  kTitle);
}

// --- The clock window --------------------------------------------------------------------------

void frmTarvexMain::mnuClockWindow_Click() {
  if (shown_ || !clock_.Shown()) clock_.Toggle();
}

void frmTarvexMain::mnuStayOnTop_Click() {
  if (platform_.CanStayOnTop()) clock_.ToggleOnTop();
}

void frmTarvexMain::ClockWindow_Close() {
  if (!Running()) return;
  if (clock_.Close(shown_.has_value())) mnuExit_Click();
}

void frmTarvexMain::ClockWindow_Moved(WindowCorner place) {
  if (Running()) clock_.Moved(place);
}

void frmTarvexMain::ClockWindow_Menu() {
  if (Running()) OpenMenu(true);
}

void frmTarvexMain::StartedAgain() {
  if (Running()) clock_.BringForward();
}

ClockFace frmTarvexMain::Face() const {
  ClockFace face;
  if (PairNotSet()) face.Notice = kNotSetLine;
  std::vector<std::string> lines =
      TipLines(Calibration, {true, true, true, Checked(MenuItem::Clock24)});
  face.Time = std::move(lines.at(0));
  face.Moons.assign(std::make_move_iterator(lines.begin() + 1),
                    std::make_move_iterator(lines.end()));
  face.Icon = MoonPhaseIcon(static_cast<double>(GameDayOfMonth(Calibration)));
  return face;
}

// Times of day as "17:33" or as "5:33 PM", in the tip, the menu's lines and the alerts.
void frmTarvexMain::mnu24HourClock_Click() {
  TakeUpChanges();  // what another program stored meanwhile is kept, and changed from
  const bool on = !Checked(MenuItem::Clock24);
  SetChecked(MenuItem::Clock24, on);
  DisplaySettings display = live_.Display();
  display.Clock24 = on;
  ComposeTip();  // at once, not at the next tick
  if (shown_) UpdateTray();
  const Result saved = live_.SetDisplay(display);
  if (!saved)
    platform_.ShowMessage("The choice of clock could not be saved.  " + saved.why() + ".", kTitle);
}

void frmTarvexMain::mnuExit_Click() {
  platform_.CloseDialog(DialogKind::DateTime);
  dateTimeOpen_ = false;  // closing; unload need not close it again
  platform_.CloseDialog(DialogKind::AutoRun);
  platform_.CloseDialog(DialogKind::Alarms);
  platform_.CloseMainWindow();
}

// --- The tick ----------------------------------------------------------------------------------

void frmTarvexMain::tmrUpdateTimes_Timer() {
  if (!Running()) return;
  const std::int64_t now = CurrentClock().Now();  // the tick's one reading of the clock
  TakeUpChanges();
  Calibration = live_.Rebase(now, true);
  ComposeTip();
  PickIcon();
  UpdateTray();
  clock_.Tick(Face(), shown_.has_value());
  if (menuOpen_) UpdateOpenMenu();
  SoundAlarms(now);
  if (logIn_) ContinueLogIn();
  if (unloaded_) return;  // a message box of the log-in may have let the program end
  TestAutoRun();
  AskForPair();
}

Result frmTarvexMain::SavePair() {
  return live_.SavePair(CurrentClock().Now());
}

// At a start with no pair stored, Set Date and Time opens by itself once the icon is in the tray,
// or once the clock window has opened in its place where no tray shows it, unless a pair has been
// stored meanwhile.
void frmTarvexMain::AskForPair() {
  if (!askForPair_ || (!shown_ && !clock_.Shown()) || unloaded_) return;
  askForPair_ = false;
  if (!live_.PairStored()) mnuSetDateandTime_Click();
}

// What another program stored meanwhile is in force from now on.
void frmTarvexMain::TakeUpChanges() {
  const LiveData::Changes changes = live_.Refresh();
  if (changes.gamePath) GamePath = live_.GamePath();
  if (changes.settings) {
    Alarms = live_.Settings();
    ShowViews(live_.Display());
  }
}

void frmTarvexMain::ShowViews(const DisplaySettings& display) {
  SetChecked(MenuItem::ShowCurrentTime, display.CurrentTime);
  SetChecked(MenuItem::ShowNextGoodMoon, display.NextGoodMoon);
  SetChecked(MenuItem::ShowNextBadMoon, display.NextBadMoon);
  SetChecked(MenuItem::Clock24, display.Clock24);
}

bool frmTarvexMain::PairNotSet() const {
  return !live_.PairStored() && !live_.PairUnreadable();
}

void frmTarvexMain::ComposeTip() {
  std::vector<std::string> lines;
  if (PairNotSet()) lines.emplace_back(kNotSetLine);
  for (std::string& line : TipLines(
           Calibration, {Checked(MenuItem::ShowCurrentTime), Checked(MenuItem::ShowNextGoodMoon),
                         Checked(MenuItem::ShowNextBadMoon), Checked(MenuItem::Clock24)}))
    lines.push_back(std::move(line));
  // A line that does not fit the tray's tip is left out whole, never cut inside.
  const std::optional<std::size_t> limit = platform_.TipLimit();
  std::string tip;
  for (const std::string& line : lines) {
    const std::string_view separator = tip.empty() ? "" : "\r\n";
    if (limit && tip.size() + separator.size() + line.size() > *limit) continue;
    tip += separator;
    tip += line;
  }
  TrayIcon.Tip = std::move(tip);
}

// The moon's phase by game day; days 1 and 15 blink, alternating with the application picture.
void frmTarvexMain::PickIcon() {
  const std::int64_t day = GameDayOfMonth(Calibration);
  int icon = MoonPhaseIcon(static_cast<double>(day));
  if (day == kBadMoonDay || day == kGoodMoonDay) {
    if (BlinkPhase == 1) {
      BlinkPhase = 2;
    } else {
      icon = kApplicationIcon;
      BlinkPhase = 1;
    }
  }
  TrayIcon.Icon = icon;
}

// Tells the tray only what changed; an icon that is not in the tray yet is added.
void frmTarvexMain::UpdateTray() {
  if (!shown_) {
    if (platform_.NotifyIcon(TrayMessage::Add, TrayIcon)) shown_ = TrayIcon;
    return;
  }
  if (TrayIcon == *shown_) return;
  if (platform_.NotifyIcon(TrayMessage::Modify, TrayIcon)) shown_ = TrayIcon;
}

// An open menu that begins with the tip's lines shows them as the tip does now.
void frmTarvexMain::UpdateOpenMenu() {
  if (!platform_.MenuShowsTip()) return;
  std::vector<std::string> lines = ShownTipLines(TrayIcon);
  if (lines == menuTip_) return;
  menuTip_ = std::move(lines);
  platform_.UpdateOpenMenu(PopupMenu(menuOfClockWindow_));
}

// Decided afresh at every tick from the present moment; what has fired is remembered, so that a
// clock set back or a recalibration never fires an alert twice.
void frmTarvexMain::SoundAlarms(std::int64_t now) {
  if (!live_.PairStored()) return;  // the built-in pair's moons are nobody's
  for (const Alert& alert : alarms_.Check(now, Calibration, Alarms, Checked(MenuItem::Clock24))) {
    const bool good = alert.moon.kind == MoonKind::Good;
    // An alert of the quiet hours is shown all the same, without a sound.
    const bool sound = Alarms.Sound && !alert.quiet;
    platform_.ShowAlert(
        {.Text = alert.text,
         .Icon = good ? kGoodMoonIcon : kBadMoonIcon,
         .Sound = sound,
         .SoundFile = sound ? PlayableSound(good ? Alarms.GoodSound : Alarms.BadSound) : ""});
  }
}

// The sound file to play, when it is there; a missing one is logged, and the desktop's sound
// plays instead.
std::string frmTarvexMain::PlayableSound(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  if (std::filesystem::is_regular_file(PathFromUtf8(path), error)) return path;
  Warn("The sound file " + path + " cannot be found; the system's sound is played instead");
  return {};
}

// --- The auto-run ------------------------------------------------------------------------------

void frmTarvexMain::TestAutoRun() {
  if (AutoRunFired || !Checked(MenuItem::AutoRunKestrune)) return;
  // While the auto-run dialog is still up, its OK has stored texts that the command has not yet
  // escaped: the arming is complete only once the dialog has returned.
  if (autoRunOpen_) return;
  const std::string_view time = AutoRunKSTime ? Calibration.ZRDTime : Calibration.RealTime;
  const std::string_view date = AutoRunKSTime ? Calibration.ZRDDate : Calibration.RealDate;
  // Hours and minutes of the time, the whole date; the seconds play no part.
  if (Piece(AutoRunTime, 1, 5) != Piece(time, 1, 5) || AutoRunDate != date) return;

  // Spent before anything is started: no later or nested tick launches again.
  AutoRunFired = true;
  SetChecked(MenuItem::AutoRunKestrune, false);
  Launch();
}

void frmTarvexMain::Launch() {
  // Taken from the settings: given over to the log-in, or wiped here when there is none.
  SecretText password = std::move(AutoRunPassword);
  const std::string path = GamePath + std::string(kGameExecutable);
  const std::optional<std::string> found = platform_.FindNormalFile(path);
  if (!found || *found != kGameExecutable) return;  // no game here: spent without a word

  const std::optional<ProcessId> process = platform_.StartProgram(path, GamePath, kShowMinimized);
  if (!process) {
    // The desktop may know why (no Wine on Linux, say).
    std::string message = "Kestrune could not be started from " + path + ".";
    if (const std::string why = platform_.KeystrokeLimitation(); !why.empty())
      message += "  " + why;
    platform_.ShowMessage(message, kTitle);
    return;
  }
  if (const std::string limitation = platform_.KeystrokeLimitation(); !limitation.empty()) {
    platform_.ShowMessage(limitation, kTitle);
    return;
  }
  // The log-in is typed by the following ticks, once the game's window has the focus.
  logIn_ = PendingLogIn{*process, CurrentClock().Now() + kFocusWaitSeconds, AutoRunCharacter,
                        std::move(password)};
}

// Types the log-in when the game's window has the focus; gives up when the wait is over or the
// focus leaves the game during the typing, so that the password never reaches another window.
void frmTarvexMain::ContinueLogIn() {
  const ProcessId game = logIn_->Process;
  if (!platform_.FocusBelongsTo(game)) {
    if (CurrentClock().Now() < logIn_->Deadline) return;  // wait for the next tick
    logIn_.reset();
    platform_.ShowMessage(kFocusLostText, kTitle);
    return;
  }
  // Taken off before the first key: a tick nested in the typing finds nothing left to type.
  // The password goes with `typing`, wiped however the typing ends.
  const PendingLogIn typing = std::move(*logIn_);
  logIn_.reset();
  const std::array<std::string_view, 29> texts =
      LogInTexts(typing.Character, typing.Password.view());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (unloaded_) return;
    if (i > 0 && !platform_.FocusBelongsTo(game)) {
      platform_.ShowMessage(kFocusLostText, kTitle);
      return;
    }
    platform_.PlayKeystrokes(texts[i]);
  }
}

}  // namespace tarvex
