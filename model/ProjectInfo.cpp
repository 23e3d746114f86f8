#include "model/ProjectInfo.h"

#include "storage/Stream.h"

CStr CProjectInfo::ClassName() const {
  return "CProjectInfo";
}

CStr CProjectGroupInfo::ClassName() const {
  return "CProjectGroupInfo";
}
void CProjectGroupInfo::SaveFields(CStream& stream) {
  stream.WriteStr(ProjectExtra);
}
void CProjectGroupInfo::LoadFields(CStream& stream) {
  stream.ReadStr(ProjectExtra);
}

CStr CPackInfo::ClassName() const {
  return "CPackInfo";
}

void CPackInfo::SaveFields(CStream& stream) {
  stream.WriteStr(ProjectExtra);
  stream.WriteStr(PackExtra);
}

void CPackInfo::LoadFields(CStream& stream) {
  stream.ReadStr(ProjectExtra);
  stream.ReadStr(PackExtra);
}

CStr CAppInfo::ClassName() const {
  return "CAppInfo";
}
CStr CLibInfo::ClassName() const {
  return "CLibInfo";
}
