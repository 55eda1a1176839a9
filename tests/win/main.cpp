// The Windows tests' entry point. Started as "--hold <path> <event>", the
// binary is the other process of the locking tests instead: it opens the file
// exclusively, signals the event and waits to be killed.
#include <gtest/gtest.h>

#include <cstring>

#include "hold_file.h"

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--hold") == 0) return brennick::testing::HoldFile(argv[2], argv[3]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
