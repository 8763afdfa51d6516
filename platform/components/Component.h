// TComponent: the owner/owned tree of named components that forms and data modules are made of.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/components/Object.h"
#include "platform/components/Set.h"

enum TComponentStateFlag {
  csLoading,     // being read from a form resource; cleared by Loaded
  csReading,     // its own properties are being read right now
  csWriting,     // being written to a form resource
  csDestroying,  // its destruction has begun
  csDesigning,   // inside a form designer (never at run time in these programs)
  csAncestor,
  csUpdating,
  csFixups
};
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  Q_CLASS(TComponent, TPersistent)

  // Inserts the new component into owner's list (nullptr: no owner).
  explicit TComponent(TComponent* owner);
  // Frees the owned components, the last inserted first, then leaves the owner's list.
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // The owned component at index, in insertion order; EListError "List index out of bounds (i)".
  TComponent* Components(int index) const;
  // This component's index in its owner's list; -1 without owner.
  int ComponentIndex() const;

  const std::string& Name() const { return FName; }
  // Raises EComponentError "'<name>' is not a valid component name" for a name that is not an
  // identifier, and "A component named <name> already exists" when the owner has one (any case).
  void SetName(const std::string& name);

  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  // The owned component of that name, without regard to case; nullptr when none (or name empty).
  TComponent* FindComponent(std::string_view name) const;

  TComponentState ComponentState() const { return FComponentState; }
  bool InState(TComponentStateFlag flag) const { return FComponentState.Contains(flag); }
  // For the form reader (and tests standing in for a designer).
  void SetComponentStateFlag(TComponentStateFlag flag, bool on);

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, the last inserted first.
  void DestroyComponents();

  // Called once all of the component's stored properties have been read; clears csLoading.
  // An override calls the inherited one.
  virtual void Loaded();

  // The second half of construction, run once the constructor chain has completed, so that virtual
  // calls reach the most derived class: forms and data modules read their resources and run their
  // creation handlers here. NewComponent, TMetaClass::CreateInstance and Application->CreateForm call it.
  virtual void AfterConstruction() {}

  // Told of a component inserted into or removed from the owner of this one (and of this one's own
  // owned components); an override calls the inherited one.
  virtual void Notification(TComponent* component, TOperation operation);

  // The nesting of a resource: a visual control takes the enclosing control as its parent. The base
  // has no parent and ignores it.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent);
  // The components a resource nests directly inside this one when root is written: for the base,
  // when this is the root, the owned components that have no parent, in insertion order.
  virtual void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const;

 private:
  void SetReference(bool enable);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::string FName;
  int FTag = 0;
  TComponentState FComponentState;
};

// Creates a component in code and completes its construction (AfterConstruction); when that fails
// the component is freed and the exception goes on.
template <class T>
T* NewComponent(TComponent* owner) {
  T* component = new T(owner);
  try {
    component->AfterConstruction();
  } catch (...) {
    delete component;
    throw;
  }
  return component;
}

// A valid component name: empty, or a letter or '_' followed by letters, digits and '_'.
bool IsValidIdent(std::string_view name);
