#include "engine/live_data.h"

#include <optional>
#include <tuple>
#include <utility>

#include "engine/log.h"

namespace tarvex {
namespace {

constexpr std::string_view kNames[] = {kCalibrationFile, kGamePathFile, kSettingsFile};

Result NotWrittenOver(std::string_view name) {
  Result refused = Result::Failure(DataFolder() + std::string(name) +
                                   " could not be read, so it is not written over");
  Warn(refused.why());
  return refused;
}

}  // namespace

std::vector<Result> LiveData::Load() {
  std::vector<Result> failures;
  for (const File file : {kPair, kGamePath, kSettings}) {
    if (Result read = ReadFile(file, true); !read) failures.push_back(std::move(read));
  }
  return failures;
}

LiveData::Changes LiveData::Refresh() {
  Changes changes;
  bool* changed[] = {&changes.pair, &changes.gamePath, &changes.settings};
  for (const File file : {kPair, kGamePath, kSettings}) {
    if (StampOf(kNames[file]) == stamps_[file]) continue;
    *changed[file] = true;
    std::ignore = ReadFile(file, false);  // logged there; the values in force stay
  }
  return changes;
}

Result LiveData::ReadFile(File file, bool atStart) {
  stamps_[file] = StampOf(kNames[file]);  // first: a write meanwhile is noticed at the next look
  Result result;
  switch (file) {
    case kPair: {
      bool stored = false;
      Reading<CalibrationRecord> pair = ReadCalibration(&stored);
      result = std::move(pair.result);
      // A file emptied or deleted while running holds nothing new: the pair in force stays.
      if (atStart || stored) pair_ = pair.value;
      if (result) stored_ = stored || (!atStart && stored_);
      break;
    }
    case kGamePath: {
      Reading<std::string> path = ReadGamePath();
      result = std::move(path.result);
      if (result || atStart) gamePath_ = std::move(path.value);
      break;
    }
    case kSettings: {
      Reading<SettingsReading> settings = ReadSettings();
      result = std::move(settings.result);
      if (result || atStart) {
        settings_ = settings.value.settings;
        display_ = settings.value.display;
        window_ = settings.value.window;
        unreadable_ = std::move(settings.value.unreadable);
      }
      break;
    }
    case kFileCount:
      break;
  }
  unreadableFile_[file] = !result;  // logged where it was read
  return result;
}

Result LiveData::Written(File file, Result result) {
  if (result) stamps_[file] = StampOf(kNames[file]);  // a failure was logged where it happened
  return result;
}

CalibrationRecord LiveData::Rebase(std::int64_t now, bool keep) {
  if (keep) {
    if (std::optional<CalibrationRecord> kept = KeepablePair(pair_, now)) {
      pair_ = std::move(*kept);
      return pair_;
    }
  }
  return GetZRDTime(pair_, now);
}

Result LiveData::SetPair(const CalibrationRecord& pair) {
  pair_ = pair;
  stored_ = true;
  if (unreadableFile_[kPair]) return NotWrittenOver(kCalibrationFile);
  return Written(kPair, SaveCalibration(pair));
}

Result LiveData::SavePair(std::int64_t now) {
  Refresh();
  if (unreadableFile_[kPair] || !stored_) return {};
  const CalibrationRecord rebased = KeepablePair(pair_, now).value_or(pair_);
  return Written(kPair, SaveCalibration(UnambiguousPair(rebased, now)));
}

Result LiveData::SetGamePath(std::string_view path) {
  if (unreadableFile_[kGamePath]) return NotWrittenOver(kGamePathFile);
  Result saved = Written(kGamePath, SaveGamePath(path));
  if (saved) std::ignore = ReadFile(kGamePath, false);
  return saved;
}

Result LiveData::SetSettings(const AlarmSettings& settings) {
  settings_ = settings;  // in force from now on, saved or not
  if (unreadableFile_[kSettings]) return NotWrittenOver(kSettingsFile);
  unreadable_.clear();
  return Written(kSettings, SaveSettings(settings));
}

Result LiveData::SetDisplay(const DisplaySettings& display) {
  display_ = display;  // in force from now on, saved or not
  if (unreadableFile_[kSettings]) return NotWrittenOver(kSettingsFile);
  return Written(kSettings, SaveDisplay(display));
}

Result LiveData::SetWindow(const WindowSettings& window) {
  window_ = window;  // in force from now on, saved or not
  if (unreadableFile_[kSettings]) return NotWrittenOver(kSettingsFile);
  return Written(kSettings, SaveWindow(window));
}

}  // namespace tarvex
