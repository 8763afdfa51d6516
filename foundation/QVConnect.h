// Workstation identity and the preparation of a database connection's parameters for this workstation.
#pragma once

#include <string>

#include "platform/components/Component.h"

class TDatabase;

// The connection component the shared data module holds; its routines need no instance.
class TQConnect : public TComponent {
  Q_CLASS(TQConnect, TComponent)

  using TComponent::TComponent;

  // The variable that holds the working connection, set by the import dialog when it is loaded.
  TDatabase** FDatabaseRef = nullptr;

  // The computer name from the registry, or for a terminal session the user's or the client's
  // name. "UNKNOWN" (and no terminal session) when the registry cannot be read; may show boxes.
  static void GetWorkstationName(bool& IsTerminalSession, std::string& Name);
  // A password written as '#' and its characters raised by 2 back in plain; others unchanged.
  static std::string DecodePassword(const std::string& text);
};

// Rewrites the connection's parameter lines in place for this workstation: a server path that begins
// with this workstation's name and a colon loses them, and every password line becomes
// "password=" + the plain password.
void PrepareDatabaseParams(TDatabase* database);
