#include "engine/modGeneral.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine_fixture.h"

namespace tarvex {
namespace {

struct NumberCase {
  const char* text;
  double value;
};

TEST(LeadingNumber, ReadsSignDigitsAndOnePoint) {
  const NumberCase cases[] = {
      {"", 0},    {"ab", 0},   {" ", 0},     {" 5", 5},  {"-1", -1},     {".5", 0.5},
      {"12", 12}, {"1 2", 12}, {"\t7\n", 7}, {"+3", 3},  {"3-", 3},      {"1.2.3", 1.2},
      {"2:", 2},  {"0009", 9}, {"-", 0},     {"-.", 0},  {"- 4", -4},    {"5.", 5},
      {"x5", 0},  {"/2", 0},   {"1e3", 1},   {"--1", 0}, {"9999", 9999},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  const std::pair<double, std::int64_t> cases[] = {{0.5, 0},   {1.5, 2}, {2.5, 2}, {-0.5, 0},
                                                   {-1.5, -2}, {2.4, 2}, {2.6, 3}, {7, 7}};
  for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

struct CheckCase {
  const char* text;
  bool valid;
};

TEST(IsValidTime, FollowsThePositionRules) {
  const CheckCase cases[] = {
      {"16:45:00", true},    {"24:59:59", true}, {"25:00:00", false}, {"12:60:00", false},
      {"12:30:", true},      {"12:30", false},   {"ab:cd:ef", true},  {"12.30.00", false},
      {"12:30:45 pm", true}, {"", false},        {"-1:00:00", false}, {"00:00:60", false},
      {" 1:02:03", true},    {"1:2:3", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidTime(c.text), c.valid) << '"' << c.text << '"';
}

TEST(IsValidDate, FollowsThePositionRules) {
  const CheckCase cases[] = {
      {"02/31/2003", true},  {"02/29/2003", true}, {"00/10/2003", false}, {"13/01/2003", false},
      {"01/32/2003", false}, {"01/02/", true},     {"01/02/03", true},    {"1/2/2003", false},
      {"01-02-2003", false}, {" 1/02/2003", true}, {"", false},           {"12/00/2003", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidDate(c.text), c.valid) << '"' << c.text << '"';
}

TEST(IsCalendarTime, AcceptsOnlyTimesOfDay) {
  const CheckCase cases[] = {
      {"00:00:00", true},  {"23:59:59", true},  {"24:00:00", false},  {"12:30:", false},
      {"ab:cd:ef", false}, {" 1:02:03", false}, {"12:30:00x", false}, {"12:60:00", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsCalendarTime(c.text), c.valid) << '"' << c.text << '"';
}

TEST(IsCalendarDate, AcceptsOnlyDatesOfTheCalendar) {
  const CheckCase cases[] = {
      {"02/29/2024", true},  {"02/29/2023", false}, {"04/31/2023", false}, {"12/31/2023", true},
      {"02/29/2000", true},  {"02/29/1900", false}, {"01/02/03", false},   {"aa/bb/cccc", false},
      {"00/10/2003", false}, {"01/01/0000", false}, {"01/01/0001", true},  {"06/15/2026 ", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsCalendarDate(c.text), c.valid) << '"' << c.text << '"';
}

TEST(FixedWidth, PadsAndCutsWholeCharacters) {
  EXPECT_EQ(FixedWidth("1:2:3", 8), "1:2:3   ");
  EXPECT_EQ(FixedWidth("12:00:00xyz", 8), "12:00:00");
  EXPECT_EQ(FixedWidth("", 3), "   ");
  EXPECT_EQ(FixedWidth("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");           // "été" cut to "ét"
  EXPECT_EQ(FixedWidth("\xC3\xA9", 3), "\xC3\xA9  ");                   // one character, two blanks
  EXPECT_EQ(CharCount(FixedWidth("\xE2\x82\xAC\xE2\x82\xAC", 5)), 5u);  // "€€"
}

TEST(Piece, CountsCharactersFromOne) {
  EXPECT_EQ(Piece("12:34:56", 4), "34");
  EXPECT_EQ(Piece("12:34:5", 7), "5");
  EXPECT_EQ(Piece("12:34", 7), "");
  EXPECT_EQ(Piece("\xC3\xA9\x31:00", 2), "1:");
  EXPECT_EQ(Piece("01/02/2003", 7, 4), "2003");
}

using Folders = testing::EngineTest;

TEST_F(Folders, AppPathEndsInOneSeparator) {
  SetProgramFolder(folder_.string());
  EXPECT_EQ(GetAppPath(), Folder());
  SetProgramFolder(Folder());
  EXPECT_EQ(GetAppPath(), Folder());
}

TEST_F(Folders, WritableProgramFolderKeepsTheDataFiles) {
  EXPECT_EQ(ChooseDataFolder(Folder() + "user"), Folder());
}

TEST_F(Folders, UnwritableProgramFolderMovesTheDataFilesToTheUserFolder) {
  SetProgramFolder((folder_ / "missing" / "bin").string());  // nothing can be created there
  const std::string user = (folder_ / "config" / "tarvex").string();
  EXPECT_EQ(ChooseDataFolder(user), user + kPathSeparator);
  EXPECT_TRUE(std::filesystem::is_directory(user));
  EXPECT_EQ(DataFolder(), user + kPathSeparator);
}

// A read-only portable folder, or one an installer filled: its data files are carried over to
// the user folder the first time, and never again over what the user folder holds since.
TEST_F(Folders, TheUserFolderStartsWithTheProgramFoldersDataFiles) {
  const std::filesystem::path program = folder_ / "program";
  const std::filesystem::path user = folder_ / "user";
  std::filesystem::create_directories(program);
  Write("program/ZRDTIMES.DAT", "16:45:00\r\n12/06/2026\r\n09:30:00\r\n03/14/0002\r\n");
  Write("program/ZRDDIR.DAT", "C:\\Games\\\r\n");
  Write("program/TARVEX.INI", "[Alarms]\r\nSound=off\r\n");
  // The probe file cannot be made where a folder of its name stands, whoever runs the test.
  std::filesystem::create_directories(program / ".tarvex-write-test");
  SetProgramFolder(program.string());
  ChooseDataFolder(user.string());
  EXPECT_EQ(Read("user/ZRDTIMES.DAT"), Read("program/ZRDTIMES.DAT"));
  EXPECT_EQ(Read("user/TARVEX.INI"), Read("program/TARVEX.INI"));
  EXPECT_EQ(ReadCalibration(), testing::Record("16:45:00", "12/06/2026", "09:30:00", "03/14/0002"));

  Write("user/ZRDDIR.DAT", "D:\\Elsewhere\\\r\n");
  std::filesystem::remove(user / "ZRDTIMES.DAT");
  ChooseDataFolder(user.string());
  EXPECT_FALSE(std::filesystem::exists(user / "ZRDTIMES.DAT")) << "copied over the user's files";
}

}  // namespace
}  // namespace tarvex
