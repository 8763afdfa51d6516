#include "platform/components/DataModule.h"

#include "platform/components/Application.h"
#include "platform/components/FormReader.h"
#include "platform/components/TypeInfo.h"

const TMetaClass& TDataModule::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TDataModule>("TDataModule")
          .Boolean("OldCreateOrder", &TDataModule::OldCreateOrder, &TDataModule::SetOldCreateOrder)
          .Event("OnCreate", &TDataModule::OnCreate)
          .Integer("Left", &TDataModule::Left, &TDataModule::Left)
          .Integer("Top", &TDataModule::Top, &TDataModule::Top)
          .Integer("Height", &TDataModule::Height, &TDataModule::Height)
          .Integer("Width", &TDataModule::Width, &TDataModule::Width);
  return cls;
}

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) {}

void TDataModule::AfterConstruction() {
  TComponent::AfterConstruction();
  InitInheritedComponent(this, TDataModule::StaticClass());
  DoCreate();
}

void TDataModule::DoCreate() { RunCreationHandler(this, OnCreate); }
