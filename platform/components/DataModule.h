// TDataModule: a non-visual container of components, built from its form resource.
#pragma once

#include "platform/components/Component.h"
#include "platform/components/Events.h"

// A derived module names its resource with TClassBuilder::Resource. Construction (NewComponent or
// Application->CreateForm) reads the resources of its class chain, base first, calls Loaded on every
// component read, and then runs OnCreate inside the creation-handler guard, so an exception there is
// shown by the application's default display and the module is created all the same. Whether
// OldCreateOrder is True or False the handler runs once, after loading, before the creator regains control.
class TDataModule : public TComponent {
  Q_CLASS(TDataModule, TComponent)

  explicit TDataModule(TComponent* owner);

  void AfterConstruction() override;

  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }

  // The designer's position and size of the module; kept so resources read and write them.
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  TNotifyEvent OnCreate;

 protected:
  // Runs OnCreate with the module as sender inside the guard.
  virtual void DoCreate();

 private:
  bool FOldCreateOrder = false;
};
