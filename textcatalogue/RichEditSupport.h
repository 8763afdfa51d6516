// The rich-text editor's start-up and exit: OLE and the system's rich-edit library for the program's run.
#pragma once

#include "platform/system/Libraries.h"

// The loaded rich-edit library; empty before start-up, when loading failed, and after exit.
extern HMODULE RichEditLibraryHandle;

// Start-up step: initialises OLE, then loads the library. Neither result stops the program: a system
// without the library starts and ends as usual.
void InitRichEditSupport();
void LoadRichEditLibrary();
// Exit step: releases the library, if one was loaded, then balances the start-up's OLE initialisation.
void DoneRichEditSupport();
