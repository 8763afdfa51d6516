// The combo-box control library's version text, set for the program's run.
#pragma once

#include <string>

// "3000.01" from start-up until shutdown, empty otherwise; nothing in these programs reads it.
extern std::string ComboLibraryVersion;

// Start-up step.
void InitComboVersion();
// Exit step: clears the text.
void DoneComboVersion();
