#include "iconloader/ComboLibraryVersion.h"

std::string ComboLibraryVersion;

void InitComboVersion() { ComboLibraryVersion = "3000.01"; }

void DoneComboVersion() { ComboLibraryVersion.clear(); }
