#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/components/Application.h"
#include "platform/system/Libraries.h"
#include "platform/system/Ole.h"
#include "platform/system/WindowMessages.h"
#include "tests/support/RecordingDialogService.h"
#include "textcatalogue/ControlUnits.h"
#include "textcatalogue/DatePickerMessage.h"
#include "textcatalogue/Dcintl.h"
#include "textcatalogue/ExpandButtonMessage.h"
#include "textcatalogue/RichEditSupport.h"

// The order of the steps is recorded per program (TestLarkspanUnits, TestGlyphcrateUnits); these are
// the units' own effects.
class ControlUnitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FApplication = std::make_unique<TApplication>(nullptr);
    DatePickerDestroyCalendarMessage = 0;
    ExpandButtonDropDownMessage = 0;
    FOleBase = OleInitializeCount();
    RegisterUnits(FUnits, DataAwareControlUnits());
  }

  TRecordingDialogService FDialogs;  // fails the test on any box
  std::unique_ptr<TApplication> FApplication;
  int FOleBase = 0;
  TUnitStartupList FUnits;
};

TEST_F(ControlUnitsTest, MessagesAreRegisteredUnderTheirNames) {
  FUnits.RunStartup();
  EXPECT_GE(DatePickerDestroyCalendarMessage, 0xC000u);
  EXPECT_LE(DatePickerDestroyCalendarMessage, 0xFFFFu);
  EXPECT_EQ(DatePickerDestroyCalendarMessage, RegisterWindowMessageA("DCDatePickerDestroyCalendar"));
  EXPECT_EQ(ExpandButtonDropDownMessage, RegisterWindowMessageA("dcexpandbuttondropdown"));
  EXPECT_NE(DatePickerDestroyCalendarMessage, ExpandButtonDropDownMessage);
  FUnits.RunShutdown();
  // The numbers stay: a registered message is registered until the session ends.
  EXPECT_EQ(DatePickerDestroyCalendarMessage, RegisterWindowMessageA("DCDATEPICKERDESTROYCALENDAR"));
}

TEST_F(ControlUnitsTest, AMissingRichEditLibraryChangesNothing) {
  ASSERT_EQ(LoadLibraryA("RICHED20.DLL"), nullptr) << "this system has the library after all";
  FUnits.RunStartup();
  EXPECT_EQ(RichEditLibraryHandle, nullptr);
  EXPECT_EQ(FUnits.StartedUnits(), (std::vector<std::string>{"Dcintl", "OleContainer", "DatePickerMessage",
                                                             "ExpandButtonMessage", "RichEditSupport"}));
  EXPECT_EQ(OleInitializeCount(), FOleBase + 2);
  FUnits.RunShutdown();
  EXPECT_EQ(OleInitializeCount(), FOleBase);
  EXPECT_EQ(dcGlobalIntl, nullptr);
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

TEST(ControlUnits, AFailedStartUpStepLeavesTheLaterUnitsWithoutExitWork) {
  // With a catalogue that cannot be made, nothing after it starts, and nothing is undone that was not done.
  int oleBase = OleInitializeCount();
  TUnitStepsList units = DataAwareControlUnits();
  units.front().Initialization = [] { throw Exception("Out of memory"); };
  TUnitStartupList list;
  RegisterUnits(list, units);
  EXPECT_THROW(list.RunStartup(), Exception);
  EXPECT_TRUE(list.StartedUnits().empty());
  list.RunShutdown();
  EXPECT_EQ(OleInitializeCount(), oleBase);
  EXPECT_EQ(dcGlobalIntl, nullptr);
}
