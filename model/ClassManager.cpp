#include "model/ClassManager.h"

// [SECTION] Properties

CStr CPropInfo::ClassName() const {
  return "CInfo";
}

void CPropInfo::Get(CObject* owner, CObject* target) const {
  if (Getter && owner && target) Getter(owner, target);
}

void CPropInfo::Set(CObject* owner, CObject* value) const {
  if (Setter && owner && value) Setter(owner, value);
}

void NoGet(CObject*, CObject*) {}
void NoSet(CObject*, CObject*) {}

// [SECTION] Registry

void CClassManager::Register(CClassInfo* record) {
  Classes.Add(record);
  first_.try_emplace(record->GetName().ToStd(), record);
}

CClassInfo* CClassManager::Register(const CClassRow& row) {
  auto* record = new CClassInfo;
  record->SetName(row.Name);
  const CStr base = row.Base;
  record->Kind = base.Length().Value == 0 ? 0 : 2;  // only the root class has no base
  record->Base = base;
  record->Unit = row.Unit;
  record->About = row.About;
  record->Factory = row.Factory;
  for (const CPropRow& p : row.Properties) {
    auto* prop = new CPropInfo;
    prop->SetName(p.Name);
    prop->Type = p.Type;
    prop->PropFlag = p.PropFlag;
    prop->IsObject = p.IsObject;
    prop->Getter = p.Getter;
    prop->Setter = p.Setter;
    prop->Checker = p.Checker;
    record->Properties.Add(prop);
  }
  Register(record);
  return record;
}

void CClassManager::Register(std::span<const CClassRow> rows) {
  for (const CClassRow& row : rows) Register(row);
}

CClassInfo* CClassManager::Find(const CStr& name) const {
  const auto found = first_.find(name.View());
  return found == first_.end() ? nullptr : found->second;
}

CObject* CClassManager::CreateByName(const CStr& name, CObject* owner) const {
  const CClassInfo* record = Find(name);
  return record && record->Factory ? record->Factory(owner) : nullptr;
}

CBool CClassManager::InheritsFromName(const CStr& className, const CStr& ancestor) const {
  // Registered bases cannot loop in the tables of this program; the bound only keeps a
  // careless registration from hanging every lookup.
  const CClassInfo* record = Find(className);
  for (std::int32_t steps = 0; record && steps < Classes.Count().Value; ++steps) {
    if (record->Base.Length().Value == 0) return false;  // the root: nothing above it
    if (record->Base == ancestor) return true;
    record = Find(record->Base);
  }
  return false;
}
