#include "widgets/PanelTemplate.h"

#include "controls/Shapes.h"
#include "widgets/Bevel.h"
#include "widgets/Panel.h"

namespace {

CColor Grey(double level) {
  return CColor(level, level, level);
}

// A control covering the panel, or the panel inset by `inset` on every side, that follows its
// resizing and is painted as a frame part.
template <class T>
T* Cover(CPanel* panel, int inset) {
  auto* part = new T(panel);
  part->Anchors.Set(1, 1, 2, 2);
  part->SetRect(
      CRect(inset, inset, panel->GetWidth() - CFloat(inset), panel->GetHeight() - CFloat(inset)));
  part->SetFramePart(true);
  return part;
}

}  // namespace

// [SECTION] CPanelTemplate

CPanelTemplate::CPanelTemplate(CPanel* panel, CControl** backgroundSlot, CControl** clientSlot)
    : Panel(panel), BackgroundSlot(backgroundSlot), ClientSlot(clientSlot) {}

CStr CPanelTemplate::ClassName() const {
  return "CPanelTemplate";
}

// [SECTION] CWinOldPanelTemplate: building

CWinOldPanelTemplate::CWinOldPanelTemplate(CPanel* panel, CControl** backgroundSlot,
                                           CControl** clientSlot)
    : CPanelTemplate(panel, backgroundSlot, clientSlot) {
  auto* background = Cover<CFillRectangle>(panel, 0);
  background->Color = Grey(0.8);
  *BackgroundSlot = background;

  OuterBevel = Cover<CBevel>(panel, 0);
  OuterBevel->SetLightColor(Grey(1));
  OuterBevel->SetShadowColor(Grey(0.5));  // the colours of state 0, which it keeps

  InnerBevel = Cover<CBevel>(panel, 1);
  InnerBevel->Visible = false;

  auto* client = Cover<CFillRectangle>(panel, 1);
  client->Color = Grey(0.8);
  *ClientSlot = client;
}

CStr CWinOldPanelTemplate::ClassName() const {
  return "CWinOldPanelTemplate";
}

void CWinOldPanelTemplate::Looks(int outer, int inner) {
  OuterBevel->SetState(outer);
  if (inner < 0) {
    InnerBevel->Visible = false;
    return;
  }
  InnerBevel->SetState(inner);
  InnerBevel->Visible = true;
}

void CWinOldPanelTemplate::ClientToBackground() {
  const CControl* background = Background();
  Client()->SetRect(CRect(background->M1.X, background->M1.Y, background->M2.X, background->M2.Y));
}

// [SECTION] CWinOldPanelTemplate: looks

// A released button: white and black outside, face grey and dark grey inside.
void CWinOldPanelTemplate::InitButton() {
  Looks(2, 4);
  Client()->AdjustEdges(1, 1, -1, -1);
  ButtonUp();
}

void CWinOldPanelTemplate::ButtonDown() {
  Looks(3, 5);
}
void CWinOldPanelTemplate::ButtonUp() {
  Looks(2, 4);
}

void CWinOldPanelTemplate::InitFlatButton() {
  Looks(0, -1);
}
void CWinOldPanelTemplate::FlatButtonDown() {
  Looks(1, -1);
}
void CWinOldPanelTemplate::FlatButtonUp() {
  Looks(0, -1);
}

// A sunken two-unit frame around a white face.
void CWinOldPanelTemplate::InitEdit() {
  Looks(1, 7);
  Client()->Color = Grey(1);
  Client()->AdjustEdges(1, 1, -1, -1);
}

// As the edit, but the face becomes an ordinary child, so that what the box holds gets the mouse.
void CWinOldPanelTemplate::InitBox() {
  Looks(1, 7);
  Client()->AdjustEdges(2, 2, -1, -1);
  Client()->Color = Grey(1);
  Client()->SetFramePart(false);
}

// Room for the caption above the client area and for the sizing grips around it.
void CWinOldPanelTemplate::InitForm() {
  Looks(6, 0);
  ClientToBackground();
  Client()->AdjustEdges(4, 22, -4, -3);
}

void CWinOldPanelTemplate::InitFlat() {
  OuterBevel->Visible = false;
  InnerBevel->Visible = false;
  ClientToBackground();
}

void CWinOldPanelTemplate::InitRaised() {
  OuterBevel->Visible = true;
  OuterBevel->SetLightColor(Grey(1));
  OuterBevel->SetShadowColor(Grey(0.5));
  ClientToBackground();
  Client()->AdjustEdges(1, 1, -1, -1);
  Panel->Invalidate();
}

void CWinOldPanelTemplate::InitSunken() {
  OuterBevel->Visible = true;
  OuterBevel->SetLightColor(Grey(0.5));
  OuterBevel->SetShadowColor(Grey(1));
  ClientToBackground();
  Client()->AdjustEdges(1, 1, -1, -1);
  Panel->Invalidate();
}

void CWinOldPanelTemplate::InitBorderless() {
  OuterBevel->Visible = false;
  ClientToBackground();
  Panel->Invalidate();
}
