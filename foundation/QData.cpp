#include "foundation/QData.h"

#include "platform/components/TypeInfo.h"
#include "platform/data/DBErrors.h"
#include "platform/data/DataClasses.h"

extern const char FormResource_QData[];

TdmData* dmData = nullptr;

const TMetaClass& TdmData::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TdmData>("TdmData")
                                    .Field("dbDataBase", &TdmData::dbDataBase)
                                    .Field("coConnection", &TdmData::coConnection)
                                    .Field("dbAuxiliary", &TdmData::dbAuxiliary)
                                    .Field("dbBlob", &TdmData::dbBlob)
                                    .Field("im24x24", &TdmData::im24x24)
                                    .Field("im16x16", &TdmData::im16x16)
                                    .Field("im20x20", &TdmData::im20x20)
                                    .Method("DataModuleCreate", &TdmData::DataModuleCreate)
                                    .Resource(FormResource_QData);
  return cls;
}

TdmData::TdmData(TComponent* owner) : TDataModule(owner) {}

TdmData::~TdmData() {
  if (dmData == this) dmData = nullptr;
}

namespace {

void CloseIgnoringEngineErrors(TDatabase* database) {
  if (database == nullptr || !database->Connected()) return;
  try {
    database->Close();
  } catch (const EDBEngineError&) {
    // A connection left over from the designer may be gone already; it is closed all the same.
  }
}

}  // namespace

void TdmData::DataModuleCreate(TObject* /*Sender*/) {
  CloseIgnoringEngineErrors(dbDataBase);
  CloseIgnoringEngineErrors(dbAuxiliary);
}

void RegisterQDataClasses() {
  RegisterDataClasses();
  RegisterQImageListClasses();
  RegisterClasses({&TQConnect::StaticClass(), &TdmData::StaticClass()});
}
