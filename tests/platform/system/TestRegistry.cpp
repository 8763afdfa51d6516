#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/system/Registry.h"
#include "tests/platform/system/ScopedEnv.h"
#include "tests/support/TempFolder.h"

class Registry : public ::testing::Test {
 protected:
  std::string HiveText() const {
    std::ifstream in(FFolder.File("HKEY_CURRENT_USER.reg"), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  TempFolder FFolder;
  TScopedEnv FEnv{"QV_REGISTRY_DIR", FFolder.Path()};
};

TEST_F(Registry, OpensKeysStepByStepCreatingThemAndReadsTheLastDatabase) {
  FFolder.Write("HKEY_CURRENT_USER.reg", "[Software\\Quorvan-32]\n\"DatabaseName\"=\"Main database\"\n");
  TRegistry registry;
  EXPECT_EQ(registry.RootKey(), HKEY_CURRENT_USER);
  ASSERT_TRUE(registry.OpenKey("Software", true));
  ASSERT_TRUE(registry.OpenKey("Quorvan-32", true));
  EXPECT_EQ(registry.CurrentPath(), "Software\\Quorvan-32");
  EXPECT_EQ(registry.ReadString("DatabaseName"), "Main database");
  EXPECT_EQ(registry.ReadString("Missing"), "");
  registry.CloseKey();
  EXPECT_EQ(registry.CurrentKey(), 0u);
  // Nothing was missing, so nothing was written.
  EXPECT_EQ(HiveText(), "[Software\\Quorvan-32]\n\"DatabaseName\"=\"Main database\"\n");
}

TEST_F(Registry, MissingKeysAreCreatedOnlyWhenAskedTo) {
  TRegistry registry;
  EXPECT_FALSE(registry.OpenKey("Software", false));
  EXPECT_EQ(HiveText(), "");
  ASSERT_TRUE(registry.OpenKey("Software", true));
  ASSERT_TRUE(registry.OpenKey("Quorvan-32", true));
  EXPECT_EQ(registry.ReadString("DatabaseName"), "");
  EXPECT_EQ(HiveText(), "[Software]\n[Software\\Quorvan-32]\n");
  // A path from the hive, whatever is open.
  ASSERT_TRUE(registry.OpenKey("\\Software", false));
  EXPECT_EQ(registry.CurrentPath(), "Software");
}

TEST_F(Registry, ValueThatIsNoStringRaises) {
  FFolder.Write("HKEY_CURRENT_USER.reg", "[Software\\Quorvan-32]\n\"DatabaseName\"=dword:00000001\n");
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("Software\\Quorvan-32", false));
  try {
    registry.ReadString("DatabaseName");
    FAIL() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), "Invalid data type for 'DatabaseName'");
  }
}

TEST_F(Registry, RootKeyChangeClosesTheOpenKey) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("Software", true));
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(registry.CurrentKey(), 0u);
  ASSERT_TRUE(registry.OpenKey("System\\CurrentControlSet\\Control\\ComputerName\\ComputerName", false));
  EXPECT_FALSE(registry.ReadString("ComputerName").empty());
}
