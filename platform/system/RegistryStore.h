// The registry calls the programs make, over a small store of keys and values kept in text files.
//
// Each hive is one file in the store folder: HKEY_LOCAL_MACHINE.reg and HKEY_CURRENT_USER.reg.
// The folder is $QV_REGISTRY_DIR when that is set and not empty, else $XDG_CONFIG_HOME/quorvan/registry,
// else $HOME/.config/quorvan/registry. A missing file is an empty hive. The file is text, one item a line:
//
//   ; a comment (also any blank line)
//   [Software\Quorvan-32]              a key: its path below the hive, parts joined by '\'
//   "DatabaseName"="Main database"     a string value of the key above (\\ and \" escape those two)
//   "Count"=dword:0000001f             a 32-bit number, in hexadecimal
//   [-Software\Old]                    removes that key and the keys below it, as far as the lines
//                                      above gave them
//
// Key paths and value names match without regard to ASCII case. A key exists when it is written or
// lies above one that is. A UTF-8 byte-order mark at the start of the file is skipped. A file that is
// there but cannot be read (a folder in its place too) fails every call on its hive with
// ERROR_ACCESS_DENIED (ERROR_REGISTRY_IO_FAILED for another failure of the read), and one with a line
// that follows none of these forms fails them with ERROR_BADDB: neither passes for an empty hive.
//
// The computer name (HKEY_LOCAL_MACHINE "System\CurrentControlSet\Control\ComputerName\ComputerName",
// value "ComputerName") is answered from the host name when the store holds none: its first label,
// upper-cased and cut to 15 characters. A removal line at or above that key takes this answer away
// too, as on a machine whose registry has lost the key.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system/WinTypes.h"

using HKEY = uintptr_t;

constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// The hive file holds a line of no known form, or could not be read for a reason other than access.
constexpr LONG ERROR_BADDB = 1009;
constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_DWORD = 4;

// The computer name a host name gives: its first label, upper-cased, cut to 15 characters.
std::string ComputerNameFromHost(const std::string& hostName);

// The folder of the store's files, with its trailing delimiter.
std::string RegistryStoreFolder();

// Opens subKey below hKey (an open key or a hive). ERROR_FILE_NOT_FOUND when the key does not exist,
// ERROR_INVALID_HANDLE for a handle that is not open, ERROR_INVALID_PARAMETER without result.
LONG RegOpenKeyExA(HKEY hKey, const char* subKey, DWORD options, REGSAM samDesired, HKEY* result);
// Opens subKey below hKey, creating it (and the keys above it) in the store when missing.
// ERROR_ACCESS_DENIED when the store's file cannot be written.
LONG RegCreateKeyExA(HKEY hKey, const char* subKey, HKEY* result);
// Reads a value of an open key. The data size counts a string's terminating NUL. Without data, only
// the size and type are given back; data too small gives ERROR_MORE_DATA and the size needed.
// A missing value gives ERROR_FILE_NOT_FOUND.
LONG RegQueryValueExA(HKEY hKey, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* dataSize);
// Closes an open key; the hives need no closing. ERROR_INVALID_HANDLE for anything else.
LONG RegCloseKey(HKEY hKey);
