#include "cli/cli.h"
#include "cli/watch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <tuple>
#include <vector>

#include "engine/clock.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "engine/testing/fake_clock.h"

namespace tarvex {
namespace {

using Json = nlohmann::json;

struct Result {
  int code;
  std::string out;
  std::string err;
};

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() / ("tarvex-cli-" + std::to_string(random()));
    std::filesystem::create_directories(folder_);
    SetClock(&zone_);
    zone_.SetLocal(2026, 12, 6, 23, 30, 0);
  }
  void TearDown() override {
    SetClock(nullptr);
    std::filesystem::remove_all(folder_);
  }

  Result Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data-dir", folder_.string()});
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
  }

  // UTC-5 with daylight saving from the second Sunday of March to the first Sunday of November.
  testing::FakeClock zone_{-5 * 3600, true};
  std::filesystem::path folder_;
};

// --- An independent model of the game calendar and the forecast ---------------------------------

constexpr std::int64_t kDay = 86400, kMonth = 28 * kDay, kYear = 12 * kMonth;

std::string Two(std::int64_t n) {
  return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string GameTime(std::int64_t total) {
  return Two(total % kDay / 3600) + ":" + Two(total % 3600 / 60) + ":" + Two(total % 60);
}

std::string GameDate(std::int64_t total) {
  const std::int64_t year = total / kYear;
  std::string digits = std::to_string(year);
  digits = year >= 10000 ? "0000" : std::string(4 - digits.size(), '0') + digits;
  return Two(total % kYear / kMonth + 1) + "/" + Two(total % kMonth / kDay + 1) + "/" + digits;
}

std::string Countdown(std::int64_t real) {
  std::string text;
  const auto add = [&text](std::int64_t n, const char* one, const char* many) {
    if (n > 0) text += std::to_string(n) + (n == 1 ? one : many);
  };
  add(real / kDay, " DAY  ", " DAY  ");
  add(real % kDay / 3600, " HOUR  ", " HOURS  ");
  add(real % 3600 / 60, " MINUTE  ", " MINUTES  ");
  add(real % 60, " SECOND", " SECONDS");
  return text;
}

std::string Moment(std::int64_t wallSecondOfDay, std::int64_t real) {
  const std::int64_t at = wallSecondOfDay + real;
  const std::int64_t hour = at % kDay / 3600;
  static const char* kWords[] = {"TODAY AT ", "TOMORROW AT ", "TWO DAYS FROM NOW AT "};
  const std::int64_t twelve = hour % 12 == 0 ? 12 : hour % 12;
  return std::string(kWords[at / kDay]) + std::to_string(twelve) + ":" + Two(at % 3600 / 60) +
         (hour < 12 ? " AM" : " PM");
}

// Real seconds until 00:00:00 of the next game day `moonDay`, never today.
std::int64_t RealSecondsToMoon(std::int64_t total, int moonDay) {
  std::int64_t moon = total - total % kMonth + (moonDay - 1) * kDay;
  if (moon <= total) moon += kMonth;
  return (moon - total) / 18;
}

// "12/06/2026 23:30:00".
std::string LocalText(const Clock& zone, std::int64_t t) {
  const CivilTime c = LocalTime(zone, t);
  return Two(c.month) + "/" + Two(c.day) + "/" + std::to_string(c.year) + " " + Two(c.hour) + ":" +
         Two(c.minute) + ":" + Two(c.second);
}

// A reading of the wall clock that names one moment only (not within a day of a change).
bool Unambiguous(const Clock& zone, std::int64_t t) {
  return zone.UtcOffset(t - kDay) == zone.UtcOffset(t + kDay);
}

// "2026-11-01T15:30:00-05:00".
std::string Iso(const Clock& zone, std::int64_t t) {
  const CivilTime c = LocalTime(zone, t);
  const std::int64_t offset = zone.UtcOffset(t), size = offset < 0 ? -offset : offset;
  return std::to_string(c.year) + "-" + Two(c.month) + "-" + Two(c.day) + "T" + Two(c.hour) + ":" +
         Two(c.minute) + ":" + Two(c.second) + (offset < 0 ? "-" : "+") + Two(size / 3600) + ":" +
         Two(size / 60 % 60);
}

// The first whole second at or after an instant in game seconds (1/18 s) since 1970.
std::int64_t Ceil18(std::int64_t ticks) {
  return ticks / 18 + (ticks % 18 > 0 ? 1 : 0);
}

// A moon in the model: its kind, its begin in game seconds from 01/01/0000 and in ticks.
struct ModelMoon {
  bool good;
  std::int64_t game, ticks;
};

// The next `count` moons of each kind from game moment `total` (= tick `present`): those that
// begin after it, or (`inProgress`) those that have not ended.
std::vector<ModelMoon> ModelMoons(std::int64_t total, std::int64_t present, int count,
                                  bool inProgress) {
  std::vector<ModelMoon> moons;
  for (const bool good : {true, false}) {
    std::int64_t game = total - total % kMonth + (good ? 14 : 0) * kDay;
    if (game + (inProgress ? kDay : 0) <= total) game += kMonth;
    for (int k = 0; k < count; ++k, game += kMonth)
      moons.push_back({good, game, present + game - total});
  }
  std::sort(moons.begin(), moons.end(),
            [](const ModelMoon& a, const ModelMoon& b) { return a.ticks < b.ticks; });
  return moons;
}

struct ModelAlarm {
  std::int64_t due;  // ticks
  bool warning;
  ModelMoon moon;
};

// Status, moons and alarms as JSON, compared as values: their bytes are the golden test's.
TEST_F(Cli, StatusMoonsAndAlarmsAgreeWithTheModelAcrossYearsZonesAndDaylightSaving) {
  struct Zone {
    const char* name;
    testing::FakeClock clock;
  };
  Zone zones[] = {{"UTC", testing::FakeClock(0)},
                  {"UTC+5:45", testing::FakeClock(5 * 3600 + 45 * 60)},
                  {"UTC-3:30 with daylight saving", testing::FakeClock(-3 * 3600 - 30 * 60, true)},
                  {"UTC-5 with daylight saving", testing::FakeClock(-5 * 3600, true)}};
  const int kWarnings[] = {0, 1, 10, 90, 1120, 1440};  // 1,120 minutes: 14 game days
  std::mt19937_64 random(20261107);
  for (Zone& zone : zones) {
    SetClock(&zone.clock);
    for (int checked = 0; checked < 100;) {
      // Every other case in the week before a change of daylight saving.
      const std::int64_t year = 1995 + static_cast<std::int64_t>(random() % 50);
      const std::int64_t now =
          checked % 2 == 0
              ? DaysFromCivil(year, 1, 1) * kDay + static_cast<std::int64_t>(random() % kYear)
              : DaysFromCivil(year, random() % 2 ? 3 : 10, random() % 2 ? 1 : 25) * kDay +
                    static_cast<std::int64_t>(random() % (7 * kDay));
      const std::int64_t realStart = now - static_cast<std::int64_t>(random() % (3 * 366 * kDay));
      const std::int64_t gameStart = static_cast<std::int64_t>(random() % (9000 * kYear));
      if (!Unambiguous(zone.clock, realStart) || !Unambiguous(zone.clock, now)) continue;
      const bool good = random() % 4 != 0, bad = random() % 4 != 0, atStart = random() % 3 != 0;
      const int warning = kWarnings[random() % std::size(kWarnings)];
      const int count = 1 + static_cast<int>(random() % 7);
      const std::string n = std::to_string(count);
      const std::string real = LocalText(zone.clock, realStart);
      const std::string at = LocalText(zone.clock, now);
      ASSERT_EQ(Run({"calibrate", real.substr(11), real.substr(0, 10), GameTime(gameStart),
                     GameDate(gameStart)})
                    .code,
                0);
      const auto onOff = [](bool on) { return on ? "on" : "off"; };
      ASSERT_EQ(Run({"alarms", "set", std::string("good=") + onOff(good),
                     std::string("bad=") + onOff(bad), "warning=" + std::to_string(warning),
                     std::string("at-start=") + onOff(atStart)})
                    .code,
                0);
      SCOPED_TRACE(std::string(zone.name) + ", calibrated " + real + " = " + GameTime(gameStart) +
                   " " + GameDate(gameStart) + ", at " + at + "; good " + onOff(good) + ", bad " +
                   onOff(bad) + ", warning " + std::to_string(warning) + ", at start " +
                   onOff(atStart));
      const std::int64_t total = gameStart + 18 * (now - realStart), present = 18 * now;

      const CivilTime wall = LocalTime(zone.clock, now);
      const std::int64_t second = wall.hour * 3600 + wall.minute * 60 + wall.second;
      const auto next = [&](int moonDay) {
        const std::int64_t left = RealSecondsToMoon(total, moonDay);
        return Json{{"countdown", Countdown(left)}, {"moment", Moment(second, left)}};
      };
      const int icon = MoonPhaseIcon(static_cast<double>(total % kMonth / kDay + 1));  // the engine's
      ASSERT_EQ(Json::parse(Run({"status", "--json", "--at", at}).out),
                (Json{{"real_time", at.substr(11)}, {"real_date", at.substr(0, 10)},
                      {"game_time", GameTime(total)}, {"game_date", GameDate(total)},
                      {"good_moon", next(15)}, {"bad_moon", next(1)}, {"icon", icon}}));

      Json expected = Json::array();
      for (const ModelMoon& m : ModelMoons(total, present, count, false)) {
        expected.push_back({{"moon", m.good ? "good" : "bad"}, {"game_date", GameDate(m.game)},
                            {"begins", Iso(zone.clock, Ceil18(m.ticks))},
                            {"ends", Iso(zone.clock, Ceil18(m.ticks + 18 * 4800))}});
      }
      ASSERT_EQ(Json::parse(Run({"moons", "--json", "--count", n, "--at", at}).out), expected);

      std::vector<ModelAlarm> firings;
      for (const ModelMoon& m : ModelMoons(total, present, count + 1, true)) {
        if (!(m.good ? good : bad)) continue;
        const ModelAlarm stages[] = {{m.ticks - warning * 1080, true, m}, {m.ticks, false, m}};
        for (const ModelAlarm& a : stages) {
          if ((a.warning ? warning > 0 : atStart) && Ceil18(a.due) > now) firings.push_back(a);
        }
      }
      std::sort(firings.begin(), firings.end(), [](const ModelAlarm& a, const ModelAlarm& b) {
        return std::tuple(a.due, !a.moon.good, !a.warning) <
               std::tuple(b.due, !b.moon.good, !b.warning);
      });
      firings.resize(std::min(firings.size(), static_cast<std::size_t>(count)));
      expected = Json::array();
      for (const ModelAlarm& a : firings) {
        expected.push_back({{"moon", a.moon.good ? "good" : "bad"},
                            {"stage", a.warning ? "warning" : "start"},
                            {"fires", Iso(zone.clock, Ceil18(a.due))},
                            {"begins", Iso(zone.clock, Ceil18(a.moon.ticks))},
                            {"game_date", GameDate(a.moon.game)}});
      }
      ASSERT_EQ(Json::parse(Run({"alarms", "--json", "--count", n, "--at", at}).out),
                expected);
      ++checked;
    }
  }
}

// A bar's watch prints what `status --waybar` says, at each tick that changes it; it takes up a
// pair stored meanwhile, and leaves the file to whoever stored it.
TEST_F(Cli, WatchForABarPrintsEachChangeOfTheStatusBarLineOnce) {
  Run({"calibrate", "23:30:00", "12/06/2026", "23:59:24", "01/14/0002"});  // a good moon at +2 s
  // Before each tick after the first: the seconds the clock moves, and whether a pair of a bad
  // moon's day is stored.
  const std::pair<int, bool> ticks[] = {{1, false}, {0, false}, {1, false}, {0, true}, {1, false}};
  std::vector<std::string> expected;
  const auto expect = [&] {
    const std::string line = Run({"status", "--waybar"}).out;
    if (expected.empty() || line != expected.back()) expected.push_back(line);
  };
  expect();
  std::size_t tick = 0;
  std::ostringstream out, err;
  EXPECT_EQ(Watch(out, err, WatchView::Waybar, {},
                  [&] {
                    if (tick == std::size(ticks)) return false;
                    zone_.Advance(ticks[tick].first);
                    if (ticks[tick].second)
                      Run({"calibrate", "23:30:02", "12/06/2026", "00:00:00", "02/01/0002"});
                    ++tick;
                    expect();
                    return true;
                  }),
            0);
  std::string lines;
  for (const std::string& line : expected) lines += line;
  EXPECT_EQ(out.str(), lines);
  EXPECT_EQ(expected.size(), 5u);
  std::ifstream in(folder_ / "ZRDTIMES.DAT", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            "23:30:02\r\n12/06/2026\r\n00:00:00\r\n02/01/0002\r\n");
}

// A folder where the temporary file would go makes the save fail; the engine keeps the old file.
TEST_F(Cli, ACommandThatCannotWriteItsFileSaysSoAndExitsOne) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"ZRDTIMES.DAT", {"calibrate", "12:00:00", "02/28/2026", "00:00:00", "01/01/0001"}},
      {"ZRDDIR.DAT", {"set-path", (folder_ / "hero.zrd").string()}},
      {"TARVEX.INI", {"alarms", "set", "good=off"}}};
  for (const auto& [name, args] : cases) {
    std::filesystem::create_directory(folder_ / (std::string(name) + ".tmp"));
    const Result result = Run(args);
    EXPECT_EQ(std::to_string(result.code) + " " + result.err,
              "1 tarvex-cli: could not write " + (folder_ / name).string() + "\n");
  }
}

}  // namespace
}  // namespace tarvex
