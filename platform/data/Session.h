// The default session: the one place where queries find their connection by database name.
#pragma once

#include <string_view>
#include <vector>

class TDatabase;

class TSession {
 public:
  // Registers the end step that, when a termination signal ends the program, runs
  // AbandonOpenDatabases and then ends the database engine.
  TSession();

  // The connection of that DatabaseName, compared without regard to case; nullptr when none.
  TDatabase* FindDatabase(std::string_view databaseName) const;
  int DatabaseCount() const { return static_cast<int>(FDatabases.size()); }

  // When a termination signal ends the program: every open connection's transactions are rolled back
  // (nothing half-written is committed) and it is detached, named or not.
  void AbandonOpenDatabases();

 private:
  friend class TDatabase;
  // A connection is listed from its opening to its closing.
  void DatabaseOpened(TDatabase* database);
  void DatabaseClosed(TDatabase* database);
  // A connection joins the session when it gets a name and leaves it when renamed or destroyed.
  // Raises EDatabaseError "Duplicate database name 'X'" when another connection holds the name.
  void AddDatabase(TDatabase* database, std::string_view databaseName);
  void RemoveDatabase(TDatabase* database);

  std::vector<TDatabase*> FDatabases;
  std::vector<TDatabase*> FOpen;
};

// The process's default session ("Default"), made on first use (at the latest when a connection opens).
TSession& Session();

// Ends the database engine's work when the program ends: call it once the last connection is closed,
// as the last step of main. Connections still attached are cut off.
void ShutdownDatabaseEngine();
