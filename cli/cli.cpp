#include "cli/cli.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "cli/watch.h"
#include "cli/writers.h"
#include "engine/clock.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "engine/moons.h"
#include "engine/settings.h"
#include "engine/utf8.h"
#include "platform/autostart.h"
#include "platform/startup.h"
#include "tarvex_version.h"

namespace tarvex {
namespace {

// A data file that is present but cannot be read (a folder in its place, no permission): the
// command stops before it prints or writes anything, and RunCli says why, exit 1. A missing file
// reads as its defaults and is no failure.
struct UnreadableFile {
  Result failure;
};

// The value of `reading`; throws UnreadableFile when the file could not be read.
template <class T>
T Checked(Reading<T> reading) {
  if (!reading.result) throw UnreadableFile{std::move(reading.result)};
  return std::move(reading.value);
}

// The settings from TARVEX.INI; a value that cannot be read is named on standard error, a file
// that cannot be read stops the command.
SettingsReading StoredReading(std::ostream& err) {
  SettingsReading reading = Checked(ReadSettings());
  for (const UnreadableSetting& setting : reading.unreadable) {
    err << "tarvex-cli: " << UnreadableSettingMessage(setting) << "\n";
  }
  return reading;
}

AlarmSettings StoredSettings(std::ostream& err) {
  return StoredReading(err).settings;
}

// Whether times of day are written on the 24-hour clock ([Display] Clock=24). A file that cannot
// be read gives the 12-hour clock, says so on `err` and sets `unreadable`; a value that cannot be
// read is the alarms' business.
bool Hours24(std::ostream& err, bool& unreadable) {
  const Reading<SettingsReading> reading = ReadSettings();
  if (reading.result) return reading.value.display.Clock24;
  std::ignore = TwelveHourFallback(err, reading.result);
  unreadable = true;
  return false;
}

// --- The commands: each adds itself, with its options and arguments, and what it does ----------

void AddStatus(CommandLine& cli) {
  auto json = std::make_shared<bool>(false);
  auto waybar = std::make_shared<bool>(false);
  CLI::App& status =
      cli.Add("status", "the game time and date and the next moons", [=](const Output& io) {
        if (*json && *waybar) throw UsageError{"--json and --waybar go one at a time"};
        const CalibrationRecord record = GetZRDTime(Checked(ReadCalibration()));
        if (*json) {
          io.out << StatusJson(record, Checked(ReadGamePath()));
          return kExitOk;
        }
        // Shown all the same when TARVEX.INI cannot be read, on the 12-hour clock.
        bool unreadable = false;
        const bool hours24 = Hours24(io.err, unreadable);
        io.out << (*waybar ? StatusWaybar(record, hours24) : StatusText(record, hours24));
        return unreadable ? kExitIo : kExitOk;
      });
  status.add_flag("--json", *json, "print them as one JSON object");
  status.add_flag("--waybar", *waybar, "print them as one line of JSON for a status bar");
}

void AddCalibrate(CommandLine& cli) {
  auto texts = std::make_shared<std::array<std::string, 4>>();
  CLI::App& calibrate =
      cli.Add("calibrate", "stores a new calibration pair", [texts](const Output& io) {
        const auto& [realTime, realDate, gameTime, gameDate] = *texts;
        if (const std::string_view problem =
                CalibrationProblem(realTime, realDate, gameTime, gameDate);
            !problem.empty()) {
          io.err << problem << "\n";
          return kExitUsage;
        }
        CalibrationRecord record;
        record.RealTime = realTime;
        record.RealDate = realDate;
        record.ZRDTime = gameTime;
        record.ZRDDate = gameDate;
        if (const Result saved = SaveCalibration(record); !saved) return FileFailure(io.err, saved);
        return kExitOk;
      });
  calibrate.add_option("REALTIME", (*texts)[0], "the real time, \"hh:mm:ss\"");
  calibrate.add_option("REALDATE", (*texts)[1], "the real date, \"MM/DD/YYYY\"");
  calibrate.add_option("GAMETIME", (*texts)[2], "the game time at that moment, \"hh:mm:ss\"");
  calibrate.add_option("GAMEDATE", (*texts)[3], "the game date at that moment, \"MM/DD/YYYY\"");
}

void AddSetPath(CommandLine& cli) {
  auto given = std::make_shared<std::string>();
  CLI::App& setPath = cli.Add(
      "set-path", "sets the game folder to FILE's folder, or to FOLDER", [given](const Output& io) {
        std::error_code error;
        // From UTF-8: a plain string would be read in the Windows code page, garbling the name.
        const std::filesystem::path path =
            std::filesystem::absolute(PathFromUtf8(*given), error).lexically_normal();
        if (error || !path.has_relative_path()) {
          io.err << "tarvex-cli: set-path needs a file in the game folder\n";
          return kExitUsage;
        }
        // The game folder is what ends in the last separator: a folder given gets one of its own.
        std::string stored = Utf8FromPath(path);
        if (std::filesystem::is_directory(path, error) && !IsPathSeparator(stored.back()))
          stored += kPathSeparator;
        if (const Result saved = SaveGamePath(stored); !saved) return FileFailure(io.err, saved);
        const std::string folder = Checked(ReadGamePath());
        // Still stored: the game may be on a drive that is not mounted now.
        if (!std::filesystem::is_directory(PathFromUtf8(folder), error))
          io.err << "tarvex-cli: warning: the folder " << folder << " does not exist\n";
        io.out << folder << "\n";
        return kExitOk;
      });
  setPath.add_option("FILE|FOLDER", *given, "a file in the game folder, or the folder");
}

// Adds "--count N", a whole number from 1 to 10000, to `command`.
void AddCount(CommandLine& cli, CLI::App& command, std::shared_ptr<int> count,
              const std::string& about) {
  command
      .add_option_function<std::string>(
          "--count",
          [&cli, count](const std::string& text) {
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), *count);
            if (error != std::errc() || end != text.data() + text.size() || *count < 1 ||
                *count > 10000)
              cli.Mistake("--count needs a whole number from 1 to 10000");
          },
          about)
      ->type_name("N")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void AddMoons(CommandLine& cli) {
  auto count = std::make_shared<int>(5);
  auto ics = std::make_shared<bool>(false);
  auto json = std::make_shared<bool>(false);
  auto noAlarms = std::make_shared<bool>(false);
  CLI::App& moons = cli.Add(
      "moons", "the next N good and bad moons", [count, ics, json, noAlarms](const Output& io) {
        if (*ics && *json) throw UsageError{"--ics and --json go one at a time"};
        if (*noAlarms && !*ics) throw UsageError{"--no-alarms goes with --ics"};
        const std::int64_t now = CurrentClock().Now();
        const std::vector<Moon> coming =
            NextMoons(GetZRDTime(Checked(ReadCalibration()), now), now, *count);
        if (*ics) {
          // The reminders as the alarm settings stand.
          const std::optional<AlarmSettings> alarms =
              *noAlarms ? std::nullopt : std::optional(StoredSettings(io.err));
          io.out << MoonsCalendar(coming, now, alarms ? &*alarms : nullptr);
        } else {
          io.out << (*json ? MoonsJson(coming) : MoonsText(coming));
        }
        return kExitOk;
      });
  AddCount(cli, moons, count, "how many of each kind, 1 to 10000 (5 unless given)");
  moons.add_flag("--ics", *ics, "print them as an iCalendar file, one event a moon");
  moons.add_flag("--json", *json, "print them as a JSON array, one object a moon");
  moons.add_flag("--no-alarms", *noAlarms,
                 "with --ics: no reminders (by default each event has those of the moon alarms)");
}

constexpr std::string_view kNoAlarmsYet =
    "no alarms: the date and time are not set yet (tarvex-cli calibrate sets them)";

void AddAlarms(CommandLine& cli) {
  auto count = std::make_shared<int>(6);
  auto json = std::make_shared<bool>(false);
  CLI::App& alarms = cli.Add("alarms", "the next N moon alarms to fire, under the stored settings",
                             [count, json](const Output& io) {
                               const SettingsReading reading = StoredReading(io.err);
                               const std::int64_t now = CurrentClock().Now();
                               bool stored = false;
                               const CalibrationRecord pair = Checked(ReadCalibration(&stored));
                               // The built-in pair's moons are nobody's: none fires until a
                               // pair is stored.
                               std::vector<Alert> alerts;
                               if (stored) {
                                 alerts =
                                     UpcomingAlerts(GetZRDTime(pair, now), now, reading.settings,
                                                    *count, reading.display.Clock24);
                               } else {
                                 io.err << "tarvex-cli: " << kNoAlarmsYet << "\n";
                               }
                               io.out << (*json ? AlertsJson(alerts) : AlertsText(alerts));
                               return kExitOk;
                             });
  AddCount(cli, alarms, count, "how many, 1 to 10000 (6 unless given)");
  alarms.add_flag("--json", *json, "print them as a JSON array, one object an alarm");

  auto pairs = std::make_shared<std::vector<std::string>>();
  CLI::App& set =
      cli.Add(alarms, "set", "changes the alarm settings in TARVEX.INI", [pairs](const Output& io) {
        const AlarmSettings stored = StoredSettings(io.err);
        SettingsEdit edit = ApplySettingPairs(stored, *pairs);
        if (!edit.error.empty()) {
          io.err << "tarvex-cli: " << edit.error << "\n";
          return kExitUsage;
        }
        // A sound given by a relative path is the file in this folder, as set-path takes it, and
        // "~/" is the home folder (the shell leaves it in "good-sound=~/bell.wav"): the tray
        // program plays it from wherever it runs.
        const char* home = std::getenv("HOME");
        for (std::string AlarmSettings::*sound :
             {&AlarmSettings::GoodSound, &AlarmSettings::BadSound}) {
          std::string& path = edit.settings.*sound;
          if (path.empty() || path == stored.*sound) continue;
          if (path.starts_with("~/") && home != nullptr && *home != '\0')
            path = std::string(home) + path.substr(1);
          std::error_code error;
          const std::filesystem::path absolute =
              std::filesystem::absolute(PathFromUtf8(path), error);
          if (!error) path = Utf8FromPath(absolute.lexically_normal());
        }
        if (const Result saved = SaveSettings(edit.settings); !saved)
          return FileFailure(io.err, saved);
        // Stored all the same: the sound may be on a drive that is not mounted now.
        for (const std::string* sound : {&edit.settings.GoodSound, &edit.settings.BadSound}) {
          std::error_code error;
          if (!sound->empty() && !std::filesystem::is_regular_file(PathFromUtf8(*sound), error))
            io.err << "tarvex-cli: warning: the sound " << *sound << " does not exist\n";
        }
        return kExitOk;
      });
  set.add_option("KEY=VALUE", *pairs,
                 "good, bad, at-start, at-end or sound = on or off; warning or repeat = minutes, 0 "
                 "to 1440; quiet = HH:MM-HH:MM or off; good-sound or bad-sound = a .wav file, or "
                 "empty");
}

// Whether the tray program beside this one starts at log-in, and turning that on or off.
void AddAutostart(CommandLine& cli) {
  CLI::App& autostart = cli.Add(
      "autostart", "prints on when " + std::string(kProductName) + " starts at log-in, else off",
      [](const Output& io) {
        io.out << (LogInEntryStarts(TrayProgramBeside()) ? "on" : "off") << "\n";
        return kExitOk;
      });
  const auto done = [](const Output& io, const Result& result) {
    if (result) return kExitOk;
    io.err << "tarvex-cli: " << result.why() << "\n";
    return kExitIo;
  };
  cli.Add(autostart, "on",
          "starts " + std::string(kProductName) + ", the tray program beside tarvex-cli, at log-in",
          [done](const Output& io) {
            const std::string program = TrayProgramBeside();
            std::error_code error;
            if (!std::filesystem::is_regular_file(PathFromUtf8(program), error))
              return done(io, Result::Failure("there is no tray program " + program +
                                              " to start at log-in"));
            return done(io, WriteLogInEntry(program));
          });
  cli.Add(autostart, "off", "no longer starts " + std::string(kProductName) + " at log-in",
          [done](const Output& io) { return done(io, DeleteLogInEntry()); });
}

// The clock of the times of day that Tarvex writes, and setting it, as `autostart` does.
void AddClock(CommandLine& cli) {
  CLI::App& clock =
      cli.Add("clock",
              "prints 12 or 24: the clock of the times of day that " + std::string(kProductName) +
                  " writes ([Display] Clock of TARVEX.INI)",
              [](const Output& io) {
                io.out << (Checked(ReadSettings()).display.Clock24 ? "24" : "12") << "\n";
                return kExitOk;
              });
  for (const bool hours24 : {false, true}) {
    cli.Add(clock, hours24 ? "24" : "12",
            hours24 ? "times of day as 17:33 and 00:05" : "times of day as 5:33 PM and 12:05 AM",
            [hours24](const Output& io) {
              DisplaySettings display = Checked(ReadSettings()).display;
              display.Clock24 = hours24;
              if (const Result saved = SaveDisplay(display); !saved)
                return FileFailure(io.err, saved);
              return kExitOk;
            });
  }
}

void AddWatch(CommandLine& cli) {
  auto waybar = std::make_shared<bool>(false);
  CLI::App& watch = cli.Add(
      "watch", "the live view; Ctrl-C saves the pair and ends", [&cli, waybar](const Output& io) {
        const bool realPresent = !cli.at;
        if (*waybar) return Watch(io.out, io.err, WatchView::Waybar, realPresent);
        return Watch(io.out, io.err, io.terminal ? WatchView::Terminal : WatchView::Lines,
                     realPresent);
      });
  watch.add_flag("--waybar", *waybar,
                 "print each change as status --waybar does; the pair is not saved");
}

// --- The common options ------------------------------------------------------------------------

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

// Reads the command line and runs its command, or says what is wrong with it.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   bool terminal) {
  CommandLine cli;
  AddStatus(cli);
  AddCalibrate(cli);
  AddSetPath(cli);
  AddMoons(cli);
  AddAlarms(cli);
  AddWatch(cli);
  AddAutostart(cli);
  AddClock(cli);
  try {
    cli.Parse(args);
    if (cli.dataDir) {
      std::error_code error;
      if (!std::filesystem::is_directory(PathFromUtf8(*cli.dataDir), error)) {
        err << "tarvex-cli: no folder " << *cli.dataDir << "\n";
        return kExitIo;
      }
      SetDataFolder(*cli.dataDir);
    } else {
      ChooseDataFolder(PerUserDataFolder(), InstalledProgram());
    }

    // `--at` fixes the present for this command line only.
    struct ClockScope {
      const Clock& previous = CurrentClock();
      std::optional<FixedClock> fixed;
      ~ClockScope() { SetClock(&previous); }
    } scope;
    if (cli.at) {
      const auto moment = ParseMoment(*cli.at);
      if (!moment) throw UsageError{"--at needs a local moment \"MM/DD/YYYY hh:mm:ss\""};
      scope.fixed.emplace(scope.previous,
                          MomentOfLocal(scope.previous, *moment, scope.previous.Now()));
      SetClock(&*scope.fixed);
    }
    return cli.Command()(Output{out, err, terminal});
  } catch (const CLI::Success& done) {  // help and version
    return cli.Exit(done, out, err);
  } catch (const CLI::ParseError& error) {
    err << "tarvex-cli: " << error.what() << "\n\n" << cli.Usage();
  } catch (const UsageError& error) {
    err << "tarvex-cli: " << error.message << "\n\n" << cli.Usage();
  } catch (const UnreadableFile& file) {
    return FileFailure(err, file.failure);
  }
  return kExitUsage;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool terminal) {
  const int code = RunCommandLine(args, out, err, terminal);
  // Whatever a command, its help or the version printed must have reached the output: a full disk
  // or a closed pipe is a failure, not a quiet success. A command that failed keeps its own code.
  out.flush();
  if (out) return code;
  err << "tarvex-cli: the output could not be written\n";
  return code == kExitOk ? kExitIo : code;
}

ExitCode FileFailure(std::ostream& err, const Result& failure) {
  err << "tarvex-cli: " << failure.why() << "\n";
  return kExitIo;
}

ExitCode TwelveHourFallback(std::ostream& err, const Result& failure) {
  err << "tarvex-cli: " << failure.why() << "; the 12-hour clock is used\n";
  return kExitIo;
}

}  // namespace tarvex
