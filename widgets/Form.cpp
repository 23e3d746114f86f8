// Forms and their caption bar; moving and resizing them is in FormDrag.cpp.
//
// [SECTION] CFormCaption
// [SECTION] CForm: building
// [SECTION] CForm: window buttons and closing
#include "widgets/Form.h"

#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/Text.h"
#include "controls/View.h"
#include "graphics/GDI.h"
#include "graphics/GLApp.h"
#include "platform/Messages.h"
#include "platform/Window.h"
#include "storage/Stream.h"
#include "widgets/Button.h"
#include "widgets/PanelTemplate.h"

namespace {

CStr Home() {
  return CoreApp ? CoreApp->HomeDir : CStr("C:\\Qxe");
}

CInt ScreenWidth() {
  return GLApp && GLApp->Screen ? GLApp->Screen->ScreenWidth() : CInt(0);
}
CInt ScreenHeight() {
  return GLApp && GLApp->Screen ? GLApp->Screen->ScreenHeight() : CInt(0);
}

CPicButton* CaptionButton(CFormCaption* bar, double x, const char* picture) {
  auto* button = new CPicButton(bar);
  button->Anchors.Set(2, 1, 2, 1);
  button->SetBounds(x, 2, 15, 13, true);
  button->Picture->SetFileName(Home() + picture);
  return button;
}

}  // namespace

// [SECTION] CFormCaption

CFormCaption::CFormCaption(CControl* form) : CFillRectangle(form) {
  Anchors.Set(1, 1, 2, 1);
  Color = CColor(0, 0, 0.5);

  Icon = new CPic(this);
  Icon->Anchors.Set(1, 1, 1, 1);
  Icon->SetFileName(Home() + "\\Pics\\Form\\Icon16.bmp");
  Icon->SetBounds(2, 1, Icon->Bitmap.Width - CFloat(1), Icon->Bitmap.Height - CFloat(1), true);

  Title = new CText(this);
  Title->Anchors.Set(1, 1, 2, 2);
  Title->SetRect(CRect(Icon->M2.X + CFloat(3), 2, GetWidth(), GetHeight()));
  Title->Color = CColor(1, 1, 1);
  Title->SetFontNumber(0);
  Title->Str = "This is my form...";
  Title->SetFramePart(true);

  MinimizeButton = CaptionButton(this, 48, "\\Pics\\Form\\Minimize.bmp");
  RestoreButton = CaptionButton(this, 64, "\\Pics\\Form\\Restore.bmp");
  MaximizeButton = CaptionButton(this, 64, "\\Pics\\Form\\Maximize.bmp");
  CloseButton = CaptionButton(this, 82, "\\Pics\\Form\\Close.bmp");
  ShowMaximize(true);
}

CStr CFormCaption::ClassName() const {
  return "CFormCaption";
}

void CFormCaption::ShowMaximize(CBool maximize) {
  MaximizeButton->Visible = maximize;
  RestoreButton->Visible = !maximize;
}

// [SECTION] CForm: building

CForm::CForm(CControl* parent) : CPanel(parent) {
  Template->InitForm();
  Caption = new CFormCaption(this);
  Caption->SetRect(CRect(4, 3, GetWidth() - CFloat(4), 20));
  Caption->Title->Str = "Form1";
  Client->SetFramePart(false);

  const CInt screenWidth = ScreenWidth();
  const CInt screenHeight = ScreenHeight();
  SaveUnder[0].SetSize(screenWidth, 1);
  SaveUnder[1].SetSize(1, screenHeight);
  SaveUnder[2].SetSize(screenWidth, 1);
  SaveUnder[3].SetSize(1, screenHeight);

  const CFloat w = GetWidth();
  const CFloat h = GetHeight();
  const struct {
    CRect bounds;
    CAnchors anchors;
    int cursor;
  } grips[8] = {
      {CRect(0, 0, 4, h, true), CAnchors(1, 1, 1, 2), -9},                          // left
      {CRect(0, 0, w, 3, true), CAnchors(1, 1, 2, 1), -7},                          // top
      {CRect(w - CFloat(4), 0, 4, h, true), CAnchors(2, 1, 2, 2), -9},              // right
      {CRect(0, h - CFloat(3), w, 3, true), CAnchors(1, 2, 2, 2), -7},              // bottom
      {CRect(0, 0, 4, 3, true), CAnchors(1, 1, 1, 1), -8},                          // top-left
      {CRect(w - CFloat(4), 0, 4, 3, true), CAnchors(2, 1, 2, 1), -6},              // top-right
      {CRect(0, h - CFloat(3), 4, 3, true), CAnchors(1, 2, 1, 2), -6},              // bottom-left
      {CRect(w - CFloat(4), h - CFloat(3), 4, 3, true), CAnchors(2, 2, 2, 2), -8},  // bottom-right
  };
  for (int i = 0; i < 8; i++) {
    auto* grip = new CControl(this);
    grip->SetRect(grips[i].bounds);
    grip->Anchors = grips[i].anchors;
    grip->Cursor = grips[i].cursor;
    grip->OnMouseDown.Set(this, &CForm::GripMouseDown);
    grip->OnMouseMove.Set(this, &CForm::GripMouseMove);
    grip->OnMouseUp.Set(this, &CForm::GripMouseUp);
    Grips[i] = grip;
  }

  Caption->OnMouseDown.Set(this, &CForm::CaptionMouseDown);
  Caption->OnMouseMove.Set(this, &CForm::CaptionMouseMove);
  Caption->OnMouseUp.Set(this, &CForm::CaptionMouseUp);
  Caption->MinimizeButton->OnClick.Set(this, &CForm::Minimize);
  Caption->MaximizeButton->OnClick.Set(this, &CForm::Maximize);
  Caption->RestoreButton->OnClick.Set(this, &CForm::Restore);
  Caption->CloseButton->OnClick.Set(this, &CForm::CloseClick);
  Moving = false;
  Resizing = false;
  Sizable = true;

  if (CtrlApp && !CtrlApp->MainForm) CtrlApp->MainForm = this;
}

CForm::~CForm() {
  if (Moving || Resizing) WatchRepaints(false);
  if (CtrlApp && CtrlApp->MainForm == this) CtrlApp->MainForm = nullptr;
}

CStr CForm::ClassName() const {
  return "CForm";
}

void CForm::WriteTo(CStream& stream) {
  CPanel::WriteTo(stream);
}
void CForm::ReadFrom(CStream& stream) {
  CPanel::ReadFrom(stream);
}

// [SECTION] CForm: window buttons and closing

namespace {

platform::WindowId WindowOf(CControl* form) {
  return form->View && form->View->Canvas ? form->View->Canvas->Window : 0;
}

}  // namespace

// Visible and the title are plain fields, and every change of them asks for a repaint: the window
// follows them here. Only changes are passed on, so a window the desktop minimized stays so.
void CForm::Paint(const CRect& clip) {
  CCanvas* canvas = GetCanvas();
  if (!Parent && canvas) {
    if (bool(Visible) != WindowShown) {
      WindowShown = bool(Visible);
      canvas->Show(Visible);
    }
    if (!WindowTitle || !bool(*WindowTitle == Caption->Title->Str)) {
      WindowTitle = Caption->Title->Str;
      platform::SetWindowTitle(WindowOf(this), WindowTitle->View());
    }
  }
  CPanel::Paint(clip);
}

// Only a window of its own can be minimized; the window's default handling does it.
void CForm::Minimize(CControl*) {
  if (Parent) return;
  platform::PostMessage(platform::Message{WindowOf(this), platform::MessageKind::MinimizeCommand});
}

void CForm::Maximize(CControl*) {
  RestoreRect = CRect(M1.X, M1.Y, M2.X, M2.Y);
  Caption->ShowMaximize(false);
  if (Parent) {
    SetRect(CRect(0, 0, Parent->GetWidth(), Parent->GetHeight()));
    Invalidate();
    return;
  }
  platform::MaximizeWindow(WindowOf(this));
  SetRect(CRect(0, 0, ScreenWidth(), ScreenHeight()));
}

void CForm::Restore(CControl*) {
  Caption->ShowMaximize(true);
  SetRect(RestoreRect);
  if (Parent) {
    Parent->Invalidate();
    return;
  }
  platform::RestoreWindow(WindowOf(this));
  Invalidate();
}

void CForm::CloseClick(CControl*) {
  Close();
}

void CForm::Close() {
  if (Parent) {
    Hide();
    Parent->Invalidate();
    return;
  }
  if (CtrlApp) CtrlApp->CloseForm(this);
}
