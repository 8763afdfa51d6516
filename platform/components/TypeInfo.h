// Class identity and published-property metadata: what a form resource can set on an object,
// in which order, with which declared default, and which handlers it can bind by name.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "platform/components/Component.h"
#include "platform/components/Events.h"
#include "platform/components/Object.h"
#include "platform/components/Set.h"
#include "platform/system/StringList.h"

// The identifiers of an enumeration, by ordinal (0, 1, ...): how its values read and write.
// Properties keep a pointer to it, so it lives as long as the program (a function-local static).
struct TEnumInfo {
  std::string TypeName;
  std::vector<std::string> Names;
  // The ordinal of an identifier, matched without regard to case; -1 when it is none of them.
  int Ordinal(std::string_view identifier) const;
};

// Identifiers that an integer property accepts in place of a number (colours, cursors, char sets);
// kept by pointer like TEnumInfo.
struct TIdentMapEntry {
  int64_t Value;
  std::string Name;
};
using TIdentMap = std::vector<TIdentMapEntry>;

enum class TTypeKind {
  Integer,      // 32-bit signed (or any integral type), optionally with identifiers
  Boolean,      // True / False
  Enumeration,  // an identifier of its TEnumInfo
  Set,          // [a, b] of identifiers of its TEnumInfo
  Float,        // double
  String,       // single-byte text
  Class,        // a nested persistent object, filled in place (dotted names)
  Strings,      // a TStringList, filled in place from a list of strings
  Method,       // an event, bound to a published method by name
  Component     // a reference to a component, by name
};

struct TMethodInfo;

// One published property: its kind, declared default and type-erased reader and writer.
// Only the accessors of its kind are set.
struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::Integer;
  const TEnumInfo* EnumType = nullptr;  // Enumeration and Set
  const TIdentMap* Idents = nullptr;    // Integer, optional
  std::optional<int64_t> Default;       // ordinal kinds: the value a writer leaves out; none: always written

  std::function<int64_t(const TPersistent&)> GetOrd;  // Integer, Boolean, Enumeration, Set (bits)
  std::function<void(TPersistent&, int64_t)> SetOrd;
  std::function<double(const TPersistent&)> GetFloat;
  std::function<void(TPersistent&, double)> SetFloat;
  std::function<std::string(const TPersistent&)> GetStr;
  std::function<void(TPersistent&, const std::string&)> SetStr;
  std::function<TPersistent*(TPersistent&)> GetObject;   // Class
  std::function<TStringList*(TPersistent&)> GetStrings;  // Strings
  std::function<void(TPersistent&, const TStringList&)> SetStrings;
  // Method: binds the handler to methodObject; false when the method's parameters do not fit the event.
  std::function<bool(TPersistent&, TObject* methodObject, const TMethodInfo&)> BindMethod;
  std::function<std::string(const TPersistent&)> GetMethodName;  // empty when unassigned or unnamed
  std::function<TObject*(const TPersistent&)> GetMethodObject;   // nullptr when unassigned or gone
  std::function<TComponent*(const TPersistent&)> GetComponent;
  std::function<void(TPersistent&, TComponent*)> SetComponent;

  bool IsOrdinal() const {
    return Kind == TTypeKind::Integer || Kind == TTypeKind::Boolean || Kind == TTypeKind::Enumeration ||
           Kind == TTypeKind::Set;
  }
};

// A published method: a handler that a form resource binds by name.
struct TMethodInfo {
  std::string Name;
  std::type_index Signature = typeid(void);
  std::any Invoker;  // TEvent<Signature>::TCode
};

// A published field: a form class's reference to a component it owns, set by the component's name.
struct TPublishedField {
  std::string Name;
  // Sets the field of owner to component (nullptr clears it); EInvalidCast when the class does not fit.
  std::function<void(TObject& owner, TComponent* component)> Assign;
};

// The class identity: name, parent, published properties, methods and fields, the form resource,
// and the virtual constructor of a component class.
class TMetaClass {
 public:
  TMetaClass(std::string name, const TMetaClass* parent) : FClassName(std::move(name)), FParent(parent) {}

  const std::string& ClassName() const { return FClassName; }
  const TMetaClass* ClassParent() const { return FParent; }
  bool InheritsFrom(const TMetaClass& other) const;
  // True when this class or one of its bases carries that name (without regard to case).
  bool InheritsFromName(std::string_view name) const;

  // The published properties in declared order, inherited first; a class that declares a property
  // again (to change its default) replaces the inherited one in its place.
  std::vector<const TPropInfo*> Properties() const;
  // The property of that name, matched without regard to case; nullptr when none.
  const TPropInfo* FindProperty(std::string_view name) const;
  // The published method of that name on this class first, then its bases; nullptr when none.
  const TMethodInfo* FindMethod(std::string_view name) const;
  const TPublishedField* FindField(std::string_view name) const;

  const std::vector<TPropInfo>& OwnProperties() const { return FProperties; }
  const std::vector<TMethodInfo>& OwnMethods() const { return FMethods; }

  // The form resource of this very class (not inherited); nullptr when it has none.
  const char* Resource() const { return FResource; }

  // The virtual constructor: creates an instance owned by owner and completes its construction
  // (AfterConstruction). Raises EComponentError when the class cannot be created so.
  bool IsCreatable() const { return static_cast<bool>(FCreate); }
  TComponent* CreateInstance(TComponent* owner) const;

 private:
  template <class T>
  friend class TClassBuilder;

  std::string FClassName;
  const TMetaClass* FParent;
  std::vector<TPropInfo> FProperties;
  std::vector<TMethodInfo> FMethods;
  std::vector<TPublishedField> FFields;
  const char* FResource = nullptr;
  std::function<TComponent*(TComponent*)> FCreate;
};

// The class registry that form resources find classes in. Registration is explicit: each layer
// offers a function its programs call at start-up.
void RegisterClass(const TMetaClass& cls);
void RegisterClasses(std::initializer_list<const TMetaClass*> classes);
// The registered class of that name (without regard to case); nullptr when none.
const TMetaClass* GetClass(std::string_view name);
// The same, raising EReadError "Class <name> not found" when none.
const TMetaClass& FindClass(std::string_view name);

namespace PropertyDetail {

template <class M>
struct TSetterArg;
template <class C, class A>
struct TSetterArg<void (C::*)(A)> {
  using Type = std::remove_cvref_t<A>;
};

// The type a writer (data member or setter) takes.
template <class T, class S>
auto WriteTypeTag() {
  if constexpr (std::is_member_object_pointer_v<S>) {
    return std::type_identity<std::remove_cvref_t<decltype(std::declval<T&>().*std::declval<S>())>>{};
  } else {
    return std::type_identity<typename TSetterArg<S>::Type>{};
  }
}
template <class T, class S>
using TWriteType = typename decltype(WriteTypeTag<T, S>())::type;

// The value an accessor (data member or getter) gives.
template <class T, class A>
decltype(auto) Read(const T& object, A accessor) {
  return std::invoke(accessor, object);
}

// Writes through an accessor (data member or setter), converting value to the accessor's type.
template <class T, class A, class V>
void Write(T& object, A accessor, V&& value) {
  using F = TWriteType<T, A>;
  if constexpr (std::is_member_object_pointer_v<A>) {
    std::invoke(accessor, object) = static_cast<F>(std::forward<V>(value));
  } else {
    std::invoke(accessor, object, static_cast<F>(std::forward<V>(value)));
  }
}

template <class X>
struct TIsSet : std::false_type {};
template <class E>
struct TIsSet<TSet<E>> : std::true_type {};

template <class V>
int64_t ToOrd(const V& value) {
  if constexpr (TIsSet<V>::value) {
    return static_cast<int64_t>(value.Bits());
  } else {
    return static_cast<int64_t>(value);
  }
}

// The ordinal as the property's own type; a number the type cannot hold raises EConvertError rather
// than be cut short.
template <class V>
V FromOrd(int64_t ord) {
  if constexpr (std::is_integral_v<V> && !std::is_same_v<V, bool>) {
    if (!std::in_range<V>(ord)) throw EConvertError("Invalid property value");
    return static_cast<V>(ord);
  } else if constexpr (TIsSet<V>::value) {
    return V::FromBits(static_cast<uint64_t>(ord));
  } else if constexpr (std::is_same_v<V, bool>) {
    return ord != 0;
  } else {
    return static_cast<V>(ord);
  }
}

// A pointer to what an accessor refers to: a member object, a pointer member, a unique_ptr member, or
// a getter returning a pointer or a reference.
template <class X, class T, class A>
X* PointerOf(T& object, A accessor) {
  decltype(auto) v = std::invoke(accessor, object);
  using V = std::remove_cvref_t<decltype(v)>;
  if constexpr (std::is_pointer_v<V>) {
    return v;
  } else if constexpr (requires { v.get(); }) {
    return v.get();
  } else {
    return &v;
  }
}

}  // namespace PropertyDetail

// Builds the class identity of T, published members in declared order:
//   const TMetaClass& TFoo::StaticClass() {
//     static const TMetaClass cls = TClassBuilder<TFoo>("TFoo")
//         .Integer("Width", &TFoo::FWidth, &TFoo::SetWidth).Default(64)
//         .Event("OnClick", &TFoo::OnClick)
//         .Method("buOKClick", &TFoo::buOKClick);
//     return cls;
//   }
// Accessors are data members or member functions (getter: no argument; setter: one argument).
template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(std::string name) : FClass(std::move(name), &T::inherited::StaticClass()) {
    if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                  std::is_constructible_v<T, TComponent*>) {
      FClass.FCreate = [](TComponent* owner) -> TComponent* { return new T(owner); };
    }
  }

  operator TMetaClass() const { return FClass; }

  template <class G, class S>
  TClassBuilder& Integer(std::string name, G get, S set) {
    return Ordinal<G, S>(std::move(name), TTypeKind::Integer, nullptr, get, set);
  }
  template <class G, class S>
  TClassBuilder& Boolean(std::string name, G get, S set) {
    return Ordinal<G, S>(std::move(name), TTypeKind::Boolean, nullptr, get, set);
  }
  template <class G, class S>
  TClassBuilder& Enumeration(std::string name, const TEnumInfo& type, G get, S set) {
    return Ordinal<G, S>(std::move(name), TTypeKind::Enumeration, &type, get, set);
  }
  template <class G, class S>
  TClassBuilder& Set(std::string name, const TEnumInfo& type, G get, S set) {
    return Ordinal<G, S>(std::move(name), TTypeKind::Set, &type, get, set);
  }

  template <class G, class S>
  TClassBuilder& Float(std::string name, G get, S set) {
    TPropInfo& p = Add(std::move(name), TTypeKind::Float);
    p.GetFloat = [get](const TPersistent& o) {
      return static_cast<double>(PropertyDetail::Read(static_cast<const T&>(o), get));
    };
    p.SetFloat = [set](TPersistent& o, double v) { PropertyDetail::Write(static_cast<T&>(o), set, v); };
    return *this;
  }

  template <class G, class S>
  TClassBuilder& String(std::string name, G get, S set) {
    TPropInfo& p = Add(std::move(name), TTypeKind::String);
    p.GetStr = [get](const TPersistent& o) {
      return std::string(PropertyDetail::Read(static_cast<const T&>(o), get));
    };
    p.SetStr = [set](TPersistent& o, const std::string& v) {
      PropertyDetail::Write(static_cast<T&>(o), set, v);
    };
    return *this;
  }

  // A nested persistent object that reading fills in place; never replaced.
  template <class G>
  TClassBuilder& Object(std::string name, G get) {
    TPropInfo& p = Add(std::move(name), TTypeKind::Class);
    p.GetObject = [get](TPersistent& o) -> TPersistent* {
      return PropertyDetail::PointerOf<TPersistent>(static_cast<T&>(o), get);
    };
    return *this;
  }

  // A string list that reading fills in place (Assign), or through set when the class has a writer.
  template <class G>
  TClassBuilder& Strings(std::string name, G get) {
    TPropInfo& p = Add(std::move(name), TTypeKind::Strings);
    p.GetStrings = [get](TPersistent& o) -> TStringList* {
      return PropertyDetail::PointerOf<TStringList>(static_cast<T&>(o), get);
    };
    p.SetStrings = [get](TPersistent& o, const TStringList& v) {
      PropertyDetail::PointerOf<TStringList>(static_cast<T&>(o), get)->Assign(v);
    };
    return *this;
  }
  template <class G, class S>
  TClassBuilder& Strings(std::string name, G get, S set) {
    Strings(std::move(name), get);
    FClass.FProperties.back().SetStrings = [set](TPersistent& o, const TStringList& v) {
      std::invoke(set, static_cast<T&>(o), v);
    };
    return *this;
  }

  // An event held in a field of T (or of a base of T).
  template <class Sig, class C>
  TClassBuilder& Event(std::string name, TEvent<Sig> C::*field) {
    static_assert(std::is_base_of_v<C, T>);
    TPropInfo& p = Add(std::move(name), TTypeKind::Method);
    p.BindMethod = [field](TPersistent& o, TObject* methodObject, const TMethodInfo& m) {
      const auto* code = std::any_cast<typename TEvent<Sig>::TCode>(&m.Invoker);
      if (code == nullptr) return false;
      static_cast<T&>(o).*field = TEvent<Sig>(methodObject, *code, m.Name);
      return true;
    };
    p.GetMethodName = [field](const TPersistent& o) {
      const TEvent<Sig>& e = static_cast<const T&>(o).*field;
      return e.Assigned() ? e.MethodName() : std::string();
    };
    p.GetMethodObject = [field](const TPersistent& o) { return (static_cast<const T&>(o).*field).Object(); };
    return *this;
  }

  // A reference to a component, resolved by name once the resource has been read.
  template <class G, class S>
  TClassBuilder& Component(std::string name, G get, S set) {
    TPropInfo& p = Add(std::move(name), TTypeKind::Component);
    p.GetComponent = [get](const TPersistent& o) -> TComponent* {
      return PropertyDetail::Read(static_cast<const T&>(o), get);
    };
    p.SetComponent = [set](TPersistent& o, TComponent* c) {
      using F = PropertyDetail::TWriteType<T, S>;
      F typed = nullptr;
      if (c != nullptr) typed = AsClass<std::remove_pointer_t<F>>(static_cast<TObject*>(c));
      PropertyDetail::Write(static_cast<T&>(o), set, typed);
    };
    return *this;
  }

  // Modifiers of the property added last.
  template <class V>
  TClassBuilder& Default(V value) {
    FClass.FProperties.back().Default = PropertyDetail::ToOrd(value);
    return *this;
  }
  TClassBuilder& Idents(const TIdentMap& idents) {
    FClass.FProperties.back().Idents = &idents;
    return *this;
  }

  // A published method that form resources bind handlers to by name.
  template <class R, class C, class... Args>
  TClassBuilder& Method(std::string name, R (C::*method)(Args...)) {
    static_assert(std::is_base_of_v<C, T>);
    TMethodInfo m;
    m.Name = std::move(name);
    m.Signature = typeid(R(Args...));
    m.Invoker = typename TEvent<R(Args...)>::TCode([method](TObject* self, Args... args) -> R {
      return (static_cast<C*>(static_cast<T*>(self))->*method)(std::forward<Args>(args)...);
    });
    FClass.FMethods.push_back(std::move(m));
    return *this;
  }

  // A published field: set to the owned component of the same name, cleared when it goes.
  template <class X, class C>
  TClassBuilder& Field(std::string name, X* C::*field) {
    static_assert(std::is_base_of_v<C, T>);
    TPublishedField f;
    f.Name = std::move(name);
    f.Assign = [field](TObject& owner, TComponent* component) {
      X* typed = nullptr;
      if (component != nullptr) typed = AsClass<X>(static_cast<TObject*>(component));
      static_cast<T&>(owner).*field = typed;
    };
    FClass.FFields.push_back(std::move(f));
    return *this;
  }

  // The form resource of this class, read over its bases' ones when an instance is constructed.
  TClassBuilder& Resource(const char* text) {
    FClass.FResource = text;
    return *this;
  }

 private:
  TPropInfo& Add(std::string name, TTypeKind kind) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    FClass.FProperties.push_back(std::move(p));
    return FClass.FProperties.back();
  }

  template <class G, class S>
  TClassBuilder& Ordinal(std::string name, TTypeKind kind, const TEnumInfo* type, G get, S set) {
    TPropInfo& p = Add(std::move(name), kind);
    p.EnumType = type;
    p.GetOrd = [get](const TPersistent& o) {
      return PropertyDetail::ToOrd(PropertyDetail::Read(static_cast<const T&>(o), get));
    };
    p.SetOrd = [set](TPersistent& o, int64_t v) {
      using F = PropertyDetail::TWriteType<T, S>;
      PropertyDetail::Write(static_cast<T&>(o), set, PropertyDetail::FromOrd<F>(v));
    };
    return *this;
  }

  TMetaClass FClass;
};
