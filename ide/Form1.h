// The main window of the environment: a toolbar of commands over the project tree, the property
// tuner and a workspace in which the code editor of the selected operation or the designer of the
// selected form class appears. Every command acts on the element selected in the tree.
//
// Nothing the window keeps may outlive its element: whenever elements are destroyed (Delete, New,
// Open, a moved cut element, a failed import), the selection, the element last shown, the cut mark
// and the tuner let go of them, and their editor and designer windows are destroyed with them.
#pragma once

#include <memory>

#include "storage/Stream.h"
#include "widgets/Form.h"
#include "widgets/TreeBox.h"

class CBox;
class CConfigLoad;
class COutputBox;
class CText;
class CWorkshop;
class CDsgnForm;
class CEditForm;
class CHeadsForm;
class CInfo;
class CScrollBox;
class CSelItemForm;
class CSplitter;
class CToolBar;
class CTunerTreeBox;

class CForm1 : public CForm {
 public:
  // Builds the window and loads the projects of the last Save; a damaged file is reported in a
  // box and leaves the tree empty. The load runs while the window is built.
  explicit CForm1(CControl* parent);
  ~CForm1() override;

  CStr ClassName() const override;

  // Every toolbar button: the command of the button's number, unless one is waiting for an answer.
  void CommandClick(CControl* sender);
  bool ColourDialogWaits();
  // The toolbar's commands, by their numbers 1 to 18 (there is no 7).
  void NewClick(CControl* sender);
  void OpenClick(CControl* sender);
  void SaveClick(CControl* sender);
  void AddClick(CControl* sender);
  void SubAddClick(CControl* sender);
  void DeleteClick(CControl* sender);
  void UpClick(CControl* sender);
  void DownClick(CControl* sender);
  void CutClick(CControl* sender);
  void CopyClick(CControl* sender);
  void PasteClick(CControl* sender);
  void SubPasteClick(CControl* sender);
  void ImportClick(CControl* sender);
  void ClearClick(CControl* sender);
  void BuildClick(CControl* sender);
  void RunClick(CControl* sender);
  void AboutClick(CControl* sender);

  // Asks the add dialog for a kind the parent may hold and appends a new element of it.
  void AddElement(CInfo* parent);
  // Appends a copy of the clipboard's element to the target; a pending cut moves it instead.
  void PasteInto(CInfo* target);
  // Empties the code of every operation at or below the element.
  void ClearCode(CInfo* element);
  // After every press on a tree row: writes the shown editor back, then shows the properties of
  // the selection and its editor or designer.
  void OnTreeSelect(CControl* sender);
  void AboutOkClick(CControl* sender);
  // A double press on a designed control: its click operation, found or made in the designed
  // class (<control name>Click, empty) and linked to it, is selected and its code editor opens.
  void DesignedControlDoublePress(CControl* control);
  // A commit in the tuner: a renamed operation takes its designs' click links along.
  void TunerCommitted(CObject* object, CStr property, CStr before);
  // The window's keys, seen before the control with the keyboard: Ctrl+S, Ctrl+N, Ctrl+O, F9,
  // Ctrl+F9 and F1 always; Insert unless text is being edited; Delete, Ctrl+X, Ctrl+C, Ctrl+V
  // and the tree's movement keys while the tree has the keyboard. True for a key it took.
  bool EnvironmentKey(CInt key, CShiftStateSet shift);

  // A press on a row of the list under the workspace: an error or a warning of the compiler
  // selects the element its line was written from and puts the caret on that line of its code.
  void OutputSelect(CControl* sender, CCustomTreeBox::CItem* item);
  // The element selected as by a press on its row, its editor's caret on the 0-based line of its
  // code (-1: where it was).
  void ShowPlace(CInfo* element, int codeLine);

  CInfo* Current = nullptr;
  CInt CutPending;
  CInfoTreeBox* Tree = nullptr;
  CTunerTreeBox* Tuner = nullptr;
  std::unique_ptr<CMemory> Clipboard;
  CStr ClipClass;
  CEditForm* CodeEditor = nullptr;
  CDsgnForm* Designer = nullptr;
  CHeadsForm* HeadsEditor = nullptr;  // the shown editor of a unit's head texts, or null
  CSplitter* MainSplit = nullptr;
  CSplitter* LeftSplit = nullptr;
  CSplitter* RightSplit = nullptr;
  CForm* AboutBox = nullptr;
  // Made on first use: the first frame does not show it, and the start need not wait for it.
  CSelItemForm* AddDialog();

  bool Waiting = false;  // a command waits for the add dialog or a question
  CToolBar* ToolBar = nullptr;
  CBox* StatusBox = nullptr;
  CControl* Workspace = nullptr;  // the pane that editors and designers cover
  COutputBox* BottomBox = nullptr;  // the compiler's and the program's lines
  CText* StatusText = nullptr;      // in the status box: what Build and Run are doing
  std::unique_ptr<CWorkshop> Workshop;

 private:
  friend class CWorkshop;
  void BuildToolBar();
  void BuildPanes();
  // The question of a command; true only for Yes.
  bool Confirm(const char* question);
  // The element the commands act on: the tree's selection, or null.
  CInfo* Selected() const;
  void RedrawTree();
  // The tree's selection moved by a key: Up, Down, Home, End, PgUp, PgDn; Left and Right
  // collapse and expand.
  void MoveTreeSelection(int key);
  // The shown code editor's text into its operation, or the shown head texts into their unit.
  void WriteBackEditor();
  // The design of every designer made for a class at or below top into its class's Extra.
  void WriteDesigns(CInfo* top);
  // Lets go of everything that points into the subtree of gone (gone included) before it is
  // destroyed or taken out of the tree; with keepRoot, gone itself stays (its children go).
  void Forget(CInfo* gone, bool keepRoot = false);
  void DestroyWindowsBelow(CInfo* node);
  void EmptyTuner();
  // Shows a report's text in a box that fits it, as at start-up.
  void Report(const CStr& text);

  CSelItemForm* addDialog_ = nullptr;
  // The file the last load refused or read in part could not be copied aside: Save makes the
  // copy first, and writes nothing over the file without it.
  bool keepBeforeSave_ = false;
};
