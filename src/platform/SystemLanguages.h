// The languages the player's system asks for. Each system has its own implementation (linux/,
// windows/, web/).
#pragma once

#include <string>
#include <vector>

namespace platform {

// The languages the player's system asks for, the most wanted first, as the system names them
// ("de_AT.UTF-8", "en-US", "sk"): on Linux the locale's, in GNU gettext's order (the list of
// LANGUAGE, unless the locale is C, then the first of LC_ALL, LC_MESSAGES and LANG that is set);
// on Windows the user's interface languages; in a web page the browser's. Empty where the
// system asks for none (the C locale).
std::vector<std::string> SystemLanguages();

}  // namespace platform
