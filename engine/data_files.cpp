// The calibration record and the game folder in their data files, ZRDTIMES.DAT and ZRDDIR.DAT.
#include <string>
#include <utility>
#include <vector>

#include "engine/modGeneral.h"
#include "engine/modZRD.h"

namespace tarvex {

CalibrationRecord Calibration;
std::string GamePath;

namespace {

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// Reads up to `count` values by the files' rule: leading blanks are skipped; a value ends at the
// first comma or at the end of its line; a value that opens with a double quote runs to the next
// double quote, and both are dropped.
std::vector<std::string> ReadValues(std::string_view text, std::size_t count) {
  std::vector<std::string> values;
  std::size_t at = 0;
  while (values.size() < count && at < text.size()) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    std::string value;
    if (at < text.size() && text[at] == '"') {
      const std::size_t close = text.find('"', at + 1);
      const std::size_t end = close == std::string_view::npos ? text.size() : close;
      value = text.substr(at + 1, end - at - 1);
      at = end == text.size() ? end : end + 1;
      while (at < text.size() && text[at] != ',' && !IsLineEnd(text[at])) ++at;
    } else {
      const std::size_t begin = at;
      while (at < text.size() && text[at] != ',' && !IsLineEnd(text[at])) ++at;
      value = text.substr(begin, at - begin);
    }
    // Past the delimiter: a comma, or one line end (CR LF, CR or LF).
    if (at < text.size() && text[at] == ',') {
      ++at;
    } else if (at < text.size()) {
      at += text.compare(at, 2, "\r\n") == 0 ? 2 : 1;
    }
    values.push_back(std::move(value));
  }
  return values;
}

std::string Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

Reading<std::string> ReadGamePath() {
  Reading<std::string> file = ReadDataFile(kGamePathFile, true);
  const std::vector<std::string> values = ReadValues(file.value, 1);
  const std::string folder = Trim(values.empty() ? std::string() : values[0]);
  return {folder.empty() ? GetAppPath() : folder, std::move(file.result)};
}

Result SaveGamePath(std::string_view path) {
  std::size_t end = path.size();
  while (end > 0 && !IsPathSeparator(path[end - 1])) --end;
  if (CharCount(path) < 3 || end == 0)
    return Result::Failure("\"" + std::string(path) + "\" names no folder");
  const std::optional<std::string> folder = CurrentFileCodec().StoredFolder(path.substr(0, end));
  if (!folder) {
    return Result::Failure("the folder " + std::string(path.substr(0, end)) +
                           " has no name that " + std::string(kGamePathFile) + " can hold");
  }
  // The folder is read back by the value rule: bare, it would end at a comma or a line end, so a
  // folder holding one goes in double quotes, which the rule drops. Any other folder is written
  // bare, as other programs read the file. No value can carry a double quote itself.
  if (folder->find('"') != std::string::npos) {
    return Result::Failure("the folder " + std::string(path.substr(0, end)) +
                           " holds a double quote, which " + std::string(kGamePathFile) +
                           " cannot carry");
  }
  const bool quoted = folder->find_first_of(",\r\n") != std::string::npos;
  return ReplaceDataFile(kGamePathFile, quoted ? "\"" + *folder + "\"\r\n" : *folder + "\r\n");
}

Reading<CalibrationRecord> ReadCalibration(bool* held) {
  Reading<std::string> file = ReadDataFile(kCalibrationFile, true);
  const std::vector<std::string> values =
      file.value.size() < 11 ? std::vector<std::string>{} : ReadValues(file.value, 4);
  Reading<CalibrationRecord> reading{{}, std::move(file.result)};
  CalibrationRecord& record = reading.value;
  if (held != nullptr) *held = values.size() >= 4;
  if (values.size() < 4) {
    record.RealTime = GetRealTime();
    record.RealDate = GetRealDate();
    record.ZRDTime = "00:00:01";
    record.ZRDDate = "01/01/0001";
  } else {
    record.RealTime = values[0];
    record.RealDate = values[1];
    record.ZRDTime = values[2];
    record.ZRDDate = values[3];
  }
  return reading;
}

Result SaveCalibration(const CalibrationRecord& record) {
  const std::string text = record.RealTime.str() + "\r\n" + record.RealDate.str() + "\r\n" +
                           record.ZRDTime.str() + "\r\n" + record.ZRDDate.str() + "\r\n";
  return ReplaceDataFile(kCalibrationFile, text);
}

}  // namespace tarvex
