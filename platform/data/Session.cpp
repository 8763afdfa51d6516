#include "platform/data/Session.h"

#include <algorithm>
#include <string>

#include "platform/data/DBErrors.h"
#include "platform/data/Database.h"
#include "platform/data/FbClient.h"
#include "platform/system/AnsiStrings.h"
#include "platform/system/TerminationSignals.h"

TSession::TSession() {
  AddTerminationEndStep([this] {
    AbandonOpenDatabases();
    fbclient::ShutdownEngine();
  });
}

TDatabase* TSession::FindDatabase(std::string_view databaseName) const {
  if (databaseName.empty()) return nullptr;
  for (TDatabase* database : FDatabases)
    if (SameText(database->DatabaseName(), databaseName)) return database;
  return nullptr;
}

void TSession::AddDatabase(TDatabase* database, std::string_view databaseName) {
  TDatabase* holder = FindDatabase(databaseName);
  if (holder != nullptr && holder != database)
    throw EDatabaseError("Duplicate database name '" + std::string(databaseName) + "'");
  if (std::find(FDatabases.begin(), FDatabases.end(), database) == FDatabases.end())
    FDatabases.push_back(database);
}

void TSession::RemoveDatabase(TDatabase* database) {
  FDatabases.erase(std::remove(FDatabases.begin(), FDatabases.end(), database), FDatabases.end());
}

void TSession::DatabaseOpened(TDatabase* database) {
  if (std::find(FOpen.begin(), FOpen.end(), database) == FOpen.end()) FOpen.push_back(database);
}

void TSession::DatabaseClosed(TDatabase* database) {
  FOpen.erase(std::remove(FOpen.begin(), FOpen.end(), database), FOpen.end());
}

void TSession::AbandonOpenDatabases() {
  for (TDatabase* database : std::vector<TDatabase*>(FOpen)) database->Abandon();
}

TSession& Session() {
  static TSession session;
  return session;
}

void ShutdownDatabaseEngine() { fbclient::ShutdownEngine(); }
