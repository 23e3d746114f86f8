// Declaring and finding: DeclareAttribute, DeclareOperation, FindClass, FindOperation, IsTypeName.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"
#include "model/HeadTexts.h"

using namespace analys;

namespace {

// The qualifiers of a member function that make it another overload: const, volatile, & and &&.
std::string CvOf(std::string_view tail) {
  std::string out;
  for (std::size_t at = 0; at < tail.size();) {
    std::size_t end = tail.find(' ', at);
    if (end == std::string_view::npos) end = tail.size();
    const std::string_view word = tail.substr(at, end - at);
    if (word == "const" || word == "volatile" || word == "&" || word == "&&") {
      out += ' ';
      out += word;
    }
    at = end + 1;
  }
  return out;
}

std::string Signature(std::string_view name, const std::vector<CParamText>& params, std::string_view tail) {
  std::string key(name);
  key += '(';
  for (std::size_t i = 0; i < params.size(); ++i) {
    if (i) key += ',';
    key += params[i].Type;
  }
  key += ')';
  key += CvOf(tail);
  return key;
}

}  // namespace

CAtrInfo* CCppAnalys::UnitVariable(CInfo* unit, TMemberInfo& info) {
  // A.h says "extern int Count;", A.cpp "int Count = 5;": one variable, as the definition
  // says. int A::count = 0; defines the static member count of A, and its value is kept there.
  const std::string_view name = info.Name.View();
  if (const std::size_t cut = name.rfind("::"); cut != std::string_view::npos) {
    // A template's member is defined with the template's head, which the writer does not
    // repeat: its definition stays text of the file.
    CClassInfo* owner = FindQualified(nullptr, name.substr(0, cut));
    if (owner && (!templateHead_.empty() || !ExtraValue(owner->Extra().View(), "template").empty())) return nullptr;
    for (std::int32_t i = 0; owner && i < owner->ChildCount().Value; ++i)
      if (auto* member = dynamic_cast<CAtrInfo*>(owner->Child(i)); member && NameOf(member) == name.substr(cut + 2)) {
        if (!info.Declarator.empty()) PutExtra(member, "define", info.Declarator);
        ++elementsMade_;
        return member;
      }
    return nullptr;
  }
  const std::string prefix = PrefixOf(info);
  if (prefix.find("extern") != std::string::npos) return nullptr;
  if (externsOf_ != unit) {
    // The unit's extern variables by name, found once: a source defines thousands of them.
    externs_.clear();
    for (std::int32_t i = 0; i < unit->ChildCount().Value; ++i)
      if (auto* declared = dynamic_cast<CAtrInfo*>(unit->Child(i));
          declared && ExtraValue(declared->Extra().View(), "prefix") == "extern")
        externs_.emplace(NameOf(declared), declared);
    externsOf_ = unit;
  }
  if (const auto found = externs_.find(std::string(name)); found != externs_.end()) {
    CAtrInfo* declared = found->second;
    externs_.erase(found);
    declared->Extra() = CStr();
    declared->Type = CStr(TypeOf(info));
    declared->MemberFlag = info.PointerLevel != 0;
    if (!prefix.empty()) PutExtra(declared, "prefix", prefix);
    if (!info.Declarator.empty()) PutExtra(declared, "declarator", info.Declarator);
    ++elementsMade_;
    return declared;
  }
  return nullptr;
}

void CCppAnalys::DeclareAttribute(CInfo* scope, TMemberInfo& info) {
  info.MemberKind = 1;
  const bool atUnit = dynamic_cast<CUnitInfo*>(scope) != nullptr;
  if (atUnit && UnitVariable(scope, info)) return;
  // int A::count = 0; inside a namespace: the static member's definition.
  if (!scope && dynamic_cast<CUnitInfo*>(ImportedUnit) && info.Name.View().find("::") != std::string_view::npos &&
      UnitVariable(ImportedUnit, info))
    return;
  // A qualified name inside a class names no member of it (a type the reader took apart).
  if (dynamic_cast<CClassInfo*>(scope) && info.Name.View().find("::") != std::string_view::npos)
    throw CCannotPlace{"qualified member"};
  // A qualified name that names no member, or a word without a type ("N;"), is no variable
  // of the unit: it stays with the analyser, as any declaration outside a unit does.
  if (atUnit && (info.Name.View().find("::") != std::string_view::npos || TypeOf(info).empty())) scope = nullptr;
  auto* attribute = new CAtrInfo;
  if (scope) {
    scope->Append(attribute);
    ++elementsMade_;
  } else {
    GlobalItems.Add(attribute);
  }
  attribute->SetName(info.Name);
  attribute->Type = CStr(TypeOf(info));
  attribute->MemberFlag = info.PointerLevel != 0;
  attribute->Access = scope && atUnit ? 2 : CurrentAccess.Value;
  const std::string prefix = PrefixOf(info);
  if (!prefix.empty()) PutExtra(attribute, "prefix", prefix);
  if (!info.Declarator.empty()) PutExtra(attribute, "declarator", info.Declarator);
  if (!templateHead_.empty()) PutExtra(attribute, "template", templateHead_);
  if (scope && atUnit && externsOf_ == scope && prefix == "extern") externs_.emplace(info.Name.ToStd(), attribute);
}

std::string CCppAnalys::OperSignature(const COperInfo* operation) const {
  std::vector<CParamText> params;
  for (std::int32_t i = 0; i < operation->Params.Count().Value; ++i)
    params.push_back({operation->Param(i)->Type.ToStd(), {}, {}});
  return Signature(NameOf(operation), params, ExtraValue(operation->Extra().View(), "tail"));
}

CClassInfo* CCppAnalys::FindQualified(CInfo* scope, std::string_view qualifier) {
  // A::B: each field names a class below the one before; a field that names no class but a
  // namespace the import has met is passed over. Template arguments are not part of the name.
  CInfo* at = scope;
  CClassInfo* found = nullptr;
  for (std::size_t from = 0; from <= qualifier.size();) {
    std::size_t end = qualifier.find("::", from);
    if (end == std::string_view::npos) end = qualifier.size();
    std::string_view field = qualifier.substr(from, end - from);
    if (const std::size_t angle = field.find('<'); angle != std::string_view::npos) field = field.substr(0, angle);
    from = end + 2;
    if (field.empty()) continue;  // ::A
    CClassInfo* c = FindClass(at, CStr(field));
    if (!c && std::find(knownNamespaces_.begin(), knownNamespaces_.end(), field) != knownNamespaces_.end()) continue;
    if (!c) return nullptr;
    found = c;
    at = c;
  }
  return found;
}

COperInfo* CCppAnalys::DeclareOperation(CInfo* scope, TMemberInfo& info) {
  info.MemberKind = 2;
  // TForm1::Click: each field but the last names the class to look in.
  std::string_view rest = info.Name.View();
  bool qualified = false;
  if (const std::size_t at = rest.rfind("::"); at != std::string_view::npos && rest.substr(0, at).find("operator ") == std::string_view::npos) {
    // A class-qualified name: within a class, its own name; outside, the path from the top.
    // A qualified name at file level is looked up as before units held functions: from the top.
    CClassInfo* owner = FindQualified(dynamic_cast<CUnitInfo*>(scope) ? nullptr : scope, rest.substr(0, at));
    if (!owner && scope && rest.substr(0, at) == NameOf(scope)) owner = dynamic_cast<CClassInfo*>(scope);
    scope = owner;
    rest.remove_prefix(at + 2);
    qualified = true;
    // The class whose methods will likely follow these: its operations' place is fetched now.
    if (const CInfo* upcoming = classes_->Upcoming()) operations_->Expect(upcoming);
  }
  CStr name(rest);
  if (info.Special == 2) name = CStr("~") + name;
  const std::string key = Signature(name.View(), info.Params, info.Tail);
  bool made = scope && operations_->IsMade(scope);
  if (scope && !made && dynamic_cast<CUnitInfo*>(scope)) {
    // The unit's functions go in the index too: a source defines thousands of them.
    operations_->Made(scope);
    for (std::int32_t i = 0; i < scope->ChildCount().Value; ++i)
      if (auto* o = dynamic_cast<COperInfo*>(scope->Child(i))) operations_->Add(scope, OperSignature(o), o);
    made = true;
  }
  if (scope) {
    COperInfo* declared = made ? operations_->Find(scope, key) : nullptr;
    if (!made && (dynamic_cast<CClassInfo*>(scope) || dynamic_cast<CUnitInfo*>(scope))) {
      for (std::int32_t i = 0; i < scope->ChildCount().Value && !declared; ++i)
        if (auto* o = dynamic_cast<COperInfo*>(scope->Child(i)); o && NameOf(o) == name.View() && OperSignature(o) == key)
          declared = o;
    }
    if (!declared && qualified) {
      // The parameters written otherwise (a typedef's name): the one operation of the name that
      // has no body yet.
      COperInfo* only = nullptr;
      int count = 0;
      for (std::int32_t i = 0; i < scope->ChildCount().Value; ++i)
        if (auto* o = dynamic_cast<COperInfo*>(scope->Child(i)); o && NameOf(o) == name.View()) {
          ++count;
          only = o;
        }
      if (count == 1 && only->Code.View().empty() && only->Params.Count().Value == std::int32_t(info.Params.size()))
        declared = only;
    }
    if (declared) {
      ++elementsMade_;
      return declared;
    }
  }
  auto* operation = new COperInfo;
  // An operation with no class to belong to stays with the analyser, like a global variable.
  if (scope) {
    scope->Append(operation);
    ++elementsMade_;
  } else {
    GlobalItems.Add(operation);
  }
  operation->SetName(name);
  if (made) operations_->Add(scope, key, operation);
  operation->Type = CStr(info.ReturnType.empty() ? TypeOf(info) : TypeOf(info) + " -> " + info.ReturnType);
  if (!info.ReturnType.empty()) {
    operation->Type = CStr(TypeOf(info));
    PutExtra(operation, "returns", info.ReturnType);
  }
  operation->Access = dynamic_cast<CUnitInfo*>(scope) ? 2 : CurrentAccess.Value;
  for (const CParamText& param : info.Params) operation->AddParam(CStr(param.Type), CStr(param.Name), CStr(param.Value));
  const std::string prefix = PrefixOf(info);
  if (!prefix.empty()) PutExtra(operation, "prefix", prefix);
  std::string call;
  for (const CPiece& p : info.Pieces)
    if (p.Use == CPiece::kCall) call = p.Text;
  if (!call.empty()) PutExtra(operation, "call", call);
  if (!info.Tail.empty()) PutExtra(operation, "tail", info.Tail);
  if (!info.Declarator.empty()) PutExtra(operation, "declarator", info.Declarator);
  if (!templateHead_.empty()) PutExtra(operation, "template", templateHead_);
  return operation;
}

CClassInfo* CCppAnalys::FindClass(CInfo* start, const CStr& name) {
  if (!start) start = Root;
  if (!start) return nullptr;
  const CInfo* rootTop = Root;
  while (rootTop && rootTop->Parent) rootTop = rootTop->Parent;
  const CInfo* unitTop = ImportedUnit;
  while (unitTop && unitTop->Parent) unitTop = unitTop->Parent;
  return classes_->Find(start, name, {rootTop, unitTop});
}

COperInfo* CCppAnalys::FindOperation(CInfo* scope, const CStr& name) {
  if (!dynamic_cast<CClassInfo*>(scope) && !dynamic_cast<CUnitInfo*>(scope)) return nullptr;
  // Names first, read in place: the cast, which compares type names, is then asked only of the
  // child that has the name, not of every member before it.
  const std::int32_t count = scope->Children.Size();
  for (std::int32_t i = 0; i < count; ++i) {
    CObject* child = scope->Children.At(i);
    if (NameOf(child) == name.View())
      if (auto* operation = dynamic_cast<COperInfo*>(child)) return operation;
  }
  return nullptr;
}

int CCppAnalys::IsTypeName(CInfo* scope, const CStr& word) {
  if ((scope && scope->GetName() == word) || FindClass(Root, word) || (scope && FindClass(scope, word))) return 1;
  for (std::int32_t i = 0; i < Typedefs.Count().Value; ++i)
    if (Typedefs.Get(i)->GetName() == word) return 2;
  for (std::int32_t i = 0; i < EventTypes.Count().Value; ++i)
    if (EventTypes.Get(i)->GetName() == word) return 3;
  return 0;
}

void CCppAnalys::RestartClassIndex() {
  classes_ = std::make_unique<CClassIndex>();
  operations_->Clear();
}

void CCppAnalys::ClearUnit(CInfo* unit) {
  operations_->Clear();
  externsOf_ = nullptr;
  for (std::int32_t i = 0; i < unit->ChildCount().Value; ++i) classes_->Removing(unit->Child(i));
  unit->Children.Clear();
}

