#include "platform/Pointer.h"

namespace platform {

bool PointerShown() { return true; }

}  // namespace platform
