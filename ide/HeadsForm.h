// The editor of a unit's head texts: what its header and its source hold before the classes and
// functions the tree has elements for (#include lines, macros, declarations), one text above the
// other. The main window makes one per unit, in its workspace, like the code editor of an
// operation, and writes the texts back into the unit when another tree row is pressed.
#pragma once

#include "widgets/Form.h"

class CMemo;
class CText;
class CUnitInfo;

class CHeadsForm : public CForm {
 public:
  explicit CHeadsForm(CControl* parent);

  // Splits the face between the two texts; called again once the window has its size.
  void LayOut();
  // The unit's texts into the editors.
  void ReadFrom(const CUnitInfo& unit);
  // The editors' texts into the unit, only when they changed: a free text the unit kept from
  // before stays as it was until it is edited here.
  void WriteTo(CUnitInfo& unit) const;

  CText* HeaderTitle = nullptr;
  CMemo* Header = nullptr;  // the header's head text
  CText* SourceTitle = nullptr;
  CMemo* Source = nullptr;  // the source's
};
