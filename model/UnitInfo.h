// File kinds: units and DLLs.
#pragma once

#include "model/Info.h"

class CFileInfo : public CInfo {
 public:
  CStr ClassName() const override;
};

class CUnitInfo : public CFileInfo {
 public:
  CStr ClassName() const override;
  void SaveFields(CStream& stream) override;  // str UnitExtra
  void LoadFields(CStream& stream) override;

  CStr UnitExtra;
};

class CDllInfo : public CUnitInfo {
 public:
  CStr ClassName() const override;
};
