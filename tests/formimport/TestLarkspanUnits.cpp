#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "formimport/LarkspanUnits.h"
#include "platform/components/Application.h"
#include "platform/system/Ole.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/textcatalogue/StartupRecorder.h"
#include "textcatalogue/Dcintl.h"
#include "textcatalogue/RichEditSupport.h"

TEST(LarkspanUnits, StartUpAndExitRunTheControlUnitsInOrderAndLeaveNothingBehind) {
  TRecordingDialogService dialogs;  // fails the test on any box
  auto application = std::make_unique<TApplication>(nullptr);
  int oleBase = OleInitializeCount();
  TStartupRecorder recorder(LarkspanUnits(), [oleBase] {
    return "ole+" + std::to_string(OleInitializeCount() - oleBase) + " intl=" + (dcGlobalIntl ? "yes" : "no");
  });
  recorder.Start();
  EXPECT_EQ(dcGlobalIntl->Owner(), application.get());
  EXPECT_EQ(RichEditLibraryHandle, nullptr);
  recorder.Stop();
  const std::vector<std::string> expected = {
      "start Dcintl | ole+0 intl=yes",
      "start OleContainer | ole+1 intl=yes",
      "start DatePickerMessage | ole+1 intl=yes",
      "start ExpandButtonMessage | ole+1 intl=yes",
      "start RichEditSupport | ole+2 intl=yes",
      "exit RichEditSupport | ole+1 intl=yes",
      "exit ExpandButtonMessage | ole+1 intl=yes",
      "exit DatePickerMessage | ole+1 intl=yes",
      "exit OleContainer | ole+0 intl=yes",
      "exit Dcintl | ole+0 intl=no",
  };
  EXPECT_EQ(recorder.Log(), expected);
  EXPECT_EQ(application->ComponentCount(), 0);
}

TEST(LarkspanUnits, RegisteringAddsTheUnitsByName) {
  TUnitStartupList list;
  RegisterLarkspanUnits(list);
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list.Name(i));
  EXPECT_EQ(names, (std::vector<std::string>{"Dcintl", "OleContainer", "DatePickerMessage",
                                             "ExpandButtonMessage", "RichEditSupport"}));
}
