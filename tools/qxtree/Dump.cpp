#include "tools/qxtree/Dump.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "core/Cp1251.h"
#include "model/Design.h"
#include "model/Kinds.h"

namespace qxtree {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

char32_t CodePoint(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
  const char32_t c = qx::cp1251::kUpperHalf[byte - 0x80];
  return c == 0xFFFF ? 0xFFFD : c;  // the one byte cp1251 leaves undefined
}

// Writes the fields of one element as the members of a JSON object, through three small
// callbacks, so each kind's list reads as its record does.
class Fields {
 public:
  Fields(std::string& out, const std::string& pad) : out_(out), pad_(pad) {}

  void Text(const char* name, const CStr& value) { Key(name) += JsonText(value); }
  void Number(const char* name, std::int64_t value) { Key(name) += std::to_string(value); }
  void Flag(const char* name, const CBool& value) { Key(name) += value ? "true" : "false"; }
  std::string& Key(const char* name) {
    out_ += first_ ? "\n" : ",\n";
    first_ = false;
    out_ += pad_ + "\"" + name + "\": ";
    return out_;
  }
  bool Empty() const { return first_; }

 private:
  std::string& out_;
  std::string pad_;
  bool first_ = true;
};

std::string Float(const CFloat& value) {
  if (!std::isfinite(value.Value)) return "null";  // JSON has no infinities or NaNs
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.21Lg", value.Value);
  return buffer;
}

void MemberFields(Fields& f, CMemberInfo& m) {
  f.Text("Type", m.Type);
  f.Number("Access", m.Access.Value);
  f.Flag("MemberFlag", m.MemberFlag);
}

void TypeFields(Fields& f, CTypeInfo& t) {
  f.Number("ByteSize", t.ByteSize.Value);
  f.Text("BaseType", t.BaseType);
  f.Number("Pointer", t.Pointer.Value);
}

void KindFields(Fields& f, CInfo& node, const std::string& pad) {
  if (auto* o = dynamic_cast<COperInfo*>(&node)) {
    MemberFields(f, *o);
    f.Number("OperMode", o->OperMode);
    f.Flag("IsOperator", o->IsOperator);
    f.Text("Code", o->Code);
    f.Text("Code2", std::as_const(*o).Code2());
    f.Text("Code3", std::as_const(*o).Code3());
    f.Text("Code4", std::as_const(*o).Code4());
    f.Text("Code5", std::as_const(*o).Code5());
    std::string& out = f.Key("Params");
    out += "[";
    for (std::int32_t i = 0; i < o->Params.Count().Value; ++i) {
      CParamInfo* p = o->Param(i);
      out += i ? ",\n" : "\n";
      out += pad + "  {\"Type\": " + JsonText(p->Type) + ", \"Name\": " + JsonText(p->GetName()) +
             ", \"About\": " + JsonText(p->About) + "}";
    }
    out += o->Params.Count().Value ? "\n" + pad + "]" : "]";
  } else if (auto* m = dynamic_cast<CMemberInfo*>(&node)) {
    MemberFields(f, *m);
  } else if (auto* c = dynamic_cast<CClassInfo*>(&node)) {
    TypeFields(f, *c);
    f.Text("Base", c->Base);
    f.Number("Kind", c->Kind.Value);
  } else if (dynamic_cast<CStructInfo*>(&node)) {
    // A structure saves none of its type fields.
  } else if (auto* t = dynamic_cast<CTypeInfo*>(&node)) {
    TypeFields(f, *t);
  } else if (auto* p = dynamic_cast<CPackInfo*>(&node)) {
    f.Text("ProjectExtra", p->ProjectExtra);
    f.Text("PackExtra", p->PackExtra);
  } else if (auto* g = dynamic_cast<CProjectGroupInfo*>(&node)) {
    f.Text("ProjectExtra", g->ProjectExtra);
  } else if (auto* u = dynamic_cast<CUnitInfo*>(&node)) {
    f.Text("UnitExtra", u->UnitExtra);
  } else if (auto* a = dynamic_cast<CActionInfo*>(&node)) {
    // Its fields have no names: one list in record order.
    std::string items;
    auto add = [&](const std::string& item) { items += (items.empty() ? "" : ", ") + item; };
    auto flag = [](const CBool& b) { return std::string(b ? "true" : "false"); };
    for (const CBool& b : a->Flags) add(flag(b));
    add(Float(a->Value));
    for (const CStr& s : a->Texts) add(JsonText(s));
    for (const CBool& b : a->MoreFlags) add(flag(b));
    for (const CStr& s : a->MoreTexts) add(JsonText(s));
    for (int i = 0; i < CActionInfo::kSlots; ++i) {
      add(flag(a->SlotFlags[i]));
      add(JsonText(a->SlotTexts[i]));
      add(JsonText(a->SlotTexts2[i]));
    }
    f.Key("Fields") += "[" + items + "]";
  }
}

}  // namespace

std::string JsonText(const CStr& text) {
  std::string out = "\"";
  for (const char byte : text.View()) {
    const char32_t c = CodePoint(static_cast<unsigned char>(byte));
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
          out += escape;
        } else {
          AppendUtf8(out, c);
        }
    }
  }
  return out + "\"";
}

void DumpJson(CInfo& node, std::string& out, int indent) {
  const std::string pad(std::size_t(indent) * 2, ' ');
  const std::string inner = pad + "  ";
  out += pad + "{\n";
  out += inner + "\"class\": " + JsonText(node.ClassName()) + ",\n";
  out += inner + "\"name\": " + JsonText(node.GetName()) + ",\n";
  out += inner + "\"about\": " + JsonText(node.About) + ",\n";
  out += inner + "\"extra\": " + JsonText(std::as_const(node).Extra()) + ",\n";
  // A form's design is shown line by line as well, for people to read.
  if (design::IsDesign(std::as_const(node).Extra().View())) {
    out += inner + "\"design\": [";
    const std::string_view extra = std::as_const(node).Extra().View();
    const std::vector<std::string> lines = design::SplitLines(extra.substr(design::DesignStart(extra)));
    for (std::size_t i = 0; i < lines.size(); ++i)
      out += (i ? ",\n" : "\n") + inner + "  " + JsonText(CStr(std::string_view(lines[i])));
    out += "\n" + inner + "],\n";
  }
  out += inner + "\"fields\": {";
  Fields fields(out, inner + "  ");
  KindFields(fields, node, inner + "  ");
  out += fields.Empty() ? "},\n" : "\n" + inner + "},\n";
  out += inner + "\"children\": [";
  for (std::int32_t i = 0; i < node.ChildCount().Value; ++i) {
    out += i ? ",\n" : "\n";
    DumpJson(*node.Child(i), out, indent + 2);
  }
  out += node.ChildCount().Value ? "\n" + inner + "]\n" : "]\n";
  out += pad + "}";
}

int CheckDesigns(CInfo& root, std::string& report) {
  int damaged = 0;
  std::vector<CInfo*> pending{&root};
  while (!pending.empty()) {
    CInfo* node = pending.back();
    pending.pop_back();
    const design::Parsed parsed = design::Parse(std::as_const(*node).Extra().View());
    for (const design::Damage& damage : parsed.Damages) {
      ++damaged;
      report += "design of " + node->GetName().ToStd() + ", line " + std::to_string(damage.Line) +
                ": " + damage.Why + "\n";
    }
    for (std::int32_t i = node->ChildCount().Value - 1; i >= 0; --i)
      pending.push_back(node->Child(i));
  }
  return damaged;
}

}  // namespace qxtree
