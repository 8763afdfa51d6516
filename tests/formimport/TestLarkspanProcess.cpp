// Larkspan run as the program it is, from a product folder laid out as the installation does.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/QtRuntime.h"
#include "tests/platform/system/ScopedEnv.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/UnreadableFile.h"

namespace {

namespace fs = std::filesystem;

constexpr auto TimeLimit = std::chrono::seconds(90);

std::string ParamsSection(int index, const std::string& serverName) {
  return "[DB" + std::to_string(index) + ".PARAMS]\r\nSERVER NAME=" + serverName +
         "\r\nUSER NAME=SYSDBA\r\nPASSWORD=masterkey\r\nSQLPASSTHRU MODE=SHARED AUTOCOMMIT\r\n";
}

class LarkspanProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string built = BuildPath("bin/larkspan");
    ASSERT_TRUE(fs::exists(built)) << built << " is not there: build the larkspan target first";
    // The installed layout: the program and QV32.INI side by side in BIN.
    fs::create_directories(FRoot.File("Prod/BIN"));
    fs::create_directories(FRoot.File("temp"));
    fs::copy_file(built, Program());
    FSchema = FileBytes(SourcePath("samples/schema.sql"));
    FSampleForm = SourcePath("samples/forms/diabetes-review.xml");
    ASSERT_FALSE(FSchema.empty());
    ASSERT_TRUE(fs::exists(FSampleForm));
  }

  std::string Program() const { return FRoot.File("Prod/BIN/larkspan"); }
  std::string ErrorFile() const { return FRoot.File("stderr.txt"); }
  void WriteIni(const std::string& text) { FRoot.Write("Prod/BIN/QV32.INI", text); }

  // Runs the program to its end and gives its exit status; a run that does not end fails the test.
  std::optional<int> Run(const std::vector<std::string>& arguments) {
    TChildProcess larkspan(Program(), arguments, ErrorFile());
    EXPECT_TRUE(larkspan.Started());
    const std::optional<int> status = larkspan.WaitFor(TimeLimit);
    EXPECT_TRUE(status.has_value()) << "larkspan did not end by itself";
    return status;
  }

  // The sample form as a local publisher's, which the loader refuses with a box.
  std::string WriteLocalForm() {
    std::string text = FileBytes(FSampleForm);
    const std::string published = "<publishcode>P</publishcode>";
    text.replace(text.find(published), published.size(), "<publishcode>L</publishcode>");
    return FRoot.Write("local.xml", text);
  }

  // The database passes the server's full validation: nothing half-written was left behind.
  void ExpectValidates(const TestDatabase& db) {
    const std::string report = FRoot.File("gfix.txt");
    TChildProcess gfix("/usr/bin/gfix",
                       {"-v", "-full", "-user", "SYSDBA", "-password", "masterkey", db.Path()}, report);
    EXPECT_EQ(gfix.WaitFor(TimeLimit), 0) << FileBytes(report);
    EXPECT_EQ(FileBytes(report), "");
  }

  TempFolder FRoot;
  TScopedEnv FPlatform{"QT_QPA_PLATFORM", std::string("offscreen")};
  TScopedEnv FRegistry{"QV_REGISTRY_DIR", FRoot.File("registry")};
  TScopedEnv FWinStation{"WINSTATIONNAME", std::nullopt};
  TScopedEnv FClientName{"CLIENTNAME", std::nullopt};
  // Where a run without a session's runtime folder makes its own: the test's, so that one a killed
  // program leaves behind goes with the test's folder.
  TScopedEnv FTemp{"TMPDIR", FRoot.File("temp")};
  std::string FSchema;
  std::string FSampleForm;
};

}  // namespace

TEST_F(LarkspanProcessTest, TheSampleFormLandsInEveryDatabaseAndTheProgramEndsByItself) {
  TestDatabase first(FSchema);
  TestDatabase second(FSchema);
  WriteIni("[DBNAMES]\r\nDB0=First\r\nDB1=Second\r\n" + ParamsSection(0, first.Path()) +
           ParamsSection(1, second.Path()));

  const std::optional<int> status = Run({FSampleForm});
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0) << FileBytes(ErrorFile());

  for (const TestDatabase* db : {&first, &second}) {
    SCOPED_TRACE(db->Path());
    EXPECT_EQ(db->Rows("SELECT formid, formname, publishcode, billacholderid FROM advform"),
              (TestDatabase::TRows{{"9001", "Diabetes review & plan", "P", TestDatabase::Null}}));
    // Codes without an active screening row take their partner, or are cleared with their value.
    EXPECT_EQ(db->Rows("SELECT obscode, mapscncode, mapvalueno FROM dictobservation ORDER BY obscode"),
              (TestDatabase::TRows{{"BP_SYS", "HT", "1"},
                                   {"CHOL_T", "CHOL", "3"},
                                   {"OLD_OBS", TestDatabase::Null, TestDatabase::Null},
                                   {"WT_KG", "WE", "2"}}));
    EXPECT_EQ(db->Rows("SELECT formid, itemno, caption FROM afitem ORDER BY itemno"),
              (TestDatabase::TRows{{"9001", "1", "Blood pressure <systolic>"},
                                   {"9001", "2", "Weight"},
                                   {"9001", "3", "Foot check done"}}));
    EXPECT_EQ(db->Value("SELECT COUNT(*) FROM afcomboactions"), "2");
    EXPECT_EQ(db->Value("SELECT COUNT(*) FROM dictcombo"), "2");
    EXPECT_EQ(db->Value("SELECT COUNT(*) FROM conceptvaluemap"), "2");
    EXPECT_EQ(db->Rows("SELECT pickid, picktext FROM afpicklist ORDER BY pickid"),
              (TestDatabase::TRows{{"1", "Left foot"}, {"2", "Right foot"}}));
  }
}

TEST_F(LarkspanProcessTest, AQv32IniThatBeginsWithAByteOrderMarkIsReadAsWritten) {
  TestDatabase db(FSchema);
  WriteIni("\xEF\xBB\xBF[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
  const std::optional<int> status = Run({FSampleForm});
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0) << FileBytes(ErrorFile());
  EXPECT_EQ(FileBytes(ErrorFile()).find("larkspan:"), std::string::npos) << FileBytes(ErrorFile());
  EXPECT_EQ(db.Value("SELECT formname FROM advform"), "Diabetes review & plan");
}

TEST_F(LarkspanProcessTest, WithoutConfiguredDatabasesOrWithSkippedOnesTheRunEndsAtOnceSaysWhatAndGives3) {
  const std::string gone = FRoot.File("gone/GONE.FDB");
  const TestDatabase checked(FSchema + "\nALTER TABLE afpicklist ADD CHECK (pickid <> 2);");
  struct {
    const char* Name;
    std::optional<std::string> Ini;
    std::string Written;
  } const cases[] = {
      {"no QV32.INI", std::nullopt,
       "larkspan: no database configured: no QV32.INI in " + FRoot.File("Prod/BIN") + "/\n"},
      {"an entry without parameters and one that cannot be opened",
       "[DBNAMES]\r\nDB0=Empty\r\nDB1=Gone\r\n" + ParamsSection(1, gone),
       "larkspan: DB0 \"Empty\" skipped: no parameters in [DB0.PARAMS]\n"
       "larkspan: DB1 \"Gone\" skipped: cannot open: I/O error during \"open\" operation for file \"" +
           gone + "\"; -Error while trying to open file; -No such file or directory\n"},
      {"a row its database refuses", "[DBNAMES]\r\nDB0=Checked\r\n" + ParamsSection(0, checked.Path()),
       "larkspan: DB0 \"Checked\": 1 of 2 rows of table afpicklist refused: Operation violates CHECK constraint "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    fs::remove(FRoot.File("Prod/BIN/QV32.INI"));
    if (c.Ini) WriteIni(*c.Ini);
    const std::optional<int> status = Run({FSampleForm});
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 3);
    const std::string written = FileBytes(ErrorFile());
    EXPECT_NE(written.find(c.Written), std::string::npos) << written;
  }
}

TEST_F(LarkspanProcessTest, WithNoScreenEachEndingWritesWhatItShowedAndGivesItsStatus) {
  TestDatabase db(FSchema);
  WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
  const std::string local = WriteLocalForm();
  const std::string missing = FRoot.File("missing.xml");
  struct {
    const char* Name;
    std::vector<std::string> Arguments;
    bool DisplayUnset;  // no display and no platform asked for: the program chooses offscreen itself
    int Status;
    std::string Written;
  } const cases[] = {
      {"a local publisher's form",
       {local},
       false,
       1,
       "larkspan: Error box, caption \"Error\":\n  You cannot import forms for local publisher (L)\"" +
           local + "\" \n"},
      {"a missing file",
       {missing},
       true,
       1,
       "larkspan: Error box, caption \"Error\":\n  Larkspan: " + missing + " Not found\n"},
      {"no file",
       {},
       true,
       2,
       "larkspan: no display to choose the form file on: give it as the argument (larkspan FORM.XML)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TScopedEnv platform("QT_QPA_PLATFORM",
                        c.DisplayUnset ? std::nullopt : std::optional<std::string>("offscreen"));
    TScopedEnv display("DISPLAY", c.DisplayUnset ? std::nullopt : std::optional<std::string>(":0"));
    const std::optional<int> status = Run(c.Arguments);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, c.Status);
    const std::string written = FileBytes(ErrorFile());
    EXPECT_NE(written.find(c.Written), std::string::npos) << written;
  }
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM advform"), "0");
}

TEST_F(LarkspanProcessTest, ARegistryStoreThatCannotBeReadShowsTheFailingCallAndTheImportGoesOnAsUnknown) {
  const std::string hive = FRoot.File("registry/HKEY_LOCAL_MACHINE.reg");
  const std::string unreadable = UnreadableFile();
  const struct {
    const char* Name;
    std::function<void()> Make;  // empty where this machine has no file that every user is refused
    int Code;
  } cases[] = {
      {"a folder in the hive file's place", [&] { fs::create_directories(hive); }, 5},
      {"a hive file no user may read",
       unreadable.empty() ? std::function<void()>() : [&] { fs::create_symlink(unreadable, hive); }, 5},
      {"a line of no known form",
       [&] { FRoot.Write("registry/HKEY_LOCAL_MACHINE.reg", "[Software]\nWARD3\n"); }, 1009},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    if (!c.Make) continue;
    fs::remove_all(FRoot.File("registry"));
    fs::create_directories(FRoot.File("registry"));
    c.Make();
    // The workstation is then UNKNOWN: a server line that begins with it loses it and opens all the same.
    TestDatabase db(FSchema);
    WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, "UNKNOWN:" + db.Path()));
    const std::optional<int> status = Run({FSampleForm});
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 1);
    const std::string written = FileBytes(ErrorFile());
    EXPECT_NE(written.find("larkspan: Error box, caption \"Error\":\n  RegOpenKeyExA fails with " +
                           std::to_string(c.Code) + "\n"),
              std::string::npos)
        << written;
    EXPECT_EQ(db.Value("SELECT formname FROM advform"), "Diabetes review & plan");
  }
}

TEST_F(LarkspanProcessTest, WithoutARuntimeFolderStandardErrorHoldsOnlyWhatTheProgramWrote) {
  TestDatabase db(FSchema);
  WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
  const std::string missing = FRoot.File("missing.xml");
  // A run from cron or su: no runtime folder from a session. The program's own is made in TMPDIR.
  const std::string temp = FRoot.File("tmp");
  fs::create_directories(temp);
  TScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
  TScopedEnv tempFolder("TMPDIR", temp);
  const std::optional<int> status = Run({missing});
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 1);
  EXPECT_EQ(FileBytes(ErrorFile()),
            "larkspan: Error box, caption \"Error\":\n  Larkspan: " + missing + " Not found\n");
  EXPECT_TRUE(fs::is_empty(temp)) << "the runtime folder the program made is still there";
}

TEST_F(LarkspanProcessTest, OnADisplaySigtermEndsTheProgramWaitingAtABoxWith143) {
  TVirtualDisplay display;
  if (display.Display().empty()) GTEST_SKIP() << display.SkipReason();
  if (!fs::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is not installed (package xdotool)";
  TestDatabase db(FSchema);
  WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
  const std::string local = WriteLocalForm();
  TScopedEnv platform("QT_QPA_PLATFORM", std::nullopt);
  TScopedEnv displayName("DISPLAY", display.Display());

  // The refused form's box comes once the engine has started and the connection is open.
  TChildProcess larkspan(Program(), {local}, ErrorFile());
  TChildProcess box(
      "/usr/bin/xdotool",
      {"search", "--sync", "--onlyvisible", "--pid", std::to_string(larkspan.Pid()), "--name", "^Error$"},
      FRoot.File("xdotool.txt"));
  ASSERT_EQ(box.WaitFor(TimeLimit), 0) << "no box appeared: " << FileBytes(ErrorFile());
  larkspan.Signal(SIGTERM);
  EXPECT_EQ(larkspan.WaitFor(std::chrono::seconds(5)), 143) << FileBytes(ErrorFile());
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM advform"), "0");
  ExpectValidates(db);
}

TEST_F(LarkspanProcessTest, ASecondSigtermEndsTheProgramHeldInACallToAServerThatDoesNotAnswer) {
  // A port that takes connections (the kernel completes them) but never answers one.
  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(::listen(listener, 4), 0);
  ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const std::string server = "127.0.0.1/" + std::to_string(ntohs(address.sin_port)) + ":/silent.fdb";
  WriteIni("[DBNAMES]\r\nDB0=Silent\r\n" + ParamsSection(0, server));

  TChildProcess larkspan(Program(), {FSampleForm}, ErrorFile());
  ASSERT_FALSE(larkspan.WaitFor(std::chrono::seconds(2)).has_value()) << FileBytes(ErrorFile());
  larkspan.Signal(SIGTERM);
  // The first signal waits for a checkpoint, which the call to the server never reaches.
  ASSERT_FALSE(larkspan.WaitFor(std::chrono::seconds(1)).has_value()) << FileBytes(ErrorFile());
  larkspan.Signal(SIGTERM);
  EXPECT_EQ(larkspan.WaitFor(std::chrono::seconds(5)), 143);
  ::close(listener);
}

TEST_F(LarkspanProcessTest, SigtermInTheMiddleOfALargeTableLeavesItWholeOrEmptyAndTheTablesBeforeIt) {
  constexpr int Rows = 200000;
  std::string form =
      "<?xml version=\"1.0\"?>\n<xmltable>\n<header><title>Large</title></header>\n<advform><row>"
      "<formid>7</formid><publishcode>P</publishcode><formname>Large</formname><formversion>1</formversion>"
      "<status>AC</status><reviewdate>20240301093000</reviewdate></row></advform>\n<afpicklist>\n";
  for (int i = 1; i <= Rows; ++i) {
    form += "<row><pickid>" + std::to_string(i) + "</pickid><picktext>Pick " + std::to_string(i) +
            "</picktext></row>\n";
  }
  form += "</afpicklist>\n</xmltable>\n";
  TestDatabase db(FSchema);
  WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
  const std::string path = FRoot.Write("large.xml", form);
  const auto sizeBefore = fs::file_size(db.Path());

  TChildProcess larkspan(Program(), {path}, ErrorFile());
  // The file grows while the rows of the large table are written, after the first table's commit.
  const auto deadline = std::chrono::steady_clock::now() + TimeLimit;
  while (fs::file_size(db.Path()) < sizeBefore + 512 * 1024 &&
         !larkspan.WaitFor(std::chrono::milliseconds(20)) && std::chrono::steady_clock::now() < deadline) {
  }
  larkspan.Signal(SIGTERM);
  EXPECT_EQ(larkspan.WaitFor(std::chrono::seconds(10)), 143)
      << "the import ended before the signal, or ran on";
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM advform"), "1");
  const std::string picks = db.Value("SELECT COUNT(*) FROM afpicklist");
  EXPECT_TRUE(picks == "0" || picks == std::to_string(Rows)) << picks << " rows of " << Rows;
  ExpectValidates(db);
}

TEST_F(LarkspanProcessTest, SigtermEndsTheRunWithinTwoSecondsAlsoWhereItReadsOrWritesAtLength) {
  TestDatabase db(FSchema);
  WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));
  // The first pass walks a large table in front of advform before anything is imported (a few
  // seconds for these 270 MB); the form is one line, as generated forms often are.
  const std::string largeForm = FRoot.File("large.xml");
  {
    std::ofstream out(largeForm, std::ios::binary);
    out << "<?xml version=\"1.0\"?>\n<xmltable>\n<afpicklist>\n";
    for (int i = 1; i <= 4000000; ++i)
      out << "<row><pickid>" << i << "</pickid><picktext>Pick " << i << "</picktext></row>\n";
    out << "</afpicklist>\n<advform><row><formid>7</formid><publishcode>P</publishcode></row></advform>\n"
           "</xmltable>\n";
    ASSERT_TRUE(out.good());
  }
  // A standard error that nobody reads: a pipe that is full before the program starts.
  const std::string fifo = FRoot.File("stderr.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  const int filler = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  ASSERT_GE(filler, 0);
  const std::string block(4096, 'x');
  while (::write(filler, block.data(), block.size()) > 0) {
  }
  // Each run is without a runtime folder of the session's, so that the one the program makes is seen
  // to go with it.
  const std::string temp = FRoot.File("tmp");
  fs::create_directories(temp);
  TScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
  TScopedEnv tempFolder("TMPDIR", temp);
  struct {
    const char* Name;
    std::string Form;
    std::string Output;
    std::string HeldOpen;  // the signal comes once the program holds this file open, and Wait later
    std::chrono::milliseconds Wait;
  } const cases[] = {
      // Only the first pass reads the form line by line; the import reads it whole later.
      {"the first pass of a large form", largeForm, ErrorFile(), largeForm, std::chrono::milliseconds(0)},
      // The refused form's box comes right after the database is open, and its write waits.
      {"a box written to a full standard error", WriteLocalForm(), fifo, db.Path(),
       std::chrono::milliseconds(500)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TChildProcess larkspan(Program(), {c.Form}, c.Output);
    if (!larkspan.WaitUntilHolding(c.HeldOpen, true, TimeLimit)) {
      ADD_FAILURE() << "the program never opened " << c.HeldOpen << ": " << FileBytes(ErrorFile());
      continue;
    }
    std::this_thread::sleep_for(c.Wait);
    larkspan.Signal(SIGTERM);
    const std::optional<int> status = larkspan.WaitFor(std::chrono::seconds(2));
    EXPECT_TRUE(status.has_value()) << "still running 2 s after the signal";
    if (!status.has_value()) continue;
    EXPECT_EQ(*status, 143);
    EXPECT_TRUE(fs::is_empty(temp)) << "the runtime folder the program made is still there";
  }
  ::close(filler);
  ::close(reader);
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM afpicklist"), "0");
  ExpectValidates(db);
}

TEST_F(LarkspanProcessTest, UnderACommaLocaleTheNumbersOfTheFormLandAsWritten) {
  // The user's locale writes 2,5 for two and a half; made here into a folder of the test's own.
  const std::string locales = FRoot.File("locales");
  fs::create_directories(locales);
  TChildProcess localedef("/usr/bin/localedef", {"-i", "de_DE", "-f", "UTF-8", locales + "/de_DE.UTF-8"},
                          FRoot.File("localedef.txt"));
  localedef.WaitFor(TimeLimit);
  TScopedEnv localePath("LOCPATH", locales);
  TScopedEnv commaLocale("LC_ALL", std::string("de_DE.UTF-8"));
  TChildProcess probe("/usr/bin/locale", {"-k", "decimal_point"}, FRoot.File("locale.txt"));
  probe.WaitFor(TimeLimit);
  if (FileBytes(FRoot.File("locale.txt")) != "decimal_point=\",\"\n")
    GTEST_SKIP() << "no comma locale could be made here (localedef -i de_DE -f UTF-8): "
                 << FileBytes(FRoot.File("localedef.txt")) << FileBytes(FRoot.File("locale.txt"));
  // In a test program too, as in the program: once the application object is made, the C library
  // still reads and writes numbers with a point.
  EnsureQtApplication();
  char number[32];
  std::snprintf(number, sizeof number, "%.15g", 2.5);
  EXPECT_STREQ(number, "2.5");
  EXPECT_EQ(std::strtod("2.5", nullptr), 2.5);
  TestDatabase db(FSchema);
  WriteIni("[DBNAMES]\r\nDB0=Main\r\n" + ParamsSection(0, db.Path()));

  const std::optional<int> status = Run({FSampleForm});
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0) << FileBytes(ErrorFile());
  EXPECT_EQ(db.Rows("SELECT scorefactor FROM advform"), (TestDatabase::TRows{{"1.25"}}));
  EXPECT_EQ(
      db.Rows("SELECT lowlimit, highlimit FROM afitem ORDER BY itemno"),
      (TestDatabase::TRows{{"60", "250.5"}, {"0.5", "-0.5"}, {TestDatabase::Null, TestDatabase::Null}}));
  EXPECT_EQ(db.Rows("SELECT weight FROM afpicklist ORDER BY pickid"),
            (TestDatabase::TRows{{"0.5"}, {TestDatabase::Null}}));
}
