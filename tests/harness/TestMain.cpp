#include <cstdio>

#include "tests/harness/Gtest.h"
#include "tests/harness/TestEnvironment.h"

int main(int argc, char** argv) {
  // Line by line into the pipe: a test program that dies still shows how far it got.
  std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
  testing::InitGoogleTest(&argc, argv);
  InitTestEnvironment();
  return RUN_ALL_TESTS();
}
