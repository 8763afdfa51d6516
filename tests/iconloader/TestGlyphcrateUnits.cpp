#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "iconloader/ComboDropDownMessage.h"
#include "iconloader/ComboLibraryVersion.h"
#include "iconloader/GlyphcrateUnits.h"
#include "platform/components/Application.h"
#include "platform/system/Ole.h"
#include "platform/system/WindowMessages.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/textcatalogue/StartupRecorder.h"
#include "textcatalogue/Dcintl.h"

namespace {

class GlyphcrateUnitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ComboDropDownMessage = 0;
    ComboLibraryVersion.clear();
    FOleBase = OleInitializeCount();
  }

  std::string State() const {
    return "ole+" + std::to_string(OleInitializeCount() - FOleBase) +
           " intl=" + (dcGlobalIntl ? "yes" : "no") + " version='" + ComboLibraryVersion +
           "' combo=" + (ComboDropDownMessage != 0 ? "yes" : "no");
  }

  TRecordingDialogService FDialogs;  // fails the test on any box
  int FOleBase = 0;
};

}  // namespace

TEST_F(GlyphcrateUnitsTest, StartUpRunsTheControlUnitsThenTheComboLibraryAndExitReversesIt) {
  auto application = std::make_unique<TApplication>(nullptr);
  TStartupRecorder recorder(GlyphcrateUnits(), [this] { return State(); });
  recorder.Start();
  recorder.Stop();
  const std::vector<std::string> expected = {
      "start Dcintl | ole+0 intl=yes version='' combo=no",
      "start OleContainer | ole+1 intl=yes version='' combo=no",
      "start DatePickerMessage | ole+1 intl=yes version='' combo=no",
      "start ExpandButtonMessage | ole+1 intl=yes version='' combo=no",
      "start RichEditSupport | ole+2 intl=yes version='' combo=no",
      "start ComboLibraryVersion | ole+2 intl=yes version='3000.01' combo=no",
      "start ComboDropDownMessage | ole+2 intl=yes version='3000.01' combo=yes",
      "exit ComboDropDownMessage | ole+2 intl=yes version='3000.01' combo=yes",
      "exit ComboLibraryVersion | ole+2 intl=yes version='' combo=yes",
      "exit RichEditSupport | ole+1 intl=yes version='' combo=yes",
      "exit ExpandButtonMessage | ole+1 intl=yes version='' combo=yes",
      "exit DatePickerMessage | ole+1 intl=yes version='' combo=yes",
      "exit OleContainer | ole+0 intl=yes version='' combo=yes",
      "exit Dcintl | ole+0 intl=no version='' combo=yes",
  };
  EXPECT_EQ(recorder.Log(), expected);
}

TEST_F(GlyphcrateUnitsTest, TheComboMessageIsRegisteredUnderItsName) {
  RegisterComboDropDownMessage();
  EXPECT_GE(ComboDropDownMessage, 0xC000u);
  EXPECT_EQ(ComboDropDownMessage, RegisterWindowMessageA("clComboDropDownMessage"));
  EXPECT_NE(ComboDropDownMessage, RegisterWindowMessageA("DCEXPANDBUTTONDROPDOWN"));
}

TEST_F(GlyphcrateUnitsTest, TheVersionTextHoldsOnlyBetweenItsStartUpAndExit) {
  EXPECT_EQ(ComboLibraryVersion, "");
  InitComboVersion();
  EXPECT_EQ(ComboLibraryVersion, "3000.01");
  DoneComboVersion();
  EXPECT_EQ(ComboLibraryVersion, "");
}
