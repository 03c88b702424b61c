// Everything the platform asks of the operating system, gathered from the headers of its
// concerns: the clock (Clock.h), the picture (Screen.h), the pointer (Pointer.h), the command
// line (CommandLine.h), the game's folders (Folders.h) and the system's languages
// (SystemLanguages.h). The game's own files include the one header they use; this one remains
// for the page's hooks (tools/web), which are not yet moved to Folders.h.
#pragma once

#include "platform/Clock.h"
#include "platform/CommandLine.h"
#include "platform/Folders.h"
#include "platform/Pointer.h"
#include "platform/Screen.h"
#include "platform/SystemLanguages.h"
