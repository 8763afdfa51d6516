#include "platform/system/Registry.h"

#include <vector>

void TRegistry::SetRootKey(HKEY rootKey) {
  CloseKey();
  FRootKey = rootKey;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  const bool relative = FCurrentKey != 0 && (key.empty() || key[0] != '\\');
  const HKEY parent = relative ? FCurrentKey : FRootKey;
  HKEY opened = 0;
  const LONG code = canCreate ? RegCreateKeyExA(parent, key.c_str(), &opened)
                              : RegOpenKeyExA(parent, key.c_str(), 0, KEY_ALL_ACCESS, &opened);
  if (code != ERROR_SUCCESS) return false;
  std::string path = relative && !FCurrentPath.empty() ? FCurrentPath + "\\" : std::string();
  for (const char c : key) {
    if (c == '\\' && (path.empty() || path.back() == '\\')) continue;
    path += c;
  }
  while (!path.empty() && path.back() == '\\') path.pop_back();
  CloseKey();
  FCurrentKey = opened;
  FCurrentPath = path;
  return true;
}

std::string TRegistry::ReadString(const std::string& name) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExA(FCurrentKey != 0 ? FCurrentKey : FRootKey, name.c_str(), nullptr, &type, nullptr,
                       &size) != ERROR_SUCCESS)
    return std::string();
  if (type != REG_SZ) throw ERegistryException("Invalid data type for '" + name + "'");
  std::vector<BYTE> data(size + 1);
  if (RegQueryValueExA(FCurrentKey != 0 ? FCurrentKey : FRootKey, name.c_str(), nullptr, &type, data.data(),
                       &size) != ERROR_SUCCESS)
    throw ERegistryException("Failed to get data for '" + name + "'");
  return std::string(reinterpret_cast<const char*>(data.data()), size > 0 ? size - 1 : 0);
}

void TRegistry::CloseKey() {
  if (FCurrentKey != 0) RegCloseKey(FCurrentKey);
  FCurrentKey = 0;
  FCurrentPath.clear();
}
