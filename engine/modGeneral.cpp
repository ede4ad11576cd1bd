#include "engine/modGeneral.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
#ifndef _WIN32
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return WithSeparator(Utf8FromPath(exe.parent_path()));
#endif
    return WithSeparator(Utf8FromPath(std::filesystem::current_path(error)));
  }();
  return folder;
}

std::optional<std::string>& DataFolderChoice() {
  static std::optional<std::string> folder;
  return folder;
}

FileCodec& Codec() {
  static FileCodec codec{[](std::string_view bytes) { return std::string(bytes); },
                         [](std::string_view text) { return std::string(text); }};
  return codec;
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

// The per-user folder for the data files.
std::optional<std::filesystem::path> UserDataFolder() {
#ifdef _WIN32
  if (const wchar_t* appData = _wgetenv(L"APPDATA"); appData != nullptr && *appData != 0)
    return std::filesystem::path(appData) / "Tarvex";
#else
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/')
    return std::filesystem::path(config) / "tarvex";
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0)
    return std::filesystem::path(home) / ".config" / "tarvex";
#endif
  return std::nullopt;
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

std::string ChooseDataFolder() {
  std::string folder = GetAppPath();
  if (!CanCreateFilesIn(folder)) {
    if (const auto user = UserDataFolder()) {
      std::error_code error;
      std::filesystem::create_directories(*user, error);
      if (!error) folder = WithSeparator(Utf8FromPath(*user));
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

}  // namespace tarvex
