// A form's design follows its class: through Save and a new start, Cut and Paste, Copy and
// Paste; another tool's text in the class is left alone.
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "designer/DsgnForm.h"
#include "designer/Map.h"
#include "model/MemberInfo.h"
#include "model/TypeInfo.h"
#include "tests/ide/IdeFixture.h"
#include "ide/EditForm.h"
#include "widgets/ToolBar.h"
#include "widgets/TreeBox.h"
#include "widgets/Tuner.h"

namespace {

using namespace qxtest;

class DesignTest : public IdeTest {
 protected:
  CClassInfo* MakeForm(CInfo* parent, const char* name) {
    auto* form = static_cast<CClassInfo*>(Make(parent, "CClassInfo", name));
    form->Base = "CForm";
    return form;
  }
  // The designer shown for the class after a press on its row.
  CDsgnForm* Open(CInfo* form) {
    Select(form);
    EXPECT_EQ(main->Designer, form->EditorWindow);
    return main->Designer;
  }
  CControl* UseTool(CDsgnForm* designer, int number) {
    for (std::int32_t i = 0; i < designer->ToolBar->ChildCount().Value; ++i) {
      CControl* button = designer->ToolBar->GetChild(i);
      if (button->Number.Value == number) QueueClick(button->GetAbsM1() + CPoint(8, 8));
    }
    Settle();
    CMap* map = designer->Map;
    return map->ChildCount().Value ? map->GetChild(map->ChildCount() - CInt(1)) : nullptr;
  }
  // A tool's control, moved to where nothing else lies.
  CControl* Place(CDsgnForm* designer, int tool, int x, int y) {
    CControl* control = UseTool(designer, tool);
    control->SetRect(CRect(x, y, x + 54, y + 27));
    main->Invalidate();
    return control;
  }
  void QueuePress(CControl* control) { QueueClick(control->GetAbsM1() + CPoint(27, 13)); }
  void DoublePress(CControl* control) {
    QueuePress(control);
    QueuePress(control);
    Settle();
  }
  // A row of the tuner (16 high, from the top) takes a new value.
  void TypeIntoRow(int row, const char* text) {
    QueueClick(main->Tuner->Client->GetAbsM1() +
               CPoint(main->Tuner->DividerX + CFloat(30), 8 + 16 * row));
    QueueKey(79);  // End, then the old value rubbed out
    for (int i = 0; i < 20; ++i) QueueKey(14, 8);
    QueueType(text);
    QueueKey(28, 13);
    Settle();
  }
  // The first row of the tuner, the name, takes a new one.
  void Rename(const char* name) { TypeIntoRow(0, name); }
  static COperInfo* Operation(CInfo* form, const char* name) {
    for (std::int32_t i = 0; i < form->ChildCount().Value; ++i)
      if (form->Child(i)->GetName() == name) return dynamic_cast<COperInfo*>(form->Child(i));
    return nullptr;
  }
  static std::string Texts(CDsgnForm* designer) {
    std::string out;
    for (std::int32_t i = 0; i < designer->Map->ChildCount().Value; ++i) {
      CControl* c = designer->Map->GetChild(i);
      out += c->ClassName().ToStd() + " " + c->GetName().ToStd();
      if (CText* text = CDsgnForm::TextOf(c)) out += " \"" + text->Str.ToStd() + "\"";
      out += "\n";
    }
    return out;
  }
};

TEST_F(DesignTest, ADesignFollowsItsClassThroughSaveRestartCutAndCopy) {
  CInfo* unit = Make(&Root(), "CUnitInfo", "Login");
  CInfo* other = Make(&Root(), "CUnitInfo", "Other");
  CClassInfo* form = MakeForm(unit, "TLogin");
  CDsgnForm* designer = Open(form);
  CDsgnForm::TextOf(UseTool(designer, 16))->Str = "Имя"_cp;
  UseTool(designer, 19);
  CDsgnForm::TextOf(UseTool(designer, 18))->Str = "Войти"_cp;
  const std::string texts = Texts(designer);
  EXPECT_EQ(texts, "CLabel Label1 \"" + std::string("Имя"_cp) + "\"\nCEdit Edit1 \"Text\"\n" +
                       "CButton Button1 \"" + std::string("Войти"_cp) + "\"\n");

  Command(3, true);  // Save, with the designer still shown
  Start();
  other = Root().Child(1);
  CInfo* again = Root().Child(0)->Child(0);
  ASSERT_EQ(again->GetName(), "TLogin");
  EXPECT_EQ(Texts(Open(again)), texts) << "after a new start";

  Command(10);  // Cut, then Paste into the other unit: a move
  Select(other);
  Command(13);
  ASSERT_EQ(Root().Child(0)->ChildCount().Value, 0);
  CInfo* moved = other->Child(0);
  EXPECT_EQ(Texts(Open(moved)), texts) << "after Cut and Paste";

  // A copy has a design of its own: a change to it leaves the original's as it was.
  Command(11);
  Select(other);
  Command(13);
  CInfo* copy = other->Child(1);
  CDsgnForm* copyDesigner = Open(copy);
  EXPECT_EQ(Texts(copyDesigner), texts);
  UseTool(copyDesigner, 7);
  Select(other);
  EXPECT_EQ(Texts(Open(moved)), texts);
  EXPECT_NE(Texts(Open(copy)), texts);
}

// The form's own title and size: a release on the bare surface shows them in the tuner, where
// they are typed; they are kept through Save and a new start.
TEST_F(DesignTest, TheFormsTitleAndSizeAreTunedOnTheBareSurfaceAndKept) {
  CClassInfo* form = MakeForm(&Root(), "TLogin");
  CDsgnForm* designer = Open(form);
  EXPECT_EQ(designer->Caption->Title->Str, "TLogin") << "untuned, the form is titled after its class";
  QueueClick(designer->Map->GetAbsM1() + CPoint(120, 95));
  Settle();
  ASSERT_EQ(main->Tuner->Shown, &designer->Form);

  TypeIntoRow(0, "Вход"_cp);
  TypeIntoRow(1, "300");
  TypeIntoRow(2, "0");  // refused: the size stays
  EXPECT_EQ(designer->Form.Height, CInt(design::kDefaultFormHeight));
  ASSERT_NE(main->Tuner->Refusal, nullptr);
  EXPECT_TRUE(main->Tuner->Refusal->Visible);
  TypeIntoRow(2, "200");
  EXPECT_EQ(designer->Caption->Title->Str, "Вход"_cp);
  EXPECT_EQ(designer->Map->FormWidth, CInt(300));
  EXPECT_EQ(designer->Map->FormHeight, CInt(200));

  Command(3, true);
  EXPECT_EQ(std::as_const(*form).Extra().ToStd(), "design 1\nform title=\"Вход\" size=300,200\n"_cp);
  Start();
  CDsgnForm* again = Open(Root().Child(0));
  EXPECT_EQ(again->Form.Title, "Вход"_cp);
  EXPECT_EQ(again->Form.Width, CInt(300));
  EXPECT_EQ(again->Form.Height, CInt(200));
  EXPECT_EQ(again->Caption->Title->Str, "Вход"_cp);
}

TEST_F(DesignTest, AnotherTextInTheClassStaysUntilAControlIsPlaced) {
  CClassInfo* form = MakeForm(&Root(), "TNotes");
  form->Extra() = "written by another tool";
  Open(form);
  Select(Make(&Root(), "CUnitInfo", "Elsewhere"));
  Command(3, true);
  EXPECT_EQ(std::as_const(*form).Extra(), "written by another tool");

  UseTool(Open(form), 8);
  Command(3, true);
  // The other tool's text stays, in front of the design.
  EXPECT_EQ(std::as_const(*form).Extra().ToStd().rfind(
                "written by another tool\r\ndesign 1\nCRectangle Rectangle1 rect=0,0,50,50", 0),
            0u)
      << std::as_const(*form).Extra().ToStd();
}

TEST_F(DesignTest, ADoublePressOnAControlOpensItsClickOperation) {
  CInfo* unit = Make(&Root(), "CUnitInfo", "Login");
  CClassInfo* form = MakeForm(unit, "TLogin");
  CDsgnForm* designer = Open(form);
  CControl* enter = Place(designer, 18, 18, 18);
  CControl* cancel = Place(designer, 18, 90, 18);
  CControl* name = Place(designer, 16, 18, 72);

  DoublePress(enter);
  COperInfo* click = Operation(form, "Button1Click");
  ASSERT_NE(click, nullptr) << "made in the form class";
  EXPECT_EQ(click->Code, "");
  EXPECT_EQ(click->Type, "void");
  EXPECT_EQ(main->Tree->Selected, click);
  ASSERT_NE(main->CodeEditor, nullptr);
  EXPECT_EQ(main->CodeEditor, click->EditorWindow) << "its code editor is open";
  EXPECT_TRUE(main->CodeEditor->Visible);
  EXPECT_FALSE(designer->Visible);
  EXPECT_NE(std::as_const(*form).Extra().ToStd().find("CButton Button1 rect=18,18,72,45"),
            std::string::npos);
  EXPECT_NE(std::as_const(*form).Extra().ToStd().find(" click=\"Button1Click\"\n"),
            std::string::npos)
      << "the link is in the design: " << std::as_const(*form).Extra().ToStd();

  // Again: the same operation, none made twice.
  Open(form);
  DoublePress(enter);
  EXPECT_EQ(main->Tree->Selected, click);
  EXPECT_EQ(form->ChildCount(), CInt(1));

  // An operation of that name written earlier is found, with its code.
  COperInfo* close = MakeOper(form, "Button2Click", "Close();");
  Open(form);
  DoublePress(cancel);
  EXPECT_EQ(main->Tree->Selected, close);
  EXPECT_EQ(close->Code, "Close();");
  EXPECT_EQ(form->ChildCount(), CInt(2));
  EXPECT_EQ(*designer->ClickOf(cancel), "Button2Click");

  // Two presses further apart than a double press only select.
  Open(form);
  QueuePress(name);
  Settle();
  gui->Advance(CMap::kDoublePressMs + 100);
  QueuePress(name);
  Settle();
  EXPECT_EQ(Operation(form, "Label1Click"), nullptr);
  EXPECT_TRUE(designer->Visible);
  EXPECT_EQ(designer->ClickOf(name), nullptr);
  EXPECT_EQ(main->Tuner->Shown, name);
}

TEST_F(DesignTest, TheClickLinkFollowsARenamedOperationAndARenamedControl) {
  CClassInfo* form = MakeForm(&Root(), "TLogin");
  CDsgnForm* designer = Open(form);
  CControl* enter = Place(designer, 18, 18, 18);
  DoublePress(enter);
  COperInfo* click = Operation(form, "Button1Click");
  ASSERT_EQ(main->Tuner->Shown, click);
  Rename("OnLogin");
  ASSERT_EQ(click->GetName(), "OnLogin");

  Open(form);
  EXPECT_EQ(*designer->ClickOf(enter), "OnLogin");
  QueuePress(enter);
  Settle();
  ASSERT_EQ(main->Tuner->Shown, enter);
  Rename("OkButton");
  ASSERT_EQ(enter->GetName(), "OkButton");
  // An operation that now has the old name is another one: the link does not go to it.
  COperInfo* stranger = MakeOper(form, "Button1Click", "");
  main->Invalidate();
  gui->Advance(CMap::kDoublePressMs + 100);
  DoublePress(enter);
  EXPECT_EQ(main->Tree->Selected, click);
  EXPECT_NE(main->Tree->Selected, stranger);
  EXPECT_EQ(form->ChildCount(), CInt(2));

  Command(3, true);
  const std::string extra = std::as_const(*form).Extra().ToStd();
  EXPECT_NE(extra.find("CButton OkButton rect=18,18,72,45"), std::string::npos) << extra;
  EXPECT_NE(extra.find(" click=\"OnLogin\""), std::string::npos) << extra;

  // The operation deleted: a new one of its name is not linked; the next double press makes one.
  Select(click);
  Command(6, true);
  MakeOper(form, "OnLogin", "");
  Open(form);
  EXPECT_EQ(designer->ClickOf(enter), nullptr);
  gui->Advance(CMap::kDoublePressMs + 100);
  DoublePress(enter);
  ASSERT_NE(Operation(form, "OkButtonClick"), nullptr);
  EXPECT_EQ(main->Tree->Selected, Operation(form, "OkButtonClick"));
}

}  // namespace
