// The tree boxes as a person uses them: pressing rows and their boxes, scrolling, and what the
// rows show: selection bars, sign boxes, the icons of the project tree's kinds.
#include <string>
#include <vector>

#include "core/App.h"
#include "graphics/Bitmap.h"
#include "model/Kinds.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Edit.h"
#include "widgets/ScrollBar.h"
#include "widgets/TreeBox.h"
#include "widgets/TreeRows.h"

namespace {

using namespace qxtest;
using CItem = CCustomTreeBox::CItem;

// Counts what the boxes report.
class Heard : public CObject {
 public:
  void Selected(CControl*, CItem* item) { selected.push_back(item); }
  void Clicked(CControl*) { clicks++; }
  std::vector<CItem*> selected;
  int clicks = 0;
};

CItem* NewItem(CItem* owner, const char* caption) {
  auto* item = new CItem(owner);
  item->Caption = caption;
  if (owner) owner->Add(item);
  return item;
}

template <class T>
T* NewElement(CInfo* parent, const char* name, bool expanded = true) {
  auto* element = new T;
  element->SetName(name);
  element->TreeFlags = expanded ? 1 : 0;
  parent->Append(element);
  return element;
}

class TreeBoxTest : public WidgetTest {
 protected:
  TreeBoxTest() { root->SetBounds(0, 0, 320, 260, true); }

  template <class Box>
  Box* NewBox() {
    auto* box = new Box(root.get());
    box->SetBounds(10, 10, 220, 200, true);
    root->Invalidate();
    return box;
  }

  // A press at client coordinates of the box's face.
  void PressAt(CScrollBox& box, int x, int y) {
    const CPoint face = box.Client->GetAbsM1();
    gui.Click(*root, face.X.Round().Value + x, face.Y.Round().Value + y);
  }

  Pixel FaceAt(CScrollBox& box, int x, int y) {
    const CPoint face = box.Client->GetAbsM1();
    return gui.PixelAt(*root, face.X.Round().Value + x, face.Y.Round().Value + y);
  }

  std::string FacePicture(CScrollBox& box, int x, int y, int w, int h) {
    const CPoint face = box.Client->GetAbsM1();
    return gui.Picture(*root, face.X.Round().Value + x, face.Y.Round().Value + y, w, h,
                       {{kWhite, '.'}, {kBlack, '#'}});
  }

  CInfo& Root() { return gui.App().InfoMan.Root; }

  // A, with A1 and A2; B, with B1; C: six rows while all are expanded.
  void Fill(CCustomTreeBox& box) {
    a = NewItem(nullptr, "A");
    NewItem(a, "A1");
    NewItem(a, "A2");
    b = NewItem(nullptr, "B");
    NewItem(b, "B1");
    c = NewItem(nullptr, "C");
    for (CItem* item : {a, b, c}) box.RootItems.Add(item);
    root->Invalidate();
  }

  CItem *a = nullptr, *b = nullptr, *c = nullptr;
  Heard heard;
};

// [SECTION] Both boxes

TEST_F(TreeBoxTest, AnEmptyTreePaintsOnlyThePanelAndAPressDoesNothing) {
  auto* custom = NewBox<CCustomTreeBox>();
  custom->OnSelect.Set(&heard, &Heard::Selected);
  custom->OnClick.Set(&heard, &Heard::Clicked);
  const int w = custom->Client->GetWidth().Round().Value - 1;
  const std::string blank = FacePicture(*custom, 0, 0, w, 60);
  EXPECT_EQ(blank.find_first_not_of(".\n"), std::string::npos) << blank;
  PressAt(*custom, 30, 5);
  PressAt(*custom, 8, 10);
  EXPECT_EQ(custom->Selected, nullptr);
  EXPECT_TRUE(heard.selected.empty());
  EXPECT_EQ(heard.clicks, 0);
  EXPECT_EQ(custom->TotalRows(), 0);

  custom->Visible = false;
  auto* info = NewBox<CInfoTreeBox>();
  info->OnSelect.Set(&heard, &Heard::Clicked);
  root->Invalidate();
  EXPECT_EQ(FacePicture(*info, 0, 0, w, 60), blank);
  PressAt(*info, 30, 5);
  EXPECT_EQ(info->Selected, nullptr);
  EXPECT_EQ(heard.clicks, 0);
}

TEST_F(TreeBoxTest, TheBarCountsTheVisibleRowsAndAPageOfWholeRows) {
  auto* box = NewBox<CCustomTreeBox>();
  Fill(*box);
  EXPECT_EQ(box->VisibleCount(a), 3);
  EXPECT_EQ(box->VisibleCount(c), 1);
  EXPECT_EQ(box->TotalRows(), 6);
  b->Flags = 0;
  box->RowsChanged();
  root->Invalidate();
  EXPECT_EQ(box->VisibleCount(b), 1);
  EXPECT_EQ(box->VisibleCount(a->Get(0)), 1);
  EXPECT_EQ(box->VertBar->Max, CFloat(5));
  const int page = (box->Client->GetHeight() / CFloat(16)).Floor().Value;
  EXPECT_EQ(box->VertBar->Page, CFloat(page));
}

// [SECTION] The custom box

TEST_F(TreeBoxTest, PressingTheBoxOfAnExpandedItemCollapsesAndSelectsItThenExpandsIt) {
  auto* box = NewBox<CCustomTreeBox>();
  box->OnClick.Set(&heard, &Heard::Clicked);
  Fill(*box);
  PressAt(*box, 8, 2 + 8);  // the box of A, in row 0
  EXPECT_FALSE(IsExpanded(*a));
  EXPECT_EQ(box->Selected, a);
  EXPECT_EQ(box->TotalRows(), 4);
  EXPECT_EQ(FaceAt(*box, 150, 8), kRed) << "the collapsed item shows selected";
  // A plus sign now, white on the bar: the vertical stroke at x + 4 is drawn.
  const CPoint face = box->Client->GetAbsM1();
  EXPECT_EQ(gui.Picture(*root, face.X.Round().Value + 4, face.Y.Round().Value + 4, 9, 9,
                        {{kRed, '.'}, {kWhite, '#'}}),
            Rows({"#########", "#.......#", "#...#...#", "#...#...#", "#.#####.#", "#...#...#",
                  "#...#...#", "#.......#", "#########"}));

  PressAt(*box, 8, 2 + 8);
  EXPECT_TRUE(IsExpanded(*a));
  EXPECT_EQ(box->Selected, a) << "expanding leaves the selection";
  EXPECT_EQ(box->TotalRows(), 6);
  EXPECT_EQ(heard.clicks, 2);
}

TEST_F(TreeBoxTest, ACustomRowIsHitFromTwoPixelsBelowItsTopAnInfoRowFromItsTop) {
  auto* box = NewBox<CCustomTreeBox>();
  box->OnSelect.Set(&heard, &Heard::Selected);
  Fill(*box);
  const CItem* a1 = a->Get(0);
  const struct {
    int y;
    const CItem* hit;
  } presses[] = {{16 + 2, a1}, {16 + 1, a}, {16 + 17, a1}, {16 + 18, a->Get(1)}, {2, a}};
  for (const auto& p : presses) {
    PressAt(*box, 60, p.y);
    EXPECT_EQ(box->Selected, p.hit) << "y " << p.y;
  }
  EXPECT_EQ(heard.selected.size(), 5u) << "every selection is reported with its item";
  EXPECT_EQ(heard.selected.back(), a);

  box->Visible = false;
  auto* info = NewBox<CInfoTreeBox>();
  auto* first = NewElement<CUnitInfo>(&Root(), "First");
  auto* second = NewElement<CUnitInfo>(&Root(), "Second");
  root->Invalidate();
  const struct {
    int y;
    CInfo* hit;
  } infoPresses[] = {{16, second}, {15, first}, {0, first}, {31, second}};
  for (const auto& p : infoPresses) {
    PressAt(*info, 60, p.y);
    EXPECT_EQ(info->Selected, p.hit) << "y " << p.y;
  }
}

TEST_F(TreeBoxTest, TheSelectedItemShowsARedBarWithWhiteTextOthersBlackText) {
  auto* box = NewBox<CCustomTreeBox>();
  Fill(*box);
  PressAt(*box, 60, 3 * 16 + 8);  // B
  ASSERT_EQ(box->Selected, b);
  const int w = box->Client->GetWidth().Round().Value;
  for (int x : {0, 60, w - 2}) {
    EXPECT_EQ(FaceAt(*box, x, 3 * 16), kRed) << x;
    EXPECT_EQ(FaceAt(*box, x, 3 * 16 + 15), kRed) << x;
    EXPECT_EQ(FaceAt(*box, x, 4 * 16), kWhite) << "16 rows high " << x;
  }
  const std::string row = FacePicture(*box, 20, 3 * 16, 20, 16);
  EXPECT_EQ(row.find('#'), std::string::npos) << "no black on the bar\n" << row;
  EXPECT_NE(FacePicture(*box, 36, 16, 20, 16).find('#'), std::string::npos)
      << "A1's caption, indented one level, is black";
}

TEST_F(TreeBoxTest, ScrolledDownThreeRowsTheFourthRowIsDrawnFirstAndPressedAtTheTop) {
  // Five rows fit.
  auto* custom = NewBox<CCustomTreeBox>();
  custom->SetHeight(100);
  Fill(*custom);
  for (const char* caption : {"D", "E", "F", "G"}) custom->RootItems.Add(NewItem(nullptr, caption));
  custom->Selected = b;  // the fourth row
  root->Invalidate();    // the bar learns the rows at a paint
  custom->VertBar->SetPosition(3);
  EXPECT_EQ(FaceAt(*custom, 100, 0), kRed);
  EXPECT_EQ(FaceAt(*custom, 100, 16), kWhite);
  PressAt(*custom, 60, 2);  // y - 2 = 0: the first drawn row
  EXPECT_EQ(custom->Selected, b);
  custom->Visible = false;

  auto* info = NewBox<CInfoTreeBox>();
  info->SetHeight(100);
  std::vector<CInfo*> elements;
  for (const char* name : {"U1", "U2", "U3", "U4", "U5", "U6", "U7", "U8", "U9"})
    elements.push_back(NewElement<CUnitInfo>(&Root(), name));
  NewElement<CVarInfo>(elements[3], "v");
  root->Invalidate();
  info->VertBar->SetPosition(3);
  PressAt(*info, 60, 0);
  EXPECT_EQ(info->Selected, elements[3]);
  EXPECT_EQ(FaceAt(*info, 100, 0), kBlue);
  EXPECT_EQ(FaceAt(*info, 100, 15), kBlue);
  EXPECT_EQ(FaceAt(*info, 100, 16), kWhite);
  PressAt(*info, 8, 8);  // its box: it collapses
  EXPECT_FALSE(IsExpanded(*elements[3]));
}

TEST_F(TreeBoxTest, ATreeThatShrinksBelowTheViewScrollsBackToItsLastPage) {
  auto* box = NewBox<CCustomTreeBox>();
  for (int i = 0; i < 40; i++) {
    CItem* item = NewItem(nullptr, "row");
    NewItem(item, "child");
    box->RootItems.Add(item);
  }
  root->Invalidate();
  box->VertBar->SetPosition(70);
  const CFloat bottom = box->VertBar->Position;
  ASSERT_GT(bottom, CFloat(0));
  for (int i = 0; i < 40; i++) box->RootItems.GetAs<CItem>(i)->Flags = 0;
  box->RowsChanged();
  box->Selected = box->RootItems.GetAs<CItem>(39);
  root->Invalidate();
  const CFloat last = CFloat(40) - box->VertBar->Page;
  EXPECT_EQ(box->VertBar->Position, last);
  const int lastRow = 39 - last.Round().Value;
  EXPECT_EQ(FaceAt(*box, 100, lastRow * 16 + 8), kRed) << "the last row shows";
}

// [SECTION] The project tree

class InfoTreeTest : public TreeBoxTest {
 protected:
  // A group with an application with a unit holding a class with an attribute and an
  // operation, both public.
  void FillModel() {
    group = NewElement<CProjectGroupInfo>(&Root(), "Group");
    auto* app = NewElement<CAppInfo>(group, "App");
    auto* unit = NewElement<CUnitInfo>(app, "Unit");
    klass = NewElement<CClassInfo>(unit, "K");
    auto* atr = NewElement<CAtrInfo>(klass, "x");
    atr->Access = 2;
    oper = NewElement<COperInfo>(klass, "f");
    oper->Access = 2;
    root->Invalidate();
  }

  CInfo* group = nullptr;
  CInfo* klass = nullptr;
  COperInfo* oper = nullptr;
};

TEST_F(InfoTreeTest, IconIndicesFollowTheKindAndTheAccessOfMembers) {
  const struct {
    const char* kind;
    int access;
    int index;
  } cases[] = {
      {"CProjectGroupInfo", 0, 0}, {"CProjectInfo", 0, 0}, {"CPackInfo", 0, 1},
      {"CAppInfo", 0, 2},          {"CLibInfo", 0, 3},     {"CUnitInfo", 0, 4},
      {"CDllInfo", 0, 5},          {"CClassInfo", 0, 6},   {"CNClassInfo", 0, 7},
      {"CAtrInfo", 0, 8},          {"CAtrInfo", 1, 9},     {"CAtrInfo", 2, 10},
      {"COperInfo", 0, 11},        {"COperInfo", 1, 12},   {"COperInfo", 2, 13},
      {"CTypeInfo", 0, 14},        {"CStructInfo", 0, 15}, {"CAtrInfo", 3, -1},
      {"COperInfo", -1, -1},       {"CVarInfo", 0, -1},    {"CInfo", 2, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CInfoTreeBox::GetIconIndex(c.kind, c.access), c.index) << c.kind << " " << c.access;
}

TEST_F(InfoTreeTest, APublicOperationShowsThePublicFunctionPicture) {
  InstallPictures();
  auto* box = NewBox<CInfoTreeBox>();
  box->LoadIcons(gui.App().HomeDir);
  FillModel();
  CGDIBitmap picture, other;
  picture.LoadFromFile(gui.App().HomeDir + "\\Pics\\16x16silver\\PubFunc.bmp");
  other.LoadFromFile(gui.App().HomeDir + "\\Pics\\16x16silver\\PrivFunc.bmp");
  ASSERT_EQ(picture.Picture().width, 16);
  ASSERT_NE(picture.Picture().pixels, other.Picture().pixels);
  // Group, App, Unit, K, x, f: the operation is row 5 at depth 4.
  const int x0 = 16 * 4 + 18, y0 = 16 * 5;
  int differing = 0;
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++)
      if (FaceAt(*box, x0 + x, y0 + y) != picture.Picture().At(x, y)) differing++;
  EXPECT_EQ(differing, 0);
}

TEST_F(InfoTreeTest, AKindWithoutAnIconStartsItsCaptionSixteenPixelsFurtherLeft) {
  InstallPictures();
  for (const char* home : {"", "C:\\Nowhere"}) {
    SCOPED_TRACE(*home ? "the pictures are missing" : "the pictures are there");
    auto* box = NewBox<CInfoTreeBox>();
    box->LoadIcons(*home ? CStr(home) : gui.App().HomeDir);
    NewElement<CUnitInfo>(&Root(), "Wide");
    NewElement<CVarInfo>(&Root(), "Wide");
    root->Invalidate();
    const std::string withIcon = FacePicture(*box, 36, 0, 40, 16);
    EXPECT_NE(withIcon.find('#'), std::string::npos) << withIcon;
    EXPECT_EQ(FacePicture(*box, 20, 16, 40, 16), withIcon);
    const std::string before = FacePicture(*box, 0, 16, 20, 16);
    EXPECT_EQ(before.find_first_not_of(".\n"), std::string::npos) << before;
    if (*home) {
      const std::string column = FacePicture(*box, 18, 0, 16, 16);
      EXPECT_EQ(column.find_first_not_of(".\n"), std::string::npos)
          << "a missing picture leaves its column empty\n"
          << column;
    }
    delete box;
    Root().Children.Clear();
  }
}

TEST_F(InfoTreeTest, CaptionsComeFromTheElementsAndCollapsingSurvivesARefresh) {
  auto* box = NewBox<CInfoTreeBox>();
  box->OnSelect.Set(&heard, &Heard::Clicked);
  FillModel();
  EXPECT_EQ(box->TotalRows(), 6);
  EXPECT_EQ(klass->Caption, "class K") << "the caption is updated as it is drawn";
  EXPECT_EQ(oper->Caption, "f()");

  PressAt(*box, 8, 8);  // the group's box
  EXPECT_FALSE(IsExpanded(*group));
  EXPECT_EQ(box->Selected, group);
  EXPECT_EQ(heard.clicks, 1) << "every hit is reported";
  delete box;
  box = NewBox<CInfoTreeBox>();
  EXPECT_EQ(box->TotalRows(), 1) << "the expanded state lives in the elements";
  EXPECT_EQ(box->VisibleCount(group), 1);
  group->TreeFlags = 1;
  EXPECT_EQ(box->VisibleCount(group), 6);
}

// The box's memory of its view lasts only while no list changes; a repaint or a caret blink that
// changed one would make every paint count the whole tree.
TEST_F(InfoTreeTest, RepaintsKeysAndCaretBlinksChangeNoList) {
  NewBox<CInfoTreeBox>();
  FillModel();
  auto* edit = new CEdit(root.get());
  edit->SetBounds(240, 10, 60, 20, true);
  gui.Click(*root, 250, 15);
  const std::uint64_t before = gui.App().ListChanges;
  root->Invalidate();
  gui.Advance(1600);
  gui.Type(*root, "ab");
  gui.PressKey(*root, 75);
  EXPECT_EQ(gui.App().ListChanges.load(), before);
}

TEST_F(InfoTreeTest, ElementsAddedOrDeletedBetweenPaintsShowAtTheNextPaint) {
  auto* box = NewBox<CInfoTreeBox>();
  box->SetHeight(100);  // five rows fit
  FillModel();
  box->VertBar->SetPosition(1);  // App at the top
  ASSERT_EQ(box->VertBar->Max, CFloat(6));
  // The view's first rows are deleted: the paint must not walk through what is gone.
  CInfo* app = group->Child(0);
  group->Children.RemoveObject(app);
  delete app;
  root->Invalidate();
  EXPECT_EQ(box->VertBar->Max, CFloat(1));
  EXPECT_EQ(box->VertBar->Position, CFloat(0));
  PressAt(*box, 60, 8);
  EXPECT_EQ(box->Selected, group);

  auto* unit = NewElement<CUnitInfo>(group, "Added");
  root->Invalidate();
  EXPECT_EQ(box->VertBar->Max, CFloat(2));
  PressAt(*box, 60, 16 + 8);
  EXPECT_EQ(box->Selected, unit);
  EXPECT_EQ(FaceAt(*box, 150, 16 + 8), kBlue);
}

}  // namespace
