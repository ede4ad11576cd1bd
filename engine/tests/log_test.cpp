#include "engine/log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine_fixture.h"

namespace tarvex {
namespace {

// The log in a fresh data folder, with nothing on standard error.
class Log : public testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    SetWarnOnStandardError(false);
  }
  void TearDown() override {
    SetWarnOnStandardError(true);
    SetDebugOutput(nullptr);
    EngineTest::TearDown();
  }
};

std::vector<std::string> debugLines;  // what the debug output was handed

TEST_F(Log, EachFailureIsOneStampedLineInTheFileAndTheDebugOutput) {
  debugLines.clear();
  SetDebugOutput([](std::string_view line) { debugLines.emplace_back(line); });
  Warn("first");
  Warn("the second, \xC3\xA9");
  ASSERT_EQ(debugLines.size(), 2u);
  EXPECT_EQ(Read(std::string(kLogFile)), debugLines[0] + debugLines[1]);
  const std::regex stamped(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d (.*)\n)");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(debugLines[1], match, stamped)) << debugLines[1];
  EXPECT_EQ(match[1], "the second, \xC3\xA9");
}

// However much is logged, the file stays within its cap: it loses its oldest lines first, keeps
// about the newer half when it is cut, and never keeps part of a line.
TEST_F(Log, StaysWithinItsCapAndKeepsTheNewestLinesWhole) {
  const std::filesystem::path file = File(std::string(kLogFile));
  const std::string padding(90, 'x');
  constexpr int kFailures = 2000;  // three times what the cap holds
  std::uintmax_t size = 0;
  for (int i = 0; i < kFailures; ++i) {
    const std::string failure = "failure " + std::to_string(i) + " " + padding;
    Warn(failure);
    const std::uintmax_t before = std::exchange(size, std::filesystem::file_size(file));
    ASSERT_LE(size, kMaxLogBytes) << "after failure " << i;
    if (size < before) {  // cut: about the newer half is left, and the line that came
      ASSERT_GT(size + 2 * failure.size(), kMaxLogBytes / 2) << "after failure " << i;
    }
  }
  const std::string text = Read(std::string(kLogFile));
  std::istringstream lines(text);
  const std::regex form(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d failure (\d+) x{90})");
  std::vector<int> kept;
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(line, match, form)) << "a line cut: " << line;
    kept.push_back(std::stoi(match[1]));
  }
  ASSERT_FALSE(kept.empty());
  EXPECT_EQ(kept.back(), kFailures - 1);
  for (std::size_t i = 1; i < kept.size(); ++i) ASSERT_EQ(kept[i], kept[i - 1] + 1) << i;
}

}  // namespace
}  // namespace tarvex
