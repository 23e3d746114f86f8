// The main window's whole repaint, pixel for pixel: digests of what the window shows in a few
// states of the environment, taken before the repaint was made faster. Any change to how the
// window paints that alters one pixel changes a digest.
//
// Text is drawn by the fonts this machine has, so the digests hold only for them: a fingerprint of
// the registered fonts' rendering is pinned with the digests, and on a machine whose fonts draw
// otherwise the test is skipped rather than failed.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "controls/View.h"
#include "graphics/Font.h"
#include "graphics/GLApp.h"
#include "ide/EditForm.h"
#include "platform/Window.h"
#include "platform/draw/DrawContext.h"
#include "tests/ide/IdeFixture.h"
#include "widgets/Memo.h"
#include "widgets/Tuner.h"

namespace {

using namespace qxtest;

std::uint64_t Fnv(std::uint64_t hash, const void* data, size_t bytes) {
  const auto* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < bytes; ++i) hash = (hash ^ p[i]) * 0x100000001B3ull;
  return hash;
}

// Lines of C++ of mixed lengths, Cyrillic in some.
std::string Code(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    const std::string n = std::to_string(i);
    switch (i % 4) {
      case 0:
        text += "class CReport" + n + " : public CObject {";
        break;
      case 1:
        text += "  CStr Title = \"" + std::string("Отчёт"_cp) + n + "\";";
        break;
      case 2:
        text += "    if (value < CFloat(0)) return Count" + n + ";  // below zero";
        break;
      case 3:
        text += "};";
        break;
    }
    text += "\r\n";
  }
  return text;
}

constexpr std::uint64_t kFnvStart = 0xCBF29CE484222325ull;

std::string Hex(std::uint64_t v) {
  char text[20];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
  return text;
}

// Every registered font drawing Latin, Cyrillic and digits.
std::string FontFingerprint() {
  std::uint64_t hash = kFnvStart;
  for (std::int32_t i = 0; i < GLApp->FontManager->Count().Value; ++i) {
    const CFont* font = GLApp->FontManager->Find(i);
    platform::Surface picture(160, 40, 0xFFFFFF);
    platform::DrawContext dc(&picture);
    dc.SelectFont(font->Handle);
    dc.TextOut(2, 2, "AaWg09{}" + std::string("Яяжы"_cp));
    hash = Fnv(hash, picture.pixels.data(), picture.pixels.size() * sizeof(platform::Pixel));
  }
  return Hex(hash);
}

constexpr std::string_view kFingerprint = "8326b8339f967be5";

class RepaintTest : public IdeTest {
 protected:
  // The main window repainted whole, as every key, press and blink does, and what it shows.
  std::string Digest() {
    main->View->Redraw();
    const platform::Surface& shown = *platform::WindowImage(Gui::WindowOf(*main));
    return std::to_string(shown.width) + "x" + std::to_string(shown.height) + ":" +
           Hex(Fnv(kFnvStart, shown.pixels.data(), shown.pixels.size() * sizeof(platform::Pixel)));
  }

  // A group with two applications of two units, each unit a class of 30 operations, every
  // element expanded, as in the repaint benchmark, and a form class. Answers the last operation.
  COperInfo* BuildProject(CInfo*& form) {
    COperInfo* last = nullptr;
    CInfo* group = Make(&Root(), "CProjectGroupInfo", "Group");
    group->TreeFlags = group->TreeFlags | 1;
    for (int a = 0; a < 2; ++a) {
      CInfo* application = Make(group, "CAppInfo", ("App" + std::to_string(a)).c_str());
      application->TreeFlags = application->TreeFlags | 1;
      for (int u = 0; u < 2; ++u) {
        CInfo* unit = Make(application, "CUnitInfo", ("Unit" + std::to_string(u)).c_str());
        unit->TreeFlags = unit->TreeFlags | 1;
        auto* cls = static_cast<CClassInfo*>(Make(unit, "CClassInfo", "TReport"));
        cls->Base = "CObject";
        cls->TreeFlags = cls->TreeFlags | 1;
        for (int o = 0; o < 30; ++o)
          last = MakeOper(cls, ("Method" + std::to_string(o)).c_str(), "{\r\n  return 1;\r\n}");
      }
    }
    form = Make(group, "CClassInfo", "TMainForm");
    static_cast<CClassInfo*>(form)->Base = "CForm";
    main->Tree->RowsChanged();
    return last;
  }

  void Select(CInfo* element) {
    main->Tree->Selected = element;
    main->OnTreeSelect(main->Tree);
    gui->RunUntilIdle();
  }
};

TEST_F(RepaintTest, TheMainWindowPaintsAsBefore) {
  const std::string fonts = FontFingerprint();
  if (fonts != kFingerprint)
    GTEST_SKIP() << "this machine's fonts draw otherwise (fingerprint " << fonts << ")";

  struct Step {
    const char* state;
    std::function<void()> apply;
    const char* digest;
  };
  COperInfo* oper = nullptr;
  CInfo* form = nullptr;
  const Step steps[] = {
      {"a fresh start, no project", [] {}, "801x601:a8e91da85f38034b"},
      {"a project, every element expanded, an operation's 400 lines in the editor, the tuner "
       "showing the editor",
       [&] {
         oper = BuildProject(form);
         oper->Code = CStr(std::string_view(Code(400)));
         Select(oper);
         main->Tuner->ShowObject(main->CodeEditor);
         main->Invalidate();
         gui->RunUntilIdle();
       },
       "801x601:03fa396c0046169b"},
      {"the tree and the editor scrolled by the wheel",
       [&] {
         const CPoint tree = main->Tree->GetAbsM1() + CPoint(30, 30);
         const CPoint memo = main->CodeEditor->Memo->GetAbsM1() + CPoint(60, 60);
         gui->Wheel(*main, tree.X.Round().Value, tree.Y.Round().Value, -5);
         gui->Wheel(*main, memo.X.Round().Value, memo.Y.Round().Value, -12);
       },
       "801x601:22147821ac0024ff"},
      {"the editor pressed: its caret shown",
       [&] {
         const CPoint memo = main->CodeEditor->Memo->GetAbsM1() + CPoint(80, 45);
         gui->Click(*main, memo.X.Round().Value, memo.Y.Round().Value);
         gui->Advance(500);
       },
       "801x601:4e80d8f9c4d74057"},
      {"a form class selected: its designer over the editor, the tuner showing the class",
       [&] { Select(form); }, "801x601:52a220b6ebe67634"},
  };
  for (const Step& step : steps) {
    step.apply();
    EXPECT_EQ(Digest(), step.digest) << step.state;
  }
}

}  // namespace
