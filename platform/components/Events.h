// Events: methods bound to an object, as the class library's "procedure of object" types.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/components/Object.h"

template <class Signature>
class TEvent;

// An event holds the code of a handler, the object it is bound to and, when bound by name from a form
// resource, the handler's published name. It keeps only a weak view of the object's life: once the
// object starts being destroyed the event reads as unassigned and calling it does nothing, so a copy
// of an event that outlives its object (say in an application-wide instance) is never a dangling call.
template <class R, class... Args>
class TEvent<R(Args...)> {
 public:
  // The code as stored: the bound object comes first.
  using TCode = std::function<R(TObject* self, Args...)>;

  TEvent() = default;

  // Binds a method of an object: TEvent(this, &TfmMain::buOKClick).
  template <class C, class M>
  TEvent(C* object, R (M::*method)(Args...), std::string methodName = {})
      : FObject(object),
        FAlive(object != nullptr ? object->LivenessToken() : std::weak_ptr<const void>()),
        FCode([method](TObject* self, Args... args) -> R {
          return (static_cast<M*>(static_cast<C*>(self))->*method)(std::forward<Args>(args)...);
        }),
        FMethodName(std::move(methodName)),
        FBoundToObject(object != nullptr) {
    static_assert(std::is_base_of_v<M, C>, "the method must belong to the object's class");
  }

  // Binds code to an object; with object nullptr the code is not tied to any object's life.
  TEvent(TObject* object, TCode code, std::string methodName = {})
      : FObject(object),
        FAlive(object != nullptr ? object->LivenessToken() : std::weak_ptr<const void>()),
        FCode(std::move(code)),
        FMethodName(std::move(methodName)),
        FBoundToObject(object != nullptr) {}

  // True when there is code to call and its object is still alive.
  bool Assigned() const { return FCode && (!FBoundToObject || !FAlive.expired()); }
  explicit operator bool() const { return Assigned(); }

  // Calls the handler; an unassigned event (or one whose object is gone) does nothing and gives R().
  R operator()(Args... args) const {
    if (!Assigned()) {
      if constexpr (std::is_void_v<R>) {
        return;
      } else {
        return R();
      }
    }
    return FCode(FObject, std::forward<Args>(args)...);
  }

  // The bound object, or nullptr when there is none or it is gone.
  TObject* Object() const { return Assigned() ? FObject : nullptr; }
  // The published name the handler was bound by; empty for code bound without a name.
  const std::string& MethodName() const { return FMethodName; }
  const TCode& Code() const { return FCode; }

  void Clear() { *this = TEvent(); }

 private:
  TObject* FObject = nullptr;
  std::weak_ptr<const void> FAlive;
  TCode FCode;
  std::string FMethodName;
  bool FBoundToObject = false;
};

// The plain event: a handler with the sender as its one argument.
using TNotifyEvent = TEvent<void(TObject* Sender)>;
