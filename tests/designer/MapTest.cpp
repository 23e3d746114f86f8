// The design surface as a person uses it: clicks select, drags move by whole grid steps, handles
// resize, the rubber band selects what lies wholly inside it, and groups gather and give back
// their members. Then what it draws: grid dots, handles and the dotted frame of a drag.
#include <functional>
#include <vector>

#include "controls/KeyboardCursor.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "designer/Map.h"
#include "tests/designer/DesignerFixture.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"

namespace {

using namespace qxtest;

class MapTest : public DesignerTest {
 protected:
  MapTest() {
    map = new CMap(main->Client);
    map->SetBounds(10, 10, 400, 300, true);
    gui.RunUntilIdle();
  }

  template <class T = CFillRectangle>
  T* Put(double x1, double y1, double x2, double y2) {
    auto* control = new T(map);
    control->SetBounds(x1, y1, x2, y2, false);
    return control;
  }

  CMap* map;
};

TEST_F(MapTest, AClickSelectsADesignedButtonOrEditWithoutPressingOrFocusingIt) {
  auto* button = Put<CButton>(18, 18, 108, 45);
  auto* edit = Put<CEdit>(18, 90, 108, 110);
  CKeyboardCursor& caret = *gui.App().KeyboardCursor;

  Press(*map, 60, 30);
  EXPECT_FALSE(button->MousePressed);
  EXPECT_EQ(Point(button->Caption->M1), "(2,2)") << "the caption moves in when a button goes down";
  Release(*map, 60, 30);
  EXPECT_TRUE(Selected(*map, button));
  EXPECT_EQ(map->FirstSelected(), button);

  Click(*map, 60, 100);
  EXPECT_TRUE(Selected(*map, edit));
  EXPECT_FALSE(Selected(*map, button)) << "a click without Shift drops the previous selection";
  EXPECT_FALSE(edit->Focused);
  EXPECT_EQ(main->View->Focused, map) << "the surface, not the edit, has the keyboard";
  EXPECT_NE(caret.GetControl(), edit);
  EXPECT_EQ(Corners(*button), "(18,18)-(108,45)") << "clicks move nothing";
  EXPECT_EQ(Corners(*edit), "(18,90)-(108,110)");
}

TEST_F(MapTest, ADragMovesByWholeGridSteps) {
  struct Case {
    int distance;
    const char* corners;  // of the control at (27, 27)-(72, 72) after the drag
  } cases[] = {
      {13, "(36,36)-(81,81)"},   // 40 is nearer 36 than 45
      {14, "(45,45)-(90,90)"},   // 41 is nearer 45
      {4, "(27,27)-(72,72)"},    // not half a step: no move
      {5, "(36,36)-(81,81)"},    // past half a step
      {-13, "(18,18)-(63,63)"},  // and the same to the left and up
      {-14, "(9,9)-(54,54)"},
  };
  for (const Case& c : cases) {
    auto* box = Put(27, 27, 72, 72);
    Drag(*map, 36, 36, 36 + c.distance, 36 + c.distance);
    EXPECT_EQ(Corners(*box), c.corners) << "dragged by " << c.distance;
    EXPECT_TRUE(Selected(*map, box));
    map->DeleteControl(box);
  }
}

TEST_F(MapTest, AHandleResizesItsControlEvenUnderAnotherControl) {
  auto* below = Put(18, 18, 54, 54);
  auto* above = Put(45, 45, 90, 90);
  map->SetTrackState(below, 1);

  Drag(*map, 54, 54, 72, 81);  // the bottom-right handle of the lower control

  EXPECT_EQ(Corners(*below), "(18,18)-(72,81)");
  EXPECT_EQ(Corners(*above), "(45,45)-(90,90)");
  EXPECT_FALSE(Selected(*map, above));
  EXPECT_TRUE(Selected(*map, below));
}

TEST_F(MapTest, EachHandleMovesItsOwnEdges) {
  struct Case {
    double x, y;          // the handle of (18, 18)-(54, 54), dragged by (9, 18)
    const char* corners;  // afterwards
  } cases[] = {
      {18, 18, "(27,36)-(54,54)"}, {36, 18, "(18,36)-(54,54)"}, {54, 18, "(18,36)-(63,54)"},
      {18, 36, "(27,18)-(54,54)"}, {54, 36, "(18,18)-(63,54)"}, {18, 54, "(27,18)-(54,72)"},
      {36, 54, "(18,18)-(54,72)"}, {54, 54, "(18,18)-(63,72)"},
  };
  for (const Case& c : cases) {
    auto* box = Put(18, 18, 54, 54);
    map->SetTrackState(box, 1);
    Drag(*map, c.x, c.y, c.x + 9, c.y + 18);
    EXPECT_EQ(Corners(*box), c.corners) << "handle at " << c.x << ", " << c.y;
    map->DeleteControl(box);
  }
}

TEST_F(MapTest, AHandleIsHitUpToThreeUnitsAwayInclusive) {
  struct Case {
    double dx, dy;  // from the bottom-right handle at (54, 54)
    bool hit;
  } cases[] = {
      {0, 0, true},  {3, 3, true},  {-3, -3, true}, {3, -3, true},
      {4, 0, false}, {0, 4, false}, {-4, 0, false}, {0, -4, false},
  };
  auto* box = Put(18, 18, 54, 54);
  for (const Case& c : cases) {
    map->SetTrackState(box, 1);
    Press(*map, 54 + c.dx, 54 + c.dy);
    EXPECT_EQ(map->Mode.Value == 2, c.hit) << "at " << c.dx << ", " << c.dy << " from the handle";
    Release(*map, 54 + c.dx, 54 + c.dy);
    EXPECT_EQ(Corners(*box), "(18,18)-(54,54)") << "a press and release in place changes nothing";
  }
}

TEST_F(MapTest, PressingAControlDragsTheSelectionOrStartsANewOne) {
  auto* a = Put(18, 18, 45, 45);
  auto* b = Put(72, 18, 99, 45);
  auto* c = Put(126, 18, 153, 45);
  map->SetTrackState(a, 1);
  map->SetTrackState(b, 1);

  Drag(*map, 27, 27, 27, 45);  // a selected control: the whole selection moves
  EXPECT_EQ(Corners(*a), "(18,36)-(45,63)");
  EXPECT_EQ(Corners(*b), "(72,36)-(99,63)");
  EXPECT_EQ(Corners(*c), "(126,18)-(153,45)");

  Click(*map, 135, 27);  // an unselected one, without Shift: it alone is selected
  EXPECT_FALSE(Selected(*map, a));
  EXPECT_FALSE(Selected(*map, b));
  EXPECT_TRUE(Selected(*map, c));

  ShiftClick(*map, 27, 45);  // with Shift it is added
  EXPECT_TRUE(Selected(*map, a));
  EXPECT_TRUE(Selected(*map, c));
  EXPECT_FALSE(Selected(*map, b));

  Drag(*map, 27, 45, 36, 45);  // and moves with the rest
  EXPECT_EQ(Corners(*a), "(27,36)-(54,63)");
  EXPECT_EQ(Corners(*c), "(135,18)-(162,45)");
  EXPECT_EQ(Corners(*b), "(72,36)-(99,63)");
}

TEST_F(MapTest, OnlyTheLeftButtonSelectsMovesOrResizes) {
  auto* selected = Put(18, 18, 54, 54);
  auto* other = Put(90, 18, 126, 54);
  map->SetTrackState(selected, 1);
  const CPoint corner = map->GetAbsM1();
  // The platform reports only the left button; the others enter at the view.
  for (const CPoint& p : {CPoint(54, 54), CPoint(108, 36), CPoint(200, 200)}) {
    main->View->DispatchMouseDown(1, CShiftStateSet(), corner + p);
    EXPECT_EQ(map->Mode, CInt(0)) << "right button at " << Point(p);
    main->View->DispatchMouseMove(CShiftStateSet(), corner + p + CPoint(27, 27));
    main->View->DispatchMouseUp(1, CShiftStateSet(), corner + p + CPoint(27, 27));
  }
  EXPECT_TRUE(Selected(*map, selected));
  EXPECT_FALSE(Selected(*map, other));
  EXPECT_EQ(Corners(*selected), "(18,18)-(54,54)");
  EXPECT_EQ(Corners(*other), "(90,18)-(126,54)");
}

TEST_F(MapTest, TheRubberBandSelectsOnlyWhatLiesWhollyInside) {
  auto* inside = Put(27, 27, 45, 45);
  auto* onTheEdge = Put(54, 54, 90, 90);  // edges count as inside
  auto* across = Put(80, 20, 120, 40);
  auto* outside = Put(200, 200, 220, 220);
  map->SetTrackState(outside, 1);

  Drag(*map, 9, 9, 90, 90);

  EXPECT_TRUE(Selected(*map, inside));
  EXPECT_TRUE(Selected(*map, onTheEdge));
  EXPECT_FALSE(Selected(*map, across));
  EXPECT_FALSE(Selected(*map, outside)) << "a band without Shift starts a new selection";
  EXPECT_FALSE(map->Rubber->Shown);

  Drag(*map, 90, 90, 9, 9);  // drawn backwards: the same
  EXPECT_TRUE(Selected(*map, inside));
  EXPECT_TRUE(Selected(*map, onTheEdge));
  EXPECT_FALSE(Selected(*map, across));

  Click(*map, 300, 250);  // a click on the empty surface selects nothing
  EXPECT_EQ(map->FirstSelected(), nullptr);
}

TEST_F(MapTest, GroupGathersTheSelectionAndUnGroupGivesItBack) {
  auto* a = Put(18, 27, 45, 54);
  auto* b = Put(90, 18, 117, 36);
  auto* c = Put(54, 72, 81, 99);
  auto* other = Put(200, 200, 220, 220);

  map->SetTrackState(a, 1);
  map->Group();
  EXPECT_EQ(map->ChildCount(), CInt(4)) << "one selected control makes no group";
  EXPECT_EQ(a->Parent, map);

  map->SetTrackState(b, 1);
  map->SetTrackState(c, 1);
  map->Group();

  ASSERT_EQ(map->ChildCount(), CInt(2));
  CControl* group = map->GetChild(1);
  EXPECT_EQ(group->ClassName(), CStr("CControl"));
  EXPECT_EQ(group->GetName(), CStr("MyControl1"));
  EXPECT_EQ(Corners(*group), "(18,18)-(117,99)");
  EXPECT_TRUE(group->Color == CColor(0, 0, 1));
  EXPECT_EQ(map->FirstSelected(), group);
  EXPECT_EQ(group->FramePartCount(), CInt(3));
  EXPECT_EQ(group->ChildCount(), CInt(0));
  EXPECT_EQ(Corners(*a), "(0,9)-(27,36)");
  EXPECT_EQ(Corners(*b), "(72,0)-(99,18)");
  EXPECT_EQ(Corners(*c), "(36,54)-(63,81)");
  EXPECT_EQ(map->FindTrack(a), nullptr) << "members leave the surface's trackers";
  EXPECT_EQ(map->Tracks.Count(), CInt(1)) << "the group's: the untouched control never had one";

  Click(*map, 220, 220);
  Click(*map, 60, 80);  // on a member: the group is what is hit
  EXPECT_EQ(map->FirstSelected(), group);

  Drag(*map, 63, 81, 72, 90);  // the group moves with its members
  EXPECT_EQ(Corners(*group), "(27,27)-(126,108)");

  map->UnGroup();
  EXPECT_EQ(map->ChildCount(), CInt(4));
  EXPECT_EQ(map->IndexOfChild(group), CInt(-1));
  EXPECT_EQ(Corners(*a), "(27,36)-(54,63)");
  EXPECT_EQ(Corners(*b), "(99,27)-(126,45)");
  EXPECT_EQ(Corners(*c), "(63,81)-(90,108)");
  for (CControl* member : {a, b, c}) {
    EXPECT_EQ(member->Parent, map);
    EXPECT_TRUE(Selected(*map, member));
  }
  EXPECT_FALSE(Selected(*map, other));
}

TEST_F(MapTest, UnGroupLeavesSelectedControlsThatAreNoGroupsAlone) {
  auto* button = Put<CButton>(18, 18, 108, 45);
  const CInt parts = button->FramePartCount();
  map->SetTrackState(button, 1);
  map->UnGroup();
  EXPECT_EQ(button->FramePartCount(), parts);
  EXPECT_EQ(map->ChildCount(), CInt(1));
  EXPECT_TRUE(Selected(*map, button));
}

TEST_F(MapTest, AHandleDraggedPastTheOppositeEdgeSwapsTheCorners) {
  auto* box = Put(18, 18, 54, 54);
  map->SetTrackState(box, 1);

  Drag(*map, 18, 18, 72, 81);  // the top-left handle past the bottom-right corner
  EXPECT_EQ(Corners(*box), "(72,81)-(54,54)");

  Click(*map, 200, 200);
  Click(*map, 63, 63);  // hit inside, whatever the corners' order
  EXPECT_TRUE(Selected(*map, box));

  Drag(*map, 54, 54, 45, 36);  // the handle at the shown top-left corner moves that corner
  EXPECT_EQ(Corners(*box), "(45,36)-(72,81)");
}

TEST_F(MapTest, SwappedCornersStillGroupByTheShownRectangle) {
  auto* box = Put(18, 18, 54, 54);
  auto* other = Put(108, 108, 126, 126);
  map->SetTrackState(box, 1);
  Drag(*map, 18, 18, 72, 81);
  ASSERT_EQ(Corners(*box), "(72,81)-(54,54)");

  Drag(*map, 9, 9, 135, 135);
  ASSERT_TRUE(Selected(*map, box));
  ASSERT_TRUE(Selected(*map, other));
  map->Group();

  CControl* group = map->GetChild(0);
  EXPECT_EQ(Corners(*group), "(54,54)-(126,126)");
  map->UnGroup();
  EXPECT_EQ(Corners(*box), "(72,81)-(54,54)");
  EXPECT_EQ(Corners(*other), "(108,108)-(126,126)");
}

// [SECTION] Pixels

const std::map<Pixel, char> kMarks = {{kWhite, '.'}, {kBlack, 'k'}, {kRed, 'r'}};

TEST_F(MapTest, GridDotsLieAtMultiplesOfNineFromTheSurfacesCorner) {
  main->Invalidate();
  const CPoint corner = map->GetAbsM1();
  const std::string row = "k........k........k.";
  const std::string blank(20, '.');
  std::vector<std::string> rows = {row};
  for (int i = 0; i < 8; i++) rows.push_back(blank);
  rows.push_back(row);
  EXPECT_EQ(gui.Picture(*main, corner.X.Round().Value, corner.Y.Round().Value, 20, 10, kMarks),
            Rows(rows));
}

// Inside the form's size the grid as always; its right and bottom edges a solid line; beyond them
// a line every third pixel of the surface.
TEST_F(MapTest, TheSurfaceBeyondTheFormsSizeIsShadedAndTheEdgeDrawn) {
  map->FormWidth = 20;
  map->FormHeight = 10;
  main->Invalidate();
  const CPoint corner = map->GetAbsM1();
  const std::map<Pixel, char> marks = {
      {kWhite, '.'}, {kBlack, 'k'}, {0x666699, 's'}, {0x000099, 'e'}};
  // x from 15 to 24, y from 7 to 13.
  EXPECT_EQ(gui.Picture(*main, corner.X.Round().Value + 15, corner.Y.Round().Value + 7, 10, 7,
                        marks),
            Rows({".....e....",
                  ".....e....",
                  "...k.essss",
                  "eeeeee....",
                  "..........",
                  "ssssssssss",
                  ".........."}));
}

TEST_F(MapTest, ASelectedControlShowsEightBlackAndWhiteHandles) {
  Put(0, 0, 99, 99)->Color = CColor(1, 0, 0);
  auto* box = Put(18, 18, 54, 54);
  box->Color = CColor(1, 0, 0);
  map->SetTrackState(box, 1);
  main->Invalidate();
  const CPoint corner = map->GetAbsM1();
  const int x = corner.X.Round().Value, y = corner.Y.Round().Value;
  // A white square 7 wide around the handle's point, black inside.
  const std::string handle = Rows({
      "rrrrrrrrr",
      "r.......r",
      "r.kkkkk.r",
      "r.kkkkk.r",
      "r.kkkkk.r",
      "r.kkkkk.r",
      "r.kkkkk.r",
      "r.......r",
      "rrrrrrrrr",
  });
  for (const CPoint& h : {CPoint(18, 18), CPoint(36, 18), CPoint(54, 18), CPoint(18, 36),
                          CPoint(54, 36), CPoint(18, 54), CPoint(36, 54), CPoint(54, 54)})
    EXPECT_EQ(
        gui.Picture(*main, x + h.X.Round().Value - 4, y + h.Y.Round().Value - 4, 9, 9, kMarks),
        handle)
        << "handle at " << Point(h);
  // Nothing between the handles.
  EXPECT_EQ(gui.Picture(*main, x + 24, y + 18, 6, 1, kMarks), "rrrrrr\n");
}

TEST_F(MapTest, ADragShowsADottedFrameWhereTheControlWillGo) {
  Put(0, 0, 99, 99)->Color = CColor(1, 0, 0);
  auto* box = Put(18, 18, 54, 54);
  box->Color = CColor(1, 0, 0);
  Press(*map, 27, 27);
  DragTo(*map, 36, 27);
  const CPoint corner = map->GetAbsM1();
  const int x = corner.X.Round().Value, y = corner.Y.Round().Value;
  // The top edge of the frame at (27, 18)-(63, 54): the platform's dotted pen, three on, three
  // off, in black over what lies below.
  EXPECT_EQ(gui.Picture(*main, x + 26, y + 18, 39, 1, kMarks),
            "rkrrrkkkrrrkkkrrrkkkrrrkkkrrrkkkrrrkkkr\n");
  EXPECT_EQ(gui.Picture(*main, x + 26, y + 36, 39, 1, kMarks),
            "rkrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrkr\n")
      << "a frame only: the controls below show through";
  EXPECT_EQ(Corners(*box), "(18,18)-(54,54)") << "only the frame moves while dragging";
  Release(*map, 36, 27);
  EXPECT_EQ(Corners(*box), "(27,18)-(63,54)");
}

}  // namespace

namespace {

struct DoublePresses {
  std::vector<CControl*> got;
  void Pressed(CControl* control) { got.push_back(control); }
};

// Two presses on one control, soon and at one place, and let go there, are a double press; a
// slow second press, another control, another place, a drag or a third press are not.
TEST_F(MapTest, ADoublePressIsTwoQuickPressesOnOneControlAtOnePlace) {
  auto* a = Put(18, 18, 72, 72);
  auto* b = Put(90, 18, 144, 72);
  const struct {
    const char* what;
    std::function<void()> presses;
    std::vector<CControl*> expected;
  } cases[] = {
      {"two quick clicks", [&] { Click(*map, 40, 40); Click(*map, 40, 40); }, {a}},
      {"a third click starts again",
       [&] { Click(*map, 40, 40); Click(*map, 40, 40); Click(*map, 40, 40); }, {a}},
      {"the second too late",
       [&] {
         Click(*map, 40, 40);
         gui.Advance(CMap::kDoublePressMs + 1);
         Click(*map, 40, 40);
       },
       {}},
      {"just in time",
       [&] {
         Click(*map, 40, 40);
         gui.Advance(CMap::kDoublePressMs);
         Click(*map, 40, 40);
       },
       {a}},
      {"on two controls", [&] { Click(*map, 40, 40); Click(*map, 110, 40); }, {}},
      {"three units apart", [&] { Click(*map, 40, 40); Click(*map, 43, 40); }, {}},
      {"the second press drags",
       [&] {
         Click(*map, 40, 40);
         Press(*map, 40, 40);
         DragTo(*map, 60, 60);
         Release(*map, 60, 60);
       },
       {}},
      {"on the bare surface", [&] { Click(*map, 300, 200); Click(*map, 300, 200); }, {}},
  };
  for (const auto& c : cases) {
    DoublePresses receiver;
    map->OnDoublePress.Set(&receiver, &DoublePresses::Pressed);
    gui.Advance(CMap::kDoublePressMs + 1);  // nothing counts on from the case before
    c.presses();
    EXPECT_EQ(receiver.got, c.expected) << c.what;
    map->OnDoublePress.Clear();
    a->SetBounds(18, 18, 72, 72, false);  // a drag moved it: back where it was
  }
  EXPECT_EQ(Corners(*b), "(90,18)-(144,72)");
}

}  // namespace
