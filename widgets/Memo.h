// The multi-line plain-text editor: a list of lines and one caret (a line and a column), typed
// characters, line breaks and joins, caret keys and presses. No selection, clipboard, undo or tab
// stops. The lines are painted on the box's face in the font registered as "Text":
//
//   auto* memo = new CMemo(form->Client);
//   memo->SetBounds(10, 10, 300, 200, true);
//   memo->SetText("int main()\r\n{\r\n}\r\n");
//   ... memo->GetText() gives each line followed by "\r\n"
//
// There is always at least one line, and the caret stays inside the text. When the lines do not
// fit the face, the box's bars scroll the text: the vertical one by lines (range the number of
// lines, page the lines that fit), the horizontal one by units (range the widest line in view);
// the view follows the caret whenever a key or a press moves it. Text that fits never scrolls.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "core/List.h"
#include "widgets/Box.h"

class CCanvas;

class CMemo : public CScrollBox {
 public:
  // Starts with the lines "qwerty", "asd" and "zxc" and the caret before the q.
  explicit CMemo(CControl* parent);
  ~CMemo() override;

  CStr ClassName() const override;

  // The lines in order, each followed by "\r\n".
  CStr GetText() const;
  // A line feed ends a line (a carriage return before it is dropped with every other code below
  // 32); a text that ends with a line feed gives no empty last line. A text that yields no line
  // leaves one empty line. The caret is kept inside the new text; nothing is repainted.
  void SetText(const CStr& text);
  // The caret position that a press at p (the memo's own coordinates) selects: the line under
  // p, or the last one; before or after the character whose half p is over, counting from 2
  // units into the memo; the end of the line right of the text or left of those 2 units.
  void CaretFromPoint(CPoint p, CInt& column, CInt& line);
  // Where the caret for that position is drawn, relative to the face's top-left corner, in the
  // font of the lines.
  CPoint CaretPoint(CInt column, CInt line);
  // The first line in view and how far the text is moved left, from the bars; both 0 while the
  // text fits the face.
  CInt TopLine();
  CFloat LeftShift();

  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;
  // Inserts a character of code 32 and above (bytes 128 to 255 included) at the caret.
  void KeyPress(CStr ch) override;
  // The caret keys, Backspace, Delete and Enter by scan code, then the caret is clamped. Tab and
  // every other key only clamp; the key hooks are not called.
  void KeyDown(CInt key, CShiftStateSet shift) override;
  void KeyUp(CInt key, CShiftStateSet shift) override;
  // The focus timer's tick repaints, so the blinking caret is seen.
  void TimerTick() override;
  void Paint(const CRect& clip) override;
  // Takes the view's focus with a 500 ms tick and the keyboard cursor, or gives both up.
  CBool CanFocus() override;
  void SetFocused(CBool focused) override;

  CInt CaretColumn;                 // characters of the caret's line left of the caret
  CInt CaretLine;                   // index in Lines
  std::unique_ptr<CStrList> Lines;  // the text, one CStr a line, without line breaks

 private:
  // An owner may have emptied Lines or moved the caret: one empty line at least, and the caret
  // clamped in the order KeyDown clamps it.
  void KeepCaretInText();
  // The height of every line in the canvas's current font, measured once per font.
  CFloat LineHeight(CCanvas& canvas);
  CFloat TextWidth(CCanvas& canvas, const CStr& text);
  // A whole line's width, remembered by its text until the font changes.
  CFloat LineWidth(CCanvas& canvas, const CStr& line);
  // CaretFromPoint in the canvas's current font.
  void FindCaret(CCanvas& canvas, CPoint p, CInt& column, CInt& line);

  // Whole lines that fit the face (at least one).
  std::int32_t LinesThatFit(const CFloat& h);
  // Before the bars are painted: the view follows the caret if a key, a press or SetText moved
  // it, and the bars get the ranges of the text (lines down, units across). A bar whose text
  // fits gets back the values it was made with, so a memo whose text fits is untouched by all of
  // this.
  void ScrollToText(CCanvas& canvas);
  struct BarValues {
    CFloat min, max, page, step, position;
  };
  struct Bar {
    CScrollBar* bar;
    CFloat* scrolled;  // the box's record of the bar's position
    BarValues made;    // what the box made the bar with
    bool set = false;  // the memo has given it the text's range
  };
  static BarValues ValuesOf(const CScrollBar& bar);
  static void Apply(Bar& bar, const BarValues& values);
  void SetBar(Bar& bar, bool fits, const BarValues& values);

  const void* measuredFont_ = nullptr;
  CFloat lineHeight_;
  std::unordered_map<std::string, CFloat> widths_;
  bool followCaret_ = true;
  Bar vert_{}, horz_{};
};
