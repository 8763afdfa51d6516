#include "platform/components/Component.h"

#include <algorithm>

#include "platform/components/TypeInfo.h"
#include "platform/system/AnsiStrings.h"

const TMetaClass& TComponent::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TComponent>("TComponent")
                                    .Integer("Tag", &TComponent::Tag, &TComponent::SetTag)
                                    .Default(0);
  return cls;
}

bool IsValidIdent(std::string_view name) {
  if (name.empty()) return true;
  auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!isAlpha(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [&](char c) { return isAlpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Handlers of this object must not run once any part of it has gone.
  EndLiveness();
  FComponentState.Include(csDestroying);
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) {
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  }
  return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  auto it = std::find(FOwner->FComponents.begin(), FOwner->FComponents.end(), this);
  return it == FOwner->FComponents.end() ? -1 : static_cast<int>(it - FOwner->FComponents.begin());
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!IsValidIdent(name)) throw EComponentError("'" + name + "' is not a valid component name");
  if (FOwner != nullptr && !name.empty()) {
    TComponent* other = FOwner->FindComponent(name);
    if (other != nullptr && other != this) {
      throw EComponentError("A component named " + name + " already exists");
    }
  }
  SetReference(false);
  FName = name;
  SetReference(true);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents) {
    if (SameText(c->FName, name)) return c;
  }
  return nullptr;
}

void TComponent::SetComponentStateFlag(TComponentStateFlag flag, bool on) {
  if (on) {
    FComponentState.Include(flag);
  } else {
    FComponentState.Exclude(flag);
  }
}

void TComponent::InsertComponent(TComponent* component) {
  if (component == nullptr || component->FOwner == this) return;
  if (!component->FName.empty() && FindComponent(component->FName) != nullptr) {
    throw EComponentError("A component named " + component->FName + " already exists");
  }
  if (component->FOwner != nullptr) component->FOwner->RemoveComponent(component);
  FComponents.push_back(component);
  component->FOwner = this;
  component->SetReference(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (component == nullptr || component->FOwner != this) return;
  // The owner's override hears of it, and passes it on to the owned siblings that may refer to it.
  if (!InState(csDestroying)) Notification(component, opRemove);
  component->SetReference(false);
  FComponents.erase(std::find(FComponents.begin(), FComponents.end(), component));
  component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back();
    RemoveComponent(last);
    delete last;
  }
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::Notification(TComponent* component, TOperation operation) {
  // An owned component's removal reaches its own owned components, which may refer to it.
  if (operation == opRemove && component != nullptr) {
    for (TComponent* c : FComponents) {
      if (c != component && !c->InState(csDestroying)) c->Notification(component, operation);
    }
  }
}

void TComponent::SetParentComponent(TComponent* /*parent*/) {}

void TComponent::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
  if (root != this) return;
  for (TComponent* c : FComponents) {
    if (!c->HasParent()) children.push_back(c);
  }
}

void TComponent::SetReference(bool enable) {
  if (FOwner == nullptr || FName.empty()) return;
  const TPublishedField* field = FOwner->ClassType().FindField(FName);
  if (field != nullptr) field->Assign(*FOwner, enable ? this : nullptr);
}
