// TQDBSelectCombo: a drop-down list of the databases configured in QV32.INI.
#pragma once

#include <string>

#include "platform/ui/StdCtrls.h"

// Fills itself from QV32.INI when it is made and selects the first entry; entry i stands for key
// "DB" + i of section DBNAMES and for section "DB" + i + ".PARAMS" of that file. On request it selects
// instead the database that the current user's registry names as the last one used.
class TQDBSelectCombo : public TComboBox {
  Q_CLASS(TQDBSelectCombo, TComboBox)

  // Loads the names before any property of a form resource is applied, so that a resource that
  // switches DefaultLastDatabase on finds the list filled. A combo made in design state (its own or
  // its owner's) reads neither file nor registry.
  explicit TQDBSelectCombo(TComponent* owner);

  bool DefaultLastDatabase() const { return FDefaultLastDatabase; }
  // Switching the option on reads the registry value Software\Quorvan-32\DatabaseName of the current
  // user (creating those keys when missing) and selects the first entry spelled exactly so;
  // switching it off leaves the selection as it is.
  void SetDefaultLastDatabase(bool value);

  // The path of QV32.INI: beside the program when it lies there, else in the BIN folder of the base
  // folder (whether or not it lies there).
  std::string GetIniFileName() const;
  // Appends the names of section DBNAMES, keys DB0, DB1, ... up to the first empty one.
  void LoadDatabaseNames();

 private:
  bool Designing() const;

  bool FDefaultLastDatabase = false;
};

// Makes TQDBSelectCombo known to form resources.
void RegisterQDBSelectCombo();
