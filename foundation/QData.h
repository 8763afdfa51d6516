// The shared data module of the import program: its database connections, its connection
// component and its image lists, made from the module's stored form.
#pragma once

#include "foundation/QImageList.h"
#include "foundation/QVConnect.h"
#include "platform/components/DataModule.h"
#include "platform/data/Database.h"

class TdmData : public TDataModule {
  Q_CLASS(TdmData, TDataModule)

  // Reads the stored form (connections with their designed parameter lists, the image lists,
  // emptied once loaded) and then runs DataModuleCreate. No connection is open afterwards.
  explicit TdmData(TComponent* owner);
  // Clears dmData when it refers to this module.
  ~TdmData() override;

  // The working database: the import opens it once per configured database.
  TDatabase* dbDataBase = nullptr;
  TQConnect* coConnection = nullptr;
  // Two connections that no operation opens.
  TDatabase* dbAuxiliary = nullptr;
  TDatabase* dbBlob = nullptr;
  TQ24x24ImageList* im24x24 = nullptr;
  TQ16x16ImageList* im16x16 = nullptr;
  TQ20x20ImageList* im20x20 = nullptr;

  // The creation handler: closes dbDataBase and dbAuxiliary when they are connected, ignoring
  // errors of the database engine.
  void DataModuleCreate(TObject* Sender);
};

// The one data module, set by the program's start-up (Application->CreateForm(dmData)).
extern TdmData* dmData;

// The database name by which the import's queries reach dmData->dbDataBase (database names match
// without regard to letter case).
inline constexpr char WorkingDatabaseName[] = "dbDatabase";

// Registers what the module's stored form names: TdmData, TDatabase and TQuery, TQConnect and the
// image list classes.
void RegisterQDataClasses();
