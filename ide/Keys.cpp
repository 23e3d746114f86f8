// The main window's keys: the toolbar's commands by key, and the tree's selection moved by keys
// while the tree has the keyboard.
#include <algorithm>
#include <vector>

#include "controls/View.h"
#include "ide/Form1.h"
#include "model/Info.h"
#include "widgets/Edit.h"
#include "widgets/Memo.h"
#include "widgets/TreeBox.h"

namespace {

constexpr int kF1 = 59, kF9 = 67, kInsert = 82, kDelete = 83, kS = 31, kN = 49, kO = 24, kX = 45,
              kC = 46, kV = 47;
constexpr int kLeft = 75, kRight = 77, kUp = 72, kDown = 80, kHome = 71, kEnd = 79,
              kPageUp = 73, kPageDown = 81;

enum class When { Always, NotEditingText, TreeHasKeyboard };

struct KeyCommand {
  int key;
  bool ctrl;
  When when;
  void (CForm1::*command)(CControl*);
};

constexpr KeyCommand kCommands[] = {
    {kS, true, When::Always, &CForm1::SaveClick},
    {kN, true, When::Always, &CForm1::NewClick},
    {kO, true, When::Always, &CForm1::OpenClick},
    {kF9, false, When::Always, &CForm1::RunClick},
    {kF9, true, When::Always, &CForm1::BuildClick},
    {kF1, false, When::Always, &CForm1::AboutClick},
    {kInsert, false, When::NotEditingText, &CForm1::AddClick},
    {kDelete, false, When::TreeHasKeyboard, &CForm1::DeleteClick},
    {kX, true, When::TreeHasKeyboard, &CForm1::CutClick},
    {kC, true, When::TreeHasKeyboard, &CForm1::CopyClick},
    {kV, true, When::TreeHasKeyboard, &CForm1::PasteClick},
};

// The rows of the tree from the top, as it shows them: children of expanded elements only.
void VisibleRows(const CList& elements, std::vector<CInfo*>& rows) {
  for (std::int32_t i = 0; i < elements.Size(); ++i) {
    auto* element = static_cast<CInfo*>(elements.At(i));
    rows.push_back(element);
    if (IsExpanded(*element)) VisibleRows(element->Children, rows);
  }
}

}  // namespace

bool CForm1::EnvironmentKey(CInt key, CShiftStateSet shift) {
  if (Waiting || shift.Alt) return false;
  CControl* focused = View ? View->GetFocused() : nullptr;
  const bool treeHasKeyboard = focused == Tree;
  const bool editingText =
      dynamic_cast<CMemo*>(focused) != nullptr || dynamic_cast<CEdit*>(focused) != nullptr;
  for (const KeyCommand& c : kCommands) {
    if (c.key != key.Value || c.ctrl != bool(shift.Ctrl) || shift.Shift) continue;
    if (c.when == When::NotEditingText && editingText) continue;
    if (c.when == When::TreeHasKeyboard && !treeHasKeyboard) continue;
    (this->*c.command)(this);
    return true;
  }
  if (!treeHasKeyboard || shift.Ctrl || shift.Shift) return false;
  for (const int move : {kLeft, kRight, kUp, kDown, kHome, kEnd, kPageUp, kPageDown}) {
    if (move == key.Value) {
      MoveTreeSelection(move);
      return true;
    }
  }
  return false;
}

void CForm1::MoveTreeSelection(int key) {
  std::vector<CInfo*> rows;
  VisibleRows(Tree->Roots(), rows);
  if (rows.empty()) return;
  CInfo* selected = Tree->Selected;
  const auto at = std::find(rows.begin(), rows.end(), selected);
  const auto index = at == rows.end() ? std::int32_t(-1) : std::int32_t(at - rows.begin());
  const auto last = std::int32_t(rows.size()) - 1;
  std::int32_t next = index;
  switch (key) {
    case kUp: next = index < 0 ? 0 : index - 1; break;
    case kDown: next = index + 1; break;
    case kPageUp: next = index - 10; break;
    case kPageDown: next = index < 0 ? 9 : index + 10; break;
    case kHome: next = 0; break;
    case kEnd: next = last; break;
    case kLeft:
    case kRight:
      if (!selected) return;
      // Left on a collapsed element goes to its parent; Right on an expanded one to its first
      // child.
      if (selected->ChildCount() > CInt(0) && IsExpanded(*selected) == (key == kLeft)) {
        Tree->ToggleExpand(selected);
        Tree->Invalidate();
        return;
      }
      if (key == kLeft && selected->Parent &&
          std::find(rows.begin(), rows.end(), selected->Parent) != rows.end())
        next = std::int32_t(std::find(rows.begin(), rows.end(), selected->Parent) - rows.begin());
      else if (key == kRight && selected->ChildCount() > CInt(0))
        next = index + 1;
      else
        return;
      break;
    default: return;
  }
  next = std::clamp(next, std::int32_t(0), last);
  if (rows[size_t(next)] == selected) return;
  Tree->Selected = rows[size_t(next)];
  OnTreeSelect(Tree);
  Tree->Invalidate();
}
