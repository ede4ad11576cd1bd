#include "engine/modGeneral.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

#include "engine/clock.h"
#include "engine/log.h"
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

namespace {

std::string Shown(const std::filesystem::path& file) {
  return Utf8FromPath(file);
}

// A data file's failures are logged where they happen, whoever asked.
Result CannotRead(const std::filesystem::path& file, std::string_view why) {
  Result failure = Result::Failure(Shown(file) + " cannot be read: " + std::string(why));
  Warn(failure.why());
  return failure;
}

Result CannotWrite(const std::filesystem::path& file, std::string_view why) {
  Result failure = Result::Failure(Shown(file) + " could not be written: " + std::string(why));
  Warn(failure.why());
  return failure;
}

// The portable writing: no lock, no flush beyond the stream's own.
Result WriteWithStream(const std::filesystem::path& path, std::string_view bytes) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    return Result::Failure("its temporary file cannot be created" +
                           (errno != 0 ? ": " + std::generic_category().message(errno) : ""));
  }
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return Result::Failure("its temporary file could not be written");
  return {};
}

Result RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  std::filesystem::rename(from, to, error);
  if (error) return Result::Failure(error.message());
  return {};
}

FileStamp StampWithTwoLooks(const std::filesystem::path& path) {
  std::error_code error;
  const auto modified = std::filesystem::last_write_time(path, error);
  if (error) return {};
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  return {.present = true,
          .size = error ? 0 : size,
          .modified = static_cast<std::int64_t>(modified.time_since_epoch().count())};
}

DataFileCalls& Writing() {
  static DataFileCalls writing{
      .Write = WriteWithStream, .Replace = RenameOver, .Stamp = StampWithTwoLooks};
  return writing;
}

// The file that a write of `file` replaces: the end of its chain of symbolic links.
std::filesystem::path LinkTarget(std::filesystem::path file) {
  for (int links = 0; links < 40; ++links) {  // as many as the systems follow
    std::error_code error;
    if (!std::filesystem::is_symlink(file, error)) break;
    const std::filesystem::path next = std::filesystem::read_symlink(file, error);
    if (error) break;
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
  return file;
}

// Temporary files that earlier saves of `file` left behind when they were stopped midway:
// "NAME.<anything>.tmp" beside it. Only called under the lock, when no other save is under way.
void RemoveLeftovers(const std::filesystem::path& file) {
  const std::string prefix = Utf8FromPath(file.filename()) + ".";
  std::error_code error;
  std::filesystem::directory_iterator entries(file.parent_path(), error);
  for (const auto& entry : entries) {
    const std::string name = Utf8FromPath(entry.path().filename());
    if (name.size() >= prefix.size() + 3 && name.starts_with(prefix) && name.ends_with(".tmp") &&
        entry.is_regular_file(error)) {
      std::filesystem::remove(entry.path(), error);
    }
  }
}

// A name no other save uses at the same time: the process and a count within it.
std::filesystem::path TemporaryName(const std::filesystem::path& file) {
  static const unsigned process = std::random_device()();
  static unsigned count = 0;
  std::filesystem::path temporary = file;
  temporary += "." + std::to_string(process) + "-" + std::to_string(++count) + ".tmp";
  return temporary;
}

}  // namespace

void SetDataFileCalls(DataFileCalls writing) {
  if (!writing.Lock) writing.Lock = DataFileCalls().Lock;
  if (!writing.Write) writing.Write = WriteWithStream;
  if (!writing.Replace) writing.Replace = RenameOver;
  if (!writing.Stamp) writing.Stamp = StampWithTwoLooks;
  Writing() = std::move(writing);
}

FileStamp StampOf(std::string_view name) {
  return Writing().Stamp(DataFile(name));
}

Reading<std::string> ReadDataFile(std::string_view name, bool create) {
  const std::filesystem::path file = DataFile(name);
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    if (create) std::ofstream(file, std::ios::binary | std::ios::app);  // a folder it cannot be
    return {};                                                         // made in is read as empty
  }
  if (error) return {{}, CannotRead(file, error.message())};
  if (std::filesystem::is_directory(status)) return {{}, CannotRead(file, "it is a folder")};

  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    const int code = errno;
    return {{}, CannotRead(file, code != 0 ? std::generic_category().message(code)
                                           : std::string("it cannot be opened"))};
  }
  std::string bytes(kMaxDataFileBytes, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));  // never throws: no exceptions()
  if (in.bad()) return {{}, CannotRead(file, "an input or output error")};
  bytes.resize(static_cast<std::size_t>(in.gcount()));

  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.starts_with(kByteOrderMark)) return {bytes.substr(kByteOrderMark.size()), {}};
  return {CurrentFileCodec().FromFile(bytes), {}};
}

Result ReplaceDataFile(std::string_view name, std::string_view text) {
  const std::filesystem::path link = DataFile(name);
  const std::optional<std::string> bytes = CurrentFileCodec().ToFile(text);
  if (!bytes) return CannotWrite(link, "the text holds a character that the file cannot carry");
  const std::filesystem::path file = LinkTarget(link);
  const DataFileCalls& writing = Writing();

  const std::shared_ptr<void> lock = writing.Lock(DataFile(kLockFile));
  if (lock) RemoveLeftovers(file);
  const std::filesystem::path temporary = TemporaryName(file);
  std::error_code ignored;  // the temporary file's removal must not hide why the save failed
  if (Result written = writing.Write(temporary, *bytes); !written) {
    std::filesystem::remove(temporary, ignored);
    return CannotWrite(link, written.why());
  }
  std::error_code error;
  if (const auto old = std::filesystem::status(file, error); std::filesystem::exists(old)) {
    std::filesystem::permissions(temporary, old.permissions(), ignored);
  }
  if (Result replaced = writing.Replace(temporary, file); !replaced) {
    std::filesystem::remove(temporary, ignored);
    return CannotWrite(link, replaced.why());
  }
  return {};
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

namespace {

struct CalibrationFault {
  int field = -1;
  std::string_view why;
};

CalibrationFault FindCalibrationFault(std::string_view realTime, std::string_view realDate,
                                      std::string_view gameTime, std::string_view gameDate) {
  if (!IsValidTime(realTime))
    return {0, "The real time is not in the correct format.  Please fix it and try again."};
  if (!IsCalendarTime(realTime))
    return {0, "The real time is not a valid time of day.  Please fix it and try again."};
  if (!IsValidDate(realDate))
    return {1, "The real date is not in the correct format.  Please fix it and try again."};
  if (!IsCalendarDate(realDate))
    return {1, "The real date is not a valid calendar date.  Please fix it and try again."};
  if (!IsValidTime(gameTime))
    return {2, "The Kestrune time is not in the correct format.  Please fix it and try again."};
  if (!IsValidDate(gameDate))
    return {3, "The Kestrune date is not in the correct format.  Please fix it and try again."};
  // The format lets a day run to 31, as a hand-edited file may; a pair being set names a day the
  // Kestrune month has.
  if (const double day = LeadingNumber(Piece(gameDate, 4)); day < 1 || day > 28)
    return {3, "The Kestrune date is not a valid Kestrune date.  A Kestrune month has 28 days."};
  return {};
}

}  // namespace

std::string_view CalibrationProblem(std::string_view realTime, std::string_view realDate,
                                    std::string_view gameTime, std::string_view gameDate) {
  return FindCalibrationFault(realTime, realDate, gameTime, gameDate).why;
}

int CalibrationProblemField(std::string_view realTime, std::string_view realDate,
                            std::string_view gameTime, std::string_view gameDate) {
  return FindCalibrationFault(realTime, realDate, gameTime, gameDate).field;
}

bool IsArmableTime(std::string_view text) {
  return IsValidTime(text) && LeadingNumber(Piece(text, 1, 2)) != 24;
}

bool IsArmableDate(std::string_view text) {
  if (!IsValidDate(text) || text.size() != 10) return false;
  return Digits(text, 1, 2) && Digits(text, 4, 5) && Digits(text, 7, 10);
}

}  // namespace tarvex
