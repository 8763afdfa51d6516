#include <gtest/gtest.h>

#include "platform/system/CommandLine.h"
#include "platform/system/Paths.h"

TEST(CommandLine, ArgumentsFromMain) {
  const char* argv[] = {"larkspan", "/data/form.xml", ""};
  SetCommandLine(3, argv);
  EXPECT_EQ(ParamCount(), 2);
  EXPECT_EQ(ParamStr(0), ProgramFileName());
  EXPECT_EQ(ParamStr(1), "/data/form.xml");
  EXPECT_EQ(ParamStr(2), "");
  EXPECT_EQ(ParamStr(3), "");
  EXPECT_EQ(ParamStr(-1), "");
  SetCommandLine(1, argv);
  EXPECT_EQ(ParamCount(), 0);
  EXPECT_EQ(ParamStr(1), "");
}
