// What a modelled program has without declaring it: the standard types with their sizes, and
// the standard operators with operand types, precedence and an x86 template.
#pragma once

#include <memory>

#include "model/TypeInfo.h"

class CStdTypeMan : public CObject {
 public:
  CStdTypeMan();  // the nine standard types
  CStdTypeMan(const CStdTypeMan&) = delete;
  CStdTypeMan& operator=(const CStdTypeMan&) = delete;

  void AddType(const CStr& name, const CInt& size, const CBool& standard);
  CTypeInfo* FindStdType(const CStr& name) const;

  CInt Count() const { return Types.Count(); }
  CTypeInfo* Get(const CInt& index) const { return Types.GetAs<CTypeInfo>(index); }

 private:
  CList Types;  // of CTypeInfo, owned; not part of the project tree
};

class CStdOperMan : public CObject {
 public:
  class COper : public CObject {
   public:
    CStr Symbol;
    CStr ResultType;            // "" for the untyped entries
    CStr Signature;             // Symbol + "(" + operand types joined by ", " + ")"
    std::int32_t Priority = 0;  // smaller binds tighter
    CInt OperFlag;
    std::unique_ptr<CStrList> OperandTypes = std::make_unique<CStrList>();
    CStr Template;  // lines separated by " \r\n "
  };

  CStdOperMan();  // the 23 standard operators
  CStdOperMan(const CStdOperMan&) = delete;
  CStdOperMan& operator=(const CStdOperMan&) = delete;

  void AddOper(const CStr& symbol, const CStr& resultType, std::int32_t priority,
               const CStrList& operandTypes, const CStr& templ, const CInt& flag);

  CInt Count() const { return Opers.Count(); }
  COper* Get(const CInt& index) const { return Opers.GetAs<COper>(index); }

 private:
  CList Opers;  // of COper, owned
};
