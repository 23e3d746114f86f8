#include "ide/OutputBox.h"

#include "model/Info.h"
#include "widgets/ScrollBar.h"

namespace {

CColor ColourOf(compiler::LineKind kind) {
  switch (kind) {
    case compiler::LineKind::Error: return CColor(0.75, 0, 0);
    case compiler::LineKind::Warning: return CColor(0.55, 0.35, 0);
    case compiler::LineKind::Program:
    case compiler::LineKind::ProgramError: return CColor(0, 0, 0.6);
    default: return CColor(0, 0, 0);
  }
}

}  // namespace

bool InSubtree(const CInfo* node, const CInfo* top) {
  for (; node; node = node->Parent)
    if (node == top) return true;
  return false;
}

CStr COutputBox::CPlace::ClassName() const {
  return "COutputBox::CPlace";
}

COutputBox::COutputBox(CControl* parent) : CCustomTreeBox(parent) {}

CStr COutputBox::ClassName() const {
  return "COutputBox";
}

void COutputBox::DrawItem(CItem* item) {
  if (!item) return;
  const std::int32_t y = 16 * Row;
  const CPlace* place = PlaceOf(item);
  if (item == Selected) {
    SetColor(CColor(0.8, 0.85, 1));
    FillRect(CRect(0, y, Client->GetWidth(), y + 15));
  }
  SetColor(ColourOf(place ? place->Kind : compiler::LineKind::Plain));
  DrawText(CPoint(4, y + 2), item->Caption);
}

void COutputBox::Clear() {
  Selected = nullptr;
  RootItems.Clear();
  RowsChanged();
  VertBar->Position = 0;
  Invalidate();
}

void COutputBox::Add(const CStr& text, compiler::LineKind kind, CInfo* element, int codeLine) {
  auto* item = new CItem(nullptr);
  item->Caption = text;
  auto* place = new CPlace;
  place->Kind = kind;
  place->Element = element;
  place->CodeLine = codeLine;
  item->Data = place;
  RootItems.Add(item);
  RowsChanged();
  // The next paint clamps the view to the last page.
  VertBar->Position = RootItems.Count().Value;
  Invalidate();
}

void COutputBox::Forget(const CInfo* gone) {
  for (std::int32_t i = 0; i < RootItems.Count().Value; ++i)
    if (auto* place = const_cast<CPlace*>(PlaceOf(Line(i)));
        place && place->Element && InSubtree(place->Element, gone))
      place->Element = nullptr;
}

CCustomTreeBox::CItem* COutputBox::Line(std::int32_t index) const {
  return static_cast<CItem*>(RootItems.Get(index));
}

const COutputBox::CPlace* COutputBox::PlaceOf(const CItem* item) {
  return item ? dynamic_cast<const CPlace*>(item->Data) : nullptr;
}
