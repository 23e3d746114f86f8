// Push buttons. A picture button shows a picture on its face and looks pressed while the mouse
// that went down on it is inside it; it clicks when released inside. A speed button is its flat
// variant (the toolbar's), and a button adds a caption and a dotted focus frame.
//
//   auto* ok = new CButton(form->Client);
//   ok->SetBounds(70, 70, 50, 20, true);
//   ok->Caption->Str = "OK";
//   ok->OnClick.Set(this, &CMyForm::OkClick);   // void OkClick(CControl* sender)
#pragma once

#include "widgets/Panel.h"

class CPic;
class CRectangle;
class CText;

class CPicButton : public CPanel {
 public:
  // Raised button look; the picture fills the face, centred.
  explicit CPicButton(CControl* parent);

  CStr ClassName() const override;
  // The panel's record, then the picture's file name; reading loads the picture again.
  void WriteTo(CStream& stream) override;
  void ReadFrom(CStream& stream) override;
  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;
  void MouseMove(CShiftStateSet shift, CPoint p) override;
  void MouseUp(CInt button, CShiftStateSet shift, CPoint p) override;

  CPic* Picture = nullptr;  // a frame part of the face

 protected:
  // The pressed or released look: the template's button state and the picture one unit in.
  virtual void ShowPressed(bool pressed);
};

class CSpeedButton : public CPicButton {
 public:
  explicit CSpeedButton(CControl* parent);

  CStr ClassName() const override;
  // On a toolbar: tell it where the pointer is, for the hint.
  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;
  void MouseMove(CShiftStateSet shift, CPoint p) override;

  // What the toolbar's hint box says while the pointer rests on the button; none when empty.
  CStr Hint;

 protected:
  void ShowPressed(bool pressed) override;  // the flat looks
};

class CButton : public CPicButton {
 public:
  // "Button1", 25 units high, with a 16 by 16 picture at the face's top-left corner.
  explicit CButton(CControl* parent);
  // A destroyed button must not stay the view's focus.
  ~CButton() override;

  CStr ClassName() const override;
  // Each moves the caption and the focus frame, then behaves as the picture button.
  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;
  void MouseMove(CShiftStateSet shift, CPoint p) override;
  void MouseUp(CInt button, CShiftStateSet shift, CPoint p) override;
  // The focus frame shows while focused (when ShowFocusFrame allows); the view's focus follows,
  // without a timer.
  void SetFocused(CBool focused) override;
  CBool CanFocus() override;

  CText* Caption = nullptr;          // centred, a frame part of the button
  CRectangle* FocusFrame = nullptr;  // dotted, a frame part of the button

 private:
  void ShiftCaption(bool pressed);
};
