#include "cli/command_line.h"

#include <algorithm>
#include <memory>
#include <sstream>
#include <string_view>

#include "tarvex_version.h"

namespace tarvex {
namespace {

// CLI11's help, with each command's options and arguments in the list of commands.
class HelpFormat final : public CLI::Formatter {
 public:
  HelpFormat() {
    label("Usage", "usage");
    label("SUBCOMMAND", "COMMAND");
    label("Positionals", "Arguments");
    column_width(35);
  }
  // "moons [--count N] [--ics]", "set-path FILE", then the commands within it: "alarms set
  // KEY=VALUE...".
  std::string make_subcommand(const CLI::App* command) const override {
    return CommandLines(command, "");
  }
  std::string CommandLines(const CLI::App* command, const std::string& parents) const {
    std::string usage = parents + command->get_name();
    for (const CLI::Option* option : command->get_options()) {
      if (option->get_positional()) {
        usage += " " + make_option_usage(option);
      } else if (option != command->get_help_ptr()) {
        const bool value = option->get_items_expected_max() > 0;
        usage += " [" + option->get_name() + (value ? " " + option->get_type_name() : "") + "]";
      }
    }
    std::ostringstream out;
    CLI::detail::format_help(out, usage, command->get_description(), get_column_width());
    for (const CLI::App* inner : command->get_subcommands({}))
      out << CommandLines(inner, usage.substr(0, usage.find(' ')) + " ");
    return out.str();
  }
  // A command's arguments are all needed (CommandLine::Command checks them), and all are texts.
  std::string make_option_usage(const CLI::Option* option) const override {
    return option->get_name() + (option->get_items_expected_max() > 1 ? "..." : "");
  }
  std::string make_option_opts(const CLI::Option* option) const override {
    return option->get_positional() ? "" : CLI::Formatter::make_option_opts(option);
  }
  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override {
    std::string text = CLI::Formatter::make_help(app, std::move(name), mode);
    // The hidden options' group leaves one blank line too many.
    for (std::size_t at; (at = text.find("\n\n\n")) != std::string::npos;) text.erase(at, 1);
    return text;
  }
};

}  // namespace

CommandLine::CommandLine() {
  app_.formatter(std::make_shared<HelpFormat>());
  app_.footer(
      "--data-dir and --at may stand before or after the command; \"tarvex-cli COMMAND --help\"\n"
      "tells a command's options and arguments. Exit codes: 0 done, 1 a file could not be read\n"
      "or written, 2 bad arguments or texts.");
  app_.set_help_flag("--help", "print this help and exit");
  app_.set_version_flag("--version", kVersion, "print the version and exit");
  app_.add_option("--data-dir", dataDir,
                  "use DIR for the data files: ZRDTIMES.DAT, ZRDDIR.DAT, TARVEX.INI")
      ->type_name("DIR")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app_.add_option("--at", at, "take the local moment \"MM/DD/YYYY hh:mm:ss\" as the present")
      ->type_name("MOMENT")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app_.require_subcommand(0, 1);  // one command; after it, a command's name is an argument
  app_.fallthrough();             // the common options after the command's name too
  app_.allow_extras();            // Parse and Command report unknown options and words
}

CLI::App& CommandLine::Add(const std::string& name, const std::string& about, Action action) {
  CLI::App* command = app_.add_subcommand(name, about);
  command->group("Commands");
  actions_[command] = std::move(action);
  return *command;
}

CLI::App& CommandLine::Add(CLI::App& parent, const std::string& name, const std::string& about,
                           Action action) {
  CLI::App* command = parent.add_subcommand(name, about);
  command->group("Commands");
  actions_[command] = std::move(action);
  return *command;
}

void CommandLine::Mistake(const std::string& message) {
  if (!mistake_) mistake_ = message;
}

// An option of a command given before the command's name is read by a hidden option of the same
// name at the top, whose values go to the command named, ahead of the command's own. With a
// command that has no such option it is a mistake, named with the other options that go with the
// same commands: "--ics goes with moons", "--json goes with status or moons or alarms".
void CommandLine::AcceptCommandOptionsFirst() {
  struct Named {
    std::string name;
    bool flag;
    std::string commands;  // the commands that have it: "status", "status or moons"
  };
  std::vector<Named> options;  // in the order the commands add them
  for (const CLI::App* command : app_.get_subcommands({})) {
    for (const CLI::Option* option : command->get_options()) {
      const std::string name = option->get_name();
      if (option->get_positional() || option == command->get_help_ptr() ||
          std::any_of(options.begin(), options.end(),
                      [&](const Named& o) { return o.name == name; }))
        continue;
      std::string commands;
      for (const CLI::App* other : app_.get_subcommands({})) {
        if (other->get_option_no_throw(name) != nullptr)
          commands += (commands.empty() ? "" : " or ") + other->get_name();
      }
      options.push_back({name, option->get_items_expected_max() == 0, commands});
    }
  }
  for (const Named& option : options) {
    std::string together;
    int count = 0;
    for (const Named& other : options) {
      if (other.commands != option.commands) continue;
      together += (count++ == 0 ? "" : " and ") + other.name;
    }
    const std::string mistake =
        together + (count == 1 ? " goes with " : " go with ") + option.commands;
    const auto hand = [this, name = option.name, mistake] { HandToCommand(name, mistake); };
    CLI::Option* early = option.flag ? app_.add_flag_callback(option.name, hand)
                                     : app_.add_option(option.name, [hand](const CLI::results_t&) {
                                         hand();
                                         return true;
                                       });
    early->group("")->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  }
}

// Runs when CLI11 has read the whole line and runs the top's options, before the command's.
void CommandLine::HandToCommand(const std::string& name, const std::string& mistake) {
  const std::vector<CLI::App*> named = app_.get_subcommands();
  CLI::Option* option = named.empty() ? nullptr : named.front()->get_option_no_throw(name);
  if (option == nullptr) return Mistake(mistake);
  const CLI::results_t later = option->results();
  option->clear();
  for (const std::string& value : app_.get_option(name)->results()) option->add_result(value);
  for (const std::string& value : later) option->add_result(value);
}

void CommandLine::Parse(const std::vector<std::string>& args) {
  AcceptCommandOptionsFirst();
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app_.parse(reversed);
  } catch (const CLI::ArgumentMismatch& error) {
    // An option with no value after it: "--at: 1 required MOMENT missing".
    const std::string_view what = error.what();
    if (what.starts_with("--"))
      throw UsageError{std::string(what.substr(0, what.find(':'))) + " needs a value"};
    throw;
  }
  for (const std::string& word : app_.remaining(true)) {
    if (word.size() > 1 && word[0] == '-') throw UsageError{"unknown option " + word};
  }
  if (mistake_) throw UsageError{*mistake_};
}

const Action& CommandLine::Command() const {
  const std::vector<CLI::App*> named = app_.get_subcommands();
  const std::vector<std::string> extra = app_.remaining(true);
  if (named.empty()) {
    throw UsageError{extra.empty() ? "a command is needed" : "unknown command " + extra.front()};
  }
  const CLI::App* command = named.front();
  std::string name = command->get_name();
  for (std::vector<CLI::App*> inner; !(inner = command->get_subcommands()).empty();) {
    command = inner.front();
    name += " " + command->get_name();
  }
  // A command with commands of its own takes no arguments: a word after it names an unknown one.
  if (!extra.empty() && !command->get_subcommands({}).empty())
    throw UsageError{"unknown command " + name + " " + extra.front()};
  const auto arguments =
      command->get_options([](const CLI::Option* o) { return o->get_positional(); });
  if (!extra.empty() || std::any_of(arguments.begin(), arguments.end(), [](const CLI::Option* o) {
        return o->count() == 0 && o->get_items_expected_max() == 1;
      })) {
    throw UsageError{name + " takes " + std::to_string(arguments.size()) + " argument" +
                     (arguments.size() == 1 ? "" : "s")};
  }
  return actions_.at(command);
}

}  // namespace tarvex
