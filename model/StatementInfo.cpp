#include "model/StatementInfo.h"

CStr CCodeInfo::ClassName() const {
  return "CCodeInfo";
}

CStr CExprInfo::ClassName() const {
  return "CExprInfo";
}
void CExprInfo::UpdateText() {
  Caption = CStr("f(x) //") + GetName();
}

CStr CIfInfo::ClassName() const {
  return "CIfInfo";
}
void CIfInfo::UpdateText() {
  Caption = "if";
}

CStr CVarInfo::ClassName() const {
  return "CVarInfo";
}

CStr CFuncInfo::ClassName() const {
  return "CFuncInfo";
}
void CFuncInfo::UpdateText() {
  Caption = GetName() + "()";
}

CStr COperatorInfo::ClassName() const {
  return "COperatorInfo";
}

CStr CIntConstInfo::ClassName() const {
  return "CIntConstInfo";
}

CStr CStrConstInfo::ClassName() const {
  return "CStrConstInfo";
}
void CStrConstInfo::UpdateText() {
  Caption = CStr("\"") + GetName() + "\"";
}
