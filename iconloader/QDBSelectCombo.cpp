#include "iconloader/QDBSelectCombo.h"

#include "iconloader/QUBaseFolder.h"
#include "platform/components/TypeInfo.h"
#include "platform/system/AnsiStrings.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Paths.h"
#include "platform/system/Registry.h"
#include "platform/system/RunReport.h"

namespace {

const char* const IniName = "QV32.INI";

}  // namespace

const TMetaClass& TQDBSelectCombo::StaticClass() {
  // DefaultLastDatabase declares no default, so a resource always stores it.
  static const TMetaClass cls = TClassBuilder<TQDBSelectCombo>("TQDBSelectCombo")
                                    .Boolean("DefaultLastDatabase", &TQDBSelectCombo::DefaultLastDatabase,
                                             &TQDBSelectCombo::SetDefaultLastDatabase);
  return cls;
}

TQDBSelectCombo::TQDBSelectCombo(TComponent* owner) : TComboBox(owner) {
  FDefaultLastDatabase = false;
  if (Designing()) return;
  LoadDatabaseNames();
  SetItemIndex(Items().Count() > 0 ? 0 : -1);
}

bool TQDBSelectCombo::Designing() const {
  return InState(csDesigning) || (Owner() != nullptr && Owner()->InState(csDesigning));
}

void TQDBSelectCombo::SetDefaultLastDatabase(bool value) {
  if (value == FDefaultLastDatabase) return;
  FDefaultLastDatabase = value;
  if (!value || Designing()) return;

  std::string name;
  {
    TRegistry registry;
    if (registry.OpenKey("Software", true) && registry.OpenKey("Quorvan-32", true)) {
      try {
        name = registry.ReadString("DatabaseName");
      } catch (const ERegistryException&) {
        // A value of another type names no database.
      }
    }
  }
  if (name.empty()) return;
  for (int i = 0; i < Items().Count(); ++i) {
    if (Items()[i] == name) {
      SetItemIndex(i);
      return;
    }
  }
}

std::string TQDBSelectCombo::GetIniFileName() const {
  // The system writes these names in capitals; on this file system they are found in any case.
  const std::string programFolder = LoaderProgramFolder();
  const std::string besideProgram = programFolder + FindNameIgnoringCase(programFolder, IniName);
  if (FileExists(besideProgram)) return besideProgram;
  const std::string baseFolder = GetBaseFolder();
  const std::string binFolder = baseFolder + FindNameIgnoringCase(baseFolder, "BIN") + PathDelim;
  return binFolder + FindNameIgnoringCase(binFolder, IniName);
}

void TQDBSelectCombo::LoadDatabaseNames() {
  if (Designing()) return;
  const TIniFile ini(GetIniFileName());
  int n = 0;
  for (;; ++n) {
    const std::string name = ini.ReadString("DBNAMES", "DB" + IntToStr(n), "");
    if (name.empty()) break;
    Items().Add(name);
  }
  if (n > 0) return;
  // Every load would find nothing to load into: say where the list was looked for.
  if (!FileExists(ini.FileName())) {
    ReportSkipped("no database list: no QV32.INI in " + LoaderProgramFolder() + " or " +
                  ExtractFilePath(ini.FileName()));
  } else if (!ini.Readable()) {
    ReportSkipped("no database list: " + ini.FileName() + " cannot be read");
  } else {
    ReportSkipped("no database list: " + ini.FileName() + " has no DB0 in [DBNAMES]");
  }
}

void RegisterQDBSelectCombo() { RegisterClass(TQDBSelectCombo::StaticClass()); }
