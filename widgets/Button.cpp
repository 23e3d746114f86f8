#include "widgets/Button.h"

#include "widgets/ToolBar.h"

#include "controls/Pic.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "controls/View.h"
#include "storage/Stream.h"
#include "widgets/PanelTemplate.h"

// [SECTION] CPicButton

CPicButton::CPicButton(CControl* parent) : CPanel(parent) {
  Template->InitButton();
  Picture = new CPic(Client);
  Picture->Anchors.Set(1, 1, 2, 2);
  Picture->Centered = true;
  Picture->SetRect(CRect(0, 0, Client->GetWidth(), Client->GetHeight()));
  Picture->SetFramePart(true);
}

CStr CPicButton::ClassName() const {
  return "CPicButton";
}

void CPicButton::WriteTo(CStream& stream) {
  CPanel::WriteTo(stream);
  Picture->FileName.SaveToStream(stream);
}

void CPicButton::ReadFrom(CStream& stream) {
  CPanel::ReadFrom(stream);
  CStr fileName;
  fileName.LoadFromStream(stream);
  Picture->SetFileName(fileName);
}

void CPicButton::ShowPressed(bool pressed) {
  if (pressed)
    Template->ButtonDown();
  else
    Template->ButtonUp();
  Picture->SetPos(pressed ? CPoint(1, 1) : CPoint(0, 0));
}

void CPicButton::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  ShowPressed(true);
  Invalidate();
  CPanel::MouseDown(button, shift, p);
}

// Dragged out the button looks released; back in, pressed again.
void CPicButton::MouseMove(CShiftStateSet shift, CPoint p) {
  CPanel::MouseMove(shift, p);
  ShowPressed(MouseInside && MousePressed);
  Invalidate();
}

// Clicks (through the control base) only when released inside.
void CPicButton::MouseUp(CInt button, CShiftStateSet shift, CPoint p) {
  ShowPressed(false);
  Invalidate();
  CPanel::MouseUp(button, shift, p);
}

// [SECTION] CSpeedButton

CSpeedButton::CSpeedButton(CControl* parent) : CPicButton(parent) {
  Template->InitFlatButton();
}

CStr CSpeedButton::ClassName() const {
  return "CSpeedButton";
}

void CSpeedButton::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  if (auto* bar = dynamic_cast<CToolBar*>(Parent)) bar->PointerPressed(this);
  CPicButton::MouseDown(button, shift, p);
}

void CSpeedButton::MouseMove(CShiftStateSet shift, CPoint p) {
  CPicButton::MouseMove(shift, p);
  if (auto* bar = dynamic_cast<CToolBar*>(Parent); bar && !MousePressed) bar->PointerOn(this);
}

void CSpeedButton::ShowPressed(bool pressed) {
  if (pressed)
    Template->FlatButtonDown();
  else
    Template->FlatButtonUp();
  Picture->SetPos(pressed ? CPoint(1, 1) : CPoint(0, 0));
}

// [SECTION] CButton

CButton::CButton(CControl* parent) : CPicButton(parent) {
  Picture->Centered = false;
  Picture->Anchors.Set(1, 1, 1, 1);
  Picture->SetRect(CRect(0, 0, 16, 16));

  Caption = new CText(this);
  Caption->SetRect(CRect(0, 0, GetWidth(), GetHeight()));
  Caption->Anchors.Set(1, 1, 2, 2);
  Caption->AdjustEdges(2, 2, -2, -2);
  Caption->Str = "Button1";
  Caption->SetFontNumber(0);
  Caption->Center = true;
  SetHeight(25);
  Caption->SetFramePart(true);

  ShowFocusFrame = true;
  FocusFrame = new CRectangle(this);
  FocusFrame->SetRect(CRect(0, 0, GetWidth(), GetHeight()));
  // Anchored to every side, so it stays 3 units inside whatever size the button is given.
  FocusFrame->Anchors.Set(1, 1, 2, 2);
  FocusFrame->SetStyle(-1);
  FocusFrame->AdjustEdges(3, 3, -3, -3);
  FocusFrame->Visible = false;
  FocusFrame->SetFramePart(true);
}

CButton::~CButton() {
  if (View && View->GetFocused() == this) SetFocused(false);
}

CStr CButton::ClassName() const {
  return "CButton";
}

// The caption and the focus frame move one unit down and right while the button looks pressed.
void CButton::ShiftCaption(bool pressed) {
  Caption->SetPos(pressed ? CPoint(3, 3) : CPoint(2, 2));
  FocusFrame->SetPos(pressed ? CPoint(4, 4) : CPoint(3, 3));
}

void CButton::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  ShiftCaption(true);
  SetFocused(true);
  CPicButton::MouseDown(button, shift, p);
}

// Decided on the state of the previous move: the picture button updates MouseInside afterwards.
void CButton::MouseMove(CShiftStateSet shift, CPoint p) {
  ShiftCaption(MouseInside && MousePressed);
  CPicButton::MouseMove(shift, p);
}

void CButton::MouseUp(CInt button, CShiftStateSet shift, CPoint p) {
  ShiftCaption(false);
  CPicButton::MouseUp(button, shift, p);
}

CBool CButton::CanFocus() {
  return true;
}

void CButton::SetFocused(CBool focused) {
  CPanel::SetFocused(focused);
  FocusFrame->Visible = focused && ShowFocusFrame;
  if (View) View->SetFocus(focused ? this : nullptr, false, 0);
  Invalidate();
}
