// TRegistry: opens keys of one hive, creating them on request, and reads string values.
#pragma once

#include <string>

#include "platform/system/Exceptions.h"
#include "platform/system/RegistryStore.h"

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

class TRegistry {
 public:
  // Starts at the current user's hive with no key open.
  TRegistry() = default;
  ~TRegistry() { CloseKey(); }
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  // Closes the open key and changes the hive.
  void SetRootKey(HKEY rootKey);
  // The open key, 0 when none.
  HKEY CurrentKey() const { return FCurrentKey; }
  // The open key's path below the hive.
  const std::string& CurrentPath() const { return FCurrentPath; }

  // Opens key: below the open key, or below the hive when none is open or key begins with '\'.
  // With canCreate a missing key is created. True when the key is now the open key.
  bool OpenKey(const std::string& key, bool canCreate);
  // The string value name of the open key; "" when it does not exist. A value that is not a string
  // raises ERegistryException "Invalid data type for '<name>'".
  std::string ReadString(const std::string& name);
  void CloseKey();

 private:
  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = 0;
  std::string FCurrentPath;
};
