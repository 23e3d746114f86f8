// Declaring and finding: DeclareAttribute, DeclareOperation, FindClass, FindOperation, IsTypeName.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"

using namespace analys;

void CCppAnalys::DeclareAttribute(CInfo* scope, TMemberInfo& info) {
  auto* attribute = new CAtrInfo;
  if (scope)
    scope->Append(attribute);
  else
    GlobalItems.Add(attribute);
  attribute->SetName(info.Name);
  attribute->Type = info.TypeName;
  attribute->MemberFlag = info.PointerLevel != 0;
  attribute->Access = CurrentAccess;
  info.MemberKind = 1;
}

COperInfo* CCppAnalys::DeclareOperation(CInfo* scope, TMemberInfo& info) {
  info.MemberKind = 2;
  // TForm1::Click: each field but the last names the class to look in.
  std::string_view rest = info.Name.View();
  for (std::size_t at; (at = rest.find("::")) != std::string_view::npos;) {
    scope = FindClass(scope, CStr(rest.substr(0, at)));
    rest.remove_prefix(at + 2);
    // The class whose methods will likely follow these: its operations' place is fetched now.
    if (const CInfo* upcoming = classes_->Upcoming()) operations_->Expect(upcoming);
  }
  CStr name(rest);
  if (info.Special == 2) name = CStr("~") + name;
  const bool made = scope && operations_->IsMade(scope);
  if (scope) {
    COperInfo* declared = made ? operations_->Find(scope, name.View()) : FindOperation(scope, name);
    if (declared) return declared;
  }
  auto* operation = new COperInfo;
  // An operation with no class to belong to stays with the analyser, like a global variable.
  if (scope)
    scope->Append(operation);
  else
    GlobalItems.Add(operation);
  operation->SetName(name);
  if (made) operations_->Add(scope, name.View(), operation);
  operation->Type = info.TypeName;
  operation->Access = CurrentAccess;
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

