// What every Tarvex program does first: tell the engine its own folder and the data files' code
// page, and read its arguments as UTF-8.
#pragma once

#include <string>
#include <vector>

namespace tarvex {

// Prepares the process and returns its arguments (without the program name) as UTF-8.
std::vector<std::string> StartProcess(int argc, char** argv);

}  // namespace tarvex
