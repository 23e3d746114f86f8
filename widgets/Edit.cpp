#include "widgets/Edit.h"

#include "controls/CtrlApp.h"
#include "controls/KeyboardCursor.h"
#include "controls/Text.h"
#include "controls/View.h"
#include "graphics/Canvas.h"
#include "widgets/PanelTemplate.h"

namespace {

// Scan codes of the keys the edit handles.
constexpr std::int32_t kLeft = 75;
constexpr std::int32_t kRight = 77;
constexpr std::int32_t kEnd = 79;
constexpr std::int32_t kHome = 71;
constexpr std::int32_t kDelete = 83;

constexpr char kBackspace = 8;

CKeyboardCursor* Caret() {
  return CtrlApp ? CtrlApp->KeyboardCursor.get() : nullptr;
}

}  // namespace

CEdit::CEdit(CControl* parent) : CLabel(parent) {
  Caption->Str = "Edit1";
  CaretPos = 0;
  Caption->SetFontName("Text");
  Template->InitEdit();
  SetWidth(100);
  SetHeight(20);
  ReplaceOnType = true;
}

CStr CEdit::ClassName() const {
  return "CEdit";
}

CStr CEdit::GetText() const {
  return Caption->Str;
}
void CEdit::SetText(const CStr& text) {
  Caption->Str = text;
  SelLength = 0;
}

void CEdit::SelectAll() {
  SelStart = 0;
  SelLength = Caption->Str.Length();
  CaretPos = SelLength;
}

CStr CEdit::SelectedText() const {
  return Caption->Str.SubStr(SelStart, SelLength);
}

bool CEdit::DeleteSelection() {
  if (SelLength <= CInt(0)) return false;
  CStr& text = Caption->Str;
  // Whoever set the text directly may have shortened it under the selection.
  const CInt start = SelStart < text.Length() ? SelStart : text.Length();
  text = text.SubStr(0, start) + text.SubStr(start + SelLength, text.Length());
  CaretPos = start;
  SelLength = 0;
  return true;
}

CBool CEdit::CanFocus() {
  return true;
}

void CEdit::SetFocused(CBool focused) {
  CPanel::SetFocused(focused);
  CKeyboardCursor* caret = Caret();
  if (focused) {
    if (View) View->SetFocus(this, true, 500);
    ReplaceOnType = true;
    if (caret) caret->SetControl(this);
  } else {
    if (View) View->SetFocus(nullptr, false, 0);
    if (caret) caret->SetControl(nullptr);
    SelLength = 0;
  }
  Invalidate();
}

void CEdit::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  SelLength = 0;
  SetFocused(true);
  CLabel::MouseDown(button, shift, p);
}

void CEdit::KeyDown(CInt key, CShiftStateSet shift) {
  TabToNextPanel(key);
  CStr& text = Caption->Str;
  // A movement drops the selection and starts from the caret; Delete takes the selection alone.
  // Other keys keep it: a typed character's key-down comes before the character that replaces it.
  const bool moves =
      key.Value == kLeft || key.Value == kRight || key.Value == kEnd || key.Value == kHome;
  if (moves) SelLength = 0;
  const bool deletedSelection = key.Value == kDelete && DeleteSelection();
  switch (deletedSelection ? 0 : key.Value) {
    case kLeft:
      CaretPos = CaretPos - 1;
      break;
    case kRight:
      CaretPos = CaretPos + 1;
      break;
    case kEnd:
      CaretPos = text.Length();
      break;
    case kHome:
      CaretPos = 0;
      break;
    case kDelete:
      text = text.SubStr(0, CaretPos) + text.SubStr(CaretPos + 1, text.Length());
      break;
    default:
      break;
  }
  if (CaretPos < CInt(0)) CaretPos = 0;
  if (CaretPos > text.Length()) CaretPos = text.Length();
  ReplaceOnType = false;
  Invalidate();
  CCustomControl::KeyDown(key, shift);
}

void CEdit::KeyPress(CStr ch) {
  CStr& text = Caption->Str;
  // Only what edits the line may replace it: the Tab (or Enter, Escape) whose key-down moved the
  // focus here arrives as a character too, and must not wipe the text the user typed.
  const bool edits = ch == CStr(kBackspace) || ch >= " ";
  if (ReplaceOnType && edits) {
    text = "";
    CaretPos = 0;
    SelLength = 0;
  }
  // Backspace takes the selection alone; a character takes its place.
  const bool tookSelection = edits && DeleteSelection();
  if (ch == CStr(kBackspace) && !tookSelection && CaretPos > CInt(0)) {
    text = text.SubStr(0, CaretPos - 1) + text.SubStr(CaretPos, text.Length());
    CaretPos = CaretPos - 1;
  } else if (ch >= " ") {
    text = text.SubStr(0, CaretPos) + ch + text.SubStr(CaretPos, text.Length());
    CaretPos = CaretPos + 1;
  }
  Invalidate();
  CCustomControl::KeyPress(ch);
}

void CEdit::KeyUp(CInt key, CShiftStateSet shift) {
  CCustomControl::KeyUp(key, shift);
}

// The caret stands one unit after the text before it (the text starts 3 units into the face),
// 2 units below the face's top, as tall as the font's line.
void CEdit::Paint(const CRect& clip) {
  CLabel::Paint(clip);
  CKeyboardCursor* caret = Caret();
  CCanvas* canvas = GetCanvas();
  const bool caretShown = caret && caret->Phase && caret->GetControl() == this;
  if (!canvas || (!caretShown && SelLength <= CInt(0))) return;
  const CRect saved = canvas->GetClipRect();
  const CRect face = Client->GetAbsRect();
  canvas->SetClipRect(ClipTo(clip, face));
  canvas->SetOrigin(face.M1);
  canvas->SelectFont(Caption->FontNumber);
  PaintSelection(*canvas);
  if (!caretShown) {
    canvas->SetClipRect(saved);
    return;
  }
  const CStr before = Caption->Str.SubStr(0, CaretPos);
  CSize size = canvas->GetTextExtent(before.Length() > CInt(0) ? before : CStr("A"));
  if (before.Length() == CInt(0)) size.Width = 0;
  caret->SetBounds(size.Width + CFloat(4), 2, 0, size.Height, true);
  caret->Paint();
  canvas->SetClipRect(saved);
}

// Drawn over the caption: the selected characters again, white on the tree's selection blue.
void CEdit::PaintSelection(CCanvas& canvas) {
  const CStr& text = Caption->Str;
  if (SelLength <= CInt(0) || SelStart >= text.Length()) return;
  const CStr before = text.SubStr(0, SelStart);
  const CStr selected = SelectedText();
  const CFloat x =
      Caption->M1.X + (before.Length() > CInt(0) ? canvas.GetTextExtent(before).Width : CFloat(0));
  const CSize size = canvas.GetTextExtent(selected);
  const CFloat y = Caption->M1.Y;
  canvas.SetColor(CColor(0, 0, 1));
  canvas.FillRect(CRect(x, y, x + size.Width - CFloat(1), y + size.Height - CFloat(1)));
  canvas.SetColor(CColor(1, 1, 1));
  canvas.DrawText(CPoint(x, y), selected);
}
