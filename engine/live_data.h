// The data files as a running program holds them: the calibration pair it keeps, the game folder
// and the alarm settings. Another program (tarvex-cli, a second front-end, a hand edit) may change
// a file at any time; the change is taken up at the next refresh, and a pair is never written over
// a newer file. A file that is present but cannot be read is never written during the run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "engine/result.h"
#include "engine/settings.h"

namespace tarvex {

class LiveData {
 public:
  // Which files a refresh found changed and read again.
  struct Changes {
    bool pair = false;
    bool gamePath = false;
    bool settings = false;
    bool any() const { return pair || gamePath || settings; }
  };

  // Reads the three files, creating the two .DAT files empty when missing. Returns the failures
  // of files present but unreadable; their defaults stand in.
  std::vector<Result> Load();
  // Looks whether a file changed on disk since it was last read or written here (one look at
  // each), and reads the changed ones again.
  Changes Refresh();

  // The kept pair: the last one that kept the same game clock.
  const CalibrationRecord& Pair() const { return pair_; }
  // Whether a pair is stored: ZRDTIMES.DAT holds one (the built-in pair stands in otherwise).
  // Until then the date and time are not set, and no moon alarm fires.
  bool PairStored() const { return stored_; }
  // Whether ZRDTIMES.DAT is present but could not be read when last read: then the pair is
  // neither set nor known to be unset.
  bool PairUnreadable() const { return unreadableFile_[kPair]; }
  // Whether TARVEX.INI is present but could not be read when last read: its defaults stand in.
  bool SettingsUnreadable() const { return unreadableFile_[kSettings]; }
  // The kept pair re-based to second `now`, for display. When `keep` (the present is the real
  // one, not a moment pretended) and the game moment lies inside the calendar, it becomes the
  // kept pair; a clock wrong for a moment thus never changes what is kept.
  CalibrationRecord Rebase(std::int64_t now, bool keep);
  // The player set `pair`: it is kept and saved at once.
  Result SetPair(const CalibrationRecord& pair);
  // Saves the kept pair re-based to `now`, after taking up a newer file if there is one (so the
  // newer pair is what is saved). Nothing is written over a file that could not be read; that is
  // no failure, since it was reported when it was read. Nor is the built-in pair written while
  // none is stored: it holds nothing of the player's.
  Result SavePair(std::int64_t now);

  // The game folder (ReadGamePath's rule) and setting it from a file or folder path.
  const std::string& GamePath() const { return gamePath_; }
  Result SetGamePath(std::string_view path);

  // The alarm settings, and their change, saved at once.
  const AlarmSettings& Settings() const { return settings_; }
  const std::vector<UnreadableSetting>& UnreadableSettings() const { return unreadable_; }
  Result SetSettings(const AlarmSettings& settings);
  // The views the tray's tip shows ([Display] of TARVEX.INI), and their change, saved at once.
  const DisplaySettings& Display() const { return display_; }
  Result SetDisplay(const DisplaySettings& display);
  // The clock window's place and state ([Window] of TARVEX.INI), and their change, saved at once.
  const WindowSettings& Window() const { return window_; }
  Result SetWindow(const WindowSettings& window);

 private:
  enum File { kPair, kGamePath, kSettings, kFileCount };
  // Reads `file` again, taking the stamp first; a failure when it is present but unreadable.
  Result ReadFile(File file, bool atStart);
  // The stamp of `file` after this program wrote it, when the write succeeded.
  Result Written(File file, Result result);

  CalibrationRecord pair_;
  bool stored_ = false;
  std::string gamePath_;
  AlarmSettings settings_;
  DisplaySettings display_;
  WindowSettings window_;
  std::vector<UnreadableSetting> unreadable_;
  std::array<FileStamp, kFileCount> stamps_{};
  std::array<bool, kFileCount> unreadableFile_{};  // present but not readable when last read
};

}  // namespace tarvex
