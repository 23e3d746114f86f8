// The add dialog on its own: its kinds at their places, and what Execute returns.
#include "controls/Text.h"
#include "tests/ide/IdeFixture.h"
#include "widgets/Memo.h"

namespace {

using namespace qxtest;

TEST_F(IdeTest, TheAddDialogHasItsKindsAtTheirPlaces) {
  CSelItemForm* dialog = main->AddDialog();
  EXPECT_FALSE(dialog->Visible);
  EXPECT_EQ(Corners(*dialog), "(100,100)-(420,445)");
  EXPECT_EQ(dialog->Caption->Title->Str, "Добавить элемент"_cp);
  EXPECT_FALSE(dialog->Caption->MinimizeButton->Visible);
  EXPECT_FALSE(dialog->Caption->MaximizeButton->Visible);
  const struct {
    const char* caption;
    int x, y;
    const char* picture;  // "" for none
    bool inEntry;         // the button is KindButtons' entry of its number
  } kinds[] = {
      {"Группа проектов"_cp, 10, 140, "Group", true},
      {"Приложение"_cp, 10, 165, "App", true},
      {"Библиотека"_cp, 10, 190, "Lib", true},
      {"Пакет"_cp, 10, 215, "Pack", true},
      {"Модуль"_cp, 10, 240, "Unit", true},
      {"DLL-файл"_cp, 10, 265, "Dll", true},
      {"Переменная"_cp, 160, 140, "PubVar", true},
      {"Функция"_cp, 160, 165, "PubFunc", true},
      {"Тип"_cp, 160, 190, "", true},
      {"Структура"_cp, 160, 215, "Struct", true},
      {"Класс"_cp, 160, 240, "Class", true},
      {"Объект"_cp, 160, 265, "", false},
      {"Граф. объект"_cp, 10, 290, "", true},
  };
  for (const auto& kind : kinds) {
    CPicButton* button = nullptr;
    CText* caption = nullptr;
    for (std::int32_t i = 0; i < dialog->Client->ChildCount().Value; ++i) {
      CControl* c = dialog->Client->GetChild(i);
      const int x = c->GetX().Round().Value, y = c->GetY().Round().Value;
      if (auto* b = dynamic_cast<CPicButton*>(c); b && x == kind.x && y == kind.y) button = b;
      if (auto* t = dynamic_cast<CText*>(c); t && x == kind.x + 30 && y == kind.y + 4) caption = t;
    }
    ASSERT_NE(button, nullptr) << kind.caption;
    ASSERT_NE(caption, nullptr) << kind.caption;
    EXPECT_EQ(caption->Str, kind.caption);
    EXPECT_EQ(button->GetWidth().Round().Value, 20);
    const std::string picture =
        *kind.picture ? std::string("C:\\Qxe\\Pics\\16x16silver\\") + kind.picture + ".bmp" : "";
    EXPECT_EQ(button->Picture->FileName.ToStd(), picture) << kind.caption;
    EXPECT_EQ(dialog->KindButtons[button->Number.Value] == button, kind.inEntry) << kind.caption;
  }
}

// A user types the name as soon as the dialog opens, without a click into its field.
TEST_F(IdeTest, TheNameIsTypedStraightAway) {
  CSelItemForm* dialog = main->AddDialog();
  QueueType("Alpha");
  QueueKind(5);
  CStr name, about;
  EXPECT_EQ(dialog->Execute("CAppInfo", name, about), "CUnitInfo");
  EXPECT_EQ(name, "Alpha");
}

// The last name stays in the field but is all selected: the first key of the next name replaces
// it rather than being appended to it.
TEST_F(IdeTest, TheLastNameIsSelectedWhenTheDialogOpensSoTypingReplacesIt) {
  const char* names[] = {"Alpha", "Beta", "Гамма"_cp};
  for (const char* typed : names) {
    QueueCommand(4);
    QueueType(typed);
    QueueKind(1);
    Settle();
  }
  ASSERT_EQ(Root().ChildCount().Value, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Root().Child(i)->GetName(), names[i]);

  // Kept between uses: opened and closed without a key, and opened and chosen after Backspace.
  QueueCommand(4);
  QueueCloseDialog();
  Settle();
  EXPECT_EQ(main->AddDialog()->NameEdit->GetText(), names[2]);
  QueueCommand(4);
  QueueKey(14, 8);  // Backspace takes the selected name
  QueueType("d");
  QueueKind(1);
  Settle();
  ASSERT_EQ(Root().ChildCount().Value, 4);
  EXPECT_EQ(Root().Child(3)->GetName(), "d");
}

TEST_F(IdeTest, ExecuteReturnsTheNameAndDescriptionAsTypedAlsoWhenCancelled) {
  CSelItemForm* dialog = main->AddDialog();
  const struct {
    const char* name;
    bool cancel;
    const char* kind;
  } rows[] = {
      {"  spaced  ", false, "CUnitInfo"},
      {"Отменено"_cp, true, ""},
      {"", false, "CUnitInfo"},
  };
  for (const auto& row : rows) {
    QueueName(row.name);
    QueueClick(dialog->AboutMemo->GetAbsM1() + CPoint(10, 5));
    QueueType("d");
    if (row.cancel)
      QueueCloseDialog();
    else
      QueueKind(5);
    CStr name, about;
    // The queued input is handled by Execute's own loop.
    const CStr kind = dialog->Execute("CAppInfo", name, about);
    EXPECT_EQ(kind, row.kind) << row.name;
    EXPECT_EQ(name, row.name);
    EXPECT_EQ(about.View().substr(about.Length().Value - 3), "d\r\n") << about.ToStd();
    EXPECT_FALSE(dialog->Visible);
  }
}

}  // namespace
