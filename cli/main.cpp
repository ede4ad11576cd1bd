#include <iostream>

#include "cli/cli.h"
#include "engine/log.h"
#include "platform/startup.h"

int main(int argc, char** argv) {
  // Each failure is told on standard error in the command line's own words, not again as the
  // log's line.
  tarvex::SetWarnOnStandardError(false);
  const auto args = tarvex::StartProcess(argc, argv);
  return tarvex::RunCli(args, std::cout, std::cerr, tarvex::StandardOutputIsTerminal());
}
