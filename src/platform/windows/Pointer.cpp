#include "platform/Pointer.h"

namespace platform {

bool PointerShown() { return true; }

void ReadyForNextPointerEvent() {}

}  // namespace platform
