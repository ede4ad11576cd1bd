// The auto-run from its arming to the typed log-in: the minute match, the launch, the wait for the
// game's window, and the keystroke texts.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/keystrokes.h"
#include "shell/tests/support/freed_memory.h"
#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using AutoRunTest = ShellTest;

TEST_F(AutoRunTest, ArmedForGameTimeThenRealTimeEachLaunchesOnceAtTheMinute) {
  LoadBeforeGameMoment();
  platform.FocusOwner = RecordingPlatform::kGame;
  Arm(true, "10:30:00", "03/14/0002", "C:\\Kestrune\\hero (1).zrd", "pa[ss]");
  ASSERT_TRUE(TickUntilStarted(10));
  EXPECT_EQ(Calibration.ZRDTime.str(), "10:30:12") << "the first tick of game minute 10:30";
  EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune));
  EXPECT_EQ(platform.Count("StartProgram " + game + "vrak.exe in " + game + " show 2"), 1u);
  Tick(20);
  EXPECT_EQ(platform.Keystrokes, LogIn("C:\\Kestrune\\hero {(}1{)}.zrd", "pa{[}ss{]}"));

  // Spent; armed again, for real time 10:01:59: it comes at the first tick of the minute.
  platform.Keystrokes.clear();
  Arm(false, "10:01:59", "12/06/2026", "C:\\Kestrune\\second.zrd", "");
  ASSERT_TRUE(TickUntilStarted(60));
  EXPECT_EQ(Calibration.RealTime.str(), "10:01:00");
  Tick(140);
  EXPECT_EQ(platform.Count("StartProgram"), 2u) << "each arming launches once";
  EXPECT_EQ(platform.Keystrokes, LogIn("C:\\Kestrune\\second.zrd", ""));
}

// Whatever the user typed, its escaped form is typed back exactly, character by character: every
// command character in braces once, the rest (UTF-8 included) as it stands.
TEST(Keystrokes, EveryEscapedTextIsTypedExactlyAsEntered) {
  const std::string alphabet = "+^%~(){}[]aZ9 .\\:/!@#$&*-_='\"<>?|\t";
  const std::vector<std::string> wide = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\xB2"};
  const std::vector<char32_t> wideCodes = {0xE9, 0x20AC, 0x1F3B2};
  std::mt19937 random(20261206);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    std::vector<Keystroke> expected;
    for (int i = static_cast<int>(random() % 12); i > 0; --i) {
      const std::size_t pick = random() % (alphabet.size() + wide.size());
      const bool narrow = pick < alphabet.size();
      text += narrow ? std::string(1, alphabet[pick]) : wide[pick - alphabet.size()];
      expected.push_back(
          {Keystroke::Kind::Character, narrow ? static_cast<unsigned char>(alphabet[pick])
                                              : wideCodes[pick - alphabet.size()]});
    }
    ASSERT_EQ(ParseKeystrokes(EscapeKeystrokes(text).view()), expected) << "text: " << text;
  }
  EXPECT_EQ(EscapeKeystrokes("+^%~(){}[] p@ss!\\h\xC3\xA9"),
            "{+}{^}{%}{~}{(}{)}{{}{}}{[}{]} p@ss!\\h\xC3\xA9");
  EXPECT_EQ(ParseKeystrokes("~{TAB}"),
            (std::vector<Keystroke>{{Keystroke::Kind::Enter, 0}, {Keystroke::Kind::Tab, 0}}));
}

// Arms through the menu and the dialog as a window does: the password typed into its box key by
// key, every box read on OK. No text passes through a plain string on the way.
void ArmAsTyped(ShellTest& test, std::string_view time, std::string_view password) {
  test.platform.DialogActions.push_back([time, password](Dialog& dialog) {
    dialog.Click(ControlId::optRLTime);
    for (std::size_t typed = 1; typed <= password.size(); ++typed)
      dialog.Edited(ControlId::txtPassword, password.substr(0, typed));
    dialog.Press(ControlId::cmdOK, [&](ControlId box) {
      switch (box) {
        case ControlId::txtTime:
          return SecretText(time);
        case ControlId::txtDate:
          return SecretText("12/06/2026");
        case ControlId::txtCharacterFile:
          return SecretText("C:\\Kestrune\\hero.zrd");
        default:
          return SecretText(password);
      }
    });
  });
  test.main.mnuAutoRunKestrune_Click();
}

// The password is held no longer than it is needed: typed into the dialog, given over to the
// launch, and wiped when the log-in is typed, when it fails, and when the auto-run is disarmed or
// refused. No block of memory is given back with it in it, as typed or escaped as it is kept.
TEST_F(AutoRunTest, ThePasswordIsWipedWhenTheLogInEndsFailsOrIsDisarmed) {
  const std::string password = "every [key] of {the} ~board~ +^%()";
  const std::string escaped(EscapeKeystrokes(password).view());
  const Texts typed = LogIn("C:\\Kestrune\\hero.zrd", escaped);
  platform.Keystrokes.reserve(64);  // the record of the keys: no copy from a growing list
  LoadBeforeGameMoment();
  FreedMemoryWatch watch(password, escaped);
  delete new std::string(password);
  delete new std::string(escaped);
  ASSERT_EQ(watch.Found(), 2) << "the watch sees a plain copy given back";

  // Disarmed before its minute.
  ArmAsTyped(*this, "10:01:00", password);
  EXPECT_EQ(main.AutoRunPassword, escaped);
  main.mnuAutoRunKestrune_Click();
  EXPECT_TRUE(main.AutoRunPassword.empty());
  EXPECT_FALSE(TickUntilStarted(70));
  // Started, but the game's window never takes the focus.
  ArmAsTyped(*this, "10:02:00", password);
  ASSERT_TRUE(TickUntilStarted(70));
  EXPECT_TRUE(main.AutoRunPassword.empty()) << "given over to the launch";
  Tick(140);
  EXPECT_EQ(platform.Count("ShowMessage"), 1u);
  // Typed whole.
  platform.FocusOwner = RecordingPlatform::kGame;
  ArmAsTyped(*this, "10:04:00", password);
  ASSERT_TRUE(TickUntilStarted(70));
  Tick(4);
  EXPECT_EQ(platform.Keystrokes, typed);
  // Refused by a desktop that cannot type.
  platform.Limitation = "Keys cannot be sent here.";
  ArmAsTyped(*this, "10:05:00", password);
  ASSERT_TRUE(TickUntilStarted(70));
  EXPECT_TRUE(main.AutoRunPassword.empty());

  EXPECT_EQ(watch.Found(), 0) << "blocks given back with the password in them";
}

TEST_F(AutoRunTest, WithoutTheGamesExecutableTheAutoRunIsSpentSilently) {
  // The stored name of vrak.exe (none: no such file), and whether the auto-run is disarmed by
  // choosing the item again: no dialog then, and the settings are kept.
  const std::pair<const char*, bool> cases[] = {
      {"vrak.exe", true}, {nullptr, false}, {"VRAK.EXE", false}, {"vrak.exe.lnk", false}};
  LoadBeforeGameMoment();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto [storedName, disarmed] = cases[i];
    const std::string name =
        std::string(storedName ? storedName : "none") + (disarmed ? " off" : "");
    platform.Files.clear();
    if (storedName) platform.Files[game + "vrak.exe"] = storedName;
    const std::string time = "10:0" + std::to_string(i + 1) + ":00";
    Arm(false, time, "12/06/2026");
    if (disarmed) main.mnuAutoRunKestrune_Click();
    EXPECT_EQ(platform.Count("ShowDialog"), i + 1) << name;
    EXPECT_EQ(main.AutoRunTime, time) << name;
    EXPECT_FALSE(TickUntilStarted(70)) << name;
    EXPECT_EQ(platform.Count("FindNormalFile " + game + "vrak.exe"), i) << name;
    EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune)) << name;
    EXPECT_EQ(main.AutoRunFired, !disarmed) << name;
    EXPECT_EQ(platform.Lines("ShowMessage "), Texts{}) << name;
  }
}

TEST_F(AutoRunTest, ATickWhileTheDialogIsStillUpDoesNotLaunchWithUnescapedTexts) {
  LoadBeforeGameMoment();
  platform.FocusOwner = RecordingPlatform::kGame;
  Tick(8);  // game 10:30 has come
  platform.DialogActions.push_back([this](Dialog& dialog) {
    dialog.SetText(ControlId::txtTime, "10:30:00");
    dialog.SetText(ControlId::txtDate, "03/14/0002");
    dialog.SetText(ControlId::txtCharacterFile, "C:\\k\\(a).zrd");
    dialog.Click(ControlId::cmdOK);
    main.tmrUpdateTimes_Timer();  // the desktop runs a tick before the dialog returns
  });
  main.mnuAutoRunKestrune_Click();
  ASSERT_TRUE(TickUntilStarted(1)) << "started by the next tick, not the nested one";
  Tick();
  EXPECT_EQ(platform.Keystrokes.at(5), "C:\\k\\{(}a{)}.zrd");
}

// --- After the start: the log-in goes only to the game's window --------------------------------

constexpr const char* kFocusLost =
    "The log-in was not typed because the game's window did not have the keyboard focus.";

struct LaunchCase {
  const char* Name;
  bool Starts;  // the desktop starts the game
  const char* Limitation;
  int FocusAfter;  // seconds after the start when the game's window takes the focus
  void (*Nested)(RecordingPlatform&, frmTarvexMain&);  // events nested in the waits, or none
  std::size_t Typed;                                   // how many of the 29 texts are typed
  std::string Message;  // the one message shown, if any; "@" stands for the failed start's
};

void TickNested(RecordingPlatform& platform, frmTarvexMain& main) {
  platform.During = [&] {
    if (platform.Count("StartProgram") < 3) main.tmrUpdateTimes_Timer();
  };
}
void FocusLeavesAfterEightTexts(RecordingPlatform& platform, frmTarvexMain&) {
  platform.During = [&] {
    if (platform.Keystrokes.size() == 8) platform.FocusOwner.reset();  // the user clicks away
  };
}

const LaunchCase kLaunchCases[] = {
    {"FocusAfter59Seconds", true, "", 59, nullptr, 29, ""},
    {"FocusAfter61Seconds", true, "", 61, nullptr, 0, kFocusLost},
    {"FocusLeavesDuringTheTyping", true, "", 0, FocusLeavesAfterEightTexts, 8, kFocusLost},
    {"TickNestedInTheTyping", true, "", 0, TickNested, 29, ""},
    {"DesktopCannotType", true, "Keys cannot be sent here.", 0, nullptr, 0,
     "Keys cannot be sent here."},
    {"StartFailsAndTheDesktopSaysWhy", false, "No Wine.", 0, nullptr, 0, "@  No Wine."},
    {"TickNestedInTheFailureMessage", false, "", 0, TickNested, 0, "@"}};

class LaunchTest : public ShellTest, public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(LaunchTest, TheLogInIsTypedOnlyWhileTheStartedGameHasTheFocus) {
  const LaunchCase& c = GetParam();
  LoadBeforeGameMoment();
  platform.StartSucceeds = c.Starts;
  platform.Limitation = c.Limitation;
  if (c.Nested) c.Nested(platform, main);
  Arm(true, "10:30:00", "03/14/0002");
  ASSERT_TRUE(TickUntilStarted(10));
  for (bool focused = false; clock.Now() < startedAt + 70; Tick()) {
    if (!focused && clock.Now() >= startedAt + c.FocusAfter) {
      platform.FocusOwner = RecordingPlatform::kGame;
      focused = true;
    }
  }
  EXPECT_EQ(platform.Count("StartProgram"), 1u);
  const Texts all = LogIn("C:\\Kestrune\\hero.zrd", "secret");
  EXPECT_EQ(platform.Keystrokes, Texts(all.begin(), all.begin() + c.Typed));
  std::string message = c.Message;
  if (message.starts_with("@")) {
    message.replace(0, 1, "Kestrune could not be started from " + game + "vrak.exe.");
  }
  EXPECT_EQ(platform.Lines("ShowMessage "),
            message.empty() ? Texts{} : Texts{"Tarvex: " + message});
}

INSTANTIATE_TEST_SUITE_P(Cases, LaunchTest, ::testing::ValuesIn(kLaunchCases),
                         [](const ::testing::TestParamInfo<LaunchCase>& p) {
                           return p.param.Name;
                         });

}  // namespace
}  // namespace tarvex::testing
