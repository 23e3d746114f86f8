// The multi-line text editor: a list of lines and one caret (a line and a column), typed
// characters, line breaks and joins, caret keys and presses, a selection (Shift with the caret
// keys, a drag, a double press for a word, a triple press for a line), the desktop's clipboard,
// undo and redo of every change, and indentation (Enter keeps it, Tab adds two spaces, Tab and
// Shift+Tab indent and unindent the lines of a selection). A code editor turns on line numbers
// and C++ colours. The lines are painted on the box's face in the font registered as "Text":
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

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/List.h"
#include "widgets/Box.h"
#include "widgets/LongLine.h"

class CCanvas;

class CMemo : public CScrollBox {
 public:
  // A place in the text: before the byte `column` of line `line`.
  struct TextPos {
    std::int32_t line = 0, column = 0;
    auto operator<=>(const TextPos&) const = default;
  };

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

  // The selection runs between the anchor and the caret; there is none while they meet or no
  // anchor is set. Keys and presses without Shift drop the anchor.
  bool HasSelection() const;
  // The selection's two ends in text order (both the caret when there is none).
  void GetSelection(TextPos& from, TextPos& to) const;
  CStr SelectedText() const;
  // The anchor at `anchor` and the caret at `caret`, both clamped into the text.
  void Select(TextPos anchor, TextPos caret);
  void SelectAll();

  // The text between two places, lines joined by "\r\n".
  CStr TextBetween(TextPos from, TextPos to) const;
  // Puts text (line feeds, with or without carriage returns, break lines; tabs become two
  // spaces; other codes below 32 are dropped) in place of the selection, as typing does: one
  // step of undo, the caret after it.
  void ReplaceSelection(const CStr& text);

  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

  // Each change of the text is one step, and typed characters of one word are one step together.
  // Both answer false when there is nothing to undo or redo.
  bool Undo();
  bool Redo();

  // Selects the next place after the caret that holds `text`, wrapping round at the end; false
  // when the text holds it nowhere.
  bool FindNext(const CStr& text);
  // The caret to the start of line `number` (from 1), clamped into the text.
  void GoToLine(std::int32_t number);

  // The x where the caret before byte `column` of line `line` stands, from the text's left edge,
  // in the canvas's current font. Lines longer than kLongLine are measured by their characters'
  // widths, kept from frame to frame, so that a key on them costs what a screenful costs.
  CFloat ColumnX(CCanvas& canvas, std::int32_t line, std::int32_t column);
  static constexpr std::int32_t kLongLine = 1000;

  bool Gutter = false;      // line numbers at the left
  bool CppColours = false;  // C++ colours in place of the plain text colour
  // Keys that the editor leaves to its window (Ctrl+F, Ctrl+G, F3) go to this hook.
  CKeyHook OnCommandKey;

  void MouseDown(CInt button, CShiftStateSet shift, CPoint p) override;
  // Inserts a character of code 32 and above (bytes 128 to 255 included) at the caret.
  void KeyPress(CStr ch) override;
  // The caret keys, Backspace, Delete and Enter by scan code, then the caret is clamped. Tab and
  // every other key only clamp; the key hooks are not called.
  void KeyDown(CInt key, CShiftStateSet shift) override;
  void KeyUp(CInt key, CShiftStateSet shift) override;
  // A drag from a press selects from the press to the pointer.
  void MouseMove(CShiftStateSet shift, CPoint p) override;
  void MouseUp(CInt button, CShiftStateSet shift, CPoint p) override;
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
  struct Change {
    TextPos from;
    std::string removed, inserted;  // lines joined by '\n'
    TextPos caretBefore, caretAfter;
    bool typing = false;  // a typed character, which later ones of its word may join
  };
  // The one way the text changes: the bytes between from and to give way to text (lines joined
  // by '\n'); answers the end of the new text. Recorded for undo unless `record` is false.
  TextPos Replace(TextPos from, TextPos to, std::string_view text, bool typing = false,
                  bool record = true);
  void ReplaceLines(std::int32_t first, std::int32_t count, const std::vector<std::string>& lines);
  TextPos Caret() const;
  void SetCaret(TextPos p);
  TextPos EndOf(TextPos from, std::string_view text) const;
  bool DeleteSelection();
  void IndentSelection(bool out);
  void MoveCaret(CInt key, bool ctrl);
  bool CommandKey(CInt key, const CShiftStateSet& shift);
  void InsertTyped(const CStr& ch);
  // Which lines' start states are known, and the state at the start of line `index`.
  std::uint8_t StateAt(std::int32_t index);
  std::int32_t TextLeft();

  // An owner may have emptied Lines or moved the caret: one empty line at least, and the caret
  // clamped in the order KeyDown clamps it.
  void KeepCaretInText();
  // The height of every line in the canvas's current font, measured once per font.
  CFloat LineHeight(CCanvas& canvas);
  CFloat TextWidth(CCanvas& canvas, const CStr& text);
  // A whole line's width, remembered by its text until the font changes.
  CFloat LineWidth(CCanvas& canvas, std::int32_t index);
  CFloat XOf(CCanvas& canvas, std::int32_t index, std::int32_t column);
  CPoint CaretPlace(CInt column, CInt line);
  // What is kept of a line longer than kLongLine, brought up to its text once per look.
  CLongLine& Long(std::int32_t index);
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

  void PaintLine(CCanvas& canvas, std::int32_t index, const CFloat& y, const CFloat& left,
                 const CFloat& faceWidth, const TextPos& selFrom, const TextPos& selTo);
  void PaintGutter(CCanvas& canvas, std::int32_t first, std::int32_t last, const CFloat& h);
  void MeasureAdvances(CCanvas& canvas);

  std::optional<TextPos> anchor_;
  std::vector<Change> undo_, redo_;
  std::vector<std::uint8_t> states_;  // the C++ state at the start of each line known so far
  int presses_ = 0;                   // 1, 2 or 3: a single, double or triple press
  std::int64_t lastPressAt_ = -1000;
  CPoint lastPressPoint_;
  TextPos lastPressPos_;
  bool dragging_ = false;
  bool swallowChar_ = false;  // the character of a key the editor took as a command
  std::int32_t advances_[256] = {};
  const void* measuredFont_ = nullptr;
  CFloat lineHeight_;
  std::unordered_map<std::string, CFloat> widths_;
  // Long lines by their string, whose text is compared again after each new look: the lines are
  // the owner's too, and it may change them between any two calls.
  std::unordered_map<const CStr*, CLongLine> longLines_;
  std::uint64_t looks_ = 0;
  bool followCaret_ = true;
  Bar vert_{}, horz_{};
};
