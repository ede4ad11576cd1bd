// The half-second tick: the tip from the checked views, the moon-phase icon and its blink.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/modZRD.h"
#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using TickTest = ShellTest;

std::string Padded(const std::string& tip) {
  return tip + std::string(64 - tip.size(), ' ');
}

// Game 00:00:00 on day 14 at real 10:00:00: the good moon is 4,800 real seconds away (today at
// 11:20 AM), the bad moon 72,000 (tomorrow at 6:00 AM).
TEST_F(TickTest, TheTipHoldsTheCheckedViewsInOrderSeparatedByCrLfAndEndedByNul) {
  struct Case {
    bool Time, Good, Bad;
    std::string Tip;
  };
  const std::string time = "00:00:00 03/14/0002";
  const std::string good = "GOOD MOON TODAY AT 11:20 AM";
  const std::string bad = "BAD MOON TOMORROW AT 6:00 AM";
  const std::string nul(1, '\0');
  const Case cases[] = {
      {true, true, false, time + "\r\n" + good + nul},  // the defaults
      {true, false, false, time + nul},
      {false, true, false, good + nul},
      {false, false, true, bad + nul},
      {true, false, true, time + "\r\n" + bad + nul},
      {false, true, true, good + "\r\n" + bad + nul},
      {false, false, false, nul},
  };
  LoadWith("00:00:00", "03/14/0002");
  for (const Case& c : cases) {
    main.SetChecked(MenuItem::ShowCurrentTime, c.Time);
    main.SetChecked(MenuItem::ShowNextGoodMoon, c.Good);
    main.SetChecked(MenuItem::ShowNextBadMoon, c.Bad);
    main.tmrUpdateTimes_Timer();  // no time passes between the cases
    EXPECT_EQ(main.TrayIcon.Tip.str(), Padded(c.Tip))
        << "views time=" << c.Time << " good=" << c.Good << " bad=" << c.Bad;
    EXPECT_EQ(platform.Tray.back().Icon.Tip.str(), Padded(c.Tip))
        << "the tray was given the tip; views time=" << c.Time << " good=" << c.Good
        << " bad=" << c.Bad;
  }
}

TEST_F(TickTest, ALongPairOfMoonLinesIsCutAt64Characters) {
  // At real 23:00 on game day 15 the good moon is two days away and its line is 39 long.
  WriteCalibrationFile("23:00:00", "12/06/2026", "00:00:00", "03/15/0002");
  clock.SetLocal(2026, 12, 6, 23, 0, 0);
  main.Form_Load();
  main.mnuShowCurrentTime_Click();
  main.mnuShowNextBadMoon_Click();
  Tick();
  const std::string full =
      "GOOD MOON TWO DAYS FROM NOW AT 12:20 PM\r\nBAD MOON TOMORROW AT 5:40 PM";
  EXPECT_EQ(main.TrayIcon.Tip.str(), full.substr(0, 64)) << "no NUL is left in the tip";
  EXPECT_EQ(VisibleTip(main.TrayIcon), full.substr(0, 63));
}

TEST_F(TickTest, TheIconShowsTheMoonsPhaseByGameDayWithoutBlinking) {
  struct Case {
    const char* Date;
    int Icon;
  };
  const Case cases[] = {
      {"03/02/0002", 102}, {"03/05/0002", 102}, {"03/06/0002", 103}, {"03/09/0002", 103},
      {"03/10/0002", 104}, {"03/14/0002", 104}, {"03/16/0002", 106}, {"03/19/0002", 106},
      {"03/20/0002", 107}, {"03/24/0002", 107}, {"03/25/0002", 108}, {"03/28/0002", 108},
      {"03/00/0002", 109}, {"03/xx/0002", 109},  // no day: the application picture
  };
  LoadWith("12:00:00", "03/14/0002");
  for (const Case& c : cases) {
    Calibration.ZRDDate = c.Date;  // no real time passes: the game day stays
    main.tmrUpdateTimes_Timer();
    EXPECT_EQ(main.TrayIcon.Icon, c.Icon) << c.Date;
    main.tmrUpdateTimes_Timer();
    EXPECT_EQ(main.TrayIcon.Icon, c.Icon) << c.Date << ", second tick";
    EXPECT_EQ(main.BlinkPhase, 1) << c.Date;
  }
}

TEST_F(TickTest, DaysOneAndFifteenBlinkWithTheApplicationPictureEveryTick) {
  struct Case {
    const char* Date;
    int Lit;
  };
  for (const Case c : {Case{"03/01/0002", 101}, Case{"03/15/0002", 105}}) {
    LoadWith("12:00:00", c.Date);
    main.BlinkPhase = 1;
    std::vector<int> icons;
    const std::size_t modifies = platform.TrayCalls(TrayMessage::Modify).size();
    for (int i = 0; i < 4; ++i) {
      Tick();
      icons.push_back(main.TrayIcon.Icon);
    }
    EXPECT_EQ(icons, (std::vector<int>{c.Lit, 109, c.Lit, 109})) << c.Date;
    EXPECT_EQ(platform.TrayCalls(TrayMessage::Modify).size() - modifies, 4u)
        << c.Date << ": every tick changes the icon";
  }
}

TEST_F(TickTest, TheBlinkPhaseCarriesOverFromOneMoonDayToTheNext) {
  LoadWith("12:00:00", "03/15/0002");
  main.tmrUpdateTimes_Timer();  // 105, phase 2
  main.tmrUpdateTimes_Timer();  // 109, phase 1
  main.tmrUpdateTimes_Timer();  // 105, phase 2
  EXPECT_EQ(main.TrayIcon.Icon, 105);
  Calibration.ZRDDate = "03/16/0002";
  main.tmrUpdateTimes_Timer();
  EXPECT_EQ(main.TrayIcon.Icon, 106);
  EXPECT_EQ(main.BlinkPhase, 2) << "rests on other days";
  Calibration.ZRDDate = "04/01/0002";
  main.tmrUpdateTimes_Timer();
  EXPECT_EQ(main.TrayIcon.Icon, 109) << "the bad moon starts in the phase the good moon left";
  main.tmrUpdateTimes_Timer();
  EXPECT_EQ(main.TrayIcon.Icon, 101);
}

TEST_F(TickTest, TheDayIsReadFromTheGameDateThatTheTickHasJustReBased) {
  // 23:59:59 on day 14: 18 game seconds later it is day 15, and the blink starts.
  LoadWith("23:59:59", "03/14/0002");
  Tick(2);
  EXPECT_EQ(main.TrayIcon.Icon, 104);
  Tick();
  EXPECT_EQ(Calibration.ZRDDate.str(), "03/15/0002");
  EXPECT_EQ(main.TrayIcon.Icon, 105);
}

}  // namespace
}  // namespace tarvex::testing
