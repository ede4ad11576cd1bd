#include <iostream>

#include "cli/cli.h"
#include "platform/startup.h"

int main(int argc, char** argv) {
  const auto args = tarvex::StartProcess(argc, argv);
  return tarvex::RunCli(args, std::cout, std::cerr, tarvex::StandardOutputIsTerminal());
}
