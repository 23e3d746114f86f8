// The control base: lists, hit-testing through the window, anchoring, view coordinates, the
// painting protocol's clip and visibility, cloning and the record.
#include <gtest/gtest.h>

#include <memory>

#include "controls/Control.h"
#include "controls/CtrlApp.h"
#include "controls/Shapes.h"
#include "controls/View.h"
#include "storage/Stream.h"
#include "tests/controls/Probes.h"
#include "tests/support/Gui.h"

namespace {

using namespace qxtest;

class ControlTest : public testing::Test {
 protected:
  ControlTest() { root->SetBounds(0, 0, 300, 200, false); }

  Gui gui;
  std::unique_ptr<CControl> root = std::make_unique<CControl>(nullptr);
};

template <class T = CControl>
T* Child(CControl* parent, double x1, double y1, double x2, double y2) {
  auto* c = new T(parent);
  c->SetBounds(x1, y1, x2, y2, false);
  return c;
}

// [SECTION] Lists

TEST_F(ControlTest, ListsExistOnlyWhileTheyHaveMembers) {
  CControl& r = *root;
  EXPECT_EQ(r.ChildCount(), 0);
  EXPECT_EQ(r.GetChild(0), nullptr);
  EXPECT_EQ(r.ChildList, nullptr);

  CControl* a = Child(&r, 0, 0, 10, 10);
  CControl* b = Child(&r, 0, 0, 10, 10);
  EXPECT_EQ(r.IndexOfChild(a), 0);
  EXPECT_EQ(r.IndexOfChild(b), 1);
  EXPECT_EQ(r.IndexOfChild(nullptr), -1);
  EXPECT_EQ(r.GetChild(2), nullptr);
  EXPECT_EQ(r.GetChild(-1), nullptr);

  EXPECT_EQ(r.RemoveChild(a), 0);
  EXPECT_EQ(r.RemoveChild(a), -1);
  EXPECT_EQ(r.RemoveChild(b), 0);
  EXPECT_EQ(r.ChildList, nullptr) << "the last removal deletes the list";
  // Removed controls are handed back, not destroyed.
  delete a;
  delete b;
}

TEST_F(ControlTest, DestroyingAControlTakesItOutOfItsParentAndDestroysItsSubtree) {
  CControl* a = Child(root.get(), 0, 0, 10, 10);
  Child(a, 0, 0, 5, 5);
  Child(a, 0, 0, 5, 5)->SetFramePart(true);
  CControl* b = Child(root.get(), 0, 0, 10, 10);
  delete a;  // its two parts go with it (the sanitizer build sees any leak or double free)
  EXPECT_EQ(root->ChildCount(), 1);
  EXPECT_EQ(root->GetChild(0), b);
}

TEST_F(ControlTest, SetFramePartMovesBetweenTheListsOfTheParent) {
  CControl* a = Child(root.get(), 0, 0, 10, 10);
  CControl* b = Child(root.get(), 0, 0, 10, 10);
  a->SetFramePart(true);
  EXPECT_EQ(root->ChildCount(), 1);
  EXPECT_EQ(root->IndexOfFramePart(a), 0);
  a->SetFramePart(true);  // already a frame part: nothing happens
  EXPECT_EQ(root->FramePartCount(), 1);
  a->SetFramePart(false);
  EXPECT_EQ(root->FrameList, nullptr);
  EXPECT_EQ(root->IndexOfChild(a), 1) << "back at the end of the children, above b";
  EXPECT_EQ(root->IndexOfChild(b), 0);
  root->SetFramePart(true);  // a root has no parent: nothing happens
}

// [SECTION] Hit-testing through the window

TEST_F(ControlTest, APressReachesTheDeepestVisibleTopmostControlInItsOwnCoordinates) {
  EventLog log;
  log.Attach(*root, "root");
  // Two overlapping siblings: a under b.
  log.Attach(*Child(root.get(), 10, 10, 60, 60), "a");
  log.Attach(*Child(root.get(), 40, 40, 90, 90), "b");
  // An owner whose frame part covers it.
  CControl* owner = Child(root.get(), 100, 10, 150, 60);
  log.Attach(*owner, "owner");
  CControl* part = Child(owner, 0, 0, 50, 50);
  log.Attach(*part, "part");
  part->SetFramePart(true);
  // A container that keeps the events of its child.
  CControl* keeper = Child(root.get(), 160, 10, 210, 60);
  keeper->KeepEvents = true;
  log.Attach(*keeper, "keeper");
  log.Attach(*Child(keeper, 5, 5, 45, 45), "kept");
  // An invisible parent: neither it nor its visible child is hit.
  CControl* hidden = Child(root.get(), 220, 10, 270, 60);
  hidden->Visible = false;
  log.Attach(*hidden, "hidden");
  log.Attach(*Child(hidden, 0, 0, 50, 50), "shielded");
  // Two levels deep.
  CControl* outer = Child(root.get(), 10, 100, 110, 190);
  log.Attach(*outer, "outer");
  log.Attach(*Child(outer, 10, 10, 50, 50), "inner");

  struct Case {
    int x, y;
    const char* receives;
  } cases[] = {
      {50, 50, "down b (10,10)"},         // the later of two overlapping children
      {20, 20, "down a (10,10)"},         // only a is there
      {60, 60, "down b (20,20)"},         // edges belong to the control
      {120, 20, "down owner (20,10)"},    // a frame part's click reaches its owner
      {180, 30, "down keeper (20,20)"},   // KeepEvents stops the search, keeper's coordinates
      {240, 30, "down root (240,30)"},    // an invisible parent shields its child
      {30, 120, "down inner (10,10)"},    // nested coordinates add up
      {150, 150, "down root (150,150)"},  // an empty area reaches the root itself
  };
  for (const Case& c : cases) {
    gui.Press(*root, c.x, c.y);
    gui.Release(*root, c.x, c.y);
    const std::vector<std::string> got = log.Take();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.front(), c.receives) << "press at " << c.x << "," << c.y;
  }
}

// [SECTION] Anchoring

TEST_F(ControlTest, ChildrenFollowAParentGrowingByFiftyByTheirAnchors) {
  struct Case {
    int m1x, m1y, m2x, m2y;
    double x1, y1, x2, y2;  // the child before
    const char* after;
  } cases[] = {
      {1, 1, 2, 2, 20, 20, 60, 60, "(20,20)-(110,110)"},    // top-left kept, grows by 50
      {2, 2, 2, 2, 20, 20, 60, 60, "(70,70)-(110,110)"},    // moves by 50, same size
      {0, 0, 0, 0, 20, 20, 60, 60, "(45,45)-(85,85)"},      // follows the centre: moves by 25
      {1, 1, 1, 1, 20, 20, 60, 60, "(20,20)-(60,60)"},      // stays
      {3, 3, 3, 3, 20, 20, 60, 60, "(30,30)-(90,90)"},      // scales by 1.5
      {3, 3, 3, 3, 20, 20, 120, 120, "(30,30)-(180,180)"},  // scales past the parent's edge
      {4, 4, 4, 4, 20, 20, 120, 120, "(30,30)-(120,120)"},  // keeps a scaled margin (20 * 1.5)
      {7, 7, 7, 7, 20, 20, 60, 60, "(20,20)-(60,60)"},      // an unknown value keeps it
  };
  for (const Case& c : cases) {
    CControl* parent = Child(root.get(), 0, 0, 100, 100);
    CControl* child = Child(parent, c.x1, c.y1, c.x2, c.y2);
    child->Anchors.Set(c.m1x, c.m1y, c.m2x, c.m2y);
    parent->SetBounds(0, 0, 150, 150, false);
    EXPECT_EQ(Corners(*child), c.after) << "anchors " << c.m1x << c.m1y << c.m2x << c.m2y;
    delete parent;
  }
}

TEST_F(ControlTest, AnchoringReachesGrandchildrenAndFramePartsAndFollowsAdjustEdges) {
  CControl* parent = Child(root.get(), 0, 0, 100, 100);
  CControl* middle = Child(parent, 10, 10, 90, 90);
  middle->Anchors.Set(1, 1, 2, 2);
  CControl* corner = Child(middle, 60, 60, 70, 70);
  corner->Anchors.Set(2, 2, 2, 2);
  CControl* part = Child(parent, 0, 0, 100, 100);
  part->Anchors.Set(1, 1, 2, 2);
  part->SetFramePart(true);

  parent->AdjustEdges(0, 0, 20, 10);  // unlike a plain rectangle's, this one lays out
  EXPECT_EQ(Corners(*parent), "(0,0)-(120,110)");
  EXPECT_EQ(Corners(*middle), "(10,10)-(110,100)");
  EXPECT_EQ(Corners(*corner), "(80,70)-(90,80)");
  EXPECT_EQ(Corners(*part), "(0,0)-(120,110)");
  EXPECT_EQ(Corners(middle->GetClientRect()), "(0,0)-(100,90)");
}

TEST_F(ControlTest, SetPosSizeCoversTheWidthAndHeightAndOneMore) {
  CControl* c = Child(root.get(), 0, 0, 1, 1);
  c->SetPosSize(5, 6, 10, 20);
  EXPECT_EQ(Corners(*c), "(5,6)-(16,27)");
}

// [SECTION] View coordinates

TEST_F(ControlTest, SwappedCornersMirrorTheCoordinatesOfEverythingInside) {
  root->SetBounds(200, 100, 500, 300, false);  // a root's own corners are its place on the screen
  CControl* plain = Child(root.get(), 10, 20, 50, 60);
  CControl* inPlain = Child(plain, 5, 5, 15, 15);
  CControl* mirrored = Child(root.get(), 100, 10, 20, 60);  // x runs right to left
  CControl* inMirrored = Child(mirrored, 10, 5, 30, 25);
  CControl* deeper = Child(inMirrored, 2, 2, 4, 4);  // plain corners inside a mirrored axis

  struct Case {
    CControl* control;
    const char* origin;
    const char* abs;
  } cases[] = {
      {root.get(), "(0,0)", "(0,0)-(300,200)"},    {plain, "(0,0)", "(10,20)-(50,60)"},
      {inPlain, "(10,20)", "(15,25)-(25,35)"},     {mirrored, "(0,0)", "(100,10)-(20,60)"},
      {inMirrored, "(100,10)", "(90,15)-(70,35)"}, {deeper, "(90,15)", "(88,17)-(86,19)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Point(c.control->GetOrigin()), c.origin) << Corners(*c.control);
    EXPECT_EQ(Corners(c.control->GetAbsRect()), c.abs) << Corners(*c.control);
  }
}

// [SECTION] Painting: clip and visibility

TEST_F(ControlTest, PaintingClipsToTheParentAndSkipsInvisibleSubtrees) {
  auto* paper = Child<CFillRectangle>(root.get(), 0, 0, 300, 200);
  paper->Color = CColor(1, 1, 1);
  CControl* box = Child(root.get(), 10, 10, 19, 14);
  auto* spill = Child<CFillRectangle>(box, 5, 2, 30, 30);  // reaches far out of its parent
  spill->Color = CColor(1, 0, 0);
  CControl* hidden = Child(root.get(), 0, 20, 9, 24);
  hidden->Visible = false;
  auto* shielded = Child<CFillRectangle>(hidden, 0, 0, 9, 4);
  shielded->Color = CColor(0, 0, 1);
  root->Invalidate();

  const std::map<Pixel, char> legend = {{kWhite, '.'}, {kRed, 'r'}, {kBlue, 'b'}};
  EXPECT_EQ(gui.Picture(*root, 12, 10, 12, 8, legend),
            Rows({"............", "............", "...rrrrr....", "...rrrrr....", "...rrrrr....",
                  "............", "............", "............"}));
  EXPECT_EQ(gui.Picture(*root, 0, 20, 10, 1, legend), Rows({".........."}));

  hidden->Visible = true;
  root->Invalidate();
  EXPECT_EQ(gui.Picture(*root, 0, 20, 10, 1, legend), Rows({"bbbbbbbbbb"}));
}

TEST_F(ControlTest, AControlWhollyOutsideItsParentPaintsNothingNorDoItsChildren) {
  auto* paper = Child<CFillRectangle>(root.get(), 0, 0, 300, 200);
  paper->Color = CColor(1, 1, 1);
  CControl* box = Child(root.get(), 10, 10, 20, 20);
  auto* away = Child<CFillRectangle>(box, 30, 0, 40, 10);  // (40,10)-(50,20) in the window
  away->Color = CColor(1, 0, 0);
  // Back in the gap between the two, still outside the box: (22,12)-(28,18).
  auto* between = Child<CFillRectangle>(away, -18, 2, -12, 8);
  between->Color = CColor(0, 0, 1);
  root->Invalidate();
  const std::map<Pixel, char> legend = {{kWhite, '.'}, {kRed, 'r'}, {kBlue, 'b'}};
  EXPECT_EQ(gui.Picture(*root, 18, 15, 36, 1, legend), Rows({std::string(36, '.')}));
}

// [SECTION] Cloning and the record

TEST_F(ControlTest, ACloneEqualsItsOriginalAndIsTheParentsLastChild) {
  auto* original = Child<CRectangle>(root.get(), 10, 20, 70, 50);
  original->Color = CColor(0.25, 0.5, 1);
  original->Anchors.Set(0, 2, 3, 4);
  auto* inside = Child<CFillRectangle>(original, 1, 2, 3, 4);
  inside->Color = CColor(1, 0, 0);
  Child(root.get(), 0, 0, 5, 5);  // a later sibling

  CControl* clone = original->Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->ClassName(), "CRectangle");
  EXPECT_EQ(root->GetChild(root->ChildCount() - 1), clone);
  EXPECT_EQ(clone->Parent, root.get());
  EXPECT_EQ(Corners(*clone), "(10,20)-(70,50)");
  EXPECT_TRUE(clone->Color == original->Color);
  EXPECT_TRUE(clone->Anchors == original->Anchors);
  ASSERT_EQ(clone->ChildCount(), 1);
  EXPECT_EQ(clone->GetChild(0)->ClassName(), "CFillRectangle");
  EXPECT_TRUE(clone->GetChild(0)->Color == inside->Color);
  EXPECT_EQ(Corners(*clone->GetChild(0)), "(1,2)-(3,4)");

  CControl* elsewhere = Child(root.get(), 0, 0, 5, 5);
  CControl* moved = original->CloneInto(elsewhere);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(moved->Parent, elsewhere);
  EXPECT_EQ(elsewhere->GetChild(0), moved);
}

TEST_F(ControlTest, AssignCopiesTheLookAndClonesThePartsAsChildren) {
  auto* source = Child<CFillRectangle>(root.get(), 10, 20, 70, 50);
  source->Color = CColor(0, 1, 0);
  source->Number = 7;
  source->Visible = false;
  source->Anchors.Set(2, 2, 2, 2);
  Child(source, 0, 0, 5, 5)->SetFramePart(true);
  Child(source, 5, 5, 9, 9);
  auto* target = Child<CFillRectangle>(root.get(), 0, 0, 1, 1);
  target->Assign(source);
  EXPECT_EQ(Corners(*target), "(10,20)-(70,50)");
  EXPECT_TRUE(target->Color == source->Color);
  EXPECT_EQ(target->Number, 7);
  EXPECT_FALSE(target->Visible);
  EXPECT_TRUE(target->Anchors == source->Anchors);
  EXPECT_EQ(target->FramePartCount(), 0);
  EXPECT_EQ(target->ChildCount(), 2);
}

TEST_F(ControlTest, TheRecordKeepsNameRectangleVisibilityAnchorsAndBothLists) {
  CControl* original = Child(root.get(), 10, 20, 70, 50);
  original->SetName("Box");
  original->Visible = false;
  original->Anchors.Set(2, 1, 0, 3);
  Child<CRectangle>(original, 1, 1, 2, 2)->SetFramePart(true);
  Child<CFillRectangle>(original, 3, 3, 4, 4);

  CMemory stream;
  original->WriteTo(stream);
  stream.SetPosition(0);
  CControl* copy = Child(root.get(), 0, 0, 1, 1);
  copy->ReadFrom(stream);
  EXPECT_EQ(stream.Remaining(), 0) << "everything written is read";
  EXPECT_EQ(copy->GetName(), "Box");
  EXPECT_EQ(Corners(*copy), "(10,20)-(70,50)");
  EXPECT_FALSE(copy->Visible);
  EXPECT_TRUE(copy->Anchors == original->Anchors);
  ASSERT_EQ(copy->FramePartCount(), 1);
  EXPECT_EQ(copy->GetFramePart(0)->ClassName(), "CRectangle");
  ASSERT_EQ(copy->ChildCount(), 1);
  EXPECT_EQ(copy->GetChild(0)->ClassName(), "CFillRectangle");
  EXPECT_EQ(Corners(*copy->GetChild(0)), "(3,3)-(4,4)");
}

TEST_F(ControlTest, ADamagedRecordStopsReadingWithoutHarm) {
  CControl* original = Child(root.get(), 10, 20, 70, 50);
  Child<CFillRectangle>(original, 3, 3, 4, 4);
  CMemory good;
  original->WriteTo(good);

  // The start of a control's record up to its frame-part count, then a child count of `children`.
  static constexpr auto Head = [](CMemory& out, std::int32_t children) {
    CStr name;
    name.SaveToStream(out);
    CRect(1, 2, 3, 4).WriteTo(out);
    CInt(0).SaveToStream(out);
    CInt(children).SaveToStream(out);
  };
  struct Case {
    const char* what;
    void (*damage)(CMemory& record, CMemory& out);
  } cases[] = {
      {"cut short",
       [](CMemory& record, CMemory& out) { out.Write(record.Data(), record.GetSize().Value / 2); }},
      {"a child of a class that is not registered",
       [](CMemory&, CMemory& out) {
         Head(out, 1);
         CStr("CNoSuchControl").SaveToStream(out);
       }},
      {"a child that is not a control",
       [](CMemory&, CMemory& out) {
         Head(out, 1);
         CStr("CInt").SaveToStream(out);
       }},
      {"a vast child count", [](CMemory&, CMemory& out) { Head(out, 0x7fffffff); }},
  };
  for (const Case& c : cases) {
    CMemory damaged;
    c.damage(good, damaged);
    damaged.SetPosition(0);
    CControl* copy = Child(root.get(), 0, 0, 1, 1);
    copy->ReadFrom(damaged);
    EXPECT_LE(copy->ChildCount(), 1) << c.what;
    delete copy;
  }
}

}  // namespace
