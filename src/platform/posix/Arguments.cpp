// The program's arguments on the systems whose main is given them as the system keeps them
// (Linux, where file names are bytes and the player's are UTF-8; the browser).
#include <string>
#include <vector>

#include "platform/CommandLine.h"

namespace platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace platform
