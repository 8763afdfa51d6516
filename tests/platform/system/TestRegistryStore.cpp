#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/system/RegistryStore.h"
#include "tests/platform/system/ScopedEnv.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnreadableFile.h"

namespace {

const char* const ComputerNameKey = "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName";

// Reads a string value the way the connection unit does: 33 bytes, 32 declared.
LONG QueryString(HKEY key, const char* name, std::string& value, DWORD declared = 32) {
  char buffer[64] = {};
  DWORD size = declared;
  DWORD type = REG_NONE;
  const LONG code = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  if (code == ERROR_SUCCESS) value = std::string(buffer, size > 0 ? size - 1 : 0);
  return code;
}

}  // namespace

class RegistryStore : public ::testing::Test {
 protected:
  TempFolder FFolder;
  TScopedEnv FEnv{"QV_REGISTRY_DIR", FFolder.Path()};
};

TEST_F(RegistryStore, FolderComesFromTheEnvironmentElseTheUsersConfiguration) {
  EXPECT_EQ(RegistryStoreFolder(), FFolder.Path() + "/");
  TScopedEnv none("QV_REGISTRY_DIR", "");
  {
    TScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(RegistryStoreFolder(), "/cfg/quorvan/registry/");
  }
  TScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
  TScopedEnv home("HOME", "/home/ward");
  EXPECT_EQ(RegistryStoreFolder(), "/home/ward/.config/quorvan/registry/");
}

TEST_F(RegistryStore, ComputerNameFromTheHostNameWhenTheStoreHasNone) {
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  HKEY key = 0;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, ComputerNameKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  std::string name;
  EXPECT_EQ(QueryString(key, "ComputerName", name), ERROR_SUCCESS);
  EXPECT_EQ(name, ComputerNameFromHost(host));
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(QueryString(key, "computername", name), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "Other", name), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryStore, HostNameRuleTakesFirstLabelInCapitalsCutTo15) {
  const struct {
    const char* Host;
    const char* Name;
  } cases[] = {{"ward3", "WARD3"},
               {"ward3.hospital.example", "WARD3"},
               {"a-very-long-workstation-name", "A-VERY-LONG-WOR"},
               {"MiXeD", "MIXED"},
               {"abcdefghijklmnopq.x", "ABCDEFGHIJKLMNO"},
               {"", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Host);
    EXPECT_EQ(ComputerNameFromHost(c.Host), c.Name);
  }
}

TEST_F(RegistryStore, StoredValuesWinAndMatchWithoutRegardToCase) {
  FFolder.Write("HKEY_LOCAL_MACHINE.reg",
                "; computer name set by hand\n"
                "[System\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\r\n"
                "\"ComputerName\"=\"WARD3\"\r\n"
                "[Software\\Test]\n"
                "\"Quoted\"=\"say \\\"hi\\\" \\\\ there\"\n"
                "\"Number\"=dword:0000001f\n"
                "\"Empty\"=\"\"\n");
  HKEY key = 0;
  ASSERT_EQ(
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, "system\\currentcontrolset\\control\\computername\\computername", 0,
                    KEY_QUERY_VALUE, &key),
      ERROR_SUCCESS);
  std::string value;
  EXPECT_EQ(QueryString(key, "ComputerName", value), ERROR_SUCCESS);
  EXPECT_EQ(value, "WARD3");
  RegCloseKey(key);

  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\test\\", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "quoted", value), ERROR_SUCCESS);
  EXPECT_EQ(value, "say \"hi\" \\ there");
  EXPECT_EQ(QueryString(key, "Empty", value), ERROR_SUCCESS);
  EXPECT_EQ(value, "");
  DWORD type = REG_NONE;
  DWORD number = 0;
  DWORD size = sizeof number;
  EXPECT_EQ(RegQueryValueExA(key, "Number", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(number, 31u);
  EXPECT_EQ(size, 4u);
  RegCloseKey(key);
}

TEST_F(RegistryStore, ErrorCodes) {
  FFolder.Write("HKEY_CURRENT_USER.reg", "[Software\\Quorvan-32]\n\"DatabaseName\"=\"Main database\"\n");
  HKEY key = 0;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Missing", 0, KEY_QUERY_VALUE, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Quorvan-32", 0, KEY_QUERY_VALUE, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExA(0x1234, "Software", 0, KEY_QUERY_VALUE, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_QUERY_VALUE, nullptr),
            ERROR_INVALID_PARAMETER);

  // A key above a stored one exists; sub-keys open relative to an open key.
  HKEY software = 0;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_QUERY_VALUE, &software), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExA(software, "QUORVAN-32", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);

  std::string value;
  EXPECT_EQ(QueryString(key, "DatabaseName", value, 13), ERROR_MORE_DATA);
  DWORD size = 0;
  DWORD type = REG_NONE;
  EXPECT_EQ(RegQueryValueExA(key, "DatabaseName", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 14u);
  EXPECT_EQ(type, REG_SZ);
  char small[4] = {'a', 'b', 'c', '\0'};
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExA(key, "DatabaseName", nullptr, &type, reinterpret_cast<BYTE*>(small), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 14u);
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(QueryString(key, "DatabaseName", value, 14), ERROR_SUCCESS);
  EXPECT_EQ(value, "Main database");

  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(QueryString(key, "DatabaseName", value), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(software), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryStore, CreatingAKeyWritesItToTheHiveFile) {
  FFolder.Write("HKEY_CURRENT_USER.reg", "[Other]\n\"A\"=\"1\"");  // no line break at the end
  HKEY key = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quorvan-32", &key), ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "software\\quorvan-32", &key), ERROR_SUCCESS);
  RegCloseKey(key);
  std::ifstream in(FFolder.File("HKEY_CURRENT_USER.reg"), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "[Other]\n\"A\"=\"1\"\n[Software\\Quorvan-32]\n");
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quorvan-32", 0, KEY_QUERY_VALUE, &key),
            ERROR_SUCCESS);
  std::string value;
  EXPECT_EQ(QueryString(key, "DatabaseName", value), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
  HKEY other = 0;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Other", 0, KEY_QUERY_VALUE, &other), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(other, "A", value), ERROR_SUCCESS);
  EXPECT_EQ(value, "1");
  RegCloseKey(other);
}

TEST_F(RegistryStore, CreatingMakesTheStoreFolder) {
  TScopedEnv nested("QV_REGISTRY_DIR", FFolder.File("a/b"));
  HKEY key = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software", &key), ERROR_SUCCESS);
  RegCloseKey(key);
  std::ifstream in(FFolder.File("a/b/HKEY_CURRENT_USER.reg"));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "[Software]");
}

TEST_F(RegistryStore, RemovalLinesTakeKeysAwayIncludingTheComputerName) {
  FFolder.Write("HKEY_LOCAL_MACHINE.reg",
                "[Software\\A\\B]\n\"V\"=\"1\"\n"
                "[-Software\\A]\n"
                "\"Lost\"=\"belongs to no key\"\n"
                "[-System\\CurrentControlSet\\Control\\ComputerName]\n"
                "[Software\\C]\n");
  HKEY key = 0;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\A\\B", 0, KEY_QUERY_VALUE, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\A", 0, KEY_QUERY_VALUE, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, ComputerNameKey, 0, KEY_QUERY_VALUE, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control", 0, KEY_QUERY_VALUE, &key),
            ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\C", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  std::string value;
  EXPECT_EQ(QueryString(key, "Lost", value), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);

  // The key written again after its removal holds only what follows it: no host name.
  FFolder.Write("HKEY_LOCAL_MACHINE.reg",
                "[-System\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\n"
                "[System\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\n");
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, ComputerNameKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "ComputerName", value), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

TEST_F(RegistryStore, AByteOrderMarkAtTheStartOfAHiveFileIsSkipped) {
  FFolder.Write("HKEY_LOCAL_MACHINE.reg",
                "\xEF\xBB\xBF[" + std::string(ComputerNameKey) + "]\r\n\"ComputerName\"=\"WARD3\"\r\n");
  HKEY key = 0;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, ComputerNameKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  std::string value;
  EXPECT_EQ(QueryString(key, "ComputerName", value), ERROR_SUCCESS);
  EXPECT_EQ(value, "WARD3");
  RegCloseKey(key);
}

TEST_F(RegistryStore, AHiveFileThatCannotBeReadOrHoldsALineOfNoKnownFormFailsEveryCallOnItsHive) {
  const std::string hive = FFolder.File("HKEY_CURRENT_USER.reg");
  const std::string unreadable = UnreadableFile();
  const struct {
    const char* Name;
    std::string Text;  // written as the hive file unless Folder or Unreadable
    bool Folder;
    bool Unreadable;
    LONG Code;
  } cases[] = {
      {"a folder in the file's place", "", true, false, ERROR_ACCESS_DENIED},
      {"a file no user may read", "", false, true, ERROR_ACCESS_DENIED},
      {"a line of no known form", "[Software\\Quorvan-32]\ngarbage line\n", false, false, ERROR_BADDB},
      {"a value cut short", "[Software\\Quorvan-32]\n\"DatabaseName\"=\"Main\n", false, false, ERROR_BADDB},
      {"a number of no known form", "[Software]\n\"Count\"=dword:xyz\n", false, false, ERROR_BADDB},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::filesystem::remove_all(hive);
    if (c.Unreadable) {
      if (unreadable.empty()) continue;  // root cannot be refused otherwise; the other cases still count
      std::filesystem::create_symlink(unreadable, hive);
    } else if (c.Folder) {
      std::filesystem::create_directories(hive);
    } else {
      FFolder.Write("HKEY_CURRENT_USER.reg", c.Text);
    }
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_QUERY_VALUE, &key), c.Code);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\New", &key), c.Code);
    EXPECT_EQ(key, 0u);
    std::string value;
    EXPECT_EQ(QueryString(HKEY_CURRENT_USER, "DatabaseName", value), c.Code);
    // Nothing was added to a file that could not be read as a hive.
    if (!c.Folder && !c.Unreadable) {
      std::ifstream in(hive, std::ios::binary);
      EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), c.Text);
    }
  }
}
