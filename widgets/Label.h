// A panel that shows one line of text on its face.
#pragma once

#include "widgets/Panel.h"

class CText;

class CLabel : public CPanel {
 public:
  explicit CLabel(CControl* parent);

  CStr ClassName() const override;
  // The panel's record, then the text.
  void WriteTo(CStream& stream) override;
  void ReadFrom(CStream& stream) override;

  CText* Caption = nullptr;  // a frame part of the face, 3 units in from its sides
};
