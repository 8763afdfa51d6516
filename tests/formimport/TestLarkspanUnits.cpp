#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "formimport/LarkspanUnits.h"
#include "platform/components/Application.h"
#include "platform/system/Ole.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/textcatalogue/StartupRecorder.h"
#include "textcatalogue/DatePickerMessage.h"
#include "textcatalogue/Dcintl.h"
#include "textcatalogue/ExpandButtonMessage.h"
#include "textcatalogue/RichEditSupport.h"

TEST(LarkspanUnits, StartUpAndExitRunTheControlUnitsInOrderAndLeaveNothingBehind) {
  TRecordingDialogService dialogs;  // fails the test on any box
  auto application = std::make_unique<TApplication>(nullptr);
  int oleBase = OleInitializeCount();
  DatePickerDestroyCalendarMessage = 0;
  ExpandButtonDropDownMessage = 0;
  // OLE initialisations beyond those before the test, whether the catalogue exists, which messages
  // are registered.
  TStartupRecorder recorder(LarkspanUnits(), [oleBase] {
    return "ole+" + std::to_string(OleInitializeCount() - oleBase) +
           " intl=" + (dcGlobalIntl ? "yes" : "no") +
           " messages=" + (DatePickerDestroyCalendarMessage != 0 ? "D" : "-") +
           (ExpandButtonDropDownMessage != 0 ? "E" : "-");
  });
  recorder.Start();
  EXPECT_EQ(dcGlobalIntl->Owner(), application.get());
  EXPECT_EQ(RichEditLibraryHandle, nullptr);
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
  EXPECT_EQ(application->ComponentCount(), 0);
}
