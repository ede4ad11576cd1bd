#include "engine/modGeneral.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>

#include "engine/clock.h"
#include "engine/utf8.h"

namespace tarvex {
namespace {

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

std::string& ProgramFolder() {
  static std::string folder = [] {
    std::error_code error;
    return WithSeparator(Utf8FromPath(std::filesystem::current_path(error)));
  }();
  return folder;
}

std::optional<std::string>& DataFolderChoice() {
  static std::optional<std::string> folder;
  return folder;
}

FileCodec& Codec() {
  static FileCodec codec;
  return codec;
}

std::filesystem::path DataFile(std::string_view name) {
  return PathFromUtf8(DataFolder() + std::string(name));
}

// True when a file can be created in `folder`.
bool CanCreateFilesIn(const std::string& folder) {
  const auto probe = PathFromUtf8(folder + ".tarvex-write-test");
  {
    std::ofstream file(probe, std::ios::binary);
    if (!file) return false;
  }
  std::error_code error;
  std::filesystem::remove(probe, error);
  return true;
}

// Copies the data files of `from` into `to`, when `to` holds none of them yet.
void CopyDataFilesOnce(const std::string& from, const std::string& to) {
  for (const std::string_view name : kDataFileNames) {
    if (std::filesystem::exists(PathFromUtf8(to + std::string(name)))) return;
  }
  for (const std::string_view name : kDataFileNames) {
    std::error_code error;  // a file that cannot be copied is read as missing, as before
    std::filesystem::copy_file(PathFromUtf8(from + std::string(name)),
                               PathFromUtf8(to + std::string(name)), error);
  }
}

bool IsDigit(std::string_view piece, std::size_t position) {
  const std::string_view c = Piece(piece, position, 1);
  return c.size() == 1 && c[0] >= '0' && c[0] <= '9';
}

// The whole number of the digits at 1-based positions [first, last]; all must be digits.
std::optional<int> Digits(std::string_view text, std::size_t first, std::size_t last) {
  int value = 0;
  for (std::size_t p = first; p <= last; ++p) {
    if (!IsDigit(text, p)) return std::nullopt;
    value = value * 10 + (Piece(text, p, 1)[0] - '0');  // at most 4 digits: [0, 9999]
  }
  return value;
}

}  // namespace

// --- Folders -------------------------------------------------------------------------------

std::string GetAppPath() {
  return ProgramFolder();
}

void SetProgramFolder(std::string folder) {
  ProgramFolder() = WithSeparator(std::move(folder));
}

std::string DataFolder() {
  return DataFolderChoice().value_or(GetAppPath());
}

void SetDataFolder(std::string folder) {
  DataFolderChoice() = WithSeparator(std::move(folder));
}

std::string ChooseDataFolder(const std::optional<std::string>& userFolder, bool installed) {
  std::string folder = GetAppPath();
  if ((installed || !CanCreateFilesIn(folder)) && userFolder && !userFolder->empty()) {
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf8(*userFolder), error);
    if (!error) {
      const std::string user = WithSeparator(*userFolder);
      CopyDataFilesOnce(folder, user);
      folder = user;
    }
  }
  SetDataFolder(folder);
  return DataFolder();
}

void SetFileCodec(FileCodec codec) {
  Codec() = std::move(codec);
}

const FileCodec& CurrentFileCodec() {
  return Codec();
}

std::string ReadDataFileBytes(std::string_view name, bool create) {
  const std::filesystem::path file = DataFile(name);
  if (create) std::ofstream(file, std::ios::binary | std::ios::app);  // changes nothing present
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool ReplaceDataFile(std::string_view name, std::string_view text) {
  const std::optional<std::string> bytes = CurrentFileCodec().ToFile(text);
  if (!bytes) return false;
  const std::filesystem::path file = DataFile(name);
  std::filesystem::path temporary = file;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << *bytes;
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, file, error);
  if (error) std::filesystem::remove(temporary, error);
  return !error;
}

// --- Text rules --------------------------------------------------------------------------------

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += !IsContinuationByte(c);
  return count;
}

std::string_view Piece(std::string_view text, std::size_t position, std::size_t count) {
  if (position == 0) return {};
  const std::size_t begin = ByteOffsetOfChar(text, position - 1);
  const std::size_t end = ByteOffsetOfChar(text.substr(begin), count);
  return text.substr(begin, end);
}

std::string FixedWidth(std::string_view text, std::size_t width) {
  const std::size_t cut = ByteOffsetOfChar(text, width);
  std::string field(text.substr(0, cut));
  field.append(width - CharCount(field), ' ');
  return field;
}

double LeadingNumber(std::string_view text) {
  // "[+-]?[0-9]*(.[0-9]*)?" once blanks, tabs and line feeds are dropped; read without allocating.
  std::uint64_t mantissa = 0;  // the first 19 significant digits: below 10^19
  int scale = 0;               // power of ten to apply to the mantissa
  int significant = 0;
  bool sign = false, negative = false, point = false, digits = false;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\n') continue;
    if ((c == '+' || c == '-') && !sign) {
      sign = true;
      negative = c == '-';
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (significant < 19) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        significant += mantissa != 0;
        scale -= point;
      } else {
        scale += !point;
      }
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    sign = true;  // a sign counts only before anything else
  }
  if (!digits) return 0.0;
  double value = static_cast<double>(mantissa);
  if (scale < 0) value /= std::pow(10.0, -scale);
  if (scale > 0) value *= std::pow(10.0, scale);
  return negative ? -value : value;
}

std::int64_t RoundHalfEven(double value) {
  constexpr double kLimit = 9.0e18;  // inside the 64-bit range
  if (!(value > -kLimit)) return static_cast<std::int64_t>(-kLimit);
  if (!(value < kLimit)) return static_cast<std::int64_t>(kLimit);
  const double floor = std::floor(value);
  const double fraction = value - floor;  // [0, 1)
  auto whole = static_cast<std::int64_t>(floor);
  if (fraction > 0.5 || (fraction == 0.5 && whole % 2 != 0)) ++whole;
  return whole;
}

std::string TwoDigits(std::int64_t n) {
  return (n >= 0 && n < 10 ? "0" : "") + std::to_string(n);
}

std::string TimeText(std::int64_t hour, std::int64_t minute, std::int64_t second) {
  return TwoDigits(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
}

std::string DateText(std::int64_t month, std::int64_t day, std::int64_t year) {
  std::string digits = year >= 10000 ? "0000" : std::to_string(year);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  return TwoDigits(month) + "/" + TwoDigits(day) + "/" + digits;
}

bool IsValidTime(std::string_view text) {
  const double hours = LeadingNumber(Piece(text, 1));
  if (hours < 0 || hours > 24) return false;
  const double minutes = LeadingNumber(Piece(text, 4));
  if (minutes < 0 || minutes > 59) return false;
  const double seconds = LeadingNumber(Piece(text, 7));
  if (seconds < 0 || seconds > 59) return false;
  return Piece(text, 3, 1) == ":" && Piece(text, 6, 1) == ":";
}

bool IsValidDate(std::string_view text) {
  const double month = LeadingNumber(Piece(text, 1));
  if (month <= 0 || month > 12) return false;
  const double day = LeadingNumber(Piece(text, 4));
  if (day <= 0 || day > 31) return false;
  return Piece(text, 3, 1) == "/" && Piece(text, 6, 1) == "/";
}

bool IsCalendarTime(std::string_view text) {
  if (CharCount(text) != 8 || Piece(text, 3, 1) != ":" || Piece(text, 6, 1) != ":") return false;
  const auto hour = Digits(text, 1, 2);
  const auto minute = Digits(text, 4, 5);
  const auto second = Digits(text, 7, 8);
  return hour && minute && second && *hour <= 23 && *minute <= 59 && *second <= 59;
}

bool IsCalendarDate(std::string_view text) {
  if (CharCount(text) != 10 || Piece(text, 3, 1) != "/" || Piece(text, 6, 1) != "/") return false;
  const auto month = Digits(text, 1, 2);
  const auto day = Digits(text, 4, 5);
  const auto year = Digits(text, 7, 10);
  return month && day && year && *year >= 1 && *month >= 1 && *month <= 12 && *day >= 1 &&
         *day <= DaysInMonth(*year, *month);
}

std::string_view CalibrationProblem(std::string_view realTime, std::string_view realDate,
                                    std::string_view gameTime, std::string_view gameDate) {
  if (!IsValidTime(realTime))
    return "The real time is not in the correct format.  Please fix it and try again.";
  if (!IsCalendarTime(realTime))
    return "The real time is not a valid time of day.  Please fix it and try again.";
  if (!IsValidDate(realDate))
    return "The real date is not in the correct format.  Please fix it and try again.";
  if (!IsCalendarDate(realDate))
    return "The real date is not a valid calendar date.  Please fix it and try again.";
  if (!IsValidTime(gameTime))
    return "The Kestrune time is not in the correct format.  Please fix it and try again.";
  if (!IsValidDate(gameDate))
    return "The Kestrune date is not in the correct format.  Please fix it and try again.";
  return {};
}

bool IsArmableTime(std::string_view text) {
  return IsValidTime(text) && LeadingNumber(Piece(text, 1, 2)) != 24;
}

bool IsArmableDate(std::string_view text) {
  if (!IsValidDate(text) || text.size() != 10) return false;
  return Digits(text, 1, 2) && Digits(text, 4, 5) && Digits(text, 7, 10);
}

}  // namespace tarvex
