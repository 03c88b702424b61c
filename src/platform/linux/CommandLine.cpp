#include "platform/CommandLine.h"

namespace platform {

bool HasConsole() { return true; }

void EndProgram(int) {}

}  // namespace platform
