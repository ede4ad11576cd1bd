#include <iostream>

#ifdef _WIN32
#include <io.h>
#define TARVEX_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define TARVEX_ISATTY(fd) isatty(fd)
#endif

#include "cli/cli.h"
#include "platform/startup.h"

int main(int argc, char** argv) {
  const auto args = tarvex::StartProcess(argc, argv);
  return tarvex::RunCli(args, std::cout, std::cerr, TARVEX_ISATTY(1) != 0);
}
