// The text editor as a person uses it: typing, the caret and line keys, presses on the text, the
// caret blinking through the keyboard cursor, the focus, and the text round trip.
#include <string>
#include <vector>

#include <SDL.h>

#include "controls/KeyboardCursor.h"
#include "platform/Clipboard.h"
#include "controls/View.h"
#include "graphics/Timer.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Button.h"
#include "widgets/Memo.h"
#include "widgets/ScrollBar.h"

namespace {

using namespace qxtest;

constexpr int kLeft = 75, kRight = 77, kUp = 72, kDown = 80, kBackspace = 14, kDelete = 83,
              kHome = 71, kEnd = 79, kPageUp = 73, kPageDown = 81, kEnter = 28, kTab = 15,
              kInsert = 82, kC = 46, kV = 47, kX = 45, kY = 21, kZ = 44, kA = 30;
constexpr std::uint8_t kShift = platform::kShiftHeld, kCtrl = platform::kCtrlHeld;

std::vector<std::string> LinesOf(const CMemo& memo) {
  std::vector<std::string> lines;
  for (std::int32_t i = 0; i < memo.Lines->Count().Value; ++i)
    lines.push_back(memo.Lines->GetString(i).ToStd());
  return lines;
}

using Lines = std::vector<std::string>;

class MemoTest : public WidgetTest {
 protected:
  MemoTest() {
    memo = new CMemo(root.get());
    memo->SetBounds(10, 10, 180, 130, true);
    CCanvas& canvas = *root->GetCanvas();
    canvas.SelectFontByName("Text");
    h = canvas.GetTextExtent("A").Height.Round().Value;
  }

  // The width of a text in the font of the lines.
  int Width(const char* text) {
    CCanvas& canvas = *root->GetCanvas();
    canvas.SelectFontByName("Text");
    return canvas.GetTextExtent(text).Width.Round().Value;
  }

  // Presses at a point of the memo's own coordinates.
  void PressAt(int x, int y) {
    gui.Press(*root, 10 + x, 10 + y);
    gui.Release(*root, 10 + x, 10 + y);
  }

  void Focus() {
    gui.Click(*root, 60, 100);  // on the memo, below its lines
    ASSERT_EQ(root->View->GetFocused(), memo);
  }

  void PutCaret(int line, int column) {
    memo->CaretLine = line;
    memo->CaretColumn = column;
  }

  CMemo* memo;
  int h = 0;
};

// [SECTION] The text

TEST_F(MemoTest, ANewMemoHoldsThreeSampleLinesWithTheCaretAtTheStart) {
  EXPECT_EQ(memo->ClassName(), "CMemo");
  EXPECT_EQ(LinesOf(*memo), (Lines{"qwerty", "asd", "zxc"}));
  EXPECT_EQ(memo->CaretLine, 0);
  EXPECT_EQ(memo->CaretColumn, 0);
  EXPECT_EQ(memo->GetText(), "qwerty\r\nasd\r\nzxc\r\n");
}

TEST_F(MemoTest, SetTextBreaksAtLineFeedsAndDropsControlCodes) {
  struct Case {
    const char* what;
    std::string text;
    Lines lines;
  } cases[] = {
      {"CR LF ends a line", "a\r\nb", {"a", "b"}},
      {"a lone LF ends a line", "a\nb", {"a", "b"}},
      {"a second LF gives an empty line", "a\n\nb", {"a", "", "b"}},
      {"a final LF gives no empty last line", "a\nb\n", {"a", "b"}},
      {"a tab vanishes", "a\tb", {"ab"}},
      {"bytes of 128 and above stay", "\xE0\xFF\x80", {"\xE0\xFF\x80"}},
      {"the empty text leaves one empty line", "", {""}},
      {"only dropped codes leave one empty line", "\r\t\x01", {""}},
      {"a lone LF is one empty line", "\n", {""}},
  };
  for (const Case& c : cases) {
    memo->SetText(CStr(std::string_view(c.text)));
    EXPECT_EQ(LinesOf(*memo), c.lines) << c.what;
    std::string text;
    for (const std::string& line : c.lines) text += line + "\r\n";
    EXPECT_EQ(memo->GetText().ToStd(), text) << c.what;
    memo->SetText(memo->GetText());
    EXPECT_EQ(LinesOf(*memo), c.lines) << c.what << ": GetText reads back the same lines";
  }
}

TEST_F(MemoTest, SetTextKeepsTheCaretInsideTheNewText) {
  PutCaret(2, 3);
  memo->SetText("ab\r\n");
  EXPECT_EQ(memo->CaretLine, 0);
  EXPECT_EQ(memo->CaretColumn, 2);
  memo->SetText("");
  EXPECT_EQ(memo->CaretLine, 0);
  EXPECT_EQ(memo->CaretColumn, 0);
}

// [SECTION] Keys

TEST_F(MemoTest, KeysEditAndMoveTheCaretWhichIsClampedAfterEveryKey) {
  struct Case {
    const char* what;
    Lines text;
    int line, column, key;
    Lines result;
    int resultLine, resultColumn;
  } cases[] = {
      {"Left at the start stays", {"abc"}, 0, 0, kLeft, {"abc"}, 0, 0},
      {"Left", {"abc"}, 0, 2, kLeft, {"abc"}, 0, 1},
      {"Right at the end stays", {"abc"}, 0, 3, kRight, {"abc"}, 0, 3},
      {"Right does not wrap", {"abc", "d"}, 0, 3, kRight, {"abc", "d"}, 0, 3},
      {"Up on the first line stays", {"abc"}, 0, 2, kUp, {"abc"}, 0, 2},
      {"Up onto a shorter line ends at its end",
       {"abc", "abcdefghij"},
       1,
       10,
       kUp,
       {"abc", "abcdefghij"},
       0,
       3},
      {"Down onto a shorter line", {"abcdef", "ab"}, 0, 5, kDown, {"abcdef", "ab"}, 1, 2},
      {"Down on the last line stays", {"ab", "cd"}, 1, 1, kDown, {"ab", "cd"}, 1, 1},
      {"Backspace takes the character before", {"abcd"}, 0, 2, kBackspace, {"acd"}, 0, 1},
      {"Backspace at a line's start joins it to the one above",
       {"ab", "cd"},
       1,
       0,
       kBackspace,
       {"abcd"},
       0,
       2},
      {"Backspace at the start of the first line",
       {"ab", "cd"},
       0,
       0,
       kBackspace,
       {"ab", "cd"},
       0,
       0},
      {"Delete takes the character after", {"abcd"}, 0, 1, kDelete, {"acd"}, 0, 1},
      {"Delete at a line's end joins the next line", {"ab", "cd"}, 0, 2, kDelete, {"abcd"}, 0, 2},
      {"Delete at the end of the last line", {"ab", "cd"}, 1, 2, kDelete, {"ab", "cd"}, 1, 2},
      {"Home", {"abcd"}, 0, 3, kHome, {"abcd"}, 0, 0},
      {"End", {"abcd"}, 0, 1, kEnd, {"abcd"}, 0, 4},
      {"Page Up stops at the first line",
       {"a", "b", "c", "d"},
       3,
       1,
       kPageUp,
       {"a", "b", "c", "d"},
       0,
       1},
      {"Page Down on five lines ends on the last",
       {"a", "b", "c", "d", "e"},
       0,
       0,
       kPageDown,
       {"a", "b", "c", "d", "e"},
       4,
       0},
      {"Enter splits the line at the caret", {"abcd"}, 0, 2, kEnter, {"ab", "cd"}, 1, 0},
      {"Enter at the end adds an empty line", {"ab"}, 0, 2, kEnter, {"ab", ""}, 1, 0},
      {"Enter keeps the indentation", {"  ab"}, 0, 4, kEnter, {"  ab", "  "}, 1, 2},
      {"Enter in the indentation keeps what is left of the caret",
       {"    ab"},
       0,
       2,
       kEnter,
       {"  ", "    ab"},
       1,
       2},
      {"Tab inserts two spaces", {"ab"}, 0, 1, kTab, {"a  b"}, 0, 3},
      {"a key outside the table only clamps", {"ab"}, 0, 2, 30, {"ab"}, 0, 2},
  };
  Focus();
  for (const Case& c : cases) {
    std::string text;
    for (const std::string& line : c.text) text += line + "\n";
    memo->SetText(CStr(std::string_view(text)));
    PutCaret(c.line, c.column);
    gui.PressKey(*root, c.key);
    EXPECT_EQ(LinesOf(*memo), c.result) << c.what;
    EXPECT_EQ(memo->CaretLine, c.resultLine) << c.what;
    EXPECT_EQ(memo->CaretColumn, c.resultColumn) << c.what;
  }
}

TEST_F(MemoTest, TypingInsertsPrintableBytesAtTheCaret) {
  Focus();
  memo->SetText("abcd");
  PutCaret(0, 2);
  gui.Type(*root, "x");
  EXPECT_EQ(LinesOf(*memo), (Lines{"abxcd"}));
  EXPECT_EQ(memo->CaretColumn, 3);
  gui.Type(*root, "\xE9\xB9");  // a Russian letter from its key, the numero sign alone
  EXPECT_EQ(LinesOf(*memo), (Lines{"abx\xE9\xB9"
                                   "cd"}));
  EXPECT_EQ(memo->CaretColumn, 5);
  gui.Type(*root, "\t\x1b");  // their characters insert nothing; the Tab key two spaces
  EXPECT_EQ(LinesOf(*memo), (Lines{"abx\xE9\xB9  cd"}));
  EXPECT_EQ(memo->CaretColumn, 7);
}

TEST_F(MemoTest, EnterThenBackspaceGivesTheLineBack) {
  Focus();
  memo->SetText("abcd");
  PutCaret(0, 2);
  gui.PressKey(*root, kEnter);  // its character 13 arrives too and is not inserted
  EXPECT_EQ(LinesOf(*memo), (Lines{"ab", "cd"}));
  EXPECT_EQ(memo->CaretLine, 1);
  EXPECT_EQ(memo->CaretColumn, 0);
  gui.Type(*root, "\b");
  EXPECT_EQ(LinesOf(*memo), (Lines{"abcd"}));
  EXPECT_EQ(memo->CaretLine, 0);
  EXPECT_EQ(memo->CaretColumn, 2);
}

TEST_F(MemoTest, TheEmptyTextTakesEveryKeyAndTyping) {
  Focus();
  memo->SetText("");
  for (const int key :
       {kLeft, kRight, kUp, kDown, kBackspace, kDelete, kHome, kEnd, kPageUp, kPageDown}) {
    gui.PressKey(*root, key);
    EXPECT_EQ(LinesOf(*memo), (Lines{""})) << key;
    EXPECT_EQ(memo->CaretLine, 0) << key;
    EXPECT_EQ(memo->CaretColumn, 0) << key;
  }
  gui.Type(*root, "a");
  gui.PressKey(*root, kEnter);
  EXPECT_EQ(memo->GetText(), "a\r\n\r\n");
}

TEST_F(MemoTest, LinesEmptiedByTheOwnerAreNeverReadMissing) {
  Focus();
  memo->Lines->Clear();
  PutCaret(5, 7);
  gui.Type(*root, "z");
  EXPECT_EQ(LinesOf(*memo), (Lines{"z"}));
  EXPECT_EQ(memo->CaretColumn, 1);
  memo->Lines->Clear();
  gui.PressKey(*root, kBackspace);
  EXPECT_EQ(LinesOf(*memo), (Lines{""}));
}

TEST_F(MemoTest, KeysDoNotReachTheHooksButPressesDo) {
  struct Log : CObject {
    void Down(CControl*, CInt, CShiftStateSet) { ++keys; }
    void Typed(CControl*, CStr) { ++chars; }
    void Pressed(CControl*, CInt, CShiftStateSet, CPoint) { ++presses; }
    int keys = 0, chars = 0, presses = 0;
  } log;
  memo->OnKeyDown.Set(&log, &Log::Down);
  memo->OnKeyUp.Set(&log, &Log::Down);
  memo->OnKeyPress.Set(&log, &Log::Typed);
  memo->OnMouseDown.Set(&log, &Log::Pressed);
  Focus();
  gui.Type(*root, "ab");
  gui.PressKey(*root, kLeft);
  EXPECT_EQ(log.keys, 0);
  EXPECT_EQ(log.chars, 0);
  EXPECT_EQ(log.presses, 1);
}

// [SECTION] Presses

TEST_F(MemoTest, APressPutsTheCaretAtTheNearerEdgeOfTheCharacterUnderIt) {
  memo->SetText("abcd\nxy\n");
  const int a = 2 + Width("a"), b = 2 + Width("ab");  // the cell of the b
  ASSERT_GT(b - a, 2);
  struct Case {
    const char* what;
    int x, y;
    int line, column;
  } cases[] = {
      {"the left half of b", a + 1, 1, 0, 1},
      {"the right half of b", b - 1, 1, 0, 2},
      {"the first cell starts 2 units in", 2, 1, 0, 0},
      {"less than 2 units in gives the line's end", 1, 1, 0, 4},
      {"right of the text gives the line's end", 150, 1, 0, 4},
      {"the boundary of two lines belongs to the upper", a + 1, h, 0, 1},
      {"just below it, the lower line", a + 1, h + 1, 1, 1},
      {"below the last line, the last line", a + 1, 3 * h, 1, 1},
      {"far below, the last line's end", 150, 100, 1, 2},
  };
  for (const Case& c : cases) {
    PutCaret(0, 0);
    PressAt(c.x, c.y);
    EXPECT_EQ(memo->CaretLine, c.line) << c.what;
    EXPECT_EQ(memo->CaretColumn, c.column) << c.what;
  }
}

TEST_F(MemoTest, APointExactlyBetweenTwoEdgesGoesAfterTheCharacter) {
  // A text of one character whose width is even has a middle on a whole unit.
  for (const char* character : {"m", "w", "n", "o", "a", "b", "H", "M"}) {
    const int width = Width(character);
    if (width % 2 != 0) continue;
    memo->SetText(character);
    PressAt(2 + width / 2, 1);
    EXPECT_EQ(memo->CaretColumn, 1) << character;
    PressAt(2 + width / 2 - 1, 1);
    EXPECT_EQ(memo->CaretColumn, 0) << character;
    return;
  }
  GTEST_SKIP() << "no test character of even width in this font";
}

TEST_F(MemoTest, PressesAreMeasuredInTheTextFontWhateverFontWasSelectedLast) {
  memo->SetText("abcd");
  AddFont(*root, "Heading", 30);
  const int b = 2 + Width("ab");
  gui.RunUntilIdle();
  root->GetCanvas()->SelectFontByName("Heading");
  PressAt(b - 1, 1);  // the right half of the b
  EXPECT_EQ(memo->CaretColumn, 2);
}

// [SECTION] Focus and painting

TEST_F(MemoTest, APressTakesTheFocusWithTheTimerAndTheCaretAndAnotherPanelTakesThemAway) {
  CKeyboardCursor& caret = *gui.App().KeyboardCursor;
  auto* button = new CButton(root.get());
  button->SetBounds(150, 140, 40, 9, true);
  PutCaret(2, 1);
  Focus();
  EXPECT_TRUE(memo->Focused);
  EXPECT_EQ(caret.GetControl(), memo);
  ASSERT_NE(root->View->FocusTimer, nullptr);
  EXPECT_TRUE(root->View->FocusTimer->Enabled());
  EXPECT_EQ(root->View->FocusTimer->Interval(), 500);
  EXPECT_EQ(memo->CaretLine, 2) << "the press moved the caret to the point pressed";
  EXPECT_EQ(memo->CaretColumn, 3);

  gui.Click(*root, 160, 144);
  EXPECT_FALSE(memo->Focused);
  EXPECT_NE(caret.GetControl(), memo);
  EXPECT_EQ(root->View->GetFocused(), button);
  EXPECT_EQ(memo->CaretLine, 2) << "the caret survives losing the focus";
}

// The caret is a vertical line from 1 below its line's top, h - 2 high, at the width of the text
// before it; the keyboard cursor's blinking shows it in every other phase.
TEST_F(MemoTest, TheCaretBlinksAtTheWidthOfTheTextBeforeIt) {
  CKeyboardCursor& caret = *gui.App().KeyboardCursor;
  memo->SetText("ab\n\nxy");
  Focus();
  PutCaret(1, 0);  // the empty line: only the caret can be black there
  gui.PressKey(*root, kHome);
  if (!caret.Phase) gui.Advance(500);
  ASSERT_TRUE(caret.Phase);
  const CRect face = memo->Client->GetAbsRect();
  const int x = face.M1.X.Round().Value, top = face.M1.Y.Round().Value + h;
  const std::map<Pixel, char> legend = {{kWhite, '.'}, {kBlack, '#'}};
  std::vector<std::string> shown(size_t(h + 1), ".");
  for (int row = 1; row < h; ++row) shown[size_t(row)] = "#";
  EXPECT_EQ(gui.Picture(*root, x, top, 1, h + 1, legend), Rows(shown));
  EXPECT_EQ(gui.Picture(*root, x + 1, top, 1, h + 1, legend),
            Rows(std::vector<std::string>(size_t(h + 1), ".")))
      << "one unit wide";
  EXPECT_EQ(Corners(caret), Corners(CRect(0, h + 1, 0, 2 * h - 1)));

  gui.Advance(500);
  EXPECT_FALSE(caret.Phase);
  EXPECT_EQ(gui.Picture(*root, x, top, 1, h + 1, legend),
            Rows(std::vector<std::string>(size_t(h + 1), ".")))
      << "the hidden phase";

  gui.Type(*root, "xy");
  if (!caret.Phase) gui.Advance(500);
  EXPECT_EQ(Corners(caret), Corners(CRect(Width("xy"), h + 1, Width("xy"), 2 * h - 1)));
}

TEST_F(MemoTest, LinesArePaintedFromOneUnitIntoTheFaceAndCutAtItsBottom) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "Wide line\n";
  memo->SetText(CStr(std::string_view(text)));
  memo->Invalidate();
  const CRect face = memo->Client->GetAbsRect();
  const int left = face.M1.X.Round().Value, top = face.M1.Y.Round().Value;
  const int bottom = face.M2.Y.Round().Value;
  const std::map<Pixel, char> legend = {{kWhite, '.'}};
  const std::string blankLine = gui.Picture(*root, left, top, 1, h, legend);
  EXPECT_EQ(blankLine, Rows(std::vector<std::string>(size_t(h), ".")))
      << "the text starts 1 unit into the face";
  const std::string firstLine = gui.Picture(*root, left + 1, top, Width("Wide line"), h, legend);
  EXPECT_NE(firstLine.find('?'), std::string::npos) << "the first line is drawn at the top";
  const std::string below = gui.Picture(*root, left, bottom + 1, 60, 4, kGreys);

  memo->SetText("");
  memo->Invalidate();
  EXPECT_EQ(gui.Picture(*root, left, bottom + 1, 60, 4, kGreys), below)
      << "no line is drawn below the face";
}

// [SECTION] Scrolling

class MemoScrollTest : public MemoTest {
 protected:
  // Forty lines told apart by their widths: line i holds i % 9 + 1 letters W.
  MemoScrollTest() {
    std::string text;
    for (int i = 0; i < 40; ++i) text += LineText(i) + "\n";
    memo->SetText(CStr(std::string_view(text)));
    Focus();
    fit = (memo->Client->GetHeight().Round().Value + 1) / h;
  }

  static std::string LineText(int i) { return std::string(size_t(i % 9 + 1), 'W'); }

  // The width of the ink in row r of the face, from the face's left edge.
  int InkedWidth(int r) {
    const CRect face = memo->Client->GetAbsRect();
    const int left = face.M1.X.Round().Value, right = face.M2.X.Round().Value;
    const int top = face.M1.Y.Round().Value + r * h;
    int inked = 0;
    for (int y = top + 1; y < top + h - 1; ++y)
      for (int x = left; x <= right; ++x)
        if (gui.PixelAt(*root, x, y) != kWhite) inked = std::max(inked, x - left + 1);
    return inked;
  }

  // Row r of the face shows line i: its ink ends where the text of line i ends, give or take
  // the glyph's side bearing.
  void ExpectRowShows(int r, int i, const char* what) {
    const int expected = 1 + Width(LineText(i).c_str());
    EXPECT_NEAR(InkedWidth(r), expected, 2) << what << ": row " << r << " shows line " << i;
  }

  int fit = 0;
};

TEST_F(MemoScrollTest, ACaretMovedPastTheBottomScrollsTheViewByLines) {
  ASSERT_GE(fit, 4);
  ASSERT_LT(fit, 40);
  PutCaret(0, 0);
  gui.PressKey(*root, kHome);
  EXPECT_EQ(memo->VertBar->Max, CFloat(40));
  EXPECT_EQ(memo->VertBar->Page, CFloat(fit));
  EXPECT_EQ(memo->VertBar->Position, CFloat(0));
  for (int i = 0; i < fit - 1; ++i) gui.PressKey(*root, kDown);
  EXPECT_EQ(memo->VertBar->Position, CFloat(0)) << "the last whole line is still in view";
  gui.PressKey(*root, kDown);
  EXPECT_EQ(memo->CaretLine, fit);
  EXPECT_EQ(memo->VertBar->Position, CFloat(1));
  EXPECT_EQ(memo->TopLine(), 1);
  ExpectRowShows(0, 1, "one line down");
  ExpectRowShows(fit - 1, fit, "the caret's line at the bottom");

  gui.PressKey(*root, kPageDown);
  gui.PressKey(*root, kPageDown);
  gui.PressKey(*root, kPageDown);
  gui.PressKey(*root, kPageDown);
  EXPECT_EQ(memo->CaretLine, 39);
  EXPECT_EQ(memo->VertBar->Position, CFloat(40 - fit));
  ExpectRowShows(fit - 1, 39, "the last line at the bottom");
  gui.PressKey(*root, kPageUp);
  EXPECT_EQ(memo->CaretLine, 29);
  EXPECT_EQ(memo->VertBar->Position, CFloat(std::min(29, 40 - fit)));
}

TEST_F(MemoScrollTest, APressAfterScrollingLandsOnTheLineUnderThePointer) {
  PutCaret(30, 0);
  gui.PressKey(*root, kHome);
  const int top = memo->TopLine().Value;
  ASSERT_EQ(top, 30 - fit + 1);
  PressAt(100, 2 * h + h / 2);  // the third row
  EXPECT_EQ(memo->CaretLine, top + 2);
  EXPECT_EQ(memo->CaretColumn, int(LineText(top + 2).size()));
  EXPECT_EQ(memo->TopLine(), top) << "a press in view does not scroll";

  // The wheel turned towards the user moves the vertical bar 3 lines down a notch.
  gui.Wheel(*root, 60, 60, -1);
  EXPECT_EQ(memo->VertBar->Position, CFloat(top + 3));
  ExpectRowShows(0, top + 3, "after the wheel");
  PressAt(2 + Width("W") - 1, 1);  // the first row, the right half of the first W
  EXPECT_EQ(memo->CaretLine, top + 3);
  EXPECT_EQ(memo->CaretColumn, 1);
}

TEST_F(MemoScrollTest, TheBarScrollsTheTextAndTheNextKeyBringsTheCaretBack) {
  PutCaret(0, 1);
  gui.PressKey(*root, kEnd);
  const CRect arrow = memo->VertBar->ForwardButton->GetAbsRect();
  const int x = (arrow.M1.X + CFloat(5)).Round().Value, y = (arrow.M1.Y + CFloat(5)).Round().Value;
  gui.Click(*root, x, y);
  gui.Click(*root, x, y);
  EXPECT_EQ(memo->VertBar->Position, CFloat(2));
  ExpectRowShows(0, 2, "two arrow clicks");
  EXPECT_EQ(memo->CaretLine, 0) << "the bar moves the text, not the caret";
  EXPECT_EQ(memo->CaretColumn, 1);
  gui.Type(*root, "x");
  EXPECT_EQ(memo->VertBar->Position, CFloat(0));
  EXPECT_EQ(memo->Lines->GetString(0), "Wx");
}

TEST_F(MemoScrollTest, ALongLineScrollsAcrossAndPressesFollowTheShift) {
  memo->SetText(CStr(std::string(100, 'W')));
  gui.PressKey(*root, kEnd);
  const CFloat page = memo->Client->GetWidth() + CFloat(1);
  const CFloat left = memo->HorzBar->Position;
  EXPECT_EQ(memo->HorzBar->Max, CFloat(Width(std::string(100, 'W').c_str()) + 3));
  EXPECT_EQ(memo->HorzBar->Page, page);
  EXPECT_GT(left, CFloat(0));
  const CPoint caret = memo->CaretPoint(memo->CaretColumn, memo->CaretLine);
  EXPECT_GE(caret.X, CFloat(0));
  EXPECT_LE(caret.X, page - CFloat(2)) << "the caret stays in view";
  EXPECT_EQ(memo->VertBar->Max, CFloat(100)) << "one line fits: the vertical bar is as made";

  // The left half of the 96th W, wherever the text has been moved to.
  const int before = Width(std::string(95, 'W').c_str());
  PressAt(2 + before + 1 - left.Round().Value, 5);
  EXPECT_EQ(memo->CaretColumn, 95);
  gui.PressKey(*root, kHome);
  EXPECT_EQ(memo->HorzBar->Position, CFloat(0));
}

TEST_F(MemoTest, TextThatFitsLeavesTheBarsAndPixelsAsTheyWereMade) {
  memo->Invalidate();
  const CRect r = memo->GetAbsRect();
  const int x = r.M1.X.Round().Value, y = r.M1.Y.Round().Value;
  const int w = r.GetWidth().Round().Value + 1, height = r.GetHeight().Round().Value + 1;
  const std::map<Pixel, char> legend = {{kWhite, '.'}, {kBlack, '#'}, {kFace, '-'}};
  const std::string fitting = gui.Picture(*root, x, y, w, height, legend);
  EXPECT_EQ(memo->VertBar->Max, CFloat(100));
  EXPECT_EQ(memo->VertBar->Page, CFloat(10));
  EXPECT_EQ(memo->HorzBar->Max, CFloat(100));

  std::string text;
  for (int i = 0; i < 40; ++i) text += std::string(60, 'W') + "\n";
  memo->SetText(CStr(std::string_view(text)));
  memo->Invalidate();
  EXPECT_EQ(memo->VertBar->Max, CFloat(40));
  EXPECT_GT(memo->HorzBar->Max, memo->HorzBar->Page);

  memo->SetText("qwerty\nasd\nzxc");
  memo->Invalidate();
  EXPECT_EQ(memo->VertBar->Max, CFloat(100));
  EXPECT_EQ(memo->VertBar->Page, CFloat(10));
  EXPECT_EQ(memo->VertBar->Position, CFloat(0));
  EXPECT_EQ(memo->HorzBar->Max, CFloat(100));
  EXPECT_EQ(gui.Picture(*root, x, y, w, height, legend), fitting);
}

// [SECTION] Selection, clipboard, undo

class MemoEditTest : public MemoTest {
 protected:
  void SetUp() override {
    Focus();
    memo->SetText("abcd\nefgh\nijkl");
    PutCaret(0, 1);
  }
  void Key(int key, std::uint8_t shift = 0) { gui.PressKey(*root, key, shift); }
  std::string Selected() { return memo->SelectedText().ToStd(); }
};

TEST_F(MemoEditTest, ShiftWithTheCaretKeysSelectsAndTypingReplacesTheSelection) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, std::uint8_t>> keys;
    std::string selected;
    const char* typed;  // then typed, or a key by its name below
    int key;
    Lines result;
    int line, column;
  } cases[] = {
      {"Shift+Right twice, a letter", {{kRight, kShift}, {kRight, kShift}}, "bc", "X", 0,
       {"aXd", "efgh", "ijkl"}, 0, 2},
      {"Shift+Down, Backspace", {{kDown, kShift}}, "bcd\r\ne", nullptr, kBackspace,
       {"afgh", "ijkl"}, 0, 1},
      {"Shift+End, Delete", {{kEnd, kShift}}, "bcd", nullptr, kDelete, {"a", "efgh", "ijkl"}, 0, 1},
      {"Shift+Left from the caret backwards, Enter", {{kLeft, kShift}}, "a", nullptr, kEnter,
       {"", "bcd", "efgh", "ijkl"}, 1, 0},
      {"Ctrl+Shift+End to the end of the text", {{kEnd, kShift | kCtrl}}, "bcd\r\nefgh\r\nijkl",
       "z", 0, {"az"}, 0, 2},
      {"a move without Shift drops the selection", {{kRight, kShift}, {kRight, 0}}, "", "X", 0,
       {"abcXd", "efgh", "ijkl"}, 0, 4},
  };
  for (const Case& c : cases) {
    memo->SetText("abcd\nefgh\nijkl");
    PutCaret(0, 1);
    for (const auto& [key, shift] : c.keys) Key(key, shift);
    EXPECT_EQ(Selected(), c.selected) << c.what;
    EXPECT_EQ(memo->HasSelection(), !c.selected.empty()) << c.what;
    if (c.typed) gui.Type(*root, c.typed);
    else Key(c.key);
    EXPECT_EQ(LinesOf(*memo), c.result) << c.what;
    EXPECT_EQ(memo->CaretLine, c.line) << c.what;
    EXPECT_EQ(memo->CaretColumn, c.column) << c.what;
    EXPECT_FALSE(memo->HasSelection()) << c.what;
  }
}

TEST_F(MemoEditTest, ADragSelectsADoublePressAWordAndATriplePressALine) {
  memo->SetText("int main_1(x)\nnext");
  const int y = h / 2;
  // From the left half of the m to the right half of the n: "main".
  gui.Press(*root, 10 + 2 + Width("int ") + 1, 10 + y);
  gui.DragTo(*root, 10 + 2 + Width("int mai") + Width("n") - 1, 10 + y);
  gui.Release(*root, 10 + 2 + Width("int mai") + Width("n") - 1, 10 + y);
  EXPECT_EQ(Selected(), "main");
  gui.Advance(1000);  // far apart: a single press again

  const int x = 10 + 2 + Width("int ma") + 1;
  gui.Click(*root, x, 10 + y);
  EXPECT_FALSE(memo->HasSelection()) << "a single press selects nothing";
  gui.Click(*root, x, 10 + y);
  EXPECT_EQ(Selected(), "main_1") << "a double press: the word, underscore and digit included";
  gui.Click(*root, x, 10 + y);
  EXPECT_EQ(Selected(), "int main_1(x)\r\n") << "a triple press: the line with its break";
  gui.Type(*root, "k");
  EXPECT_EQ(LinesOf(*memo), (Lines{"knext"}));

  gui.Advance(1000);
  memo->SetText("abc def");
  PutCaret(0, 1);
  gui.Click(*root, 10 + 2 + Width("abc d") + 1, 10 + y, kShift);
  EXPECT_EQ(Selected(), "bc d") << "Shift with a press selects from the caret";
}

TEST_F(MemoEditTest, TheClipboardKeysGoThroughTheDesktopsClipboard) {
  Key(kRight, kShift);
  Key(kRight, kShift);  // "bc"
  Key(kC, kCtrl);
  EXPECT_EQ(platform::ClipboardText(), "bc");
  Key(kEnd);
  Key(kV, kCtrl);
  Key(kInsert, kShift);
  EXPECT_EQ(LinesOf(*memo)[0], "abcdbcbc");

  Key(kHome);
  Key(kDown, kShift);  // "abcdbcbc\r\n"
  Key(kX, kCtrl);
  EXPECT_EQ(LinesOf(*memo), (Lines{"efgh", "ijkl"}));
  EXPECT_EQ(platform::ClipboardText(), "abcdbcbc\r\n");
  Key(kDown);
  Key(kV, kCtrl);
  EXPECT_EQ(LinesOf(*memo), (Lines{"efgh", "abcdbcbc", "ijkl"}));

  Key(kEnd, kShift);  // "ijkl"
  Key(kDelete, kShift);
  EXPECT_EQ(platform::ClipboardText(), "ijkl");
  Key(kUp);
  Key(kHome);
  Key(kRight, kShift);
  Key(kInsert, kCtrl);
  EXPECT_EQ(platform::ClipboardText(), "a");
  EXPECT_EQ(LinesOf(*memo), (Lines{"efgh", "abcdbcbc", ""}));

  // Another program's text: characters without a cp1251 byte become '?', tabs two spaces, every
  // kind of line end a line break, and the typed character of Ctrl+V is no text.
  ASSERT_EQ(SDL_SetClipboardText("\xD0\xB4\xE6\x97\xA5\tb\r\nc\rd\ne"), 0);
  memo->SetText("");
  gui.Type(*root, "");
  Key(kV, kCtrl);
  EXPECT_EQ(LinesOf(*memo), (Lines{"\xE4?  b", "cd", "e"}));
  EXPECT_EQ(memo->CaretLine, 2);
  EXPECT_EQ(memo->CaretColumn, 1);
}

TEST_F(MemoEditTest, UndoGoesBackWordByWordAndRedoForwardAgain) {
  memo->SetText("");
  gui.Type(*root, "int xy");
  gui.PressKey(*root, kEnter);
  gui.Type(*root, "}");
  const Lines typed = {"int xy", "}"};
  EXPECT_EQ(LinesOf(*memo), typed);
  const std::vector<Lines> back = {
      {"int xy", ""}, {"int xy"}, {"int "}, {"int"}, {""},
  };
  for (const Lines& expected : back) {
    Key(kZ, kCtrl);
    EXPECT_EQ(LinesOf(*memo), expected);
  }
  Key(kZ, kCtrl);
  EXPECT_EQ(LinesOf(*memo), (Lines{""})) << "nothing more to undo";
  Key(kY, kCtrl);
  EXPECT_EQ(LinesOf(*memo), (Lines{"int"}));
  Key(kZ, kCtrl | kShift);
  EXPECT_EQ(LinesOf(*memo), (Lines{"int "}));
  for (int i = 0; i < 5; ++i) Key(kY, kCtrl);
  EXPECT_EQ(LinesOf(*memo), typed);
  EXPECT_EQ(memo->CaretLine, 1);
  EXPECT_EQ(memo->CaretColumn, 1);

  // A new change forgets what could be redone.
  Key(kZ, kCtrl);
  gui.Type(*root, "q");
  Key(kY, kCtrl);
  EXPECT_EQ(LinesOf(*memo), (Lines{"int xy", "q"}));
}

TEST_F(MemoEditTest, UndoingEveryKindOfChangeGivesTheTextBack) {
  const Lines start = LinesOf(*memo);
  Key(kEnd, kShift);
  gui.Type(*root, "X");             // a replaced selection
  Key(kEnter);                      // a split
  Key(kBackspace);                  // a join
  Key(kDown, kShift);
  Key(kTab);                        // indented lines
  Key(kTab, kShift);                // and unindented
  Key(kX, kCtrl);                   // a cut
  Key(kV, kCtrl);                   // a paste
  Key(kV, kCtrl);
  Key(kA, kCtrl);
  Key(kDelete);                     // everything
  EXPECT_EQ(LinesOf(*memo), (Lines{""}));
  for (int i = 0; i < 40; ++i) Key(kZ, kCtrl);
  EXPECT_EQ(LinesOf(*memo), start);
  for (int i = 0; i < 40; ++i) Key(kY, kCtrl);
  EXPECT_EQ(LinesOf(*memo), (Lines{""}));
}

TEST_F(MemoEditTest, TabAndShiftTabIndentAndUnindentTheLinesOfASelection) {
  memo->SetText("a\n b\n\n    c\nd");
  PutCaret(0, 0);
  Key(kDown, kShift);
  Key(kDown, kShift);
  Key(kDown, kShift);
  Key(kDown, kShift);  // lines 0 to 3, reaching line 4 only at its start
  Key(kTab);
  EXPECT_EQ(LinesOf(*memo), (Lines{"  a", "   b", "", "      c", "d"}));
  EXPECT_TRUE(memo->HasSelection()) << "the lines stay selected for the next Tab";
  Key(kTab, kShift);
  Key(kTab, kShift);
  EXPECT_EQ(LinesOf(*memo), (Lines{"a", "b", "", "  c", "d"}));

  memo->SetText("    x = 1;");
  PutCaret(0, 6);
  Key(kTab, kShift);
  EXPECT_EQ(LinesOf(*memo), (Lines{"  x = 1;"}));
  EXPECT_EQ(memo->CaretColumn, 4) << "the caret stays by its text";
}

TEST_F(MemoEditTest, FindSelectsTheNextMatchRoundTheEndAndGoToLineMovesTheCaret) {
  memo->SetText("one two\ntwo\nthree two");
  PutCaret(0, 0);
  EXPECT_TRUE(memo->FindNext("two"));
  EXPECT_EQ(Selected(), "two");
  EXPECT_EQ(memo->CaretLine, 0);
  EXPECT_EQ(memo->CaretColumn, 7);
  EXPECT_TRUE(memo->FindNext("two"));
  EXPECT_EQ(memo->CaretLine, 1);
  EXPECT_TRUE(memo->FindNext("two"));
  EXPECT_EQ(memo->CaretLine, 2);
  EXPECT_TRUE(memo->FindNext("two"));
  EXPECT_EQ(memo->CaretLine, 0) << "round the end to the top";
  EXPECT_FALSE(memo->FindNext("four"));
  EXPECT_FALSE(memo->FindNext(""));

  memo->GoToLine(3);
  EXPECT_EQ(memo->CaretLine, 2);
  EXPECT_EQ(memo->CaretColumn, 0);
  EXPECT_FALSE(memo->HasSelection());
  memo->GoToLine(99);
  EXPECT_EQ(memo->CaretLine, 2);
  memo->GoToLine(-5);
  EXPECT_EQ(memo->CaretLine, 0);
}

TEST_F(MemoEditTest, TheSelectionIsPaintedAsABandBehindItsText) {
  memo->SetText("abcd");
  const CRect face = memo->Client->GetAbsRect();
  const int left = face.M1.X.Round().Value + 1, top = face.M1.Y.Round().Value;
  const Pixel band = 0xB2CCF2;  // (0.7, 0.8, 0.95)
  const auto banded = [&](int x) { return gui.PixelAt(*root, x, top + h - 1) == band; };
  memo->Invalidate();
  EXPECT_FALSE(banded(left + Width("a") + 1));
  PutCaret(0, 1);
  Key(kRight, kShift);
  Key(kRight, kShift);
  EXPECT_FALSE(banded(left + Width("a") - 1)) << "before the selection";
  EXPECT_TRUE(banded(left + Width("a") + 1)) << "its first unit";
  EXPECT_TRUE(banded(left + Width("abc") - 2)) << "its last units";
  EXPECT_FALSE(banded(left + Width("abc") + 1)) << "after it";
}

// A line of 300,000 characters is answered as any line: End, a key, a press on what shows.
TEST_F(MemoEditTest, AVeryLongLineKeepsItsCaretAndPresses) {
  std::string text(300000, 'w');
  text[150000] = 'X';
  memo->SetText(CStr(std::string_view(text)));
  PutCaret(0, 0);
  Key(kEnd);
  EXPECT_EQ(memo->CaretColumn, 300000);
  gui.Type(*root, "z");
  EXPECT_EQ(memo->Lines->GetString(0).Length(), 300001);
  const CPoint caret = memo->CaretPoint(memo->CaretColumn, memo->CaretLine);
  EXPECT_GE(caret.X, CFloat(0));
  EXPECT_LE(caret.X, memo->Client->GetWidth()) << "the view follows the caret to the end";
  // A press on the right half of the character left of the caret puts it before the caret.
  const CFloat z = CFloat(Width("z"));
  PressAt((caret.X - z / CFloat(2) + CFloat(1)).Round().Value + 2, 1);
  EXPECT_EQ(memo->CaretColumn, 300001);
  PressAt((caret.X - z / CFloat(2) - CFloat(2)).Round().Value + 2, 1);
  EXPECT_EQ(memo->CaretColumn, 300000);
  Key(kHome);
  EXPECT_EQ(memo->LeftShift(), CFloat(0));
}

// A coloured long line is drawn a character at a time where the caret stands before each, from
// its start as from its middle; and a change the owner makes straight into it is what shows next.
TEST_F(MemoEditTest, ALongColouredLineShowsEachCharacterAtItsCaretPlaceAndTheOwnersChanges) {
  memo->CppColours = true;
  std::string text;
  while (text.size() < 3000) text += "x = Total + 12345; ";
  memo->SetText(CStr(std::string_view(text)));
  const CRect face = memo->Client->GetAbsRect();
  const int left = face.M1.X.Round().Value, top = face.M1.Y.Round().Value;
  const Pixel teal = 0x008080, navy = 0x000080;
  // The first column of the row of line 0 holding a pixel of `colour`, from x on; -1 for none.
  const auto firstOf = [&](Pixel colour, int from) {
    for (int x = from; x < face.M2.X.Round().Value; ++x)
      for (int y = top; y < top + h; ++y)
        if (gui.PixelAt(*root, x, y) == colour) return x;
    return -1;
  };
  for (const int column : {12, 19 * 80 + 12}) {  // the 1 of a 12345, near the start and far in
    PutCaret(0, column + 10);
    Key(kRight);  // the view follows the caret, the column in view left of it
    const int caret = left + memo->CaretPoint(column, 0).X.Round().Value;
    const int digit = firstOf(teal, caret - 4);
    ASSERT_GE(digit, 0) << column << " caret " << caret;
    EXPECT_GE(digit, caret) << "the digit starts right of the caret before it, column " << column;
    EXPECT_LT(digit, caret + Width("1")) << column;
  }

  PutCaret(0, 0);
  Key(kHome);
  EXPECT_EQ(firstOf(navy, left), -1) << "no keyword yet";
  std::string changed = text;
  changed.replace(0, 3, "int");
  memo->Lines->SetString(CStr(std::string_view(changed)), 0);
  memo->Invalidate();
  EXPECT_GE(firstOf(navy, left), 0) << "the owner's keyword is coloured";
}

}  // namespace
