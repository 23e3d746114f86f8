// The tree boxes.
//
// [SECTION] Rows shared by both boxes
// [SECTION] CCustomTreeBox::CItem
// [SECTION] CCustomTreeBox
// [SECTION] CInfoTreeBox
#include "widgets/TreeBox.h"

#include <cmath>

#include "core/App.h"
#include "core/Cp1251.h"
#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "model/Kinds.h"
#include "widgets/ScrollBar.h"
#include "widgets/TreeRows.h"

// [SECTION] Rows shared by both boxes

namespace {

constexpr std::int32_t kRow = 16;  // row height and indentation

std::int32_t FloorDiv(std::int32_t a, std::int32_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The bar's position as a row. A bar whose page is larger than its range keeps a position below
// zero; the view still starts at the first row.
std::int32_t FirstRowOf(const CScrollBox& box) {
  const std::int32_t row = box.VertBar->Position.Floor().Value;
  return row < 0 ? 0 : row;
}

std::int32_t RowsInViewOf(const CScrollBox& box) {
  return (box.Client->GetHeight() / CFloat(kRow)).Ceil().Value;
}

// Sets the vertical bar for the tree's rows (the page is the rows that fit whole) and answers the
// walk at the first row of the view. A tree that shrank below the view scrolls back so its last
// page shows, rather than an empty box.
template <class Node>
CTreeRows<Node> SetBar(CScrollBox& box, const CList& roots, CRowCache<Node>& cache) {
  const std::int32_t wanted = FirstRowOf(box);
  const std::int32_t total = cache.Total(roots, wanted);
  CScrollBar& bar = *box.VertBar;
  const std::int32_t page = (box.Client->GetHeight() / CFloat(kRow)).Floor().Value;
  bar.Min = 0;
  bar.Max = total;
  bar.Page = page;
  const std::int32_t last = total - page > 0 ? total - page : 0;
  if (wanted > last) {
    bar.Position = last;
    box.ScrollY = bar.Position;  // the face holds no rows: nothing to move
  }
  return cache.At(roots, wanted > last ? last : wanted);
}

// The row under a press at client y, and the walk at it; false when no row is there.
template <class Node>
bool RowAt(const CScrollBox& box, const CList& roots, CRowCache<Node>& cache, std::int32_t y,
           CTreeRows<Node>& rows, std::int32_t& row) {
  const std::int32_t first = FirstRowOf(box);
  row = FloorDiv(y, kRow);
  if (row >= 0) {
    rows = cache.At(roots, first);
    return rows.Skip(row) == row && !rows.AtEnd();
  }
  const std::int32_t target = first + row;  // above the view
  if (target < 0) return false;
  rows = CTreeRows<Node>(roots);
  return rows.Skip(target) == target && !rows.AtEnd();
}

// Draws in client coordinates, clipped to the client face; answers the clip to restore.
CRect BeginRows(CControl& box, CControl& client, const CRect& clip) {
  CCanvas* canvas = box.GetCanvas();
  const CRect saved = canvas->GetClipRect();
  canvas->SetClipRect(ClipTo(clip, client.GetAbsRect()));
  canvas->SetOrigin(client.GetAbsM1());
  canvas->SetPenStyle(0);
  canvas->SetBrushStyle(0);
  canvas->SelectFontByName("Text");
  return saved;
}

// The minus box of an expanded row, the plus box of a collapsed one.
void DrawSignBox(CControl& box, std::int32_t x, std::int32_t y, bool expanded) {
  box.DrawRect(CRect(x, y, x + 8, y + 8));
  box.DrawLine(CRect(x + 2, y + 4, x + 6, y + 4));
  if (!expanded) box.DrawLine(CRect(x + 4, y + 2, x + 4, y + 6));
}

bool InSignBox(std::int32_t depth, std::int32_t row, std::int32_t x, std::int32_t y) {
  return x >= kRow * depth + 4 && x < kRow * depth + 14 && y >= kRow * row + 4 &&
         y < kRow * row + 14;
}

// A press in the box's coordinates, as client coordinates rounded down.
void ToClient(CControl& client, const CPoint& p, CInt& x, CInt& y) {
  x = (p.X - client.M1.X).Floor();
  y = (p.Y - client.M1.Y).Floor();
}

}  // namespace

// [SECTION] CCustomTreeBox::CItem

CCustomTreeBox::CItem::CItem(CItem* owner) : Owner(owner) {}

CCustomTreeBox::CItem::~CItem() {
  delete Data;
}

CInt CCustomTreeBox::CItem::Count() const {
  return Children.Count();
}

void CCustomTreeBox::CItem::Add(CItem* child) {
  if (!child) return;
  child->Owner = this;
  Children.Add(child);
}

CCustomTreeBox::CItem* CCustomTreeBox::CItem::Get(const CInt& index) const {
  return Children.GetAs<CItem>(index);
}

bool IsExpanded(const CCustomTreeBox::CItem& item) {
  return (item.Flags & 1) != 0;
}

// [SECTION] CCustomTreeBox

CCustomTreeBox::CCustomTreeBox(CControl* parent) : CScrollBox(parent) {
  Client->OnMouseDown.Set(this, &CCustomTreeBox::ClientMouseDown);
}

CCustomTreeBox::~CCustomTreeBox() = default;

CStr CCustomTreeBox::ClassName() const {
  return "CCustomTreeBox";
}

CInt CCustomTreeBox::VisibleCount(const CItem* item) const {
  return item ? CountRowsOf(*item) : 0;
}

CInt CCustomTreeBox::TotalRows() const {
  return CountRows<CItem>(RootItems);
}

std::int32_t CCustomTreeBox::FirstRow() const {
  return FirstRowOf(*this);
}

std::int32_t CCustomTreeBox::RowsInView() const {
  return RowsInViewOf(*this);
}

void CCustomTreeBox::RowsChanged() {
  Rows.Forget();
}

void CCustomTreeBox::ToggleExpand(CItem* item) {
  if (!item) return;
  Rows.Forget();
  if (IsExpanded(*item)) {
    item->Flags &= ~1;
    Selected = item;
  } else {
    item->Flags |= 1;
  }
  Invalidate();
}

void CCustomTreeBox::SelectItem(CItem* item, CBool toggle) {
  Selected = item;
  if (item && toggle) item->Flags ^= 2;
  OnSelect(this, item);
  Invalidate();
}

// The custom box measures its rows two pixels lower than it draws them: a press is taken at
// y - 2, so the top two pixels of a row belong to the row above.
CBool CCustomTreeBox::HitTestItem(CItem* item, CShiftStateSet shift, CInt x, CInt y) {
  const std::int32_t yy = y.Value - 2;
  if (!item || yy < kRow * Row || yy >= kRow * (Row + 1)) return false;
  if (InSignBox(Depth, Row, x.Value, yy))
    ToggleExpand(item);
  else
    SelectItem(item, shift.Ctrl);
  return true;
}

void CCustomTreeBox::TreeMouseDown(CShiftStateSet shift, CInt x, CInt y) {
  CTreeRows<CItem> rows;
  if (!RowAt(*this, RootItems, Rows, y.Value - 2, rows, Row)) return;
  Depth = rows.Depth();
  if (HitTestItem(rows.Current(), shift, x, y)) OnClick(this);
}

void CCustomTreeBox::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  CInt x, y;
  ToClient(*Client, p, x, y);
  TreeMouseDown(shift, x, y);
  CScrollBox::MouseDown(button, shift, p);
  Invalidate();
}

void CCustomTreeBox::ClientMouseDown(CControl*, CInt button, CShiftStateSet shift, CPoint p) {
  MouseDown(button, shift, p + Client->M1);
}

void CCustomTreeBox::PlaceParts(std::int32_t) {}

void CCustomTreeBox::Paint(const CRect& clip) {
  if (!Visible || !GetCanvas()) return;
  CTreeRows<CItem> rows = SetBar(*this, RootItems, Rows);
  PlaceParts(FirstRow());
  CScrollBox::Paint(clip);
  const CRect saved = BeginRows(*this, *Client, clip);
  const std::int32_t shown = RowsInView();
  for (Row = 0; Row < shown && !rows.AtEnd(); ++Row, rows.Next()) {
    Depth = rows.Depth();
    DrawItem(rows.Current());
  }
  GetCanvas()->SetClipRect(saved);
}

void CCustomTreeBox::DrawExpandBox(CInt x, CInt y, CBool expanded) {
  DrawSignBox(*this, x.Value, y.Value, bool(expanded));
}

// One row; the paint walks the rows.
void CCustomTreeBox::DrawItem(CItem* item) {
  if (!item) return;
  const std::int32_t x = kRow * Depth, y = kRow * Row;
  if (item == Selected) {
    SetColor(CColor(1, 0, 0));
    FillRect(CRect(0, y, Client->GetWidth(), y + kRow - 1));
    SetColor(CColor(1, 1, 1));
  } else {
    SetColor(CColor(0, 0, 0));
  }
  if (item->Count() > CInt(0)) DrawExpandBox(x + 4, y + 4, IsExpanded(*item));
  DrawText(CPoint(x + 20, y + 2), item->Caption);
}

// [SECTION] CInfoTreeBox

const char* const CInfoTreeBox::kIconFiles[kIconCount] = {
    "Group.bmp",    "Pack.bmp",    "App.bmp",     "Lib.bmp",     "Unit.bmp",   "Dll.bmp",
    "Class.bmp",    "NClass.bmp",  "PrivVar.bmp", "ProtVar.bmp", "PubVar.bmp", "PrivFunc.bmp",
    "ProtFunc.bmp", "PubFunc.bmp", "Type.bmp",    "Struct.bmp"};

bool IsExpanded(const CInfo& element) {
  return (element.TreeFlags & 1) != 0;
}

CInfoTreeBox::CInfoTreeBox(CControl* parent) : CScrollBox(parent) {
  Client->OnMouseDown.Set(this, &CInfoTreeBox::ClientMouseDown);
  Client->OnMouseMove.Set(this, &CInfoTreeBox::ClientMouseMove);
  Client->OnMouseUp.Set(this, &CInfoTreeBox::ClientMouseUp);
}

CInfoTreeBox::~CInfoTreeBox() = default;

CStr CInfoTreeBox::ClassName() const {
  return "CInfoTreeBox";
}

const CList& CInfoTreeBox::Roots() const {
  static const CList kNone;
  return CoreApp ? CoreApp->InfoMan.Root.Children : kNone;
}

void CInfoTreeBox::LoadIcons(const CStr& homeDir) {
  Icons.Clear();
  for (const char* file : kIconFiles) {
    auto* icon = new CGDIBitmap;
    icon->LoadFromFile(homeDir + "\\Pics\\16x16silver\\" + file);
    Icons.Add(icon);
  }
}

CInt CInfoTreeBox::GetIconIndex(const CStr& className, const CInt& access) {
  struct Kind {
    const char* name;
    std::int32_t index;
  };
  static constexpr Kind kKinds[] = {
      {"CProjectGroupInfo", 0}, {"CProjectInfo", 0}, {"CPackInfo", 1},   {"CAppInfo", 2},
      {"CLibInfo", 3},          {"CUnitInfo", 4},    {"CDllInfo", 5},    {"CClassInfo", 6},
      {"CNClassInfo", 7},       {"CTypeInfo", 14},   {"CStructInfo", 15}};
  for (const Kind& kind : kKinds)
    if (className == kind.name) return kind.index;
  const bool inRange = access >= CInt(0) && access <= CInt(2);
  if (className == "CAtrInfo") return inRange ? 8 + access.Value : -1;
  if (className == "COperInfo") return inRange ? 11 + access.Value : -1;
  return -1;
}

CInt CInfoTreeBox::IconOf(CInfo* element) const {
  const auto* member = dynamic_cast<const CMemberInfo*>(element);
  return GetIconIndex(element->ClassName(), member ? member->Access : CInt(0));
}

CInt CInfoTreeBox::VisibleCount(const CInfo* element) const {
  return element ? CountRowsOf(*element) : 0;
}

CInt CInfoTreeBox::TotalRows() const {
  return CountRows<CInfo>(Roots());
}

std::int32_t CInfoTreeBox::FirstRow() const {
  return FirstRowOf(*this);
}

std::int32_t CInfoTreeBox::RowsInView() const {
  return RowsInViewOf(*this);
}

void CInfoTreeBox::RowsChanged() {
  Rows.Forget();
}

void CInfoTreeBox::ShowElement(CInfo* element) {
  if (!element) return;
  // The project root is no row: only the elements between it and this one open.
  for (CInfo* a = element->Parent; a && a->Parent; a = a->Parent) a->TreeFlags |= 1;
  Rows.Forget();
  std::int32_t row = 0;
  CTreeRows<CInfo> rows(Roots());
  for (; !rows.AtEnd() && rows.Current() != element; rows.Next()) ++row;
  if (rows.AtEnd()) return;  // not in the tree this box shows
  const std::int32_t first = FirstRow();
  const std::int32_t page = (Client->GetHeight() / CFloat(kRow)).Floor().Value;
  if (row >= first && row < first + page) return;
  CScrollBar& bar = *VertBar;
  bar.Min = 0;
  bar.Max = TotalRows();
  bar.Page = page;
  bar.SetPosition(row < first || page < 1 ? row : row - page + 1);
}

void CInfoTreeBox::ToggleExpand(CInfo* element) {
  if (!element) return;
  Rows.Forget();
  if (IsExpanded(*element)) {
    element->TreeFlags &= ~1;
    Selected = element;
  } else {
    element->TreeFlags |= 1;
  }
  Invalidate();
}

void CInfoTreeBox::SelectItem(CInfo* element, CBool toggle) {
  Selected = element;
  if (element && toggle) element->TreeFlags ^= 2;
  Invalidate();
}

// Rows start at their top edge here.
CBool CInfoTreeBox::HitTestItem(CInfo* element, CShiftStateSet shift, CInt x, CInt y) {
  if (!element || y.Value < kRow * Row || y.Value >= kRow * (Row + 1)) return false;
  if (InSignBox(Depth, Row, x.Value, y.Value))
    ToggleExpand(element);
  else
    SelectItem(element, shift.Ctrl);
  return true;
}

void CInfoTreeBox::TreeMouseDown(CShiftStateSet shift, CInt x, CInt y) {
  const CList& roots = Roots();
  CTreeRows<CInfo> rows;
  if (!RowAt(*this, roots, Rows, y.Value, rows, Row)) return;
  Depth = rows.Depth();
  if (HitTestItem(rows.Current(), shift, x, y)) OnSelect(this);
}

void CInfoTreeBox::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  CInt x, y;
  ToClient(*Client, p, x, y);
  TreeMouseDown(shift, x, y);
  CScrollBox::MouseDown(button, shift, p);
  Invalidate();
}

void CInfoTreeBox::MouseMove(CShiftStateSet shift, CPoint p) {
  CScrollBox::MouseMove(shift, p);
}

void CInfoTreeBox::MouseUp(CInt button, CShiftStateSet shift, CPoint p) {
  CScrollBox::MouseUp(button, shift, p);
}

void CInfoTreeBox::ClientMouseDown(CControl*, CInt button, CShiftStateSet shift, CPoint p) {
  MouseDown(button, shift, p + Client->M1);
}
void CInfoTreeBox::ClientMouseMove(CControl*, CShiftStateSet shift, CPoint p) {
  MouseMove(shift, p + Client->M1);
}
void CInfoTreeBox::ClientMouseUp(CControl*, CInt button, CShiftStateSet shift, CPoint p) {
  MouseUp(button, shift, p + Client->M1);
}

void CInfoTreeBox::Paint(const CRect& clip) {
  if (!Visible || !GetCanvas()) return;
  const CList& roots = Roots();
  CTreeRows<CInfo> rows = SetBar(*this, roots, Rows);
  CScrollBox::Paint(clip);
  const CRect saved = BeginRows(*this, *Client, clip);
  const std::int32_t shown = RowsInView();
  for (Row = 0; Row < shown && !rows.AtEnd(); ++Row, rows.Next()) {
    Depth = rows.Depth();
    DrawNode(rows.Current());
  }
  GetCanvas()->SetClipRect(saved);
}

void CInfoTreeBox::DrawExpandBox(CInt x, CInt y, CBool expanded) {
  DrawSignBox(*this, x.Value, y.Value, bool(expanded));
}

// One row; the paint walks the rows.
void CInfoTreeBox::DrawNode(CInfo* element) {
  if (!element) return;
  const std::int32_t x = kRow * Depth, y = kRow * Row;
  if (element == Selected) {
    SetColor(CColor(0, 0, 1));
    FillRect(CRect(0, y, Client->GetWidth(), y + kRow - 1));
    SetColor(CColor(1, 1, 1));
  } else {
    SetColor(CColor(0, 0, 0));
  }
  if (element->ChildCount() > CInt(0)) DrawExpandBox(x + 4, y + 4, IsExpanded(*element));
  const CInt icon = IconOf(element);
  const bool hasIcon = icon >= CInt(0) && icon < Icons.Count();
  auto* picture = hasIcon ? Icons.GetAs<CGDIBitmap>(icon) : nullptr;
  // A picture that failed to load is empty: its column stays blank.
  if (picture && picture->HasPicture())
    DrawBitmap(CRect(x + 18, y, picture->Width + CFloat(x + 17), picture->Height + CFloat(y - 1)),
               *picture);
  element->UpdateText();
  DrawText(CPoint(x + (hasIcon ? 36 : 20), y), element->Caption);
}
