// The scroll bar as a person uses it: arrows, track clicks and thumb drags through the harness,
// with the clamp, the thumb's place and the layout the bar gives itself at every paint.
#include <vector>

#include "controls/View.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Box.h"
#include "widgets/Button.h"
#include "widgets/ScrollBar.h"

namespace {

using namespace qxtest;

// Every OnChange with the position it reported and who sent it.
class Changes : public CObject {
 public:
  void Changed(CControl* sender) {
    positions.push_back(static_cast<CScrollBar*>(sender)->Position.Value);
    senders.push_back(sender);
  }
  void Clear() {
    positions.clear();
    senders.clear();
  }
  std::vector<double> positions;
  std::vector<CControl*> senders;
};

// A bar at (10, 10) 130 long: the arrows leave a track of exactly 100 from x (or y) 15 on, so on
// the default range of 100 the thumb's offset equals Position.
class ScrollBarTest : public WidgetTest {
 protected:
  void Make(bool vertical) {
    delete bar;
    bar = new CScrollBar(root.get());
    bar->SetVertical(vertical);
    if (vertical)
      bar->SetBounds(10, 10, 16, 130, true);
    else
      bar->SetBounds(10, 10, 130, 16, true);
    bar->OnChange.Set(&changes, &Changes::Changed);
    root->Invalidate();
    changes.Clear();
  }

  // A point of the window at `along` units along the bar from its top-left corner, in its middle.
  void ClickAlong(double along) {
    const CPoint p = At(along);
    gui.Click(*root, p.X.Round().Value, p.Y.Round().Value);
  }
  CPoint At(double along) const {
    return bar->Vertical ? CPoint(18, 10 + along) : CPoint(10 + along, 18);
  }

  CScrollBar* bar = nullptr;
  Changes changes;
};

constexpr double kBack = 8, kForward = 122;  // the middles of the two arrows

TEST_F(ScrollBarTest, ArrowsStepWithinTheClampAndEveryStepCallsOnChange) {
  Make(false);
  ASSERT_EQ(bar->TrackLength(), CFloat(100));
  ASSERT_EQ(bar->TrackOrigin(), CFloat(15));
  bar->Position = 88;
  for (int i = 0; i < 3; i++) ClickAlong(kForward);
  EXPECT_EQ(changes.positions, (std::vector<double>{89, 90, 90}))
      << "the last click at 90 changes nothing and still calls OnChange";
  EXPECT_EQ(changes.senders, (std::vector<CControl*>(3, bar)));

  bar->SmallStep = 40;
  changes.Clear();
  for (int i = 0; i < 3; i++) ClickAlong(kBack);
  EXPECT_EQ(changes.positions, (std::vector<double>{50, 10, 0}));
  EXPECT_EQ(bar->ThumbPos, CFloat(0));
}

TEST_F(ScrollBarTest, TrackClicksPageTowardsTheSideOfTheThumb) {
  Make(true);
  bar->Position = 30;
  root->Invalidate();  // the thumb now covers 45 .. 55 along the bar
  ASSERT_EQ(bar->Thumb->M1.Y, CFloat(45));
  const struct {
    double along;
    double position;
  } cases[] = {
      {100, 40},  // below the thumb: a page down
      {100, 50},  //
      {20, 40},   // above it: a page up
      {115, 50},  // the track's last unit before the arrow
      {115, 60}, {115, 70}, {115, 80}, {115, 90},
  };
  for (const auto& c : cases) {
    ClickAlong(c.along);
    EXPECT_EQ(bar->Position, CFloat(c.position)) << "click at " << c.along;
  }
  EXPECT_EQ(bar->Thumb->M1.Y, CFloat(105)) << "the thumb ends where the track ends";
  EXPECT_EQ(bar->Thumb->M2.Y, CFloat(115));
}

TEST_F(ScrollBarTest, APageAsLargeAsTheRangeHidesTheThumbAndArrowsStayInTheClamp) {
  const struct {
    double page;
    double afterForward;
    double afterBack;
  } cases[] = {
      {100, 0, 0},
      // The lower clamp runs first, so Position ends at Max - Page even below Min.
      {150, -50, -50},
  };
  for (const auto& c : cases) {
    Make(false);
    bar->Page = c.page;
    root->Invalidate();
    EXPECT_FALSE(bar->Thumb->Visible) << "page " << c.page;
    ClickAlong(kForward);
    EXPECT_EQ(bar->Position, CFloat(c.afterForward)) << "page " << c.page;
    ClickAlong(kBack);
    EXPECT_EQ(bar->Position, CFloat(c.afterBack)) << "page " << c.page;
    EXPECT_EQ(changes.positions.size(), 2u);
  }
  bar->Page = 99;
  root->Invalidate();
  EXPECT_TRUE(bar->Thumb->Visible);
  bar->Max = 0;  // an empty range with a negative page: still no thumb, and no division by 0
  bar->Page = -5;
  root->Invalidate();
  EXPECT_FALSE(bar->Thumb->Visible);
  ClickAlong(kForward);
  EXPECT_EQ(bar->Position.Value, 0) << "from -50 up by 1, then into 0 .. 5";
  EXPECT_EQ(bar->ThumbPos, CFloat(0));
}

TEST_F(ScrollBarTest, AThumbDraggedPastTheTrackEndStopsThereAndFollowsTheMouseBack) {
  for (const bool vertical : {false, true}) {
    Make(vertical);
    const CPoint grab = At(20);  // 5 units into the thumb
    const CPoint past = At(400);
    const CPoint back = At(360);
    gui.Press(*root, grab.X.Round().Value, grab.Y.Round().Value);
    EXPECT_TRUE(bar->Dragging);
    gui.DragTo(*root, past.X.Round().Value, past.Y.Round().Value);
    EXPECT_EQ(bar->Position, CFloat(90)) << "vertical " << vertical;
    EXPECT_EQ(bar->ThumbPos, CFloat(90)) << "recomputed from the clamped position";
    // Back by 40 from where the mouse was, not from where the thumb stopped.
    gui.DragTo(*root, back.X.Round().Value, back.Y.Round().Value);
    EXPECT_EQ(bar->Position, CFloat(90)) << "vertical " << vertical;
    const CPoint in = At(60);
    gui.DragTo(*root, in.X.Round().Value, in.Y.Round().Value);
    EXPECT_EQ(bar->Position, CFloat(40)) << "vertical " << vertical;
    gui.Release(*root, in.X.Round().Value, in.Y.Round().Value);
    EXPECT_FALSE(bar->Dragging);
    gui.DragTo(*root, grab.X.Round().Value, grab.Y.Round().Value);
    EXPECT_EQ(bar->Position, CFloat(40)) << "released: moves no longer drag";
  }
}

TEST_F(ScrollBarTest, TheBarTakesItsLongerSideAsItsLengthAndSixteenAsItsThickness) {
  const struct {
    bool vertical;
    double w, h;
    const char* corners;
    const char* forward;
  } cases[] = {
      {false, 16, 120, "(10,10)-(130,26)", "(106,2)-(118,14)"},
      {false, 120, 40, "(10,10)-(130,26)", "(106,2)-(118,14)"},
      {true, 120, 16, "(10,10)-(26,130)", "(2,106)-(14,118)"},
      {true, 30, 80, "(10,10)-(26,90)", "(2,66)-(14,78)"},
  };
  for (const auto& c : cases) {
    Make(c.vertical);
    bar->SetBounds(10, 10, c.w, c.h, true);
    root->Invalidate();
    EXPECT_EQ(Corners(*bar), c.corners);
    EXPECT_EQ(Corners(*bar->ForwardButton), c.forward);
    EXPECT_EQ(Corners(*bar->BackButton), "(2,2)-(14,14)");
  }
}

TEST_F(ScrollBarTest, TheTrackIsGreySevenTenthsAndTheThumbAPanelOnIt) {
  Make(false);
  bar->Position = 50;
  root->Invalidate();
  constexpr Pixel kTrack = 0xB2B2B2;  // 0.7 of 255, rounded
  const std::map<Pixel, char> legend = {
      {kWhite, 'W'}, {kFace, '.'}, {kShadow, 'd'}, {kBlack, 'k'}, {kTrack, 't'}};
  // A row through the middle of the bar from the track's start to past the thumb (65 .. 75).
  EXPECT_EQ(gui.Picture(*root, 10 + 60, 18, 20, 1, legend), Rows({"tttttW.........dtttt"}));
  EXPECT_EQ(gui.PixelAt(*root, 10 + 30, 10 + 3), kTrack);
  EXPECT_EQ(gui.PixelAt(*root, 10 + 30, 10 + 14), kTrack);
}

// One repaint a change, whether or not the owner's handler repaints as well: the scroll box's
// handler does, so a bar of its repaints only once.
TEST_F(ScrollBarTest, EveryChangeRepaintsTheWindowOnce) {
  Make(false);
  auto* box = new CScrollBox(root.get());
  box->SetBounds(10, 40, 100, 100, true);
  root->Invalidate();
  CScrollBar* boxBar = box->VertBar;
  CScrollBar* plain = new CScrollBar(root.get());
  const struct {
    const char* what;
    CScrollBar* bar;
  } cases[] = {
      {"a handler that does not repaint", bar},
      {"no handler", plain},
      {"the scroll box's handler, which repaints", boxBar},
  };
  for (const auto& c : cases) {
    const std::uint64_t before = root->View->Redraws;
    c.bar->MoveBy(5);
    EXPECT_EQ(root->View->Redraws - before, 1u) << c.what;
  }
  EXPECT_EQ(changes.positions, (std::vector<double>{5}));
  EXPECT_EQ(box->ScrollY, CFloat(5));
}

}  // namespace
