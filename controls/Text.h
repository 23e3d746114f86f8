// One line of text in a registered font, at the control's top-left corner or centred in its
// rectangle. It is drawn even while the control is invisible; its frame parts and children never.
#pragma once

#include "controls/Control.h"

class CFont;

class CText : public CControl {
 public:
  explicit CText(CControl* parent) : CControl(parent) {}

  CStr ClassName() const override;
  // The control, then Color, Str and the record of the font numbered FontNumber.
  void WriteTo(CStream& stream) override;
  // A stored font whose number is not registered yet is registered anew, under the next free
  // number; a registered number keeps the font registered under it.
  void ReadFrom(CStream& stream) override;
  void Paint(const CRect& clip) override;

  // M2 = M1 + the text's size, set directly: neither anchoring nor the client rectangle follow.
  virtual void FitToText();

  // Width and height of Str in the font, in pixels, measured by the canvas of the view.
  CSize GetTextSize();
  void SetFontNumber(const CInt& number) { FontNumber = number; }
  // -1 when no registered font has that object name.
  void SetFontName(const CStr& name);
  // The face, height and style of the font it shows, copied into out (the tuner's Font row).
  void GetFont(CFont& out) const;
  // Shows a font of that face, height and style, found among the registered ones or registered.
  void SetFont(const CFont& font);

  CStr Str = "Hello, word!";
  CInt FontNumber = 0;
  CBool Center;
};
