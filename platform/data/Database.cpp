#include "platform/data/Database.h"

#include "platform/components/TypeInfo.h"
#include "platform/data/DBErrors.h"
#include "platform/data/DatabaseConnection.h"
#include "platform/data/Session.h"
#include "platform/system/AnsiStrings.h"

const TMetaClass& TDatabase::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TDatabase>("TDatabase")
          .Boolean("Connected", &TDatabase::Connected, &TDatabase::SetConnected)
          .Default(false)
          .String("DatabaseName", &TDatabase::DatabaseName, &TDatabase::SetDatabaseName)
          .String("DriverName", &TDatabase::DriverName, &TDatabase::SetDriverName)
          .Boolean("LoginPrompt", &TDatabase::LoginPrompt, &TDatabase::SetLoginPrompt)
          .Default(true)
          .Strings("Params", static_cast<TStringList& (TDatabase::*)()>(&TDatabase::Params))
          .String("SessionName", &TDatabase::SessionName, &TDatabase::SetSessionName);
  return cls;
}

TDatabase::TDatabase(TComponent* owner) : TComponent(owner) {}

TDatabase::~TDatabase() {
  try {
    Close();
  } catch (const Exception&) {
    // Nothing can report it any more; the server has dropped the connection in any case.
  }
  Session().RemoveDatabase(this);
}

void TDatabase::SetDatabaseName(const std::string& name) {
  if (name == FDatabaseName) return;
  if (!name.empty()) Session().AddDatabase(this, name);
  if (name.empty()) Session().RemoveDatabase(this);
  FDatabaseName = name;
}

void TDatabase::SetConnected(bool connected) {
  if (InState(csLoading)) {
    FStreamedConnected = connected;
    return;
  }
  if (connected)
    Open();
  else
    Close();
}

void TDatabase::Loaded() {
  TComponent::Loaded();
  if (FStreamedConnected) {
    FStreamedConnected = false;
    Open();
  }
}

namespace {

fbclient::TAttachParams ReadConnectionParams(const TStringList& list, bool& autoCommit) {
  fbclient::TAttachParams params;
  bool seenServer = false, seenUser = false, seenPassword = false, seenMode = false;
  autoCommit = true;
  for (const std::string& line : list.Lines()) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = Trim(line.substr(0, equals));
    const std::string value = line.substr(equals + 1);
    if (SameText(key, "SERVER NAME") && !seenServer) {
      params.ConnectionString = Trim(value);
      seenServer = true;
    } else if (SameText(key, "USER NAME") && !seenUser) {
      params.UserName = Trim(value);
      seenUser = true;
    } else if (SameText(key, "PASSWORD") && !seenPassword) {
      params.Password = value;
      seenPassword = true;
    } else if (SameText(key, "SQLPASSTHRU MODE") && !seenMode) {
      autoCommit = UpperCase(value).find("NOAUTOCOMMIT") == std::string::npos;
      seenMode = true;
    }
  }
  return params;
}

}  // namespace

void TDatabase::Open() {
  if (Connected()) return;
  bool autoCommit = true;
  const fbclient::TAttachParams params = ReadConnectionParams(FParams, autoCommit);
  FConnection = std::make_unique<TDatabaseConnection>(fbclient::Attach(params), autoCommit);
  Session().DatabaseOpened(this);
}

void TDatabase::Close() {
  if (!Connected()) return;
  std::unique_ptr<TDatabaseConnection> connection = std::move(FConnection);
  Session().DatabaseClosed(this);
  connection->Close();
}

void TDatabase::Abandon() {
  if (!Connected()) return;
  std::unique_ptr<TDatabaseConnection> connection = std::move(FConnection);
  Session().DatabaseClosed(this);
  connection->Abandon();
}

TDatabaseConnection& TDatabase::Connection() {
  if (!FConnection) throw EDatabaseError("Cannot perform this operation on a closed database");
  return *FConnection;
}

void TDatabase::StartTransaction() { Connection().StartTransaction(); }

void TDatabase::Commit() { Connection().Commit(); }

void TDatabase::Rollback() { Connection().Rollback(); }

bool TDatabase::InTransaction() const { return FConnection && FConnection->InTransaction(); }
