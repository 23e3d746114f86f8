#include "model/ActionInfo.h"

#include "storage/Stream.h"

CStr CObjectInfo::ClassName() const {
  return "CObjectInfo";
}

CStr CActionInfo::ClassName() const {
  return "CActionInfo";
}

void CActionInfo::SaveFields(CStream& stream) {
  for (const CBool& flag : Flags) stream.WriteBool(flag);
  stream.WriteFloat(Value);
  for (const CStr& text : Texts) stream.WriteStr(text);
  for (const CBool& flag : MoreFlags) stream.WriteBool(flag);
  for (const CStr& text : MoreTexts) stream.WriteStr(text);
  for (int i = 0; i < kSlots; ++i) {
    stream.WriteBool(SlotFlags[i]);
    stream.WriteStr(SlotTexts[i]);
    stream.WriteStr(SlotTexts2[i]);
  }
}

void CActionInfo::LoadFields(CStream& stream) {
  for (CBool& flag : Flags) stream.ReadBool(flag);
  stream.ReadFloat(Value);
  for (CStr& text : Texts) stream.ReadStr(text);
  for (CBool& flag : MoreFlags) stream.ReadBool(flag);
  for (CStr& text : MoreTexts) stream.ReadStr(text);
  for (int i = 0; i < kSlots; ++i) {
    stream.ReadBool(SlotFlags[i]);
    stream.ReadStr(SlotTexts[i]);
    stream.ReadStr(SlotTexts2[i]);
  }
}
