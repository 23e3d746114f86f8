// A unit written out: its header holds the classes, enums, global variables and declarations of
// its functions, its source the bodies of the operations; each file begins with the unit's head
// texts.
#include "writer/Units.h"

#include <algorithm>
#include <utility>

#include "core/App.h"
#include "import/analys/Shared.h"
#include "model/HeadTexts.h"
#include "model/Kinds.h"
#include "writer/Forms.h"

namespace writer {

namespace {

std::string_view Fact(const CInfo& element, std::string_view key) {
  return ExtraValue(element.Extra().View(), key);
}

std::string NameOf(const CInfo& element) { return element.GetName().ToStd(); }

// "const char*" and "Name": "const char* Name"; a type alone or a name alone as it is.
std::string Join(std::string_view left, std::string_view right) {
  if (left.empty()) return std::string(right);
  if (right.empty()) return std::string(left);
  return std::string(left) + " " + std::string(right);
}

// The words of a tail ("const noexcept override = 0") split into those that belong before a
// trailing return type and those after it (override, final, = 0).
void SplitTail(std::string_view tail, std::string& before, std::string& after) {
  std::vector<std::string_view> words;
  for (std::size_t at = 0; at < tail.size();) {
    std::size_t end = tail.find(' ', at);
    if (end == std::string_view::npos) end = tail.size();
    if (end > at) words.push_back(tail.substr(at, end - at));
    at = end + 1;
  }
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::string& to = (words[i] == "override" || words[i] == "final" || words[i] == "=") ? after : before;
    if (words[i] == "=" ) {
      // "= 0", "= default", "= delete" with everything after them.
      for (std::size_t k = i; k < words.size(); ++k) after = Join(after, words[k]);
      break;
    }
    to = Join(to, words[i]);
  }
}

bool HasWord(std::string_view words, std::string_view word) {
  for (std::size_t at = 0; at < words.size();) {
    std::size_t end = words.find(' ', at);
    if (end == std::string_view::npos) end = words.size();
    if (words.substr(at, end - at) == word) return true;
    at = end + 1;
  }
  return false;
}

// A parameter as written in a list: its type with the name put before array brackets.
std::string ParamText(const CParamInfo& param, bool withDefault) {
  const std::string type = param.Type.ToStd(), name = param.GetName().ToStd();
  std::string out;
  const std::size_t bracket = type.find('[');
  if (!name.empty() && bracket != std::string::npos && type.find('(') == std::string::npos)
    out = Join(type.substr(0, bracket), name) + type.substr(bracket);
  else
    out = Join(type, name);
  if (withDefault && !param.About.View().empty()) out += " = " + param.About.ToStd();
  return out;
}

std::string ParamList(const COperInfo& operation, bool withDefaults) {
  std::string out = "(";
  for (std::int32_t i = 0; i < operation.Params.Count().Value; ++i) {
    if (i) out += ", ";
    out += ParamText(*operation.Param(i), withDefaults);
  }
  return out + ")";
}

// Whether the element or a class around it has a template head: its bodies must be seen
// where it is used, so they stay in the header.
bool Templated(const CInfo& element) {
  for (const CInfo* e = &element; e && !dynamic_cast<const CUnitInfo*>(e); e = e->Parent)
    if (!Fact(*e, "template").empty()) return true;
  return false;
}

bool IsStruct(const CInfo* element) { return dynamic_cast<const CStructInfo*>(element) != nullptr; }

bool IsEnum(const CInfo* element) {
  return element->ClassName() == "CTypeInfo" && Fact(*element, "key").starts_with("enum");
}

// The access word a class's members start under.
int DefaultAccess(const CInfo& type) {
  const std::string_view key = Fact(type, "key");
  return key == "struct" || key == "union" || !dynamic_cast<const CClassInfo*>(&type) ? 2 : 0;
}

constexpr std::string_view kAccessWords[] = {"private", "protected", "public", "public"};

}  // namespace

void CFileText::Line(std::string_view text, CInfo* element, int codeLine) {
  if (open_ != want_) Switch(element);
  Put(text, element, codeLine);
}

void CFileText::Put(std::string_view text, CInfo* element, int codeLine) {
  if (!text.empty()) {
    Text += Indent;
    Text += text;
  }
  Text += '\n';
  Lines.push_back({element, codeLine});
}

void CFileText::Lines_(std::string_view text, CInfo* element) {
  // A text of several lines (a head text): each of its lines, without the indentation.
  const std::string keep = std::exchange(Indent, std::string());
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (line.ends_with('\r')) line.remove_suffix(1);
    Line(line, element);
    at = end + 1;
  }
  Indent = keep;
}

void CFileText::OpenNamespace(std::string_view path, CInfo* element) {
  std::vector<std::string> want;
  for (std::size_t at = 0; !path.empty() && at <= path.size();) {
    std::size_t end = path.find("::", at);
    if (end == std::string_view::npos) end = path.size();
    want.emplace_back(path.substr(at, end - at));
    at = end + 2;
  }
  want_ = std::move(want);
}

void CFileText::CloseNamespaces() {
  want_.clear();
  if (open_ != want_) Switch(nullptr);
}

void CFileText::Switch(CInfo* element) {
  // Blocks are opened only before a line that goes in them: an empty block would read back as
  // text of the unit's own.
  const std::string keep = std::exchange(Indent, std::string());
  if (!open_.empty()) {
    for (std::size_t i = 0; i < open_.size(); ++i) Put("}", nullptr, -1);
    Put("", nullptr, -1);
  }
  for (const std::string& name : want_) Put(name == "(anonymous)" ? "namespace {" : "namespace " + name + " {", element, -1);
  if (!want_.empty()) Put("", element, -1);
  open_ = want_;
  Indent = keep;
}

void CFileText::Body(COperInfo& operation) {
  Line("{", &operation);
  const std::string keep = std::exchange(Indent, std::string());
  const std::string_view code = operation.Code.View();
  int number = 0;
  for (std::size_t at = 0; at <= code.size(); ++number) {
    std::size_t end = code.find("\r\n", at);
    if (end == std::string_view::npos) end = code.size();
    Line(code.substr(at, end - at), &operation, number);
    at = end + 2;
  }
  Indent = keep;
  Line("}", &operation);
}

CUnitWriter::CUnitWriter(CUnitInfo& unit) : unit_(unit) {}

void CUnitWriter::Write() {
  const HeadTexts heads = ReadHeads(unit_.UnitExtra);
  const std::string name = NameOf(unit_);
  Header.Line("#pragma once", &unit_);
  if (!FormClasses(unit_).empty()) Header.Line("#include \"" + FormsFileName(unit_) + "\"", &unit_);
  Header.Lines_(heads.Header, &unit_);
  Header.Line("", &unit_);
  Source.Line("#include \"" + name + ".h\"", &unit_);
  Source.Lines_(heads.Source, &unit_);
  Source.Line("", &unit_);
  for (std::int32_t i = 0; i < unit_.ChildCount().Value; ++i) {
    CInfo* child = unit_.Child(i);
    if (IsStruct(child) || IsEnum(child)) {
      Header.OpenNamespace(Fact(*child, "namespace"), child);
      Source.OpenNamespace(Fact(*child, "namespace"), child);
      if (IsStruct(child))
        Type(*static_cast<CStructInfo*>(child));
      else
        Enum(*child);
    } else if (auto* attribute = dynamic_cast<CAtrInfo*>(child)) {
      Header.CloseNamespaces();
      Source.CloseNamespaces();
      GlobalVariable(*attribute);
    } else if (auto* operation = dynamic_cast<COperInfo*>(child)) {
      Header.CloseNamespaces();
      Source.CloseNamespaces();
      Operation(*operation, "");
    }
    // Other kinds (event types, types that are neither enums nor classes) have no C++ form of
    // their own here.
  }
  Header.CloseNamespaces();
  Source.CloseNamespaces();
}

void CUnitWriter::Enum(CInfo& type) {
  const auto& info = static_cast<const CTypeInfo&>(type);
  std::string head = Join(Fact(type, "key"), NameOf(type));
  if (!info.BaseType.View().empty()) head += " : " + info.BaseType.ToStd();
  Header.Line(head, &type);
  Header.Line("{", &type);
  Header.Line("  " + std::string(Fact(type, "values")), &type);
  Header.Line("};", &type);
}

void CUnitWriter::Type(CStructInfo& type) {
  auto* cls = dynamic_cast<CClassInfo*>(&type);
  const std::string_view key = Fact(type, "key");
  std::string head = Join(key.empty() ? (cls ? "class" : "struct") : key, NameOf(type));
  if (!Fact(type, "template").empty()) Header.Line(Fact(type, "template"), &type);
  if (cls && cls->ClassFlag) {
    Header.Line(head + ";", &type);
    return;
  }
  if (!Fact(type, "final").empty()) head += " final";
  if (!Fact(type, "bases").empty()) {
    head += " : " + std::string(Fact(type, "bases"));
  } else if (cls && !cls->Base.View().empty()) {
    // No access word for the first access: the class's own default, as the import reads it.
    head += " : ";
    if (cls->Kind.Value > 0 && cls->Kind.Value < 4) head += std::string(kAccessWords[cls->Kind.Value]) + " ";
    head += cls->Base.ToStd();
  }
  Header.Line(head, &type);
  Header.Line("{", &type);
  int access = DefaultAccess(type);
  const std::string outer = Header.Indent;
  Header.Indent += "  ";
  for (std::int32_t i = 0; i < type.ChildCount().Value; ++i) {
    CInfo* child = type.Child(i);
    if (auto* member = dynamic_cast<CMemberInfo*>(child); member && member->Access.Value != access &&
                                                          member->Access.Value >= 0 && member->Access.Value < 4) {
      access = member->Access.Value;
      Header.Indent = outer;
      Header.Line(std::string(kAccessWords[access]) + ":", member);
      if (access == 3) access = 2;
      Header.Indent = outer + "  ";
    }
    if (IsStruct(child) || IsEnum(child)) {
      // Types have no access of their own: they are written where everyone may use them.
      if (access != 2) {
        Header.Indent = outer;
        Header.Line("public:", child);
        Header.Indent = outer + "  ";
      }
      access = 2;
      if (IsEnum(child)) {
        Enum(*child);
      } else {
        Type(*static_cast<CStructInfo*>(child));
        // The reader keeps the nested class's last access after it: the next member says its own.
        access = -1;
      }
    } else if (auto* attribute = dynamic_cast<CAtrInfo*>(child)) {
      Member(*attribute, type);
    }
    else if (auto* operation = dynamic_cast<COperInfo*>(child))
      Operation(*operation, ScopeOf(type));
  }
  if (cls && IsFormClass(*cls)) {
    // The members the design needs (the unit's .forms.h); the reader passes over the macro.
    Header.Line("QX_FORM(" + NameOf(type) + ");", &type);
  }
  Header.Indent = outer;
  Header.Line("};", &type);
}

std::string CUnitWriter::ScopeOf(const CInfo& type) const {
  std::string scope;
  for (const CInfo* e = &type; e && IsStruct(e); e = e->Parent) scope = NameOf(*e) + "::" + scope;
  return scope;
}

void CUnitWriter::Member(CAtrInfo& attribute, const CStructInfo& owner) {
  const std::string_view prefix = Fact(attribute, "prefix"), declarator = Fact(attribute, "declarator");
  if (!Fact(attribute, "template").empty()) Header.Line(Fact(attribute, "template"), &attribute);
  Header.Line(Join(prefix, Join(attribute.Type.View(), NameOf(attribute))) + std::string(declarator) + ";", &attribute);
  // A static data member declared without a value is defined once, in the source.
  const bool defined = HasWord(prefix, "inline") || HasWord(prefix, "constexpr") ||
                       declarator.find('=') != std::string_view::npos || declarator.find('{') != std::string_view::npos;
  if (HasWord(prefix, "static") && !defined && Fact(attribute, "template").empty() && !Templated(owner)) {
    std::string array(declarator);
    Source.Line(Join(attribute.Type.View(), ScopeOf(owner) + NameOf(attribute)) + array +
                    std::string(Fact(attribute, "define")) + ";",
                &attribute);
  }
}

void CUnitWriter::GlobalVariable(CAtrInfo& variable) {
  // The header declares it for every unit that includes it; the source defines it once. A
  // variable whose words already say where it lives is written as it is, in the header.
  const std::string_view prefix = Fact(variable, "prefix"), declarator = Fact(variable, "declarator");
  const std::string whole = Join(prefix, Join(variable.Type.View(), NameOf(variable))) + std::string(declarator) + ";";
  if (HasWord(prefix, "extern") || HasWord(prefix, "static") || HasWord(prefix, "inline") ||
      HasWord(prefix, "constexpr") || !Fact(variable, "template").empty()) {
    if (!Fact(variable, "template").empty()) Header.Line(Fact(variable, "template"), &variable);
    Header.Line(whole, &variable);
    return;
  }
  // The array bounds stay in the declaration; the value goes with the definition alone.
  const std::size_t cut = std::min(declarator.find('='), declarator.find('{'));
  Header.Line(Join("extern", Join(variable.Type.View(), NameOf(variable))) +
                  std::string(declarator.substr(0, std::min(cut, declarator.size()))) + ";",
              &variable);
  Source.Line(whole, &variable);
}

void CUnitWriter::Operation(COperInfo& operation, const std::string& scope) {
  const std::string_view prefix = Fact(operation, "prefix"), call = Fact(operation, "call"),
                         returns = Fact(operation, "returns"), templ = Fact(operation, "template");
  std::string before, after;
  SplitTail(Fact(operation, "tail"), before, after);
  const bool noBody = after.find('=') != std::string::npos && !after.ends_with("= 0");
  const bool hasBody = !operation.Code.View().empty() && !noBody;
  // Bodies that must be seen where they are used stay in the header, inside the class.
  // A class named like a macro (RE) would read as one in "RE::RE(": its bodies stay in the class.
  const bool macroName = analys::LooksLikeMacro(scope.substr(0, scope.find("::")));
  const bool inHeader = hasBody && (Templated(operation) || macroName || operation.Type.View().find("auto") != std::string_view::npos || HasWord(prefix, "inline") ||
                                    HasWord(prefix, "constexpr") || HasWord(prefix, "consteval") ||
                                    HasWord(prefix, "__forceinline"));
  if (!templ.empty()) Header.Line(templ, &operation);
  std::string head = Join(prefix, Join(operation.Type.View(), Join(call, NameOf(operation)))) + ParamList(operation, true);
  head = Join(head, before);
  if (!returns.empty()) head += " -> " + std::string(returns);
  if (inHeader && after.find('=') == std::string::npos) {
    Header.Line(Join(head, after), &operation);
    Header.Body(operation);
    return;
  }
  Header.Line(Join(head, after) + ";", &operation);
  if (!hasBody || inHeader) return;
  // Out of line: no specifiers, the return type after the parameters, where the class's own
  // names are in scope.
  std::string definition = Join(call, scope + NameOf(operation)) + ParamList(operation, false);
  definition = Join(definition, before);
  if (!returns.empty())
    definition = Join(operation.Type.View(), definition) + " -> " + std::string(returns);
  else if (!operation.Type.View().empty())
    definition = "auto " + definition + " -> " + operation.Type.ToStd();
  Source.Line(definition, &operation);
  Source.Body(operation);
  Source.Line("", &operation);
}

}  // namespace writer
