// The property tuner as a person uses it: the rows of an object's class chain, selecting a row,
// typing a value and Enter, and dragging the column divider.
#include <initializer_list>
#include <string>
#include <vector>

#include "controls/Shapes.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "graphics/Font.h"
#include "graphics/GLApp.h"
#include "controls/View.h"
#include "core/App.h"
#include "model/ClassManager.h"
#include "model/Kinds.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Form.h"
#include "widgets/Label.h"
#include "widgets/TreeRows.h"
#include "widgets/Tuner.h"

namespace {

using namespace qxtest;
using CItem = CCustomTreeBox::CItem;

constexpr int kEnter = 28, kBackspace = 14;

// An object with a property of every kind the tuner writes, one without a setter and one without
// a getter.
class CTunerProbe : public CObject {
 public:
  CStr ClassName() const override { return "CTunerProbe"; }
  CBool Flag;
  CInt Count = 3;
  CRect Area = CRect(1, 2, 3, 4);
  CInt Fixed = 7;
  CStr Blind = "unseen";
};

const CClassRow kProbe = {
    "CTunerProbe",
    "CObject",
    "Tests",
    "",
    &Make<CTunerProbe>,
    {{"Flag", "CBool", false, &FieldGetter<&CTunerProbe::Flag>, &FieldSetter<&CTunerProbe::Flag>},
     {"Count", "CInt", false, &FieldGetter<&CTunerProbe::Count>, &FieldSetter<&CTunerProbe::Count>},
     {"Area", "CRect", true, &FieldGetter<&CTunerProbe::Area>, &FieldSetter<&CTunerProbe::Area>},
     {"Fixed", "CInt", false, &FieldGetter<&CTunerProbe::Fixed>, nullptr},
     {"Blind", "CStr", false, nullptr, &FieldSetter<&CTunerProbe::Blind>}}};

std::vector<std::string> Captions(const CList& rows) {
  std::vector<std::string> captions;
  for (std::int32_t i = 0; i < rows.Count().Value; i++)
    captions.push_back(rows.GetAs<CItem>(i)->Caption.ToStd());
  return captions;
}

class TunerTest : public WidgetTest {
 protected:
  TunerTest() {
    root->SetBounds(0, 0, 420, 420, true);
    tuner = new CTunerTreeBox(root.get());
    tuner->SetBounds(0, 0, 300, 400, true);
    root->Invalidate();
  }

  // The row reached by following captions from the roots.
  CItem* Row(std::initializer_list<const char*> path) {
    const CList* list = &tuner->RootItems;
    CItem* found = nullptr;
    for (const char* caption : path) {
      found = nullptr;
      for (std::int32_t i = 0; i < list->Count().Value && !found; i++)
        if (list->GetAs<CItem>(i)->Caption == caption) found = list->GetAs<CItem>(i);
      if (!found) return nullptr;
      list = &found->Children;
    }
    return found;
  }

  // Where the row stands among the rows that show.
  int IndexOf(const CItem* row) {
    int index = 0;
    for (CTreeRows<CItem> rows(tuner->RootItems); !rows.AtEnd(); rows.Next(), index++)
      if (rows.Current() == row) return index;
    return -1;
  }

  // A click on the row's value column.
  void Select(const CItem* row) {
    const CPoint face = tuner->Client->GetAbsM1();
    const int x = (face.X + tuner->DividerX + CFloat(30)).Round().Value;
    const int y = face.Y.Round().Value + 16 * IndexOf(row) + 2 + 6;
    gui.Click(*root, x, y);
  }

  void Enter(std::initializer_list<const char*> path, const char* text) {
    CItem* row = Row(path);
    ASSERT_NE(row, nullptr) << *path.begin();
    Select(row);
    ASSERT_EQ(tuner->Selected, row);
    // The edit opens with the value and the caret after it: rub it out, then type.
    for (int i = tuner->Editor->GetText().Length().Value; i > 0; i--)
      gui.PressKey(*root, kBackspace);
    gui.Type(*root, text);
    gui.PressKey(*root, kEnter);
  }

  CStr ValueOf(std::initializer_list<const char*> path) {
    const CItem* row = Row(path);
    return row ? CTunerTreeBox::DataOf(row)->ValueText() : CStr("(no row)");
  }

  CTunerTreeBox* tuner = nullptr;
};

// [SECTION] Listing

TEST_F(TunerTest, ModelElementsListTheirBaseClassesRowsFirst) {
  const struct {
    CInfo* element;
    std::vector<std::string> rows;
  } cases[] = {
      {new CUnitInfo, {"Name : CStr", "About : CStr"}},
      {new CClassInfo, {"Name : CStr", "About : CStr", "Base : CStr"}},
      {new CDllInfo, {"Name : CStr", "About : CStr"}},
  };
  for (const auto& c : cases) {
    c.element->SetName("Main");
    c.element->About = "Описание"_cp;
    tuner->ShowObject(c.element);
    EXPECT_EQ(Captions(tuner->RootItems), c.rows) << c.element->ClassName();
    EXPECT_EQ(ValueOf({"Name : CStr"}), "Main");
    EXPECT_EQ(ValueOf({"About : CStr"}), "Описание"_cp);
    tuner->ShowObject(nullptr);
    delete c.element;
  }
}

TEST_F(TunerTest, AColourShowsThreeNumbersAndExpandsIntoItsComponents) {
  auto* box = new CFillRectangle(root.get());
  box->SetBounds(320, 10, 40, 20, true);
  box->Color = CColor(1, 0.5, 0);
  tuner->ShowObject(box);
  EXPECT_EQ(Captions(tuner->RootItems),
            (std::vector<std::string>{"Name : CStr", "M1 : CPoint", "M2 : CPoint",
                                      "Visible : CBool", "Anchors : CAnchors", "IndexOf : CInt",
                                      "OnMouse : CStr", "Color : CColor"}));
  EXPECT_EQ(ValueOf({"Color : CColor"}), "1, 0.5, 0");
  EXPECT_EQ(ValueOf({"M1 : CPoint"}), "320, 10");
  EXPECT_EQ(ValueOf({"Anchors : CAnchors"}), "(no values)");
  const std::vector<std::string> components = Captions(Row({"Color : CColor"})->Children);
  ASSERT_GE(components.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(components.begin(), components.begin() + 3),
            (std::vector<std::string>{"R : CFloat", "G : CFloat", "B : CFloat"}));
  EXPECT_EQ(ValueOf({"Color : CColor", "G : CFloat"}), "0.5");
}

TEST_F(TunerTest, APropertyWithoutAGetterShowsAnEmptyValue) {
  gui.App().ClassMan->Register(kProbe);
  CTunerProbe probe;
  tuner->ShowObject(&probe);
  const CItem* blind = Row({"Blind : CStr"});
  ASSERT_NE(blind, nullptr);
  EXPECT_EQ(CTunerTreeBox::DataOf(blind)->Value, nullptr);
  EXPECT_EQ(ValueOf({"Blind : CStr"}), "");
  EXPECT_EQ(ValueOf({"Area : CRect"}), "1, 2, 3, 4");
  EXPECT_EQ(ValueOf({"Area : CRect", "M2 : CPoint", "Y : CFloat"}), "4");
}

// A class whose property has the class itself as type: expanding it would never end.
class CTunerLoop : public CObject {
 public:
  CStr ClassName() const override { return "CTunerLoop"; }
};

TEST_F(TunerTest, APropertyOfItsOwnClassIsExpandedOnlySoDeep) {
  gui.App().ClassMan->Register(
      {"CTunerLoop", "CObject", "Tests", "", &Make<CTunerLoop>, {{"Next", "CTunerLoop", true}}});
  CTunerLoop loop;
  tuner->ShowObject(&loop);
  const CItem* row = Row({"Next : CTunerLoop"});
  ASSERT_NE(row, nullptr);
  int depth = 0;
  for (; row && row->Count() > CInt(0); row = row->Get(0)) depth++;
  EXPECT_GT(depth, 2);
  EXPECT_LE(depth, 20);
}

// [SECTION] Committing

TEST_F(TunerTest, EnterOnAColourComponentRecoloursTheControlAndRefreshesTheList) {
  auto* box = new CFillRectangle(root.get());
  box->SetBounds(320, 10, 40, 20, true);
  box->Color = CColor(1, 0, 0);
  tuner->ShowObject(box);
  Enter({"Color : CColor", "G : CFloat"}, "0.5");
  EXPECT_EQ(box->Color, CColor(1, 0.5, 0));
  EXPECT_EQ(ValueOf({"Color : CColor"}), "1, 0.5, 0") << "the rows are read again";
  EXPECT_EQ(tuner->Selected, nullptr);
  EXPECT_FALSE(tuner->Editor->Visible);
  EXPECT_EQ(gui.PixelAt(*root, 330, 20), 0xFF8000) << "the control shows its new colour";
}

TEST_F(TunerTest, EnterOnXOfAPointMovesTheControl) {
  auto* box = new CFillRectangle(root.get());
  box->SetBounds(320, 10, 40, 20, true);
  tuner->ShowObject(box);
  Enter({"M1 : CPoint", "X : CFloat"}, "330");
  EXPECT_EQ(Corners(*box), "(330,10)-(370,30)");
  EXPECT_EQ(ValueOf({"M1 : CPoint"}), "330, 10");
}

TEST_F(TunerTest, IntegersFlagsAndRectanglesAreWrittenAndTextsThatDoNotReadAreNot) {
  gui.App().ClassMan->Register(kProbe);
  CTunerProbe probe;
  tuner->ShowObject(&probe);

  Enter({"Count : CInt"}, "-12");
  EXPECT_EQ(probe.Count, -12);
  Enter({"Flag : CBool"}, "true");
  EXPECT_TRUE(probe.Flag);
  Enter({"Flag : CBool"}, "0");
  EXPECT_FALSE(probe.Flag);
  Enter({"Area : CRect", "M2 : CPoint", "Y : CFloat"}, "40");
  EXPECT_EQ(Corners(probe.Area), "(1,2)-(3,40)");
  EXPECT_EQ(ValueOf({"Area : CRect"}), "1, 2, 3, 40");

  const struct {
    std::initializer_list<const char*> path;
    const char* text;
  } refused[] = {
      {{"Count : CInt"}, "12x"},
      {{"Flag : CBool"}, "yes"},
      {{"Area : CRect", "M1 : CPoint", "X : CFloat"}, "left"},
      {{"Area : CRect"}, "5, 6, 7, 8"},  // a composite is edited in its sub-rows
      {{"Fixed : CInt"}, "9"},           // no setter
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.text);
    Enter(r.path, r.text);
    EXPECT_TRUE(tuner->Editor->Visible) << "the edit stays open";
    EXPECT_EQ(tuner->Editor->GetText(), r.text) << "with the text as typed";
    EXPECT_NE(tuner->Selected, nullptr);
  }
  EXPECT_EQ(probe.Count, -12);
  EXPECT_FALSE(probe.Flag);
  EXPECT_EQ(Corners(probe.Area), "(1,2)-(3,40)");
  EXPECT_EQ(probe.Fixed, 7);
}

// A refused value leaves the object and the rows' copies as they were, keeps the edit open in red
// and says why under it until the user types again.
TEST_F(TunerTest, ARefusedValueSaysWhyAndLeavesTheControlAsItWas) {
  auto* box = new CFillRectangle(root.get());
  box->SetBounds(320, 10, 40, 20, true);
  box->Color = CColor(1, 0, 0);
  const struct {
    std::initializer_list<const char*> path;
    const char* text;
    const char* why;
  } cases[] = {
      {{"Color : CColor", "G : CFloat"}, "abc", "Нужно число, например 0.5"_cp},
      {{"Color : CColor", "G : CFloat"}, "2", "Части цвета - числа от 0 до 1"_cp},
      {{"Color : CColor", "B : CFloat"}, "-0.5", "Части цвета - числа от 0 до 1"_cp},
      {{"Anchors : CAnchors", "M1X : CInt"}, "9", "Привязка - число от 0 до 4"_cp},
      {{"Anchors : CAnchors", "M2Y : CInt"}, "2.5", "Нужно целое число"_cp},
      {{"Visible : CBool"}, "maybe", "Нужно true или false"_cp},
      {{"IndexOf : CInt"}, "3", "Это свойство только показывается"_cp},
      {{"Color : CColor"}, "0, 0, 1", "Меняется по частям: раскройте строку"_cp},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    tuner->ShowObject(box);
    Enter(c.path, c.text);
    EXPECT_TRUE(tuner->Editor->Visible) << "the edit stays open";
    EXPECT_EQ(tuner->Editor->Caption->Color, CColor(1, 0, 0));
    ASSERT_NE(tuner->Refusal, nullptr);
    EXPECT_TRUE(tuner->Refusal->Visible);
    EXPECT_EQ(tuner->Refusal->Caption->Str, CStr(c.why));
    EXPECT_GE(tuner->Refusal->M1.Y, tuner->Editor->M2.Y) << "under the edit";
    EXPECT_EQ(box->Color, CColor(1, 0, 0));
    EXPECT_EQ(box->Anchors, CAnchors());
    EXPECT_TRUE(box->Visible);
    EXPECT_EQ(ValueOf({"Color : CColor"}), "1, 0, 0") << "the row's copy is read again";
  }
  gui.Type(*root, "1");
  EXPECT_FALSE(tuner->Refusal->Visible) << "typing again takes the reason away";

  // The same rows take values that read.
  tuner->ShowObject(box);
  Enter({"Anchors : CAnchors", "M1X : CInt"}, "2");
  Enter({"Anchors : CAnchors", "M2Y : CInt"}, "4");
  EXPECT_EQ(box->Anchors, CAnchors(2, 1, 1, 4));
  EXPECT_FALSE(tuner->Refusal->Visible);
  EXPECT_FALSE(tuner->Editor->Visible);
}

// The font of every text-bearing control is chosen row by row: face, height and style; the
// same font is registered once.
TEST_F(TunerTest, TheFontOfATextLabelButtonOrFormTitleIsSetRowByRow) {
  root->SetBounds(0, 0, 420, 760, true);
  tuner->SetBounds(0, 0, 300, 740, true);
  auto* text = new CText(root.get());
  auto* label = new CLabel(root.get());
  auto* button = new CButton(root.get());
  auto* form = new CForm(root.get());
  const struct {
    CControl* control;
    CText* shows;
  } cases[] = {
      {text, text}, {label, label->Caption}, {button, button->Caption}, {form, form->Caption->Title}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control->ClassName().ToStd());
    c.control->SetBounds(320, 10, 80, 30, true);
    tuner->ShowObject(c.control);
    EXPECT_EQ(ValueOf({"Font : CFont", "FontName : CStr"}), GLApp->FontManager->Find(c.shows->FontNumber)->FontName);
    Enter({"Font : CFont", "Height : CInt"}, "21");
    Enter({"Font : CFont", "B : CBool"}, "true");
    Enter({"Font : CFont", "FontName : CStr"}, "DejaVu Sans");
    const CFont* font = GLApp->FontManager->Find(c.shows->FontNumber);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->FontName, "DejaVu Sans");
    EXPECT_EQ(font->Height, CInt(21));
    EXPECT_TRUE(font->B);
    EXPECT_FALSE(font->I);
    EXPECT_EQ(ValueOf({"Font : CFont", "Height : CInt"}), "21");

    const CInt number = c.shows->FontNumber;
    Enter({"Font : CFont", "Height : CInt"}, "0");
    EXPECT_EQ(tuner->Refusal->Caption->Str, "Высота шрифта - от 1 до 500"_cp);
    Enter({"Font : CFont", "FontName : CStr"}, "");
    EXPECT_EQ(tuner->Refusal->Caption->Str, "Нужно имя шрифта"_cp);
    EXPECT_EQ(c.shows->FontNumber, number) << "a refused font changes nothing";
  }
  // Four controls, one font: it was made once and found three times.
  EXPECT_EQ(text->FontNumber, label->Caption->FontNumber);
  EXPECT_EQ(text->FontNumber, button->Caption->FontNumber);
  EXPECT_EQ(text->FontNumber, form->Caption->Title->FontNumber);
}

TEST_F(TunerTest, AfterShowingNothingTheRowsStayAndEnterWritesNothing) {
  auto* element = new CUnitInfo;
  element->SetName("Before");
  gui.App().InfoMan.Root.Append(element);
  tuner->ShowObject(element);
  Select(Row({"Name : CStr"}));
  tuner->ShowObject(nullptr);
  EXPECT_EQ(Captions(tuner->RootItems), (std::vector<std::string>{"Name : CStr", "About : CStr"}));
  EXPECT_EQ(tuner->Selected, nullptr);
  Enter({"Name : CStr"}, "After");  // the rows can still be selected
  EXPECT_EQ(element->GetName(), "Before");
  EXPECT_EQ(tuner->Shown, nullptr);
}

TEST_F(TunerTest, ListingAnotherObjectClosesTheEditAndLeavesTheFocusElsewhereAlone) {
  auto* first = new CUnitInfo;
  auto* second = new CUnitInfo;
  for (CInfo* element : {first, second}) gui.App().InfoMan.Root.Append(element);
  auto* other = new CEdit(root.get());
  other->SetBounds(310, 300, 100, 20, true);
  tuner->ShowObject(first);
  Select(Row({"About : CStr"}));
  ASSERT_TRUE(tuner->Editor->Visible);
  EXPECT_EQ(root->View->GetFocused(), tuner->Editor);
  tuner->ShowObject(second);
  EXPECT_FALSE(tuner->Editor->Visible);
  EXPECT_EQ(root->View->GetFocused(), nullptr);

  Select(Row({"About : CStr"}));
  gui.Click(*root, 320, 305);  // the user goes on typing elsewhere
  ASSERT_EQ(root->View->GetFocused(), other);
  tuner->ShowObject(first);
  EXPECT_EQ(root->View->GetFocused(), other);
}

// [SECTION] The divider

TEST_F(TunerTest, DraggingTheDividerMovesTheValueColumnTheDividerAndTheEditor) {
  auto* element = new CUnitInfo;
  element->SetName("Alpha");
  element->About = "Beta";
  gui.App().InfoMan.Root.Append(element);
  tuner->ShowObject(element);
  Select(Row({"Name : CStr"}));
  const CPoint face = tuner->Client->GetAbsM1();
  const int fx = face.X.Round().Value, fy = face.Y.Round().Value;
  const std::map<Pixel, char> ink = {{kWhite, '.'}, {kBlack, '#'}};
  const int valueX = fx + tuner->DividerX.Round().Value + 9;
  const std::string about = gui.Picture(*root, valueX, fy + 16 + 5, 30, 12, ink);
  ASSERT_NE(about.find('#'), std::string::npos) << about;
  const CFloat divider = tuner->Divider->M1.X, editor = tuner->Editor->M1.X;

  const int grabX = (tuner->Divider->GetAbsM1().X + CFloat(2)).Round().Value;
  gui.Press(*root, grabX, 200);
  gui.DragTo(*root, grabX + 10, 200);
  gui.DragTo(*root, grabX + 30, 210);
  gui.Release(*root, grabX + 30, 210);

  EXPECT_EQ(tuner->DividerX, CFloat(80));
  EXPECT_EQ(tuner->Divider->M1.X, divider + CFloat(30));
  EXPECT_EQ(tuner->Editor->M1.X, editor + CFloat(30));
  EXPECT_FALSE(tuner->Dragging);
  EXPECT_EQ(gui.Picture(*root, valueX + 30, fy + 16 + 5, 30, 12, ink), about);
}

// Past either edge the divider would leave the face and could never be grabbed again: each
// column keeps 20 pixels, and the divider comes back from where it stopped.
TEST_F(TunerTest, TheDividerStopsTwentyPixelsShortOfEitherEdge) {
  const int width = tuner->Client->GetWidth().Round().Value;
  const struct {
    int by;
    int dividerX;
  } cases[] = {
      {+1000, width - 5 - 20}, {-1000, 20}, {+290, width - 5 - 20}, {-70, 20}, {+100, 150}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.by);
    tuner->DividerX = 50;
    root->Invalidate();
    gui.RunUntilIdle();
    const int grabX = (tuner->Divider->GetAbsM1().X + CFloat(2)).Round().Value;
    gui.Press(*root, grabX, 200);
    gui.DragTo(*root, grabX + c.by / 2, 200);
    // While it is dragged it stays inside too.
    EXPECT_GE(tuner->Divider->M1.X, tuner->Client->M1.X + CFloat(20));
    EXPECT_LE(tuner->Divider->M1.X, tuner->Client->M1.X + CFloat(width - 5 - 20));
    gui.DragTo(*root, grabX + c.by, 200);
    gui.Release(*root, grabX + c.by, 200);
    EXPECT_EQ(tuner->DividerX, CFloat(c.dividerX));
    EXPECT_EQ(tuner->Divider->M1.X, tuner->Client->M1.X + CFloat(c.dividerX));

    // Where it stopped it can be grabbed and brought back.
    const int again = (tuner->Divider->GetAbsM1().X + CFloat(2)).Round().Value;
    gui.Press(*root, again, 100);
    gui.DragTo(*root, again + 50 - c.dividerX, 100);
    gui.Release(*root, again + 50 - c.dividerX, 100);
    EXPECT_EQ(tuner->DividerX, CFloat(50));
  }
}

}  // namespace
