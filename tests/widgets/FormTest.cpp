// Forms: moving by the caption with the outline on the window, resizing by the grips, the window
// buttons and closing.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "controls/Pic.h"
#include "controls/Text.h"
#include "controls/View.h"
#include "core/Cp1251.h"
#include "graphics/GDI.h"
#include "graphics/Timer.h"
#include "platform/Window.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Form.h"

namespace {

using namespace qxtest;

// A main form of 400 by 300 with a child form of 150 by 100 at (50, 50) inside it.
class FormTest : public testing::Test {
 protected:
  FormTest() {
    InstallPictures();
    main = std::make_unique<CForm>(nullptr);
    main->SetBounds(0, 0, 400, 300, true);
    AddFont(*main, "Text", 13);
    child = new CForm(main.get());
    child->SetBounds(50, 50, 150, 100, true);
    main->Invalidate();
  }

  CPoint Middle(CControl* c) {
    const CRect r = c->GetAbsRect();
    return CPoint(((r.M1.X + r.M2.X) / CFloat(2)).Round(), ((r.M1.Y + r.M2.Y) / CFloat(2)).Round());
  }
  int X(const CPoint& p) { return p.X.Round().Value; }
  int Y(const CPoint& p) { return p.Y.Round().Value; }

  void Drag(CControl& window, CPoint from, int dx, int dy) {
    gui.Press(window, X(from), Y(from));
    gui.DragTo(window, X(from) + dx / 2, Y(from) + dy / 2);
    gui.DragTo(window, X(from) + dx, Y(from) + dy);
    gui.Release(window, X(from) + dx, Y(from) + dy);
  }

  // The caption bar away from its icon and buttons.
  CPoint OnCaption(CForm* form) {
    const CRect r = form->Caption->GetAbsRect();
    return CPoint(r.M1.X + CFloat(30), r.M1.Y + CFloat(8));
  }

  std::vector<Pixel> WindowPixels(CControl& window) {
    const platform::Surface* image = platform::WindowImage(Gui::WindowOf(window));
    return image ? image->pixels : std::vector<Pixel>();
  }

  Gui gui;
  std::unique_ptr<CForm> main;
  CForm* child;
};

TEST_F(FormTest, AFormIsBuiltWithItsCaptionGripsAndClientArea) {
  auto* form = new CForm(main.get());
  EXPECT_EQ(gui.App().MainForm, main.get()) << "the first form built is the main form";
  EXPECT_EQ(Corners(*form->Caption), "(4,3)-(96,20)");
  EXPECT_EQ(form->Caption->Title->Str, "Form1");
  EXPECT_EQ(Corners(*form->Client), "(4,22)-(96,97)");
  EXPECT_GE(form->IndexOfChild(form->Client), 0) << "the client face is an ordinary child";
  // Laid out on a 100-wide bar, then kept 3, 18 + 3 and 34 + 3 units from the bar's right edge.
  EXPECT_EQ(Corners(*form->Caption->CloseButton), "(74,2)-(89,15)");
  EXPECT_EQ(Corners(*form->Caption->MaximizeButton), "(56,2)-(71,15)");
  EXPECT_EQ(Corners(*form->Caption->MinimizeButton), "(40,2)-(55,15)");
  EXPECT_EQ(Corners(*form->Caption->Icon), "(2,1)-(17,16)") << "a 16 by 16 icon";
  EXPECT_FALSE(form->Caption->RestoreButton->Visible);
  const struct {
    const char* corners;
    int cursor;
  } grips[8] = {{"(0,0)-(4,100)", -9},    {"(0,0)-(100,3)", -7},    {"(96,0)-(100,100)", -9},
                {"(0,97)-(100,100)", -7}, {"(0,0)-(4,3)", -8},      {"(96,0)-(100,3)", -6},
                {"(0,97)-(4,100)", -6},   {"(96,97)-(100,100)", -8}};
  for (int i = 0; i < 8; i++) {
    EXPECT_EQ(Corners(*form->Grips[i]), grips[i].corners) << i;
    EXPECT_EQ(form->Grips[i]->Cursor, grips[i].cursor) << i;
  }
  // On a 150-wide form the buttons keep their distance to the right edge.
  EXPECT_EQ(Corners(*child->Caption->CloseButton), "(124,2)-(139,15)");
  EXPECT_EQ(Corners(*child->Grips[CForm::BottomRight]), "(146,97)-(150,100)");
}

TEST_F(FormTest, DraggingTheCaptionMovesTheFormInsideItsParent) {
  struct Case {
    const char* what;
    int dx, dy;
    const char* corner;
  } cases[] = {
      {"inside", 10, 20, "(60,70)"},
      {"off the left and top edges: at 0", -100, -90, "(0,0)"},
      {"off the right and bottom edges: the parent's size less the form's", 400, 300, "(250,200)"},
      {"off the right only", 500, -10, "(250,40)"},
  };
  for (const Case& c : cases) {
    child->SetBounds(50, 50, 150, 100, true);
    Drag(*main, OnCaption(child), c.dx, c.dy);
    EXPECT_EQ(Point(child->M1), c.corner) << c.what;
    EXPECT_EQ(Corners(CRect(0, 0, child->GetWidth(), child->GetHeight())), "(0,0)-(150,100)")
        << c.what;
    EXPECT_FALSE(child->Moving) << c.what;
  }
}

TEST_F(FormTest, AFormWithoutAParentIsOnlyKeptRightOfAndBelowTheScreensCorner) {
  main->SetBounds(100, 100, 400, 300, true);
  Drag(*main, OnCaption(main.get()), -150, -120);
  EXPECT_EQ(Point(main->M1), "(0,0)");
  Drag(*main, OnCaption(main.get()), 900, 700);
  EXPECT_EQ(Point(main->M1), "(900,700)");
  const auto bounds = platform::WindowBounds(Gui::WindowOf(*main));
  ASSERT_TRUE(bounds.has_value());
  EXPECT_EQ(bounds->x, 900) << "the window moved with the form";
}

TEST_F(FormTest, WhileMovingOnlyADottedOutlineIsDrawnAndThePixelsUnderItComeBack) {
  const std::vector<Pixel> before = WindowPixels(*main);
  const CPoint from = OnCaption(child);
  gui.Press(*main, X(from), Y(from));
  EXPECT_EQ(WindowPixels(*main), before) << "a press draws nothing";
  gui.DragTo(*main, X(from) + 20, Y(from) + 30);
  // The outline at (70, 80)-(220, 180): black and white alternating along its top edge.
  std::string top;
  for (int x = 100; x < 108; x++) top += gui.PixelAt(*main, x, 80) == kBlack ? '#' : '.';
  EXPECT_TRUE(top == "#.#.#.#." || top == ".#.#.#.#") << top;
  EXPECT_EQ(Point(child->M1), "(50,50)") << "the form itself waits for the release";

  gui.DragTo(*main, X(from) + 60, Y(from) + 40);
  const std::vector<Pixel> now = WindowPixels(*main);
  ASSERT_EQ(now.size(), before.size());
  const int width = platform::WindowImage(Gui::WindowOf(*main))->width;
  int changed = 0, outside = 0;
  for (size_t i = 0; i < now.size(); i++) {
    if (now[i] == before[i]) continue;
    changed++;
    const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
    const bool onOutline = ((x == 110 || x == 260) && y >= 90 && y <= 190) ||
                           ((y == 90 || y == 190) && x >= 110 && x <= 260);
    if (!onOutline) outside++;
  }
  EXPECT_GT(changed, 100);
  EXPECT_EQ(outside, 0) << "everything but the new outline is as it was";
  gui.Release(*main, X(from) + 60, Y(from) + 40);
  EXPECT_EQ(Point(child->M1), "(110,90)");
}

// The caret of a focused edit repaints the window every 500 ms while the user drags.
TEST_F(FormTest, TheOutlineOutlivesRepaintsDuringADrag) {
  auto* edit = new CEdit(main->Client);
  edit->SetBounds(276, 178, 80, 20, true);  // (280, 200) on the window, clear of the outlines
  main->Invalidate();
  gui.Click(*main, 300, 210);
  ASSERT_EQ(main->View->Focused, edit);
  gui.Advance(500);
  const std::vector<Pixel> before = WindowPixels(*main);

  auto outlineTop = [&](int left, int y) {
    std::string top;
    for (int x = left; x < left + 8; x++) top += gui.PixelAt(*main, x, y) == kBlack ? '#' : '.';
    return top;
  };
  const CPoint from = OnCaption(child);
  gui.Press(*main, X(from), Y(from));
  gui.DragTo(*main, X(from) + 20, Y(from) + 30);
  for (int tick = 0; tick < 2; tick++) {
    gui.Advance(500);
    const std::string top = outlineTop(100, 80);
    EXPECT_TRUE(top == "#.#.#.#." || top == ".#.#.#.#") << "after tick " << tick << ": " << top;
  }

  // Back in the caret phase of `before`: moving the outline restores what the repaint drew.
  gui.DragTo(*main, X(from) + 60, Y(from) + 40);
  const std::vector<Pixel> now = WindowPixels(*main);
  ASSERT_EQ(now.size(), before.size());
  const int width = platform::WindowImage(Gui::WindowOf(*main))->width;
  int outside = 0;
  for (size_t i = 0; i < now.size(); i++) {
    const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
    const bool onOutline = ((x == 110 || x == 260) && y >= 90 && y <= 190) ||
                           ((y == 90 || y == 190) && x >= 110 && x <= 260);
    if (now[i] != before[i] && !onOutline) outside++;
  }
  EXPECT_EQ(outside, 0) << "no trace of the outline drawn before the repaints";
  const std::string top = outlineTop(120, 90);
  EXPECT_TRUE(top == "#.#.#.#." || top == ".#.#.#.#") << top;
  gui.Release(*main, X(from) + 60, Y(from) + 40);
  EXPECT_EQ(Point(child->M1), "(110,90)");
}

TEST_F(FormTest, TheOutlineOutlivesAPaintMessageDuringADrag) {
  const CPoint from = OnCaption(child);
  gui.Press(*main, X(from), Y(from));
  gui.DragTo(*main, X(from) + 20, Y(from) + 30);
  // The desktop asks for a paint: the window procedure flips the buffer once more after the
  // view's own repaint.
  platform::PostMessage({Gui::WindowOf(*main), platform::MessageKind::Paint, 0, 0});
  gui.RunUntilIdle();
  std::string top;
  for (int x = 100; x < 108; x++) top += gui.PixelAt(*main, x, 80) == kBlack ? '#' : '.';
  EXPECT_TRUE(top == "#.#.#.#." || top == ".#.#.#.#") << top;
  gui.Release(*main, X(from) + 20, Y(from) + 30);
}

TEST_F(FormTest, AGripShowsTheResizePointerOnlyWhileTheFormIsSizable) {
  CCanvas& canvas = *main->View->Canvas;
  const CPoint corner = Middle(child->Grips[CForm::BottomRight]);
  const CPoint side = Middle(child->Grips[CForm::Left]);
  const CPoint inside = Middle(child->Client);
  struct Case {
    bool sizable;
    CPoint at;
    int pointer;
  } cases[] = {
      {true, corner, -8}, {true, side, -9},  {true, inside, 0},
      {false, corner, 0}, {false, side, 0},  {false, inside, 0},
      {true, corner, -8}, {true, side, -9},  // sizable again
  };
  for (const Case& c : cases) {
    child->Sizable = c.sizable;
    gui.DragTo(*main, X(inside) + 1, Y(inside) + 1);
    gui.DragTo(*main, X(c.at), Y(c.at));
    EXPECT_EQ(canvas.GetCursor().Value, c.pointer) << c.sizable << " at " << Point(c.at);
  }
}

TEST_F(FormTest, AGripResizesTheFormByItsOwnEdges) {
  struct Case {
    int grip;
    const char* corners;  // after a drag by (+10, +6) from (50, 50)-(200, 150)
  } cases[] = {
      {CForm::Left, "(60,50)-(200,150)"},       {CForm::Top, "(50,56)-(200,150)"},
      {CForm::Right, "(50,50)-(210,150)"},      {CForm::Bottom, "(50,50)-(200,156)"},
      {CForm::TopLeft, "(60,56)-(200,150)"},    {CForm::TopRight, "(50,56)-(210,150)"},
      {CForm::BottomLeft, "(60,50)-(200,156)"}, {CForm::BottomRight, "(50,50)-(210,156)"},
  };
  for (const Case& c : cases) {
    child->SetBounds(50, 50, 150, 100, true);
    Drag(*main, Middle(child->Grips[c.grip]), 10, 6);
    EXPECT_EQ(Corners(*child), c.corners) << c.grip;
    EXPECT_FALSE(child->Resizing) << c.grip;
  }
  EXPECT_EQ(Corners(*child->Caption), "(4,3)-(156,20)") << "the caption follows the width";
}

// Past the opposite border a grip would leave a mirrored sliver that no press can reach again.
TEST_F(FormTest, AGripKeepsAMinimumSizeWithTheCaptionButtonsAndAGripReachable) {
  struct Case {
    int grip;
    int dx, dy;
    const char* corners;  // from (50, 50)-(200, 150); at least 100 by 17 + 20
  } cases[] = {
      {CForm::Left, 400, 0, "(100,50)-(200,150)"},
      {CForm::Right, -400, 0, "(50,50)-(150,150)"},
      {CForm::Top, 0, 300, "(50,113)-(200,150)"},
      {CForm::Bottom, 0, -300, "(50,50)-(200,87)"},
      {CForm::TopLeft, 400, 300, "(100,113)-(200,150)"},
      {CForm::BottomRight, -400, -300, "(50,50)-(150,87)"},
      {CForm::BottomLeft, 120, -60, "(100,50)-(200,90)"},
      {CForm::TopRight, -30, 20, "(50,70)-(170,150)"},  // above the minimum: as dragged
  };
  for (const Case& c : cases) {
    child->SetBounds(50, 50, 150, 100, true);
    main->Invalidate();
    Drag(*main, Middle(child->Grips[c.grip]), c.dx, c.dy);
    EXPECT_EQ(Corners(*child), c.corners) << c.grip;
  }

  // From the minimum the corner grip still resizes the form, and its close button closes it.
  child->SetBounds(50, 50, 100, 37, true);
  main->Invalidate();
  Drag(*main, Middle(child->Grips[CForm::BottomRight]), 30, 20);
  EXPECT_EQ(Corners(*child), "(50,50)-(180,107)");
  Drag(*main, Middle(child->Grips[CForm::BottomRight]), -400, -300);
  EXPECT_EQ(Corners(*child), "(50,50)-(150,87)");
  const CPoint close = Middle(child->Caption->CloseButton);
  gui.Click(*main, X(close), Y(close));
  EXPECT_FALSE(child->Visible);
  child->Visible = true;

  // A form made smaller than the minimum does not shrink further, nor jump to the minimum.
  child->SetBounds(50, 50, 60, 30, true);
  main->Invalidate();
  Drag(*main, Middle(child->Grips[CForm::Right]), -40, 0);
  EXPECT_EQ(Corners(*child), "(50,50)-(110,80)");
  Drag(*main, Middle(child->Grips[CForm::Right]), 25, 0);
  EXPECT_EQ(Corners(*child), "(50,50)-(135,80)");
}

TEST_F(FormTest, OnlyTheLeftButtonDragsAndAnInertFormDoesNotResize) {
  const std::vector<Pixel> before = WindowPixels(*main);
  CView& view = *main->View;
  for (CControl* target : {static_cast<CControl*>(child->Caption), child->Grips[CForm::Right]}) {
    const CPoint p = target == child->Caption ? OnCaption(child) : Middle(target);
    view.DispatchMouseDown(1, CShiftStateSet(), p);
    view.DispatchMouseMove(CShiftStateSet(), p + CPoint(30, 20));
    EXPECT_FALSE(child->Moving);
    EXPECT_FALSE(child->Resizing);
    EXPECT_EQ(WindowPixels(*main), before) << "no outline";
    view.DispatchMouseUp(1, CShiftStateSet(), p + CPoint(30, 20));
    EXPECT_EQ(Corners(*child), "(50,50)-(200,150)");
  }

  child->Sizable = false;
  Drag(*main, Middle(child->Grips[CForm::BottomRight]), 30, 20);
  EXPECT_EQ(Corners(*child), "(50,50)-(200,150)");
  EXPECT_EQ(WindowPixels(*main), before);
  Drag(*main, OnCaption(child), 30, 20);
  EXPECT_EQ(Corners(*child), "(80,70)-(230,170)") << "it still moves";
}

TEST_F(FormTest, AGripPressWhileMovingIsIgnored) {
  gui.Press(*main, X(OnCaption(child)), Y(OnCaption(child)));
  ASSERT_TRUE(child->Moving);
  child->GripMouseDown(child->Grips[CForm::Right], 0, CShiftStateSet(), CPoint(2, 50));
  EXPECT_FALSE(child->Resizing);
  gui.Release(*main, X(OnCaption(child)), Y(OnCaption(child)));
  EXPECT_FALSE(child->Moving);
}

TEST_F(FormTest, MaximizeThenRestoreGivesBackTheExactRectangle) {
  child->SetRect(CRect(33.5, 41.25, 180, 144));
  gui.RunUntilIdle();
  main->Invalidate();
  const CPoint maximize = Middle(child->Caption->MaximizeButton);
  gui.Click(*main, X(maximize), Y(maximize));
  EXPECT_EQ(Corners(*child), "(0,0)-(400,300)");
  EXPECT_TRUE(child->Caption->RestoreButton->Visible);
  EXPECT_FALSE(child->Caption->MaximizeButton->Visible);

  const CPoint restore = Middle(child->Caption->RestoreButton);
  gui.Click(*main, X(restore), Y(restore));
  EXPECT_TRUE(child->M1 == CPoint(33.5, 41.25));
  EXPECT_TRUE(child->M2 == CPoint(180, 144));
  EXPECT_TRUE(child->Caption->MaximizeButton->Visible);
  EXPECT_FALSE(child->Caption->RestoreButton->Visible);
}

TEST_F(FormTest, AFormWithoutAParentMaximizesToTheScreen) {
  main->SetBounds(30, 40, 400, 300, true);
  main->Maximize(main->Caption->MaximizeButton);
  EXPECT_EQ(Corners(*main), "(0,0)-(1024,768)");
  gui.RunUntilIdle();
  main->Restore(main->Caption->RestoreButton);
  gui.RunUntilIdle();
  EXPECT_EQ(Corners(*main), "(30,40)-(430,340)");
  const auto bounds = platform::WindowBounds(Gui::WindowOf(*main));
  ASSERT_TRUE(bounds.has_value());
  EXPECT_EQ(bounds->x, 30);
  EXPECT_EQ(bounds->width, 401);
}

// Records the minimize commands that reach a window, then lets the canvas handle the message.
struct MinimizeSpy {
  static std::int32_t Procedure(void* context, const platform::Message& m) {
    auto* spy = static_cast<MinimizeSpy*>(context);
    if (m.kind == platform::MessageKind::MinimizeCommand) spy->commands++;
    return CGDI::WindowProcedure(spy->canvas, m);
  }
  CGDI* canvas;
  int commands = 0;
};

TEST_F(FormTest, MinimizeAsksTheWindowOfAFormWithoutAParentAndIsIgnoredByAChild) {
  MinimizeSpy spy{main->View->Canvas.get()};
  platform::SetWindowProcedure(Gui::WindowOf(*main), &MinimizeSpy::Procedure, &spy);
  const CPoint childButton = Middle(child->Caption->MinimizeButton);
  gui.Click(*main, X(childButton), Y(childButton));
  EXPECT_EQ(spy.commands, 0);
  EXPECT_TRUE(child->Visible);
  EXPECT_EQ(Corners(*child), "(50,50)-(200,150)");

  const CPoint mainButton = Middle(main->Caption->MinimizeButton);
  gui.Click(*main, X(mainButton), Y(mainButton));
  EXPECT_EQ(spy.commands, 1);
}

TEST_F(FormTest, ClosingHidesAFormAndTheMainFormEndsTheProgram) {
  const CPoint close = Middle(child->Caption->CloseButton);
  gui.Click(*main, X(close), Y(close));
  EXPECT_FALSE(child->Visible);
  EXPECT_EQ(gui.PixelAt(*main, 125, 100), kFace) << "the parent is repainted without it";

  auto other = std::make_unique<CForm>(nullptr);
  other->Close();
  EXPECT_FALSE(other->Visible);

  struct Ender : CObject {
    void Run() { form->Close(); }
    CForm* form = nullptr;
  } ender;
  ender.form = main.get();
  CTimer timer;
  timer.SetInterval(10);
  timer.OnTimer.Set(&ender, &Ender::Run);
  timer.SetEnabled(true);
  EXPECT_TRUE(gui.RunLoop(1000)) << "closing the main form ends the run loop";
  EXPECT_TRUE(main->Visible) << "without hiding it";
}

// A closed window left on the screen would show black where the form was.
TEST_F(FormTest, HidingAFormWithoutAParentHidesItsWindowAndShowingItShowsIt) {
  auto other = std::make_unique<CForm>(nullptr);
  other->SetBounds(500, 100, 200, 150, true);
  AddFont(*other, "Text", 13);
  gui.RunUntilIdle();
  const platform::WindowId window = Gui::WindowOf(*other);
  ASSERT_TRUE(platform::IsWindowVisible(window));

  const CPoint close = Middle(other->Caption->CloseButton);
  gui.Click(*other, X(close), Y(close));
  gui.RunUntilIdle();
  EXPECT_FALSE(other->Visible);
  EXPECT_FALSE(platform::IsWindowVisible(window));
  EXPECT_TRUE(platform::IsWindowVisible(Gui::WindowOf(*main))) << "the main form stays";

  other->Visible = true;
  other->Invalidate();
  gui.RunUntilIdle();
  EXPECT_TRUE(platform::IsWindowVisible(window));
  EXPECT_EQ(gui.PixelAt(*other, 100, 100), kFace) << "painted again, not black";

  // Hidden and shown by the program, without a repaint in between.
  other->Visible = false;
  other->Invalidate();
  other->Visible = true;
  other->Invalidate();
  gui.RunUntilIdle();
  EXPECT_TRUE(platform::IsWindowVisible(window));
}

// The desktop's task bar and window list name a window by its title.
TEST_F(FormTest, TheWindowOfAFormWithoutAParentTakesItsTitleAndFollowsIt) {
  main->Caption->Title->Str = "Qxworks 0.3.2";
  main->Invalidate();
  gui.RunUntilIdle();
  EXPECT_EQ(platform::WindowTitle(Gui::WindowOf(*main)), "Qxworks 0.3.2");

  main->Caption->Title->Str = "Проект"_cp;
  child->Caption->Title->Str = "Дочерняя"_cp;
  main->Invalidate();
  gui.RunUntilIdle();
  EXPECT_EQ(platform::WindowTitle(Gui::WindowOf(*main)), "Проект"_cp)
      << "follows the title; a child form's title is not the window's";

  auto other = std::make_unique<CForm>(nullptr);
  gui.RunUntilIdle();
  EXPECT_EQ(platform::WindowTitle(Gui::WindowOf(*other)), "Form1");
}

// Pictures sit on the face grey (204); a silver (192) background shows as a darker square.
TEST_F(FormTest, NoPictureShowsASilverSquareOnTheFace) {
  main->SetBounds(0, 0, 900, 700, true);
  child->Visible = false;
  const std::filesystem::path pics =
      std::filesystem::path(std::getenv("QXWORKS_DRIVE_C")) / "Qxe" / "Pics";
  std::vector<std::string> files;
  for (const char* dir : {"16x16silver", "Dsgn", "8x8", "32x32", "Other"})
    for (const auto& entry : std::filesystem::directory_iterator(pics / dir))
      files.push_back(std::string(dir) + "\\" + entry.path().filename().string());
  for (const char* name : {"Minimize", "Restore", "Maximize", "Close"})
    files.push_back(std::string("Form\\") + name + ".bmp");
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 66u);

  // Each on a button just large enough to show it, as the toolbar and the palettes do.
  double x = 4, y = 4, row = 0;
  for (const std::string& file : files) {
    auto* button = new CPicButton(main->Client);
    button->Picture->SetFileName(CStr("C:\\Qxe\\Pics\\") + CStr(file.c_str()));
    const double w = button->Picture->Bitmap.Width.Value + 4;
    const double h = button->Picture->Bitmap.Height.Value + 4;
    ASSERT_GT(w, 4) << file << " was not found";
    if (x + w > 880) x = 4, y += row + 4, row = 0;
    button->SetBounds(x, y, w, h, true);
    x += w + 4;
    row = std::max(row, h);
  }
  main->Invalidate();

  const auto silverIn = [&](CControl* c) {
    const CRect r = c->GetAbsRect();
    int silver = 0;
    for (int py = r.M1.Y.Round().Value; py <= r.M2.Y.Round().Value; py++)
      for (int px = r.M1.X.Round().Value; px <= r.M2.X.Round().Value; px++)
        silver += gui.PixelAt(*main, px, py) == 0xC0C0C0;
    return silver;
  };
  EXPECT_EQ(silverIn(main->Client), 0);
  for (CControl* button : {static_cast<CControl*>(main->Caption->MinimizeButton),
                           static_cast<CControl*>(main->Caption->MaximizeButton),
                           static_cast<CControl*>(main->Caption->CloseButton)})
    EXPECT_EQ(silverIn(button), 0);
}

TEST_F(FormTest, TheMovedAndResizedHooksAreCalled) {
  struct Log : CObject {
    void Moved(CControl* sender) { lines.push_back(sender == form ? "moved" : "?"); }
    void Resized(CControl* sender) { lines.push_back(sender == form ? "resized" : "?"); }
    CForm* form = nullptr;
    std::vector<std::string> lines;
  } log;
  log.form = child;
  child->OnMoved.Set(&log, &Log::Moved);
  child->OnResized.Set(&log, &Log::Resized);
  Drag(*main, OnCaption(child), 5, 5);
  Drag(*main, Middle(child->Grips[CForm::Right]), 5, 0);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"moved", "resized"}));
}

}  // namespace
