// The property tuner: a two-column tree of the properties of one object, read and written
// through the class registry. The left column shows "Name : Type", the right one the value;
// composite values (points, rectangles, colours, anchors, fonts) expand into their own
// properties. Selecting a row opens an edit over its value; Enter writes the typed text into the
// object, walking up through the composite rows, and reads every value back.
//
//   auto* tuner = new CTunerTreeBox(pane);
//   tuner->ShowObject(control);   // lists the control's properties, base classes first
//   tuner->ShowObject(nullptr);   // before the object dies: nothing can be written any more
//
// The tuner knows nothing of the classes it shows; a class the registry lacks shows no rows.
#pragma once

#include <memory>

#include "widgets/TreeBox.h"

class CEdit;
class CLabel;
class CPanel;
class CPropInfo;

class CTunerTreeBox : public CCustomTreeBox {
 public:
  // The data of one row: the property and a copy of its value.
  class CPropData : public CObject {
   public:
    // Value = a new object of that class from the registry; none for an unknown class.
    virtual void CreateValue(const CStr& typeName);
    // The value column's text; empty without a value.
    virtual CStr ValueText() const;

    CPropInfo* Prop = nullptr;       // not owned
    std::unique_ptr<CObject> Value;  // none when the property has no getter
  };

  explicit CTunerTreeBox(CControl* parent);
  ~CTunerTreeBox() override;

  CStr ClassName() const override;
  void Paint(const CRect& clip) override;
  void DrawItem(CItem* item) override;
  // Collapsing a row selects it: its value then shows in the edit.
  void ToggleExpand(CItem* item) override;

  virtual void StartDrag(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  virtual void Drag(CControl* sender, CShiftStateSet shift, CPoint p);
  virtual void EndDrag(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  virtual void AddSubProperties(CPropInfo* prop, CItem* parent);
  virtual void ShowObject(CObject* object);
  // No object, no rows, no edit: for when the object shown is gone and nothing replaces it.
  void ShowNothing();

  // The data of a row; none for a row without it.
  static CPropData* DataOf(const CItem* item);

  CBool Dragging;
  CFloat DragStartX;
  CFloat DividerX = 50;       // between the name column and the value column, client coordinates
  CObject* Shown = nullptr;   // not owned
  CEdit* Editor = nullptr;    // a child, made on the first selection
  // Under the edit while it holds a refused text: why it was refused. Made on the first refusal.
  CLabel* Refusal = nullptr;
  // After every value taken: the object shown, the top-level property written and its value's
  // text before.
  CHandler<CObject*, CStr, CStr> OnCommitted;
  CPanel* Divider = nullptr;  // a child, 5 wide, over the full height

 protected:
  void PlaceParts(std::int32_t firstRow) override;
  void PaintChildren(const CRect& clip) override;

 private:
  void RowSelected(CControl* sender, CItem* item);
  void EditorKeyPress(CControl* sender, CStr ch);
  // Hides the edit; a new list has no selected row for it.
  void CloseEditor();
  // Writes the editor's text into the selected row's property and on up. Answers why nothing
  // could be written (the object is then untouched), "" when it was.
  CStr Commit();
  void ShowRefusal(const CStr& why);
  void Reread(const CItem* row);
  void HideRefusal();
  // The rows of one class chain, starting at className, reading values from owner.
  void AddClassChain(const CStr& className, CObject* owner, CItem* parent);
  // The editor over row r of the view (client coordinates).
  void PlaceEditor(std::int32_t r);
  void PlaceDivider();
  // Moves the divider while it is dragged, never so far that a column is lost.
  void MoveDivider(const CFloat& by);
};
