#include "tests/harness/Gtest.h"
#include "tests/harness/TestEnvironment.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitTestEnvironment();
  return RUN_ALL_TESTS();
}
