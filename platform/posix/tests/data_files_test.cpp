// The data files' saves through the platform's calls, on a real file system: links written
// through, permissions kept, leftovers of a stopped save removed, two writers at once.
#include "platform/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "engine/tests/temp_folder.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

class PlatformSaves : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "data");
    SetDataFolder((root_ / "data").string());
    UsePlatformDataFileCalls();
  }
  void TearDown() override { SetDataFileCalls({}); }
  fs::path Data(const std::string& name) const { return root_ / "data" / name; }

  testing::TempFolder temp_{"tarvex-saves-"};
  const fs::path root_ = temp_.path;
};

TEST_F(PlatformSaves, ALinkedFileIsWrittenThroughItsLinkWithItsPermissions) {
  fs::create_directories(root_ / "synced");
  std::ofstream(root_ / "synced" / "times.dat") << "old";
  fs::permissions(root_ / "synced" / "times.dat", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("../synced/times.dat", Data("ZRDTIMES.DAT"));

  ASSERT_TRUE(ReplaceDataFile("ZRDTIMES.DAT", "new\r\n"));
  EXPECT_TRUE(fs::is_symlink(Data("ZRDTIMES.DAT")));
  EXPECT_EQ(ReadBytes(root_ / "synced" / "times.dat"), "new\r\n");
  EXPECT_EQ(fs::status(root_ / "synced" / "times.dat").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "synced"), {}), 1);
}

// A save stopped midway leaves its temporary file; the next save takes it away, so they never
// pile up. Files of other names stay.
TEST_F(PlatformSaves, TheNextSaveRemovesTemporaryFilesThatStoppedSavesLeft) {
  for (const char* left : {"ZRDTIMES.DAT.tmp", "ZRDTIMES.DAT.4242-7.tmp", "ZRDDIR.DAT.1-1.tmp"})
    std::ofstream(Data(left)) << "half";
  ASSERT_TRUE(ReplaceDataFile("ZRDTIMES.DAT", "new"));
  EXPECT_FALSE(fs::exists(Data("ZRDTIMES.DAT.tmp")));
  EXPECT_FALSE(fs::exists(Data("ZRDTIMES.DAT.4242-7.tmp")));
  EXPECT_TRUE(fs::exists(Data("ZRDDIR.DAT.1-1.tmp")));
  EXPECT_EQ(ReadBytes(Data("ZRDTIMES.DAT")), "new");
}

// Two programs save at the same moment: every reading finds one writer's whole file, and the
// last save wins.
TEST_F(PlatformSaves, TwoWritersAtOnceLeaveAWholeFile) {
  const auto pair = [](int writer, int n) {
    const std::string time = "0" + std::to_string(writer) + ":00:" + (n < 10 ? "0" : "") +
                             std::to_string(n % 60);
    return CalibrationRecord{{time}, {"12/07/2026"}, {time}, {"01/01/0001"}};
  };
  std::atomic<bool> torn = false;
  std::atomic<int> done = 0;
  const auto writer = [&](int id) {
    for (int n = 0; n < 60; ++n) {
      if (!SaveCalibration(pair(id, n))) torn = true;
    }
    ++done;
  };
  std::thread a(writer, 1), b(writer, 2);
  while (done < 2) {
    const std::string text = ReadBytes(Data("ZRDTIMES.DAT"));
    if (!text.empty() && text.size() != 44) torn = true;
  }
  a.join();
  b.join();
  EXPECT_FALSE(torn);
  const CalibrationRecord last = ReadCalibration().value;
  EXPECT_TRUE(last == pair(1, 59) || last == pair(2, 59));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "data"), {}), 2);  // and the lock file
}

}  // namespace
}  // namespace tarvex
