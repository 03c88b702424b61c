#include "platform/Platform.h"

#include "platform/headless/HeadlessPlatform.h"

namespace platform {

namespace {
TPlatform* current = nullptr;
}

TPlatform& Current() {
  if (!current) {
    // Nothing set a platform (a unit test, or code running before the program entry):
    // a headless platform serves, so every call has somewhere safe to go. It is never
    // destroyed, since the game object still uses it while static objects are torn down.
    static THeadlessPlatform* fallback = new THeadlessPlatform();
    current = fallback;
  }
  return *current;
}

void SetCurrent(TPlatform* platform) { current = platform; }

}  // namespace platform
