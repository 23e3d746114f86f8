// [SECTION] The keys: caret movement
// [SECTION] Construction and the text
// [SECTION] Changes, undo and redo
// [SECTION] Selection, the clipboard, find
// [SECTION] Measuring
// [SECTION] Scrolling
// [SECTION] Events
// [SECTION] Painting
#include "widgets/Memo.h"

#include <algorithm>
#include <cmath>

#include "controls/CtrlApp.h"
#include "controls/KeyboardCursor.h"
#include "controls/View.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "widgets/CppColours.h"
#include "widgets/ScrollBar.h"

namespace {

using TextPos = CMemo::TextPos;

CKeyboardCursor* KeyboardCaret() {
  return CtrlApp ? CtrlApp->KeyboardCursor.get() : nullptr;
}

CStr LineAt(const CMemo& memo, const CInt& index) {
  return memo.Lines->GetString(index);
}

// Without a copy; the index must lie within the lines.
const CStr& LineRef(const CMemo& memo, std::int32_t index) {
  return *memo.Lines->GetAs<CStr>(index);
}

std::int32_t LengthOf(const CMemo& memo, std::int32_t index) {
  return LineRef(memo, index).Length().Value;
}

// More remembered line widths than this start the memory afresh.
constexpr size_t kRememberedWidths = 4096;

// Presses closer together than this, at one place, make a double or triple press.
constexpr std::int64_t kMultiPressMs = 500;

constexpr int kLeft = 75, kRight = 77, kUp = 72, kDown = 80, kBackspace = 14, kDelete = 83,
              kHome = 71, kEnd = 79, kPageUp = 73, kPageDown = 81, kEnter = 28, kTab = 15,
              kInsert = 82, kF3 = 61;
constexpr int kA = 30, kC = 46, kF = 33, kG = 34, kV = 47, kX = 45, kY = 21, kZ = 44;

const CColor kSelectionBand(0.7, 0.8, 0.95);
const CColor kGutterFace(0.8, 0.8, 0.8);
const CColor kGutterDigits(0.5, 0.5, 0.5);

bool IsWordByte(unsigned char c) {
  return c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         c >= 128;
}

// The leading spaces of a line.
std::string IndentOf(std::string_view line) {
  return std::string(line.substr(0, std::min(line.find_first_not_of(' '), line.size())));
}

// [SECTION] The keys: caret movement

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
  m.CaretColumn = LengthOf(m, m.CaretLine.Value);
}

struct KeyAction {
  std::int32_t scanCode;
  void (*act)(CMemo&);
};

// The keys that move the caret, compared in this order; the first match acts.
constexpr KeyAction kMoves[] = {
    {kLeft, Left}, {kRight, Right}, {kUp, Up},         {kDown, Down},
    {kHome, Home}, {kEnd, End},     {kPageUp, PageUp}, {kPageDown, PageDown},
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
  longLines_.clear();
  KeepCaretInText();
  anchor_.reset();
  states_.clear();
  // The changes kept were made to the text just replaced: undone on this one they would edit
  // places that no longer hold what they held.
  undo_.clear();
  redo_.clear();
  followCaret_ = true;
}

void CMemo::KeepCaretInText() {
  ++looks_;  // long lines are compared with what was kept of them when next used
  if (Lines->Count() == CInt(0)) Lines->AddString("");
  if (CaretColumn < CInt(0)) CaretColumn = 0;
  if (CaretLine < CInt(0)) CaretLine = 0;
  if (CaretLine >= Lines->Count()) CaretLine = Lines->Count() - 1;
  const CInt length = LengthOf(*this, CaretLine.Value);
  if (CaretColumn > length) CaretColumn = length;
  if (anchor_) {
    const std::int32_t count = Lines->Count().Value;
    anchor_->line = std::clamp(anchor_->line, 0, count - 1);
    anchor_->column = std::clamp(anchor_->column, 0, LengthOf(*this, anchor_->line));
  }
}

// [SECTION] Changes, undo and redo

TextPos CMemo::Caret() const {
  return TextPos{CaretLine.Value, CaretColumn.Value};
}

void CMemo::SetCaret(TextPos p) {
  CaretLine = p.line;
  CaretColumn = p.column;
}

TextPos CMemo::EndOf(TextPos from, std::string_view text) const {
  const std::size_t lastBreak = text.rfind('\n');
  if (lastBreak == std::string_view::npos)
    return TextPos{from.line, from.column + std::int32_t(text.size())};
  const auto breaks = std::int32_t(std::count(text.begin(), text.end(), '\n'));
  return TextPos{from.line + breaks, std::int32_t(text.size() - lastBreak - 1)};
}

// Lines first .. first + count - 1 give way to `lines`. A change of a few lines edits the list in
// place; a large one builds it anew, since taking lines out one by one would move the rest of a
// long text once per line.
void CMemo::ReplaceLines(std::int32_t first, std::int32_t count,
                         const std::vector<std::string>& lines) {
  const auto added = std::int32_t(lines.size());
  const std::int32_t kept = std::min(count, added);
  for (std::int32_t i = 0; i < kept; ++i) Lines->GetAs<CStr>(first + i)->Set(lines[size_t(i)]);
  if (count - kept + added - kept <= 64) {
    for (std::int32_t i = kept; i < count; ++i) Lines->Delete(first + kept);
    for (std::int32_t i = kept; i < added; ++i)
      Lines->InsertString(first + i, CStr(std::string_view(lines[size_t(i)])));
    return;
  }
  std::vector<CObject*> all;
  const std::int32_t total = Lines->Size();
  all.reserve(size_t(total - count + added));
  for (std::int32_t i = 0; i < first + kept; ++i) all.push_back(Lines->At(i));
  for (std::int32_t j = kept; j < added; ++j)
    all.push_back(new CStr(std::string_view(lines[size_t(j)])));
  for (std::int32_t i = first + kept; i < first + count; ++i) delete Lines->At(i);
  for (std::int32_t i = first + count; i < total; ++i) all.push_back(Lines->At(i));
  Lines->RemoveAll();
  Lines->SetCapacity(std::int32_t(all.size()));
  for (CObject* line : all) Lines->Add(line);
}

TextPos CMemo::Replace(TextPos from, TextPos to, std::string_view text, bool typing, bool record) {
  if (to < from) std::swap(from, to);
  const CStr& first = LineRef(*this, from.line);
  const CStr& last = LineRef(*this, to.line);
  Change change;
  change.from = from;
  change.caretBefore = Caret();
  change.typing = typing;
  if (record) change.removed = TextBetween(from, to).ToStd();

  // The new lines: the head of the first line, the text, the tail of the last line.
  std::vector<std::string> lines;
  std::string current(first.View().substr(0, size_t(from.column)));
  for (const char c : text) {
    if (c == '\n') {
      lines.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  current += last.View().substr(size_t(to.column));
  lines.push_back(std::move(current));
  ReplaceLines(from.line, to.line - from.line + 1, lines);
  ++looks_;

  // What the C++ colours knew of the lines from here on may have changed.
  if (states_.size() > size_t(from.line) + 1) states_.resize(size_t(from.line) + 1);

  const TextPos end = EndOf(from, text);
  SetCaret(end);
  anchor_.reset();
  followCaret_ = true;
  if (!record) return end;
  change.inserted = std::string(text);
  change.caretAfter = end;
  redo_.clear();
  // A typed character joins the step of the one before it when it follows it directly and both
  // belong to one word, or both to the space between words.
  if (typing && !undo_.empty()) {
    Change& before = undo_.back();
    const bool joins =
        before.typing && change.removed.empty() && !before.inserted.empty() &&
        EndOf(before.from, before.inserted) == from && text.size() == 1 &&
        IsWordByte(static_cast<unsigned char>(before.inserted.back())) ==
            IsWordByte(static_cast<unsigned char>(text[0]));
    if (joins) {
      before.inserted += text;
      before.caretAfter = end;
      return end;
    }
  }
  undo_.push_back(std::move(change));
  return end;
}

bool CMemo::Undo() {
  KeepCaretInText();
  if (undo_.empty()) return false;
  Change change = std::move(undo_.back());
  undo_.pop_back();
  Replace(change.from, EndOf(change.from, change.inserted), change.removed, false, false);
  SetCaret(change.caretBefore);
  KeepCaretInText();
  redo_.push_back(std::move(change));
  Invalidate();
  return true;
}

bool CMemo::Redo() {
  KeepCaretInText();
  if (redo_.empty()) return false;
  Change change = std::move(redo_.back());
  redo_.pop_back();
  Replace(change.from, EndOf(change.from, change.removed), change.inserted, false, false);
  SetCaret(change.caretAfter);
  KeepCaretInText();
  undo_.push_back(std::move(change));
  Invalidate();
  return true;
}

// [SECTION] Selection, the clipboard, find

bool CMemo::HasSelection() const {
  return anchor_ && *anchor_ != Caret();
}

void CMemo::GetSelection(TextPos& from, TextPos& to) const {
  from = to = Caret();
  if (!anchor_) return;
  from = std::min(*anchor_, Caret());
  to = std::max(*anchor_, Caret());
}

CStr CMemo::TextBetween(TextPos from, TextPos to) const {
  if (to < from) std::swap(from, to);
  std::string text;
  for (std::int32_t i = from.line; i <= to.line; ++i) {
    const std::string_view line = LineRef(*this, i).View();
    const size_t begin = i == from.line ? size_t(from.column) : 0;
    const size_t end = i == to.line ? size_t(to.column) : line.size();
    text += line.substr(begin, end - begin);
    if (i != to.line) text += '\n';
  }
  return CStr(std::string_view(text));
}

CStr CMemo::SelectedText() const {
  TextPos from, to;
  GetSelection(from, to);
  const CStr between = TextBetween(from, to);  // held: a view of a temporary dies before the loop
  std::string text;
  for (const char c : between.View()) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return CStr(std::string_view(text));
}

void CMemo::Select(TextPos anchor, TextPos caret) {
  anchor_ = anchor;
  SetCaret(caret);
  KeepCaretInText();
  followCaret_ = true;
  Invalidate();
}

void CMemo::SelectAll() {
  KeepCaretInText();
  const std::int32_t last = Lines->Count().Value - 1;
  Select(TextPos{0, 0}, TextPos{last, LengthOf(*this, last)});
}

bool CMemo::DeleteSelection() {
  if (!HasSelection()) return false;
  TextPos from, to;
  GetSelection(from, to);
  Replace(from, to, "");
  return true;
}

void CMemo::ReplaceSelection(const CStr& text) {
  KeepCaretInText();
  std::string clean;
  for (const char byte : text.View()) {
    const auto code = static_cast<signed char>(byte);
    if (code == '\n')
      clean += '\n';
    else if (code == '\t')
      clean += "  ";
    else if (code < 0 || code >= 32)
      clean += byte;
  }
  TextPos from, to;
  GetSelection(from, to);
  Replace(from, to, clean);
  Invalidate();
}

void CMemo::CopyToClipboard() {
  if (HasSelection()) platform::SetClipboardText(SelectedText().View());
}

void CMemo::CutToClipboard() {
  if (!HasSelection()) return;
  CopyToClipboard();
  DeleteSelection();
  Invalidate();
}

void CMemo::PasteFromClipboard() {
  const std::string text = platform::ClipboardText();
  if (!text.empty()) ReplaceSelection(CStr(std::string_view(text)));
}

// Tab and Shift+Tab on a selection: two spaces more or (as many as there are) fewer at the start
// of each line it touches; a line the selection only reaches at its start is left alone.
void CMemo::IndentSelection(bool out) {
  TextPos from, to;
  GetSelection(from, to);
  std::int32_t last = to.line;
  if (to.column == 0 && to.line > from.line) --last;
  std::string text;
  for (std::int32_t i = from.line; i <= last; ++i) {
    const std::string_view line = LineRef(*this, i).View();
    if (out)
      text += line.substr(std::min<size_t>(2, std::min(line.find_first_not_of(' '), line.size())));
    else
      text += (line.empty() ? "" : "  ") + std::string(line);
    if (i != last) text += '\n';
  }
  const TextPos end = Replace(TextPos{from.line, 0}, TextPos{last, LengthOf(*this, last)}, text);
  anchor_ = TextPos{from.line, 0};
  SetCaret(end);
}

bool CMemo::FindNext(const CStr& text) {
  KeepCaretInText();
  const std::string_view wanted = text.View();
  if (wanted.empty()) return false;
  const std::int32_t count = Lines->Count().Value;
  const TextPos start = Caret();
  // From the caret to the end, then from the top round to the caret's line again.
  for (std::int32_t step = 0; step <= count; ++step) {
    const std::int32_t i = (start.line + step) % count;
    const std::string_view line = LineRef(*this, i).View();
    const size_t from = step == 0 ? size_t(start.column) : 0;
    const size_t found = line.find(wanted, from);
    if (found == std::string_view::npos) continue;
    if (step == count && found >= size_t(start.column)) break;
    Select(TextPos{i, std::int32_t(found)}, TextPos{i, std::int32_t(found + wanted.size())});
    return true;
  }
  return false;
}

void CMemo::GoToLine(std::int32_t number) {
  KeepCaretInText();
  anchor_.reset();
  CaretLine = std::clamp(number - 1, 0, Lines->Count().Value - 1);
  CaretColumn = 0;
  followCaret_ = true;
  Invalidate();
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
    longLines_.clear();
    MeasureAdvances(canvas);
  }
  return lineHeight_;
}

void CMemo::MeasureAdvances(CCanvas& canvas) {
  for (int c = 0; c < 256; ++c)
    advances_[c] = c < 32 ? 0 : canvas.GetTextExtent(CStr(static_cast<char>(c))).Width.Round().Value;
}

// Every paint needs the widest line in view for the horizontal bar; after a key only one line
// has changed, so the others are looked up rather than measured again.
CFloat CMemo::LineWidth(CCanvas& canvas, std::int32_t index) {
  LineHeight(canvas);  // forgets the widths when the font has changed
  const CStr& line = LineRef(*this, index);
  if (line.Length() > CInt(kLongLine)) return CFloat(double(Long(index).Width()));
  if (!measuredFont_) return TextWidth(canvas, line);
  if (widths_.size() >= kRememberedWidths) widths_.clear();
  const auto [entry, added] = widths_.try_emplace(line.ToStd());
  if (added) entry->second = TextWidth(canvas, line);
  return entry->second;
}

CFloat CMemo::TextWidth(CCanvas& canvas, const CStr& text) {
  return canvas.GetTextExtent(text).Width;
}

CFloat CMemo::ColumnX(CCanvas& canvas, std::int32_t line, std::int32_t column) {
  ++looks_;  // the owner may have changed the line since
  if (Lines->Count() == CInt(0)) return 0;
  return XOf(canvas, std::clamp(line, 0, Lines->Count().Value - 1), column);
}

CFloat CMemo::XOf(CCanvas& canvas, std::int32_t index, std::int32_t column) {
  const CStr& line = LineRef(*this, index);
  if (line.Length() <= CInt(kLongLine)) return TextWidth(canvas, line.SubStr(0, column));
  LineHeight(canvas);
  return CFloat(double(Long(index).X(column)));
}

CLongLine& CMemo::Long(std::int32_t index) {
  const CStr& line = LineRef(*this, index);
  CLongLine& kept = longLines_[&line];
  if (kept.checked != looks_) {
    kept.Sync(line.View(), advances_);
    kept.checked = looks_;
  }
  kept.used = true;
  return kept;
}

std::int32_t CMemo::TextLeft() {
  if (!Gutter) return 0;
  const std::int32_t digits = std::int32_t(std::to_string(Lines->Count().Value).size());
  return std::max(digits, 3) * advances_['0'] + 8;
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
  const CStr& s = LineRef(*this, line.Value);
  const std::int32_t length = s.Length().Value;
  column = length;

  const CFloat x = p.X + LeftShift() - CFloat(TextLeft());
  if (length > kLongLine) {
    if (x >= CFloat(2)) column = Long(line.Value).Nearest(double((x - CFloat(2)).Value));
    return;
  }
  // The characters' cells [a, b) run from 2 units into the memo. Prefix widths never shrink as
  // characters are added, so the cell under p is found by halving rather than one by one.
  const auto edge = [&](std::int32_t j) { return TextWidth(canvas, s.SubStr(0, j)) + CFloat(2); };
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
  ++looks_;  // the owner may have changed the line since
  return CaretPlace(column, line);
}

CPoint CMemo::CaretPlace(CInt column, CInt line) {
  CCanvas* canvas = GetCanvas();
  if (!canvas) return CPoint(0, 0);
  // Painting has selected the lines' font already; an owner asking between paints gets the same.
  const CInt previousFont = canvas->GetFontId();
  canvas->SelectFontByName("Text");
  const CFloat h = LineHeight(*canvas);
  const CFloat width = XOf(*canvas, line.Value, column.Value);
  canvas->SelectFont(previousFont);
  return CPoint(width - LeftShift() + CFloat(TextLeft()), h * CFloat(line - TopLine()));
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
    const CFloat width = LineWidth(canvas, i);
    if (width > widest) widest = width;
  }
  const CFloat content = widest + CFloat(3);
  const CFloat page = Client->GetWidth() + CFloat(1) - CFloat(TextLeft());
  const bool fitsAcross = bool(content <= page);
  CFloat left = 0;
  if (!fitsAcross) {
    left = horz_.set ? HorzBar->Position : CFloat(0);
    if (left > content - page) left = content - page;
    if (left < CFloat(0)) left = 0;
    if (followCaret_) {
      const CFloat x = XOf(canvas, CaretLine.Value, CaretColumn.Value);
      if (x < left) left = x;
      if (x - left > page - CFloat(2)) left = x - page + CFloat(2);
    }
  }
  SetBar(horz_, fitsAcross, BarValues{0, content, page, h, left});
  followCaret_ = false;
}

// [SECTION] Events

void CMemo::MouseDown(CInt button, CShiftStateSet shift, CPoint p) {
  KeepCaretInText();
  CInt column, line;
  CaretFromPoint(p, column, line);
  const TextPos at{line.Value, column.Value};
  // A press soon after another at the same place counts on: a word, then the line.
  const std::int64_t now = platform::Now();
  const bool near = std::abs(double((p.X - lastPressPoint_.X).Value)) <= 2 &&
                    std::abs(double((p.Y - lastPressPoint_.Y).Value)) <= 2;
  presses_ = now - lastPressAt_ <= kMultiPressMs && near && at == lastPressPos_ ? presses_ % 3 + 1 : 1;
  lastPressAt_ = now;
  lastPressPoint_ = p;
  lastPressPos_ = at;
  if (shift.Shift) {
    if (!anchor_) anchor_ = Caret();
  } else {
    anchor_ = at;
  }
  SetCaret(at);
  const std::string_view s = LineRef(*this, at.line).View();
  if (presses_ == 2 && !shift.Shift) {
    std::int32_t a = at.column, b = at.column;
    const auto word = [&](std::int32_t i) { return IsWordByte(static_cast<unsigned char>(s[size_t(i)])); };
    while (a > 0 && word(a - 1)) --a;
    while (b < std::int32_t(s.size()) && word(b)) ++b;
    anchor_ = TextPos{at.line, a};
    CaretColumn = b;
  } else if (presses_ == 3 && !shift.Shift) {
    anchor_ = TextPos{at.line, 0};
    if (at.line + 1 < Lines->Count().Value)
      SetCaret(TextPos{at.line + 1, 0});
    else
      CaretColumn = std::int32_t(s.size());
  }
  dragging_ = presses_ == 1;
  followCaret_ = true;
  SetFocused(true);
  CControl::MouseDown(button, shift, p);
  Invalidate();
}

void CMemo::MouseMove(CShiftStateSet shift, CPoint p) {
  CControl::MouseMove(shift, p);
  if (!dragging_ || !MousePressed) return;
  CInt column, line;
  CaretFromPoint(p, column, line);
  const TextPos at{line.Value, column.Value};
  if (at == Caret()) return;
  SetCaret(at);
  followCaret_ = true;
  Invalidate();
}

void CMemo::MouseUp(CInt button, CShiftStateSet shift, CPoint p) {
  dragging_ = false;
  CControl::MouseUp(button, shift, p);
}

void CMemo::InsertTyped(const CStr& ch) {
  TextPos from, to;
  GetSelection(from, to);
  Replace(from, to, ch.View(), from == to);
}

void CMemo::KeyPress(CStr ch) {
  if (ch.Length() == CInt(0)) return;
  if (swallowChar_) {
    swallowChar_ = false;
    return;
  }
  const CInt code = ch.CodeAt(0);
  if (code >= CInt(0) && code <= CInt(31)) return;
  KeepCaretInText();
  InsertTyped(ch);
  Invalidate();
}

// Moves the caret by a movement key; Ctrl with Home and End goes to the text's ends.
void CMemo::MoveCaret(CInt key, bool ctrl) {
  if (ctrl && (key.Value == kHome || key.Value == kEnd)) {
    CaretLine = key.Value == kHome ? 0 : Lines->Count().Value - 1;
    CaretColumn = key.Value == kHome ? 0 : LengthOf(*this, CaretLine.Value);
    return;
  }
  for (const KeyAction& action : kMoves) {
    if (action.scanCode == key.Value) {
      action.act(*this);
      return;
    }
  }
}

// The keys with Ctrl or Shift that are commands rather than edits of the caret's place.
bool CMemo::CommandKey(CInt key, const CShiftStateSet& shift) {
  const int k = key.Value;
  if (shift.Ctrl && !shift.Alt) {
    switch (k) {
      case kC: case kInsert: CopyToClipboard(); return true;
      case kX: CutToClipboard(); return true;
      case kV: PasteFromClipboard(); return true;
      case kZ: shift.Shift ? Redo() : Undo(); return true;
      case kY: Redo(); return true;
      case kA: SelectAll(); return true;
      case kF: case kG: OnCommandKey(this, key, shift); return true;
      default: break;
    }
  }
  if (shift.Shift && !shift.Ctrl && !shift.Alt) {
    if (k == kDelete) {
      CutToClipboard();
      return true;
    }
    if (k == kInsert) {
      PasteFromClipboard();
      return true;
    }
  }
  if (k == kF3) {
    OnCommandKey(this, key, shift);
    return true;
  }
  return false;
}

void CMemo::KeyDown(CInt key, CShiftStateSet shift) {
  KeepCaretInText();
  swallowChar_ = false;
  if (CommandKey(key, shift)) {
    swallowChar_ = bool(shift.Ctrl);  // a character typed with Ctrl is no text
    KeepCaretInText();
    Invalidate();
    return;
  }
  const int k = key.Value;
  const bool moves = std::any_of(std::begin(kMoves), std::end(kMoves),
                                 [&](const KeyAction& a) { return a.scanCode == k; });
  if (moves) {
    if (shift.Shift) {
      if (!anchor_) anchor_ = Caret();
    } else {
      anchor_.reset();
    }
    MoveCaret(key, bool(shift.Ctrl));
  } else if (k == kBackspace || k == kDelete) {
    if (!DeleteSelection()) {
      const TextPos at = Caret();
      if (k == kBackspace && at.column > 0) {
        Replace(TextPos{at.line, at.column - 1}, at, "");
      } else if (k == kBackspace && at.line > 0) {
        Replace(TextPos{at.line - 1, LengthOf(*this, at.line - 1)}, at, "");
      } else if (k == kDelete && at.column < LengthOf(*this, at.line)) {
        Replace(at, TextPos{at.line, at.column + 1}, "");
      } else if (k == kDelete && at.line + 1 < Lines->Count().Value) {
        Replace(at, TextPos{at.line + 1, 0}, "");
      }
    }
  } else if (k == kEnter) {
    // The new line starts as far in as the line it was split from.
    TextPos from, to;
    GetSelection(from, to);
    const std::string indent = IndentOf(LineRef(*this, from.line).View().substr(0, size_t(from.column)));
    Replace(from, to, "\n" + indent);
  } else if (k == kTab) {
    TextPos from, to;
    GetSelection(from, to);
    if (from.line != to.line || (HasSelection() && shift.Shift)) {
      IndentSelection(bool(shift.Shift));
    } else if (shift.Shift) {
      // Without a selection Shift+Tab unindents the caret's line; the caret stays by its text.
      const TextPos caret = Caret();
      const std::int32_t before = LengthOf(*this, caret.line);
      anchor_ = TextPos{caret.line, 0};
      SetCaret(TextPos{caret.line, before});
      IndentSelection(true);
      anchor_.reset();
      const std::int32_t removed = before - LengthOf(*this, caret.line);
      SetCaret(TextPos{caret.line, std::max(0, caret.column - removed)});
    } else {
      Replace(from, to, "  ");
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
  CKeyboardCursor* caret = KeyboardCaret();
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

std::uint8_t CMemo::StateAt(std::int32_t index) {
  if (states_.empty()) states_.push_back(cppcolours::kClosed);
  while (std::int32_t(states_.size()) <= index) {
    const auto i = std::int32_t(states_.size()) - 1;
    states_.push_back(LengthOf(*this, i) > kLongLine
                          ? Long(i).EndState(states_.back())
                          : cppcolours::Colour(LineRef(*this, i).View(), states_.back(), nullptr));
  }
  return states_[size_t(index)];
}

void CMemo::PaintLine(CCanvas& canvas, std::int32_t index, const CFloat& y, const CFloat& left,
                      const CFloat& faceWidth, const TextPos& selFrom, const TextPos& selTo) {
  const CStr& line = LineRef(*this, index);
  const std::int32_t length = line.Length().Value;
  const CFloat x0 = CFloat(1 + TextLeft()) - left;
  const CFloat h = lineHeight_;
  const bool isLong = length > kLongLine;

  // The band of the selection, reaching a little past the line's end where the break is selected.
  if (selFrom < selTo && selFrom.line <= index && index <= selTo.line) {
    const std::int32_t a = index == selFrom.line ? selFrom.column : 0;
    const std::int32_t b = index == selTo.line ? selTo.column : length;
    CFloat xa = x0 + XOf(canvas, index, a), xb = x0 + XOf(canvas, index, b);
    if (index != selTo.line) xb = xb + CFloat(advances_[' ']);
    if (xb > xa) {
      SetColor(kSelectionBand);
      FillRect(CRect(xa, y, xb - CFloat(1), y + h - CFloat(1)));
    }
  }

  // The bytes that can show: a long line is drawn from the first character in view on.
  std::int32_t first = 0, end = length;
  CLongLine* kept = isLong ? &Long(index) : nullptr;
  if (kept) {
    first = kept->FirstReaching(double((left - CFloat(1 + advances_['W'])).Value));
    end = std::max(first, kept->FirstPassing(double((left + faceWidth).Value)));
  }

  std::vector<cppcolours::Span> spans;
  if (CppColours && kept)
    kept->Spans(StateAt(index), size_t(first), size_t(end), &spans);
  else if (CppColours)
    cppcolours::Colour(line.View(), StateAt(index), &spans);
  if (spans.empty()) spans.push_back(cppcolours::Span{0, cppcolours::Kind::Plain});

  const std::string_view text = line.View();
  for (size_t s = 0; s < spans.size(); ++s) {
    const std::int32_t a = std::max(spans[s].start, first);
    const std::int32_t b = std::min(s + 1 < spans.size() ? spans[s + 1].start : end, end);
    if (a >= b) continue;
    SetColor(CppColours ? cppcolours::ColourOf(spans[s].kind) : Color);
    if (!isLong) {
      // A plain line is drawn whole, as one text, so it looks as any text of the toolkit.
      const CFloat x = spans.size() == 1 ? x0 : x0 + XOf(canvas, index, a);
      DrawText(CPoint(x, y), spans.size() == 1 ? line : CStr(text.substr(size_t(a), size_t(b - a))));
      continue;
    }
    // A long line goes character by character, each where the caret places it.
    CFloat x = x0 + CFloat(double(kept->X(a)));
    for (std::int32_t i = a; i < b; ++i) {
      const char c = text[size_t(i)];
      DrawText(CPoint(x, y), CStr(c));
      x = x + CFloat(advances_[static_cast<unsigned char>(c)]);
    }
  }
}

void CMemo::PaintGutter(CCanvas& canvas, std::int32_t first, std::int32_t last, const CFloat& h) {
  const CFloat width(TextLeft());
  const std::int32_t top = TopLine().Value;
  SetColor(kGutterFace);
  FillRect(CRect(0, 0, width - CFloat(3), Client->GetHeight()));
  SetColor(kGutterDigits);
  for (std::int32_t i = first; i <= last; ++i) {
    const CStr number(std::string_view(std::to_string(i + 1)));
    const CFloat w = TextWidth(canvas, number);
    DrawText(CPoint(width - CFloat(5) - w, h * CFloat(i - top)), number);
  }
}

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
  TextPos selFrom, selTo;
  GetSelection(selFrom, selTo);
  CKeyboardCursor* caret = KeyboardCaret();
  for (std::int32_t i = first; i <= last; ++i) {
    PaintLine(*canvas, i, h * CFloat(i - top), left, Client->GetWidth(), selFrom, selTo);
    if (i == CaretLine.Value && caret && caret->Phase && caret->GetControl() == this) {
      const CPoint p = CaretPlace(CaretColumn, CaretLine);
      caret->SetBounds(p.X, p.Y + CFloat(1), 0, h - CFloat(2), true);
      caret->Paint();
    }
  }
  if (Gutter) PaintGutter(*canvas, first, last, h);
  canvas->SetClipRect(saved);
  canvas->ClipRelative = false;

  // What is kept of long lines this frame did not look at goes: they are out of view, or gone.
  for (auto it = longLines_.begin(); it != longLines_.end();) {
    if (it->second.used) {
      it->second.used = false;
      ++it;
    } else {
      it = longLines_.erase(it);
    }
  }
}
