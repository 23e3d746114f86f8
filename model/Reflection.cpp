// The ancestry and creation operations of every object. They answer through the class registry;
// until it exists every class counts as unregistered.
#include "core/Values.h"

CClassInfo* CObject::GetClassInfo() const { return nullptr; }
CStr CObject::BaseClassName() const { return ""; }
CBool CObject::InheritsFrom(const CStr&) const { return false; }
CObject* CObject::NewInstance() const { return nullptr; }
