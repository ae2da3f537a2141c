// Entry of the Windows test binaries: GoogleTest with the program's code page.
#include <gtest/gtest.h>

#include "platform/text.h"

int main(int argc, char** argv) {
  platform::TextCodePage = platform::kGbkCodePage;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
