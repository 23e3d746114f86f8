#include "widgets/TabControl.h"

#include "graphics/Canvas.h"

CStr CTabControl::CTabItem::ClassName() const {
  return "CTabItem";
}

CTabControl::CTabControl(CControl* parent) : CRectangle(parent) {
  Anchors.Set(1, 2, 2, 2);
}

CStr CTabControl::ClassName() const {
  return "CTabControl";
}

void CTabControl::AddTab(const CStr& text, std::int32_t data) {
  auto* tab = new CTabItem;
  tab->Text = text;
  tab->Data = data;
  Selected = Tabs.Count();
  Tabs.Add(tab);
}

CTabControl::CTabItem* CTabControl::GetTab(const CInt& index) const {
  if (index.Value < 0 || index.Value >= Tabs.Count().Value) return nullptr;
  return Tabs.GetAs<CTabItem>(index);
}

CStr CTabControl::GetTabText(const CInt& index) const {
  const CTabItem* tab = GetTab(index);
  return tab ? tab->Text : CStr("");
}

// From x = 5, each tab as wide as its text plus a quarter of the text's height on either side
// and 5/4 of that height tall, from y = 1. An empty text is measured as "A" for its height and
// has no width.
std::vector<CTabControl::TTabPlace> CTabControl::LayOutTabs() {
  std::vector<TTabPlace> places;
  CCanvas* canvas = GetCanvas();
  if (!canvas) return places;
  canvas->SelectFontByName("Text");
  CFloat x = 5;
  for (std::int32_t i = 0; i < Tabs.Count().Value; i++) {
    const CStr& text = Tabs.GetAs<CTabItem>(i)->Text;
    CSize size = canvas->GetTextExtent(text.Length() > CInt(0) ? text : CStr("A"));
    if (text.Length() == CInt(0)) size.Width = 0;
    const CFloat inset = size.Height / CFloat(4);
    const CFloat width = size.Width + inset * CFloat(2);
    places.push_back({CRect(x, 1, width, size.Height * CFloat(5) / CFloat(4), true), inset});
    x += width;
  }
  return places;
}

void CTabControl::Paint(const CRect& clip) {
  CCanvas* canvas = GetCanvas();
  if (Visible && canvas) {
    canvas->SetOrigin(GetAbsM1());
    const CFloat w = GetWidth();
    canvas->SetColorRGB(0.5, 0.6, 0.5);
    canvas->FillRect(CRect(0, 0, w, GetHeight()));
    canvas->SetColorRGB(0.5, 0.5, 0.5);
    canvas->DrawLine(CRect(0, 0, w, 0));
    canvas->SetColorRGB(0, 0, 0);
    canvas->DrawLine(CRect(0, 1, w, 1));
    const std::vector<TTabPlace> places = LayOutTabs();
    for (std::size_t i = 0; i < places.size(); i++) {
      const CRect& r = places[i].Rect;
      const CFloat inset = places[i].Inset;
      const double grey = Selected.Value == static_cast<std::int32_t>(i) ? 1 : 0.5;
      canvas->SetColorRGB(grey, grey, grey);
      canvas->FillRect(r);
      canvas->SetColorRGB(0, 0, 0);
      canvas->DrawRect(r);
      canvas->DrawText(CPoint(r.M1.X + inset, inset), GetTabText(static_cast<std::int32_t>(i)));
    }
  }
  CControl::Paint(clip);
}

void CTabControl::MouseDown(CInt, CShiftStateSet, CPoint p) {
  const std::vector<TTabPlace> places = LayOutTabs();
  for (std::size_t i = 0; i < places.size(); i++) {
    if (places[i].Rect.Contains(p)) {
      Selected = static_cast<std::int32_t>(i);
      Invalidate();
      return;
    }
  }
}
