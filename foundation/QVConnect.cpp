#include "foundation/QVConnect.h"

#include <cstring>
#include <vector>

#include "platform/components/TypeInfo.h"
#include "platform/data/Database.h"
#include "platform/system/AnsiStrings.h"
#include "platform/system/Dialogs.h"
#include "platform/system/Environment.h"
#include "platform/system/RegistryStore.h"

const TMetaClass& TQConnect::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TQConnect>("TQConnect");
  return cls;
}

namespace {

const char* const ComputerNameKey = "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName";

void ShowRegistryFailure(const std::string& call, LONG code) {
  MessageDlg(call + " fails with " + IntToStr(code), mtError, {mbOK}, 0);
}

// True when the variable is set to a non-empty value. The value is read through a 33-character
// buffer first; a longer one is read again whole rather than lost.
bool ReadEnvironment(const char* name, std::string& value) {
  std::vector<char> buffer(33, '\0');
  DWORD length = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length >= buffer.size()) {
    buffer.assign(length, '\0');
    length = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length >= buffer.size()) return false;  // changed in between: take it as unreadable
  }
  if (length == 0) return false;
  value.assign(buffer.data(), length);
  return true;
}

const char* const UserNameWarning =
    "Cannot read environment variable \"USERNAME\".\r\n"
    "This will cause the default printers for this\r\n"
    "workstation to be set incorrectly.\r\n"
    "\r\n"
    "Please ensure that your Terminal Server and Client\r\n"
    "software are configured correctly.";

}  // namespace

void TQConnect::GetWorkstationName(bool& IsTerminalSession, std::string& Name) {
  Name = "UNKNOWN";
  IsTerminalSession = false;

  HKEY key = 0;
  LONG code = RegOpenKeyExA(HKEY_LOCAL_MACHINE, ComputerNameKey, 0, KEY_QUERY_VALUE, &key);
  if (code != ERROR_SUCCESS) {
    ShowRegistryFailure("RegOpenKeyExA", code);
    return;
  }
  char buffer[33] = {};
  DWORD size = 32;
  DWORD type = REG_NONE;
  code = RegQueryValueExA(key, "ComputerName", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  if (code != ERROR_SUCCESS) {
    RegCloseKey(key);
    ShowRegistryFailure("RegQueryValueExA", code);
    return;
  }
  buffer[size] = '\0';
  code = RegCloseKey(key);
  if (code != ERROR_SUCCESS) {
    ShowRegistryFailure("RegCloseKey", code);
    return;
  }
  Name = buffer;

  std::string value;
  if (ReadEnvironment("WINSTATIONNAME", value) && UpperCase(value) != "CONSOLE") {
    IsTerminalSession = true;
    if (ReadEnvironment("USERNAME", value))
      Name = value;
    else
      MessageDlg(UserNameWarning, mtWarning, {mbOK}, 0);
  }
  if (!IsTerminalSession && ReadEnvironment("CLIENTNAME", value) && UpperCase(value) != "CONSOLE") {
    IsTerminalSession = true;
    Name = value;
  }
}

std::string TQConnect::DecodePassword(const std::string& text) {
  if (text.empty() || text[0] != '#') return text;
  std::string result = text.substr(1);
  for (char& c : result) c = static_cast<char>(static_cast<unsigned char>(c) - 2);
  return result;
}

void PrepareDatabaseParams(TDatabase* database) {
  if (database == nullptr) return;
  bool isTerminalSession = false;
  std::string name;
  TQConnect::GetWorkstationName(isTerminalSession, name);
  const std::string workstation = UpperCase(name);
  const std::string serverPrefix = "SERVER NAME=" + workstation + ":";

  TStringList& params = database->Params();
  const int count = params.Count();
  for (int i = 0; i < count; ++i) {
    std::string line = params[i];
    if (StartsWith(UpperCase(line), serverPrefix)) {
      // The key keeps its own spelling; only the name and its colon go.
      line.erase(12, workstation.size() + 1);
      params.Put(i, line);
    }
    if (StartsWith(UpperCase(line), "PASSWORD="))
      params.Put(i, "password=" + TQConnect::DecodePassword(line.substr(9)));
  }
}
