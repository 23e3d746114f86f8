// Design-side kinds: graphic objects and actions. The IDE never creates an action; its record
// layout is kept so that files holding one read and write back unchanged.
#pragma once

#include "model/Info.h"

class CObjectInfo : public CInfo {
 public:
  CStr ClassName() const override;
};

class CActionInfo : public CInfo {
 public:
  static constexpr int kSlots = 7;

  CStr ClassName() const override;
  // The fields in declaration order, except that the three slot arrays go interleaved by
  // index: flag, text, second text of slot 0, then of slot 1, and so on.
  void SaveFields(CStream& stream) override;
  void LoadFields(CStream& stream) override;

  CBool Flags[3];
  CFloat Value;
  CStr Texts[2];
  CBool MoreFlags[2];
  CStr MoreTexts[6];
  CBool SlotFlags[kSlots];
  CStr SlotTexts[kSlots];
  CStr SlotTexts2[kSlots];
};
