// The class registry once every layer has registered: all 58 library classes, and the rows and
// factories of the widgets.
#include <set>
#include <string>

#include "controls/Pic.h"
#include "controls/Text.h"
#include "model/ClassManager.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Form.h"

namespace {

using namespace qxtest;

TEST_F(WidgetTest, TheRegistryHoldsAllFiftyEightClassesInOrder) {
  const char* names[] = {"CObject",       "CVar",        "CNum",           "CInt",
                         "CFloat",        "CStr",        "CBool",          "CInfo",
                         "CObjectInfo",   "CActionInfo", "CProjectInfo",   "CProjectGroupInfo",
                         "CPackInfo",     "CAppInfo",    "CLibInfo",       "CUnitInfo",
                         "CDllInfo",      "CCodeInfo",   "CClassInfo",     "CAtrInfo",
                         "COperInfo",     "CInfo",       "CInfo",          "CTypeInfo",
                         "CExprInfo",     "CIfInfo",     "CWhileInfo",     "CStructInfo",
                         "CVarInfo",      "CFuncInfo",   "COperatorInfo",  "CIntConstInfo",
                         "CStrConstInfo", "CPoint",      "CRect",          "CColor",
                         "CFont",         "CAnchors",    "CTimer",         "CControl",
                         "CPen",          "CBrush",      "CLine",          "CRectangle",
                         "CEllipse",      "CTriangle",   "CFillRectangle", "CFillEllipse",
                         "CFillTriangle", "CText",       "CPic",           "CBevel",
                         "CPanel",        "CLabel",      "CButton",        "CPicButton",
                         "CEdit",         "CForm"};
  CClassManager& classes = *gui.App().ClassMan;
  ASSERT_EQ(classes.Count(), 58);
  std::set<std::string> distinct;
  for (int i = 0; i < 58; i++) {
    EXPECT_EQ(classes.Get(i)->GetName(), names[i]) << "row " << i + 1;
    distinct.insert(classes.Get(i)->GetName().ToStd());
  }
  EXPECT_EQ(distinct.size(), 56u);
}

TEST_F(WidgetTest, TheWidgetRowsGiveBaseUnitDescriptionAndProperties) {
  const struct {
    const char* name;
    const char* base;
    CStr about;
    const char* properties;
  } rows[] = {
      {"CBevel", "CControl", "Класс - бевел"_cp, "State:CBool"},
      {"CPanel", "CControl", "Класс - панель"_cp, "FaceColor:CColor*"},
      {"CLabel", "CPanel", "Класс - метка"_cp, "Str:CStr Font:CFont* Color:CColor* Center:CBool"},
      {"CButton", "CPicButton", "Класс - кнопка"_cp, "Str:CStr Font:CFont* Color:CColor*"},
      {"CPicButton", "CPanel", "Класс - кнопка с картинкой"_cp, "FileName:CStr"},
      {"CEdit", "CLabel", "Класс - редактор строчки"_cp, ""},
      {"CForm", "CPanel", "Класс - форма"_cp, "Str:CStr Font:CFont*"},
  };
  for (const auto& row : rows) {
    CClassInfo* record = gui.App().ClassMan->Find(row.name);
    ASSERT_NE(record, nullptr) << row.name;
    EXPECT_EQ(record->Base, row.base) << row.name;
    EXPECT_EQ(record->Unit, "QxPanel") << row.name;
    EXPECT_EQ(record->About, row.about) << row.name;
    std::string properties;
    for (std::int32_t i = 0; i < record->Properties.Count().Value; i++) {
      auto* p = record->Properties.GetAs<CPropInfo>(i);
      properties +=
          (i ? " " : "") + p->GetName().ToStd() + ":" + p->Type.ToStd() + (p->IsObject ? "*" : "");
    }
    EXPECT_EQ(properties, row.properties) << row.name;

    CObject* made = gui.App().ClassMan->CreateByName(row.name, root.get());
    ASSERT_NE(made, nullptr) << row.name;
    EXPECT_EQ(made->ClassName(), row.name);
    EXPECT_EQ(root->GetChild(root->ChildCount() - 1), made) << "made with the given parent";
  }
  EXPECT_TRUE(gui.App().ClassMan->CreateByName("CButton", root.get())->InheritsFrom("CControl"));
}

TEST_F(WidgetTest, TheStrPropertiesReadAndWriteTheTitleOrTheCaption) {
  auto* form = new CForm(root.get());
  CClassInfo* record = gui.App().ClassMan->Find("CForm");
  auto* str = record->Properties.GetAs<CPropInfo>(0);
  CStr title;
  str->Get(form, &title);
  EXPECT_EQ(title, "Form1");
  CStr renamed = "Свойства"_cp;
  str->Set(form, &renamed);
  EXPECT_EQ(form->Caption->Title->Str, renamed);

  auto* edit = new CEdit(root.get());
  auto* labelStr = gui.App().ClassMan->Find("CLabel")->Properties.GetAs<CPropInfo>(0);
  CStr read = "unchanged";
  labelStr->Get(edit, &read);
  EXPECT_EQ(read, edit->GetText());
  labelStr->Set(edit, &renamed);
  EXPECT_EQ(edit->GetText(), renamed);

  auto* button = new CButton(root.get());
  auto* buttonStr = gui.App().ClassMan->Find("CButton")->Properties.GetAs<CPropInfo>(0);
  CStr ok = "OK";
  buttonStr->Set(button, &ok);
  EXPECT_EQ(button->Caption->Str, "OK");
  CPanel* panel = button;
  auto* face = gui.App().ClassMan->Find("CPanel")->Properties.GetAs<CPropInfo>(0);
  CColor red(1, 0, 0);
  face->Set(panel, &red);
  EXPECT_TRUE(button->Client->Color == red);
}

TEST_F(WidgetTest, AClonedLabelKeepsItsTextAndRectangleWithoutDoublingItsParts) {
  auto* label = new CLabel(root.get());
  label->SetBounds(10, 20, 80, 24, true);
  label->Caption->Str = "Имя"_cp;
  label->Visible = false;
  label->Anchors.Set(2, 1, 2, 1);
  auto* copy = dynamic_cast<CLabel*>(label->Clone());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(Corners(*copy), "(10,20)-(90,44)");
  EXPECT_EQ(copy->Caption->Str, "Имя"_cp);
  EXPECT_FALSE(copy->Visible);
  EXPECT_TRUE(copy->Anchors == label->Anchors);
  EXPECT_EQ(copy->FramePartCount(), 4);
  EXPECT_EQ(copy->Client->FramePartCount(), 1);
  EXPECT_EQ(Corners(*copy->Client), Corners(*label->Client)) << "the face followed the rectangle";
}

TEST_F(WidgetTest, AClonedPictureButtonLoadsItsPictureAgain) {
  InstallPictures();
  auto* button = new CPicButton(root.get());
  button->SetBounds(10, 10, 24, 24, true);
  button->Picture->SetFileName("C:\\Qxe\\Pics\\16x16silver\\Save.bmp");
  auto* copy = dynamic_cast<CPicButton*>(button->Clone());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Picture->FileName, button->Picture->FileName);
  EXPECT_EQ(copy->Picture->Bitmap.Width, CFloat(16));
  EXPECT_EQ(Corners(*copy), "(10,10)-(34,34)");
  EXPECT_EQ(copy->Client->FramePartCount(), 1);
}

}  // namespace
