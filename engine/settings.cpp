#include "engine/settings.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "engine/modGeneral.h"

namespace tarvex {
namespace {

constexpr std::string_view kSection = "Alarms";
constexpr std::string_view kDisplaySection = "Display";

// One key of [Alarms] or [Display]: its section, its name in the file and on the command line
// (none for [Display]), and the field it sets: a switch of the alarms (`flag`) or of the views
// (`view`), or WarningMinutes when both are null.
struct Key {
  std::string_view section;
  std::string_view file;
  std::string_view command;
  bool AlarmSettings::*flag = nullptr;
  bool DisplaySettings::*view = nullptr;
};
constexpr Key kKeys[] = {
    {kSection, "GoodMoon", "good", &AlarmSettings::GoodMoon},
    {kSection, "BadMoon", "bad", &AlarmSettings::BadMoon},
    {kSection, "WarningMinutes", "warning"},
    {kSection, "AtStart", "at-start", &AlarmSettings::AtStart},
    {kSection, "Sound", "sound", &AlarmSettings::Sound},
    {kDisplaySection, "ShowCurrentTime", "", nullptr, &DisplaySettings::CurrentTime},
    {kDisplaySection, "ShowNextGoodMoon", "", nullptr, &DisplaySettings::NextGoodMoon},
    {kDisplaySection, "ShowNextBadMoon", "", nullptr, &DisplaySettings::NextBadMoon},
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
  if (key.view != nullptr) {
    const std::optional<bool> on = ReadSwitch(value);
    if (on) display.*key.view = *on;
    return on.has_value();
  }
  if (key.flag == nullptr) {
    const std::optional<int> minutes = ReadWarningMinutes(value);
    if (minutes) settings.WarningMinutes = *minutes;
    return minutes.has_value();
  }
  const std::optional<bool> on = ReadSwitch(value);
  if (on) settings.*key.flag = *on;
  return on.has_value();
}

std::string ValueText(const Key& key, const AlarmSettings& settings,
                      const DisplaySettings& display) {
  if (key.view != nullptr) return display.*key.view ? "on" : "off";
  if (key.flag == nullptr) return std::to_string(settings.WarningMinutes);
  return settings.*key.flag ? "on" : "off";
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
    if (SameWord(name, key.file) || (commandNames && SameWord(name, key.command))) return &key;
  }
  return nullptr;
}

// A key of a section and the text of its new value.
using KeyValue = std::pair<std::string_view, std::string>;

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

SettingsReading ParseSettings(std::string_view text) {
  SettingsReading reading;
  std::string_view section;  // the present section, when it is one of ours
  bool seen[kKeyCount] = {};
  for (const std::string_view raw : SplitLines(text)) {
    const Line line = Classify(raw);
    if (line.kind == Line::kSection) {
      section = SameWord(line.name, kSection)          ? kSection
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
  return SectionText(old, kSection, settings, {});
}

std::string DisplayText(std::string_view old, const DisplaySettings& display) {
  return SectionText(old, kDisplaySection, {}, display);
}

namespace {

std::string SectionText(std::string_view old, std::string_view sectionName,
                        const AlarmSettings& settings, const DisplaySettings& display) {
  std::vector<KeyValue> values;
  for (const Key& key : kKeys) {
    if (key.section == sectionName)
      values.emplace_back(key.file, ValueText(key, settings, display));
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
    if (!written[i]) missing.push_back(std::string(values[i].first) + "=" + values[i].second);
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
    values.emplace_back("Left", std::to_string(*window.Left));
    values.emplace_back("Top", std::to_string(*window.Top));
  }
  values.emplace_back("Shown", window.Shown ? "on" : "off");
  values.emplace_back("OnTop", window.OnTop ? "on" : "off");
  return KeysText(old, kWindowSection, values);
}

Result SaveWindow(const WindowSettings& window) {
  const Reading<std::string> old = ReadDataFile(kSettingsFile);
  if (!old.result) return old.result;
  if (ParseWindow(old.value) == window) return {};
  return ReplaceDataFile(kSettingsFile, WindowText(old.value, window));
}

std::string UnreadableSettingMessage(const UnreadableSetting& setting) {
  const Key* key = FindKey(kSection, setting.key, false);
  if (key == nullptr) key = FindKey(kDisplaySection, setting.key, false);
  const std::string fallback = key != nullptr ? ValueText(*key, {}, {}) : "";
  return std::string(kSettingsFile) + ": " + setting.key + "=" + setting.value +
         " cannot be read; the default " + fallback + " is used";
}

SettingsEdit ApplySettingPairs(const AlarmSettings& settings, std::span<const std::string> pairs) {
  SettingsEdit edit{settings, {}};
  if (pairs.empty()) edit.error = "no KEY=VALUE given (keys: good, bad, warning, at-start, sound)";
  for (const std::string& pair : pairs) {
    const std::size_t equals = pair.find('=');
    const Key* key =
        equals == std::string::npos
            ? nullptr
            : FindKey(kSection, TrimBlanks(std::string_view(pair).substr(0, equals)), true);
    if (equals == std::string::npos) {
      edit.error = "\"" + pair + "\" is not KEY=VALUE";
    } else if (key == nullptr) {
      edit.error = "\"" + pair + "\": unknown key (keys: good, bad, warning, at-start, sound)";
    } else if (DisplaySettings ignored;
               !Apply(*key, TrimBlanks(std::string_view(pair).substr(equals + 1)), edit.settings,
                      ignored)) {
      edit.error = "\"" + pair + "\": " + std::string(key->command) +
                   (key->flag == nullptr ? " takes a whole number of minutes from 0 to 1440"
                                         : " takes on or off (or 1/0, true/false, yes/no)");
    }
    if (!edit.error.empty()) break;
  }
  if (!edit.error.empty()) edit.settings = settings;
  return edit;
}

}  // namespace tarvex
