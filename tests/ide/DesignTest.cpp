// A form's design follows its class: through Save and a new start, Cut and Paste, Copy and
// Paste; another tool's text in the class is left alone.
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "designer/DsgnForm.h"
#include "designer/Map.h"
#include "model/TypeInfo.h"
#include "tests/ide/IdeFixture.h"
#include "widgets/ToolBar.h"

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

}  // namespace
