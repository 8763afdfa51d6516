#include <gtest/gtest.h>

#include <string>

#include "platform/system/WindowMessages.h"

TEST(WindowMessages, SameNameInAnyCaseGetsTheSameNumberInRange) {
  const UINT expand = RegisterWindowMessageA("DCEXPANDBUTTONDROPDOWN");
  const UINT picker = RegisterWindowMessageA("DCDATEPICKERDESTROYCALENDAR");
  const UINT combo = RegisterWindowMessageA("CLCOMBODROPDOWNMESSAGE");
  for (const UINT id : {expand, picker, combo}) {
    EXPECT_GE(id, 0xC000u);
    EXPECT_LE(id, 0xFFFFu);
  }
  EXPECT_NE(expand, picker);
  EXPECT_NE(picker, combo);
  EXPECT_NE(expand, combo);
  EXPECT_EQ(RegisterWindowMessageA("dcExpandButtonDropDown"), expand);
  EXPECT_EQ(RegisterWindowMessageA("DCEXPANDBUTTONDROPDOWN"), expand);
}

TEST(WindowMessages, RefusedNamesGiveZero) {
  EXPECT_EQ(RegisterWindowMessageA(nullptr), 0u);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
  EXPECT_EQ(RegisterWindowMessageA(std::string(256, 'M').c_str()), 0u);
  EXPECT_GE(RegisterWindowMessageA(std::string(255, 'M').c_str()), 0xC000u);
}
