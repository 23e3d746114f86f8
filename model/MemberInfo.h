// Members of classes and structures: attributes, operations and the parameters of operations.
#pragma once

#include <memory>
#include <span>

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

  // The four further flags (not saved) and texts: nothing the system creates sets them, so they
  // take room only once one is written through these. Reading makes nothing.
  std::span<CBool, 4> OperFlags() { return Rare().OperFlags; }
  std::span<const CBool, 4> OperFlags() const { return Rare().OperFlags; }
  CStr& Code2() { return Rare().Codes[0]; }
  CStr& Code3() { return Rare().Codes[1]; }
  CStr& Code4() { return Rare().Codes[2]; }
  CStr& Code5() { return Rare().Codes[3]; }
  const CStr& Code2() const { return Rare().Codes[0]; }
  const CStr& Code3() const { return Rare().Codes[1]; }
  const CStr& Code4() const { return Rare().Codes[2]; }
  const CStr& Code5() const { return Rare().Codes[3]; }

  std::uint8_t OperMode = 0;
  CBool IsOperator;
  CList Params;  // of CParamInfo, owned
  CStr Code;     // the body, edited in the code editor

 private:
  struct CRarelySet {
    static constexpr int kCodes = 4;
    CBool OperFlags[4];
    CStr Codes[kCodes];  // Code2 .. Code5
  };
  CRarelySet& Rare();
  const CRarelySet& Rare() const;

  // A project holds tens of thousands of operations: these 200 bytes apiece would be two fifths
  // of what an operation weighs in memory, and of what a save reads.
  std::unique_ptr<CRarelySet> rare_;
};
