// The auto-run from its arming to the typed log-in: the minute match, the launch, the wait for the
// game's window, and the keystroke texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/frmAutoRun.h"
#include "engine/clock.h"
#include "engine/modZRD.h"
#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using Texts = std::vector<std::string>;

// The 29 texts of a log-in with these (escaped) character and password texts.
Texts LogIn(const std::string& character, const std::string& password) {
  Texts texts(4, "{TAB}");
  texts.insert(texts.end(), {"~", character, "~", "~"});
  texts.insert(texts.end(), 9, "{TAB}");
  texts.push_back(password);
  texts.insert(texts.end(), 10, "{TAB}");
  texts.push_back("~");
  return texts;
}

class AutoRunTest : public ShellTest {
 protected:
  // Arms through the menu and the dialog, as the user does.
  void Arm(bool gameTime, std::string time, std::string date,
           std::string character = "C:\\Kestrune\\hero.zrd", std::string password = "secret") {
    platform.DialogActions.push_back([=](Dialog& dialog) {
      if (!gameTime) dialog.Click("optRLTime");
      dialog.SetText("txtTime", time);
      dialog.SetText("txtDate", date);
      dialog.SetText("txtCharacterFile", character);
      dialog.SetText("txtPassword", password);
      dialog.Click("cmdOK");
    });
    main.mnuAutoRunKestrune_Click();
  }

  // Ticks until the game is started, at most `seconds` long; false when it was not.
  bool TickUntilStarted(int seconds) {
    const std::size_t before = platform.Started.size();
    for (int i = 0; i < 2 * seconds; ++i) {
      launchedAt = clock.Now();
      Tick();
      if (platform.Started.size() > before) return true;
    }
    return false;
  }

  // Game 10:29:00 on 03/14/0002 at real 10:00:00; game 10:30 comes after 4 real seconds.
  void LoadBeforeGameMoment() {
    LoadWith("10:29:00", "03/14/0002");
    game = MakeGameFolder(true);
  }

  std::string game;
  std::int64_t launchedAt = 0;  // the clock at the tick that started the game
};

TEST_F(AutoRunTest, ArmedForGameTimeLaunchesOnceAtTheMinuteAndTypesTheLogIn) {
  LoadBeforeGameMoment();
  platform.FocusOwner = platform.NextProcess;  // the game takes the focus at once
  Arm(true, "10:30:00", "03/14/0002", "C:\\Kestrune\\hero (1).zrd", "pa[ss]");
  EXPECT_TRUE(main.Checked(MenuItem::AutoRunKestrune));
  EXPECT_FALSE(main.AutoRunFired);

  ASSERT_TRUE(TickUntilStarted(10));
  EXPECT_EQ(Calibration.ZRDTime.str(), "10:30:12") << "the first tick of game minute 10:30";
  EXPECT_TRUE(main.AutoRunFired);
  EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune));
  EXPECT_EQ(platform.Lookups, Texts{game + "vrak.exe"});
  EXPECT_EQ(platform.Started.at(0).Path, game + "vrak.exe");
  EXPECT_EQ(platform.Started.at(0).WorkingFolder, game) << "the game runs in its own folder";
  EXPECT_EQ(platform.Started.at(0).ShowWindow, 2);
  EXPECT_TRUE(platform.Keystrokes.empty()) << "nothing is typed in the tick that starts the game";

  RunSeconds(10);  // the rest of the minute, and on
  EXPECT_EQ(platform.Started.size(), 1u);
  EXPECT_EQ(platform.Keystrokes, LogIn("C:\\Kestrune\\hero {(}1{)}.zrd", "pa{[}ss{]}"));
  EXPECT_TRUE(platform.Messages.empty());
  for (const ProcessId asked : platform.FocusQuestions) EXPECT_EQ(asked, platform.NextProcess);
  EXPECT_EQ(platform.FocusQuestions.size(), 29u) << "the focus is checked before each text";
}

TEST_F(AutoRunTest, ArmedForRealTimeLaunchesAtTheFirstTickOfTheMinuteNotItsSeconds) {
  clock.SetLocal(2026, 12, 6, 10, 29, 58);
  LoadWith("00:00:01", "01/01/0001");
  MakeGameFolder(true);
  platform.FocusOwner = platform.NextProcess;
  Arm(false, "10:30:59", "12/06/2026");
  EXPECT_FALSE(main.AutoRunKSTime);

  ASSERT_TRUE(TickUntilStarted(5));
  EXPECT_EQ(Calibration.RealTime.str(), "10:30:00");
  RunSeconds(70);
  EXPECT_EQ(platform.Started.size(), 1u);
  EXPECT_EQ(platform.Keystrokes, LogIn("C:\\Kestrune\\hero.zrd", "secret"));
}

TEST_F(AutoRunTest, AMissingGameSpendsTheAutoRunSilently) {
  struct Case {
    bool GameThere;
    const char* StoredName;
    const char* Why;
  };
  const Case cases[] = {
      {false, "", "no vrak.exe in the folder"},
      {true, "VRAK.EXE", "the stored name differs in case"},
      {true, "vrak.exe.lnk", "another name"},
  };
  LoadBeforeGameMoment();
  for (const Case& c : cases) {
    platform.Files.clear();
    platform.Lookups.clear();
    if (c.GameThere) platform.Files[game + "vrak.exe"] = c.StoredName;
    clock.SetLocal(2026, 12, 6, 10, 0, 0);
    Calibration.RealTime = "10:00:00";
    Calibration.ZRDTime = "10:29:00";
    Arm(true, "10:30:00", "03/14/0002");
    RunSeconds(10);
    EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune)) << c.Why;
    EXPECT_TRUE(main.AutoRunFired) << c.Why;
    EXPECT_EQ(platform.Lookups, Texts{game + "vrak.exe"}) << c.Why << ": looked up once";
    EXPECT_TRUE(platform.Started.empty()) << c.Why;
    EXPECT_TRUE(platform.Messages.empty()) << c.Why;
    EXPECT_TRUE(platform.Keystrokes.empty()) << c.Why;
  }
}

TEST_F(AutoRunTest, TheMenuCommandDisarmsWithoutADialogAndKeepsTheSettings) {
  LoadBeforeGameMoment();
  Arm(true, "10:30:00", "03/14/0002", "C:\\k\\a(b).zrd", "p)w");
  main.mnuAutoRunKestrune_Click();
  EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune));
  EXPECT_EQ(platform.DialogsShown.size(), 1u);
  EXPECT_EQ(main.AutoRunTime, "10:30:00");
  EXPECT_EQ(main.AutoRunCharacter, "C:\\k\\a{(}b{)}.zrd");
  EXPECT_EQ(main.AutoRunPassword, "p{)}w");
  RunSeconds(10);
  EXPECT_TRUE(platform.Lookups.empty()) << "a disarmed auto-run is not tested";
  EXPECT_FALSE(main.AutoRunFired);
}

TEST_F(AutoRunTest, ASpentAutoRunCanBeArmedAgainAndLaunchesAgain) {
  LoadBeforeGameMoment();
  platform.FocusOwner = platform.NextProcess;
  Arm(true, "10:30:00", "03/14/0002");
  ASSERT_TRUE(TickUntilStarted(10));
  RunSeconds(1);
  ASSERT_TRUE(main.AutoRunFired);

  // Cancel from the spent state leaves it disarmed, with the flag cleared.
  main.mnuAutoRunKestrune_Click();
  EXPECT_FALSE(main.AutoRunFired);
  EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune));

  main.AutoRunFired = true;  // spent again, as after a launch
  Arm(true, "10:31:00", "03/14/0002", "C:\\Kestrune\\second.zrd", "two");
  EXPECT_FALSE(main.AutoRunFired);
  EXPECT_TRUE(main.Checked(MenuItem::AutoRunKestrune));
  platform.Keystrokes.clear();
  RunSeconds(10);
  ASSERT_EQ(platform.Started.size(), 2u);
  EXPECT_EQ(platform.Keystrokes, LogIn("C:\\Kestrune\\second.zrd", "two"));
}

TEST_F(AutoRunTest, TheCharacterAndPasswordAreTypedExactlyAsEntered) {
  struct Case {
    const char* Character;
    const char* Password;
    const char* TypedCharacter;
    const char* TypedPassword;
  };
  const Case cases[] = {
      {"C:\\Kestrune\\hero.zrd", "", "C:\\Kestrune\\hero.zrd", ""},
      {"C:\\Games (x86)\\[EU]\\hero.zrd", "a(b)c", "C:\\Games {(}x86{)}\\{[}EU{]}\\hero.zrd",
       "a{(}b{)}c"},
      {"C:\\k\\hero+1.zrd", "x^y%z~", "C:\\k\\hero{+}1.zrd", "x{^}y{%}z{~}"},
      {"C:\\k\\{hero}.zrd", "{}", "C:\\k\\{{}hero{}}.zrd", "{{}{}}"},
      {"C:\\k\\h\xC3\xA9ros.zrd", "((", "C:\\k\\h\xC3\xA9ros.zrd", "{(}{(}"},
  };
  for (const Case& c : cases) {
    main.SetChecked(MenuItem::AutoRunKestrune, false);
    Arm(true, "10:30:00", "03/14/0002", c.Character, c.Password);
    EXPECT_EQ(main.AutoRunCharacter, c.TypedCharacter) << c.Character;
    EXPECT_EQ(main.AutoRunPassword, c.TypedPassword) << c.Password;
  }
}

TEST_F(AutoRunTest, CancelLeavesTheSettingsAndTheCheckMarkAsTheyWere) {
  LoadBeforeGameMoment();
  Arm(true, "10:30:00", "03/14/0002", "C:\\k\\a(b).zrd", "{pw}");
  main.mnuAutoRunKestrune_Click();  // disarm
  platform.DialogActions.push_back([](Dialog& dialog) {
    dialog.Click("optRLTime");
    dialog.SetText("txtTime", "11:00:00");
    dialog.SetText("txtDate", "12/06/2026");
    dialog.SetText("txtCharacterFile", "C:\\other.zrd");
    dialog.Click("cmdCancel");
  });
  main.mnuAutoRunKestrune_Click();
  EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune));
  EXPECT_TRUE(main.AutoRunKSTime);
  EXPECT_EQ(main.AutoRunTime, "10:30:00");
  EXPECT_EQ(main.AutoRunDate, "03/14/0002");
  EXPECT_EQ(main.AutoRunCharacter, "C:\\k\\a{(}b{)}.zrd") << "not escaped a second time";
  EXPECT_EQ(main.AutoRunPassword, "{{}pw{}}");
}

TEST_F(AutoRunTest, ATickWhileTheDialogIsStillUpDoesNotLaunchWithUnescapedTexts) {
  LoadBeforeGameMoment();
  platform.FocusOwner = platform.NextProcess;
  RunSeconds(4);  // game 10:30 has come
  platform.DialogActions.push_back([this](Dialog& dialog) {
    dialog.SetText("txtTime", "10:30:00");
    dialog.SetText("txtDate", "03/14/0002");
    dialog.SetText("txtCharacterFile", "C:\\k\\(a).zrd");
    dialog.Click("cmdOK");
    main.tmrUpdateTimes_Timer();  // the desktop runs a tick before the dialog returns
  });
  main.mnuAutoRunKestrune_Click();
  EXPECT_TRUE(platform.Started.empty());
  Tick(2);
  ASSERT_EQ(platform.Started.size(), 1u);
  EXPECT_EQ(platform.Keystrokes.at(5), "C:\\k\\{(}a{)}.zrd");
}

// --- The wait for the game's window ------------------------------------------------------------

TEST_F(AutoRunTest, TheLogInWaitsUntilTheGamesWindowHasTheFocus) {
  LoadBeforeGameMoment();
  Arm(true, "10:30:00", "03/14/0002");
  ASSERT_TRUE(TickUntilStarted(10));
  RunSeconds(20);  // the game is still loading; another window has the focus
  EXPECT_TRUE(platform.Keystrokes.empty());
  EXPECT_TRUE(platform.Messages.empty());
  platform.FocusOwner = platform.NextProcess;
  Tick();
  EXPECT_EQ(platform.Keystrokes, LogIn("C:\\Kestrune\\hero.zrd", "secret"));
  RunSeconds(5);
  EXPECT_EQ(platform.Keystrokes.size(), 29u) << "typed once";
}

TEST_F(AutoRunTest, AfterSixtySecondsWithoutTheFocusNothingIsTypedAndTheUserIsTold) {
  LoadBeforeGameMoment();
  Arm(true, "10:30:00", "03/14/0002");
  ASSERT_TRUE(TickUntilStarted(10));
  const std::int64_t started = launchedAt;
  while (CurrentClock().Now() < started + 60) {
    Tick();
    ASSERT_TRUE(platform.Messages.empty()) << "still waiting at +" << clock.Now() - started;
  }
  Tick();
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].Text,
            "The log-in was not typed because the game's window did not have the keyboard focus.");
  EXPECT_EQ(platform.Messages[0].Title, "Tarvex");
  platform.FocusOwner = platform.NextProcess;  // too late
  RunSeconds(5);
  EXPECT_TRUE(platform.Keystrokes.empty());
  EXPECT_EQ(platform.Messages.size(), 1u);
}

TEST_F(AutoRunTest, TypingStopsAtOnceWhenTheFocusLeavesTheGame) {
  LoadBeforeGameMoment();
  platform.FocusOwner = platform.NextProcess;
  platform.AfterKeystrokes = [this](std::string_view) {
    if (platform.Keystrokes.size() == 8) platform.FocusOwner.reset();  // the user clicks away
  };
  Arm(true, "10:30:00", "03/14/0002", "C:\\Kestrune\\hero.zrd", "secret");
  ASSERT_TRUE(TickUntilStarted(10));
  RunSeconds(5);
  const Texts all = LogIn("C:\\Kestrune\\hero.zrd", "secret");
  EXPECT_EQ(platform.Keystrokes, Texts(all.begin(), all.begin() + 8));
  for (const std::string& typed : platform.Keystrokes) EXPECT_NE(typed, "secret");
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].Text,
            "The log-in was not typed because the game's window did not have the keyboard focus.");
}

TEST_F(AutoRunTest, ATickNestedInTheTypingDoesNotTypeASecondTime) {
  LoadBeforeGameMoment();
  platform.FocusOwner = platform.NextProcess;
  platform.AfterKeystrokes = [this](std::string_view) { main.tmrUpdateTimes_Timer(); };
  Arm(true, "10:30:00", "03/14/0002");
  ASSERT_TRUE(TickUntilStarted(10));
  RunSeconds(2);
  EXPECT_EQ(platform.Keystrokes, LogIn("C:\\Kestrune\\hero.zrd", "secret"));
  EXPECT_EQ(platform.Started.size(), 1u);
}

TEST_F(AutoRunTest, ADesktopThatCannotTypeStartsTheGameAndSaysWhy) {
  LoadBeforeGameMoment();
  platform.FocusOwner = platform.NextProcess;
  platform.Limitation = "This desktop does not let programs type into other programs' windows.";
  Arm(true, "10:30:00", "03/14/0002");
  ASSERT_TRUE(TickUntilStarted(10));
  RunSeconds(5);
  EXPECT_EQ(platform.Started.size(), 1u);
  EXPECT_TRUE(platform.Keystrokes.empty());
  EXPECT_TRUE(platform.FocusQuestions.empty());
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].Text, platform.Limitation);
  EXPECT_EQ(platform.Messages[0].Title, "Tarvex");
}

TEST_F(AutoRunTest, AGameThatCannotBeStartedIsReported) {
  LoadBeforeGameMoment();
  platform.FocusOwner = platform.NextProcess;
  platform.StartSucceeds = false;
  Arm(true, "10:30:00", "03/14/0002");
  ASSERT_TRUE(TickUntilStarted(10));
  RunSeconds(5);
  EXPECT_TRUE(platform.Keystrokes.empty());
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].Text, "Kestrune could not be started from " + game + "vrak.exe.");
  EXPECT_EQ(platform.Messages[0].Title, "Tarvex");
  EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune));
  EXPECT_TRUE(main.AutoRunFired);
}

TEST_F(AutoRunTest, AFailedStartSaysWhyWhenTheDesktopKnows) {
  LoadBeforeGameMoment();
  platform.StartSucceeds = false;
  platform.Limitation = "Tarvex cannot start the game: no Wine was found.";
  Arm(true, "10:30:00", "03/14/0002");
  ASSERT_TRUE(TickUntilStarted(10));
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].Text, "Kestrune could not be started from " + game +
                                           "vrak.exe.  Tarvex cannot start the game: no Wine was "
                                           "found.");
}

TEST_F(AutoRunTest, TicksNestedInTheFailureMessageDoNotLaunchAgain) {
  LoadBeforeGameMoment();
  platform.StartSucceeds = false;
  platform.DuringMessage = [this](const MessageCall&) { Tick(4); };
  Arm(true, "10:30:00", "03/14/0002");
  ASSERT_TRUE(TickUntilStarted(10));
  EXPECT_EQ(platform.Started.size(), 1u);
  EXPECT_EQ(platform.Messages.size(), 1u);
}

}  // namespace
}  // namespace tarvex::testing
