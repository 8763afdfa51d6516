#include "platform/components/FormReader.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/components/Application.h"
#include "platform/components/TypeInfo.h"
#include "platform/system/AnsiStrings.h"

namespace {

enum class TTokenKind { End, Ident, Integer, Float, String, Symbol };

struct TToken {
  TTokenKind Kind = TTokenKind::End;
  std::string Text;  // identifier, symbol, or the decoded string
  int64_t IntValue = 0;
  double FloatValue = 0;
  int Line = 1;
};

[[noreturn]] void Fail(int line, const std::string& message) {
  throw EReadError("Line " + IntToStr(line) + ": " + message);
}

bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Splits resource text into tokens, keeping the line each starts on.
class TLexer {
 public:
  explicit TLexer(const char* text) : FText(text != nullptr ? text : "") { Advance(); }

  const TToken& Current() const { return FCurrent; }
  TToken Take() {
    TToken t = FCurrent;
    Advance();
    return t;
  }
  bool IsSymbol(char c) const { return FCurrent.Kind == TTokenKind::Symbol && FCurrent.Text[0] == c; }
  bool IsIdent(std::string_view word) const {
    return FCurrent.Kind == TTokenKind::Ident && SameText(FCurrent.Text, word);
  }
  void ExpectSymbol(char c) {
    if (!IsSymbol(c)) Fail(FCurrent.Line, std::string("'") + c + "' expected but " + Describe() + " found");
    Advance();
  }
  std::string ExpectIdent() {
    if (FCurrent.Kind != TTokenKind::Ident)
      Fail(FCurrent.Line, "Identifier expected but " + Describe() + " found");
    return Take().Text;
  }
  std::string Describe() const {
    switch (FCurrent.Kind) {
      case TTokenKind::End:
        return "end of resource";
      case TTokenKind::String:
        return "string";
      case TTokenKind::Symbol:
        return "'" + FCurrent.Text + "'";
      default:
        return "'" + FCurrent.Text + "'";
    }
  }

 private:
  char Peek(size_t ahead = 0) const { return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0'; }

  void Advance() {
    while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) <= ' ') {
      if (FText[FPos] == '\n') ++FLine;
      ++FPos;
    }
    FCurrent = TToken();
    FCurrent.Line = FLine;
    if (FPos >= FText.size()) return;
    char c = Peek();
    if (IsIdentStart(c)) {
      size_t start = FPos;
      while (IsIdentStart(Peek()) || IsDigit(Peek())) ++FPos;
      FCurrent.Kind = TTokenKind::Ident;
      FCurrent.Text = FText.substr(start, FPos - start);
    } else if (IsDigit(c) || ((c == '-' || c == '+') && IsDigit(Peek(1)))) {
      ReadNumber();
    } else if (c == '$') {
      ++FPos;
      size_t start = FPos;
      while (IsHexDigit(Peek())) ++FPos;
      if (FPos == start) Fail(FLine, "Invalid number");
      FCurrent.Kind = TTokenKind::Integer;
      FCurrent.Text = FText.substr(start - 1, FPos - start + 1);
      FCurrent.IntValue =
          static_cast<int64_t>(std::strtoull(FText.substr(start, FPos - start).c_str(), nullptr, 16));
    } else if (c == '\'' || c == '#') {
      ReadString();
    } else {
      ++FPos;
      FCurrent.Kind = TTokenKind::Symbol;
      FCurrent.Text = std::string(1, c);
    }
  }

  void ReadNumber() {
    size_t start = FPos;
    if (Peek() == '-' || Peek() == '+') ++FPos;
    while (IsDigit(Peek())) ++FPos;
    bool isFloat = false;
    if (Peek() == '.' && IsDigit(Peek(1))) {
      isFloat = true;
      ++FPos;
      while (IsDigit(Peek())) ++FPos;
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '-' || Peek(1) == '+') && IsDigit(Peek(2))))) {
      isFloat = true;
      FPos += 2;
      while (IsDigit(Peek())) ++FPos;
    }
    FCurrent.Text = FText.substr(start, FPos - start);
    const char* first = FCurrent.Text.data() + (FCurrent.Text[0] == '+' ? 1 : 0);
    const char* last = FCurrent.Text.data() + FCurrent.Text.size();
    if (isFloat) {
      FCurrent.Kind = TTokenKind::Float;
      FCurrent.FloatValue = std::strtod(FCurrent.Text.c_str(), nullptr);
    } else {
      FCurrent.Kind = TTokenKind::Integer;
      auto [ptr, ec] = std::from_chars(first, last, FCurrent.IntValue);
      if (ec != std::errc() || ptr != last) Fail(FLine, "Invalid number " + FCurrent.Text);
    }
  }

  // Quoted parts and #nn character codes that follow each other with no blank make one string.
  void ReadString() {
    FCurrent.Kind = TTokenKind::String;
    std::string value;
    for (;;) {
      if (Peek() == '\'') {
        ++FPos;
        for (;;) {
          if (FPos >= FText.size() || Peek() == '\n' || Peek() == '\r') Fail(FLine, "Unterminated string");
          if (Peek() == '\'') {
            if (Peek(1) == '\'') {
              value += '\'';
              FPos += 2;
              continue;
            }
            ++FPos;
            break;
          }
          value += FText[FPos++];
        }
      } else if (Peek() == '#') {
        ++FPos;
        int64_t code = 0;
        size_t start = FPos;
        if (Peek() == '$') {
          ++FPos;
          start = FPos;
          while (IsHexDigit(Peek())) ++FPos;
          if (FPos == start) Fail(FLine, "Invalid character code");
          code = static_cast<int64_t>(std::strtoull(FText.substr(start, FPos - start).c_str(), nullptr, 16));
        } else {
          while (IsDigit(Peek())) ++FPos;
          if (FPos == start || FPos - start > 5) Fail(FLine, "Invalid character code");
          code = std::atoll(FText.substr(start, FPos - start).c_str());
        }
        // Text is single-byte: a code beyond one byte has no character to stand for.
        if (code > 255) Fail(FLine, "Invalid character code #" + IntToStr(code));
        value += static_cast<char>(static_cast<unsigned char>(code));
      } else {
        break;
      }
    }
    FCurrent.Text = std::move(value);
  }

  std::string FText;
  size_t FPos = 0;
  int FLine = 1;
  TToken FCurrent;
};

// A parsed property value before it is given to the property.
struct TValue {
  enum TKind { Int, Float, Str, Ident, Set, List } Kind = Int;
  int64_t IntValue = 0;
  double FloatValue = 0;
  std::string Text;
  std::vector<std::string> Items;  // Set identifiers
  std::vector<TValue> Elements;
  int Line = 1;
};

struct TFixup {
  TPersistent* Instance;
  const TPropInfo* Prop;
  std::string ComponentName;
  std::string Context;
  int Line;
};

class TResourceReader {
 public:
  TResourceReader(TComponent* root, const char* text, std::vector<TComponent*>& loaded)
      : FRoot(root), FLexer(text), FLoaded(loaded) {}

  void Read() {
    ReadObject(nullptr);
    if (FLexer.Current().Kind != TTokenKind::End) {
      Fail(FLexer.Current().Line, "Text after the end of the resource");
    }
    ResolveFixups();
  }

 private:
  void ReadObject(TComponent* parent) {
    int line = FLexer.Current().Line;
    TDepthGuard guard(FDepth, line);
    bool isInherited = FLexer.IsIdent("inherited");
    if (!isInherited && !FLexer.IsIdent("object") && !FLexer.IsIdent("inline")) {
      Fail(line, "'object' expected but " + FLexer.Describe() + " found");
    }
    FLexer.Take();
    std::string name = FLexer.ExpectIdent();
    std::string className;
    if (FLexer.IsSymbol(':')) {
      FLexer.Take();
      className = FLexer.ExpectIdent();
    } else {
      className = name;
      name.clear();
    }
    if (FLexer.IsSymbol('[')) {
      FLexer.Take();
      FLexer.Take();
      FLexer.ExpectSymbol(']');
    }

    TComponent* component = nullptr;
    bool created = false;
    if (parent == nullptr) {
      component = FRoot;
      if (!FRoot->ClassType().InheritsFromName(className)) {
        Fail(line, "The resource is for class " + className + ", not " + FRoot->ClassName());
      }
      SetRootName(name, line);
    } else if (isInherited) {
      component = FRoot->FindComponent(name);
      if (component == nullptr) Fail(line, "Inherited component " + name + " not found");
      if (!component->ClassType().InheritsFromName(className)) {
        Fail(line, "Inherited component " + name + " is a " + component->ClassName() + ", not " + className);
      }
    } else {
      const TMetaClass* cls = GetClass(className);
      if (cls == nullptr) Fail(line, "Class " + className + " not found");
      try {
        component = cls->CreateInstance(FRoot);
      } catch (const EReadError&) {
        throw;
      } catch (const Exception& e) {
        Fail(line, "Cannot create " + name + ": " + e.Message());
      }
      created = true;
    }

    try {
      if (parent != nullptr) {
        if (!name.empty() && component->Name() != name) {
          try {
            component->SetName(name);
          } catch (const Exception& e) {
            Fail(line, e.Message());
          }
        }
        component->SetParentComponent(parent);
      }
      component->SetComponentStateFlag(csLoading, true);
      component->SetComponentStateFlag(csReading, true);
      if (std::find(FLoaded.begin(), FLoaded.end(), component) == FLoaded.end()) FLoaded.push_back(component);
      ReadBody(component);
      component->SetComponentStateFlag(csReading, false);
    } catch (...) {
      if (created) {
        FLoaded.erase(std::remove(FLoaded.begin(), FLoaded.end(), component), FLoaded.end());
        DropFixupsOf(component);
        delete component;
      }
      throw;
    }
  }

  void ReadBody(TComponent* component) {
    for (;;) {
      const TToken& t = FLexer.Current();
      if (t.Kind == TTokenKind::End) Fail(t.Line, "'end' expected but end of resource found");
      if (FLexer.IsIdent("end")) {
        FLexer.Take();
        return;
      }
      if (FLexer.IsIdent("object") || FLexer.IsIdent("inherited") || FLexer.IsIdent("inline")) {
        ReadObject(component);
      } else {
        ReadProperty(component);
      }
    }
  }

  void SetRootName(const std::string& name, int line) {
    if (name.empty() || SameText(FRoot->Name(), name)) return;
    // A second instance of the same form under one owner gets a name of its own, as name_1, name_2, ...
    std::string unique = name;
    TComponent* owner = FRoot->Owner();
    for (int i = 1;
         owner != nullptr && owner->FindComponent(unique) != nullptr && owner->FindComponent(unique) != FRoot;
         ++i) {
      unique = name + "_" + IntToStr(i);
    }
    try {
      FRoot->SetName(unique);
    } catch (const Exception& e) {
      Fail(line, e.Message());
    }
  }

  void ReadProperty(TComponent* component) {
    int line = FLexer.Current().Line;
    std::vector<std::string> path{FLexer.ExpectIdent()};
    while (FLexer.IsSymbol('.')) {
      FLexer.Take();
      path.push_back(FLexer.ExpectIdent());
    }
    std::string dotted = path[0];
    for (size_t i = 1; i < path.size(); ++i) dotted += "." + path[i];
    std::string context = "Error reading " + component->Name() + "." + dotted + ": ";
    FLexer.ExpectSymbol('=');
    TValue value = ReadValue();

    TPersistent* instance = component;
    const TPropInfo* prop = nullptr;
    for (size_t i = 0; i < path.size(); ++i) {
      prop = instance->ClassType().FindProperty(path[i]);
      if (prop == nullptr) Fail(line, context + "Property " + path[i] + " does not exist");
      if (i + 1 == path.size()) break;
      // The class library writes a string list as List.Strings = ( ... ).
      if (prop->Kind == TTypeKind::Strings && i + 2 == path.size() && SameText(path[i + 1], "Strings")) break;
      if (prop->Kind != TTypeKind::Class)
        Fail(line, context + "Property " + path[i] + " holds no properties");
      instance = prop->GetObject(*instance);
      if (instance == nullptr) Fail(line, context + "Property " + path[i] + " is empty");
    }
    try {
      Assign(*instance, *prop, value, context, line);
    } catch (const EReadError&) {
      throw;
    } catch (const Exception& e) {
      Fail(line, context + e.Message());
    }
  }

  TValue ReadValue() {
    TValue v;
    const TToken& t = FLexer.Current();
    TDepthGuard guard(FDepth, t.Line);
    v.Line = t.Line;
    switch (t.Kind) {
      case TTokenKind::Integer:
        v.Kind = TValue::Int;
        v.IntValue = FLexer.Take().IntValue;
        return v;
      case TTokenKind::Float:
        v.Kind = TValue::Float;
        v.FloatValue = FLexer.Take().FloatValue;
        return v;
      case TTokenKind::String:
        v.Kind = TValue::Str;
        v.Text = FLexer.Take().Text;
        while (FLexer.IsSymbol('+')) {
          FLexer.Take();
          if (FLexer.Current().Kind != TTokenKind::String) {
            Fail(FLexer.Current().Line, "String expected but " + FLexer.Describe() + " found");
          }
          v.Text += FLexer.Take().Text;
        }
        return v;
      case TTokenKind::Ident:
        v.Kind = TValue::Ident;
        v.Text = FLexer.Take().Text;
        while (FLexer.IsSymbol('.')) {
          FLexer.Take();
          v.Text += "." + FLexer.ExpectIdent();
        }
        return v;
      case TTokenKind::Symbol:
        if (FLexer.IsSymbol('[')) {
          FLexer.Take();
          v.Kind = TValue::Set;
          if (!FLexer.IsSymbol(']')) {
            v.Items.push_back(FLexer.ExpectIdent());
            while (FLexer.IsSymbol(',')) {
              FLexer.Take();
              v.Items.push_back(FLexer.ExpectIdent());
            }
          }
          FLexer.ExpectSymbol(']');
          return v;
        }
        if (FLexer.IsSymbol('(')) {
          FLexer.Take();
          v.Kind = TValue::List;
          while (!FLexer.IsSymbol(')')) {
            if (FLexer.Current().Kind == TTokenKind::End)
              Fail(v.Line, "')' expected but end of resource found");
            v.Elements.push_back(ReadValue());
          }
          FLexer.Take();
          return v;
        }
        break;
      case TTokenKind::End:
        break;
    }
    Fail(t.Line, "Invalid property value " + FLexer.Describe());
  }

  void Assign(TPersistent& instance, const TPropInfo& prop, const TValue& v, const std::string& context,
              int line) {
    auto invalid = [&]() { Fail(line, context + "Invalid property value"); };
    switch (prop.Kind) {
      case TTypeKind::Integer:
        if (v.Kind == TValue::Int) {
          prop.SetOrd(instance, v.IntValue);
        } else if (v.Kind == TValue::Ident && prop.Idents != nullptr) {
          auto it = std::find_if(prop.Idents->begin(), prop.Idents->end(),
                                 [&](const TIdentMapEntry& e) { return SameText(e.Name, v.Text); });
          if (it == prop.Idents->end()) invalid();
          prop.SetOrd(instance, it->Value);
        } else {
          invalid();
        }
        return;
      case TTypeKind::Boolean:
        if (v.Kind == TValue::Ident && SameText(v.Text, "True")) {
          prop.SetOrd(instance, 1);
        } else if (v.Kind == TValue::Ident && SameText(v.Text, "False")) {
          prop.SetOrd(instance, 0);
        } else {
          invalid();
        }
        return;
      case TTypeKind::Enumeration: {
        if (v.Kind != TValue::Ident) invalid();
        int ordinal = prop.EnumType->Ordinal(v.Text);
        if (ordinal < 0) invalid();
        prop.SetOrd(instance, ordinal);
        return;
      }
      case TTypeKind::Set: {
        if (v.Kind != TValue::Set) invalid();
        uint64_t bits = 0;
        for (const std::string& item : v.Items) {
          int ordinal = prop.EnumType->Ordinal(item);
          if (ordinal < 0 || ordinal > 63) Fail(line, context + "Invalid set element " + item);
          bits |= uint64_t{1} << ordinal;
        }
        prop.SetOrd(instance, static_cast<int64_t>(bits));
        return;
      }
      case TTypeKind::Float:
        if (v.Kind == TValue::Float) {
          prop.SetFloat(instance, v.FloatValue);
        } else if (v.Kind == TValue::Int) {
          prop.SetFloat(instance, static_cast<double>(v.IntValue));
        } else {
          invalid();
        }
        return;
      case TTypeKind::String:
        if (v.Kind != TValue::Str) invalid();
        prop.SetStr(instance, v.Text);
        return;
      case TTypeKind::Strings: {
        if (v.Kind != TValue::List) invalid();
        TStringList lines;
        for (const TValue& item : v.Elements) {
          if (item.Kind != TValue::Str) Fail(item.Line, context + "String expected in the list");
          lines.Add(item.Text);
        }
        prop.SetStrings(instance, lines);
        return;
      }
      case TTypeKind::Method: {
        if (v.Kind != TValue::Ident) invalid();
        const TMethodInfo* method = FRoot->ClassType().FindMethod(v.Text);
        if (method == nullptr) {
          Fail(line, context + "Method " + v.Text + " not found in " + FRoot->ClassName());
        }
        if (!prop.BindMethod(instance, FRoot, *method)) {
          Fail(line, context + "Method " + v.Text + " does not fit the event " + prop.Name);
        }
        return;
      }
      case TTypeKind::Component:
        if (v.Kind != TValue::Ident) invalid();
        FFixups.push_back(TFixup{&instance, &prop, v.Text, context, line});
        return;
      case TTypeKind::Class:
        Fail(line, context + "Property " + prop.Name + " is set through its own properties");
    }
  }

  // Component references may name components that come later in the resource, so they are set last.
  void ResolveFixups() {
    for (const TFixup& f : FFixups) {
      TComponent* target = FindReferenced(f.ComponentName);
      if (target == nullptr) Fail(f.Line, f.Context + "Component " + f.ComponentName + " not found");
      try {
        f.Prop->SetComponent(*f.Instance, target);
      } catch (const Exception& e) {
        Fail(f.Line, f.Context + e.Message());
      }
    }
    FFixups.clear();
  }

  TComponent* FindReferenced(const std::string& name) const {
    size_t dot = name.find('.');
    if (dot == std::string::npos) {
      if (SameText(FRoot->Name(), name)) return FRoot;
      return FRoot->FindComponent(name);
    }
    // Form.Component: another form or data module of the application.
    if (Application == nullptr) return nullptr;
    TComponent* form = Application->FindComponent(name.substr(0, dot));
    return form == nullptr ? nullptr : form->FindComponent(name.substr(dot + 1));
  }

  void DropFixupsOf(TComponent* component) {
    FFixups.erase(std::remove_if(FFixups.begin(), FFixups.end(),
                                 [&](const TFixup& f) { return f.Instance == component; }),
                  FFixups.end());
  }

  // Nesting beyond any designed form is a broken resource, not a reason to exhaust the stack.
  struct TDepthGuard {
    TDepthGuard(int& depth, int line) : FDepthRef(depth) {
      if (++FDepthRef > 200) {
        --FDepthRef;
        Fail(line, "Nesting too deep");
      }
    }
    ~TDepthGuard() { --FDepthRef; }
    int& FDepthRef;
  };

  TComponent* FRoot;
  int FDepth = 0;
  TLexer FLexer;
  std::vector<TComponent*>& FLoaded;
  std::vector<TFixup> FFixups;
};

void ClearLoading(const std::vector<TComponent*>& loaded) {
  for (TComponent* c : loaded) {
    c->SetComponentStateFlag(csLoading, false);
    c->SetComponentStateFlag(csReading, false);
  }
}

// Loaded clears csLoading itself; an override that forgets to call the inherited one must not leave a
// component loading for ever, so the flags are cleared afterwards in any case.
void NotifyLoaded(const std::vector<TComponent*>& loaded) {
  try {
    for (TComponent* c : loaded) c->Loaded();
  } catch (...) {
    ClearLoading(loaded);
    throw;
  }
  ClearLoading(loaded);
}

}  // namespace

void ReadComponentResource(TComponent* root, const char* resourceText) {
  std::vector<TComponent*> loaded{root};
  try {
    TResourceReader(root, resourceText, loaded).Read();
  } catch (...) {
    ClearLoading(loaded);
    throw;
  }
  NotifyLoaded(loaded);
}

bool InitInheritedComponent(TComponent* root, const TMetaClass& stopClass) {
  std::vector<const TMetaClass*> chain;
  for (const TMetaClass* c = &root->ClassType(); c != nullptr && c != &stopClass; c = c->ClassParent()) {
    if (c->Resource() != nullptr) chain.push_back(c);
  }
  if (chain.empty()) return false;
  std::vector<TComponent*> loaded{root};
  try {
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      TResourceReader(root, (*it)->Resource(), loaded).Read();
    }
  } catch (...) {
    ClearLoading(loaded);
    throw;
  }
  NotifyLoaded(loaded);
  return true;
}
