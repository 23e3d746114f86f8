// Code blocks, statements and constants: nodes without fields of their own that differ in how
// the project tree shows them.
#pragma once

#include "model/Info.h"

class CCodeInfo : public CInfo {
 public:
  CStr ClassName() const override;
};

class CExprInfo : public CInfo {
 public:
  CStr ClassName() const override;
  void UpdateText() override;  // "f(x) //" + name
};

// Also what the registry makes for "CWhileInfo": there is no loop statement of its own.
class CIfInfo : public CInfo {
 public:
  CStr ClassName() const override;
  void UpdateText() override;  // "if"
};

class CVarInfo : public CInfo {
 public:
  CStr ClassName() const override;
};

class CFuncInfo : public CInfo {
 public:
  CStr ClassName() const override;
  void UpdateText() override;  // name + "()"
};

class COperatorInfo : public CInfo {
 public:
  CStr ClassName() const override;
};

class CIntConstInfo : public CInfo {
 public:
  CStr ClassName() const override;
};

class CStrConstInfo : public CInfo {
 public:
  CStr ClassName() const override;
  void UpdateText() override;  // the name in double quotes
};
