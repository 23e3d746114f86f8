// Two scrollable tree views drawn by the toolkit: CCustomTreeBox over its own items (the tuner
// builds on it) and CInfoTreeBox over the project tree, whose rows are the model elements.
// Both lay rows out alike, in pixels of the box's client face: row r of the view spans
// y = 16r .. 16r + 16, an item at depth d starts at x = 16d, a box with a minus or plus sign
// stands in front of every row that has children, and the vertical bar counts rows.
//
//   auto* tree = new CCustomTreeBox(form->Client);
//   auto* item = new CCustomTreeBox::CItem(nullptr);
//   item->Caption = "Корень"_cp;
//   tree->RootItems.Add(item);
//   tree->OnSelect.Set(this, &CMyForm::Picked);  // void Picked(CControl*, CCustomTreeBox::CItem*)
//
// A paint walks only to the rows that show: it counts the rows once for the bar, remembering on
// the way where the view begins, and stops drawing after the last row that fits.
#pragma once

#include "core/List.h"
#include "widgets/Box.h"
#include "widgets/TreeRows.h"

class CGDIBitmap;
class CInfo;

bool IsExpanded(const CInfo& element);

class CCustomTreeBox : public CScrollBox {
 public:
  class CItem : public CObject {
   public:
    explicit CItem(CItem* owner);
    ~CItem() override;  // destroys the children and the attached data

    virtual CInt Count() const;
    virtual void Add(CItem* child);  // owned from now on; its Owner becomes this item
    virtual CItem* Get(const CInt& index) const;

    CList Children;  // of CItem, owned
    CStr Caption;
    CItem* Owner = nullptr;   // the parent item; none for a root
    CObject* Data = nullptr;  // attached by the user of the tree; destroyed with the item
    std::int32_t Flags = 1;   // bit 0 expanded, bit 1 flipped by a Ctrl+click
  };

  using CSelectHook = CHandler<CControl*, CItem*>;

  explicit CCustomTreeBox(CControl* parent);
  ~CCustomTreeBox() override;

  CStr ClassName() const override;
  // Presses anywhere on the client face come here, in the box's coordinates.
  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;
  void Paint(const CRect& clip) override;

  virtual void ToggleExpand(CItem* item);
  virtual void SelectItem(CItem* item, CBool toggle);
  // Whether a press (client coordinates) is on the item's row, the row and depth counters
  // telling where the item stands; a press on its box expands or collapses it, elsewhere on the
  // row selects it. TreeMouseDown walks to the row under the press.
  virtual CBool HitTestItem(CItem* item, CShiftStateSet shift, CInt x, CInt y);
  virtual void TreeMouseDown(CShiftStateSet shift, CInt x, CInt y);
  virtual void DrawExpandBox(CInt x, CInt y, CBool expanded);
  // One row, at the row and depth counters; Paint walks the rows that show.
  virtual void DrawItem(CItem* item);

  CInt VisibleCount(const CItem* item) const;
  CInt TotalRows() const;
  // The box remembers where its view begins between paints and notices when items are added or
  // removed; whoever expands or collapses items by their Flags tells it here.
  void RowsChanged();

  CList RootItems;  // of CItem, owned
  CItem* Selected = nullptr;
  CSelectHook OnSelect;

 protected:
  // The first row of the view: the bar's position, rounded down, never above the first row.
  std::int32_t FirstRow() const;
  // Rows that fit the client face, the last one possibly cut.
  std::int32_t RowsInView() const;
  // Called by Paint after the bar is set and before anything is drawn, with the first row of
  // the view: a subclass places its child controls for this paint here.
  virtual void PlaceParts(std::int32_t firstRow);

  std::int32_t Row = 0;    // row of the item being drawn or hit-tested, from the view's top
  std::int32_t Depth = 0;  // its nesting level

 private:
  void ClientMouseDown(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);

  CRowCache<CItem> Rows;
};

bool IsExpanded(const CCustomTreeBox::CItem& item);

class CInfoTreeBox : public CScrollBox {
 public:
  // The pictures of the kinds, by icon index, below the home directory.
  static constexpr int kIconCount = 16;
  static const char* const kIconFiles[kIconCount];

  explicit CInfoTreeBox(CControl* parent);
  ~CInfoTreeBox() override;

  CStr ClassName() const override;
  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;
  void MouseMove(CShiftStateSet shift, CPoint p) override;
  void MouseUp(CInt button, CShiftStateSet shift, CPoint p) override;
  void Paint(const CRect& clip) override;

  // The roots are the top-level elements of the project tree.
  const CList& Roots() const;

  void ToggleExpand(CInfo* element);
  void SelectItem(CInfo* element, CBool toggle);
  CBool HitTestItem(CInfo* element, CShiftStateSet shift, CInt x, CInt y);
  void TreeMouseDown(CShiftStateSet shift, CInt x, CInt y);
  void DrawExpandBox(CInt x, CInt y, CBool expanded);
  void DrawNode(CInfo* element);
  // The picture of an element class, with the access of attributes and operations; -1 for none.
  static CInt GetIconIndex(const CStr& className, const CInt& access);
  CInt IconOf(CInfo* element) const;

  CInt VisibleCount(const CInfo* element) const;
  CInt TotalRows() const;
  // As for the custom box: whoever changes TreeFlags of elements tells the box here.
  void RowsChanged();
  // Expands the element's ancestors and scrolls the least that brings its row into the view.
  void ShowElement(CInfo* element);

  // Loads the sixteen pictures from the home directory into Icons; a missing file leaves an empty
  // picture in its place.
  void LoadIcons(const CStr& homeDir);

  CInfo* Selected = nullptr;    // not owned; whoever destroys it clears it
  CInfo* CutElement = nullptr;  // the main window's mark for Cut
  CNotifyHook OnSelect;         // after every press that hit a row; read Selected
  CList Icons;                  // of CGDIBitmap, owned

 private:
  std::int32_t FirstRow() const;
  std::int32_t RowsInView() const;
  void ClientMouseDown(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  void ClientMouseMove(CControl* sender, CShiftStateSet shift, CPoint p);
  void ClientMouseUp(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);

  std::int32_t Row = 0;
  std::int32_t Depth = 0;
  CRowCache<CInfo> Rows;
};
