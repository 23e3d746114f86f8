// The ancestry and creation operations of every object, answered by the class registry. Without
// an application object every class counts as unregistered.
#include "core/App.h"
#include "model/ClassManager.h"

namespace {

CClassManager* Classes() {
  CApp* app = CoreApp;
  return app ? app->ClassMan.get() : nullptr;
}

}  // namespace

CClassInfo* CObject::GetClassInfo() const {
  CClassManager* classes = Classes();
  return classes ? classes->Find(ClassName()) : nullptr;
}

CStr CObject::BaseClassName() const {
  const CClassInfo* record = GetClassInfo();
  return record ? record->Base : CStr();
}

CBool CObject::InheritsFrom(const CStr& name) const {
  CClassManager* classes = Classes();
  if (!classes) return false;
  // The own class name is never compared: an object does not inherit from its own class.
  const CClassInfo* record = classes->Find(ClassName());
  for (std::int32_t steps = 0; record && steps < classes->Count().Value; ++steps) {
    if (record->Base.Length().Value == 0) return false;
    if (record->Base == name) return true;
    record = classes->Find(record->Base);
  }
  return false;
}

CObject* CObject::NewInstance() const {
  const CClassInfo* record = GetClassInfo();
  return record && record->Factory ? record->Factory(nullptr) : nullptr;
}
