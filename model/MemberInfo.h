// Members of classes and structures: attributes, operations and the parameters of operations.
#pragma once

#include "model/Info.h"

class CMemberInfo : public CInfo {
 public:
  CStr ClassName() const override;
  void SaveFields(CStream& stream) override;  // str Type, int Access, bool MemberFlag
  void LoadFields(CStream& stream) override;

  CStr Type;  // the member's type text
  CBool MemberFlag;
  CInt Access;  // 0 private, 1 protected, 2 public, 3 published
};

class CAtrInfo : public CMemberInfo {
 public:
  CStr ClassName() const override;
  void UpdateText() override;  // Type + " " + name, or the name alone
};

// A parameter lives in its operation's Params, not among the children.
class CParamInfo : public CInfo {
 public:
  CStr ClassName() const override;  // "CInfo"

  CStr Type;
  CBool ParamFlag;
  CBool ParamFlag2;
};

class COperInfo : public CMemberInfo {
 public:
  CStr ClassName() const override;
  // The member fields, byte OperMode, bool IsOperator, Code .. Code5, then the parameters:
  // a count and per parameter its Type, name and About.
  void SaveFields(CStream& stream) override;
  void LoadFields(CStream& stream) override;
  // Type + " ", "operator " when IsOperator, name, "(" + the parameter types + ")"
  void UpdateText() override;

  // Appends an owned parameter.
  CParamInfo* AddParam(const CStr& type, const CStr& name, const CStr& about = "");
  CParamInfo* Param(const CInt& index) const { return Params.GetAs<CParamInfo>(index); }

  std::uint8_t OperMode = 0;
  CBool IsOperator;
  CBool OperFlags[4];  // not saved
  CList Params;        // of CParamInfo, owned
  CStr Code;           // the body, edited in the code editor
  CStr Code2;
  CStr Code3;
  CStr Code4;
  CStr Code5;
};
