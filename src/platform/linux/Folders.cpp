#include "platform/Folders.h"

#include <string>

namespace platform {

void EnterGameFolder() {}

bool FetchInstalledFile(const std::string&) { return false; }

}  // namespace platform
