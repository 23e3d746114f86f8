#include "model/UnitInfo.h"

#include "storage/Stream.h"

CStr CFileInfo::ClassName() const {
  return "CFileInfo";
}

CStr CUnitInfo::ClassName() const {
  return "CUnitInfo";
}
void CUnitInfo::SaveFields(CStream& stream) {
  stream.WriteStr(UnitExtra);
}
void CUnitInfo::LoadFields(CStream& stream) {
  stream.ReadStr(UnitExtra);
}

CStr CDllInfo::ClassName() const {
  return "CDllInfo";
}
