#include "platform/components/FormWriter.h"

#include <charconv>
#include <string>

#include "platform/components/TypeInfo.h"
#include "platform/system/AnsiStrings.h"

namespace {

// A string as the resource format writes it: printable runs quoted (quotes doubled), other bytes as #nn.
std::string QuoteString(const std::string& s) {
  if (s.empty()) return "''";
  std::string out;
  bool inQuotes = false;
  for (char ch : s) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= ' ' && c < 127) {
      if (!inQuotes) {
        out += '\'';
        inQuotes = true;
      }
      if (ch == '\'') out += '\'';
      out += ch;
    } else {
      if (inQuotes) {
        out += '\'';
        inQuotes = false;
      }
      out += "#" + IntToStr(c);
    }
  }
  if (inQuotes) out += '\'';
  return out;
}

std::string FloatText(double value) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, end);
  // Keep it a float token when read back.
  if (text.find_first_of(".eEn") == std::string::npos) text += ".0";
  return text;
}

class TResourceWriter {
 public:
  explicit TResourceWriter(TComponent* root) : FRoot(root) {}

  std::string Write() {
    WriteComponent(FRoot, 0);
    return FOut;
  }

 private:
  void Line(int indent, const std::string& text) {
    FOut.append(static_cast<size_t>(indent) * 2, ' ');
    FOut += text;
    FOut += "\r\n";
  }

  void WriteComponent(TComponent* component, int indent) {
    component->SetComponentStateFlag(csWriting, true);
    Line(indent, "object " + component->Name() + ": " + component->ClassName());
    WriteProperties(*component, "", indent + 1);
    std::vector<TComponent*> children;
    component->GetChildren(children, FRoot);
    for (TComponent* child : children) WriteComponent(child, indent + 1);
    Line(indent, "end");
    component->SetComponentStateFlag(csWriting, false);
  }

  void WriteProperties(TPersistent& instance, const std::string& prefix, int indent) {
    for (const TPropInfo* prop : instance.ClassType().Properties()) {
      WriteProperty(instance, *prop, prefix + prop->Name, indent);
    }
  }

  void WriteProperty(TPersistent& instance, const TPropInfo& prop, const std::string& name, int indent) {
    switch (prop.Kind) {
      case TTypeKind::Integer:
      case TTypeKind::Boolean:
      case TTypeKind::Enumeration:
      case TTypeKind::Set: {
        int64_t value = prop.GetOrd(instance);
        if (prop.Default.has_value() && *prop.Default == value) return;
        Line(indent, name + " = " + OrdinalText(prop, value));
        return;
      }
      case TTypeKind::Float: {
        double value = prop.GetFloat(instance);
        if (value != 0) Line(indent, name + " = " + FloatText(value));
        return;
      }
      case TTypeKind::String: {
        std::string value = prop.GetStr(instance);
        if (!value.empty()) Line(indent, name + " = " + QuoteString(value));
        return;
      }
      case TTypeKind::Class: {
        TPersistent* nested = prop.GetObject(instance);
        if (nested != nullptr) WriteProperties(*nested, name + ".", indent);
        return;
      }
      case TTypeKind::Strings: {
        TStringList* list = prop.GetStrings(instance);
        if (list == nullptr || list->Count() == 0) return;
        Line(indent, name + ".Strings = (");
        for (int i = 0; i < list->Count(); ++i) {
          Line(indent + 1, QuoteString((*list)[i]) + (i + 1 == list->Count() ? ")" : ""));
        }
        return;
      }
      case TTypeKind::Method: {
        // Only a handler of the root's own published methods can be bound again when read back.
        std::string method = prop.GetMethodName(instance);
        if (!method.empty() && prop.GetMethodObject(instance) == FRoot &&
            FRoot->ClassType().FindMethod(method)) {
          Line(indent, name + " = " + method);
        }
        return;
      }
      case TTypeKind::Component: {
        TComponent* target = prop.GetComponent(instance);
        if (target == nullptr || target->Name().empty()) return;
        if (target == FRoot || target->Owner() == FRoot) {
          Line(indent, name + " = " + target->Name());
        } else if (target->Owner() != nullptr && !target->Owner()->Name().empty()) {
          Line(indent, name + " = " + target->Owner()->Name() + "." + target->Name());
        }
        return;
      }
    }
  }

  static std::string OrdinalText(const TPropInfo& prop, int64_t value) {
    switch (prop.Kind) {
      case TTypeKind::Boolean:
        return value != 0 ? "True" : "False";
      case TTypeKind::Enumeration:
        if (value >= 0 && value < static_cast<int64_t>(prop.EnumType->Names.size())) {
          return prop.EnumType->Names[static_cast<size_t>(value)];
        }
        return IntToStr(value);
      case TTypeKind::Set: {
        std::string text = "[";
        uint64_t bits = static_cast<uint64_t>(value);
        for (size_t i = 0; i < prop.EnumType->Names.size() && i < 64; ++i) {
          if ((bits & (uint64_t{1} << i)) == 0) continue;
          if (text.size() > 1) text += ", ";
          text += prop.EnumType->Names[i];
        }
        return text + "]";
      }
      default:
        if (prop.Idents != nullptr) {
          for (const TIdentMapEntry& e : *prop.Idents) {
            if (e.Value == value) return e.Name;
          }
        }
        return IntToStr(value);
    }
  }

  TComponent* FRoot;
  std::string FOut;
};

}  // namespace

std::string WriteComponentResource(TComponent* root) { return TResourceWriter(root).Write(); }
