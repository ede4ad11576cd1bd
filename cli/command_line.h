// The grammar of tarvex-cli's command line, on CLI11: the options common to every command, and
// the commands, each with its own options, arguments and help. Mistakes are reported in the
// program's own words ("unknown option --bogus", "calibrate takes 4 arguments").
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarvex {

// A mistake in the command line: reported with the usage text, exit code 2.
struct UsageError {
  std::string message;
};

// Where a command writes.
struct Output {
  std::ostream& out;
  std::ostream& err;
  bool terminal;  // standard output is a terminal
};

// What a command does, once the data folder and the present moment are in place.
using Action = std::function<int(const Output&)>;

// The command line: --help, --version, --data-dir DIR, --at MOMENT, and one command. Every option
// may stand before or after the command's name.
class CommandLine {
 public:
  CommandLine();

  // Adds command `name`, which runs `action`. Its options and positional arguments go on the App
  // returned; the arguments must all be given.
  CLI::App& Add(const std::string& name, const std::string& about, Action action);
  // Adds command `name` within command `parent`: "alarms set". A positional argument that takes
  // several values may be left out; the action checks it.
  CLI::App& Add(CLI::App& parent, const std::string& name, const std::string& about, Action action);
  // Notes a mistake in an option's value while the line is read; the first one is reported.
  void Mistake(const std::string& message);

  // Reads `args` (without the program's name), once every command is added. Throws CLI::Success
  // for help and version, UsageError for an option without its value, an unknown option or a
  // noted mistake.
  void Parse(const std::vector<std::string>& args);
  // The command named (the innermost one), once it is checked that there is one and that it has
  // its arguments, no more; else throws UsageError. After Parse.
  const Action& Command() const;
  // The help of the command named, or of the program.
  std::string Usage() const { return app_.help(); }
  // Prints CLI11's answer to help and version; returns the exit code.
  int Exit(const CLI::Error& error, std::ostream& out, std::ostream& err) const {
    return app_.exit(error, out, err);
  }

  std::optional<std::string> dataDir;  // --data-dir
  std::optional<std::string> at;       // --at, as given

 private:
  // Lets the commands' options also stand before the command's name (see Parse).
  void AcceptCommandOptionsFirst();
  void HandToCommand(const std::string& name, const std::string& mistake);

  CLI::App app_{"The Kestrune calendar of the data folder's calibration pair.", "tarvex-cli"};
  std::map<const CLI::App*, Action> actions_;
  std::optional<std::string> mistake_;
};

}  // namespace tarvex
