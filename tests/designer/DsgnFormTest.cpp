// The designer window: its caption and toolbar, the fourteen kinds of new control, the colour
// choice, New, Delete, Clone, Group and UnGroup on the toolbar, and resizing.
#include <string>
#include <vector>

#include "controls/Pic.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "designer/ColorForm.h"
#include "designer/DsgnForm.h"
#include "tests/designer/DesignerFixture.h"
#include "widgets/Bevel.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/ToolBar.h"
#include "widgets/Tuner.h"

namespace {

using namespace qxtest;

enum ToolNumber {
  New = 1,
  Clone,
  Delete,
  Group,
  UnGroup,
  Color,
  Line,
  FillRectangle = 9,
  Button = 18
};

class DsgnFormTest : public DesignerTest {
 protected:
  DsgnFormTest() {
    designer = new CDsgnForm(main->Client);
    designer->SetBounds(10, 10, 500, 400, true);
    map = designer->Map;
    main->Invalidate();
  }

  CSpeedButton* Tool(int number) {
    for (std::int32_t i = 0; i < designer->ToolBar->ChildCount().Value; i++) {
      auto* button = dynamic_cast<CSpeedButton*>(designer->ToolBar->GetChild(i));
      if (button && button->Number == CInt(number)) return button;
    }
    ADD_FAILURE() << "no tool " << number;
    return nullptr;
  }

  // Clicks a tool; answers what it put on the surface, if anything.
  CControl* Use(int number) {
    const CInt before = map->ChildCount();
    ClickOn(*Tool(number));
    return map->ChildCount() > before ? map->GetChild(map->ChildCount() - CInt(1)) : nullptr;
  }

  // Clicks the Color tool and, once the dialog waits, does `inDialog` with it. A dialog still
  // waiting a minute later is closed and the test fails.
  void ChooseColor(std::function<void(CColorForm&)> inDialog) {
    After(10, [this, inDialog] {
      ASSERT_NE(designer->ColorDialog, nullptr);
      ASSERT_TRUE(designer->ColorDialog->Visible);
      inDialog(*designer->ColorDialog);
    });
    After(60000, [this] {
      ADD_FAILURE() << "the colour dialog was never answered";
      if (designer->ColorDialog) designer->ColorDialog->Close();
    });
    ClickOn(*Tool(Color));
  }

  CDsgnForm* designer;
  CMap* map;
};

TEST_F(DsgnFormTest, TheWindowHasAGreyCaptionWithoutButtonsAndTheSurfaceBelowTheToolbar) {
  CFormCaption& caption = *designer->Caption;
  EXPECT_TRUE(caption.Color == CColor(0.5, 0.5, 0.5));
  EXPECT_TRUE(caption.Title->Color == CColor(0.75, 0.75, 0.75));
  EXPECT_EQ(caption.Title->Str, CStr("Form1"));
  EXPECT_EQ(caption.Title->M1.X, CFloat(2));
  CControl* const buttons[] = {caption.Icon, caption.MinimizeButton, caption.MaximizeButton,
                               caption.RestoreButton, caption.CloseButton};
  for (CControl* hidden : buttons) EXPECT_FALSE(hidden->Visible);
  EXPECT_FALSE(designer->Sizable);

  CToolBar& bar = *designer->ToolBar;
  EXPECT_EQ(Corners(bar), "(4,20)-(496,41)");
  EXPECT_EQ(designer->Client->M1.Y, CFloat(43));
  EXPECT_EQ(Corners(*map), "(0,0)-(492,354)");
  EXPECT_EQ(map->Parent, designer->Client);
  EXPECT_TRUE(map->OnMouseUp.Is(designer, &CDsgnForm::MapMouseUp));
  EXPECT_TRUE(designer->CurrentColor == CColor(0, 0, 0));
}

TEST_F(DsgnFormTest, TheTwentyToolsSitAtTheirPlacesWithTheirPictures) {
  const struct {
    int x;
    const char* picture;
  } tools[20] = {
      {2, "New"},       {21, "Clone"},        {40, "Delete"},
      {59, "Group"},    {78, "UnGroup"},      {97, "Color"},
      {124, "Line"},    {143, "Rectangle"},   {162, "FillRectangle"},
      {181, "Ellipse"}, {200, "FillEllipse"}, {219, "Text"},
      {238, "Pic"},     {265, "Bevel"},       {284, "Panel"},
      {303, "Label"},   {322, "PicButton"},   {341, "Button"},
      {360, "Edit"},    {379, "Form"},
  };
  ASSERT_EQ(designer->ToolBar->ChildCount(), CInt(20));
  for (int i = 0; i < 20; i++) {
    auto* button = dynamic_cast<CSpeedButton*>(designer->ToolBar->GetChild(i));
    ASSERT_NE(button, nullptr);
    const int x = tools[i].x;
    EXPECT_EQ(Corners(*button), Point(CPoint(x, 2)) + "-" + Point(CPoint(x + 17, 19)))
        << tools[i].picture;
    EXPECT_EQ(button->Number, CInt(i + 1));
    EXPECT_EQ(button->Picture->FileName, CStr("C:\\Qxe\\Pics\\Dsgn\\") + tools[i].picture + ".bmp");
    EXPECT_EQ(button->Picture->Bitmap.Width, CInt(17)) << tools[i].picture << " is missing";
  }
}

TEST_F(DsgnFormTest, EachKindIsPlacedAtTheCornerInTheCurrentColourWithItsOwnStep) {
  const CStr picture = "C:\\Qxe\\Pics\\Other\\AboutPic64.bmp";
  const struct {
    int tool;
    const char* className;
    std::function<void(CControl*)> step;
  } kinds[] = {
      {7, "CLine", nullptr},
      {8, "CRectangle", nullptr},
      {9, "CFillRectangle", nullptr},
      {10, "CEllipse", nullptr},
      {11, "CFillEllipse", nullptr},
      {12, "CText", [](CControl* c) { EXPECT_EQ(static_cast<CText*>(c)->Str, CStr("Text")); }},
      {13, "CPic",
       [&](CControl* c) {
         auto* pic = static_cast<CPic*>(c);
         EXPECT_TRUE(pic->Centered);
         EXPECT_EQ(pic->FileName, picture);
         EXPECT_EQ(pic->Bitmap.Width, CInt(64));
       }},
      {14, "CBevel", nullptr},
      {15, "CPanel", nullptr},
      {16, "CLabel",
       [](CControl* c) { EXPECT_EQ(static_cast<CLabel*>(c)->Caption->Str, CStr("Text")); }},
      {17, "CPicButton",
       [&](CControl* c) { EXPECT_EQ(static_cast<CPicButton*>(c)->Picture->FileName, picture); }},
      {18, "CButton",
       [](CControl* c) { EXPECT_EQ(static_cast<CButton*>(c)->Caption->Str, CStr("Text")); }},
      {19, "CEdit",
       [](CControl* c) { EXPECT_EQ(static_cast<CEdit*>(c)->Caption->Str, CStr("Text")); }},
      {20, "CForm",
       [](CControl* c) {
         auto* form = static_cast<CForm*>(c);
         EXPECT_EQ(form->Caption->Title->Str, CStr("Caption"));
         EXPECT_GE(form->IndexOfFramePart(form->Caption).Value, 0);
         EXPECT_GE(form->IndexOfFramePart(form->Client).Value, 0);
       }},
  };
  designer->CurrentColor = CColor(0, 0.5, 1);
  for (const auto& kind : kinds) {
    CControl* first = Use(kind.tool);
    CControl* second = Use(kind.tool);
    ASSERT_NE(first, nullptr) << kind.className;
    ASSERT_NE(second, nullptr) << kind.className;
    for (CControl* made : {first, second}) {
      EXPECT_EQ(made->ClassName(), CStr(kind.className));
      EXPECT_EQ(Corners(*made), "(0,0)-(50,50)") << kind.className;
      EXPECT_TRUE(made->Color == CColor(0, 0.5, 1)) << kind.className;
      EXPECT_EQ(made->Anchors.M1X, CInt(3));
      EXPECT_EQ(made->Anchors.M1Y, CInt(3));
      EXPECT_EQ(made->Anchors.M2X, CInt(4));
      EXPECT_EQ(made->Anchors.M2Y, CInt(4));
      EXPECT_FALSE(Selected(*map, made)) << "a new control is not selected";
      if (kind.step) kind.step(made);
    }
  }
  EXPECT_EQ(map->ChildCount(), CInt(28));
}

TEST_F(DsgnFormTest, AChosenColourGoesToNewControlsOnly) {
  CControl* before = Use(Line);
  ChooseColor([this](CColorForm& dialog) { PostClick(*dialog.Buttons[63]); });  // row 7, column 7

  EXPECT_TRUE(designer->CurrentColor == CColor(1, 1, 1));
  CSpeedButton& tool = *Tool(Color);
  EXPECT_FALSE(tool.Picture->Visible) << "the tool shows a plain swatch of the colour";
  EXPECT_TRUE(tool.Client->Color == CColor(1, 1, 1));
  EXPECT_FALSE(designer->ColorDialog->Visible);
  EXPECT_TRUE(Use(Line)->Color == CColor(1, 1, 1));
  EXPECT_TRUE(before->Color == CColor(0, 0, 0));

  CColorForm* dialog = designer->ColorDialog;
  ChooseColor([this](CColorForm& dialog) { PostClick(*dialog.Buttons[3]); });  // row 0, column 3
  EXPECT_TRUE(designer->CurrentColor == CColor(0, 0, 1));
  EXPECT_EQ(designer->ColorDialog, dialog) << "one dialog, shown again";
  EXPECT_TRUE(Use(FillRectangle)->Color == CColor(0, 0, 1));
}

TEST_F(DsgnFormTest, ClosingTheColourDialogChangesNothing) {
  ChooseColor([this](CColorForm& dialog) { PostClick(*dialog.Buttons[9]); });
  const CColor chosen = designer->CurrentColor;
  ASSERT_FALSE(chosen == CColor(0, 0, 0));

  ChooseColor([this](CColorForm& dialog) { PostClick(*dialog.Caption->CloseButton); });
  EXPECT_TRUE(designer->CurrentColor == chosen);
  EXPECT_TRUE(Tool(Color)->Client->Color == chosen);
  EXPECT_FALSE(designer->ColorDialog->Visible);
}

TEST_F(DsgnFormTest, DeleteDestroysTheSelectionAndItsTrackers) {
  CControl* kept = Use(Line);
  kept->SetBounds(100, 100, 50, 50, true);
  CControl* first = Use(FillRectangle);
  CControl* second = Use(Button);
  second->SetBounds(0, 90, 50, 50, true);

  Use(Delete);  // nothing selected: nothing happens
  EXPECT_EQ(map->ChildCount(), CInt(3));

  Drag(*map, 99, 180, 0, 0);  // a band around the two
  ASSERT_TRUE(Selected(*map, first));
  ASSERT_TRUE(Selected(*map, second));
  Use(Delete);
  EXPECT_EQ(map->ChildCount(), CInt(1));
  EXPECT_EQ(map->GetChild(0), kept);
  EXPECT_EQ(map->FirstSelected(), nullptr);
  for (std::int32_t i = 0; i < map->Tracks.Count().Value; i++)
    EXPECT_EQ(map->Tracks.GetAs<CTrack>(i)->Target, kept);

  Press(*map, 50, 50);  // where the handles were: a rubber band, no resize
  EXPECT_EQ(map->Mode, CInt(3));
  Release(*map, 50, 50);
}

TEST_F(DsgnFormTest, CloneCopiesTheSelectionOneGridStepFurtherAndSelectsTheCopies) {
  designer->CurrentColor = CColor(0.5, 0, 0);
  CControl* button = Use(Button);
  CControl* text = Use(12);
  button->SetBounds(0, 90, 50, 50, true);
  Use(Clone);  // nothing selected: nothing happens
  EXPECT_EQ(map->ChildCount(), CInt(2));

  Drag(*map, 99, 180, 0, 0);
  Use(Clone);

  ASSERT_EQ(map->ChildCount(), CInt(4));
  auto* buttonCopy = dynamic_cast<CButton*>(map->GetChild(2));
  auto* textCopy = dynamic_cast<CText*>(map->GetChild(3));
  ASSERT_NE(buttonCopy, nullptr);
  ASSERT_NE(textCopy, nullptr);
  EXPECT_EQ(Corners(*buttonCopy), "(9,99)-(59,149)");
  EXPECT_EQ(Corners(*textCopy), "(9,9)-(59,59)");
  EXPECT_EQ(buttonCopy->Caption->Str, CStr("Text"));
  EXPECT_EQ(textCopy->Str, CStr("Text"));
  EXPECT_TRUE(buttonCopy->Color == CColor(0.5, 0, 0));
  EXPECT_TRUE(textCopy->Color == CColor(0.5, 0, 0));
  EXPECT_EQ(buttonCopy->Anchors.M2X, CInt(4));
  EXPECT_TRUE(Selected(*map, buttonCopy));
  EXPECT_TRUE(Selected(*map, textCopy));
  EXPECT_FALSE(Selected(*map, button));
  EXPECT_FALSE(Selected(*map, text));
}

TEST_F(DsgnFormTest, CloneOfAGroupCopiesItsMembers) {
  CControl* a = Use(FillRectangle);
  designer->CurrentColor = CColor(0, 0.5, 0);
  CControl* b = Use(FillRectangle);
  b->SetBounds(54, 0, 50, 50, true);
  Drag(*map, 150, 99, 0, 0);
  Use(Group);
  ASSERT_EQ(map->ChildCount(), CInt(1));
  CControl* group = map->GetChild(0);

  Use(Clone);
  ASSERT_EQ(map->ChildCount(), CInt(2));
  CControl* copy = map->GetChild(1);
  EXPECT_EQ(copy->GetName(), CStr("MyControl1"));
  EXPECT_EQ(Corners(*copy), "(9,9)-(113,59)");
  ASSERT_EQ(copy->FramePartCount(), CInt(2));
  EXPECT_EQ(Corners(*copy->GetFramePart(1)), Corners(*b));
  EXPECT_TRUE(copy->GetFramePart(0)->Color == a->Color);
  EXPECT_TRUE(copy->GetFramePart(1)->Color == CColor(0, 0.5, 0));
  EXPECT_FALSE(Selected(*map, group));

  Use(UnGroup);
  EXPECT_EQ(map->ChildCount(), CInt(3)) << "the copy's two members and the first group";
}

TEST_F(DsgnFormTest, NewEmptiesTheSurfaceAndItsTrackers) {
  Use(Line);
  Use(Button);
  Click(*map, 25, 25);
  ASSERT_NE(map->FirstSelected(), nullptr);

  Use(New);
  EXPECT_EQ(map->ChildCount(), CInt(0));
  EXPECT_EQ(map->FramePartCount(), CInt(0));
  EXPECT_EQ(map->Tracks.Count(), CInt(0));
  const CPoint corner = map->GetAbsM1();
  EXPECT_EQ(gui.PixelAt(*main, (corner.X + CFloat(50)).Round().Value,
                        (corner.Y + CFloat(50)).Round().Value),
            kWhite)
      << "redrawn at once: no handle is left on the screen";
  Press(*map, 50, 50);
  EXPECT_EQ(map->Mode, CInt(3));
  Release(*map, 50, 50);
}

TEST_F(DsgnFormTest, GroupAndUnGroupOnTheToolbar) {
  CControl* a = Use(FillRectangle);
  CControl* b = Use(FillRectangle);
  b->SetBounds(54, 0, 50, 50, true);
  Click(*map, 25, 25);
  Use(Group);  // one selected: nothing
  EXPECT_EQ(map->ChildCount(), CInt(2));

  Drag(*map, 150, 99, 0, 0);
  Use(Group);
  ASSERT_EQ(map->ChildCount(), CInt(1));
  EXPECT_EQ(a->Parent, map->GetChild(0));

  Use(UnGroup);
  EXPECT_EQ(map->ChildCount(), CInt(2));
  EXPECT_EQ(Corners(*a), "(0,0)-(50,50)");
  EXPECT_EQ(Corners(*b), "(54,0)-(104,50)");
}

TEST_F(DsgnFormTest, ADesignedFormButtonOrEditOnlyGetsSelected) {
  for (int tool : {18, 19, 20}) {
    Use(New);
    CControl* made = Use(tool);
    ClickOn(*made);
    EXPECT_TRUE(Selected(*map, made)) << made->ClassName().ToStd();
    EXPECT_FALSE(made->MousePressed);
    EXPECT_EQ(main->View->Focused, map) << "the surface, not the designed control, has the keyboard";
  }
}

TEST_F(DsgnFormTest, TheDesignedControlsScaleWithTheWindow) {
  CControl* box = Use(FillRectangle);
  box->SetBounds(100, 50, 50, 100, true);
  const CRect before = *map;
  designer->SetBounds(10, 10, 746, 500, true);
  const CFloat rx = map->GetWidth() / before.GetWidth();
  const CFloat ry = map->GetHeight() / before.GetHeight();
  ASSERT_GT(rx.Value, 1.4L);
  EXPECT_EQ(Corners(*box),
            Corners(CRect(CFloat(100) * rx, CFloat(50) * ry, CFloat(150) * rx, CFloat(150) * ry)));
}

class DsgnFormTunerTest : public DsgnFormTest {
 protected:
  DsgnFormTunerTest() {
    tuner = new CTunerTreeBox(main->Client);
    tuner->SetBounds(520, 10, 250, 400, true);
    designer->Tuner = tuner;
    main->Invalidate();
  }

  // The top-level row whose caption starts with caption.
  CTunerTreeBox::CItem* Row(const char* caption) {
    for (std::int32_t i = 0; i < tuner->RootItems.Count().Value; ++i) {
      auto* item = tuner->RootItems.GetAs<CTunerTreeBox::CItem>(i);
      if (item->Caption.ToStd().rfind(caption, 0) == 0) return item;
    }
    ADD_FAILURE() << "no row " << caption;
    return nullptr;
  }

  // The row's edit emptied and the value typed, then Enter.
  void TypeInto(const char* caption, const std::string& text) {
    tuner->SelectItem(Row(caption), false);
    gui.PressKey(*main, 79);  // End
    for (std::int32_t i = tuner->Editor->GetText().Length().Value; i > 0; --i) gui.PressKey(*main, 14);
    gui.Type(*main, text);
    gui.PressKey(*main, 28);
  }

  // A press on the tuner's first row, which opens its edit.
  void OpenFirstRow() {
    const CRect face = tuner->Client->GetAbsRect();
    gui.Click(*main, (face.M1.X + CFloat(30)).Round().Value, (face.M1.Y + CFloat(8)).Round().Value);
  }

  CTunerTreeBox* tuner;
};

TEST_F(DsgnFormTunerTest, AReleaseShowsTheFirstSelectedControlOrTheFormItself) {
  CControl* line = Use(Line);
  CControl* box = Use(FillRectangle);
  box->SetBounds(90, 0, 50, 50, true);

  Click(*map, 25, 25);
  EXPECT_EQ(tuner->Shown, line);
  EXPECT_GT(tuner->RootItems.Count().Value, 0) << "the line's properties are listed";

  Drag(*map, 99, 27, 117, 27);  // moving the box shows the box
  EXPECT_EQ(tuner->Shown, box);

  Click(*map, 300, 300);  // the empty surface
  EXPECT_EQ(tuner->Shown, &designer->Form);
}

TEST_F(DsgnFormTunerTest, TheTunerLetsGoOfControlsBeforeTheyAreDestroyed) {
  const struct {
    const char* what;
    int tool;
  } cases[] = {{"Delete", Delete}, {"UnGroup", UnGroup}, {"New", New}};
  for (const auto& c : cases) {
    Use(New);
    Use(FillRectangle);
    CControl* right = Use(FillRectangle);
    right->SetBounds(54, 0, 50, 50, true);
    Drag(*map, 150, 99, 0, 0);
    Use(Group);
    CControl* group = map->GetChild(0);
    Click(*map, 25, 25);
    ASSERT_EQ(tuner->Shown, group) << c.what;
    Use(c.tool);
    EXPECT_EQ(tuner->Shown, nullptr) << c.what;
  }

}

// The tuner follows what survives a tool: the copies after Clone, nothing after New or Delete,
// with no rows left and no edit open on a control that is gone.
TEST_F(DsgnFormTunerTest, AfterNewDeleteOrCloneTheTunerShowsTheSelectionThatIsLeft) {
  for (const int tool : {New, Delete, Clone}) {
    Use(New);
    CControl* line = Use(Line);
    Click(*map, 25, 25);
    ASSERT_EQ(tuner->Shown, line);
    OpenFirstRow();
    ASSERT_TRUE(tuner->Editor && tuner->Editor->Visible) << tool;

    Use(tool);
    if (tool == Clone) {
      CControl* copy = map->GetChild(1);
      EXPECT_EQ(tuner->Shown, copy);
      EXPECT_GT(tuner->RootItems.Count().Value, 0) << "the copy's properties";
      Use(Delete);  // the copy goes and nothing stays selected
    }
    EXPECT_EQ(tuner->Shown, nullptr) << tool;
    EXPECT_EQ(tuner->RootItems.Count().Value, 0) << tool;
    EXPECT_FALSE(tuner->Editor->Visible) << tool;
  }
}

// A press on the surface gives it the keyboard: arrows move the selection a grid step, Delete
// removes it as the tool does, and keys reach the surface's hooks.
TEST_F(DsgnFormTunerTest, TheSurfaceTakesTheKeyboardAfterAPress) {
  CControl* box = Use(FillRectangle);
  CControl* other = Use(FillRectangle);
  other->SetBounds(108, 0, 50, 50, true);
  struct Heard {
    std::string keys;
    void Up(CControl*, CInt key, CShiftStateSet) { keys += key.ToStr().ToStd() + " "; }
  } heard;
  map->OnKeyUp.Set(&heard, &Heard::Up);

  Click(*map, 25, 25);
  gui.PressKey(*main, CMap::kKeyRight);
  gui.PressKey(*main, CMap::kKeyDown);
  gui.PressKey(*main, CMap::kKeyDown);
  EXPECT_EQ(Corners(*box), "(9,18)-(59,68)");
  EXPECT_EQ(Corners(*other), "(108,0)-(158,50)") << "only the selection moves";
  EXPECT_EQ(tuner->Shown, box);
  EXPECT_EQ(heard.keys, "77 80 80 ");

  gui.PressKey(*main, CDsgnForm::kKeyDelete);
  ASSERT_EQ(map->ChildCount().Value, 1);
  EXPECT_EQ(map->GetChild(0), other);
  EXPECT_EQ(tuner->Shown, nullptr);
  EXPECT_EQ(tuner->RootItems.Count().Value, 0);
}

// The form's own rows: a release on the bare surface shows them; a title or size typed there is
// shown at once and kept in the design, and a size that cannot be a window's is refused.
TEST_F(DsgnFormTunerTest, TheFormsTitleAndSizeAreSetInTheTunerAndKept) {
  // A damaged form line is kept until the form is tuned: the tuned one then stands for it.
  EXPECT_NE(designer->ReadDesign("design 1\nform size=0,5\n", "TLogin"), "");
  EXPECT_EQ(designer->Form.Title, "TLogin");
  Click(*map, 300, 300);
  ASSERT_EQ(tuner->Shown, &designer->Form);
  EXPECT_EQ(tuner->RootItems.Count(), CInt(3)) << "Title, Width, Height";
  EXPECT_EQ(Row("Title")->Caption.ToStd().find("CStr"), std::string("Title : ").size());

  TypeInto("Title", "Вход"_cp);
  EXPECT_EQ(designer->Form.Title, "Вход"_cp);
  EXPECT_EQ(designer->Caption->Title->Str, "Вход"_cp);
  TypeInto("Width", "297");
  TypeInto("Height", "180");
  EXPECT_EQ(map->FormWidth, CInt(297));
  EXPECT_EQ(map->FormHeight, CInt(180));
  EXPECT_FALSE(tuner->Editor->Caption->Color == CColor(1, 0, 0));

  const struct {
    const char* row;
    const char* typed;
    const char* why;
  } refused[] = {
      {"Width", "0", "Размер формы - от 1 до 10000"_cp},
      {"Height", "10001", "Размер формы - от 1 до 10000"_cp},
      {"Width", "-40", "Размер формы - от 1 до 10000"_cp},
      {"Height", "abc", nullptr},  // not a number: the tuner's own reason
  };
  for (const auto& c : refused) {
    TypeInto(c.row, c.typed);
    EXPECT_EQ(designer->Form.Width, CInt(297)) << c.typed;
    EXPECT_EQ(designer->Form.Height, CInt(180)) << c.typed;
    EXPECT_TRUE(tuner->Editor->Visible) << c.typed;
    EXPECT_EQ(tuner->Editor->GetText(), c.typed);
    EXPECT_TRUE(tuner->Editor->Caption->Color == CColor(1, 0, 0)) << c.typed;
    ASSERT_NE(tuner->Refusal, nullptr);
    EXPECT_TRUE(tuner->Refusal->Visible);
    if (c.why) EXPECT_EQ(tuner->Refusal->Caption->Str, CStr(c.why)) << c.typed;
  }
  EXPECT_EQ(designer->WriteDesign("").ToStd(), "design 1\nform title=\"Вход\" size=297,180\n"_cp)
      << "a form tuned on an empty surface is a design";
}

}  // namespace

namespace {

using namespace qxtest;

// The tuner sets what a person sets on a form: a label's text takes the typed value; a value that
// does not read leaves the control as it was, with the edit open and its text in red; a control
// hidden from the tuner is still drawn, dimmed, and can be selected again.
TEST_F(DsgnFormTunerTest, TheTunerSetsTextsAndRefusesUnreadableValuesVisibly) {
  auto* label = static_cast<CLabel*>(Use(16));
  Click(*map, 25, 25);
  ASSERT_EQ(tuner->Shown, label);
  TypeInto("Str", "Имя"_cp);
  EXPECT_EQ(label->Caption->Str, "Имя"_cp);

  TypeInto("Color", "abc");
  EXPECT_TRUE(label->Caption->Color == CColor(0, 0, 0)) << "the value stays";
  EXPECT_TRUE(tuner->Editor->Visible);
  EXPECT_EQ(tuner->Editor->GetText(), "abc");
  EXPECT_TRUE(tuner->Editor->Caption->Color == CColor(1, 0, 0)) << "and says it was refused";

  TypeInto("Visible", "false");
  EXPECT_FALSE(label->Visible);
  Click(*map, 300, 300);
  Click(*map, 25, 25);
  EXPECT_EQ(tuner->Shown, label) << "a hidden control can still be selected";
}

}  // namespace
