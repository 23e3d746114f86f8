#include "core/Bool.h"

#include "core/Int.h"
#include "core/Str.h"
#include "storage/Stream.h"

CStr CBool::ClassName() const { return "CBool"; }

void CBool::SaveToStream(CStream& stream) {
  CObject::SaveToStream(stream);
  stream.WriteBool(*this);
}

void CBool::LoadFromStream(CStream& stream) {
  CObject::LoadFromStream(stream);
  stream.ReadBool(*this);
}

CInt CBool::PropCount() { return 1; }
CStr CBool::PropName(const CInt&) { return "Value"; }
CStr CBool::PropType(const CInt&) { return "CInt"; }

CStr CBool::ToStr() const { return Value ? "true" : ""; }
