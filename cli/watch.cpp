#include "cli/watch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "cli/writers.h"
#include "engine/alarms.h"
#include "engine/clock.h"
#include "engine/live_data.h"
#include "engine/modZRD.h"

namespace tarvex {
namespace {

std::atomic<bool> g_stop{false};

extern "C" void OnStopSignal(int) {
  g_stop = true;
}

std::string PhaseName(const CalibrationRecord& record) {
  const std::string_view name = MoonPhaseName(static_cast<double>(GameDayOfMonth(record)));
  return name.empty() ? "no moon phase (odd game day)" : std::string(name);
}

void Show(const std::string& frame, bool redraw, bool terminal, std::ostream& out) {
  if (terminal) {
    if (redraw) out << "\x1b[4F";  // back to the first of the four lines
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
}

// The alarms' lines. On a terminal they take the place of the four lines shown, which are then
// drawn anew below them.
void ShowAlarms(const std::vector<Alert>& alerts, bool shown, bool terminal, bool sound,
                std::ostream& out) {
  if (terminal && shown) out << "\x1b[4F";
  for (const Alert& alert : alerts) {
    out << (terminal ? "\x1b[2K" : "") << "ALARM " << alert.text << "\n";
  }
  if (terminal && sound) out << '\a';
  out.flush();
}

}  // namespace

int Watch(std::ostream& out, std::ostream& err, WatchView view, bool realPresent,
          const NextTick& nextTick) {
  if (!nextTick) {
    g_stop = false;
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    auto due = std::chrono::steady_clock::now();
    const int code = Watch(out, err, view, realPresent, [&due] {
      due += std::chrono::milliseconds(500);
      std::this_thread::sleep_until(due);
      return !g_stop;
    });
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return code;
  }
  const bool terminal = view == WatchView::Terminal, bar = view == WatchView::Waybar;
  LiveData live;
  // A TARVEX.INI that cannot be read stops nothing: its defaults stand in (the 12-hour clock),
  // and the run ends in failure. Any other file that cannot be read stops the run.
  const std::vector<Result> unreadable = live.Load();
  const bool settingsUnreadable = live.SettingsUnreadable();
  if (unreadable.size() > (settingsUnreadable ? 1U : 0U)) {
    for (const Result& failure : unreadable) std::ignore = FileFailure(err, failure);
    return kExitIo;
  }
  if (settingsUnreadable) std::ignore = TwelveHourFallback(err, unreadable.back());
  if (!bar) {
    for (const UnreadableSetting& setting : live.UnreadableSettings())
      err << "tarvex-cli: " << UnreadableSettingMessage(setting) << "\n";
  }
  const bool keep = realPresent && !bar;
  MoonAlarms alarms;
  std::string shown;
  do {
    const std::int64_t now = CurrentClock().Now();  // one reading for the tick
    live.Refresh();
    Calibration = live.Rebase(now, keep);
    if (bar) {
      if (std::string line = StatusWaybar(Calibration, live.Display().Clock24); line != shown) {
        out << line << std::flush;
        shown = std::move(line);
      }
      continue;
    }
    // No alarm fires on the built-in pair: until a pair is stored, the date and time are not set.
    std::vector<Alert> alerts;
    const bool hours24 = live.Display().Clock24;
    if (live.PairStored()) alerts = alarms.Check(now, Calibration, live.Settings(), hours24);
    if (!alerts.empty()) {
      // Alerts of the quiet hours ring no bell.
      const bool bell =
          live.Settings().Sound && std::any_of(alerts.begin(), alerts.end(),
                                               [](const Alert& alert) { return !alert.quiet; });
      ShowAlarms(alerts, !shown.empty(), terminal, bell, out);
      if (terminal) shown.clear();  // drawn anew below the alarms
    }
    const std::string frame = StatusText(Calibration, hours24) + PhaseName(Calibration) + "\n";
    if (frame != shown) {
      Show(frame, !shown.empty(), terminal, out);
      shown = frame;
    }
  } while (nextTick());
  const ExitCode code = settingsUnreadable ? kExitIo : kExitOk;
  if (!keep) return code;
  if (const Result saved = live.SavePair(CurrentClock().Now()); !saved)
    return FileFailure(err, saved);
  return code;
}

}  // namespace tarvex
