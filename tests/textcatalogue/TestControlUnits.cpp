#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/components/Application.h"
#include "platform/system/Libraries.h"
#include "platform/system/Ole.h"
#include "platform/system/WindowMessages.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/textcatalogue/StartupRecorder.h"
#include "textcatalogue/ControlUnits.h"
#include "textcatalogue/DatePickerMessage.h"
#include "textcatalogue/Dcintl.h"
#include "textcatalogue/ExpandButtonMessage.h"
#include "textcatalogue/RichEditSupport.h"

namespace {

class ControlUnitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FApplication = std::make_unique<TApplication>(nullptr);
    DatePickerDestroyCalendarMessage = 0;
    ExpandButtonDropDownMessage = 0;
    FOleBase = OleInitializeCount();
  }

  // OLE initialisations beyond those before the test, whether the catalogue exists, and which
  // messages are registered.
  std::string State() const {
    return "ole+" + std::to_string(OleInitializeCount() - FOleBase) + " intl=" + (dcGlobalIntl ? "yes" : "no") +
           " messages=" + (DatePickerDestroyCalendarMessage != 0 ? "D" : "-") +
           (ExpandButtonDropDownMessage != 0 ? "E" : "-");
  }

  TRecordingDialogService FDialogs;  // fails the test on any box
  std::unique_ptr<TApplication> FApplication;
  int FOleBase = 0;
};

}  // namespace

TEST_F(ControlUnitsTest, StartUpRunsInOrderAndExitInReverseWithOleNestedInsideThePlatformOwn) {
  TStartupRecorder recorder(DataAwareControlUnits(), [this] { return State(); });
  recorder.Start();
  EXPECT_EQ(dcGlobalIntl->Owner(), Application);
  recorder.Stop();
  const std::vector<std::string> expected = {
      "start Dcintl | ole+0 intl=yes messages=--",
      "start OleContainer | ole+1 intl=yes messages=--",
      "start DatePickerMessage | ole+1 intl=yes messages=D-",
      "start ExpandButtonMessage | ole+1 intl=yes messages=DE",
      "start RichEditSupport | ole+2 intl=yes messages=DE",
      "exit RichEditSupport | ole+1 intl=yes messages=DE",
      "exit ExpandButtonMessage | ole+1 intl=yes messages=DE",
      "exit DatePickerMessage | ole+1 intl=yes messages=DE",
      "exit OleContainer | ole+0 intl=yes messages=DE",
      "exit Dcintl | ole+0 intl=no messages=DE",
  };
  EXPECT_EQ(recorder.Log(), expected);
}

TEST_F(ControlUnitsTest, MessagesAreRegisteredUnderTheirNames) {
  TStartupRecorder recorder(DataAwareControlUnits(), [this] { return State(); });
  recorder.Start();
  EXPECT_GE(DatePickerDestroyCalendarMessage, 0xC000u);
  EXPECT_LE(DatePickerDestroyCalendarMessage, 0xFFFFu);
  EXPECT_EQ(DatePickerDestroyCalendarMessage, RegisterWindowMessageA("DCDatePickerDestroyCalendar"));
  EXPECT_EQ(ExpandButtonDropDownMessage, RegisterWindowMessageA("dcexpandbuttondropdown"));
  EXPECT_NE(DatePickerDestroyCalendarMessage, ExpandButtonDropDownMessage);
  recorder.Stop();
  // The numbers stay: a registered message is registered until the session ends.
  EXPECT_EQ(DatePickerDestroyCalendarMessage, RegisterWindowMessageA("DCDATEPICKERDESTROYCALENDAR"));
}

TEST_F(ControlUnitsTest, AMissingRichEditLibraryChangesNothing) {
  ASSERT_EQ(LoadLibraryA("RICHED20.DLL"), nullptr) << "this system has the library after all";
  TStartupRecorder recorder(DataAwareControlUnits(), [this] { return State(); });
  recorder.Start();
  EXPECT_EQ(RichEditLibraryHandle, nullptr);
  EXPECT_EQ(recorder.List().StartedUnits(),
            (std::vector<std::string>{"Dcintl", "OleContainer", "DatePickerMessage", "ExpandButtonMessage",
                                      "RichEditSupport"}));
  recorder.Stop();
  EXPECT_EQ(OleInitializeCount(), FOleBase);
  EXPECT_TRUE(FDialogs.Boxes().empty());
  EXPECT_EQ(FDialogs.BeepCount(), 0);
}

TEST_F(ControlUnitsTest, RichEditSupportBalancesItsOwnOleInitialisationOnce) {
  InitRichEditSupport();
  EXPECT_EQ(OleInitializeCount(), FOleBase + 1);
  DoneRichEditSupport();
  EXPECT_EQ(OleInitializeCount(), FOleBase);
  // A second exit has nothing left to undo: it must not take away someone else's initialisation.
  OleInitialize(nullptr);
  DoneRichEditSupport();
  EXPECT_EQ(OleInitializeCount(), FOleBase + 1);
  OleUninitialize();
}

TEST_F(ControlUnitsTest, AFailedStartUpStepLeavesTheLaterUnitsWithoutExitWork) {
  // With a catalogue that cannot be made, nothing after it starts, and nothing is undone that was not done.
  TUnitStepsList units = DataAwareControlUnits();
  units.front().Initialization = [] { throw Exception("Out of memory"); };
  TStartupRecorder recorder(units, [this] { return State(); });
  EXPECT_THROW(recorder.Start(), Exception);
  recorder.Stop();
  EXPECT_TRUE(recorder.Log().empty());
  EXPECT_EQ(OleInitializeCount(), FOleBase);
  EXPECT_EQ(dcGlobalIntl, nullptr);
}
