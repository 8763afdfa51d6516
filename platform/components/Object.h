// TObject and TPersistent: the roots of the class hierarchy, with class identity and a liveness token.
#pragma once

#include <memory>
#include <string>

#include "platform/system/Exceptions.h"

class TMetaClass;

// Declares a class's identity; place it first in the class body (it leaves the body public):
//   class TFoo : public TComponent {
//     Q_CLASS(TFoo, TComponent)
//     ...
// and define `const TMetaClass& TFoo::StaticClass()` in the unit with a TClassBuilder (TypeInfo.h).
#define Q_CLASS(TThis, TBase)             \
 public:                                  \
  using inherited = TBase;                \
  static const TMetaClass& StaticClass(); \
  const TMetaClass& ClassType() const override { return StaticClass(); }

// The root of every class that has a class identity. Objects are identities: they are not copied.
class TObject {
 public:
  TObject();
  virtual ~TObject();
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  static const TMetaClass& StaticClass();
  virtual const TMetaClass& ClassType() const;

  const std::string& ClassName() const;
  bool InheritsFrom(const TMetaClass& cls) const;

  // A weak view of this object's life: it expires when the object starts being destroyed.
  // Bound events hold one, so that a handler of an object that is gone is never called.
  std::weak_ptr<const void> LivenessToken() const { return FAlive; }
  bool Alive() const { return FAlive != nullptr; }

 protected:
  // Ends the object's life as its bound events see it; destructors that run handlers of their
  // own class call this first. ~TObject calls it at the latest.
  void EndLiveness() { FAlive.reset(); }

 private:
  std::shared_ptr<const int> FAlive;
};

// The base of objects with published properties that a form resource can fill.
class TPersistent : public TObject {
  Q_CLASS(TPersistent, TObject)

  // Copies the state of source; the base raises EConvertError "Cannot assign a <source class> to a <class>".
  virtual void Assign(const TPersistent& source);
};

// The checked typecast: nullptr stays nullptr; an object of another class raises EInvalidCast
// "Invalid class typecast".
template <class T>
T* AsClass(TObject* object) {
  if (object == nullptr) return nullptr;
  T* result = dynamic_cast<T*>(object);
  if (result == nullptr) throw EInvalidCast();
  return result;
}

template <class T>
const T* AsClass(const TObject* object) {
  if (object == nullptr) return nullptr;
  const T* result = dynamic_cast<const T*>(object);
  if (result == nullptr) throw EInvalidCast();
  return result;
}

// True when object is non-null and of class T or a class derived from it.
template <class T>
bool IsClass(const TObject* object) {
  return dynamic_cast<const T*>(object) != nullptr;
}
