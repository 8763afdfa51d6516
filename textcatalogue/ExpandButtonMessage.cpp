#include "textcatalogue/ExpandButtonMessage.h"

#include "platform/system/WindowMessages.h"

UINT ExpandButtonDropDownMessage = 0;

void RegisterExpandButtonMessage() {
  ExpandButtonDropDownMessage = RegisterWindowMessageA("DCEXPANDBUTTONDROPDOWN");
}
