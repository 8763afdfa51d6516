#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "iconloader/QDBSelectCombo.h"
#include "platform/components/FormReader.h"
#include "platform/system/Registry.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtRuntime.h"
#include "tests/iconloader/IconLoaderTestSupport.h"

namespace {

std::vector<std::string> ItemsOf(const TQDBSelectCombo& combo) { return combo.Items().Lines(); }

class QDBSelectComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApplication();
    RegisterQDBSelectCombo();
  }

  std::unique_ptr<TQDBSelectCombo> MakeCombo() { return std::make_unique<TQDBSelectCombo>(nullptr); }

  void SetLastDatabase(const std::string& name) {
    FBox.Root.Write("registry/HKEY_CURRENT_USER.reg",
                    "[Software\\Quorvan-32]\n\"DatabaseName\"=\"" + name + "\"\n");
  }

  TIconLoaderSandbox FBox;
};

}  // namespace

TEST_F(QDBSelectComboTest, ListsTheNamesBesideTheProgramInOrderAndSelectsTheFirst) {
  FBox.Root.Write("Prog/Bin/QV32.INI", Qv32IniText({"Main ward", "Archive"}, {}));
  TScopedProgramFolder folder(FBox.Root.File("Prog/Bin"));
  auto combo = MakeCombo();
  EXPECT_EQ(combo->GetIniFileName(), FBox.Root.File("Prog/Bin/QV32.INI"));
  EXPECT_EQ(ItemsOf(*combo), (std::vector<std::string>{"Main ward", "Archive"}));
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(combo->Text(), "Main ward");
  EXPECT_FALSE(combo->DefaultLastDatabase());
}

TEST_F(QDBSelectComboTest, FindsTheFileByTheTwoRulesInAnyLetterCase) {
  struct {
    const char* Case;
    std::string IniPath;        // where the file lies, below the sandbox
    std::string ProgramFolder;  // below the sandbox
    std::string Expected;       // the path the combo reads, below the sandbox
  } const cases[] = {
      {"beside the program, lower case", "Prog/Tools/qv32.ini", "Prog/Tools", "Prog/Tools/qv32.ini"},
      {"the base folder's BIN", "Prog/BIN/QV32.INI", "Prog/BIN/Loader", "Prog/BIN/QV32.INI"},
      {"the base folder's bin, lower case", "Prog/bin/Qv32.Ini", "Prog/bin/Loader", "Prog/bin/Qv32.Ini"},
      {"the temporary folder's BIN", "tmp/BIN/QV32.INI", "Tools", "tmp/BIN/QV32.INI"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    TIconLoaderSandbox box;
    box.Root.Write(c.IniPath, Qv32IniText({"Only"}, {}));
    TScopedProgramFolder folder(box.Root.File(c.ProgramFolder));
    auto combo = MakeCombo();
    EXPECT_EQ(combo->GetIniFileName(), box.Root.File(c.Expected));
    EXPECT_EQ(ItemsOf(*combo), (std::vector<std::string>{"Only"}));
  }
}

TEST_F(QDBSelectComboTest, WithoutAnyFileTheListIsEmptyAndNothingIsSelected) {
  TScopedProgramFolder folder(FBox.Root.File("Tools"));
  auto combo = MakeCombo();
  EXPECT_EQ(combo->GetIniFileName(), FBox.TmpFolder() + "BIN/QV32.INI");
  EXPECT_TRUE(ItemsOf(*combo).empty());
  EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(QDBSelectComboTest, TheListEndsAtTheFirstMissingOrEmptyName) {
  struct {
    const char* Case;
    std::string Names;
    std::vector<std::string> Expected;
  } const cases[] = {
      {"gap at DB2", "DB0=A\nDB1=B\nDB3=D\n", {"A", "B"}},
      {"no DB0", "DB1=B\nDB2=C\n", {}},
      {"empty value in the middle", "DB0=A\nDB1=\nDB2=C\n", {"A"}},
      {"keys in any case, values trimmed", "db0 =  A  \nDb1=B\nOTHER=X\n", {"A", "B"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    FBox.Root.Write("Prog/QV32.INI", "[dbnames]\n" + c.Names);
    TScopedProgramFolder folder(FBox.Root.File("Prog"));
    auto combo = MakeCombo();
    EXPECT_EQ(ItemsOf(*combo), c.Expected);
  }
}

TEST_F(QDBSelectComboTest, LastDatabaseFromTheRegistrySelectsTheEntrySpelledExactly) {
  FBox.Root.Write("Prog/QV32.INI", Qv32IniText({"Main", "Second", "second"}, {}));
  TScopedProgramFolder folder(FBox.Root.File("Prog"));
  struct {
    const char* Case;
    std::string RegistryText;  // the current user's hive
    int Expected;
  } const cases[] = {
      {"exact name", "[Software\\Quorvan-32]\n\"DatabaseName\"=\"second\"\n", 2},
      {"differs in case only", "[Software\\Quorvan-32]\n\"DatabaseName\"=\"SECOND\"\n", 0},
      {"differs by a trailing blank", "[Software\\Quorvan-32]\n\"DatabaseName\"=\"Second \"\n", 0},
      {"names no entry", "[Software\\Quorvan-32]\n\"DatabaseName\"=\"Elsewhere\"\n", 0},
      {"no value", "[Software\\Quorvan-32]\n", 0},
      {"not a string", "[Software\\Quorvan-32]\n\"DatabaseName\"=dword:00000001\n", 0},
      {"no keys at all", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    FBox.Root.Write("registry/HKEY_CURRENT_USER.reg", c.RegistryText);
    auto combo = MakeCombo();
    combo->SetDefaultLastDatabase(true);
    EXPECT_TRUE(combo->DefaultLastDatabase());
    EXPECT_EQ(combo->ItemIndex(), c.Expected);
    // The keys exist afterwards, created when they were missing.
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quorvan-32", 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
}

TEST_F(QDBSelectComboTest, TheRegistryIsReadEachTimeTheOptionGoesFromOffToOn) {
  FBox.Root.Write("Prog/QV32.INI", Qv32IniText({"Main", "Second", "Third"}, {}));
  TScopedProgramFolder folder(FBox.Root.File("Prog"));
  auto combo = MakeCombo();
  SetLastDatabase("Second");
  combo->SetDefaultLastDatabase(true);
  EXPECT_EQ(combo->ItemIndex(), 1);

  // Already on: no second read, so the new value is not seen.
  SetLastDatabase("Third");
  combo->SetDefaultLastDatabase(true);
  EXPECT_EQ(combo->ItemIndex(), 1);

  // Off leaves the selection; on again reads anew.
  combo->SetDefaultLastDatabase(false);
  EXPECT_EQ(combo->ItemIndex(), 1);
  combo->SetDefaultLastDatabase(true);
  EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(QDBSelectComboTest, AResourceThatSwitchesTheOptionOnFindsTheListFilled) {
  FBox.Root.Write("Prog/QV32.INI", Qv32IniText({"Main", "Second"}, {}));
  TScopedProgramFolder folder(FBox.Root.File("Prog"));
  SetLastDatabase("Second");
  for (const bool stored : {true, false}) {
    SCOPED_TRACE(stored);
    std::unique_ptr<TForm> form(NewComponent<TForm>(nullptr));
    ReadComponentResource(form.get(), (std::string("object fmTest: TForm\n"
                                                   "  object cbDatabase: TQDBSelectCombo\n"
                                                   "    DefaultLastDatabase = ") +
                                       (stored ? "True" : "False") +
                                       "\n"
                                       "  end\n"
                                       "end\n")
                                          .c_str());
    auto* combo = dynamic_cast<TQDBSelectCombo*>(form->FindComponent("cbDatabase"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(ItemsOf(*combo), (std::vector<std::string>{"Main", "Second"}));
    EXPECT_EQ(combo->ItemIndex(), stored ? 1 : 0);
  }
}

TEST_F(QDBSelectComboTest, InDesignStateNeitherFileNorRegistryIsRead) {
  FBox.Root.Write("Prog/QV32.INI", Qv32IniText({"Main", "Second"}, {}));
  TScopedProgramFolder folder(FBox.Root.File("Prog"));
  TComponent designer(nullptr);
  designer.SetComponentStateFlag(csDesigning, true);
  auto* combo = new TQDBSelectCombo(&designer);
  EXPECT_TRUE(ItemsOf(*combo).empty());
  combo->LoadDatabaseNames();
  EXPECT_TRUE(ItemsOf(*combo).empty());
  combo->SetDefaultLastDatabase(true);
  EXPECT_TRUE(combo->DefaultLastDatabase());
  // The registry keys were not created.
  HKEY key = 0;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_QUERY_VALUE, &key), ERROR_FILE_NOT_FOUND);
}
