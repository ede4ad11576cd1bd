// A start before the date and time are set: until ZRDTIMES.DAT holds a pair, the built-in pair
// stands in, but no alarm fires on it, the tip says to set the date and time first, and the exit
// writes nothing. A file that cannot be read is neither: no alarm, no such line, no dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using FirstStartTest = ShellTest;

enum class PairFile { Missing, Empty, Stored, Folder };

// The built-in pair is game day 1, a bad moon's day: its alarm would fire at the first tick. The
// stored pair is of a bad moon's day too.
TEST_F(FirstStartTest, OnlyAStoredPairFiresAlarmsAndOnlyAPairNotSetAsksForOne) {
  const struct {
    const char* name;
    PairFile file;
    bool alarm;         // the bad moon's alarm fires
    bool firstLine;     // the tip and the menu begin with "SET THE DATE AND TIME FIRST"
    bool dialog;        // Set Date and Time opens by itself
    std::string saved;  // what ZRDTIMES.DAT holds after the exit ("/" a folder)
  } cases[] = {
      {"no file", PairFile::Missing, false, true, true, ""},
      {"an empty file", PairFile::Empty, false, true, true, ""},
      {"a pair written by hand", PairFile::Stored, true, false, false,
       "10:00:04\r\n12/06/2026\r\n00:01:12\r\n01/01/0002\r\n"},
      {"a folder in its place", PairFile::Folder, false, false, false, "/"},
  };
  for (const auto& c : cases) {
    RecordingPlatform desk;
    frmTarvexMain tray(desk);
    desk.Main = &tray;
    desk.ShowsTip = true;
    const std::filesystem::path file = Folder() + "ZRDTIMES.DAT";
    std::filesystem::remove_all(file);
    if (c.file == PairFile::Empty) std::ofstream{file};
    if (c.file == PairFile::Stored)
      std::ofstream(file, std::ios::binary)
          << "10:00:00\r\n12/06/2026\r\n00:00:00\r\n01/01/0002\r\n";
    if (c.file == PairFile::Folder) std::filesystem::create_directory(file);
    clock.SetLocal(2026, 12, 6, 10, 0, 0);
    tray.Form_Load();
    EXPECT_EQ(desk.Count("ShowMessage "), c.file == PairFile::Folder ? 1u : 0u) << c.name;
    for (int i = 0; i < 4; ++i) {
      tray.tmrUpdateTimes_Timer();
      clock.Advance(1);
    }
    EXPECT_EQ(desk.Count("ShowAlert "), c.alarm ? 1u : 0u) << c.name;
    EXPECT_EQ(desk.Count("ShowDialog DateTime"), c.dialog ? 1u : 0u) << c.name;
    const std::string tip = VisibleTip(desk.Tray.back());
    EXPECT_EQ(tip.starts_with("SET THE DATE AND TIME FIRST\r\n"), c.firstLine) << c.name << tip;
    const std::vector<MenuEntry> menu = tray.PopupMenu();
    EXPECT_EQ(menu.at(0).Caption == "SET THE DATE AND TIME FIRST" && menu.at(0).Disabled,
              c.firstLine)
        << c.name;
    tray.mnuExit_Click();
    EXPECT_EQ(std::filesystem::is_directory(file) ? "/" : ReadFile("ZRDTIMES.DAT"), c.saved)
        << c.name;
  }
}

// Asked once a run, and only once the icon is in the tray or, with no tray, the clock window has
// opened by itself: a tray that is not there yet delays it, and a pair stored meanwhile by another
// program makes it needless.
TEST_F(FirstStartTest, SetDateAndTimeOpensByItselfOnceTheIconOrTheClockWindowIsShown) {
  const struct {
    const char* name;
    int refusedAdds;               // the tray's adds refused before one succeeds
    bool storedMeanwhile;          // a pair stored from outside before the icon is added
    std::vector<std::string> log;  // the tray's adds and the dialogs, in order
  } cases[] = {
      {"a tray at the start", 0, false, {"NotifyIcon Add", "ShowDialog DateTime"}},
      {"a tray two ticks late",
       3,
       false,
       {"NotifyIcon Add", "NotifyIcon Add", "NotifyIcon Add", "NotifyIcon Add",
        "ShowDialog DateTime"}},
      {"a pair stored before the tray came",
       3,
       true,
       {"NotifyIcon Add", "NotifyIcon Add", "NotifyIcon Add", "NotifyIcon Add"}},
      {"no tray: once the clock window opens, at the sixth tick",
       100,
       false,
       {"NotifyIcon Add", "NotifyIcon Add", "NotifyIcon Add", "NotifyIcon Add", "NotifyIcon Add",
        "NotifyIcon Add", "NotifyIcon Add", "ShowDialog DateTime", "NotifyIcon Add",
        "NotifyIcon Add", "NotifyIcon Add", "NotifyIcon Add"}},
  };
  for (const auto& c : cases) {
    RecordingPlatform desk;
    frmTarvexMain tray(desk);
    desk.Main = &tray;
    std::filesystem::remove_all(Folder() + "ZRDTIMES.DAT");
    desk.NotifyResults.assign(static_cast<std::size_t>(c.refusedAdds), false);
    tray.Form_Load();
    if (c.storedMeanwhile) StoreFromOutside(CalibrationRecord{});
    for (int i = 0; i < 10; ++i) tray.tmrUpdateTimes_Timer();
    std::vector<std::string> log;
    for (const std::string& line : desk.Log)
      if (line == "NotifyIcon Add" || line.starts_with("ShowDialog")) log.push_back(line);
    EXPECT_EQ(log, c.log) << c.name;
    tray.mnuExit_Click();
  }
}

// A pair taken up at a tick is set: the tip's first line goes, and its alarms fire from then on.
TEST_F(FirstStartTest, APairStoredWhileRunningSetsTheDateAndTime) {
  main.Form_Load();
  Tick(2);
  ASSERT_TRUE(VisibleTip(platform.Tray.back()).starts_with("SET THE DATE AND TIME FIRST\r\n"));
  ASSERT_EQ(platform.Count("ShowAlert "), 0u);
  StoreFromOutside(PairOf("10:00:01", "12/06/2026", "00:00:00", "01/01/0002"));
  Tick();
  EXPECT_EQ(VisibleTip(platform.Tray.back()),
            "00:00:00 01/01/0002\r\nGOOD MOON TOMORROW AT 4:40 AM");
  EXPECT_EQ(platform.Lines("ShowAlert "), Texts{"101 sound: BAD MOON NOW, UNTIL 11:20 AM"});
}

}  // namespace
}  // namespace tarvex::testing
