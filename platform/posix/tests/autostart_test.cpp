// The XDG log-in entry in a private configuration folder: what it holds, what counts as starting a
// program, and what is said when it cannot be written or deleted.
#include "platform/autostart.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "engine/tests/temp_folder.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;

class Autostart : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "config");
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
  }
  void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
  std::string Path(const std::string& relative) const { return (root_ / relative).string(); }
  void Make(const std::string& relative, const std::string& text = "") const {
    fs::create_directories(fs::path(Path(relative)).parent_path());
    std::ofstream(Path(relative)) << text;
  }

  testing::TempFolder temp_{"tarvex-autostart-"};
  const fs::path root_ = temp_.path;
};

// Exec holds the program's absolute path, quoted and escaped as desktop entries want it, or the
// plain name of the program that the package installed; read back, it is that program and no other.
TEST_F(Autostart, TheEntryStartsTheProgramWrittenAndNoOther) {
  const std::tuple<std::string, std::string> cases[] = {
      // the program in the test's folder @; Exec
      {"bin/tarvex", "@/bin/tarvex"},
      {"My Games/tarvex", R"("@/My Games/tarvex")"},
      {"a\"b`c$d\\e/tarvex", R"("@/a\\"b\\`c\\$d\\\\e/tarvex")"},
      {"100%/tarvex", "@/100%%/tarvex"},
      {"100% (old)/tarvex", R"("@/100%% (old)/tarvex")"},
      {"usr/bin/tarvex", "tarvex"},  // beside usr/share/applications/tarvex.desktop
  };
  Make("usr/share/applications/tarvex.desktop");
  for (const auto& [relative, exec] : cases) {
    const std::string program = Path(relative);
    EXPECT_TRUE(WriteLogInEntry(program)) << relative;
    std::string expected = exec;
    if (const auto at = expected.find('@'); at != std::string::npos)
      expected.replace(at, 1, root_.string());
    EXPECT_EQ(testing::ReadBytes(Path("config/autostart/tarvex.desktop")),
              "[Desktop Entry]\nType=Application\nName=Tarvex\nComment=Game time, "
              "moon forecast and auto-run for Kestrune, in the system tray\nExec=" +
                  expected + "\nIcon=tarvex\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
    EXPECT_TRUE(LogInEntryStarts(program)) << relative;
    EXPECT_FALSE(LogInEntryStarts(program + "2")) << relative;
  }
  // The plain name is only the packaged program: another tarvex in a bin folder is not started.
  EXPECT_FALSE(LogInEntryStarts(Path("opt/bin/tarvex")));
}

// An entry written by hand or by another program: hidden or turned off, it starts nothing.
TEST_F(Autostart, AHiddenOrTurnedOffEntryStartsNothingAndExecArgumentsDoNotCount) {
  const std::string program = Path("bin/tarvex");
  const std::tuple<std::string, bool> cases[] = {
      {"[Desktop Entry]\nExec=" + program + " --quiet\n", true},
      {"[Desktop Entry]\nExec = " + program + "\nHidden=true\n", false},
      {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\nExec=" + program + "\n", false},
      {"[Desktop Action Other]\nExec=" + program + "\n", false},
      {"[Desktop Entry]\nExec=\"" + program + "\"\n", true}};
  for (const auto& [text, starts] : cases) {
    Make("config/autostart/tarvex.desktop", text);
    EXPECT_EQ(LogInEntryStarts(program), starts) << text;
  }
}

// Deleting an entry that is not there is no failure; what cannot be done is named with the
// system's reason, and leaves no temporary file behind.
TEST_F(Autostart, WritingAndDeletingSucceedOrSayWhatCouldNotBeDone) {
  const std::string program = Path("bin/tarvex"), folder = Path("config/autostart");
  const std::string entry = folder + "/tarvex.desktop";
  EXPECT_TRUE(WriteLogInEntry(program));
  EXPECT_TRUE(DeleteLogInEntry());
  EXPECT_FALSE(LogInEntryStarts(program));
  EXPECT_TRUE(DeleteLogInEntry());
  Make("config/autostart/tarvex.desktop/inside");  // a folder where the entry goes
  EXPECT_EQ(WriteLogInEntry(program).why(), entry + " could not be written: Is a directory");
  EXPECT_EQ(DeleteLogInEntry().why(), entry + " could not be deleted: Directory not empty");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << "no temporary file is left";
  fs::remove_all(folder);
  Make("config/autostart");  // a file where the folder goes
  EXPECT_EQ(WriteLogInEntry(program).why(), folder + " could not be made: Not a directory");
}

// With XDG_CONFIG_HOME relative (or unset), the entry lives under ~/.config.
TEST_F(Autostart, WithoutAnAbsoluteXdgConfigHomeTheEntryIsUnderTheHomeFolder) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", Path("home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", "relative/config", 1);
  EXPECT_TRUE(WriteLogInEntry(Path("bin/tarvex")));
  EXPECT_TRUE(fs::exists(Path("home/.config/autostart/tarvex.desktop")));
  setenv("HOME", home.c_str(), 1);
}

}  // namespace
}  // namespace tarvex
