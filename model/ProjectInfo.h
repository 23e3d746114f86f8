// Project containers: project groups, packages, applications and libraries.
#pragma once

#include "model/Info.h"

class CProjectInfo : public CInfo {
 public:
  CStr ClassName() const override;

  CStr ProjectExtra;  // a free text, saved by the kinds below
};

class CProjectGroupInfo : public CProjectInfo {
 public:
  CStr ClassName() const override;
  void SaveFields(CStream& stream) override;  // str ProjectExtra
  void LoadFields(CStream& stream) override;
};

class CPackInfo : public CProjectInfo {
 public:
  CStr ClassName() const override;
  void SaveFields(CStream& stream) override;  // str ProjectExtra, str PackExtra
  void LoadFields(CStream& stream) override;

  CStr PackExtra;
};

class CAppInfo : public CPackInfo {
 public:
  CStr ClassName() const override;
};

class CLibInfo : public CPackInfo {
 public:
  CStr ClassName() const override;
};
