#include <gtest/gtest.h>

#include "platform/system/Libraries.h"
#include "platform/system/Ole.h"

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

TEST(Ole, InitialisationsArePairedByCount) {
  const int before = OleInitializeCount();
  ASSERT_EQ(before, 0);
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
  EXPECT_EQ(OleInitializeCount(), 2);
  OleUninitialize();
  EXPECT_EQ(OleInitializeCount(), 1);
  OleUninitialize();
  OleUninitialize();  // one too many changes nothing
  EXPECT_EQ(OleInitializeCount(), 0);
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  OleUninitialize();
}
