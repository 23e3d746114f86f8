#include "ide/HeadsForm.h"

#include <string>

#include "controls/Text.h"
#include "core/Cp1251.h"
#include "ide/EditForm.h"
#include "model/HeadTexts.h"
#include "model/UnitInfo.h"
#include "widgets/Memo.h"

namespace {

constexpr int kTitle = 18;

// An editor holds one empty line when it has no text; that line is no head text.
std::string TextOf(const CMemo& memo) {
  std::string text(memo.GetText().View());
  return text == "\r\n" ? std::string() : text;
}

}  // namespace

CHeadsForm::CHeadsForm(CControl* parent) : CForm(parent) {
  LookLikeAnEditor(*this);
  Caption->Title->Str = "Начало файлов модуля"_cp;
  auto title = [&](const char* text) {
    auto* made = new CText(Client);
    made->SetFontName("Text");
    made->Str = text;
    return made;
  };
  HeaderTitle = title("Заголовок (.h), до классов:"_cp);
  Header = new CMemo(Client);
  SourceTitle = title("Исходник (.cpp), до функций:"_cp);
  Source = new CMemo(Client);
  LayOut();
  for (CMemo* memo : {Header, Source}) {
    memo->Gutter = true;
    memo->CppColours = true;
  }
}

// The header's text keeps its height when the window is resized; the source's takes the rest.
void CHeadsForm::LayOut() {
  const CFloat width = Client->GetWidth(), half = CFloat((Client->GetHeight() / CFloat(2)).Floor().Value);
  HeaderTitle->SetBounds(4, 2, width - CFloat(8), kTitle - 4, true);
  HeaderTitle->Anchors.Set(1, 1, 2, 1);
  Header->SetBounds(0, kTitle, width, half - CFloat(kTitle + 2), true);
  Header->Anchors.Set(1, 1, 2, 1);
  SourceTitle->SetBounds(4, half + CFloat(2), width - CFloat(8), kTitle - 4, true);
  SourceTitle->Anchors.Set(1, 1, 2, 1);
  Source->SetBounds(0, half + CFloat(kTitle), width, Client->GetHeight() - half - CFloat(kTitle),
                    true);
  Source->Anchors.Set(1, 1, 2, 2);
}

void CHeadsForm::ReadFrom(const CUnitInfo& unit) {
  const HeadTexts heads = ReadHeads(unit.UnitExtra);
  Header->SetText(CStr(std::string_view(heads.Header)));
  Source->SetText(CStr(std::string_view(heads.Source)));
}

void CHeadsForm::WriteTo(CUnitInfo& unit) const {
  const HeadTexts kept = ReadHeads(unit.UnitExtra);
  HeadTexts edited{TextOf(*Header), TextOf(*Source)};
  // The editors end every line; a kept text whose last line had no end is the same text.
  auto same = [](const std::string& kept, const std::string& edited) {
    return kept == edited || kept + "\r\n" == edited;
  };
  if (same(kept.Header, edited.Header) && same(kept.Source, edited.Source)) return;
  unit.UnitExtra = WriteHeads(edited);
}
