#include "iconloader/ComboDropDownMessage.h"

#include "platform/system/WindowMessages.h"

UINT ComboDropDownMessage = 0;

void RegisterComboDropDownMessage() {
  ComboDropDownMessage = RegisterWindowMessageA("CLCOMBODROPDOWNMESSAGE");
}
