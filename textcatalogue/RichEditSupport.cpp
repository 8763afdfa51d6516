#include "textcatalogue/RichEditSupport.h"

#include "platform/system/Ole.h"

HMODULE RichEditLibraryHandle = nullptr;

// Only an initialisation that took place is balanced at exit; a failed one left nothing to undo.
static bool OleInitializedByRichEdit = false;

void InitRichEditSupport() {
  OleInitializedByRichEdit = OleInitialize(nullptr) >= 0;
  LoadRichEditLibrary();
}

void LoadRichEditLibrary() { RichEditLibraryHandle = LoadLibraryA("RICHED20.DLL"); }

void DoneRichEditSupport() {
  if (RichEditLibraryHandle != nullptr) {
    FreeLibrary(RichEditLibraryHandle);
    RichEditLibraryHandle = nullptr;
  }
  if (OleInitializedByRichEdit) {
    OleUninitialize();
    OleInitializedByRichEdit = false;
  }
}
