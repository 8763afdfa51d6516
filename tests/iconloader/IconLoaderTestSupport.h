// What the icon loader's tests share: a product folder laid out in a temporary folder, with the
// program folder, the temporary folder and the registry pointed into it.
#pragma once

#include <string>
#include <vector>

#include "iconloader/QUBaseFolder.h"
#include "tests/platform/system/ScopedEnv.h"
#include "tests/support/TempFolder.h"

// The icon table as the product's databases have it, and the query that reads it back in key order.
inline const char* const IconSchema =
    "CREATE TABLE QVICONS ("
    "  ICONKEY VARCHAR(15) NOT NULL,"
    "  ICONBLOB BLOB SUB_TYPE 0,"
    "  PRIMARY KEY (ICONKEY))";
inline const char* const SelectIcons = "SELECT ICONKEY, ICONBLOB FROM QVICONS ORDER BY ICONKEY";

// Points the loader at a program folder for one test and gives the running program's folder back.
class TScopedProgramFolder {
 public:
  explicit TScopedProgramFolder(const std::string& folder) { SetLoaderProgramFolder(folder); }
  ~TScopedProgramFolder() { SetLoaderProgramFolder(""); }
  TScopedProgramFolder(const TScopedProgramFolder&) = delete;
  TScopedProgramFolder& operator=(const TScopedProgramFolder&) = delete;
};

// A QV32.INI text: section DBNAMES with the names as DB0, DB1, ... and, per database, a parameter
// section whose SERVER NAME is the matching entry of servers (none when servers is shorter).
inline std::string Qv32IniText(const std::vector<std::string>& names,
                               const std::vector<std::string>& servers) {
  std::string text = "[DBNAMES]\r\n";
  for (size_t i = 0; i < names.size(); ++i) text += "DB" + std::to_string(i) + "=" + names[i] + "\r\n";
  for (size_t i = 0; i < servers.size(); ++i) {
    text += "\r\n[DB" + std::to_string(i) + ".PARAMS]\r\n";
    text += "SERVER NAME=" + servers[i] + "\r\n";
    text += "USER NAME=SYSDBA\r\n";
  }
  return text;
}

// A temporary folder that is also the temporary folder of the platform (TMP) and holds the registry
// store, so that nothing a test does reaches the user's own.
class TIconLoaderSandbox {
 public:
  // The temporary folder must exist: later temporary folders of the test are made in it.
  TIconLoaderSandbox() { Root.Write("tmp/.keep", ""); }

  TempFolder Root;
  TScopedEnv Tmp{"TMP", Root.File("tmp")};
  TScopedEnv Registry{"QV_REGISTRY_DIR", Root.File("registry")};

  std::string TmpFolder() const { return Root.File("tmp") + "/"; }
};
