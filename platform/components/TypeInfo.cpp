#include "platform/components/TypeInfo.h"

#include <map>

#include "platform/components/Component.h"
#include "platform/system/AnsiStrings.h"

int TEnumInfo::Ordinal(std::string_view identifier) const {
  for (size_t i = 0; i < Names.size(); ++i) {
    if (SameText(Names[i], identifier)) return static_cast<int>(i);
  }
  return -1;
}

bool TMetaClass::InheritsFrom(const TMetaClass& other) const {
  for (const TMetaClass* c = this; c != nullptr; c = c->FParent) {
    if (c == &other) return true;
  }
  return false;
}

bool TMetaClass::InheritsFromName(std::string_view name) const {
  for (const TMetaClass* c = this; c != nullptr; c = c->FParent) {
    if (SameText(c->FClassName, name)) return true;
  }
  return false;
}

std::vector<const TPropInfo*> TMetaClass::Properties() const {
  std::vector<const TPropInfo*> result;
  if (FParent != nullptr) result = FParent->Properties();
  for (const TPropInfo& p : FProperties) {
    bool replaced = false;
    for (const TPropInfo*& inheritedProp : result) {
      if (SameText(inheritedProp->Name, p.Name)) {
        inheritedProp = &p;
        replaced = true;
        break;
      }
    }
    if (!replaced) result.push_back(&p);
  }
  return result;
}

const TPropInfo* TMetaClass::FindProperty(std::string_view name) const {
  for (const TMetaClass* c = this; c != nullptr; c = c->FParent) {
    for (const TPropInfo& p : c->FProperties) {
      if (SameText(p.Name, name)) return &p;
    }
  }
  return nullptr;
}

const TMethodInfo* TMetaClass::FindMethod(std::string_view name) const {
  for (const TMetaClass* c = this; c != nullptr; c = c->FParent) {
    for (const TMethodInfo& m : c->FMethods) {
      if (SameText(m.Name, name)) return &m;
    }
  }
  return nullptr;
}

const TPublishedField* TMetaClass::FindField(std::string_view name) const {
  for (const TMetaClass* c = this; c != nullptr; c = c->FParent) {
    for (const TPublishedField& f : c->FFields) {
      if (SameText(f.Name, name)) return &f;
    }
  }
  return nullptr;
}

TComponent* TMetaClass::CreateInstance(TComponent* owner) const {
  if (!FCreate) throw EComponentError("Cannot create an instance of " + FClassName);
  TComponent* instance = FCreate(owner);
  try {
    instance->AfterConstruction();
  } catch (...) {
    delete instance;
    throw;
  }
  return instance;
}

namespace {

struct TLessText {
  bool operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }
};

// Filled only by explicit registration calls; empty until a program registers its classes.
std::map<std::string, const TMetaClass*, TLessText>& Registry() {
  static std::map<std::string, const TMetaClass*, TLessText> registry;
  return registry;
}

}  // namespace

void RegisterClass(const TMetaClass& cls) { Registry()[cls.ClassName()] = &cls; }

void RegisterClasses(std::initializer_list<const TMetaClass*> classes) {
  for (const TMetaClass* cls : classes) RegisterClass(*cls);
}

const TMetaClass* GetClass(std::string_view name) {
  auto it = Registry().find(std::string(name));
  return it == Registry().end() ? nullptr : it->second;
}

const TMetaClass& FindClass(std::string_view name) {
  const TMetaClass* cls = GetClass(name);
  if (cls == nullptr) throw EReadError("Class " + std::string(name) + " not found");
  return *cls;
}
