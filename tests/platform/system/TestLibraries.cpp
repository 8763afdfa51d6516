#include <gtest/gtest.h>

#include "platform/system/Libraries.h"

TEST(Libraries, MissingLibraryGivesAnEmptyHandle) {
  EXPECT_EQ(LoadLibraryA("RICHED20.DLL"), nullptr);
  EXPECT_EQ(LoadLibraryA(""), nullptr);
  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
  EXPECT_EQ(FreeLibrary(nullptr), FALSE);
}

TEST(Libraries, ExistingLibraryReallyLoads) {
  // The C library is there on every system the programs run on.
  const HMODULE module = LoadLibraryA("libc.so.6");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(FreeLibrary(module), TRUE);
}
