#include "cli/cli.h"
#include "cli/watch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "engine/testing/fake_clock.h"

namespace tarvex {
namespace {

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

  // What the command line prints, run on the test's data folder.
  std::string Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data-dir", folder_.string()});
    std::ostringstream out, err;
    RunCli(args, out, err);
    return out.str();
  }

  // UTC-5 with daylight saving from the second Sunday of March to the first Sunday of November.
  testing::FakeClock zone_{-5 * 3600, true};
  std::filesystem::path folder_;
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
                    if (ticks[tick].second) {
                      // Another program's save, a moment later than the first in the file
                      // system's clock, which moves in steps of some milliseconds.
                      const auto file = folder_ / "ZRDTIMES.DAT";
                      const auto before = std::filesystem::last_write_time(file);
                      Run({"calibrate", "23:30:02", "12/06/2026", "00:00:00", "02/01/0002"});
                      std::filesystem::last_write_time(file, before + std::chrono::seconds(1));
                    }
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

}  // namespace
}  // namespace tarvex
