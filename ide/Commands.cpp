// The toolbar's commands of the main window, and the tree operations behind them.
#include <cstdio>
#include <string>
#include <vector>

#include "controls/View.h"
#include "controls/CtrlApp.h"
#include "core/Cp1251.h"
#include "ide/EditForm.h"
#include "ide/Form1.h"
#include "ide/SelItemForm.h"
#include "ide/Workshop.h"
#include "import/Import.h"
#include "model/ClassManager.h"
#include "model/MemberInfo.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Text.h"
#include "storage/Config.h"
#include "widgets/Memo.h"
#include "widgets/MsgDlg.h"
#include "widgets/TreeBox.h"
#include "widgets/Tuner.h"

namespace {

// The expanded rows are kept in the elements, not in the file: a tree read back from a snapshot
// gets them again, element by element in the same order.
std::vector<std::int32_t> TreeFlagsOf(CInfo& root) {
  std::vector<std::int32_t> flags;
  std::vector<CInfo*> pending{&root};
  while (!pending.empty()) {
    CInfo* node = pending.back();
    pending.pop_back();
    flags.push_back(node->TreeFlags);
    for (std::int32_t i = node->ChildCount().Value - 1; i >= 0; --i)
      pending.push_back(node->Child(i));
  }
  return flags;
}

void RestoreTree(CMemory& snapshot, const std::vector<std::int32_t>& flags, CInfo& root) {
  ReadConfig(snapshot, root);
  std::vector<CInfo*> pending{&root};
  for (std::size_t at = 0; !pending.empty() && at < flags.size(); ++at) {
    CInfo* node = pending.back();
    pending.pop_back();
    node->TreeFlags = flags[at];
    for (std::int32_t i = node->ChildCount().Value - 1; i >= 0; --i)
      pending.push_back(node->Child(i));
  }
}

}  // namespace

bool CForm1::Confirm(const char* question) {
  if (!CtrlApp->MsgDlg) return false;
  Waiting = true;
  const bool treeHadKeyboard = View && View->GetFocused() == Tree;
  const bool yes = CtrlApp->MsgDlg->Show(CStr(question), 3, 3) == 1;
  Waiting = false;
  // The answer's button took the keyboard; the tree's keys go on working after a question.
  if (treeHadKeyboard && View->GetFocused() != Tree) View->SetFocus(Tree, false, 0);
  return yes;
}

// [SECTION] Files

void CForm1::NewClick(CControl*) {
  if (!Confirm("Создать все проекты заново?"_cp)) return;
  CInfo& root = CoreApp->InfoMan.Root;
  Forget(&root, true);
  CutPending = 0;
  root.Children.Clear();
  RedrawTree();
}

void CForm1::OpenClick(CControl*) {
  if (!Confirm("Загрузить все проекты?"_cp)) return;
  CInfo& root = CoreApp->InfoMan.Root;
  // Loading replaces every element only when the file is whole; a damaged one changes nothing
  // and is reported. The windows of the old elements are let go of before they are destroyed.
  if (!platform::PathExists(ConfigPath(*CoreApp).View())) return;
  CMemory before;
  WriteConfig(before, root);
  const std::vector<std::int32_t> flags = TreeFlagsOf(root);
  Forget(&root, true);
  const CLoadReport report = LoadConfig(*CoreApp);
  keepBeforeSave_ = report.KeepFailed;
  if (!report.Ok()) {
    // Nothing was replaced, but the windows are gone: read back what stood, so that nothing
    // points at an element whose window was destroyed.
    RestoreTree(before, flags, root);
  }
  RedrawTree();
  if (!report.Message().View().empty()) Report(report.Message());
}

void CForm1::SaveClick(CControl*) {
  if (!Confirm("Сохранить все проекты?"_cp)) return;
  WriteDesigns(&CoreApp->InfoMan.Root);
  bool kept = true;
  const CStr said =
      keepBeforeSave_ ? SaveConfigKeepingDamaged(*CoreApp, kept) : SaveConfig(*CoreApp);
  keepBeforeSave_ = !kept;
  if (!said.View().empty()) Report(said);
}

// [SECTION] Adding and removing

void CForm1::AddClick(CControl*) {
  CInfo* selected = Selected();
  AddElement(selected && selected->Parent ? selected->Parent : &CoreApp->InfoMan.Root);
}

void CForm1::SubAddClick(CControl*) {
  CInfo* selected = Selected();
  AddElement(selected ? selected : &CoreApp->InfoMan.Root);
  RedrawTree();
}

void CForm1::AddElement(CInfo* parent) {
  CStr name, about;
  Waiting = true;
  const CStr className = AddDialog()->Execute(parent->ClassName(), name, about);
  Waiting = false;
  if (className.View().empty()) return;
  CObject* made = CoreApp->ClassMan->CreateByName(className);
  auto* element = dynamic_cast<CInfo*>(made);
  if (!element) {
    delete made;
    return;
  }
  element->SetName(name);
  element->About = about;
  parent->Append(element);
  Invalidate();
}

void CForm1::DeleteClick(CControl*) {
  CInfo* selected = Selected();
  if (!selected || !selected->Parent) return;
  if (!Confirm("Удалить элемент?"_cp)) return;
  Forget(selected);
  selected->Parent->Children.DeleteObject(selected);
  Tree->Selected = nullptr;
  RedrawTree();
  CutPending = 0;
}

void CForm1::UpClick(CControl*) {
  CInfo* selected = Selected();
  if (!selected || !selected->Parent) return;
  CList& siblings = selected->Parent->Children;
  const std::int32_t i = siblings.IndexOf(selected).Value;
  if (i > 0) siblings.Exchange(i, i - 1);
  RedrawTree();
}

void CForm1::DownClick(CControl*) {
  CInfo* selected = Selected();
  if (!selected || !selected->Parent) return;
  CList& siblings = selected->Parent->Children;
  const std::int32_t i = siblings.IndexOf(selected).Value;
  if (i >= 0 && i + 1 < siblings.Count().Value) siblings.Exchange(i, i + 1);
  RedrawTree();
}

// [SECTION] Clipboard

void CForm1::CutClick(CControl* sender) {
  CInfo* selected = Selected();
  if (!selected) return;
  CopyClick(sender);
  CutPending = 1;
  Tree->CutElement = selected;
}

void CForm1::CopyClick(CControl*) {
  CInfo* selected = Selected();
  if (!selected) return;
  // What the user typed into the element's editor, and its design, go with the copy.
  WriteBackEditor();
  WriteDesigns(selected);
  CutPending = 0;
  Clipboard->SetPosition(0);
  Clipboard->SetSize(0);
  selected->SaveToStream(*Clipboard);
  ClipClass = selected->ClassName();
}

void CForm1::PasteClick(CControl*) {
  CInfo* selected = Selected();
  if (selected && selected->Parent) PasteInto(selected->Parent);
}

void CForm1::SubPasteClick(CControl*) {
  if (CInfo* selected = Selected()) PasteInto(selected);
}

void CForm1::PasteInto(CInfo* target) {
  CInfo* cut = CutPending.Value ? Tree->CutElement : nullptr;
  // The copy would leave the tree together with the original it replaces.
  if (cut) {
    for (const CInfo* node = target; node; node = node->Parent)
      if (node == cut) return;
  }
  CObject* made = CoreApp->ClassMan->CreateByName(ClipClass);
  auto* element = dynamic_cast<CInfo*>(made);
  if (!element) {
    delete made;
    return;
  }
  Clipboard->SetPosition(0);
  if (!element->Load(*Clipboard).Ok()) {
    delete element;
    return;
  }
  target->Append(element);
  Tree->Selected = element;
  if (CutPending.Value) {
    CutPending = 0;
    if (cut && cut->Parent) {
      // Moved: the original leaves the tree and, belonging to nobody, is destroyed.
      Forget(cut);
      cut->Parent->Children.DeleteObject(cut);
    }
    Tree->CutElement = nullptr;
  }
  // Shown as if its row had been pressed, so that what the next command acts on can be seen.
  Tree->ShowElement(element);
  RedrawTree();
  OnTreeSelect(Tree);
}

// [SECTION] Code

void CForm1::ImportClick(CControl*) {
  CInfo* selected = Selected();
  if (!selected) return;
  CInfo& root = CoreApp->InfoMan.Root;
  WriteBackEditor();
  CMemory before;
  WriteConfig(before, root);
  const std::vector<std::int32_t> flags = TreeFlagsOf(root);
  // A re-import empties its units first: whatever is below the element may go.
  Forget(selected, true);
  const CImportResult result = ImportCommand(selected, [this](const CStr& text) { Report(text); });
  if (!result.Ok) {
    // The whole tree as it stood before the command, in place; every element is a new one.
    Forget(&root, true);
    RestoreTree(before, flags, root);
  } else {
    // The import read the units' head texts anew: their editors show them afresh.
    DestroyWindowsBelow(selected);
    if (Tree->Selected == selected) OnTreeSelect(Tree);
    if (!result.Unplaced.empty()) {
      CStr text;
      for (const CUnplacedCode& code : result.Unplaced) text = text + UnplacedText(code) + "\n";
      Report(text);
    }
  }
  RedrawTree();
}

void CForm1::ClearClick(CControl*) {
  if (CInfo* selected = Selected()) {
    ClearCode(selected);
    RedrawTree();
  }
}

void CForm1::ClearCode(CInfo* element) {
  if (element->ClassName() == "COperInfo") {
    static_cast<COperInfo*>(element)->Code = "";
    // An editor made earlier would write its old text back at the next press.
    if (auto* editor = static_cast<CEditForm*>(element->EditorWindow)) editor->Memo->SetText("");
    return;
  }
  for (std::int32_t i = 0; i < element->ChildCount().Value; ++i) ClearCode(element->Child(i));
}

// Both run beside the window: the bottom box and the list under the workspace tell how they go.
void CForm1::BuildClick(CControl*) {
  if (CInfo* selected = Selected()) Workshop->Build(selected);
}

void CForm1::RunClick(CControl*) {
  if (CInfo* selected = Selected()) Workshop->Run(selected);
}
