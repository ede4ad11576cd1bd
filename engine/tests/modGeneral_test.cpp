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

TEST(TimeAndDateChecks, FollowThePositionRulesAndTheCalendar) {
  struct Case {
    const char* text;
    bool valid;     // IsValidTime or IsValidDate
    bool calendar;  // IsCalendarTime or IsCalendarDate
  };
  const Case times[] = {
      {"00:00:00", true, true},   {"23:59:59", true, true},   {"24:00:00", true, false},
      {"24:59:59", true, false},  {"25:00:00", false, false}, {"12:60:00", false, false},
      {"00:00:60", false, false}, {"-1:00:00", false, false}, {"12:30:", true, false},
      {"12:30", false, false},    {"ab:cd:ef", true, false},  {"12.30.00", false, false},
      {"12:30:00x", true, false}, {" 1:02:03", true, false},  {"1:2:3", false, false},
      {"", false, false},
  };
  for (const auto& c : times) {
    EXPECT_EQ(IsValidTime(c.text), c.valid) << '"' << c.text << '"';
    EXPECT_EQ(IsCalendarTime(c.text), c.calendar) << '"' << c.text << '"';
  }
  const Case dates[] = {
      {"02/29/2024", true, true},   {"02/29/2023", true, false},  {"02/31/2003", true, false},
      {"04/31/2023", true, false},  {"12/31/2023", true, true},   {"02/29/2000", true, true},
      {"02/29/1900", true, false},  {"00/10/2003", false, false}, {"13/01/2003", false, false},
      {"01/32/2003", false, false}, {"12/00/2003", false, false}, {"01/02/", true, false},
      {"01/02/03", true, false},    {"1/2/2003", false, false},   {"01-02-2003", false, false},
      {" 1/02/2003", true, false},  {"aa/bb/cccc", false, false}, {"01/01/0000", true, false},
      {"01/01/0001", true, true},   {"06/15/2026 ", true, false}, {"", false, false},
  };
  for (const auto& c : dates) {
    EXPECT_EQ(IsValidDate(c.text), c.valid) << '"' << c.text << '"';
    EXPECT_EQ(IsCalendarDate(c.text), c.calendar) << '"' << c.text << '"';
  }
}

TEST(FixedWidth, PadsAndCutsWholeCharacters) {
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

// The program folder keeps the data files when files can be made there. Else the user folder
// does: a read-only portable folder, or one an installer filled, has its data files carried over
// to it the first time, and never again over what the user folder holds since.
TEST_F(Folders, DataFilesStayInTheProgramFolderOrMoveToTheUserFolderOnce) {
  SetProgramFolder(Folder());
  EXPECT_EQ(GetAppPath(), Folder());  // one separator at the end, not two
  EXPECT_EQ(ChooseDataFolder(Folder() + "user"), Folder());

  const std::filesystem::path program = folder_ / "program";
  const std::filesystem::path user = folder_ / "config" / "user";
  std::filesystem::create_directories(program);
  Write("program/ZRDTIMES.DAT", "16:45:00\r\n12/06/2026\r\n09:30:00\r\n03/14/0002\r\n");
  Write("program/ZRDDIR.DAT", "C:\\Games\\\r\n");
  Write("program/TARVEX.INI", "[Alarms]\r\nSound=off\r\n");
  // The probe file cannot be made where a folder of its name stands, whoever runs the test.
  std::filesystem::create_directories(program / ".tarvex-write-test");
  SetProgramFolder(program.string());
  EXPECT_EQ(ChooseDataFolder(user.string()), user.string() + kPathSeparator);
  EXPECT_EQ(Read("config/user/TARVEX.INI"), Read("program/TARVEX.INI"));
  EXPECT_EQ(ReadGamePath(), "C:\\Games\\");
  EXPECT_EQ(ReadCalibration(), testing::Record("16:45:00", "12/06/2026", "09:30:00", "03/14/0002"));

  Write("config/user/ZRDDIR.DAT", "D:\\Elsewhere\\\r\n");
  std::filesystem::remove(user / "ZRDTIMES.DAT");
  ChooseDataFolder(user.string());
  EXPECT_FALSE(std::filesystem::exists(user / "ZRDTIMES.DAT")) << "copied over the user's files";
}

}  // namespace
}  // namespace tarvex
