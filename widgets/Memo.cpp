#include "widgets/Memo.h"

#include <algorithm>

#include "controls/CtrlApp.h"
#include "controls/KeyboardCursor.h"
#include "controls/View.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "widgets/ScrollBar.h"

namespace {

CKeyboardCursor* Caret() {
  return CtrlApp ? CtrlApp->KeyboardCursor.get() : nullptr;
}

CStr LineAt(const CMemo& memo, const CInt& index) {
  return memo.Lines->GetString(index);
}

// Without a copy, for painting; the index must lie within the lines.
const CStr& LineRef(const CMemo& memo, std::int32_t index) {
  return *memo.Lines->GetAs<CStr>(index);
}

// More remembered line widths than this start the memory afresh.
constexpr size_t kRememberedWidths = 4096;

// [SECTION] The keys

void Left(CMemo& m) {
  m.CaretColumn = m.CaretColumn - 1;
}
void Right(CMemo& m) {
  m.CaretColumn = m.CaretColumn + 1;
}
void Up(CMemo& m) {
  m.CaretLine = m.CaretLine - 1;
}
void Down(CMemo& m) {
  m.CaretLine = m.CaretLine + 1;
}
void PageUp(CMemo& m) {
  m.CaretLine = m.CaretLine - 10;
}
void PageDown(CMemo& m) {
  m.CaretLine = m.CaretLine + 10;
}
void Home(CMemo& m) {
  m.CaretColumn = 0;
}
void End(CMemo& m) {
  m.CaretColumn = LineAt(m, m.CaretLine).Length();
}

// At the start of a line it joins the line to the one above, the caret at the join.
void Backspace(CMemo& m) {
  const CStr s = LineAt(m, m.CaretLine);
  if (m.CaretColumn != CInt(0)) {
    m.CaretColumn = m.CaretColumn - 1;
    m.Lines->SetString(s.SubStr(0, m.CaretColumn) + s.SubStr(m.CaretColumn + 1, s.Length()),
                       m.CaretLine);
  } else if (m.CaretLine > CInt(0)) {
    const CStr above = LineAt(m, m.CaretLine - 1);
    m.Lines->Delete(m.CaretLine);
    m.CaretColumn = above.Length();
    m.CaretLine = m.CaretLine - 1;
    m.Lines->SetString(above + s, m.CaretLine);
  }
}

// At the end of a line it joins the next line to it.
void Delete(CMemo& m) {
  const CStr s = LineAt(m, m.CaretLine);
  if (m.CaretColumn < s.Length()) {
    m.Lines->SetString(s.SubStr(0, m.CaretColumn) + s.SubStr(m.CaretColumn + 1, s.Length()),
                       m.CaretLine);
  } else if (m.CaretLine + 1 < m.Lines->Count()) {
    const CStr below = LineAt(m, m.CaretLine + 1);
    m.Lines->Delete(m.CaretLine + 1);
    m.CaretColumn = s.Length();
    m.Lines->SetString(s + below, m.CaretLine);
  }
}

// Splits the line at the caret; the caret goes to the start of the new line, unindented.
void Enter(CMemo& m) {
  const CStr s = LineAt(m, m.CaretLine);
  const CInt column = m.CaretColumn;
  m.Lines->SetString(s.SubStr(0, column), m.CaretLine);
  m.CaretColumn = 0;
  m.CaretLine = m.CaretLine + 1;
  m.Lines->InsertString(m.CaretLine, s.SubStr(column, s.Length()));
}

struct KeyAction {
  std::int32_t scanCode;
  void (*act)(CMemo&);
};

// Compared in this order; the first match acts.
constexpr KeyAction kKeys[] = {
    {75, Left}, {77, Right}, {72, Up},     {80, Down},     {14, Backspace}, {83, Delete},
    {71, Home}, {79, End},   {73, PageUp}, {81, PageDown}, {28, Enter},
};

}  // namespace

// [SECTION] Construction and the text

CMemo::CMemo(CControl* parent) : CScrollBox(parent) {
  Lines = std::make_unique<CStrList>();
  Lines->AddString("qwerty");
  Lines->AddString("asd");
  Lines->AddString("zxc");
  // Frame parts are never hit: every press over the text reaches the memo itself.
  Client->SetFramePart(true);
  CaretColumn = 0;
  CaretLine = 0;
  vert_ = Bar{VertBar, &ScrollY, ValuesOf(*VertBar)};
  horz_ = Bar{HorzBar, &ScrollX, ValuesOf(*HorzBar)};
}

CMemo::~CMemo() = default;

CStr CMemo::ClassName() const {
  return "CMemo";
}

CStr CMemo::GetText() const {
  std::string text;
  const std::int32_t count = Lines->Count().Value;
  for (std::int32_t i = 0; i < count; ++i) {
    text += LineRef(*this, i).View();
    text += "\r\n";
  }
  return CStr(std::string_view(text));
}

void CMemo::SetText(const CStr& text) {
  Lines->Clear();
  std::string current;
  for (const char byte : text.View()) {
    const auto code = static_cast<signed char>(byte);
    if (code < 0 || code >= 32) {
      current += byte;
    } else if (code == 10) {
      Lines->AddString(CStr(std::string_view(current)));
      current.clear();
    }
  }
  if (!current.empty()) Lines->AddString(CStr(std::string_view(current)));
  KeepCaretInText();
  followCaret_ = true;
}

void CMemo::KeepCaretInText() {
  if (Lines->Count() == CInt(0)) Lines->AddString("");
  if (CaretColumn < CInt(0)) CaretColumn = 0;
  if (CaretLine < CInt(0)) CaretLine = 0;
  if (CaretLine >= Lines->Count()) CaretLine = Lines->Count() - 1;
  const CInt length = LineAt(*this, CaretLine).Length();
  if (CaretColumn > length) CaretColumn = length;
}

// [SECTION] Measuring

// Lines of one font share one height, so it is measured when the font changes, not per line.
CFloat CMemo::LineHeight(CCanvas& canvas) {
  const CFont* font = canvas.GetFont();
  const void* key = font ? static_cast<const void*>(font->Handle) : nullptr;
  if (!key || key != measuredFont_) {
    lineHeight_ = canvas.GetTextExtent("A").Height;
    measuredFont_ = key;
    widths_.clear();
  }
  return lineHeight_;
}

// Every paint needs the widest line in view for the horizontal bar; after a key only one line
// has changed, so the others are looked up rather than measured again.
CFloat CMemo::LineWidth(CCanvas& canvas, const CStr& line) {
  LineHeight(canvas);  // forgets the widths when the font has changed
  if (!measuredFont_) return TextWidth(canvas, line);
  if (widths_.size() >= kRememberedWidths) widths_.clear();
  const auto [entry, added] = widths_.try_emplace(line.ToStd());
  if (added) entry->second = TextWidth(canvas, line);
  return entry->second;
}

CFloat CMemo::TextWidth(CCanvas& canvas, const CStr& text) {
  return canvas.GetTextExtent(text).Width;
}

void CMemo::CaretFromPoint(CPoint p, CInt& column, CInt& line) {
  KeepCaretInText();
  const std::int32_t count = Lines->Count().Value;
  line = count - 1;
  column = LineAt(*this, line).Length();
  CCanvas* canvas = GetCanvas();
  if (!canvas) return;
  // Measured in the font the lines are painted in, whatever font the last painter left.
  const CInt previousFont = canvas->GetFontId();
  canvas->SelectFontByName("Text");
  FindCaret(*canvas, p, column, line);
  canvas->SelectFont(previousFont);
}

void CMemo::FindCaret(CCanvas& canvas, CPoint p, CInt& column, CInt& line) {
  const std::int32_t count = Lines->Count().Value;
  const CFloat h = LineHeight(canvas);
  line = count - 1;

  // Line i spans y from i h to (i + 1) h, both ends included, so a boundary belongs to the
  // upper line: the line is ceil(y / h) - 1, and 0 at y = 0. Scrolled lines lie above y = 0.
  const CFloat y = p.Y + h * CFloat(TopLine());
  if (h > CFloat(0) && y >= CFloat(0)) {
    const std::int64_t i = std::max<std::int64_t>(0, std::int64_t((y / h).Ceil().Value) - 1);
    if (i < count) line = std::int32_t(i);
  }
  const CStr s = LineAt(*this, line);
  const std::int32_t length = s.Length().Value;
  column = length;

  // The characters' cells [a, b) run from 2 units into the memo. Prefix widths never shrink as
  // characters are added, so the cell under p is found by halving rather than one by one.
  const auto edge = [&](std::int32_t j) { return TextWidth(canvas, s.SubStr(0, j)) + CFloat(2); };
  const CFloat x = p.X + LeftShift();
  if (length == 0 || x < edge(0)) return;
  std::int32_t low = 0, high = length;  // the first j whose cell ends after x lies in [low, high)
  while (low < high) {
    const std::int32_t mid = low + (high - low) / 2;
    if (edge(mid + 1) > x)
      high = mid;
    else
      low = mid + 1;
  }
  if (low == length) return;
  const CFloat a = edge(low), b = edge(low + 1);
  if (a <= x && x < b) column = x - a < b - x ? low : low + 1;
}

CPoint CMemo::CaretPoint(CInt column, CInt line) {
  CCanvas* canvas = GetCanvas();
  if (!canvas) return CPoint(0, 0);
  // Painting has selected the lines' font already; an owner asking between paints gets the same.
  const CInt previousFont = canvas->GetFontId();
  canvas->SelectFontByName("Text");
  const CFloat h = LineHeight(*canvas);
  const CFloat width = TextWidth(*canvas, LineAt(*this, line).SubStr(0, column));
  canvas->SelectFont(previousFont);
  return CPoint(width - LeftShift(), h * CFloat(line - TopLine()));
}

// [SECTION] Scrolling

CInt CMemo::TopLine() {
  if (!vert_.set) return 0;
  const std::int32_t top = VertBar->Position.Floor().Value;
  return std::clamp(top, 0, std::max(0, Lines->Count().Value - 1));
}

CFloat CMemo::LeftShift() {
  if (!horz_.set || HorzBar->Position < CFloat(0)) return 0;
  return HorzBar->Position;
}

std::int32_t CMemo::LinesThatFit(const CFloat& h) {
  if (h <= CFloat(0)) return 1;
  return std::max(1, ((Client->GetHeight() + CFloat(1)) / h).Floor().Value);
}

CMemo::BarValues CMemo::ValuesOf(const CScrollBar& bar) {
  return BarValues{bar.Min, bar.Max, bar.Page, bar.SmallStep, bar.Position};
}

void CMemo::Apply(Bar& bar, const BarValues& values) {
  CScrollBar& b = *bar.bar;
  b.Min = values.min;
  b.Max = values.max;
  b.Page = values.page;
  b.SmallStep = values.step;
  b.Position = values.position;
  b.Clamp();
  *bar.scrolled = b.Position;
}

// Set directly, not through the bar's own change: painting is under way, and a change would
// repaint the window from inside this paint.
void CMemo::SetBar(Bar& bar, bool fits, const BarValues& values) {
  if (!fits) {
    Apply(bar, values);
    bar.set = true;
  } else if (bar.set) {
    Apply(bar, bar.made);
    bar.set = false;
  }
}

void CMemo::ScrollToText(CCanvas& canvas) {
  const CFloat h = LineHeight(canvas);
  const std::int32_t count = Lines->Count().Value;
  const std::int32_t fit = LinesThatFit(h);

  // Down, by lines.
  const bool fitsDown = count <= fit;
  std::int32_t top = 0;
  if (!fitsDown) {
    top = std::clamp(vert_.set ? VertBar->Position.Floor().Value : 0, 0, count - fit);
    if (followCaret_) {
      if (CaretLine.Value < top) top = CaretLine.Value;
      if (CaretLine.Value >= top + fit) top = CaretLine.Value - fit + 1;
    }
  }
  SetBar(vert_, fitsDown, BarValues{0, count, fit, 1, top});

  // Across, by units: the widest line in view, with the unit before the text and room for the
  // caret after it.
  CFloat widest = 0;
  const std::int32_t first = TopLine().Value;
  const std::int32_t end = std::min(count, first + fit + 1);
  for (std::int32_t i = first; i < end; ++i) {
    const CFloat width = LineWidth(canvas, LineRef(*this, i));
    if (width > widest) widest = width;
  }
  const CFloat content = widest + CFloat(3);
  const CFloat page = Client->GetWidth() + CFloat(1);
  const bool fitsAcross = bool(content <= page);
  CFloat left = 0;
  if (!fitsAcross) {
    left = horz_.set ? HorzBar->Position : CFloat(0);
    if (left > content - page) left = content - page;
    if (left < CFloat(0)) left = 0;
    if (followCaret_) {
      const CFloat x = TextWidth(canvas, LineAt(*this, CaretLine).SubStr(0, CaretColumn));
      if (x < left) left = x;
      if (x - left > page - CFloat(2)) left = x - page + CFloat(2);
    }
  }
  SetBar(horz_, fitsAcross, BarValues{0, content, page, h, left});
  followCaret_ = false;
}

// [SECTION] Events

void CMemo::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  CInt column, line;
  CaretFromPoint(p, column, line);
  CaretColumn = column;
  CaretLine = line;
  followCaret_ = true;
  SetFocused(true);
  CControl::MouseDown(button, shift, p);
  Invalidate();
}

void CMemo::KeyPress(CStr ch) {
  if (ch.Length() == CInt(0)) return;
  const CInt code = ch.CodeAt(0);
  if (code >= CInt(0) && code <= CInt(31)) return;
  KeepCaretInText();
  const CStr s = LineAt(*this, CaretLine);
  Lines->SetString(s.SubStr(0, CaretColumn) + ch + s.SubStr(CaretColumn, s.Length()), CaretLine);
  CaretColumn = CaretColumn + 1;
  followCaret_ = true;
  Invalidate();
}

void CMemo::KeyDown(CInt key, CShiftStateSet) {
  KeepCaretInText();
  for (const KeyAction& action : kKeys) {
    if (action.scanCode == key.Value) {
      action.act(*this);
      break;
    }
  }
  KeepCaretInText();
  followCaret_ = true;
  Invalidate();
}

void CMemo::KeyUp(CInt, CShiftStateSet) {}

void CMemo::TimerTick() {
  Invalidate();
}

CBool CMemo::CanFocus() {
  return true;
}

void CMemo::SetFocused(CBool focused) {
  CScrollBox::SetFocused(focused);
  CKeyboardCursor* caret = Caret();
  if (focused) {
    if (View) View->SetFocus(this, true, 500);
    if (caret) caret->SetControl(this);
  } else {
    if (View) View->SetFocus(nullptr, false, 0);
    if (caret) caret->SetControl(nullptr);
  }
  Invalidate();
}

// [SECTION] Painting

void CMemo::Paint(const CRect& clip) {
  CCanvas* canvas = GetCanvas();
  if (canvas) {
    KeepCaretInText();
    canvas->SelectFontByName("Text");
    ScrollToText(*canvas);
  }
  CScrollBox::Paint(clip);
  if (!canvas) return;
  canvas->SelectFontByName("Text");
  const CFloat h = LineHeight(*canvas);
  const std::int32_t top = TopLine().Value;
  const CFloat left = LeftShift();

  // Coordinates are the face's; the text is cut to the face and to what is being painted.
  const CRect saved = canvas->GetClipRect();
  const CRect face = Client->GetAbsRect();
  canvas->SetClipRect(face);
  const CRect visible = ClipTo(clip, face);
  canvas->SetClipRegion(visible);
  canvas->ClipRelative = true;

  // Only the lines that meet the clip are drawn: row r of the face spans r h to (r + 1) h below
  // its top.
  const std::int32_t count = Lines->Count().Value;
  std::int32_t first = top, last = count - 1;
  if (h > CFloat(0)) {
    const auto row = [&](const CFloat& y) {
      return std::int64_t(((y - face.M1.Y) / h).Floor().Value);
    };
    first = std::int32_t(std::clamp<std::int64_t>(top + row(visible.M1.Y) - 1, top, count));
    last = std::int32_t(std::clamp<std::int64_t>(top + row(visible.M2.Y) + 1, -1, count - 1));
  }
  CKeyboardCursor* caret = Caret();
  for (std::int32_t i = first; i <= last; ++i) {
    SetColor(Color);
    DrawText(CPoint(CFloat(1) - left, h * CFloat(i - top)), LineRef(*this, i));
    if (i == CaretLine.Value && caret && caret->Phase && caret->GetControl() == this) {
      const CPoint p = CaretPoint(CaretColumn, CaretLine);
      caret->SetBounds(p.X, p.Y + CFloat(1), 0, h - CFloat(2), true);
      caret->Paint();
    }
  }
  canvas->SetClipRect(saved);
  canvas->ClipRelative = false;
}
