// The form designer window: a grey caption bar without buttons, a toolbar of twenty tools and,
// below it, the design surface (Map.h). The tools clear the surface, clone, delete, group and
// ungroup the selection, choose the colour that new controls get, and put a new control of one
// of fourteen kinds at the surface's top-left corner. Whenever the mouse is released on the
// surface, the first selected control is shown in the property tuner.
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

#include "widgets/Form.h"

class CColorForm;
class CMap;
class CText;
class CToolBar;
class CTunerTreeBox;
namespace design {
struct Line;
}

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

  // The surface's OnMouseUp: the tuner shows the first selected control, or none.
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
  // The name of the operation a control's click calls; none without one.
  const std::string* ClickOf(CControl* control) const;
  void SetClick(CControl* control, const std::string& operation);
  // Every link to the operation from goes to the operation to; to "" drops them.
  void RenameClicks(const std::string& from, const std::string& to);
  // The first name Kind<n> (the class name without its C) no control of the design has.
  CStr FreeName(const CStr& className);

  CColor CurrentColor;
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
  void ApplyFont(CText* text, const std::string& name, int height, const std::string& style);
  // Click links of controls that are gone go with them.
  void PruneClicks();

  std::map<CControl*, std::string> Clicks;
  std::vector<std::string> Unread;  // damaged lines of the design read last, kept as they were
};
