// The figures: lines, outlined and filled rectangles and ellipses, and the two triangles, which
// draw nothing. CPen carries the colour and the pen style of the outlined figures, CBrush the
// colour of the filled ones. None of them handles input beyond the control base.
#pragma once

#include "controls/Control.h"

class CPen : public CControl {
 public:
  explicit CPen(CControl* parent) : CControl(parent) {}

  CStr ClassName() const override;
  void WriteTo(CStream& stream) override;  // the control, then Color
  void ReadFrom(CStream& stream) override;
  // The canvas draws with Style while this control paints and with 65535 (solid) afterwards.
  void BeginPaint(CRect& clip) override;
  void EndPaint(CRect& clip) override;

  void SetStyle(const CInt& style) { Style = style; }

  // The canvas pen style; -1 makes DrawRect draw the dotted frame. Not stored in the record.
  CInt Style = 65535;
};

class CBrush : public CControl {
 public:
  explicit CBrush(CControl* parent) : CControl(parent) {}

  CStr ClassName() const override;
  void WriteTo(CStream& stream) override;  // the control, then Color
  void ReadFrom(CStream& stream) override;
};

// A line from M1 to M2 in whatever direction, both end pixels drawn; no children are painted.
class CLine : public CPen {
 public:
  explicit CLine(CControl* parent) : CPen(parent) {}
  CStr ClassName() const override;
  void BeginPaint(CRect& clip) override;
  void EndPaint(CRect& clip) override;
  void Paint(const CRect& clip) override;

  // Whether a line over the view rectangle `line` (either corner first) has a pixel inside the
  // clip: only then may it be drawn with the clip the canvas already has.
  static bool Meets(const CRect& line, const CRect& clip);

 private:
  bool KeptClip = false;  // BeginPaint left the canvas's clip as it was, until EndPaint
  CRect AbsLine;          // the line's view rectangle, found by BeginPaint while KeptClip
};

// The outline; its client rectangle excludes the outline.
class CRectangle : public CPen {
 public:
  explicit CRectangle(CControl* parent) : CPen(parent) {}
  CStr ClassName() const override;
  CRect CalcClientRect() override;
  void Paint(const CRect& clip) override;
};

// The outline of the ellipse, drawn even while the control is invisible (its children are not).
class CEllipse : public CPen {
 public:
  explicit CEllipse(CControl* parent) : CPen(parent) {}
  CStr ClassName() const override;
  void Paint(const CRect& clip) override;
};

// Draws nothing, not even its children.
class CTriangle : public CPen {
 public:
  explicit CTriangle(CControl* parent) : CPen(parent) {}
  CStr ClassName() const override;
  void Paint(const CRect& clip) override;
};

class CFillRectangle : public CBrush {
 public:
  explicit CFillRectangle(CControl* parent) : CBrush(parent) {}
  CStr ClassName() const override;
  void BeginPaint(CRect& clip) override;
  void EndPaint(CRect& clip) override;
  void Paint(const CRect& clip) override;

 private:
  bool KeptClip = false;  // BeginPaint left the canvas's clip as it was
};

// Filled even while the control is invisible (its children are not painted then).
class CFillEllipse : public CBrush {
 public:
  explicit CFillEllipse(CControl* parent) : CBrush(parent) {}
  CStr ClassName() const override;
  void Paint(const CRect& clip) override;
};

// Draws nothing, not even its children.
class CFillTriangle : public CBrush {
 public:
  explicit CFillTriangle(CControl* parent) : CBrush(parent) {}
  CStr ClassName() const override;
  void Paint(const CRect& clip) override;
};
