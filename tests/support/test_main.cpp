// main() of the test programs that need a display.
#include <gtest/gtest.h>

#include "support/sdl_display.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!openTestDisplay()) return 1;
  return RUN_ALL_TESTS();
}
