#include "textcatalogue/DatePickerMessage.h"

#include "platform/system/WindowMessages.h"

UINT DatePickerDestroyCalendarMessage = 0;

void RegisterDatePickerMessage() {
  DatePickerDestroyCalendarMessage = RegisterWindowMessageA("DCDATEPICKERDESTROYCALENDAR");
}
