// The form designer window: a grey caption bar without buttons, a toolbar of twenty tools and,
// below it, the design surface (Map.h). The tools clear the surface, clone, delete, group and
// ungroup the selection, choose the colour that new controls get, and put a new control of one
// of fourteen kinds at the surface's top-left corner. Whenever the mouse is released on the
// surface, the first selected control is shown in the property tuner.
//
// A design lives only in memory, as the controls on the surface; nothing of it is saved.
//
//   auto* designer = new CDsgnForm(workspace);
//   designer->Tuner = tuner;   // not owned; may stay null
#pragma once

#include <vector>

#include "widgets/Form.h"

class CColorForm;
class CMap;
class CToolBar;
class CTunerTreeBox;

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
};
