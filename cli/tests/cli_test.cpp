#include "cli/cli.h"
#include "cli/watch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/testing/fake_clock.h"
#include "engine/tests/temp_folder.h"

namespace tarvex {
namespace {

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClock(&zone_);
    zone_.SetLocal(2026, 12, 6, 23, 30, 0);
  }
  void TearDown() override { SetClock(nullptr); }

  // What the command line prints, run on the test's data folder.
  std::string Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data-dir", folder_.string()});
    std::ostringstream out, err;
    RunCli(args, out, err);
    return out.str();
  }
  // Calibrates as another program would, a moment after the last save.
  void CalibrateFromOutside(const std::vector<std::string>& fields) {
    std::vector<std::string> args = {"calibrate"};
    args.insert(args.end(), fields.begin(), fields.end());
    Run(args);
    testing::ModifiedLater(folder_ / "ZRDTIMES.DAT");
  }
  std::string StoredPair() const { return testing::ReadBytes(folder_ / "ZRDTIMES.DAT"); }

  // UTC-5 with daylight saving from the second Sunday of March to the first Sunday of November.
  testing::FakeClock zone_{-5 * 3600, true};
  testing::TempFolder temp_{"tarvex-cli-"};
  const std::filesystem::path folder_ = temp_.path;
};

// A bar's watch prints what `status --waybar` says, at each tick that changes it; it takes up a
// pair stored meanwhile, and leaves the file to whoever stored it.
TEST_F(Cli, WatchForABarPrintsEachChangeOfTheStatusBarLineOnce) {
  Run({"calibrate", "23:30:00", "12/06/2026", "23:59:24", "01/14/0002"});  // a good moon at +2 s
  // Before each tick after the first: the seconds the clock moves, and whether a pair of a bad
  // moon's day is stored.
  const std::pair<int, bool> ticks[] = {{1, false}, {0, false}, {1, false}, {0, true}, {1, false}};
  std::vector<std::string> expected;
  const auto expect = [&] {
    const std::string line = Run({"status", "--waybar"});
    if (expected.empty() || line != expected.back()) expected.push_back(line);
  };
  expect();
  std::size_t tick = 0;
  std::ostringstream out, err;
  EXPECT_EQ(Watch(out, err, WatchView::Waybar, true,
                  [&] {
                    if (tick == std::size(ticks)) return false;
                    zone_.Advance(ticks[tick].first);
                    if (ticks[tick].second)
                      CalibrateFromOutside({"23:30:02", "12/06/2026", "00:00:00", "02/01/0002"});
                    ++tick;
                    expect();
                    return true;
                  }),
            0);
  std::string lines;
  for (const std::string& line : expected) lines += line;
  EXPECT_EQ(out.str(), lines);
  EXPECT_EQ(expected.size(), 5u);
  EXPECT_EQ(StoredPair(), "23:30:02\r\n12/06/2026\r\n00:00:00\r\n02/01/0002\r\n");
}

// What a watch saves when it ends: the pair re-based to the present, unless that present was
// pretended (--at) or a tick's clock was wrong for a moment; a wrong moment changes what is
// shown, never what is kept.
TEST_F(Cli, WatchSavesOnlyAPairThatKeepsTheClock) {
  const std::string pair = "23:30:00\r\n12/06/2026\r\n00:00:00\r\n01/14/0002\r\n";
  const struct {
    const char* name;
    bool realPresent;
    std::vector<std::int64_t> steps;  // the clock's moves before each tick after the first
    std::string saved;
  } cases[] = {
      {"a clock that runs", true, {1, 1}, "23:30:02\r\n12/06/2026\r\n00:00:36\r\n01/14/0002\r\n"},
      {"a present pretended", false, {1, 1}, pair},
      // Set back 60 days for one tick, as a flat CMOS battery does until the time is fetched:
      // game time below the calendar's start.
      {"a clock 60 days back for a moment",
       true,
       {-60 * 86400, 60 * 86400 + 2},
       "23:30:02\r\n12/06/2026\r\n00:00:36\r\n01/14/0002\r\n"},
  };
  for (const auto& c : cases) {
    zone_.SetLocal(2026, 12, 6, 23, 30, 0);
    Run({"calibrate", "23:30:00", "12/06/2026", "00:00:00", "01/14/0002"});
    std::size_t step = 0;
    std::ostringstream out, err;
    EXPECT_EQ(Watch(out, err, WatchView::Lines, c.realPresent,
                    [&] {
                      if (step == c.steps.size()) return false;
                      zone_.Advance(c.steps[step++]);
                      return true;
                    }),
              0)
        << c.name << err.str();
    EXPECT_EQ(StoredPair(), c.saved) << c.name;
  }
}

// Until a pair is stored the date and time are not set: watch runs on the built-in pair (game day
// 1, a bad moon's day), fires no alarm on it and leaves the file as it found it. A pair stored
// while it runs is taken up, and its alarms fire from then on.
TEST_F(Cli, WatchFiresNoAlarmUntilAPairIsStored) {
  const struct {
    const char* name;
    bool fileThere;         // an empty ZRDTIMES.DAT before the start, else none
    bool storedAtTick;      // a pair of a bad moon's day stored before the second tick
    const char* alarms;     // the lines of the alarms, in order
    const char* savedPair;  // what the file holds afterwards
  } cases[] = {
      {"no file", false, false, "", ""},
      {"an empty file", true, false, "", ""},
      {"a pair stored while it runs", true, true, "ALARM BAD MOON NOW, UNTIL 12:50 AM\n",
       "23:30:01\r\n12/06/2026\r\n00:00:18\r\n01/01/0002\r\n"},
  };
  for (const auto& c : cases) {
    zone_.SetLocal(2026, 12, 6, 23, 30, 0);
    std::filesystem::remove(folder_ / "ZRDTIMES.DAT");
    if (c.fileThere) std::ofstream(folder_ / "ZRDTIMES.DAT");
    bool first = true;
    std::ostringstream out, err;
    EXPECT_EQ(Watch(out, err, WatchView::Lines, true,
                    [&] {
                      if (!first) return false;
                      first = false;
                      zone_.Advance(1);
                      if (c.storedAtTick)
                        CalibrateFromOutside({"23:30:00", "12/06/2026", "00:00:00", "01/01/0002"});
                      return true;
                    }),
              0)
        << c.name << err.str();
    std::string alarms, line;
    for (std::istringstream lines(out.str()); std::getline(lines, line);)
      if (line.starts_with("ALARM ")) alarms += line + "\n";
    EXPECT_EQ(alarms, c.alarms) << c.name;
    EXPECT_EQ(StoredPair(), c.savedPair) << c.name;
  }
}

// On a terminal an alarm rings the bell, unless it fires in the quiet hours; its words and the
// live lines follow the clock of TARVEX.INI.
TEST_F(Cli, WatchRingsNoBellInTheQuietHoursAndFollowsTheClock) {
  const struct {
    const char* settings;  // TARVEX.INI
    const char* alarm;     // the alarm's line
    bool bell;
  } cases[] = {
      {"", "ALARM BAD MOON NOW, UNTIL 12:50 AM", true},
      {"[Alarms]\r\nQuietFrom=23:00\r\nQuietTo=00:00\r\n", "ALARM BAD MOON NOW, UNTIL 12:50 AM",
       false},
      {"[Alarms]\r\nQuietFrom=23:31\r\nQuietTo=23:30\r\n[Display]\r\nClock=24\r\n",
       "ALARM BAD MOON NOW, UNTIL 00:50", true},
  };
  for (const auto& c : cases) {
    zone_.SetLocal(2026, 12, 6, 23, 30, 0);
    Run({"calibrate", "23:30:00", "12/06/2026", "00:00:00", "01/01/0002"});  // a bad moon begins
    std::ofstream(folder_ / "TARVEX.INI", std::ios::binary) << c.settings;
    std::ostringstream out, err;
    EXPECT_EQ(Watch(out, err, WatchView::Terminal, false, [] { return false; }), 0) << err.str();
    EXPECT_NE(out.str().find(c.alarm), std::string::npos) << c.settings << out.str();
    EXPECT_EQ(out.str().find('\a') != std::string::npos, c.bell) << c.settings;
  }
}

// An output that takes no byte, as a full disk or a closed pipe does.
class RefusingBuffer final : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

// What a command prints must reach the output: when it does not, the command line fails with exit
// 1 and says so, whichever command printed. One that prints nothing, or stops on a mistake of its
// own, is not failed by an output it never used. (watch runs until a signal; its lines reach the
// same check.)
TEST_F(Cli, AnOutputThatTakesNothingFailsEveryCommandThatPrints) {
  const std::string hero = (folder_ / "hero.zrd").string();
  const std::string refused = "tarvex-cli: the output could not be written\n";
  const struct {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{"calibrate", "23:30:00", "12/06/2026", "00:00:00", "01/14/0002"}, 0},
      {{"alarms", "set", "good=off"}, 0},
      {{"status"}, 1},
      {{"status", "--json"}, 1},
      {{"status", "--waybar"}, 1},
      {{"moons"}, 1},
      {{"moons", "--ics"}, 1},
      {{"moons", "--json"}, 1},
      {{"alarms"}, 1},
      {{"alarms", "--json"}, 1},
      {{"set-path", hero}, 1},
      {{"autostart"}, 1},
      {{"--help"}, 1},
      {{"moons", "--help"}, 1},
      {{"--version"}, 1},
      {{"status", "extra"}, 2},
  };
  for (const auto& [args, code] : cases) {
    std::vector<std::string> line = {"--data-dir", folder_.string()};
    line.insert(line.end(), args.begin(), args.end());
    std::string shown;
    for (const std::string& arg : args) shown += arg + " ";
    RefusingBuffer buffer;
    std::ostream out(&buffer);
    std::ostringstream err;
    EXPECT_EQ(RunCli(line, out, err), code) << shown;
    EXPECT_EQ(err.str().find(refused) != std::string::npos, code == 1) << shown << err.str();
  }
}

}  // namespace
}  // namespace tarvex
