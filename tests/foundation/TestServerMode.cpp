// Connections prepared for this workstation through a real Firebird server on this machine: the test
// starts the server itself and stops it again; it never touches a server that it did not start.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "foundation/QVConnect.h"
#include "platform/data/DBErrors.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "tests/platform/system/ScopedEnv.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;

const char* const kGuardian = "/usr/sbin/fbguard";
const char* const kPasswordFile = "/etc/firebird/3.0/SYSDBA.password";
// A fixed path, whatever temporary folder a run is given, so that every copy of the test finds it.
const char* const kTurnFile = "/tmp/qv-server-mode-test.lock";
constexpr int kServerPort = 3050;

bool PortOpen() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(kServerPort);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool open = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return open;
}

// The state letter of /proc/<pid>/stat and the parent's id; state 0 when there is no such process.
void ProcessStat(int pid, char& state, int& parent) {
  state = 0;
  parent = 0;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  std::getline(stat, text);
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return;
  std::istringstream rest(text.substr(close + 2));
  rest >> state >> parent;
}

// Running, not a zombie that a container's first process never reaps.
bool Alive(int pid) {
  char state;
  int parent;
  ProcessStat(pid, state, parent);
  return pid > 0 && state != 0 && state != 'Z';
}

int ParentOf(int pid) {
  char state;
  int parent;
  ProcessStat(pid, state, parent);
  return parent;
}

std::vector<int> ProcessIds() {
  std::vector<int> ids;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos)
      ids.push_back(std::stoi(name));
  }
  return ids;
}

std::string CommandOf(int pid) {
  std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

// A live process of the server package, whoever started it.
bool ServerProcessRunning() {
  for (int pid : ProcessIds()) {
    const std::string name = CommandOf(pid);
    if ((name == "fbguard" || name == "firebird") && Alive(pid)) return true;
  }
  return false;
}

// The SYSDBA password that the package wrote when it made its security database.
std::string PackagePassword() {
  std::ifstream in(kPasswordFile);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("ISC_PASSWORD=", 0) != 0) continue;
    std::string value = line.substr(13);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    return value;
  }
  return std::string();
}

template <class Condition>
bool WaitFor(Condition condition, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

// The guardian started by this test and the server it runs; both are stopped by their ids.
class TStartedServer {
 public:
  // Empty text: started; otherwise why it could not be.
  std::string Start(const std::string& pidFile) {
    // The server keeps the common lock folder, as an installed one does, not the test program's own.
    std::vector<char*> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
      if (std::strncmp(*variable, "FIREBIRD_LOCK=", 14) != 0) environment.push_back(*variable);
    }
    environment.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0) return "fork failed";
    if (child == 0) {
      execle(kGuardian, kGuardian, "-daemon", "-forever", "-pidfile", pidFile.c_str(),
             static_cast<char*>(nullptr), environment.data());
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
      return "fbguard did not start (exit status " + std::to_string(status) + ")";
    if (!WaitFor([&] { return fs::exists(pidFile) && fs::file_size(pidFile) > 0; }, std::chrono::seconds(10)))
      return "fbguard wrote no pid file";
    // The pid file names the server process; the guardian is its parent.
    int serverPid = 0;
    std::ifstream(pidFile) >> serverPid;
    FServer = serverPid;
    FGuardian = ParentOf(serverPid);
    if (FGuardian <= 1) return "the server has no guardian";
    if (!WaitFor(PortOpen, std::chrono::seconds(20))) return "the server did not listen on port 3050";
    return std::string();
  }

  ~TStartedServer() {
    // The guardian first, so that it does not start the server again; it stops the server itself.
    if (FGuardian > 1 && Alive(FGuardian)) {
      kill(FGuardian, SIGTERM);
      WaitFor([&] { return !Alive(FGuardian); }, std::chrono::seconds(15));
    }
    if (FServer > 1 && Alive(FServer) && CommandOf(FServer) == "firebird") {
      kill(FServer, SIGTERM);
      WaitFor([&] { return !Alive(FServer); }, std::chrono::seconds(15));
    }
    WaitFor([] { return !PortOpen(); }, std::chrono::seconds(10));
  }

 private:
  int FGuardian = 0;
  int FServer = 0;
};

// The stored form of a password: '#' and every character code raised by 2, modulo 256.
std::string Scrambled(const std::string& password) {
  std::string text = "#";
  for (char c : password) text += static_cast<char>(static_cast<unsigned char>(c) + 2);
  return text;
}

// Fills the connection's parameter list as a configuration would hold it and prepares it for this
// workstation; returns the lines as the connection will use them.
std::vector<std::string> Prepared(TDatabase& database, const std::vector<std::string>& lines) {
  database.Params().Clear();
  for (const std::string& line : lines) database.Params().Add(line);
  PrepareDatabaseParams(&database);
  return database.Params().Lines();
}

// Copies of this test in other build folders may run at the same time. Between the check that no
// server runs and the start of its own, another copy could start one and each would then work with
// and stop the other's; holding this lock from before the check to the end makes them take turns.
class TServerTurn {
 public:
  explicit TServerTurn(std::chrono::seconds limit) {
    // Not inherited by the guardian: a daemon holding it would keep every later run waiting.
    FFile = open(kTurnFile, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (FFile >= 0) FHeld = WaitFor([&] { return flock(FFile, LOCK_EX | LOCK_NB) == 0; }, limit);
  }
  ~TServerTurn() {
    if (FFile >= 0) close(FFile);  // releases the lock
  }
  TServerTurn(const TServerTurn&) = delete;
  TServerTurn& operator=(const TServerTurn&) = delete;
  bool Held() const { return FHeld; }

 private:
  int FFile = -1;
  bool FHeld = false;
};

std::string EngineErrorOf(TDatabase& database) {
  try {
    database.Open();
  } catch (const EDBEngineError& e) {
    return e.Message();
  }
  return "(opened)";
}

// One test case: ctest runs cases as parallel processes, and only one of them may own the server.
TEST(ServerModeTest, APreparedConnectionThroughTheServerOnLoopbackWorksAndReportsItsErrors) {
  if (geteuid() != 0) GTEST_SKIP() << "starting the Firebird server needs root (its lock folder is root's)";
  if (access(kGuardian, X_OK) != 0) GTEST_SKIP() << "no Firebird server installed (" << kGuardian << ")";
  const std::string password = PackagePassword();
  if (password.empty()) GTEST_SKIP() << "no SYSDBA password in " << kPasswordFile;
  const TServerTurn turn(std::chrono::seconds(120));
  if (!turn.Held())
    GTEST_SKIP() << "another run of this test kept its server for two minutes (" << kTurnFile << ")";
  if (PortOpen() || ServerProcessRunning())
    GTEST_SKIP() << "a Firebird server that this test did not start is running; it is left alone";

  // The workstation's identity comes from a registry store of the test's own, outside any terminal
  // session, so that preparing the parameters shows no box; one that does fails the test.
  TempFolder registry;
  registry.Write("HKEY_LOCAL_MACHINE.reg",
                 "[System\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\n"
                 "\"ComputerName\"=\"Ward3\"\n");
  TScopedEnv registryDir("QV_REGISTRY_DIR", registry.Path());
  TScopedEnv winStation("WINSTATIONNAME", std::nullopt);
  TScopedEnv clientName("CLIENTNAME", std::nullopt);
  TRecordingDialogService dialogs;

  TestDatabase fixture("CREATE TABLE t (k INTEGER NOT NULL PRIMARY KEY, a VARCHAR(20), c BLOB)");
  // Connections that another attachment ended are closed only once the server has stopped: the
  // server does not always answer the rollback of such a connection.
  struct TEndedConnection {
    TDatabase Database{nullptr};
    TQuery Row{nullptr};  // the queries go before their connection
    TQuery Write{nullptr};
  };
  std::deque<TEndedConnection> endedConnections;
  TStartedServer server;
  const std::string failure = server.Start(fixture.Folder().File("fbguard.pid"));
  if (!failure.empty()) GTEST_SKIP() << "no Firebird server could be started: " << failure;

  const std::string remote = "localhost:" + fixture.Path();
  const std::string scrambled = Scrambled(password);
  TDatabase database(nullptr);
  database.SetDatabaseName("dbServer");
  EXPECT_EQ(Prepared(database, {"SERVER NAME=" + remote, "USER NAME=SYSDBA", "PASSWORD=" + scrambled,
                                "SQLPASSTHRU MODE=SHARED AUTOCOMMIT"}),
            (std::vector<std::string>{"SERVER NAME=" + remote, "USER NAME=SYSDBA", "password=" + password,
                                      "SQLPASSTHRU MODE=SHARED AUTOCOMMIT"}));
  database.Open();

  std::string blob(100 * 1024, '\0');
  for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<char>(i % 253 + 1);
  TQuery insert(nullptr);
  insert.SetDatabaseName("DBSERVER");
  insert.SQL().Add("INSERT INTO t (k, a, c) VALUES (:k, :a, :c)");
  insert.ParamByName("k").SetAsInteger(1);
  insert.ParamByName("a").SetAsString("over TCP \xE9");
  insert.ParamByName("c").SetAsBlob(blob);
  insert.ExecSQL();

  TQuery live(nullptr);
  live.SetDatabaseName("dbServer");
  live.SetRequestLive(true);
  live.SQL().Add("SELECT k , a FROM t WHERE k = :param0");
  database.StartTransaction();
  live.Params()[0].SetAsInteger(2);
  live.Open();
  ASSERT_TRUE(live.Eof());
  live.Append();
  live.Fields()[0].SetAsInteger(2);
  live.Fields()[1].SetAsString("appended");
  live.Post();
  live.Close();
  database.Commit();

  TQuery read(nullptr);
  read.SetDatabaseName("dbServer");
  read.SQL().Add("SELECT k, a, c FROM t ORDER BY k");
  read.Open();
  EXPECT_EQ(read.Fields()[1].AsString(), "over TCP \xE9");
  EXPECT_EQ(read.Fields()[2].AsBlob(), blob);
  read.Next();
  EXPECT_EQ(read.Fields()[1].AsString(), "appended");
  read.Close();

  // The plain path still opens the file while the server holds it (through the server).
  {
    TDatabase local(nullptr);
    local.SetDatabaseName("dbLocal");
    Prepared(local, {"SERVER NAME=" + fixture.Path(), "USER NAME=SYSDBA", "PASSWORD=" + scrambled});
    local.Open();
    TQuery count(nullptr);
    count.SetDatabaseName("dbLocal");
    count.SQL().Add("SELECT COUNT(*) FROM t");
    count.Open();
    EXPECT_EQ(count.Fields()[0].AsInteger(), 2);
  }

  TDatabase wrong(nullptr);
  EXPECT_EQ(
      Prepared(wrong,
               {"SERVER NAME=" + remote, "USER NAME=SYSDBA", "PASSWORD=" + Scrambled("not" + password)}),
      (std::vector<std::string>{"SERVER NAME=" + remote, "USER NAME=SYSDBA", "password=not" + password}));
  EXPECT_EQ(
      EngineErrorOf(wrong),
      "Your user name and password are not defined. Ask your database administrator to set up a Firebird "
      "login.");

  TDatabase unreachable(nullptr);
  Prepared(unreachable,
           {"SERVER NAME=localhost/1:" + fixture.Path(), "USER NAME=SYSDBA", "PASSWORD=" + scrambled});
  EXPECT_EQ(EngineErrorOf(unreachable),
            "Unable to complete network request to host \"localhost\".\n-Failed to establish a connection.");

  database.Close();
  EXPECT_EQ(fixture.Rows("SELECT k, a FROM t ORDER BY k"),
            (TestDatabase::TRows{{"1", "over TCP \xE9"}, {"2", "appended"}}));

  // Another attachment ends this one while its statements run one after the other, as the loader's
  // rows do. The client sends a cursor's close with its next call and drops the server's answer;
  // a close refused on the ending attachment made the next open fail as "Attempt to reopen an open
  // cursor". What is raised must be the connection's end, however the ending falls among the calls.
  const std::string killSql = fixture.Folder().Write(
      "kill.sql", "DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION;\n");
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    TEndedConnection& ended = endedConnections.emplace_back();
    const std::string name = "dbEnded" + std::to_string(round);
    ended.Database.SetDatabaseName(name);
    Prepared(ended.Database, {"SERVER NAME=" + remote, "USER NAME=SYSDBA", "PASSWORD=" + scrambled});
    ended.Database.Open();
    ended.Database.StartTransaction();
    ended.Row.SetDatabaseName(name);
    ended.Row.SQL().Add("SELECT k, a FROM t WHERE k = :k");
    ended.Write.SetDatabaseName(name);
    ended.Write.SQL().Add("UPDATE t SET a = :a WHERE k = :k");
    TChildProcess kill("/usr/bin/isql-fb",
                       {"-q", "-user", "SYSDBA", "-password", password, "-i", killSql, remote},
                       fixture.Folder().File("isql.txt"));
    std::string error = "(no error)";
    bool refusal = true;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    try {
      for (int k = 1; std::chrono::steady_clock::now() < end; k = 3 - k) {
        // A row is located, written and its cursor closed: the close goes with the next open.
        ended.Row.ParamByName("k").SetAsInteger(k);
        ended.Row.Open();
        ended.Write.ParamByName("k").SetAsInteger(k);
        ended.Write.ParamByName("a").SetAsString("again");
        ended.Write.ExecSQL();
        ended.Row.Close();
        // The time a row takes to be read from the file; most endings then fall between two rows.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    } catch (const EDBEngineError& e) {
      error = e.Message();
      refusal = e.IsRowRefusal();
    }
    EXPECT_EQ(kill.WaitFor(std::chrono::seconds(60)), 0) << FileBytes(fixture.Folder().File("isql.txt"));
    EXPECT_EQ(error, "connection shutdown");
    EXPECT_FALSE(refusal);
  }
  EXPECT_TRUE(dialogs.Boxes().empty());
}

}  // namespace
