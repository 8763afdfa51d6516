#include <gtest/gtest.h>

#include "platform/system/IniFiles.h"
#include "tests/support/TempFolder.h"

TEST(IniFiles, ReadStringAndSectionValuesAsQV32IniIsRead) {
  TempFolder folder;
  const std::string file = folder.Write("QV32.INI",
                                        "[DBNAMES]\r\n"
                                        "DB0=Main\r\n"
                                        "DB1=  \r\n"
                                        "[db0.params]\r\n"
                                        "SERVER NAME=WARD3:/data/main.fdb\r\n"
                                        "USER NAME = SYSDBA\r\n"
                                        "LANGDRIVER=\r\n"
                                        "PASSWORD=#rcuuyqtf\r\n"
                                        "user name=again\r\n");
  const TIniFile ini(file);
  EXPECT_TRUE(ini.Readable());
  EXPECT_EQ(ini.ReadString("DBNAMES", "DB0", ""), "Main");
  EXPECT_EQ(ini.ReadString("dbnames", "db1", "x"), "");
  EXPECT_EQ(ini.ReadString("DBNAMES", "DB2", "none"), "none");

  TStringList params{"kept"};
  ini.ReadSectionValues("DB0.PARAMS", params);
  // A key given twice reads its first value both times and so gives one line.
  EXPECT_EQ(params.Lines(), (std::vector<std::string>{"kept", "SERVER NAME=WARD3:/data/main.fdb",
                                                      "USER NAME=SYSDBA", "PASSWORD=#rcuuyqtf"}));

  TStringList keys;
  ini.ReadSection("DB0.PARAMS", keys);
  EXPECT_EQ(keys.Lines(),
            (std::vector<std::string>{"SERVER NAME", "USER NAME", "LANGDRIVER", "PASSWORD", "user name"}));
}

TEST(IniFiles, MissingFileGivesDefaultsAndNoLines) {
  TempFolder folder;
  const TIniFile ini(folder.File("QV32.INI"));
  EXPECT_FALSE(ini.Readable());
  EXPECT_EQ(ini.ReadString("DBNAMES", "DB0", ""), "");
  TStringList params;
  ini.ReadSectionValues("DB0.PARAMS", params);
  EXPECT_EQ(params.Count(), 0);
}

TEST(IniFiles, LongValuesAreCutAt2047Characters) {
  TempFolder folder;
  const std::string longValue(3000, 'v');
  const TIniFile ini(folder.Write("long.ini", "[s]\nk=" + longValue + "\n"));
  EXPECT_EQ(ini.ReadString("s", "k", ""), std::string(2047, 'v'));
}
