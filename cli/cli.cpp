#include "cli/cli.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>
#include <thread>

#include "engine/clock.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "platform/startup.h"

namespace tarvex {
namespace {

constexpr std::string_view kUsage =
    "usage: tarvex-cli [--data-dir DIR] [--at \"MM/DD/YYYY hh:mm:ss\"] COMMAND\n"
    "\n"
    "commands:\n"
    "  status [--json]                  the game time and date and the next moons\n"
    "  calibrate REALTIME REALDATE GAMETIME GAMEDATE\n"
    "                                   stores a new calibration pair\n"
    "  set-path FILE                    sets the game folder to the folder of FILE\n"
    "  moons [--count N] [--ics]        the next N good and bad moons (default 5)\n"
    "  watch                            the live view; Ctrl-C saves the pair and ends\n"
    "\n"
    "options:\n"
    "  --data-dir DIR   use DIR for ZRDTIMES.DAT and ZRDDIR.DAT\n"
    "  --at MOMENT      take the local moment \"MM/DD/YYYY hh:mm:ss\" as the present\n"
    "  --help, --version\n";

struct Options {
  std::optional<std::string> dataDir;
  std::optional<std::string> at;
  bool json = false;
  bool ics = false;
  std::optional<int> count;
  std::vector<std::string> words;  // the command and its arguments
};

struct UsageError {
  std::string message;
};

Options Parse(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      return args[++i];
    };
    if (arg == "--data-dir") {
      options.dataDir = value();
    } else if (arg == "--at") {
      options.at = value();
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--ics") {
      options.ics = true;
    } else if (arg == "--count") {
      const std::string& text = value();
      int count = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
      if (error != std::errc() || end != text.data() + text.size() || count < 1 || count > 10000)
        throw UsageError{"--count needs a whole number from 1 to 10000"};
      options.count = count;
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "--help" && arg != "--version") {
      throw UsageError{"unknown option " + arg};
    } else {
      options.words.push_back(arg);
    }
  }
  return options;
}

// The present moment fixed at a local wall-clock reading, in the zone of another clock.
class FixedClock final : public Clock {
 public:
  FixedClock(const Clock& zone, std::int64_t now) : zone_(zone), now_(now) {}
  std::int64_t Now() const override { return now_; }
  std::int64_t UtcOffset(std::int64_t t) const override { return zone_.UtcOffset(t); }

 private:
  const Clock& zone_;
  std::int64_t now_;
};

std::optional<CivilTime> ParseMoment(std::string_view text) {
  const std::string_view date = Piece(text, 1, 10);
  const std::string_view time = Piece(text, 12, 8);
  if (CharCount(text) != 19 || Piece(text, 11, 1) != " " || !IsCalendarDate(date) ||
      !IsCalendarTime(time)) {
    return std::nullopt;
  }
  const auto number = [](std::string_view piece) { return static_cast<int>(LeadingNumber(piece)); };
  return CivilTime{number(Piece(date, 7, 4)), number(Piece(date, 1)), number(Piece(date, 4)),
                   number(Piece(time, 1)),    number(Piece(time, 4)), number(Piece(time, 7))};
}

std::string Json(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static constexpr char kHex[] = "0123456789abcdef";
          quoted += "\\u00";
          quoted += kHex[(c >> 4) & 0xF];
          quoted += kHex[c & 0xF];
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

int GameDay(const CalibrationRecord& record) {
  return MoonPhaseIcon(LeadingNumber(Piece(record.ZRDDate, 4)));
}

std::string_view PhaseName(int icon) {
  static constexpr std::string_view kNames[] = {
      "new moon",  "waxing crescent", "first quarter", "waxing gibbous",
      "full moon", "waning gibbous",  "last quarter",  "waning crescent"};
  return icon >= 101 && icon <= 108 ? kNames[icon - 101] : "no moon phase (odd game day)";
}

// The three lines of the tool-tip's views.
std::string StatusLines(const CalibrationRecord& record) {
  return record.ZRDTime.str() + " " + record.ZRDDate.str() + "\n" + "GOOD MOON " +
         GetNextMoon(record, kGoodMoonDay).Moment + "\n" + "BAD MOON " +
         GetNextMoon(record, kBadMoonDay).Moment + "\n";
}

int Status(const Options& options, std::ostream& out) {
  const CalibrationRecord record = GetZRDTime(ReadCalibration());
  if (!options.json) {
    out << StatusLines(record);
    return kExitOk;
  }
  const auto moon = [&record](int day) {
    const NextMoon next = GetNextMoon(record, day);
    return "{\"countdown\": " + Json(next.Countdown) + ", \"moment\": " + Json(next.Moment) + "}";
  };
  out << "{\"real_time\": " << Json(record.RealTime) << ", \"real_date\": " << Json(record.RealDate)
      << ", \"game_time\": " << Json(record.ZRDTime) << ", \"game_date\": " << Json(record.ZRDDate)
      << ", \"good_moon\": " << moon(kGoodMoonDay) << ", \"bad_moon\": " << moon(kBadMoonDay)
      << ", \"icon\": " << GameDay(record) << "}\n";
  return kExitOk;
}

int Calibrate(const Options& options, std::ostream& err) {
  const auto& w = options.words;
  if (const std::string_view problem = CalibrationProblem(w[1], w[2], w[3], w[4]);
      !problem.empty()) {
    err << problem << "\n";
    return kExitUsage;
  }
  CalibrationRecord record;
  record.RealTime = w[1];
  record.RealDate = w[2];
  record.ZRDTime = w[3];
  record.ZRDDate = w[4];
  if (!SaveCalibration(record)) {
    err << "tarvex-cli: could not write " << DataFolder() << kCalibrationFile << "\n";
    return kExitIo;
  }
  return kExitOk;
}

int SetPath(const Options& options, std::ostream& out, std::ostream& err) {
  std::error_code error;
  const std::filesystem::path file = std::filesystem::absolute(options.words[1], error);
  if (error || !file.has_filename()) {
    err << "tarvex-cli: set-path needs a file in the game folder\n";
    return kExitUsage;
  }
  const std::u8string text = file.lexically_normal().u8string();
  if (!SaveGamePath(std::string(text.begin(), text.end()))) {
    err << "tarvex-cli: could not write " << DataFolder() << kGamePathFile << "\n";
    return kExitIo;
  }
  out << ReadGamePath() << "\n";
  return kExitOk;
}

std::string LocalText(std::int64_t t) {
  const CivilTime local = LocalTime(CurrentClock(), t);
  return TwoDigits(local.month) + "/" + TwoDigits(local.day) + "/" + std::to_string(local.year) + " " +
         TwoDigits(local.hour) + ":" + TwoDigits(local.minute) + ":" + TwoDigits(local.second);
}

std::string UtcStamp(std::int64_t t) {
  const CivilTime utc = CivilFromDays(t >= 0 ? t / 86400 : (t - 86399) / 86400);
  const std::int64_t second = t - DaysFromCivil(utc.year, utc.month, utc.day) * 86400;
  return std::to_string(utc.year) + TwoDigits(utc.month) + TwoDigits(utc.day) + "T" + TwoDigits(second / 3600) +
         TwoDigits(second / 60 % 60) + TwoDigits(second % 60) + "Z";
}

struct Moon {
  bool good;
  std::int64_t start;  // real moment it begins
  std::int64_t gameYear;
  std::int64_t gameMonth;  // [1, 12]
};

// The next `count` moons of each kind, in order of time.
std::vector<Moon> NextMoons(const CalibrationRecord& record, std::int64_t now, int count) {
  const auto field = [](std::string_view text, std::size_t position, std::size_t n = 2) {
    return RoundHalfEven(LeadingNumber(Piece(text, position, n)));
  };
  const std::int64_t day = field(record.ZRDDate, 4);
  const std::int64_t month = field(record.ZRDDate, 1);
  const std::int64_t year = field(record.ZRDDate, 7, 4);
  std::vector<Moon> moons;
  for (const int moonDay : {kGoodMoonDay, kBadMoonDay}) {
    const std::int64_t first = now + GameSecondsToMoon(record, moonDay) / kGameSecondsPerRealSecond;
    const std::int64_t months = year * 12 + (month - 1) + (day >= moonDay ? 1 : 0);
    for (int k = 0; k < count; ++k) {
      moons.push_back({moonDay == kGoodMoonDay, first + k * kRealSecondsPerGameMonth,
                       (months + k) / 12, (months + k) % 12 + 1});
    }
  }
  std::stable_sort(moons.begin(), moons.end(),
                   [](const Moon& a, const Moon& b) { return a.start < b.start; });
  return moons;
}

int Moons(const Options& options, std::ostream& out) {
  const CalibrationRecord record = GetZRDTime(ReadCalibration());
  const std::int64_t now = CurrentClock().Now();
  const std::vector<Moon> moons = NextMoons(record, now, options.count.value_or(5));
  if (!options.ics) {
    for (const Moon& moon : moons) {
      out << (moon.good ? "GOOD MOON " : "BAD MOON  ") << LocalText(moon.start) << "\n";
    }
    return kExitOk;
  }
  out << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tarvex//Tarvex " << kVersion
      << "//EN\r\nCALSCALE:GREGORIAN\r\n";
  for (const Moon& moon : moons) {
    const std::string gameMonth = std::to_string(moon.gameYear) + "-" + TwoDigits(moon.gameMonth);
    out << "BEGIN:VEVENT\r\n"
        << "UID:" << (moon.good ? "good" : "bad") << "-moon-" << gameMonth << "@tarvex\r\n"
        << "DTSTAMP:" << UtcStamp(now) << "\r\n"
        << "DTSTART:" << UtcStamp(moon.start) << "\r\n"
        << "DTEND:" << UtcStamp(moon.start + 4800) << "\r\n"  // one game day
        << "SUMMARY:Kestrune " << (moon.good ? "good" : "bad") << " moon\r\n"
        << "DESCRIPTION:Game day " << (moon.good ? kGoodMoonDay : kBadMoonDay) << " of game month "
        << gameMonth << "\r\n"
        << "END:VEVENT\r\n";
  }
  out << "END:VCALENDAR\r\n";
  return kExitOk;
}

std::atomic<bool> g_stop{false};

extern "C" void OnStopSignal(int) {
  g_stop = true;
}

int Watch(std::ostream& out, std::ostream& err, bool terminal) {
  g_stop = false;
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
  Calibration = ReadCalibration();
  std::string shown;
  auto next = std::chrono::steady_clock::now();
  while (!g_stop) {
    Calibration = GetZRDTime(Calibration);
    const std::string frame =
        StatusLines(Calibration) + std::string(PhaseName(GameDay(Calibration))) + "\n";
    if (frame != shown) {
      if (terminal) {
        if (!shown.empty()) out << "\x1b[4F";  // back to the first of the four lines
        for (std::size_t at = 0; at < frame.size();) {
          const std::size_t end = frame.find('\n', at);
          out << "\x1b[2K" << frame.substr(at, end - at + 1);
          at = end + 1;
        }
      } else {
        std::string line = frame;
        line.pop_back();
        for (char& c : line) c = c == '\n' ? '|' : c;
        out << line << "\n";
      }
      out.flush();
      shown = frame;
    }
    next += std::chrono::milliseconds(500);
    std::this_thread::sleep_until(next);
  }
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  if (!SaveCalibration(Calibration)) {
    err << "tarvex-cli: could not write " << DataFolder() << kCalibrationFile << "\n";
    return kExitIo;
  }
  return kExitOk;
}

int Run(const Options& options, std::ostream& out, std::ostream& err, bool terminal) {
  const auto& words = options.words;
  const std::string command = words.empty() ? "" : words[0];
  const auto arity = [&](std::size_t n) {
    if (words.size() != n + 1)
      throw UsageError{command + " takes " + std::to_string(n) + " argument" + (n == 1 ? "" : "s")};
  };
  if (command == "status") {
    arity(0);
    return Status(options, out);
  }
  if (command == "calibrate") {
    arity(4);
    return Calibrate(options, err);
  }
  if (command == "set-path") {
    arity(1);
    return SetPath(options, out, err);
  }
  if (command == "moons") {
    arity(0);
    return Moons(options, out);
  }
  if (command == "watch") {
    arity(0);
    return Watch(out, err, terminal);
  }
  throw UsageError{command.empty() ? "a command is needed" : "unknown command " + command};
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool terminal) {
  try {
    for (const std::string& arg : args) {
      if (arg == "--help") {
        out << kUsage;
        return kExitOk;
      }
      if (arg == "--version") {
        out << kVersion << "\n";
        return kExitOk;
      }
    }
    const Options options = Parse(args);
    if (options.json && (options.words.empty() || options.words[0] != "status"))
      throw UsageError{"--json goes with status"};
    if ((options.ics || options.count) && (options.words.empty() || options.words[0] != "moons"))
      throw UsageError{"--count and --ics go with moons"};

    if (options.dataDir) {
      std::error_code error;
      if (!std::filesystem::is_directory(std::filesystem::path(std::u8string(
                                             options.dataDir->begin(), options.dataDir->end())),
                                         error)) {
        err << "tarvex-cli: no folder " << *options.dataDir << "\n";
        return kExitIo;
      }
      SetDataFolder(*options.dataDir);
    } else {
      ChooseDataFolder(PerUserDataFolder());
    }

    // `--at` fixes the present for this command line only.
    struct ClockScope {
      const Clock& previous = CurrentClock();
      std::optional<FixedClock> fixed;
      ~ClockScope() { SetClock(&previous); }
    } scope;
    if (options.at) {
      const auto moment = ParseMoment(*options.at);
      if (!moment) throw UsageError{"--at needs a local moment \"MM/DD/YYYY hh:mm:ss\""};
      scope.fixed.emplace(scope.previous,
                          MomentOfLocal(scope.previous, *moment, scope.previous.Now()));
      SetClock(&*scope.fixed);
    }
    return Run(options, out, err, terminal);
  } catch (const UsageError& error) {
    err << "tarvex-cli: " << error.message << "\n\n" << kUsage;
    return kExitUsage;
  }
}

}  // namespace tarvex
