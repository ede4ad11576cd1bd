#include "engine/log.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/clock.h"
#include "engine/modGeneral.h"
#include "engine/utf8.h"

namespace tarvex {
namespace {

DebugOutput g_debugOutput = nullptr;
bool g_standardError = true;

std::string Stamp() {
  const Clock& clock = SystemClock();  // the real time, whatever moment a command pretends
  const CivilTime now = LocalTime(clock, clock.Now());
  std::string year = std::to_string(now.year);
  if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
  return year + "-" + TwoDigits(now.month) + "-" + TwoDigits(now.day) + " " +
         TimeText(now.hour, now.minute, now.second);
}

// Appends `line` to the log, first dropping the older half of its lines when it would grow past
// its cap. The log is the last resort of failures: its own are not reported.
void AppendToLog(const std::string& line) {
  const std::filesystem::path file = PathFromUtf8(DataFolder() + std::string(kLogFile));
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (!error && size + line.size() > kMaxLogBytes) {
    std::string kept;
    {
      std::ifstream in(file, std::ios::binary);
      kept.assign(kMaxLogBytes, '\0');
      in.read(kept.data(), static_cast<std::streamsize>(kept.size()));
      kept.resize(static_cast<std::size_t>(in.gcount()));
    }
    const std::size_t half = kept.find('\n', kept.size() / 2);
    kept.erase(0, half == std::string::npos ? kept.size() : half + 1);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << kept << line;
    return;
  }
  std::ofstream(file, std::ios::binary | std::ios::app) << line;
}

}  // namespace

void Warn(std::string_view failure) {
  const std::string line = Stamp() + " " + std::string(failure) + "\n";
  if (g_standardError) {
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
  }
  AppendToLog(line);
  if (g_debugOutput != nullptr) g_debugOutput(line);
}

void SetDebugOutput(DebugOutput output) {
  g_debugOutput = output;
}

void SetWarnOnStandardError(bool on) {
  g_standardError = on;
}

}  // namespace tarvex
