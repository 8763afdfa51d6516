#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/system/Dialogs.h"
#include "platform/system/RunReport.h"
#include "platform/system/UnitStartup.h"
#include "platform/ui/ProgramRun.h"
#include "tests/support/RecordingDialogService.h"

namespace {

// A window part that only notes when the main block reaches it.
class TLoggingWindowing : public TApplicationWindowing {
 public:
  explicit TLoggingWindowing(std::vector<std::string>& log) : FLog(log) {}
  void Initialize() override { FLog.push_back("initialize"); }
  void FormCreated(TComponent*) override {}
  void Run() override { FLog.push_back("run"); }
  void Terminate() override {}
  void ProcessMessages() override {}
  bool HelpContext(int) override { return false; }
  std::string ExeName() const override { return "/bin/prog"; }

 private:
  std::vector<std::string>& FLog;
};

enum TFault { fNone, fStartup, fFormThrows, fBox, fExitStep, fSkip, fSkipAndBox, fNote };

}  // namespace

TEST(ProgramRun, TheMainBlockRunsInItsOrderAndItsStatusSaysHowTheRunWent) {
  struct {
    const char* Name;
    TFault Fault;
    int Status;
    std::vector<std::string> Log;
    std::string Written;
  } const cases[] = {
      {"a clean run",
       fNone,
       0,
       {"classes", "+A", "+B", "initialize", "form One titled Prog", "form Two", "run", "-B", "-A"},
       ""},
      // The started units still get their exit steps; nothing of the run itself happens.
      {"a failing start-up step", fStartup, 2, {"classes", "+A", "+B", "-A"}, "prog: B cannot start\n"},
      {"a form that cannot be made",
       fFormThrows,
       2,
       {"classes", "+A", "+B", "initialize", "form One titled Prog", "-B", "-A"},
       "prog: Two is broken\n"},
      {"an error box shown",
       fBox,
       1,
       {"classes", "+A", "+B", "initialize", "form One titled Prog", "form Two", "run", "-B", "-A"},
       ""},
      {"a failing exit step",
       fExitStep,
       1,
       {"classes", "+A", "+B", "initialize", "form One titled Prog", "form Two", "run", "-B", "-A"},
       "prog: A cannot end\n"},
      // What was given and not done, with no box to say so, is told by its line and by status 3.
      {"something skipped",
       fSkip,
       3,
       {"classes", "+A", "+B", "initialize", "form One titled Prog", "form Two", "run", "-B", "-A"},
       "prog: DB1 skipped: two lines; of reason\n"},
      {"something skipped and an error box shown",
       fSkipAndBox,
       1,
       {"classes", "+A", "+B", "initialize", "form One titled Prog", "form Two", "run", "-B", "-A"},
       "prog: DB1 skipped: two lines; of reason\n"},
      {"only a note",
       fNote,
       0,
       {"classes", "+A", "+B", "initialize", "form One titled Prog", "form Two", "run", "-B", "-A"},
       "prog: 2 of 2 icons not stored\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::string> log;
    TRecordingDialogService dialogs;
    if (c.Fault == fBox || c.Fault == fSkipAndBox) dialogs.ExpectBox(mrOk);
    TApplication application(nullptr);
    application.SetWindowing(std::make_unique<TLoggingWindowing>(log));
    const TFault fault = c.Fault;
    const TProgramParts parts{
        .Name = "prog",
        .RegisterClasses = [&log] { log.push_back("classes"); },
        .RegisterUnits =
            [&log, fault](TUnitStartupList& units) {
              units.Register(
                  "A", [&log] { log.push_back("+A"); },
                  [&log, fault] {
                    log.push_back("-A");
                    if (fault == fExitStep) throw std::runtime_error("A cannot end");
                  });
              units.Register(
                  "B",
                  [&log, fault] {
                    log.push_back("+B");
                    if (fault == fStartup) throw std::runtime_error("B cannot start");
                  },
                  [&log] { log.push_back("-B"); });
            },
        .NeedsAPerson = [] { return true; },  // somebody can see the windows here: not asked
        .NothingToDoMessage = "nobody there",
        .Title = "Prog",
        .Forms = {[&log](TApplication& app) { log.push_back("form One titled " + app.Title()); },
                  [&log, fault](TApplication&) {
                    if (fault == fFormThrows) throw std::runtime_error("Two is broken");
                    if (fault == fBox || fault == fSkipAndBox)
                      MessageDlg("Two went wrong", mtError, {mbOK}, 0);
                    if (fault == fSkip || fault == fSkipAndBox)
                      ReportSkipped("DB1 skipped: two lines\r\nof reason");
                    if (fault == fNote) ReportNote("2 of 2 icons not stored");
                    log.push_back("form Two");
                  }},
    };

    testing::internal::CaptureStderr();
    const int status = RunMainBlock(parts);
    const std::string written = testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, c.Status);
    EXPECT_EQ(log, c.Log);
    EXPECT_EQ(written, c.Written);
  }
}
