// The window's event handlers: they run only inside the process-messages call between two
// frames, and turn keys and mouse events into calls of the screens and changes of their flags.
#include "app/Main.h"

namespace {
constexpr int kKeyEscape = 27;
constexpr int kKeyDigit1 = 49;
}  // namespace

void TForm1::FormKeyDown(int key) {
  if (key == kKeyEscape && IntroPending && !IntroNoSkip) IntroPending = false;
  if (key == kKeyDigit1) IntroPending = false;
}

void TForm1::FormMouseMove(int x, int y) {
  MouseX = x;
  MouseY = y;
}

void TForm1::FormMouseDown(platform::MouseButton, int, int) {
  if (!DisplayReady) return;
}

void TForm1::FormMouseUp(platform::MouseButton, int, int) {
  if (!DisplayReady) return;
}
