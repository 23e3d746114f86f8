#include "model/SafeNames.h"

#include <vector>

#include "core/App.h"
#include "core/Cp1251.h"
#include "model/Kinds.h"

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\' || c == ':') return false;
  }
  return true;
}

const CInfo* FirstUnsafeOnPath(const CInfo& element) {
  // Outermost first: a bad group name is the one to mend before its application's.
  std::vector<const CInfo*> path;
  if (dynamic_cast<const CUnitInfo*>(&element)) path.push_back(&element);
  for (const CInfo* a = element.Parent; a; a = a->Parent)
    if (dynamic_cast<const CProjectInfo*>(a)) path.push_back(a);
  if (dynamic_cast<const CProjectInfo*>(&element)) path.insert(path.begin(), &element);
  for (auto it = path.rbegin(); it != path.rend(); ++it)
    if (!IsSafeFileName((*it)->GetName().View())) return *it;
  return nullptr;
}

const char* UnsafeNameWords() { return "Имя не может быть именем файла: "_cp; }

CStr ProjectFolder(const CInfo& element) {
  CStr path;
  const CInfo* from = dynamic_cast<const CProjectInfo*>(&element) ? &element : element.Parent;
  for (const CInfo* a = from; a; a = a->Parent)
    if (dynamic_cast<const CProjectInfo*>(a)) path = a->GetName() + "\\" + path;
  return (CoreApp ? CoreApp->HomeDir : CStr("C:\\Qxe")) + "\\" + path;
}
