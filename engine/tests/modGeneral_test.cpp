#include "engine/modGeneral.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "engine_fixture.h"

namespace tarvex {
namespace {

TEST(LeadingNumber, ReadsSignDigitsAndOnePoint) {
  const std::pair<const char*, double> cases[] = {
      {"", 0},   {" 5", 5}, {"-1", -1},     {".5", 0.5}, {"1 2", 12}, {"\t7\n", 7},
      {"+3", 3}, {"3-", 3}, {"1.2.3", 1.2}, {"0009", 9}, {"-", 0},    {"- 4", -4},
      {"5.", 5}, {"x5", 0}, {"/2", 0},      {"1e3", 1},  {"--1", 0},  {"9999", 9999},
  };
  for (const auto& [text, value] : cases)
    EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << '"' << text << '"';
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  const std::pair<double, std::int64_t> cases[] = {{0.5, 0},   {1.5, 2}, {2.5, 2}, {-0.5, 0},
                                                   {-1.5, -2}, {2.4, 2}, {2.6, 3}, {7, 7}};
  for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

TEST(TimeAndDateChecks, FollowThePositionRulesAndTheCalendar) {
  // A text, whether it passes the position rules and whether it names a moment of the calendar.
  using Case = std::tuple<const char*, bool, bool>;
  const Case times[] = {
      {"00:00:00", true, true},   {"23:59:59", true, true},   {"24:00:00", true, false},
      {"25:00:00", false, false}, {"12:60:00", false, false}, {"00:00:60", false, false},
      {"-1:00:00", false, false}, {"12:30:", true, false},    {"12:30", false, false},
      {"ab:cd:ef", true, false},  {"12.30.00", false, false}, {"12:30:00x", true, false},
      {" 1:02:03", true, false},  {"1:2:3", false, false},
  };
  for (const auto& [text, valid, calendar] : times) {
    EXPECT_EQ(IsValidTime(text), valid) << '"' << text << '"';
    EXPECT_EQ(IsCalendarTime(text), calendar) << '"' << text << '"';
  }
  const Case dates[] = {
      {"02/29/2024", true, true},   {"02/29/2023", true, false},  {"04/31/2023", true, false},
      {"02/29/2000", true, true},   {"02/29/1900", true, false},  {"00/10/2003", false, false},
      {"13/01/2003", false, false}, {"01/32/2003", false, false}, {"12/00/2003", false, false},
      {"01/02/", true, false},      {"01/02/03", true, false},    {"1/2/2003", false, false},
      {"01-02-2003", false, false}, {" 1/02/2003", true, false},  {"aa/bb/cccc", false, false},
      {"01/01/0000", true, false},  {"01/01/0001", true, true},   {"06/15/2026 ", true, false},
  };
  for (const auto& [text, valid, calendar] : dates) {
    EXPECT_EQ(IsValidDate(text), valid) << '"' << text << '"';
    EXPECT_EQ(IsCalendarDate(text), calendar) << '"' << text << '"';
  }
}

TEST(TextRules, CountCharactersNotBytes) {
  EXPECT_EQ(FixedWidth("", 3), "   ");
  EXPECT_EQ(FixedWidth("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");           // "été" cut to "ét"
  EXPECT_EQ(FixedWidth("\xC3\xA9", 3), "\xC3\xA9  ");                   // one character, two blanks
  EXPECT_EQ(CharCount(FixedWidth("\xE2\x82\xAC\xE2\x82\xAC", 5)), 5u);  // "€€"
  // Piece counts from 1.
  EXPECT_EQ(Piece("12:34:56", 4), "34");
  EXPECT_EQ(Piece("12:34:5", 7), "5");
  EXPECT_EQ(Piece("12:34", 7), "");
  EXPECT_EQ(Piece("\xC3\xA9\x31:00", 2), "1:");
  EXPECT_EQ(Piece("01/02/2003", 7, 4), "2003");
}

using Folders = testing::EngineTest;

// The program folder keeps the data files when files can be made there and the program was not
// installed (an installed program's folder is writable to root). Else the user folder does: a
// read-only portable folder, or one an installer filled, has its data files carried over to it the
// first time, and never again over what the user folder holds since.
TEST_F(Folders, DataFilesStayInTheProgramFolderOrMoveToTheUserFolderOnce) {
  SetProgramFolder(Folder());
  EXPECT_EQ(GetAppPath(), Folder());  // one separator at the end, not two

  const std::filesystem::path program = folder_ / "program";
  const std::filesystem::path user = folder_ / "config" / "user";
  const std::string userFolder = user.string() + kPathSeparator;
  std::filesystem::create_directories(program);
  // Whether files can be made in the program folder, whether the program was installed, and
  // whether the user folder is chosen.
  const std::tuple<bool, bool, bool> cases[] = {
      {true, false, false}, {true, true, true}, {false, false, true}, {false, true, true}};
  for (const auto& [writable, installed, toUser] : cases) {
    // The probe file cannot be made where a folder of its name stands, whoever runs the test;
    // it stays, so the writable rows come first.
    if (!writable) std::filesystem::create_directories(program / ".tarvex-write-test");
    SetProgramFolder(program.string());
    EXPECT_EQ(ChooseDataFolder(user.string(), installed), toUser ? userFolder : GetAppPath())
        << "writable " << writable << ", installed " << installed;
    EXPECT_EQ(ChooseDataFolder(std::nullopt, installed), GetAppPath()) << "no user folder";
    std::filesystem::remove_all(user);
  }

  for (const std::string_view name : kDataFileNames) Write("program/" + std::string(name), "old");
  EXPECT_EQ(ChooseDataFolder(user.string(), false), userFolder);
  for (const std::string_view name : kDataFileNames)
    EXPECT_EQ(Read("config/user/" + std::string(name)), "old") << name;

  Write("config/user/ZRDDIR.DAT", "D:\\Elsewhere\\\r\n");
  std::filesystem::remove(user / "ZRDTIMES.DAT");
  ChooseDataFolder(user.string(), true);
  EXPECT_FALSE(std::filesystem::exists(user / "ZRDTIMES.DAT")) << "copied over the user's files";
}

}  // namespace
}  // namespace tarvex
