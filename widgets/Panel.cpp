#include "widgets/Panel.h"

#include "storage/Stream.h"
#include "widgets/PanelTemplate.h"

namespace {

constexpr std::int32_t kTab = 15;

}  // namespace

// Only the classic look exists, so every look number gets it.
CPanel::CPanel(CControl* parent) : CControl(parent) {
  Template = std::make_unique<CWinOldPanelTemplate>(this, &Background, &Client);
}

CPanel::~CPanel() = default;

CStr CPanel::ClassName() const {
  return "CPanel";
}

void CPanel::WriteTo(CStream& stream) {
  CRect::WriteTo(stream);
  Visible.SaveToStream(stream);
  Anchors.WriteTo(stream);
}

void CPanel::ReadFrom(CStream& stream) {
  CRect::ReadFrom(stream);
  Visible.LoadFromStream(stream);
  Anchors.ReadFrom(stream);
}

CBool CPanel::GetPanelFlag() {
  return PanelFlag;
}
void CPanel::SetPanelFlag(CBool flag) {
  PanelFlag = flag;
}
CBool CPanel::GetFocused() {
  return Focused;
}
void CPanel::SetFocused(CBool focused) {
  Focused = focused;
}
CBool CPanel::CanFocus() {
  return false;
}

void CPanel::KeyDown(CInt key, CShiftStateSet shift) {
  TabToNextPanel(key);
  CControl::KeyDown(key, shift);
}

void CPanel::TabToNextPanel(const CInt& key) {
  if (key.Value != kTab || !Parent) return;
  const CControlList* list = nullptr;
  std::int32_t start = Parent->IndexOfFramePart(this).Value;
  if (start >= 0) {
    list = Parent->FrameList.get();
  } else {
    start = Parent->IndexOfChild(this).Value;
    if (start < 0) return;
    list = Parent->ChildList.get();
  }
  const std::int32_t count = list->Count().Value;
  for (std::int32_t i = (start + 1) % count; i != start; i = (i + 1) % count) {
    // Stopping on a panel that cannot hold the focus would leave the keys with this one, and
    // every further Tab would stop there again.
    auto* panel = dynamic_cast<CPanel*>(list->GetControl(i));
    if (panel && panel->Visible && panel->CanFocus()) {
      panel->SetFocused(true);
      return;
    }
  }
}
