#include "core/Object.h"

#include "core/App.h"
#include "core/Values.h"
#include "model/NameManager.h"
#include "storage/Stream.h"

namespace {

CNameManager* Names() {
  CApp* app = CoreApp;
  return app ? app->NameMan.get() : nullptr;
}

}  // namespace

void CObject::Unname() const {
  if (CNameManager* names = Names(); names && names != this) names->Forget(this);
}

void CObject::Free() { delete this; }

CStr CObject::ClassName() const { return "CObject"; }
CStr CVar::ClassName() const { return "CVar"; }
CStr CNum::ClassName() const { return "CNum"; }

void CObject::SaveToStream(CStream& stream) { stream.WriteStr(GetName()); }

void CObject::LoadFromStream(CStream& stream) {
  CStr name;
  stream.ReadStr(name);  // an empty stream yields ""
  SetName(name);
}

CStr CObject::GetName() const {
  CNameManager* names = Names();
  return names ? names->NameOf(this) : CStr();
}

void CObject::SetName(const CStr& name) {
  if (CNameManager* names = Names()) names->SetNameOf(this, name);
}

CBool CObject::IsControl() const { return false; }
