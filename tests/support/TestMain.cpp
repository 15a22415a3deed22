// Test programs run on a single-threaded apartment, as the shell's window threads do.
#include <gtest/gtest.h>

#include <ole2.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (FAILED(::OleInitialize(nullptr))) return 2;
  int result = RUN_ALL_TESTS();
  ::OleUninitialize();
  return result;
}
