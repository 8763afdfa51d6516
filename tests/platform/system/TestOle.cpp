#include <gtest/gtest.h>

#include "platform/system/Ole.h"

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
