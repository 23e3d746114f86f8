// Panels and buttons as a person uses them: Tab between panels, editing a line, pressing and
// dragging buttons, the toolbar's layout.
#include <vector>

#include "controls/KeyboardCursor.h"
#include "controls/Pic.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "controls/View.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Memo.h"
#include "widgets/ToolBar.h"

namespace {

using namespace qxtest;

constexpr int kTab = 15, kLeft = 75, kRight = 77, kHome = 71, kEnd = 79, kDelete = 83;

// Counts the clicks of the buttons it is attached to, by their number.
class Clicks : public CObject {
 public:
  void Clicked(CControl* sender) { numbers.push_back(sender->Number.Value); }
  std::vector<int> numbers;
};

template <class T>
T* Add(CControl* parent, double x, double y, double w, double h) {
  auto* c = new T(parent);
  c->SetBounds(x, y, w, h, true);
  return c;
}

void ClickOn(Gui& gui, CControl& root, CControl* c) {
  const CRect r = c->GetAbsRect();
  gui.Click(root, (r.M1.X + CFloat(5)).Round().Value, (r.M1.Y + CFloat(5)).Round().Value);
}

// [SECTION] Tab

TEST_F(WidgetTest, TabMovesTheFocusToTheNextSiblingPanelWrappingAndSkippingOtherControls) {
  auto* first = Add<CEdit>(root.get(), 10, 10, 60, 20);
  new CFillRectangle(root.get());  // not a panel: skipped
  auto* button = Add<CButton>(root.get(), 10, 40, 60, 20);
  auto* memo = Add<CMemo>(root.get(), 80, 10, 100, 60);
  auto* last = Add<CEdit>(root.get(), 10, 70, 60, 20);
  ClickOn(gui, *root, last);
  ASSERT_EQ(root->View->GetFocused(), last);

  const CControl* expected[] = {first, button, memo, memo};  // the memo keeps its Tabs
  for (const CControl* next : expected) {
    gui.PressKey(*root, kTab);
    EXPECT_EQ(root->View->GetFocused(), next);
  }
  ClickOn(gui, *root, last);
  gui.PressKey(*root, kTab);  // wrapping
  EXPECT_EQ(root->View->GetFocused(), first);
  EXPECT_TRUE(first->Focused);
  EXPECT_FALSE(last->Focused) << "the panel that gave the focus away is told";
  EXPECT_FALSE(button->FocusFrame->Visible);
}

// A label or a hidden button cannot hold the focus: Tab stopping there would strand the user.
TEST_F(WidgetTest, TabSkipsPanelsThatCannotTakeTheFocus) {
  auto* button = Add<CButton>(root.get(), 10, 10, 60, 20);
  Add<CLabel>(root.get(), 10, 40, 60, 20);
  auto* edit = Add<CEdit>(root.get(), 80, 40, 60, 20);
  Add<CPanel>(root.get(), 10, 70, 60, 20);
  Add<CButton>(root.get(), 80, 70, 60, 20)->Visible = false;
  Add<CLabel>(root.get(), 10, 100, 60, 20);
  ClickOn(gui, *root, button);
  ASSERT_EQ(root->View->GetFocused(), button);

  const CControl* expected[] = {edit, button, edit, button};  // wrapping past the last label
  for (const CControl* next : expected) {
    gui.PressKey(*root, kTab);
    EXPECT_EQ(root->View->GetFocused(), next);
  }
  for (CControl* c : {root->GetChild(1), root->GetChild(3), root->GetChild(5)})
    EXPECT_FALSE(static_cast<CPanel*>(c)->Focused) << c->ClassName().ToStd();

  // Among labels only, the edit keeps the focus.
  auto* alone = new CControl(root.get());
  Add<CLabel>(alone, 0, 0, 60, 20);
  auto* only = Add<CEdit>(alone, 0, 30, 60, 20);
  Add<CLabel>(alone, 0, 60, 60, 20);
  only->SetFocused(true);
  gui.PressKey(*root, kTab);
  EXPECT_EQ(root->View->GetFocused(), only);
}

TEST_F(WidgetTest, TabbingIntoAnEditKeepsItsText) {
  auto* first = Add<CEdit>(root.get(), 10, 10, 60, 20);
  auto* second = Add<CEdit>(root.get(), 10, 40, 60, 20);
  first->SetText("Иван"_cp);
  second->SetText("Петров"_cp);
  ClickOn(gui, *root, first);
  gui.PressKey(*root, kTab);  // its character reaches the edit that just took the focus
  ASSERT_EQ(root->View->GetFocused(), second);
  EXPECT_EQ(second->GetText(), "Петров"_cp);
  EXPECT_TRUE(second->ReplaceOnType) << "the next typed character still replaces the text";
  gui.Type(*root, "\xB9");
  EXPECT_EQ(second->GetText().ToStd(), "\xB9");
}

TEST_F(WidgetTest, APanelWithoutPanelSiblingsKeepsTheFocus) {
  auto* alone = Add<CEdit>(root.get(), 10, 10, 60, 20);
  Add<CFillRectangle>(root.get(), 10, 40, 60, 20);
  ClickOn(gui, *root, alone);
  gui.PressKey(*root, kTab);
  EXPECT_EQ(root->View->GetFocused(), alone);
  EXPECT_TRUE(alone->Focused);
}

// [SECTION] Edit

class EditTest : public WidgetTest {
 protected:
  EditTest() { edit = Add<CEdit>(root.get(), 10, 10, 100, 20); }

  CEdit* edit;
};

TEST_F(EditTest, KeysMoveTheCaretAndEditAtItsEnds) {
  struct Case {
    const char* what;
    std::vector<int> keys;  // scan codes; 14 is Backspace, which also types its character
    const char* text;
    int caret;
  } cases[] = {
      {"Right at the end stays at the end", {kEnd, kRight, kRight}, "Edit1", 5},
      {"Left at 0 stays at 0", {kHome, kLeft}, "Edit1", 0},
      {"Delete at the end changes nothing", {kEnd, kDelete}, "Edit1", 5},
      {"Backspace at 0 changes nothing", {kHome, 14}, "Edit1", 0},
      {"Delete takes the character after the caret", {kHome, kRight, kDelete}, "Eit1", 1},
      {"Backspace takes the character before it", {kEnd, kLeft, 14}, "Edi1", 3},
      {"Home and End", {kEnd, kLeft, kLeft, kHome, kRight, kRight}, "Edit1", 2},
  };
  for (const Case& c : cases) {
    edit->SetText("Edit1");
    edit->CaretPos = 0;
    ClickOn(gui, *root, edit);
    for (const int key : c.keys) {
      if (key == 14)
        gui.Type(*root, "\b");
      else
        gui.PressKey(*root, key);
    }
    EXPECT_EQ(edit->GetText(), c.text) << c.what;
    EXPECT_EQ(edit->CaretPos, c.caret) << c.what;
  }
}

TEST_F(EditTest, TypingIntoAFreshlyFocusedEditInsertsAtTheCaret) {
  edit->CaretPos = 2;
  ClickOn(gui, *root, edit);
  EXPECT_TRUE(edit->ReplaceOnType);
  gui.Type(*root, "ab");
  EXPECT_EQ(edit->GetText(), "Edabit1");
  EXPECT_EQ(edit->CaretPos, 4);
}

TEST_F(EditTest, OnlyACharacterWithoutAKeyDownReplacesTheText) {
  ClickOn(gui, *root, edit);
  gui.Type(*root, "\xB9");  // the numero sign: no key of either layout types it alone
  EXPECT_EQ(edit->GetText().ToStd(), "\xB9");
  EXPECT_EQ(edit->CaretPos, 1);
  gui.Type(*root, "\xB9");  // still no key-down: replaced again
  EXPECT_EQ(edit->GetText().ToStd(), "\xB9");
  gui.Type(*root, "a");  // its key-down ends the replacing
  EXPECT_EQ(edit->GetText().ToStd(),
            "\xB9"
            "a");
}

TEST_F(EditTest, ControlCharactersAreNotInsertedAndKeysReachTheHooks) {
  struct Log : CObject {
    void Down(CControl*, CInt key, CShiftStateSet) { keys.push_back(key.Value); }
    void Press(CControl*, CStr ch) { chars += ch.ToStd(); }
    std::vector<int> keys;
    std::string chars;
  } log;
  edit->OnKeyDown.Set(&log, &Log::Down);
  edit->OnKeyPress.Set(&log, &Log::Press);
  ClickOn(gui, *root, edit);
  gui.PressKey(*root, kEnd);
  gui.Type(*root, "\r\x1bx");
  EXPECT_EQ(edit->GetText(), "Edit1x");
  EXPECT_EQ(log.keys, (std::vector<int>{kEnd, 28, 1, 45}));
  EXPECT_EQ(log.chars, "\r\x1bx");
}

TEST_F(EditTest, FocusTakesTheCaretAndLosingItGivesItBack) {
  CKeyboardCursor& caret = *gui.App().KeyboardCursor;
  auto* other = Add<CButton>(root.get(), 10, 50, 60, 20);
  ClickOn(gui, *root, edit);
  EXPECT_EQ(caret.GetControl(), edit);
  ASSERT_NE(root->View->FocusTimer, nullptr);
  EXPECT_EQ(root->View->FocusTimer->Interval(), 500);
  ClickOn(gui, *root, other);
  EXPECT_EQ(caret.GetControl(), nullptr);
  EXPECT_FALSE(edit->Focused);
  EXPECT_EQ(root->View->GetFocused(), other);
  EXPECT_TRUE(other->FocusFrame->Visible);
}

TEST_F(EditTest, ASelectionIsReplacedByTypingAndDroppedByAPressOrAMovement) {
  const struct {
    const char* what;
    int start, length;      // the selection made; length -1: SelectAll
    std::vector<int> keys;  // scan codes before the typing; 14 is Backspace with its character
    const char* typed;
    const char* text;
    int caret;
  } cases[] = {
      {"typing replaces all", 0, -1, {}, "ab", "ab", 2},
      {"Backspace takes all", 0, -1, {14}, "", "", 0},
      {"Delete takes all", 0, -1, {kDelete}, "", "", 0},
      {"Backspace, then typing", 0, -1, {14}, "x", "x", 1},
      {"a part replaced", 1, 2, {}, "x", "Ext1", 2},
      {"a part deleted, and no more", 1, 2, {kDelete}, "", "Et1", 1},
      {"Left drops it and moves from the caret", 0, -1, {kLeft}, "x", "Editx1", 5},
      {"Home drops it", 0, -1, {kHome}, "x", "xEdit1", 1},
      {"End drops it", 0, -1, {kEnd}, "x", "Edit1x", 6},
      {"a press drops it", 0, -1, {-1}, "x", "Edit1x", 6},
  };
  for (const auto& c : cases) {
    edit->SetText("Edit1");
    edit->SetFocused(true);
    edit->SelectAll();
    if (c.length >= 0) {
      edit->SelStart = c.start;
      edit->SelLength = c.length;
    }
    for (const int key : c.keys) {
      if (key == -1)
        ClickOn(gui, *root, edit);
      else if (key == 14)
        gui.Type(*root, "\b");
      else
        gui.PressKey(*root, key);
    }
    gui.Type(*root, c.typed);
    EXPECT_EQ(edit->GetText(), c.text) << c.what;
    EXPECT_EQ(edit->CaretPos, c.caret) << c.what;
    EXPECT_EQ(edit->SelectedText(), "") << c.what;
    edit->SetFocused(false);
  }
}

// The selected characters show white on blue, and nothing is blue once the selection is gone.
TEST_F(EditTest, TheSelectionShowsUntilItIsDropped) {
  edit->SetText("WWWW");
  edit->SetFocused(true);
  const auto blues = [&] {
    int n = 0;
    for (int y = 12; y < 28; ++y)
      for (int x = 12; x < 108; ++x) n += gui.PixelAt(*root, x, y) == kBlue;
    return n;
  };
  root->Invalidate();
  EXPECT_EQ(blues(), 0);
  edit->SelectAll();
  root->Invalidate();
  CText measure(root.get());
  measure.Str = "WWWW";
  const CSize size = measure.GetTextSize();
  const int area = size.Width.Round().Value * size.Height.Round().Value;
  EXPECT_GT(blues(), area / 3) << "the selection's bar";
  EXPECT_LT(blues(), area) << "white letters on it";
  gui.PressKey(*root, kRight);
  EXPECT_EQ(blues(), 0);
  edit->SelStart = 1;
  edit->SelLength = 1;
  root->Invalidate();
  const int one = blues();
  EXPECT_GT(one, 0);
  edit->SetFocused(false);
  root->Invalidate();
  EXPECT_EQ(blues(), 0) << "losing the focus drops it";
}

// The caret is a black line one unit after the text before it, drawn in every second tick.
TEST_F(EditTest, TheCaretBlinksAfterTheTextBeforeIt) {
  edit->SetText("");
  ClickOn(gui, *root, edit);
  CKeyboardCursor& caret = *gui.App().KeyboardCursor;
  const int face = 12;  // the edit at 10 with its two-unit frame
  const auto column = [&](int x) {
    std::string pixels;
    for (int y = face + 2; y <= face + 16; y++)
      pixels += gui.PixelAt(*root, x, y) == kBlack ? '#' : '.';
    return pixels;
  };
  if (!caret.Phase) gui.Advance(500);
  ASSERT_TRUE(caret.Phase);
  const int height = caret.GetHeight().Round().Value;
  ASSERT_GT(height, 8) << "as tall as a line of the font";
  EXPECT_EQ(Corners(caret), Corners(CRect(4, 2, 4, 2 + height)));
  EXPECT_EQ(column(face + 4).substr(0, height + 1), std::string(height + 1, '#'));
  gui.Advance(500);
  EXPECT_EQ(column(face + 4), std::string(15, '.')) << "the hidden phase";

  gui.Type(*root, "ab");
  if (!caret.Phase) gui.Advance(500);
  CText measure(root.get());
  measure.Str = "ab";
  const int width = measure.GetTextSize().Width.Round().Value;
  EXPECT_EQ(Corners(caret), Corners(CRect(width + 4, 2, width + 4, 2 + height)));
  EXPECT_EQ(column(face + width + 4).substr(0, height + 1), std::string(height + 1, '#'));
}

// [SECTION] Buttons

TEST_F(WidgetTest, AButtonClicksOnlyWhenReleasedInsideAndLooksPressedOnlyWhileInside) {
  Clicks clicks;
  auto* button = Add<CButton>(root.get(), 20, 20, 60, 25);
  button->Number = 7;
  button->OnClick.Set(&clicks, &Clicks::Clicked);
  // The outer bevel's top-left pixel: white released, black pressed.
  const auto corner = [&] { return gui.PixelAt(*root, 20, 20); };
  struct Step {
    const char* what;
    char action;  // p press, m move, r release
    int x, y;
    Pixel corner;
    const char* caption;
    size_t clicks;
  } steps[] = {
      {"pressed", 'p', 40, 30, kBlack, "(3,3)", 0},
      {"dragged out", 'm', 150, 100, kWhite, "(3,3)", 0},  // the caption follows one move late
      {"still out", 'm', 151, 100, kWhite, "(2,2)", 0},
      {"released out: no click", 'r', 151, 100, kWhite, "(2,2)", 0},
      {"pressed again", 'p', 40, 30, kBlack, "(3,3)", 0},
      {"out", 'm', 150, 100, kWhite, "(3,3)", 0},
      {"back in", 'm', 41, 31, kBlack, "(2,2)", 0},
      {"in", 'm', 42, 31, kBlack, "(3,3)", 0},
      {"released in: a click", 'r', 42, 31, kWhite, "(2,2)", 1},
  };
  for (const Step& s : steps) {
    if (s.action == 'p') gui.Press(*root, s.x, s.y);
    if (s.action == 'm') gui.DragTo(*root, s.x, s.y);
    if (s.action == 'r') gui.Release(*root, s.x, s.y);
    EXPECT_EQ(corner(), s.corner) << s.what;
    EXPECT_EQ(Point(button->Caption->M1), s.caption) << s.what;
    EXPECT_EQ(clicks.numbers.size(), s.clicks) << s.what;
  }
  EXPECT_EQ(clicks.numbers, std::vector<int>{7});
}

TEST_F(WidgetTest, AButtonIsBuiltWithItsCaptionPictureAndHiddenFocusFrame) {
  auto* button = new CButton(root.get());
  EXPECT_EQ(Corners(*button), "(0,0)-(100,25)");
  EXPECT_EQ(button->Caption->Str, "Button1");
  EXPECT_TRUE(button->Caption->Center);
  EXPECT_EQ(Corners(*button->Caption), "(2,2)-(98,23)");
  EXPECT_EQ(Corners(*button->FocusFrame), "(3,3)-(97,22)");
  EXPECT_EQ(button->FocusFrame->Style, -1);
  EXPECT_FALSE(button->FocusFrame->Visible);
  EXPECT_EQ(Corners(*button->Picture), "(0,0)-(16,16)");
  EXPECT_FALSE(button->Picture->Centered);
  EXPECT_EQ(button->ChildCount(), 0) << "everything it shows is a frame part";

  auto* edit = new CEdit(root.get());
  EXPECT_EQ(Corners(*edit), "(0,0)-(100,20)");
  EXPECT_EQ(edit->GetText(), "Edit1");
  EXPECT_EQ(edit->Caption->FontNumber, 0) << "the font registered as Text";
  EXPECT_EQ(Corners(*edit->Caption), "(3,1)-(93,15)");
}

TEST_F(WidgetTest, TheFocusedButtonShowsItsDottedFrame) {
  auto* button = Add<CButton>(root.get(), 20, 20, 60, 25);
  button->Caption->Str = "";
  ClickOn(gui, *root, button);
  ASSERT_TRUE(button->FocusFrame->Visible);
  // The frame at (3, 3) of the button: black and white alternating along its top edge.
  std::string top;
  for (int x = 23; x < 31; x++) top += gui.PixelAt(*root, x, 23) == kBlack ? '#' : '.';
  EXPECT_TRUE(top == "#.#.#.#." || top == ".#.#.#.#") << top;
}

// The dialog's 50 by 20 buttons, an 80-wide OK, the default and a wide one.
TEST_F(WidgetTest, TheFocusFrameKeepsThreeUnitsInsideButtonsOfEverySize) {
  const struct { int w, h; } sizes[] = {{50, 20}, {80, 25}, {100, 25}, {180, 40}};
  for (const auto& size : sizes) {
    const std::string what = std::to_string(size.w) + " by " + std::to_string(size.h);
    auto* button = Add<CButton>(root.get(), 10, 10, size.w, size.h);
    button->Caption->Str = "";
    ClickOn(gui, *root, button);
    ASSERT_TRUE(button->FocusFrame->Visible) << what;
    EXPECT_EQ(Corners(*button->FocusFrame), Corners(CRect(3, 3, size.w - 3, size.h - 3))) << what;

    // Black dots on the frame's lines, none on the face beside them.
    const int right = 10 + size.w - 3, bottom = 10 + size.h - 3;
    const auto dots = [&](int x0, int y0, int dx, int dy, int n) {
      std::string s;
      for (int i = 0; i < n; i++)
        s += gui.PixelAt(*root, x0 + i * dx, y0 + i * dy) == kBlack ? '#' : '.';
      return s;
    };
    const int down = size.h - 10, across = size.w - 10;  // clear of the corners
    for (const std::string& line :
         {dots(right, 15, 0, 1, down), dots(15, bottom, 1, 0, across), dots(13, 15, 0, 1, down)}) {
      EXPECT_EQ(line.find("##"), std::string::npos) << what << ": " << line;
      EXPECT_EQ(line.find(".."), std::string::npos) << what << ": " << line;
    }
    for (const std::string& line :
         {dots(right - 1, 15, 0, 1, down), dots(right + 1, 15, 0, 1, down),
          dots(15, bottom - 1, 1, 0, across)})
      EXPECT_EQ(line.find('#'), std::string::npos) << what << ": " << line;

    gui.Press(*root, 15, 15);  // pressed, the frame moves with the caption and keeps its size
    EXPECT_EQ(Corners(*button->FocusFrame), Corners(CRect(4, 4, size.w - 2, size.h - 2))) << what;
    gui.Release(*root, 15, 15);
    delete button;
  }
}

TEST_F(WidgetTest, ASpeedButtonLooksFlatAndSinksSoftly) {
  auto* button = Add<CSpeedButton>(root.get(), 20, 20, 24, 24);
  root->Invalidate();
  EXPECT_EQ(gui.PixelAt(*root, 20, 20), kWhite);
  EXPECT_EQ(gui.PixelAt(*root, 44, 44), kShadow);
  EXPECT_EQ(gui.PixelAt(*root, 21, 21), kFace) << "no inner bevel";
  gui.Press(*root, 30, 30);
  EXPECT_EQ(gui.PixelAt(*root, 20, 20), kShadow);
  EXPECT_EQ(gui.PixelAt(*root, 44, 44), kWhite);
  EXPECT_EQ(Point(button->Picture->M1), "(1,1)");
  gui.Release(*root, 30, 30);
  EXPECT_EQ(gui.PixelAt(*root, 20, 20), kWhite);
  EXPECT_EQ(Point(button->Picture->M1), "(0,0)");
}

// [SECTION] Toolbar

TEST_F(WidgetTest, AToolbarPlacesSquareButtonsFromTheLeftWithRoomForSeparators) {
  Clicks clicks;
  auto* bar = Add<CToolBar>(root.get(), 0, 0, 200, 28);
  const CNotifyHook handler(&clicks, &Clicks::Clicked);
  std::vector<CSpeedButton*> buttons;
  buttons.push_back(bar->AddButton("C:\\Qxe\\Pics\\16x16silver\\New.bmp", 1, handler));
  buttons.push_back(bar->AddButton("C:\\Qxe\\Pics\\16x16silver\\Open.bmp", 2, handler));
  buttons.push_back(bar->AddButton("C:\\Qxe\\Pics\\16x16silver\\Save.bmp", 3, handler));
  bar->AddSeparator();
  buttons.push_back(bar->AddButton("C:\\Qxe\\Pics\\16x16silver\\About.bmp", 4, handler));
  const char* expected[] = {"(2,2)-(26,26)", "(28,2)-(52,26)", "(54,2)-(78,26)", "(88,2)-(112,26)"};
  for (int i = 0; i < 4; i++) EXPECT_EQ(Corners(*buttons[i]), expected[i]) << i;
  EXPECT_EQ(bar->NextX, 114);
  EXPECT_EQ(buttons[3]->Picture->FileName, "C:\\Qxe\\Pics\\16x16silver\\About.bmp");

  gui.Click(*root, 100, 14);
  gui.Click(*root, 30, 14);
  gui.Click(*root, 82, 14);  // the separator: no button
  EXPECT_EQ(clicks.numbers, (std::vector<int>{4, 2}));
}

}  // namespace
