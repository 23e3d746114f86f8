// Declaring and finding: DeclareAttribute, DeclareOperation, FindClass, FindOperation, IsTypeName.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"

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

// "tail" line of an element's Extra.
std::string_view ExtraLine(std::string_view extra, std::string_view key) {
  for (std::size_t at = 0; at < extra.size();) {
    std::size_t end = extra.find("\r\n", at);
    if (end == std::string_view::npos) end = extra.size();
    const std::string_view line = extra.substr(at, end - at);
    if (line.size() > key.size() + 1 && line.starts_with(key) && line[key.size()] == ':')
      return line.substr(key.size() + 2);
    at = end + 2;
  }
  return {};
}

}  // namespace

void CCppAnalys::DeclareAttribute(CInfo* scope, TMemberInfo& info) {
  auto* attribute = new CAtrInfo;
  if (scope)
    scope->Append(attribute);
  else
    GlobalItems.Add(attribute);
  attribute->SetName(info.Name);
  attribute->Type = CStr(TypeOf(info));
  attribute->MemberFlag = info.PointerLevel != 0;
  attribute->Access = CurrentAccess;
  const std::string prefix = PrefixOf(info);
  if (!prefix.empty()) PutExtra(attribute, "prefix", prefix);
  if (!info.Declarator.empty()) PutExtra(attribute, "declarator", info.Declarator);
  if (!templateHead_.empty()) PutExtra(attribute, "template", templateHead_);
  info.MemberKind = 1;
}

std::string CCppAnalys::OperSignature(const COperInfo* operation) const {
  std::vector<CParamText> params;
  for (std::int32_t i = 0; i < operation->Params.Count().Value; ++i)
    params.push_back({operation->Param(i)->Type.ToStd(), {}, {}});
  return Signature(NameOf(operation), params, ExtraLine(operation->Extra().View(), "tail"));
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
    CClassInfo* owner = FindQualified(scope, rest.substr(0, at));
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
  const bool made = scope && operations_->IsMade(scope);
  if (scope) {
    COperInfo* declared = made ? operations_->Find(scope, key) : nullptr;
    if (!made && dynamic_cast<CClassInfo*>(scope)) {
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
    if (declared) return declared;
  }
  auto* operation = new COperInfo;
  // An operation with no class to belong to stays with the analyser, like a global variable.
  if (scope)
    scope->Append(operation);
  else
    GlobalItems.Add(operation);
  operation->SetName(name);
  if (made) operations_->Add(scope, key, operation);
  operation->Type = CStr(info.ReturnType.empty() ? TypeOf(info) : TypeOf(info) + " -> " + info.ReturnType);
  if (!info.ReturnType.empty()) {
    operation->Type = CStr(TypeOf(info));
    PutExtra(operation, "returns", info.ReturnType);
  }
  operation->Access = CurrentAccess;
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
  for (std::int32_t i = 0; i < unit->ChildCount().Value; ++i) classes_->Removing(unit->Child(i));
  unit->Children.Clear();
}

