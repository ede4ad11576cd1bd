#include "cli/watch.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/cli.h"
#include "cli/writers.h"
#include "engine/alarms.h"
#include "engine/clock.h"
#include "engine/modZRD.h"

namespace tarvex {
namespace {

std::atomic<bool> g_stop{false};

extern "C" void OnStopSignal(int) {
  g_stop = true;
}

std::string_view PhaseName(int icon) {
  static constexpr std::string_view kNames[] = {
      "new moon",  "waxing crescent", "first quarter", "waxing gibbous",
      "full moon", "waning gibbous",  "last quarter",  "waning crescent"};
  return icon >= 101 && icon <= 108 ? kNames[icon - 101] : "no moon phase (odd game day)";
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

int Watch(std::ostream& out, std::ostream& err, bool terminal, const AlarmSettings& settings) {
  g_stop = false;
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
  Calibration = ReadCalibration();
  MoonAlarms alarms;
  std::string shown;
  auto next = std::chrono::steady_clock::now();
  while (!g_stop) {
    const std::int64_t now = CurrentClock().Now();  // one reading for the tick
    Calibration = GetZRDTime(Calibration, now);
    const std::vector<Alert> alerts = alarms.Check(now, Calibration, settings);
    if (!alerts.empty()) {
      ShowAlarms(alerts, !shown.empty(), terminal, settings.Sound, out);
      if (terminal) shown.clear();  // drawn anew below the alarms
    }
    const std::string frame =
        StatusText(Calibration) + std::string(PhaseName(PhaseIcon(Calibration))) + "\n";
    if (frame != shown) {
      Show(frame, !shown.empty(), terminal, out);
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

}  // namespace tarvex
