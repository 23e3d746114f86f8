#include "tools/qxgallery/Scrolling.h"

#include <cstdio>

#include "controls/CtrlApp.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "graphics/Font.h"
#include "widgets/Box.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Form.h"
#include "widgets/ScrollBar.h"
#include "widgets/Splitter.h"
#include "widgets/TabControl.h"

namespace {

template <class T>
T* Place(CControl* parent, double x, double y, double w, double h) {
  auto* control = new T(parent);
  control->SetBounds(x, y, w, h, true);
  return control;
}

CText* Heading(CControl* parent, double x, double y, const CStr& text, CInt font) {
  auto* heading = Place<CText>(parent, x, y, 10, 10);
  heading->Str = text;
  heading->SetFontNumber(font);
  heading->Color = CColor(0, 0, 0.5);
  heading->FitToText();
  return heading;
}

CLabel* NewLabel(CControl* parent, double x, double y, double w, const CStr& text) {
  auto* label = Place<CLabel>(parent, x, y, w, 20);
  label->Caption->Str = text;
  return label;
}

// Fills its parent and follows it on every side, as the main window's panes are filled.
template <class T>
T* Fill(CControl* pane) {
  auto* control = Place<T>(pane, 0, 0, pane->GetWidth().Value, pane->GetHeight().Value);
  control->Anchors.Set(1, 1, 2, 2);
  return control;
}

CStr Number(const CFloat& value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value.Value));
  return text;
}

// A scroll box whose content is larger than its face: the bars' ranges are the content's size,
// their pages what the face shows.
void Scrollable(CScrollBox* box, double width, double height) {
  box->HorzBar->Max = width;
  box->HorzBar->Page = box->Client->GetWidth();
  box->HorzBar->SmallStep = 10;
  box->VertBar->Max = height;
  box->VertBar->Page = box->Client->GetHeight();
  box->VertBar->SmallStep = 10;
}

}  // namespace

ScrollingPage::ScrollingPage() {
  form_ = std::make_unique<CForm>(nullptr);
  CForm& form = *form_;
  form.SetBounds(24, 24, 960, 716, true);
  form.Caption->Title->Str = "Qxworks: прокрутка, вкладки, разделители"_cp;
  const CInt heading = GLApp->FontManager->FindByName("Heading");
  CControl* face = form.Client;
  Place<CFillRectangle>(face, 0, 0, face->GetWidth().Value, face->GetHeight().Value)->Color =
      CColor(0.85, 0.85, 0.85);
  Bars(face, heading);
  Tabs(face, heading);
  Box(face, heading);
  Splitters(face, heading);
  form.Invalidate();
}

ScrollingPage::~ScrollingPage() = default;

void ScrollingPage::Bars(CControl* face, CInt heading) {
  Heading(face, 8, 8, "Полосы прокрутки"_cp, heading);
  horizontal_ = Place<CScrollBar>(face, 8, 34, 300, 16);
  vertical_ = Place<CScrollBar>(face, 330, 34, 16, 150);
  vertical_->SetVertical(true);
  vertical_->Max = 40;
  vertical_->Page = 8;
  oversized_ = Place<CScrollBar>(face, 8, 108, 300, 16);
  oversized_->Page = 150;  // more than the range: no thumb, the arrows still clamp
  barState_ = NewLabel(face, 8, 58, 300, "");
  NewLabel(face, 8, 130, 300, "Страница 150 больше диапазона 100"_cp);
  for (CScrollBar* bar : {horizontal_, vertical_, oversized_})
    bar->OnChange.Set(this, &ScrollingPage::BarChanged);
  BarChanged(horizontal_);
}

void ScrollingPage::Tabs(CControl* face, CInt heading) {
  Heading(face, 8, 166, "Вкладки"_cp, heading);
  tabs_ = Place<CTabControl>(face, 8, 190, 300, 24);
  tabs_->Anchors.Set(1, 1, 1, 1);  // the gallery's layout is fixed; the strip keeps its place
  tabs_->AddTab("C++", 0);
  tabs_->AddTab("ASM", 1);
  tabs_->AddTab("", 2);  // an empty tab: only half as wide as the text's height
  tabs_->AddTab("OBJ", 3);
  tabs_->Selected = 0;
  tabs_->OnMouseUp.Set(this, &ScrollingPage::TabPressed);
  tabState_ = NewLabel(face, 8, 220, 300, "");
  TabPressed(tabs_, 0, CShiftStateSet(), CPoint());
}

void ScrollingPage::Box(CControl* face, CInt heading) {
  Heading(face, 8, 252, "Поле с прокруткой (и колесо мыши)"_cp, heading);
  auto* box = Place<CScrollBox>(face, 8, 276, 338, 300);
  CControl* content = box->Client;
  for (int row = 0; row < 12; row++) {
    const double y = 6 + row * 34;
    char text[64];
    std::snprintf(text, sizeof text, "Строка %d"_cp, row + 1);
    NewLabel(content, 6, y, 110, text);
    auto* button = Place<CButton>(content, 124, y, 100, 25);
    button->Caption->Str = "Кнопка"_cp;
    Place<CFillRectangle>(content, 232, y, 60 + row * 20, 25)->Color =
        CColor(0.2 + row * 0.06, 0.5, 0.9 - row * 0.06);
  }
  Place<CEdit>(content, 300, 6, 200, 20)->SetText("Правее края поля"_cp);
  Scrollable(box, 540, 12 * 34 + 6);
}

// As the main window: a side-by-side splitter at a third of its width; in its left pane a
// stacked one at half its height (the project tree above, the tuner below); in its right pane a
// stacked one 60 units above its bottom (the workspace above, an empty scroll box below).
void ScrollingPage::Splitters(CControl* face, CInt heading) {
  Heading(face, 366, 8, "Разделители, вложенные как в главном окне"_cp, heading);
  NewLabel(face, 366, 30, 560, "Тащите зелёные полосы; поля прокручиваются колесом"_cp);
  const double w = face->GetWidth().Value - 366 - 8;
  const double h = face->GetHeight().Value - 58 - 8;
  auto* main = Place<CSplitter>(face, 366, 58, w, h);
  main->Anchors.Set(1, 1, 2, 2);
  main->SetSplit(main->GetWidth() / CFloat(3));

  auto* left = Fill<CSplitter>(main->FirstPane);
  left->SetStacked(true);
  left->SetSplit(left->GetHeight() / CFloat(2));
  auto* tree = Fill<CScrollBox>(left->FirstPane);
  auto* tuner = Fill<CScrollBox>(left->SecondPane);
  const char* const rows[] = {"Проекты"_cp,      "  Приложение"_cp,      "    Модуль"_cp,
                              "      CForm1"_cp, "      CMainWindow"_cp, "    Модуль2"_cp};
  for (int i = 0; i < 6; i++) {
    auto* row = Place<CText>(tree->Client, 4, 4 + i * 16, 160, 16);
    row->Str = rows[i];
  }
  Scrollable(tree, 200, 400);
  for (int i = 0; i < 8; i++) {
    char text[32];
    std::snprintf(text, sizeof text, "Свойство %d"_cp, i + 1);
    NewLabel(tuner->Client, 4, 4 + i * 22, 150, text);
  }
  Scrollable(tuner, 200, 8 * 22 + 8);

  auto* right = Fill<CSplitter>(main->SecondPane);
  right->SetStacked(true);
  right->SetSplit(right->GetHeight() - CFloat(60));
  auto* workspace = Fill<CBox>(right->FirstPane);
  NewLabel(workspace->Client, 8, 8, 220, "Рабочая область"_cp);
  Fill<CScrollBox>(right->SecondPane);
}

void ScrollingPage::BarChanged(CControl*) {
  barState_->Caption->Str = CStr("Позиции: "_cp) + Number(horizontal_->Position) + ", " +
                            Number(vertical_->Position) + ", " + Number(oversized_->Position);
  barState_->Invalidate();
}

void ScrollingPage::TabPressed(CControl*, CInt, CShiftStateSet, CPoint) {
  const CStr text = tabs_->GetTabText(tabs_->Selected);
  tabState_->Caption->Str =
      CStr("Выбрана вкладка "_cp) + Number(tabs_->Selected) + ": \"" + text + "\"";
  tabState_->Invalidate();
}
