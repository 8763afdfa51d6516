#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "platform/system/Environment.h"
#include "tests/platform/system/ScopedEnv.h"

TEST(Environment, VariableBufferContract) {
  TScopedEnv set("QV_TEST_VARIABLE", "WARD3");
  TScopedEnv empty("QV_TEST_EMPTY", "");
  TScopedEnv unset("QV_TEST_UNSET", std::nullopt);
  char buffer[8];

  std::memset(buffer, 'X', sizeof buffer);
  EXPECT_EQ(GetEnvironmentVariableA("QV_TEST_VARIABLE", buffer, 6), 5u);  // fits with its NUL
  EXPECT_STREQ(buffer, "WARD3");

  std::memset(buffer, 'X', sizeof buffer);
  EXPECT_EQ(GetEnvironmentVariableA("QV_TEST_VARIABLE", buffer, 5), 6u);  // size needed, NUL counted
  EXPECT_EQ(buffer[0], 'X');
  EXPECT_EQ(GetEnvironmentVariableA("QV_TEST_VARIABLE", nullptr, 0), 6u);

  EXPECT_EQ(GetEnvironmentVariableA("QV_TEST_UNSET", buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
  EXPECT_EQ(GetEnvironmentVariableA("QV_TEST_EMPTY", buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(GetLastError(), 0u);
}

TEST(Environment, TempPathFromTheFirstVariableSetElseTmp) {
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  const struct {
    std::optional<std::string> Tmp, Temp, TmpDir;
    std::string Expected;
  } cases[] = {
      {"/a/tmp", "/b/temp", "/c/tmpdir", "/a/tmp/"},
      {std::nullopt, "/b/temp/", "/c/tmpdir", "/b/temp/"},
      {"", "", "/c/tmpdir", "/c/tmpdir/"},
      {std::nullopt, std::nullopt, std::nullopt, "/tmp/"},
      {"relative", std::nullopt, std::nullopt, std::string(cwd) + "/relative/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Expected);
    TScopedEnv tmp("TMP", c.Tmp);
    TScopedEnv temp("TEMP", c.Temp);
    TScopedEnv tmpDir("TMPDIR", c.TmpDir);
    char buffer[4200];
    EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), c.Expected.size());
    EXPECT_EQ(buffer, c.Expected);
  }
}

TEST(Environment, TempPathTooLongForTheBufferGivesTheSizeNeeded) {
  TScopedEnv tmp("TMP", "/" + std::string(130, 't'));
  char buffer[127];
  std::memset(buffer, 'X', sizeof buffer);
  EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), 133u);  // "/" + 130 + "/" + NUL
  EXPECT_EQ(buffer[0], 'X');
  TScopedEnv fits("TMP", "/" + std::string(124, 't'));
  EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), 126u);
  EXPECT_EQ(std::strlen(buffer), 126u);
}
