// A form: a window drawn by the toolkit itself. A framed panel with a caption bar (icon, title,
// minimize, maximize or restore, and close buttons), eight sizing grips on its border and a
// client area for its content. The user moves it by its caption and resizes it by its border;
// while dragging only a dotted outline is drawn, straight on the window, and the form jumps to
// the outline when the mouse is released.
//
// A form without a parent is a window of its own; the first form built is the application's main
// form, whose closing ends the program. A form with a parent lives inside the parent's area.
//
//   auto* form = new CForm(nullptr);
//   form->SetBounds(100, 100, 400, 300, true);
//   form->Caption->Title->Str = "Настройки"_cp;
//   auto* ok = new CButton(form->Client);   // content goes on the client face
#pragma once

#include <array>
#include <optional>

#include "controls/Shapes.h"
#include "graphics/Bitmap.h"
#include "widgets/Panel.h"

class CPic;
class CPicButton;
class CText;

class CFormCaption : public CFillRectangle {
 public:
  // The dark blue bar of the given form with its icon, title and buttons, laid out on the bar's
  // first 100 units; the buttons keep their distance to the bar's right edge.
  explicit CFormCaption(CControl* form);

  CStr ClassName() const override;

  // true: the maximize button shows, the restore button hides; false: the other way round.
  void ShowMaximize(CBool maximize);

  CPic* Icon = nullptr;
  CText* Title = nullptr;
  CPicButton* MinimizeButton = nullptr;
  CPicButton* MaximizeButton = nullptr;
  CPicButton* RestoreButton = nullptr;
  CPicButton* CloseButton = nullptr;
};

class CForm : public CPanel {
 public:
  explicit CForm(CControl* parent);
  ~CForm() override;

  CStr ClassName() const override;
  // The panel's record only.
  void WriteTo(CStream& stream) override;
  void ReadFrom(CStream& stream) override;
  // The panel's painting. A form without a parent first makes its platform window follow it:
  // shown or hidden with Visible, titled with the caption's title (the task bar names it so).
  void Paint(const CRect& clip) override;

  // Moving by the caption bar (left button only).
  virtual void CaptionMouseDown(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  virtual void CaptionMouseMove(CControl* sender, CShiftStateSet shift, CPoint p);
  virtual void CaptionMouseUp(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  virtual void Moved(CControl* sender);
  // Resizing by a grip (left button only, while Sizable).
  virtual void GripMouseDown(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  virtual void GripMouseMove(CControl* sender, CShiftStateSet shift, CPoint p);
  virtual void GripMouseUp(CControl* sender, CInt button, CShiftStateSet shift, CPoint p);
  virtual void Resized(CControl* sender);
  // The caption's buttons.
  virtual void Minimize(CControl* sender);
  virtual void Maximize(CControl* sender);
  virtual void Restore(CControl* sender);
  virtual void CloseClick(CControl* sender);
  // A form with a parent hides; one without is closed by the application (the main form ends it).
  virtual void Close();

  enum GripIndex { Left, Top, Right, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

  CBool Moving;
  CBool Resizing;
  CPoint DragStart;   // the mouse when the drag began, in the pressed control's coordinates
  CPoint DragOrigin;  // the form's top-left corner when the drag began
  CRect Outline;      // in the parent's coordinates (the screen's for a form without a parent)
  CRect RestoreRect;  // the rectangle before Maximize
  // The window's pixels under the outline's left, top, right and bottom sides.
  std::array<CGDIBitmap, 4> SaveUnder;
  std::array<CControl*, 8> Grips{};
  CFormCaption* Caption = nullptr;
  bool Sizable = true;
  CNotifyHook OnResized;
  CNotifyHook OnMoved;

 private:
  // The outline is drawn on the window itself, not in the buffer the view paints into.
  void SaveUnderOutline();
  void DrawOutline();
  void RestoreUnderOutline();
  template <class Step>
  void OnWindow(Step step);
  // Where the outline's coordinates start on the window.
  CPoint OutlineOrigin();
  CRect Side(int index) const;
  // A repaint during a drag covered the outline: save the fresh pixels and draw it again.
  void OutlineCovered(CView* view);
  // Keeps the outline through repaints from the press to the release.
  void WatchRepaints(bool on);
  bool OutlineShown = false;
  CInt CursorAt(CPoint p);
  // What the platform window was last told; the canvas shows the window when it makes it.
  bool WindowShown = true;
  std::optional<CStr> WindowTitle;
  // Cuts the outline r that the grip drags to the smallest size a form may be dragged to.
  void KeepMinimumSize(int grip, CRect& r);
};
