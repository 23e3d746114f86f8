// Bevels and the classic look: the pixels of each look, hidden bevels, resizing, and the bevel's
// state table.
#include <functional>

#include "controls/Shapes.h"
#include "platform/Window.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Bevel.h"
#include "widgets/Panel.h"
#include "widgets/PanelTemplate.h"

namespace {

using namespace qxtest;

// A line that also draws a cross over its first end.
class CrossedLine : public CLine {
 public:
  using CLine::CLine;
  void Paint(const CRect& clip) override {
    CLine::Paint(clip);
    const CRect r = GetAbsRect();
    FillRect(CRect(r.M1.X - CFloat(1), r.M1.Y, r.M1.X + CFloat(1), r.M1.Y));
    FillRect(CRect(r.M1.X, r.M1.Y - CFloat(1), r.M1.X, r.M1.Y + CFloat(1)));
  }
};

// What a line left the canvas with, its pen style and colour.
std::string PenOf(CCanvas& canvas) {
  const CColor c = canvas.GetColor();
  return std::to_string(canvas.GetPenStyle().Value) + " " + c.R.ToStr().ToStd() + "," +
         c.G.ToStr().ToStd() + "," + c.B.ToStr().ToStd();
}

class LookTest : public WidgetTest {
 protected:
  // A 6 by 5 panel at (2, 2): it covers the pixels 2..8 across and 2..7 down.
  LookTest() {
    panel = new CPanel(root.get());
    panel->SetRect(CRect(2, 2, 8, 7));
  }

  CWinOldPanelTemplate& look() { return static_cast<CWinOldPanelTemplate&>(*panel->Template); }

  // The panel with a one-pixel ring of the unpainted (black) window around it.
  std::string Picture(int w = 9, int h = 7) {
    root->Invalidate();
    return gui.Picture(*root, 1, 1, w, h, kGreys);
  }

  CPanel* panel;
};

TEST_F(LookTest, EachLookColoursItsEdgesFromTheStateTable) {
  struct Case {
    const char* look;
    std::function<void(CWinOldPanelTemplate&)> apply;
    std::vector<std::string> rows;
  } cases[] = {
      // clang-format off
      {"a new panel: raised, soft (white over dark grey)",
       [](CWinOldPanelTemplate&) {},
       {"kkkkkkkkk",
        "kWWWWWWdk",
        "kW.....dk",
        "kW.....dk",
        "kW.....dk",
        "kW.....dk",
        "kdddddddk"}},
      {"released button: white over black outside, face over dark grey inside",
       [](CWinOldPanelTemplate& t) { t.InitButton(); },
       {"kkkkkkkkk",
        "kWWWWWWkk",
        "kW....dkk",
        "kW....dkk",
        "kW....dkk",
        "kWdddddkk",
        "kkkkkkkkk"}},
      {"pressed button: both pairs swapped",
       [](CWinOldPanelTemplate& t) {
         t.InitButton();
         t.ButtonDown();
       },
       {"kkkkkkkkk",
        "kkkkkkkWk",
        "kkdddd.Wk",
        "kkd....Wk",
        "kkd....Wk",
        "kk.....Wk",
        "kWWWWWWWk"}},
      {"flat button: the soft raised frame alone",
       [](CWinOldPanelTemplate& t) { t.InitFlatButton(); },
       {"kkkkkkkkk",
        "kWWWWWWdk",
        "kW.....dk",
        "kW.....dk",
        "kW.....dk",
        "kW.....dk",
        "kdddddddk"}},
      {"flat button pressed: soft sunken",
       [](CWinOldPanelTemplate& t) {
         t.InitFlatButton();
         t.FlatButtonDown();
       },
       {"kkkkkkkkk",
        "kddddddWk",
        "kd.....Wk",
        "kd.....Wk",
        "kd.....Wk",
        "kd.....Wk",
        "kWWWWWWWk"}},
      {"edit: sunken two-unit frame around a white face",
       [](CWinOldPanelTemplate& t) { t.InitEdit(); },
       {"kkkkkkkkk",
        "kddddddWk",
        "kdkkkk.Wk",
        "kdkWWW.Wk",
        "kdkWWW.Wk",
        "kd.....Wk",
        "kWWWWWWWk"}},
      {"sunken: dark grey over white, no inner frame",
       [](CWinOldPanelTemplate& t) { t.InitSunken(); },
       {"kkkkkkkkk",
        "kddddddWk",
        "kd.....Wk",
        "kd.....Wk",
        "kd.....Wk",
        "kd.....Wk",
        "kWWWWWWWk"}},
      {"flat and borderless: the face alone",
       [](CWinOldPanelTemplate& t) { t.InitFlat(); },
       {"kkkkkkkkk",
        "k.......k",
        "k.......k",
        "k.......k",
        "k.......k",
        "k.......k",
        "k.......k"}},
      // clang-format on
  };
  for (const Case& c : cases) {
    panel = new CPanel(root.get());  // on top of the earlier ones
    panel->SetRect(CRect(2, 2, 8, 7));
    c.apply(look());
    EXPECT_EQ(Picture(), Rows(c.rows)) << c.look;
  }
}

TEST_F(LookTest, TheLooksMoveTheFaceOnceAndRepeatingALookIsHarmless) {
  struct Case {
    const char* look;
    std::function<void(CWinOldPanelTemplate&)> apply;
    const char* face;  // in the panel's coordinates, for the panel (0, 0)-(100, 100)
  } cases[] = {
      {"new", [](CWinOldPanelTemplate&) {}, "(1,1)-(99,99)"},
      {"button", [](CWinOldPanelTemplate& t) { t.InitButton(); }, "(2,2)-(98,98)"},
      {"edit", [](CWinOldPanelTemplate& t) { t.InitEdit(); }, "(2,2)-(98,98)"},
      {"box", [](CWinOldPanelTemplate& t) { t.InitBox(); }, "(3,3)-(98,98)"},
      {"form", [](CWinOldPanelTemplate& t) { t.InitForm(); }, "(4,22)-(96,97)"},
      {"raised", [](CWinOldPanelTemplate& t) { t.InitRaised(); }, "(1,1)-(99,99)"},
      {"flat", [](CWinOldPanelTemplate& t) { t.InitFlat(); }, "(0,0)-(100,100)"},
      {"borderless", [](CWinOldPanelTemplate& t) { t.InitBorderless(); }, "(0,0)-(100,100)"},
      {"pressed and released again",
       [](CWinOldPanelTemplate& t) {
         t.InitButton();
         t.ButtonDown();
         t.ButtonDown();
         t.ButtonUp();
       },
       "(2,2)-(98,98)"},
  };
  for (const Case& c : cases) {
    auto* p = new CPanel(root.get());
    c.apply(static_cast<CWinOldPanelTemplate&>(*p->Template));
    EXPECT_EQ(Corners(*p->Client), c.face) << c.look;
  }
  auto* box = new CPanel(root.get());
  box->Template->InitBox();
  EXPECT_EQ(box->IndexOfChild(box->Client), 0) << "a box's face is an ordinary child";
}

TEST_F(LookTest, TheTemplateBuildsItsPartsInDrawingOrder) {
  auto* p = new CPanel(root.get());
  auto& t = static_cast<CWinOldPanelTemplate&>(*p->Template);
  ASSERT_EQ(p->FramePartCount(), 4);
  EXPECT_EQ(p->GetFramePart(0), p->Background);
  EXPECT_EQ(p->GetFramePart(1), t.OuterBevel);
  EXPECT_EQ(p->GetFramePart(2), t.InnerBevel);
  EXPECT_EQ(p->GetFramePart(3), p->Client);
  EXPECT_EQ(p->ChildCount(), 0);
  EXPECT_FALSE(t.InnerBevel->Visible);
  EXPECT_EQ(Corners(*t.InnerBevel), "(1,1)-(99,99)");
  EXPECT_EQ(t.Panel, p);
}

TEST_F(LookTest, AHiddenBevelIsNotPaintedNorAreItsLines) {
  look().OuterBevel->Visible = false;
  // clang-format off
  EXPECT_EQ(Picture(), Rows({"kkkkkkkkk",
                             "k.......k",
                             "k.......k",
                             "k.......k",
                             "k.......k",
                             "k.......k",
                             "k.......k"}));
  // clang-format on
}

TEST_F(LookTest, ResizingAPanelMovesTheRightAndBottomLinesAndStretchesTheFaces) {
  look().InitButton();
  panel->SetRect(CRect(2, 2, 10, 8));
  // clang-format off
  EXPECT_EQ(Picture(11, 8), Rows({"kkkkkkkkkkk",
                                  "kWWWWWWWWkk",
                                  "kW......dkk",
                                  "kW......dkk",
                                  "kW......dkk",
                                  "kW......dkk",
                                  "kWdddddddkk",
                                  "kkkkkkkkkkk"}));
  // clang-format on
}

TEST_F(LookTest, TheBevelStateTableAndItsEdgeCases) {
  auto* bevel = new CBevel(root.get());
  const CColor white(1, 1, 1), face(0.8, 0.8, 0.8), shadow(0.5, 0.5, 0.5), black(0, 0, 0);
  EXPECT_EQ(bevel->State, 0);
  EXPECT_TRUE(bevel->LeftLine->Color == white);
  EXPECT_TRUE(bevel->BottomLine->Color == shadow);
  const struct {
    int state;
    CColor light, dark;
  } table[] = {{1, shadow, white}, {2, white, black}, {3, black, white}, {4, face, shadow},
               {5, shadow, face},  {6, face, black},  {7, black, face},  {0, white, shadow}};
  for (const auto& row : table) {
    bevel->SetState(row.state);
    EXPECT_TRUE(bevel->LeftLine->Color == row.light) << row.state;
    EXPECT_TRUE(bevel->TopLine->Color == row.light) << row.state;
    EXPECT_TRUE(bevel->RightLine->Color == row.dark) << row.state;
    EXPECT_TRUE(bevel->BottomLine->Color == row.dark) << row.state;
  }

  const CColor red(1, 0, 0);
  bevel->SetLightColor(red);
  bevel->SetState(0);  // the current state: nothing changes, not even the light colour
  EXPECT_TRUE(bevel->LeftLine->Color == red);
  EXPECT_TRUE(bevel->LightColor == red);
  bevel->SetState(8);  // no look: only stored
  EXPECT_EQ(bevel->State, 8);
  EXPECT_TRUE(bevel->TopLine->Color == red);
  EXPECT_TRUE(bevel->RightLine->Color == shadow);
}

TEST_F(LookTest, ABevelsLinesSitOnItsEdgesAndFollowIt) {
  auto* bevel = new CBevel(root.get());
  EXPECT_EQ(Corners(*bevel->LeftLine), "(0,0)-(0,100)");
  EXPECT_EQ(Corners(*bevel->TopLine), "(0,0)-(100,0)");
  EXPECT_EQ(Corners(*bevel->RightLine), "(100,0)-(100,100)");
  EXPECT_EQ(Corners(*bevel->BottomLine), "(0,100)-(100,100)");
  EXPECT_EQ(bevel->FramePartCount(), 4);
  bevel->SetRect(CRect(10, 20, 40, 60));
  EXPECT_EQ(Corners(*bevel->LeftLine), "(0,0)-(0,40)");
  EXPECT_EQ(Corners(*bevel->TopLine), "(0,0)-(30,0)");
  EXPECT_EQ(Corners(*bevel->RightLine), "(30,0)-(30,40)");
  EXPECT_EQ(Corners(*bevel->BottomLine), "(0,40)-(30,40)");
}

// A bevel draws its plain lines in one pass; whatever its parts are and however the clip cuts
// them, the window must show what painting them one by one as controls shows (a plain control
// with the same parts), and the canvas must be left with the same pen and colour.
TEST_F(LookTest, ABevelShowsWhatItsPartsShowAsControls) {
  using Change = std::function<void(CControl & frame)>;
  const struct {
    const char* what;
    Change change;
    int penWidth = 0;  // the canvas's, while the window paints
  } cases[] = {
      {"plain lines", [](CControl&) {}},
      {"a dotted line", [](CControl& f) { static_cast<CLine*>(f.GetFramePart(1))->Style = 2; }},
      {"a hidden line", [](CControl& f) { f.GetFramePart(2)->Visible = false; }},
      {"hidden lines only",
       [](CControl& f) {
         for (std::int32_t i = 0; i < 4; ++i) f.GetFramePart(i)->Visible = false;
       }},
      {"a line of a class of its own",
       [](CControl& f) {
         f.GetFramePart(3)->Visible = false;
         auto* line = new CrossedLine(&f);
         line->SetRect(CRect(2, 2, 9, 2));
         line->Color = CColor(1, 0, 0);
         line->SetFramePart(true);
       }},
      {"a wide pen", [](CControl&) {}, 2},
      {"lines between pixels",
       [](CControl& f) {
         f.GetFramePart(0)->SetRect(CRect(0.5, 0.4, 0.5, 9.6));
         f.GetFramePart(1)->SetRect(CRect(14.5, 0.5, -0.4, 0.5));
       }},
      {"a part that is not a line",
       [](CControl& f) {
         auto* fill = new CFillRectangle(&f);
         fill->SetRect(CRect(-2, 2, 6, 5));
         fill->Color = CColor(1, 0, 0);
         fill->SetFramePart(true);
         auto* line = new CLine(&f);
         line->SetRect(CRect(1, 7, 12, 7));
         line->Color = CColor(0, 0, 1);
         line->SetFramePart(true);
       }},
      {"a child", [](CControl& f) { new CFillRectangle(&f); }},
  };
  // Inside the holder, across its right and bottom edges, and with those lines a fraction of a
  // unit beyond them (the clip then lets nothing of them through, though they round into it).
  const CRect places[] = {CRect(5, 5, 20, 15), CRect(22, 8, 45, 26), CRect(22, 8, 30.3, 20.3)};
  panel->Visible = false;  // the canvas's pen is then the bevel's to leave
  // The window's picture, brought up to date.
  const auto shown = [this] { return platform::WindowImage(Gui::WindowOf(*root))->pixels; };
  for (const auto& c : cases) {
    for (const CRect& place : places) {
      SCOPED_TRACE(std::string(c.what) + " at " + Corners(place));
      auto* holder = new CControl(root.get());
      holder->SetRect(CRect(30, 30, 60, 50));
      auto* bevel = new CBevel(holder);
      bevel->SetState(5);
      bevel->SetRect(place);
      auto* twin = new CControl(holder);
      twin->SetRect(place);
      for (std::int32_t i = 0; i < bevel->FramePartCount().Value; ++i) {
        auto* line = new CLine(twin);
        line->SetRect(*bevel->GetFramePart(i));
        line->Color = bevel->GetFramePart(i)->Color;
        line->SetFramePart(true);
      }
      c.change(*bevel);
      c.change(*twin);

      CCanvas& canvas = *root->GetCanvas();
      const auto paint = [&] {
        canvas.SetPenStyle(0);
        canvas.SetPenWidth(c.penWidth);
        root->Invalidate();
      };
      twin->Visible = false;
      paint();
      const std::vector<Pixel> byBevel = shown();
      const std::string bevelPen = PenOf(canvas);
      bevel->Visible = false;
      twin->Visible = true;
      paint();
      EXPECT_TRUE(shown() == byBevel);
      EXPECT_EQ(PenOf(canvas), bevelPen);
      canvas.SetPenWidth(0);
      delete holder;
    }
  }
}

}  // namespace
