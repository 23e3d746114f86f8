#include "tools/qxgallery/MemoWindow.h"

#include <string>

#include "controls/Text.h"
#include "core/Cp1251.h"
#include "widgets/Form.h"
#include "widgets/Memo.h"

namespace {

// A few hundred lines of C++ in the style of the environment's own classes, with one line much
// wider than the window so that the horizontal bar has something to scroll.
std::string SampleCode() {
  std::string text = "// Отчёты: классы, которые собирают и печатают итоги"_cp;
  text += "\n#include \"core/List.h\"\n\n";
  for (int n = 1; n <= 24; ++n) {
    const std::string i = std::to_string(n);
    text += "// Отчёт номер "_cp + i + ": строки и их сумма\n"_cp;
    text += "class CReport" + i + " : public CObject {\n";
    text += " public:\n";
    text += "  CStr Title = \"Отчёт "_cp + i + "\";\n";
    text += "  CInt Count = 0;\n";
    text += "  void Add(const CStr& name, CFloat value) {\n";
    text += "    if (value < CFloat(0)) return;  // negative figures are left out\n";
    text += "    Items.Add(new CItem(name, value * Scale));\n";
    text += "    Count = Count + 1;\n";
    text += "  }\n";
    text += "  CFloat Total() const;\n";
    text += "};\n\n";
  }
  text +=
      "static const char* const kHeadings[] = {\"Январь\", \"Февраль\", \"Март\", \"Апрель\", "
      "\"Май\", \"Июнь\", \"Июль\", \"Август\", \"Сентябрь\", \"Октябрь\", \"Ноябрь\", "
      "\"Декабрь\"};\n"_cp;
  return text;
}

}  // namespace

MemoWindow::MemoWindow() {
  form_ = std::make_unique<CForm>(nullptr);
  form_->SetBounds(430, 300, 560, 420, true);
  form_->Caption->Title->Str = "Qxworks: текстовый редактор"_cp;
  memo_ = new CMemo(form_->Client);
  memo_->SetBounds(4, 4, form_->Client->GetWidth() - CFloat(8),
                   form_->Client->GetHeight() - CFloat(8), true);
  memo_->Anchors.Set(1, 1, 2, 2);
  memo_->SetText(CStr(std::string_view(SampleCode())));
  form_->Invalidate();
}

MemoWindow::~MemoWindow() = default;
