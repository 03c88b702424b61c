// The unit tests run as the program does: on the headless platform, set for the whole run, with
// the font table created first.
#include <gtest/gtest.h>

#include "gfx/Text.h"
#include "platform/headless/HeadlessPlatform.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  platform::THeadlessPlatform headless;
  const platform::TCurrentPlatform current(headless);
  CreateFonts();
  return RUN_ALL_TESTS();
}
