#include "widgets/Label.h"

#include "controls/Text.h"
#include "storage/Stream.h"

CLabel::CLabel(CControl* parent) : CPanel(parent) {
  Caption = new CText(Client);
  Caption->SetRect(CRect(0, 0, Client->GetWidth(), Client->GetHeight()));
  Caption->Anchors.Set(1, 1, 2, 2);
  Caption->AdjustEdges(3, 1, -3, -1);
  Caption->Str = "Label1";
  Caption->SetFontNumber(0);
  Caption->SetFramePart(true);
}

CStr CLabel::ClassName() const {
  return "CLabel";
}

void CLabel::WriteTo(CStream& stream) {
  CPanel::WriteTo(stream);
  Caption->Str.SaveToStream(stream);
}

void CLabel::ReadFrom(CStream& stream) {
  CPanel::ReadFrom(stream);
  Caption->Str.LoadFromStream(stream);
}
