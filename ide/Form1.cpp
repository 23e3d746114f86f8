// The main window: building it, the selection of the project tree, the windows made for
// elements, and the About window. The toolbar's commands are in Commands.cpp.
//
// [SECTION] Building
// [SECTION] Selection
// [SECTION] Click operations of designed controls
// [SECTION] Windows of destroyed elements
// [SECTION] About
#include "ide/Form1.h"

#include <utility>
#include <vector>

#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "designer/ColorForm.h"
#include "designer/DsgnForm.h"
#include "designer/Map.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "ide/ConfigLoad.h"
#include "ide/EditForm.h"
#include "ide/HeadsForm.h"
#include "ide/OutputBox.h"
#include "ide/Workshop.h"
#include "ide/SelItemForm.h"
#include "model/ClassManager.h"
#include "model/MemberInfo.h"
#include "model/TypeInfo.h"
#include "model/UnitInfo.h"
#include "platform/MessageBox.h"
#include "storage/Config.h"
#include "widgets/Box.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Memo.h"
#include "widgets/Splitter.h"
#include "widgets/ToolBar.h"
#include "widgets/TreeBox.h"
#include "widgets/Tuner.h"

namespace {

// The toolbar, left to right; a separator follows the commands marked so.
struct CCommandRow {
  int Number;
  const char* Picture;
  void (CForm1::*Handler)(CControl*);
  bool SeparatorAfter;
  const char* Name;  // the button's hint
  const char* Key;   // the key that gives the command too, or none
};
constexpr CCommandRow kCommands[] = {
    {1, "New", &CForm1::NewClick, false, "Создать"_cp, "Ctrl+N"},
    {2, "Open", &CForm1::OpenClick, false, "Открыть"_cp, "Ctrl+O"},
    {3, "Save", &CForm1::SaveClick, true, "Сохранить"_cp, "Ctrl+S"},
    {4, "Add", &CForm1::AddClick, false, "Добавить"_cp, "Insert"},
    {5, "SubAdd", &CForm1::SubAddClick, false, "Добавить внутрь"_cp, nullptr},
    {6, "Delete", &CForm1::DeleteClick, true, "Удалить"_cp, "Delete"},
    {8, "Up", &CForm1::UpClick, false, "Вверх"_cp, nullptr},
    {9, "Down", &CForm1::DownClick, true, "Вниз"_cp, nullptr},
    {10, "Cut", &CForm1::CutClick, false, "Вырезать"_cp, "Ctrl+X"},
    {11, "Copy", &CForm1::CopyClick, false, "Копировать"_cp, "Ctrl+C"},
    {12, "Paste", &CForm1::PasteClick, false, "Вставить"_cp, "Ctrl+V"},
    {13, "SubPaste", &CForm1::SubPasteClick, true, "Вставить внутрь"_cp, nullptr},
    {14, "Import", &CForm1::ImportClick, false, "Импорт"_cp, nullptr},
    {15, "Clear", &CForm1::ClearClick, true, "Очистить"_cp, nullptr},
    {16, "Build", &CForm1::BuildClick, false, "Собрать"_cp, "Ctrl+F9"},
    {17, "Run", &CForm1::RunClick, true, "Запустить"_cp, "F9"},
    {18, "About", &CForm1::AboutClick, false, "О программе"_cp, "F1"},
};

CStr Home() {
  return CoreApp ? CoreApp->HomeDir : CStr("C:\\Qxe");
}

bool IsA(const CInfo* element, const char* className) {
  return element && element->ClassName() == className;
}

}  // namespace

// [SECTION] Building

// The load runs while the window's parts are built. It begins once the window itself exists:
// making a window waits on the display server, which a load running on the same cores holds up
// for milliseconds.
CForm1::CForm1(CControl* parent) : CForm(parent) {
  auto load = std::make_unique<CConfigLoad>(*CoreApp);
  SetBounds(100, 100, 800, 600, true);
  Caption->Icon->SetFileName(Home() + "\\Pics\\Form\\Icon16_new.bmp");
  Caption->Title->Str = "Qxworks 0.3.2";
  for (const char* name : {"FormCaption", "Text"}) {
    auto* font = new CFont;  // the font manager keeps it
    font->Set(0, 13, false, false, false, false, false, "MS Sans Serif", name);
    GetCanvas()->CreateFont(font);
  }
  BuildToolBar();
  BuildPanes();
  Tree->OnSelect.Set(this, &CForm1::OnTreeSelect);
  Tuner->OnCommitted.Set(this, &CForm1::TunerCommitted);
  BottomBox->OnSelect.Set(this, &CForm1::OutputSelect);
  Workshop = std::make_unique<CWorkshop>(*this);
  if (View) View->KeyPreview = [this](CInt key, CShiftStateSet shift) {
    return EnvironmentKey(key, shift);
  };
  Clipboard = std::make_unique<CMemory>();
  Tree->LoadIcons(Home());

  // While the configuration is still loading, the window is painted once as it stands: the
  // paint after the join then finds its memory, its texts' masks and its pictures made.
  if (load->Loading() && View) View->PaintAhead();

  // A damaged file is refused whole and the tree stays empty; the user learns where it is
  // damaged, and where its copy was kept, before anything can be saved over it.
  const CLoadReport report = load->Join();
  keepBeforeSave_ = report.KeepFailed;
  RedrawTree();
  if (!report.Message().View().empty()) Report(report.Message());
}

// The windows made for elements are children of the workspace and go with it; the elements
// must not keep pointing at them.
CForm1::~CForm1() {
  Workshop.reset();
  if (CoreApp) {
    std::vector<CInfo*> pending{&CoreApp->InfoMan.Root};
    while (!pending.empty()) {
      CInfo* node = pending.back();
      pending.pop_back();
      node->EditorWindow = nullptr;
      for (std::int32_t i = 0; i < node->ChildCount().Value; ++i) pending.push_back(node->Child(i));
    }
  }
}

CStr CForm1::ClassName() const {
  return "CForm1";
}

void CForm1::BuildToolBar() {
  ToolBar = new CToolBar(Client);
  ToolBar->SetBounds(0, 0, Client->GetWidth(), 24, true);
  ToolBar->Anchors.Set(1, 1, 2, 1);
  for (const CCommandRow& row : kCommands) {
    const CStr picture = Home() + "\\Pics\\16x16silver\\" + row.Picture + ".bmp";
    CSpeedButton* button =
        ToolBar->AddButton(picture, row.Number, CNotifyHook(this, &CForm1::CommandClick));
    button->Hint = row.Key ? CStr(row.Name) + " (" + row.Key + ")" : CStr(row.Name);
    if (row.SeparatorAfter) ToolBar->AddSeparator();
  }
}

// A command that waits for an answer runs a nested loop in which the toolbar and the tree still
// take presses. Another command then could destroy the element the waiting one holds, and its
// answer would end both waits at once; so commands and selections wait their turn, also while
// any other dialog (the designer's colour dialog) runs its loop.
void CForm1::CommandClick(CControl* sender) {
  if (!sender || Waiting || (CtrlApp && CtrlApp->Modal.Value) || ColourDialogWaits()) return;
  for (const CCommandRow& row : kCommands)
    if (row.Number == sender->Number.Value) {
      (this->*row.Handler)(sender);
      return;
    }
}

// A designer's colour dialog waits in a loop of its own, standing on this window while it waits.
bool CForm1::ColourDialogWaits() {
  for (std::int32_t i = 0; i < ChildCount().Value; ++i)
    if (auto* dialog = dynamic_cast<CColorForm*>(GetChild(i)); dialog && dialog->Visible)
      return true;
  return false;
}

void CForm1::BuildPanes() {
  const CFloat width = Client->GetWidth(), height = Client->GetHeight();
  StatusBox = new CBox(Client);
  StatusBox->SetBounds(0, height - CFloat(20), width, 20, true);
  StatusBox->Anchors.Set(1, 2, 2, 2);
  StatusBox->Client->Color = CColor(0.8, 0.8, 0.8);
  StatusBox->Background->Color = CColor(0.8, 0.8, 0.8);
  StatusText = new CText(StatusBox->Client);
  StatusText->SetBounds(4, 2, width - CFloat(8), 16, true);
  StatusText->Anchors.Set(1, 1, 2, 1);
  StatusText->SetFontName("Text");
  StatusText->Str = "";

  auto fill = [](CControl* child) { child->Anchors.Set(1, 1, 2, 2); };
  auto fillPane = [&](CControl* child, CControl* pane) {
    child->SetBounds(0, 0, pane->GetWidth(), pane->GetHeight(), true);
    fill(child);
  };

  MainSplit = new CSplitter(Client);
  MainSplit->SetBounds(0, 24, width, height - CFloat(44), true);
  fill(MainSplit);
  MainSplit->SetSplit(MainSplit->GetWidth() / CFloat(3));

  LeftSplit = new CSplitter(MainSplit->FirstPane);
  fillPane(LeftSplit, MainSplit->FirstPane);
  LeftSplit->SetStacked(true);
  LeftSplit->SetSplit(LeftSplit->GetHeight() / CFloat(2));
  Tree = new CInfoTreeBox(LeftSplit->FirstPane);
  fillPane(Tree, LeftSplit->FirstPane);
  Tuner = new CTunerTreeBox(LeftSplit->SecondPane);
  fillPane(Tuner, LeftSplit->SecondPane);

  RightSplit = new CSplitter(MainSplit->SecondPane);
  fillPane(RightSplit, MainSplit->SecondPane);
  RightSplit->SetStacked(true);
  RightSplit->SetSplit(RightSplit->GetHeight() - CFloat(60));
  Workspace = RightSplit->FirstPane;
  BottomBox = new COutputBox(RightSplit->SecondPane);
  fillPane(BottomBox, RightSplit->SecondPane);
}

CSelItemForm* CForm1::AddDialog() {
  if (!addDialog_) addDialog_ = new CSelItemForm(this);
  return addDialog_;
}

void CForm1::Report(const CStr& text) {
  platform::MessageBox(text.View(), Caption->Title->Str.View());
}

// [SECTION] Selection

CInfo* CForm1::Selected() const {
  return Tree ? Tree->Selected : nullptr;
}

void CForm1::RedrawTree() {
  Tree->Invalidate();
}

void CForm1::OnTreeSelect(CControl*) {
  if (!Tree->Selected || Waiting) return;
  if (View) View->SetFocus(Tree, false, 0);  // a press on the tree gives it the keyboard
  WriteBackEditor();
  if (Current && Designer && Designer->Visible) WriteDesigns(Current);
  if (CodeEditor) CodeEditor->Hide();
  if (HeadsEditor) HeadsEditor->Hide();
  if (Designer) Designer->Hide();

  Current = Tree->Selected;
  Tuner->ShowObject(Current);

  if (IsA(Current, "COperInfo")) {
    auto* editor = static_cast<CEditForm*>(Current->EditorWindow);
    if (!editor) {
      editor = new CEditForm(Workspace);
      editor->SetPoints(CPoint(0, 0), CPoint(Workspace->GetWidth(), Workspace->GetHeight()));
      editor->Anchors.Set(1, 1, 2, 2);
      editor->Memo->SetText(static_cast<COperInfo*>(Current)->Code);
      Current->EditorWindow = editor;
    }
    CodeEditor = editor;
    CodeEditor->Visible = true;
  }
  if (auto* unit = dynamic_cast<CUnitInfo*>(Current)) {
    auto* editor = static_cast<CHeadsForm*>(Current->EditorWindow);
    if (!editor) {
      editor = new CHeadsForm(Workspace);
      editor->SetPoints(CPoint(0, 0), CPoint(Workspace->GetWidth(), Workspace->GetHeight()));
      editor->Anchors.Set(1, 1, 2, 2);
      editor->LayOut();
      editor->ReadFrom(*unit);
      Current->EditorWindow = editor;
    }
    HeadsEditor = editor;
    HeadsEditor->Visible = true;
  }
  if (IsA(Current, "CClassInfo") &&
      CoreApp->ClassMan->InheritsFromName(static_cast<CClassInfo*>(Current)->Base, "CControl")) {
    auto* designer = static_cast<CDsgnForm*>(Current->EditorWindow);
    if (!designer) {
      designer = new CDsgnForm(Workspace);
      designer->SetPoints(CPoint(0, 0), CPoint(Workspace->GetWidth(), Workspace->GetHeight()));
      designer->Anchors.Set(1, 1, 2, 2);
      Current->EditorWindow = designer;
      const CStr damage = designer->ReadDesign(std::as_const(*Current).Extra(), Current->GetName());
      if (!damage.View().empty()) Report(damage);
    }
    designer->Map->OnDoublePress.Set(this, &CForm1::DesignedControlDoublePress);
    Designer = designer;
    Designer->Visible = true;
    Designer->Tuner = Tuner;
    // Topmost among the workspace's windows: last in its list.
    Workspace->RemoveChild(Designer);
    Workspace->AddChild(Designer);
  }
  Invalidate();
}

void CForm1::OutputSelect(CControl*, CCustomTreeBox::CItem* item) {
  const COutputBox::CPlace* place = COutputBox::PlaceOf(item);
  if (!place || !place->Element || Waiting) return;
  ShowPlace(place->Element, place->CodeLine);
}

void CForm1::ShowPlace(CInfo* element, int codeLine) {
  Tree->Selected = element;
  Tree->ShowElement(element);
  RedrawTree();
  OnTreeSelect(Tree);
  if (codeLine >= 0 && CodeEditor && CodeEditor->Visible && Current == element) {
    CodeEditor->Memo->GoToLine(codeLine + 1);
    if (View) View->SetFocus(CodeEditor->Memo, false, 0);
  }
}

void CForm1::WriteDesigns(CInfo* top) {
  std::vector<CInfo*> pending{top};
  while (!pending.empty()) {
    CInfo* node = pending.back();
    pending.pop_back();
    if (auto* designer = dynamic_cast<CDsgnForm*>(node->EditorWindow)) {
      const CStr& extra = std::as_const(*node).Extra();
      const CStr text = designer->WriteDesign(extra);
      if (text != extra) node->Extra() = text;
    }
    for (std::int32_t i = 0; i < node->ChildCount().Value; ++i) pending.push_back(node->Child(i));
  }
}

void CForm1::WriteBackEditor() {
  if (CodeEditor && CodeEditor->Visible && IsA(Current, "COperInfo"))
    static_cast<COperInfo*>(Current)->Code = CodeEditor->Memo->GetText();
  if (auto* unit = dynamic_cast<CUnitInfo*>(Current); unit && HeadsEditor && HeadsEditor->Visible)
    HeadsEditor->WriteTo(*unit);
}

// [SECTION] Click operations of designed controls

namespace {

COperInfo* OperationOf(CInfo* form, const CStr& name) {
  for (std::int32_t i = 0; i < form->ChildCount().Value; ++i)
    if (IsA(form->Child(i), "COperInfo") && form->Child(i)->GetName() == name)
      return static_cast<COperInfo*>(form->Child(i));
  return nullptr;
}

}  // namespace

void CForm1::DesignedControlDoublePress(CControl* control) {
  CInfo* form = Current;
  if (!control || !form || !Designer || form->EditorWindow != Designer || Waiting) return;
  const std::string* linked = Designer->ClickOf(control);
  COperInfo* oper = linked ? OperationOf(form, CStr(std::string_view(*linked))) : nullptr;
  if (!oper) {
    if (control->GetName().View().empty()) control->SetName(Designer->FreeName(control->ClassName()));
    const CStr name = control->GetName() + "Click";
    oper = OperationOf(form, name);
    if (!oper) {
      oper = static_cast<COperInfo*>(CoreApp->ClassMan->CreateByName("COperInfo"));
      oper->SetName(name);
      oper->Type = "void";
      oper->Access = 2;  // public: the control's hook calls it from outside
      oper->AddParam("CControl*", "Sender");
      oper->UpdateText();
      form->Append(oper);
    }
    Designer->SetClick(control, name.ToStd());
  }
  Tree->Selected = oper;
  Tree->ShowElement(oper);
  RedrawTree();
  OnTreeSelect(Tree);
}

// The link is by name: it follows the operation's new one.
void CForm1::TunerCommitted(CObject* object, CStr property, CStr before) {
  auto* oper = dynamic_cast<COperInfo*>(object);
  if (!oper || property != "Name" || !oper->Parent) return;
  if (auto* designer = dynamic_cast<CDsgnForm*>(oper->Parent->EditorWindow))
    designer->RenameClicks(before.ToStd(), oper->GetName().ToStd());
}

// [SECTION] Windows of destroyed elements

void CForm1::Forget(CInfo* gone, bool keepRoot) {
  auto goes = [&](const CInfo* node) {
    return node && InSubtree(node, gone) && !(keepRoot && node == gone);
  };
  if (goes(Current)) {
    Current = nullptr;
    EmptyTuner();
  }
  if (goes(Tree->Selected)) Tree->Selected = nullptr;
  if (goes(Tree->CutElement)) {
    Tree->CutElement = nullptr;
    CutPending = 0;
  }
  // Links to an operation that leaves its class go with it: another may take its name later.
  if (!keepRoot && IsA(gone, "COperInfo") && gone->Parent)
    if (auto* designer = dynamic_cast<CDsgnForm*>(gone->Parent->EditorWindow))
      designer->RenameClicks(gone->GetName().ToStd(), "");
  auto below = [&](auto&& forget) {
    if (!keepRoot) return forget(gone);
    for (std::int32_t i = 0; i < gone->ChildCount().Value; ++i) forget(gone->Child(i));
  };
  below([this](CInfo* node) {
    DestroyWindowsBelow(node);
    BottomBox->Forget(node);
    if (Workshop) Workshop->Forget(node);
  });
}

// Letting go of the object alone would leave its rows on screen, showing an element that is gone.
void CForm1::EmptyTuner() {
  Tuner->ShowNothing();
}

void CForm1::DestroyWindowsBelow(CInfo* top) {
  std::vector<CInfo*> pending{top};
  while (!pending.empty()) {
    CInfo* node = pending.back();
    pending.pop_back();
    if (CObject* window = node->EditorWindow) {
      // The text of an editor whose operation goes is not written back anywhere.
      if (window == static_cast<CObject*>(CodeEditor)) CodeEditor = nullptr;
      if (window == static_cast<CObject*>(Designer)) Designer = nullptr;
      if (window == static_cast<CObject*>(HeadsEditor)) HeadsEditor = nullptr;
      // The tuner may be showing a control of this designer's surface, or its form.
      if (auto* designer = dynamic_cast<CDsgnForm*>(window); designer && Tuner->Shown) {
        if (Tuner->Shown == &designer->Form) EmptyTuner();
        for (auto* c = dynamic_cast<CControl*>(Tuner->Shown); c; c = c->Parent)
          if (c == designer) {
            EmptyTuner();
            break;
          }
      }
      node->EditorWindow = nullptr;
      delete window;
    }
    for (std::int32_t i = 0; i < node->ChildCount().Value; ++i) pending.push_back(node->Child(i));
  }
}

// [SECTION] About

void CForm1::AboutClick(CControl*) {
  delete AboutBox;  // an earlier one still open is replaced
  AboutBox = new CForm(this);
  AboutBox->SetBounds(250, 100, 300, 200, true);
  AboutBox->Caption->Title->Str = "О программе..."_cp;
  AboutBox->Caption->MinimizeButton->Visible = false;
  AboutBox->Caption->MaximizeButton->Visible = false;
  AboutBox->Caption->RestoreButton->Visible = false;
  auto* picture = new CPic(AboutBox->Client);
  picture->SetBounds(10, 10, 64, 64, true);
  picture->SetFileName(Home() + "\\Pics\\Other\\AboutPic64.bmp");
  auto* ok = new CButton(AboutBox->Client);
  ok->SetBounds(110, 140, 80, 24, true);
  ok->Caption->Str = "OK";
  ok->OnClick.Set(this, &CForm1::AboutOkClick);
  Invalidate();
}

// The button's click is the last thing its release does, so the window may go from here.
void CForm1::AboutOkClick(CControl*) {
  delete AboutBox;
  AboutBox = nullptr;
  Invalidate();
}
