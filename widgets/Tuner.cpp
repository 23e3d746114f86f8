// The property tuner.
//
// [SECTION] Row data
// [SECTION] Construction
// [SECTION] Listing an object
// [SECTION] Painting
// [SECTION] The editor and committing
// [SECTION] The column divider
#include "widgets/Tuner.h"

#include "controls/Text.h"
#include "controls/View.h"
#include "core/App.h"
#include "core/Cp1251.h"
#include "graphics/Canvas.h"
#include "model/ClassManager.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/ScrollBar.h"
#include "widgets/TreeRows.h"
#include "widgets/TunerValues.h"

namespace {

constexpr std::int32_t kRow = 16;
constexpr std::int32_t kMinColumn = 20;
constexpr char kEnter = 13;
// Composite values nest two levels in the library (a rectangle's points); a registration whose
// property has its own class as type would otherwise expand forever.
constexpr std::int32_t kMaxNesting = 16;

CClassManager* Registry() {
  return CoreApp ? CoreApp->ClassMan.get() : nullptr;
}

// Far enough outside any window that an editor parked there is neither seen nor hit.
constexpr double kParked = -100000;

}  // namespace

// [SECTION] Row data

void CTunerTreeBox::CPropData::CreateValue(const CStr& typeName) {
  CClassManager* registry = Registry();
  Value.reset(registry ? registry->CreateByName(typeName) : nullptr);
}

CStr CTunerTreeBox::CPropData::ValueText() const {
  return Prop ? ::ValueText(Prop->Type, Value.get()) : CStr();
}

CTunerTreeBox::CPropData* CTunerTreeBox::DataOf(const CItem* item) {
  return item ? dynamic_cast<CPropData*>(item->Data) : nullptr;
}

// [SECTION] Construction

CTunerTreeBox::CTunerTreeBox(CControl* parent) : CCustomTreeBox(parent) {
  HorzBar->Visible = false;
  DividerX = 50;
  Divider = new CPanel(this);
  Divider->Cursor = -9;  // left-right arrow
  Divider->OnMouseDown.Set(this, &CTunerTreeBox::StartDrag);
  Divider->OnMouseMove.Set(this, &CTunerTreeBox::Drag);
  Divider->OnMouseUp.Set(this, &CTunerTreeBox::EndDrag);
  PlaceDivider();
  OnSelect.Set(this, &CTunerTreeBox::RowSelected);
}

CTunerTreeBox::~CTunerTreeBox() = default;

CStr CTunerTreeBox::ClassName() const {
  return "CTunerTreeBox";
}

// [SECTION] Listing an object

void CTunerTreeBox::ShowObject(CObject* object) {
  Selected = nullptr;
  Shown = object;
  if (!object) {
    Invalidate();
    return;
  }
  CloseEditor();
  RootItems.Clear();
  AddClassChain(object->ClassName(), object, nullptr);
  Invalidate();
}

void CTunerTreeBox::ShowNothing() {
  ShowObject(nullptr);
  RootItems.Clear();
  HideRefusal();
  if (Editor) {
    Editor->SetFocused(false);
    Editor->Visible = false;
  }
  Invalidate();
}

void CTunerTreeBox::AddSubProperties(CPropInfo* prop, CItem* parent) {
  if (!prop || !parent) return;
  std::int32_t depth = 0;
  for (const CItem* up = parent; up; up = up->Owner) ++depth;
  if (depth > kMaxNesting) return;
  const CPropData* data = DataOf(parent);
  AddClassChain(prop->Type, data ? data->Value.get() : nullptr, parent);
}

// Top-level rows go in front of the rows of the more derived classes, so the most basic class
// comes first; sub-rows are appended, the property's own class first.
void CTunerTreeBox::AddClassChain(const CStr& className, CObject* owner, CItem* parent) {
  CClassManager* registry = Registry();
  if (!registry) return;
  CStr name = className;
  // Registered bases do not loop; the bound keeps a careless registration from hanging here.
  for (std::int32_t step = 0; name != "" && step < registry->Count().Value; ++step) {
    const CClassInfo* record = registry->Find(name);
    if (!record) break;
    for (std::int32_t i = 0; i < record->Properties.Count().Value; ++i) {
      auto* prop = record->Properties.GetAs<CPropInfo>(i);
      auto* row = new CItem(parent);
      row->Caption = prop->GetName() + " : " + prop->Type;
      auto* data = new CPropData;
      data->Prop = prop;
      if (prop->Getter) {
        data->CreateValue(prop->Type);
        prop->Get(owner, data->Value.get());
      }
      row->Data = data;
      if (prop->IsObject) AddSubProperties(prop, row);
      if (parent)
        parent->Add(row);
      else
        RootItems.Insert(i, row);
    }
    name = record->Base;
  }
}

// [SECTION] Painting

void CTunerTreeBox::Paint(const CRect& clip) {
  if (!Visible) return;
  CCustomTreeBox::Paint(clip);
}

// While it is dragged the divider stays where the mouse put it.
void CTunerTreeBox::PlaceDivider() {
  const CFloat x = Dragging ? Divider->M1.X : Client->M1.X + DividerX;
  Divider->SetBounds(x, 0, 5, GetHeight(), true);
}

// Before anything is painted, so the edit shows over its row in this very paint: over the value
// column of the selected row, or out of sight while that row is scrolled away.
void CTunerTreeBox::PlaceParts(std::int32_t firstRow) {
  PlaceDivider();
  if (!Editor) return;
  std::int32_t index = 0;
  bool found = false;
  if (Selected) {
    for (CTreeRows<CItem> rows(RootItems); !rows.AtEnd(); rows.Next(), ++index)
      if (rows.Current() == Selected) {
        found = true;
        break;
      }
  }
  const std::int32_t r = index - firstRow;
  if (found && r >= 0 && r < RowsInView())
    PlaceEditor(r);
  else
    Editor->MoveTo(CPoint(kParked, kParked));
  // Under the edit, across the whole list.
  if (Refusal)
    Refusal->SetBounds(Client->M1.X, Editor->M2.Y + CFloat(1), Client->GetWidth(), 20, true);
}

void CTunerTreeBox::PlaceEditor(std::int32_t r) {
  const CPoint face = Client->M1;
  Editor->SetCorners(face.X + DividerX + CFloat(9), face.Y + CFloat(kRow * r + 2),
                     face.X + Client->GetWidth(), face.Y + CFloat(kRow * r + 23));
}

// The edit is cut at the client face like the rows it stands on; everything else as usual.
void CTunerTreeBox::PaintChildren(const CRect& clip) {
  if (!Visible) return;
  for (std::int32_t i = 0; i < ChildCount().Value; i++) {
    CControl* child = GetChild(i);
    CRect r = child == Editor ? ClipTo(clip, Client->GetAbsRect()) : clip;
    child->BeginPaint(r);
    child->Paint(r);
    child->EndPaint(r);
  }
}

// Black text and no selection bar: the selected row shows the edit instead of its value.
void CTunerTreeBox::DrawItem(CItem* item) {
  if (!item) return;
  CCanvas* canvas = GetCanvas();
  const std::int32_t x = kRow * Depth, y = kRow * Row;
  SetColor(CColor(0, 0, 0));
  if (item->Count() > CInt(0)) DrawExpandBox(x + 4, y + 4, IsExpanded(*item));
  const CRect all = canvas->GetClipRect();
  const CRect face = Client->GetAbsRect();
  const CFloat divider = face.M1.X + DividerX;
  canvas->SetClipRect(ClipTo(all, CRect(face.M1.X, face.M1.Y, divider - CFloat(1), face.M2.Y)));
  DrawText(CPoint(x + 20, y + 2), item->Caption);
  canvas->SetClipRect(all);
  if (item == Selected) return;
  const CPropData* data = DataOf(item);
  if (data) DrawText(CPoint(DividerX + CFloat(9), y + 5), data->ValueText());
}

// [SECTION] The editor and committing

void CTunerTreeBox::RowSelected(CControl*, CItem* item) {
  if (!Editor) {
    Editor = new CEdit(this);
    Editor->Anchors.Set(1, 1, 2, 1);
    Editor->OnKeyPress.Set(this, &CTunerTreeBox::EditorKeyPress);
    Editor->Visible = false;
  }
  const CPropData* data = DataOf(item);
  Editor->Caption->Color = CColor(0, 0, 0);
  Editor->SetText(data ? data->ValueText() : CStr());
  Editor->CaretPos = Editor->GetText().Length();
  Editor->ReplaceOnType = true;
  PlaceParts(FirstRow());
  if (!Editor->Visible) {
    Editor->Visible = true;
    Editor->SetFocused(true);
    Editor->OnKeyPress.Set(this, &CTunerTreeBox::EditorKeyPress);
  }
}

void CTunerTreeBox::ToggleExpand(CItem* item) {
  const bool collapsing = item && IsExpanded(*item);
  CCustomTreeBox::ToggleExpand(item);
  if (collapsing) RowSelected(this, item);
}

void CTunerTreeBox::EditorKeyPress(CControl*, CStr ch) {
  if (ch != CStr(kEnter)) {
    Editor->Caption->Color = CColor(0, 0, 0);  // typing again: no longer the refused text
    HideRefusal();
    return;
  }
  const CItem* top = Selected;
  while (top && top->Owner) top = top->Owner;
  const CPropData* topData = DataOf(top);
  const CStr property = topData && topData->Prop ? topData->Prop->GetName() : CStr();
  const CStr before = topData ? topData->ValueText() : CStr();
  CObject* object = Shown;
  const CStr why = Commit();
  if (!why.View().empty()) {
    // The edit stays open with the text as typed, in red, and says why it was not taken.
    Editor->Caption->Color = CColor(1, 0, 0);
    Editor->Invalidate();
    ShowRefusal(why);
    return;
  }
  ShowObject(Shown);
  OnCommitted(object, property, before);
}

// The copies of the composites above the row, read again from the object.
void CTunerTreeBox::Reread(const CItem* row) {
  std::vector<const CItem*> chain;
  for (; row; row = row->Owner) chain.push_back(row);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    const CPropData* d = DataOf(*it);
    CObject* owner = (*it)->Owner ? DataOf((*it)->Owner)->Value.get() : Shown;
    if (d && d->Prop && d->Value) d->Prop->Get(owner, d->Value.get());
  }
}

void CTunerTreeBox::ShowRefusal(const CStr& why) {
  if (!Refusal) {
    Refusal = new CLabel(this);
    Refusal->Client->Color = CColor(1, 1, 0.85);
    Refusal->Caption->Color = CColor(0.75, 0, 0);
  }
  Refusal->Caption->Str = why;
  Refusal->Visible = true;
  PlaceParts(FirstRow());
  Invalidate();
}

void CTunerTreeBox::HideRefusal() {
  if (!Refusal || !Refusal->Visible) return;
  Refusal->Visible = false;
  Invalidate();
}

// The focus is given up only when the edit holds it: the main window lists a new element while
// the user types elsewhere.
void CTunerTreeBox::CloseEditor() {
  HideRefusal();
  if (!Editor || !Editor->Visible) return;
  if (View && View->GetFocused() == Editor) Editor->SetFocused(false);
  Editor->Visible = false;
}

// Checks the whole way up before writing anything, so that a text that does not read, a row
// without a setter or a composite that cannot pass a change on leaves the object as it was.
CStr CTunerTreeBox::Commit() {
  CClassManager* registry = Registry();
  const CPropData* data = DataOf(Selected);
  const CStr shownOnly = "Это свойство только показывается"_cp;
  if (!Editor || !Selected || !Shown || !registry) return "Нет объекта, в который писать"_cp;
  if (!data || !data->Prop) return shownOnly;
  for (const CItem* row = Selected; row; row = row->Owner) {
    const CPropData* d = DataOf(row);
    if (!d || !d->Prop || !d->Prop->Setter || d->Prop->Setter == &NoSet) return shownOnly;
    if (row != Selected && !PassesChangesUp(d->Prop->Type)) return shownOnly;
    if (row->Owner && !(DataOf(row->Owner) && DataOf(row->Owner)->Value)) return shownOnly;
  }
  if (PassesChangesUp(data->Prop->Type)) return "Меняется по частям: раскройте строку"_cp;
  const std::unique_ptr<CObject> typed(registry->CreateByName(data->Prop->Type));
  if (!typed) return shownOnly;
  if (!ReadValue(data->Prop->Type, Editor->GetText(), typed.get()))
    return WhyNotRead(data->Prop->Type);

  // The change goes up through the rows' own copies of the composites; each is checked as it
  // becomes (a colour's part above 1), and only a whole good value reaches the object.
  CObject* value = typed.get();
  const CItem* row = Selected;
  for (; row->Owner; row = row->Owner) {
    const CPropData* owner = DataOf(row->Owner);
    DataOf(row)->Prop->Setter(owner->Value.get(), value);
    if (const CStr why = CheckValue(owner->Prop->Type, owner->Value.get()); !why.View().empty()) {
      Reread(Selected);
      return why;
    }
    value = owner->Value.get();
  }
  if (const CChecker check = DataOf(row)->Prop->Checker)
    if (const CStr why = check(Shown, value); !why.View().empty()) {
      Reread(Selected);
      return why;
    }
  DataOf(row)->Prop->Setter(Shown, value);
  return "";
}

// [SECTION] The column divider

void CTunerTreeBox::StartDrag(CControl*, CInt, CShiftStateSet, CPoint p) {
  Dragging = true;
  DragStartX = p.X;
}

// The divider follows the mouse; the columns follow when it is let go.
void CTunerTreeBox::Drag(CControl*, CShiftStateSet, CPoint p) {
  if (!Dragging) return;
  MoveDivider(p.X - DragStartX);
  Invalidate();
}

// Past an edge it could never be grabbed again: each column keeps kMinColumn pixels, the name
// column left of the divider and the value column right of it.
void CTunerTreeBox::MoveDivider(const CFloat& by) {
  const CFloat least = Client->M1.X + CFloat(kMinColumn);
  const CFloat most = Client->M1.X + Client->GetWidth() - Divider->GetWidth() - CFloat(kMinColumn);
  CFloat x = Divider->M1.X + by;
  if (x > most) x = most;
  if (x < least) x = least;
  Divider->Offset(CPoint(x - Divider->M1.X, 0));
}

void CTunerTreeBox::EndDrag(CControl*, CInt, CShiftStateSet, CPoint p) {
  if (!Dragging) return;
  Dragging = false;
  MoveDivider(p.X - DragStartX);
  const CFloat moved = Divider->M1.X - Client->M1.X - DividerX;
  DividerX = DividerX + moved;
  if (Editor) Editor->Offset(CPoint(moved, 0));
  Invalidate();
}
