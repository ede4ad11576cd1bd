#include "engine/settings.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "engine/modGeneral.h"

namespace tarvex {
namespace {

constexpr std::string_view kAlarmsSection = "Alarms";
constexpr std::string_view kDisplaySection = "Display";

// One key of [Alarms] or [Display]: its section, its name in the file and on the command line
// (none for [Display]), what its value is, and the field it sets. A key `added` late is written
// to a file that lacks it only when its value is not the default.
enum class Type { Switch, Minutes, Time, Sound, Hours };
struct Key {
  std::string_view section;
  std::string_view file;
  std::string_view command;
  Type type = Type::Switch;
  bool AlarmSettings::*flag = nullptr;
  int AlarmSettings::*number = nullptr;
  std::string AlarmSettings::*text = nullptr;
  bool DisplaySettings::*view = nullptr;
  bool added = false;
};
constexpr Key kKeys[] = {
    {kAlarmsSection, "GoodMoon", "good", Type::Switch, &AlarmSettings::GoodMoon},
    {kAlarmsSection, "BadMoon", "bad", Type::Switch, &AlarmSettings::BadMoon},
    {kAlarmsSection, "WarningMinutes", "warning", Type::Minutes, nullptr,
     &AlarmSettings::WarningMinutes},
    {kAlarmsSection, "AtStart", "at-start", Type::Switch, &AlarmSettings::AtStart},
    {kAlarmsSection, "Sound", "sound", Type::Switch, &AlarmSettings::Sound},
    {kAlarmsSection, "Repeat", "repeat", Type::Minutes, nullptr, &AlarmSettings::RepeatMinutes,
     nullptr, nullptr, true},
    {kAlarmsSection, "AtEnd", "at-end", Type::Switch, &AlarmSettings::AtEnd, nullptr, nullptr,
     nullptr, true},
    {kAlarmsSection, "QuietFrom", "", Type::Time, nullptr, nullptr, &AlarmSettings::QuietFrom,
     nullptr, true},
    {kAlarmsSection, "QuietTo", "", Type::Time, nullptr, nullptr, &AlarmSettings::QuietTo, nullptr,
     true},
    {kAlarmsSection, "GoodSound", "good-sound", Type::Sound, nullptr, nullptr,
     &AlarmSettings::GoodSound, nullptr, true},
    {kAlarmsSection, "BadSound", "bad-sound", Type::Sound, nullptr, nullptr,
     &AlarmSettings::BadSound, nullptr, true},
    {kDisplaySection, "ShowCurrentTime", "", Type::Switch, nullptr, nullptr, nullptr,
     &DisplaySettings::CurrentTime},
    {kDisplaySection, "ShowNextGoodMoon", "", Type::Switch, nullptr, nullptr, nullptr,
     &DisplaySettings::NextGoodMoon},
    {kDisplaySection, "ShowNextBadMoon", "", Type::Switch, nullptr, nullptr, nullptr,
     &DisplaySettings::NextBadMoon},
    {kDisplaySection, "Clock", "", Type::Hours, nullptr, nullptr, nullptr,
     &DisplaySettings::Clock24, true},
};
constexpr std::size_t kKeyCount = std::size(kKeys);

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<bool> ReadSwitch(std::string_view value) {
  for (const std::string_view on : {"on", "1", "true", "yes"}) {
    if (SameWord(value, on)) return true;
  }
  for (const std::string_view off : {"off", "0", "false", "no"}) {
    if (SameWord(value, off)) return false;
  }
  return std::nullopt;
}

// Sets the key's field from `value`; false when the value cannot be read.
bool Apply(const Key& key, std::string_view value, AlarmSettings& settings,
           DisplaySettings& display) {
  switch (key.type) {
    case Type::Switch: {
      const std::optional<bool> on = ReadSwitch(value);
      if (on) (key.view != nullptr ? display.*key.view : settings.*key.flag) = *on;
      return on.has_value();
    }
    case Type::Minutes: {
      const std::optional<int> minutes = ReadWarningMinutes(value);
      if (minutes) settings.*key.number = *minutes;
      return minutes.has_value();
    }
    case Type::Time: {
      std::optional<std::string> time =
          value.empty() ? std::optional<std::string>("") : ReadClockTime(value);
      if (time) settings.*key.text = std::move(*time);
      return time.has_value();
    }
    case Type::Sound: {
      std::optional<std::string> path = ReadSoundPath(value);
      if (path) settings.*key.text = std::move(*path);
      return path.has_value();
    }
    case Type::Hours:
      if (value != "12" && value != "24") return false;
      display.*key.view = value == "24";
      return true;
  }
  return false;
}

std::string ValueText(const Key& key, const AlarmSettings& settings,
                      const DisplaySettings& display) {
  switch (key.type) {
    case Type::Switch:
      return (key.view != nullptr ? display.*key.view : settings.*key.flag) ? "on" : "off";
    case Type::Minutes:
      return std::to_string(settings.*key.number);
    case Type::Time:
    case Type::Sound:
      return settings.*key.text;
    case Type::Hours:
      return display.*key.view ? "24" : "12";
  }
  return {};
}

// --- Lines of the file ---------------------------------------------------------------------

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    lines.push_back(text.substr(at, end - at));
    at = end;
    if (at < text.size()) at += text.compare(at, 2, "\r\n") == 0 ? 2 : 1;
  }
  return lines;
}

// What one line of the file is.
struct Line {
  enum Kind { kBlank, kComment, kSection, kPair, kOther } kind = kBlank;
  std::string_view name;    // the section's name, or the pair's key
  std::string_view value;   // the pair's value
  std::size_t valueAt = 0;  // where the value begins in the line (blanks after "=" kept before it)
};

Line Classify(std::string_view line) {
  const std::string_view text = TrimBlanks(line);
  Line result;
  if (text.empty()) return result;
  if (text[0] == ';' || text[0] == '#') {
    result.kind = Line::kComment;
  } else if (text[0] == '[') {
    result.kind = Line::kSection;
    result.name = TrimBlanks(text.substr(1, text.find(']') - 1));
  } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
    result.kind = Line::kPair;
    result.name = TrimBlanks(line.substr(0, equals));
    result.value = TrimBlanks(line.substr(equals + 1));
    result.valueAt = line.find_first_not_of(" \t", equals + 1);
    if (result.valueAt == std::string_view::npos) result.valueAt = line.size();
  } else {
    result.kind = Line::kOther;
  }
  return result;
}

// The key of that name in `section`.
const Key* FindKey(std::string_view section, std::string_view name, bool commandNames) {
  for (const Key& key : kKeys) {
    if (key.section != section) continue;
    if (SameWord(name, key.file) ||
        (commandNames && !key.command.empty() && SameWord(name, key.command)))
      return &key;
  }
  return nullptr;
}

// A key of a section and the text of its new value.
// A key's name and value text; `onlyWhereFound` writes it only over a line the text has.
struct KeyValue {
  std::string_view first;
  std::string second;
  bool onlyWhereFound = false;
};

// The text `old` with each key of `values` holding its value in the first section named
// `sectionName` (see SettingsText).
std::string KeysText(std::string_view old, std::string_view sectionName,
                     std::span<const KeyValue> values);
// The text `old` with the keys of `sectionName` of kKeys holding the values of `settings` and
// `display`.
std::string SectionText(std::string_view old, std::string_view sectionName,
                        const AlarmSettings& settings, const DisplaySettings& display);

std::size_t IndexOf(const Key& key) {
  return static_cast<std::size_t>(&key - kKeys);
}

}  // namespace

std::optional<int> ReadWarningMinutes(std::string_view value) {
  if (value.empty()) return std::nullopt;
  int minutes = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    minutes = minutes * 10 + (c - '0');  // [0, 14,409]
    if (minutes > kMaxWarningMinutes) return std::nullopt;
  }
  return minutes;
}

std::optional<std::string> ReadClockTime(std::string_view value) {
  const std::size_t colon = value.find(':');
  if (colon == std::string_view::npos || colon < 1 || colon > 2 || value.size() != colon + 3)
    return std::nullopt;
  int hour = 0, minute = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (i == colon) continue;
    if (value[i] < '0' || value[i] > '9') return std::nullopt;
    int& field = i < colon ? hour : minute;
    field = field * 10 + (value[i] - '0');
  }
  if (hour > 23 || minute > 59) return std::nullopt;
  return TwoDigits(hour) + ":" + TwoDigits(minute);
}

std::optional<std::string> ReadSoundPath(std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  if (!value.empty() && (value.size() < 5 || !SameWord(value.substr(value.size() - 4), ".wav")))
    return std::nullopt;
  return std::string(value);
}

bool InQuietHours(const AlarmSettings& settings, int minuteOfDay) {
  const std::optional<std::string> from = ReadClockTime(settings.QuietFrom);
  const std::optional<std::string> to = ReadClockTime(settings.QuietTo);
  if (!from || !to) return false;
  const auto minutes = [](const std::string& time) {
    return ((time[0] - '0') * 10 + time[1] - '0') * 60 + (time[3] - '0') * 10 + time[4] - '0';
  };
  const int start = minutes(*from), end = minutes(*to);
  if (start <= end) return minuteOfDay >= start && minuteOfDay < end;
  return minuteOfDay >= start || minuteOfDay < end;  // past midnight
}

SettingsReading ParseSettings(std::string_view text) {
  SettingsReading reading;
  std::string_view section;  // the present section, when it is one of ours
  bool seen[kKeyCount] = {};
  for (const std::string_view raw : SplitLines(text)) {
    const Line line = Classify(raw);
    if (line.kind == Line::kSection) {
      section = SameWord(line.name, kAlarmsSection)    ? kAlarmsSection
                : SameWord(line.name, kDisplaySection) ? kDisplaySection
                                                       : std::string_view();
    }
    if (line.kind != Line::kPair || section.empty()) continue;
    const Key* key = FindKey(section, line.name, false);
    if (key == nullptr || seen[IndexOf(*key)]) continue;
    seen[IndexOf(*key)] = true;
    if (!Apply(*key, line.value, reading.settings, reading.display)) {
      reading.unreadable.push_back({std::string(key->file), std::string(line.value)});
    }
  }
  reading.window = ParseWindow(text);
  return reading;
}

std::string SettingsText(std::string_view old, const AlarmSettings& settings) {
  return SectionText(old, kAlarmsSection, settings, {});
}

std::string DisplayText(std::string_view old, const DisplaySettings& display) {
  return SectionText(old, kDisplaySection, {}, display);
}

namespace {

std::string SectionText(std::string_view old, std::string_view sectionName,
                        const AlarmSettings& settings, const DisplaySettings& display) {
  std::vector<KeyValue> values;
  for (const Key& key : kKeys) {
    if (key.section != sectionName) continue;
    std::string value = ValueText(key, settings, display);
    const bool byDefault = key.added && value == ValueText(key, {}, {});
    values.push_back({key.file, std::move(value), byDefault});
  }
  return KeysText(old, sectionName, values);
}

std::string KeysText(std::string_view old, std::string_view sectionName,
                     std::span<const KeyValue> values) {
  const auto find = [&values](std::string_view name) {
    return std::find_if(values.begin(), values.end(),
                        [name](const KeyValue& value) { return SameWord(name, value.first); });
  };
  std::vector<std::string> lines;
  bool inSection = false;  // in a section of that name
  bool inFirst = false;    // in the first section of that name
  std::vector<bool> written(values.size());
  std::optional<std::size_t> sectionEnd;  // after the first one's last line with content
  for (const std::string_view raw : SplitLines(old)) {
    const Line line = Classify(raw);
    if (line.kind == Line::kSection) {
      inFirst = !sectionEnd && SameWord(line.name, sectionName);
      inSection = SameWord(line.name, sectionName);
    }
    std::string text(raw);
    if (inSection && line.kind == Line::kPair) {
      const auto value = find(line.name);
      const auto index = static_cast<std::size_t>(value - values.begin());
      if (value != values.end() && !written[index]) {
        written[index] = true;
        text = std::string(raw.substr(0, line.valueAt)) + value->second;
      }
    }
    lines.push_back(std::move(text));
    if (inFirst && line.kind != Line::kBlank && line.kind != Line::kComment) {
      sectionEnd = lines.size();
    }
  }

  std::vector<std::string> missing;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!written[i] && !values[i].onlyWhereFound)
      missing.push_back(std::string(values[i].first) + "=" + values[i].second);
  }
  if (!sectionEnd) {
    if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + std::string(sectionName) + "]");
    sectionEnd = lines.size();
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), missing.begin(),
               missing.end());

  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace

Reading<SettingsReading> ReadSettings() {
  Reading<std::string> file = ReadDataFile(kSettingsFile);
  return {ParseSettings(file.value), std::move(file.result)};
}

Result SaveSettings(const AlarmSettings& settings) {
  // Its other lines are kept, so a file that cannot be read is not written over.
  const Reading<std::string> old = ReadDataFile(kSettingsFile);
  if (!old.result) return old.result;
  const SettingsReading reading = ParseSettings(old.value);
  if (reading.settings == settings && reading.unreadable.empty()) return {};
  return ReplaceDataFile(kSettingsFile, SettingsText(old.value, settings));
}

Result SaveDisplay(const DisplaySettings& display) {
  const Reading<std::string> old = ReadDataFile(kSettingsFile);
  if (!old.result) return old.result;
  const SettingsReading reading = ParseSettings(old.value);
  const bool clean = std::none_of(reading.unreadable.begin(), reading.unreadable.end(),
                                  [](const UnreadableSetting& setting) {
                                    return FindKey(kDisplaySection, setting.key, false) != nullptr;
                                  });
  if (reading.display == display && clean) return {};
  return ReplaceDataFile(kSettingsFile, DisplayText(old.value, display));
}

// --- [Window] ----------------------------------------------------------------------------------

namespace {

constexpr std::string_view kWindowSection = "Window";
constexpr int kMaxCoordinate = 1000000;

// A desktop coordinate: an optional minus and digits, within a million pixels of the origin.
std::optional<int> ReadCoordinate(std::string_view value) {
  const bool negative = !value.empty() && value[0] == '-';
  if (negative) value.remove_prefix(1);
  if (value.empty()) return std::nullopt;
  int number = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
    if (number > kMaxCoordinate) return std::nullopt;
  }
  return negative ? -number : number;
}

}  // namespace

WindowSettings ParseWindow(std::string_view text) {
  WindowSettings window;
  bool inWindow = false;
  bool seen[4] = {};
  for (const std::string_view raw : SplitLines(text)) {
    const Line line = Classify(raw);
    if (line.kind == Line::kSection) inWindow = SameWord(line.name, kWindowSection);
    if (line.kind != Line::kPair || !inWindow) continue;
    constexpr std::string_view kNames[] = {"Left", "Top", "Shown", "OnTop"};
    const auto* name =
        std::find_if(std::begin(kNames), std::end(kNames),
                     [&line](std::string_view key) { return SameWord(line.name, key); });
    if (name == std::end(kNames) || std::exchange(seen[name - kNames], true)) continue;
    switch (name - kNames) {
      case 0:
        window.Left = ReadCoordinate(line.value);
        break;
      case 1:
        window.Top = ReadCoordinate(line.value);
        break;
      case 2:
        window.Shown = ReadSwitch(line.value).value_or(window.Shown);
        break;
      default:
        window.OnTop = ReadSwitch(line.value).value_or(window.OnTop);
        break;
    }
  }
  if (!window.Left || !window.Top) window.Left = window.Top = std::nullopt;
  return window;
}

std::string WindowText(std::string_view old, const WindowSettings& window) {
  std::vector<KeyValue> values;
  if (window.Left && window.Top) {
    values.push_back({"Left", std::to_string(*window.Left)});
    values.push_back({"Top", std::to_string(*window.Top)});
  }
  values.push_back({"Shown", window.Shown ? "on" : "off"});
  values.push_back({"OnTop", window.OnTop ? "on" : "off"});
  return KeysText(old, kWindowSection, values);
}

Result SaveWindow(const WindowSettings& window) {
  const Reading<std::string> old = ReadDataFile(kSettingsFile);
  if (!old.result) return old.result;
  if (ParseWindow(old.value) == window) return {};
  return ReplaceDataFile(kSettingsFile, WindowText(old.value, window));
}

std::string UnreadableSettingMessage(const UnreadableSetting& setting) {
  const Key* key = FindKey(kAlarmsSection, setting.key, false);
  if (key == nullptr) key = FindKey(kDisplaySection, setting.key, false);
  const std::string fallback = key != nullptr ? ValueText(*key, {}, {}) : "";
  return std::string(kSettingsFile) + ": " + setting.key + "=" + setting.value +
         " cannot be read; the default " + (fallback.empty() ? "(empty)" : fallback) + " is used";
}

namespace {

constexpr const char* kCommandKeys =
    "keys: good, bad, warning, at-start, sound, repeat, at-end, quiet, good-sound, bad-sound";

// quiet=HH:MM-HH:MM or quiet=off (also none, or empty): both quiet times; false when unreadable.
bool ApplyQuiet(std::string_view value, AlarmSettings& settings) {
  if (value.empty() || SameWord(value, "off") || SameWord(value, "none")) {
    settings.QuietFrom.clear();
    settings.QuietTo.clear();
    return true;
  }
  const std::size_t dash = value.find('-');
  if (dash == std::string_view::npos) return false;
  const std::optional<std::string> from = ReadClockTime(TrimBlanks(value.substr(0, dash)));
  const std::optional<std::string> to = ReadClockTime(TrimBlanks(value.substr(dash + 1)));
  if (!from || !to) return false;
  settings.QuietFrom = *from;
  settings.QuietTo = *to;
  return true;
}

// What is wrong with a value of `key` that cannot be read.
std::string Problem(const Key& key) {
  switch (key.type) {
    case Type::Minutes:
      return key.number == &AlarmSettings::RepeatMinutes
                 ? std::string(kRepeatFormat)
                 : std::string(key.command) + " takes a whole number of minutes from 0 to 1440";
    case Type::Time:
      return std::string(kQuietFormat);
    case Type::Sound:
      return std::string(kSoundFormat);
    default:
      return std::string(key.command) + " takes on or off (or 1/0, true/false, yes/no)";
  }
}

}  // namespace

SettingsEdit ApplySettingPairs(const AlarmSettings& settings, std::span<const std::string> pairs) {
  SettingsEdit edit{settings, {}};
  if (pairs.empty()) edit.error = std::string("no KEY=VALUE given (") + kCommandKeys + ")";
  const std::string* quietPair = nullptr;  // the last pair that set a quiet time
  for (const std::string& pair : pairs) {
    const std::size_t equals = pair.find('=');
    if (equals == std::string::npos) {
      edit.error = "\"" + pair + "\" is not KEY=VALUE";
      break;
    }
    const std::string_view name = TrimBlanks(std::string_view(pair).substr(0, equals));
    const std::string_view value = TrimBlanks(std::string_view(pair).substr(equals + 1));
    if (SameWord(name, "quiet") || SameWord(name, "QuietFrom") || SameWord(name, "QuietTo"))
      quietPair = &pair;
    if (SameWord(name, "quiet")) {
      if (!ApplyQuiet(value, edit.settings))
        edit.error = "\"" + pair + "\": " + std::string(kQuietFormat);
    } else if (const Key* key = FindKey(kAlarmsSection, name, true); key == nullptr) {
      edit.error = "\"" + pair + "\": unknown key (" + kCommandKeys + ")";
    } else if (DisplaySettings ignored; !Apply(*key, value, edit.settings, ignored)) {
      edit.error = "\"" + pair + "\": " + Problem(*key);
    }
    if (!edit.error.empty()) break;
  }
  // The quiet hours are two times or none, as the dialog takes them.
  if (edit.error.empty() && quietPair != nullptr &&
      edit.settings.QuietFrom.empty() != edit.settings.QuietTo.empty())
    edit.error = "\"" + *quietPair + "\": " + std::string(kQuietFormat);
  if (!edit.error.empty()) edit.settings = settings;
  return edit;
}

}  // namespace tarvex
