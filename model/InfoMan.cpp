#include "model/InfoMan.h"

#include <string_view>

#include "model/Kinds.h"

namespace {

// The kinds a search enters. The operation search also enters DLLs; structures and classes are
// never entered, so a nested class is not found.
constexpr std::string_view kContainers[] = {"CProjectGroupInfo", "CPackInfo", "CAppInfo",
                                            "CLibInfo",          "CUnitInfo", "CDllInfo"};

bool Enters(std::string_view kind, bool withDlls) {
  for (std::string_view c : kContainers)
    if (kind == c) return withDlls || c != "CDllInfo";
  return false;
}

CInfo* FindBelow(const CInfo* node, const CStr& name, std::string_view wanted, bool withDlls) {
  if (!node) return nullptr;
  for (std::int32_t i = 0; i < node->ChildCount().Value; ++i) {
    CInfo* child = node->Child(i);
    const CStr kind = child->ClassName();
    if (kind.View() == wanted) {
      if (child->GetName() == name) return child;
    } else if (Enters(kind.View(), withDlls)) {
      if (CInfo* hit = FindBelow(child, name, wanted, withDlls)) return hit;
    }
  }
  return nullptr;
}

template <class T>
T* Find(const CInfo* node, const CStr& name, std::string_view wanted, bool withDlls) {
  return dynamic_cast<T*>(FindBelow(node, name, wanted, withDlls));
}

}  // namespace

CInfoMan::CInfoMan() {
  // Named before the application object can store names: the root keeps the empty name.
  Root.SetName("root");
}

COperInfo* CInfoMan::FindOper(const CInfo* node, const CStr& name) const {
  return Find<COperInfo>(node, name, "COperInfo", true);
}

CStructInfo* CInfoMan::FindStruct(const CInfo* node, const CStr& name) const {
  return Find<CStructInfo>(node, name, "CStructInfo", false);
}

CClassInfo* CInfoMan::FindClass(const CInfo* node, const CStr& name) const {
  return Find<CClassInfo>(node, name, "CClassInfo", false);
}

CTypeInfo* CInfoMan::FindType(const CInfo* node, const CStr& name) const {
  return Find<CTypeInfo>(node, name, "CTypeInfo", false);
}

COperInfo* CInfoMan::FindOperInScope(const CInfo* node, const CStr& name) const {
  if (!node) return nullptr;
  for (const CInfo* a = node->Parent; a; a = a->Parent)
    if (COperInfo* hit = FindOper(a, name)) return hit;
  return FindOper(&Root, name);
}

CStructInfo* CInfoMan::FindStructInScope(const CInfo* node, const CStr& name) const {
  if (!node) return nullptr;
  for (const CInfo* a = node->Parent; a; a = a->Parent)
    if (CStructInfo* hit = FindStruct(a, name)) return hit;
  return nullptr;
}

CClassInfo* CInfoMan::FindClassInScope(const CInfo* node, const CStr& name) const {
  if (!node) return nullptr;
  for (const CInfo* a = node->Parent; a; a = a->Parent)
    if (CClassInfo* hit = FindClass(a, name)) return hit;
  return nullptr;
}

CTypeInfo* CInfoMan::FindTypeInScope(const CInfo* node, const CStr& name) const {
  if (!node) return nullptr;
  for (const CInfo* a = node->Parent; a; a = a->Parent)
    if (CTypeInfo* hit = FindType(a, name)) return hit;
  return nullptr;
}
