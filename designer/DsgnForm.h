// The form designer window: a grey caption bar without buttons, a toolbar of twenty tools and,
// below it, the design surface (Map.h). The tools clear the surface, clone, delete, group and
// ungroup the selection, choose the colour that new controls get, and put a new control of one
// of fourteen kinds at the surface's top-left corner. Whenever the mouse is released on the
// surface, the first selected control is shown in the property tuner, or, on the bare surface,
// the designed form itself: its title (shown in the designer's caption) and its size (the
// surface outside it is shaded).
//
// The design is kept as a text (model/Design.h) in its class element: WriteDesign makes that
// text from the surface, ReadDesign makes the surface again from it. New controls are named after
// their kind and the first free number (Button1, Label2).
//
//   auto* designer = new CDsgnForm(workspace);
//   designer->Tuner = tuner;   // not owned; may stay null
#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/Design.h"
#include "widgets/Form.h"

class CColorForm;
class CMap;
class CText;
class CToolBar;
class CTunerTreeBox;
namespace design {
struct Line;
struct Parsed;
}

class CDsgnForm;

// The designed form itself, as the tuner shows it: the built program's window title and inner
// size, kept in the design's form line.
class CDesignedForm : public CObject {
 public:
  CStr ClassName() const override;

  CStr Title;
  CInt Width = design::kDefaultFormWidth;
  CInt Height = design::kDefaultFormHeight;
  CDsgnForm* Designer = nullptr;  // not owned; shows every change
  // Read from a form line or changed in the tuner: then it is written even with no controls.
  bool Set = false;
};

class CDsgnForm : public CForm {
 public:
  explicit CDsgnForm(CControl* parent);

  CStr ClassName() const override;

  // The tool handlers, each called with the clicked toolbar button.
  void NewClick(CControl* sender);
  void CloneClick(CControl* sender);
  void DeleteClick(CControl* sender);
  void GroupClick(CControl* sender);
  void UnGroupClick(CControl* sender);
  void ColorClick(CControl* sender);
  // Tools 7 to 20: the kind is the button's number.
  void AddControlClick(CControl* sender);

  // The surface's OnMouseUp: the tuner shows the first selected control, or the form itself.
  void MapMouseUp(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  // The surface's OnKeyDown: Delete removes the selection as the Delete tool does; after an
  // arrow key has moved the selection the tuner shows it again.
  void MapKeyDown(CControl* sender, CInt key, CShiftStateSet shift);

  static constexpr int kKeyDelete = 83;

  // The design text of the surface; extra itself while the surface is empty and extra is not a
  // design (another tool's text is not replaced by an empty design).
  CStr WriteDesign(const CStr& extra);
  // Replaces the surface by the design in extra. A damaged line is skipped and kept, to be
  // written again; the answer is the report for the user ("" when all was read), naming owner.
  // The caller repaints: a design of many controls is painted once, when it shows.
  CStr ReadDesign(const CStr& extra, const CStr& owner);
  // A new control of a designed kind (or a group, "CControl") on parent, as the tool makes it;
  // none for another class.
  CControl* MakeKind(const CStr& className, CControl* parent);
  // The text a control shows (a text, a label's, edit's or button's caption, a form's title) and
  // the face that shows a panel's colour; none where the kind has none.
  static CText* TextOf(CControl* control);
  static CControl* FaceOf(CControl* control);
  // After the tuner changed the form: a damaged form line kept from the design goes, and the
  // form is shown.
  void FormTuned();
  // After a change of the form's title or size: the caption and the surface show it.
  void ShowForm();
  // The name of the operation a control's click calls; none without one.
  const std::string* ClickOf(CControl* control) const;
  void SetClick(CControl* control, const std::string& operation);
  // Every link to the operation from goes to the operation to; to "" drops them.
  void RenameClicks(const std::string& from, const std::string& to);
  // The first name Kind<n> (the class name without its C) no control of the design has.
  CStr FreeName(const CStr& className);

  CColor CurrentColor;
  CDesignedForm Form;  // what the form line keeps
  CMap* Map = nullptr;                // a child of the client face
  CTunerTreeBox* Tuner = nullptr;     // not owned; set by the main window
  CToolBar* ToolBar = nullptr;        // a child of the designer
  CColorForm* ColorDialog = nullptr;  // made on first use as a child of the designer's root

 private:
  // The tuner lets go of a control that is about to be destroyed, or of anything inside it.
  void ReleaseFromTuner(const std::vector<CControl*>& going);
  // The tuner shows the first selected control, or nothing at all.
  void ShowSelection();
  void WriteControl(CControl* control, int depth, std::string& out);
  void ApplyLine(CControl* control, const design::Line& line);
  // The form from the design's form line; without one, of the default size titled owner.
  void ReadForm(const design::Parsed& parsed, const CStr& owner);
  void ApplyFont(CText* text, const std::string& name, int height, const std::string& style);
  // Click links of controls that are gone go with them.
  void PruneClicks();

  std::map<CControl*, std::string> Clicks;
  std::vector<std::string> Unread;  // damaged lines of the design read last, kept as they were
};
