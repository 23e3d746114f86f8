// A one-unit frame of four lines around the area it covers. Its state picks the colours of the
// upper-left and the lower-right edges; the panel template (PanelTemplate.h) stacks two of them
// to make the classic raised, pressed, sunken and form frames.
#pragma once

#include "controls/Control.h"

class CLine;

class CBevel : public CControl {
 public:
  // The four lines on the edges of the area, anchored so that they follow its resizing.
  explicit CBevel(CControl* parent);
  ~CBevel() override;

  CStr ClassName() const override;
  // The rectangle, Visible and Anchors; the lines are made again by the constructor.
  void WriteTo(CStream& stream) override;
  void ReadFrom(CStream& stream) override;
  // A hidden bevel draws nothing, not even its lines.
  void Paint(const CRect& clip) override;

  // Looks 0 to 7 colour the lines from the state table; any other number is only stored. Setting
  // the current state again changes nothing. None of these repaints: the caller does.
  void SetState(CInt state);
  void SetLightColor(CColor color);   // left and top lines
  void SetShadowColor(CColor color);  // right and bottom lines

  CInt State;
  CColor LightColor;
  CColor ShadowColor;
  CLine* LeftLine = nullptr;
  CLine* TopLine = nullptr;
  CLine* RightLine = nullptr;
  CLine* BottomLine = nullptr;
};
