#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "foundation/QVConnect.h"
#include "platform/data/Database.h"
#include "platform/system/RegistryStore.h"
#include "tests/platform/system/ScopedEnv.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/support/TempFolder.h"

namespace {

const char* const ComputerNameSection = "[System\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\n";

const char* const UserNameWarning =
    "Cannot read environment variable \"USERNAME\".\r\n"
    "This will cause the default printers for this\r\n"
    "workstation to be set incorrectly.\r\n"
    "\r\n"
    "Please ensure that your Terminal Server and Client\r\n"
    "software are configured correctly.";

using TEnvValue = std::optional<std::string>;

}  // namespace

// A workstation with its registry in a temporary store and the three variables under the test's control.
class QVConnect : public ::testing::Test {
 protected:
  void SetComputerName(const std::string& name) {
    FFolder.Write("HKEY_LOCAL_MACHINE.reg",
                  std::string(ComputerNameSection) + "\"ComputerName\"=\"" + name + "\"\n");
  }
  void SetSession(const TEnvValue& winStation, const TEnvValue& userName, const TEnvValue& clientName) {
    FWinStation.emplace("WINSTATIONNAME", winStation);
    FUserName.emplace("USERNAME", userName);
    FClientName.emplace("CLIENTNAME", clientName);
  }
  std::vector<std::string> Prepare(std::initializer_list<std::string> lines) {
    TDatabase database(nullptr);
    for (const std::string& line : lines) database.Params().Add(line);
    PrepareDatabaseParams(&database);
    return database.Params().Lines();
  }

  TempFolder FFolder;
  TScopedEnv FRegistry{"QV_REGISTRY_DIR", FFolder.Path()};
  std::optional<TScopedEnv> FWinStation, FUserName, FClientName;
  TRecordingDialogService FDialogs;
};

TEST_F(QVConnect, WorkstationNameBySession) {
  const std::string longName(40, 'n');
  const struct {
    TEnvValue WinStation, UserName, ClientName;
    std::string Name;
    bool Terminal;
    bool Warning;
  } cases[] = {
      {std::nullopt, "nurse1", std::nullopt, "Ward3", false, false},
      {"Console", "nurse1", "console", "Ward3", false, false},
      {"CONSOLE", std::nullopt, "CLIENT7", "CLIENT7", true, false},  // USERNAME not read: no warning
      {std::nullopt, std::nullopt, "Client7", "Client7", true, false},
      {"", std::nullopt, "Client7", "Client7", true, false},  // empty counts as not set
      {"RDP-Tcp#3", "nurse1", "CLIENT7", "nurse1", true, false},
      {"RDP-Tcp#3", std::nullopt, "CLIENT7", "Ward3", true, true},
      {"RDP-Tcp#3", "", std::nullopt, "Ward3", true, true},
      {"RDP-Tcp#3", longName, std::nullopt, longName, true, false},  // longer than 32: taken whole
      {std::nullopt, std::nullopt, std::string(32, 'c'), std::string(32, 'c'), true, false},
  };
  SetComputerName("Ward3");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.WinStation.value_or("(unset)") + " / " + c.UserName.value_or("(unset)") + " / " +
                 c.ClientName.value_or("(unset)"));
    SetSession(c.WinStation, c.UserName, c.ClientName);
    const size_t boxesBefore = FDialogs.Boxes().size();
    if (c.Warning) FDialogs.ExpectBox(mrOk);
    bool terminal = !c.Terminal;
    std::string name = "stale";
    TQConnect::GetWorkstationName(terminal, name);
    EXPECT_EQ(name, c.Name);
    EXPECT_EQ(terminal, c.Terminal);
    ASSERT_EQ(FDialogs.Boxes().size(), boxesBefore + (c.Warning ? 1 : 0));
    if (c.Warning) {
      const TRecordedBox& box = FDialogs.Boxes().back();
      EXPECT_EQ(box.Text, UserNameWarning);
      EXPECT_EQ(box.Caption, "Warning");
      EXPECT_EQ(box.Type, mtWarning);
      EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
      EXPECT_EQ(box.HelpContext, 0);
    }
  }
}

TEST_F(QVConnect, ComputerNameFromTheHostWhenTheStoreHasNone) {
  SetSession(std::nullopt, std::nullopt, std::nullopt);
  bool terminal = true;
  std::string name;
  TQConnect::GetWorkstationName(terminal, name);
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  EXPECT_EQ(name, ComputerNameFromHost(host));
  EXPECT_FALSE(terminal);
}

TEST_F(QVConnect, RegistryFailuresGiveUnknownAndNameTheCall) {
  const struct {
    std::string Store;
    std::string Message;
  } cases[] = {
      {"[-System\\CurrentControlSet\\Control\\ComputerName]\n", "RegOpenKeyExA fails with 2"},
      {"[-System\\CurrentControlSet\\Control\\ComputerName]\n" + std::string(ComputerNameSection),
       "RegQueryValueExA fails with 2"},
      {std::string(ComputerNameSection) + "\"ComputerName\"=\"" + std::string(40, 'W') + "\"\n",
       "RegQueryValueExA fails with 234"},
      // A store that is there and cannot be parsed is no empty one: the host name must not stand in.
      {std::string(ComputerNameSection) + "ComputerName=WARD3\n", "RegOpenKeyExA fails with 1009"},
  };
  // The variables are not read after a failure: a client name would otherwise win.
  SetSession("RDP-Tcp#3", "nurse1", "CLIENT7");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    FFolder.Write("HKEY_LOCAL_MACHINE.reg", c.Store);
    FDialogs.ExpectBox(mrOk);
    bool terminal = true;
    std::string name;
    TQConnect::GetWorkstationName(terminal, name);
    EXPECT_EQ(name, "UNKNOWN");
    EXPECT_FALSE(terminal);
    const TRecordedBox& box = FDialogs.Boxes().back();
    EXPECT_EQ(box.Text, c.Message);
    EXPECT_EQ(box.Caption, "Error");
    EXPECT_EQ(box.Type, mtError);
    EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbOK}));
    EXPECT_EQ(box.HelpContext, 0);
  }
}

TEST_F(QVConnect, DecodePassword) {
  const struct {
    std::string Text, Plain;
  } cases[] = {
      {"", ""},
      {"secret", "secret"},
      {"#uge", "sec"},
      {"#", ""},
      {"a#b", "a#b"},
      {std::string("#\x02\x03", 3), std::string("\x00\x01", 2)},
      {std::string("#\x00\x01", 3), "\xFE\xFF"},
      {"#\x80", "\x7E"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(TQConnect::DecodePassword(c.Text), c.Plain);
  }
}

TEST_F(QVConnect, PrepareDatabaseParamsRewritesServerAndPasswordLinesInPlace) {
  SetComputerName("Ward3");
  SetSession(std::nullopt, std::nullopt, std::nullopt);
  EXPECT_EQ(Prepare({"server name=WARD3:D:\\DATA\\MAIN.GDB", "USER NAME=#SYSDBA", "PassWord=secret",
                     "SERVER NAME=WARD30:D:\\DATA\\MAIN.GDB", "SERVER NAME = WARD3:D:\\DATA\\MAIN.GDB",
                     "SERVER NAME=D:\\DATA\\MAIN.GDB", "PASSWORD=#uge", "password=#", "OPEN MODE=READ/WRITE",
                     " PASSWORD=#uge", "Server Name=ward3:/data/main.fdb", "SERVER NAME=WARD3/data"}),
            (std::vector<std::string>{
                "server name=D:\\DATA\\MAIN.GDB", "USER NAME=#SYSDBA", "password=secret",
                "SERVER NAME=WARD30:D:\\DATA\\MAIN.GDB", "SERVER NAME = WARD3:D:\\DATA\\MAIN.GDB",
                "SERVER NAME=D:\\DATA\\MAIN.GDB", "password=sec", "password=", "OPEN MODE=READ/WRITE",
                " PASSWORD=#uge", "Server Name=/data/main.fdb", "SERVER NAME=WARD3/data"}));
  EXPECT_TRUE(FDialogs.Boxes().empty());
}

TEST_F(QVConnect, PrepareAfterARegistryFailureTakesUnknownAsTheName) {
  FFolder.Write("HKEY_LOCAL_MACHINE.reg", "[-System\\CurrentControlSet\\Control\\ComputerName]\n");
  SetSession(std::nullopt, std::nullopt, std::nullopt);
  FDialogs.ExpectBox(mrOk);
  EXPECT_EQ(Prepare({"SERVER NAME=UNKNOWN:/data/main.fdb", "SERVER NAME=WARD3:/data/main.fdb"}),
            (std::vector<std::string>{"SERVER NAME=/data/main.fdb", "SERVER NAME=WARD3:/data/main.fdb"}));
  EXPECT_EQ(FDialogs.BoxTexts(), (std::vector<std::string>{"RegOpenKeyExA fails with 2"}));
}

TEST_F(QVConnect, PrepareInATerminalSessionUsesTheUserName) {
  SetComputerName("WARD3");
  SetSession("RDP-Tcp#3", "Nurse1", std::nullopt);
  EXPECT_EQ(Prepare({"SERVER NAME=NURSE1:/data/main.fdb", "SERVER NAME=WARD3:/data/main.fdb"}),
            (std::vector<std::string>{"SERVER NAME=/data/main.fdb", "SERVER NAME=WARD3:/data/main.fdb"}));
}

TEST_F(QVConnect, WarningComesOncePerPreparedConnection) {
  SetComputerName("WARD3");
  SetSession("RDP-Tcp#3", std::nullopt, std::nullopt);
  FDialogs.ExpectBox(mrOk);
  FDialogs.ExpectBox(mrOk);
  EXPECT_EQ(Prepare({"SERVER NAME=WARD3:/a.fdb"}), (std::vector<std::string>{"SERVER NAME=/a.fdb"}));
  EXPECT_EQ(Prepare({"SERVER NAME=WARD3:/b.fdb"}), (std::vector<std::string>{"SERVER NAME=/b.fdb"}));
  EXPECT_EQ(FDialogs.BoxTexts(), (std::vector<std::string>{UserNameWarning, UserNameWarning}));
}

TEST_F(QVConnect, ComponentHasNoDatabaseReferenceAfterConstruction) {
  TComponent owner(nullptr);
  TQConnect* connection = new TQConnect(&owner);
  EXPECT_EQ(connection->FDatabaseRef, nullptr);
  EXPECT_EQ(connection->ClassName(), "TQConnect");
  EXPECT_EQ(owner.ComponentCount(), 1);
}
