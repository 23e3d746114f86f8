// The control application: the registry rows it adds, the blinking caret, closing forms.
#include <gtest/gtest.h>

#include <memory>

#include "controls/CtrlApp.h"
#include "controls/KeyboardCursor.h"
#include "controls/Shapes.h"
#include "controls/View.h"
#include "graphics/Timer.h"
#include "model/ClassManager.h"
#include "platform/Messages.h"
#include "tests/controls/Probes.h"
#include "tests/support/Gui.h"

namespace {

using namespace qxtest;

class CtrlAppTest : public testing::Test {
 protected:
  CCtrlApp& app() { return gui.App(); }
  CKeyboardCursor& caret() { return *gui.App().KeyboardCursor; }

  Gui gui;
};

TEST_F(CtrlAppTest, RegistersTheControlClassesAfterTheGraphicsClasses) {
  CClassManager& classes = *app().ClassMan;
  struct Row {
    const char* name;
    const char* base;
    const char* unit;
  } rows[] = {
      {"CAnchors", "CVar", "QxCtrlTypes"},      {"CTimer", "CObject", "QxDevice"},
      {"CControl", "CRect", "QxControls"},      {"CPen", "CControl", "QxControls"},
      {"CBrush", "CControl", "QxControls"},     {"CLine", "CPen", "QxControls"},
      {"CRectangle", "CPen", "QxControls"},     {"CEllipse", "CPen", "QxControls"},
      {"CTriangle", "CPen", "QxControls"},      {"CFillRectangle", "CBrush", "QxControls"},
      {"CFillEllipse", "CBrush", "QxControls"}, {"CFillTriangle", "CBrush", "QxControls"},
      {"CText", "CControl", "QxControls"},      {"CPic", "CControl", "QxControls"},
  };
  ASSERT_GE(classes.Count(), 51);
  EXPECT_EQ(classes.Get(36)->GetName(), "CFont") << "the last graphics class comes first";
  for (int i = 0; i < 14; i++) {
    CClassInfo* record = classes.Get(37 + i);
    EXPECT_EQ(record->GetName(), rows[i].name) << "row " << 38 + i;
    EXPECT_EQ(record->Base, rows[i].base) << rows[i].name;
    EXPECT_EQ(record->Unit, rows[i].unit) << rows[i].name;
  }
  EXPECT_EQ(classes.Find("CControl")->About, "Класс - карандаш"_cp);
  EXPECT_EQ(classes.Find("CPen")->About, "Класс - карандаш"_cp);
  EXPECT_EQ(classes.Find("CFillEllipse")->About, "Класс - закрашенный эллипс"_cp);
}

TEST_F(CtrlAppTest, ControlFactoriesTakeTheParentAndTheClassAnswersForTheControl) {
  auto root = std::make_unique<CControl>(nullptr);
  CObject* made = app().ClassMan->CreateByName("CEllipse", root.get());
  auto* ellipse = dynamic_cast<CEllipse*>(made);
  ASSERT_NE(ellipse, nullptr);
  EXPECT_EQ(ellipse->Parent, root.get());
  EXPECT_EQ(root->GetChild(0), ellipse);
  EXPECT_TRUE(ellipse->IsControl());
  EXPECT_EQ(ellipse->BaseClassName(), "CRect");
  EXPECT_TRUE(ellipse->InheritsFrom("CControl"));
  EXPECT_FALSE(CInt().IsControl());
}

TEST_F(CtrlAppTest, ThePenAndBrushColourPropertiesCopyComponents) {
  auto root = std::make_unique<CControl>(nullptr);
  auto* brush = new CFillRectangle(root.get());
  CPropInfo* color = nullptr;
  CClassInfo* record = app().ClassMan->Find("CBrush");
  for (std::int32_t i = 0; i < record->Properties.Count().Value; i++)
    if (record->Properties.GetAs<CPropInfo>(i)->GetName() == "Color")
      color = record->Properties.GetAs<CPropInfo>(i);
  ASSERT_NE(color, nullptr);
  EXPECT_TRUE(color->IsObject);
  CColor set(0.5, 0.25, 1);
  color->Set(brush, &set);
  EXPECT_TRUE(brush->Color == set);
  CColor got;
  color->Get(brush, &got);
  EXPECT_TRUE(got == set);
  color->Get(brush, nullptr);  // no target: nothing happens
}

TEST_F(CtrlAppTest, TheCaretBlinksEvery500MillisecondsOfVirtualTime) {
  EXPECT_EQ(Corners(caret()), "(0,0)-(1,10)");
  EXPECT_EQ(caret().ClassName(), "CRect");
  ASSERT_NE(caret().BlinkTimer, nullptr);
  EXPECT_TRUE(caret().BlinkTimer->Enabled());
  EXPECT_EQ(caret().BlinkTimer->Interval(), 500);

  auto root = std::make_unique<CControl>(nullptr);
  auto* probe = new Probe(root.get());
  gui.RunUntilIdle();  // the new window's first paint
  probe->paints = 0;
  const bool start = bool(caret().Phase);
  gui.Advance(499);
  EXPECT_EQ(bool(caret().Phase), start);
  gui.Advance(1);
  EXPECT_NE(bool(caret().Phase), start);
  EXPECT_EQ(probe->paints, 0) << "without a control a tick repaints nothing";
  gui.Advance(500);
  EXPECT_EQ(bool(caret().Phase), start);
}

TEST_F(CtrlAppTest, AttachingAndDetachingTheCaretRepaint) {
  auto root = std::make_unique<CControl>(nullptr);
  auto* edit = new Probe(root.get());
  auto* other = new Probe(root.get());
  gui.RunUntilIdle();  // the new window's first paint
  edit->paints = other->paints = 0;
  caret().Phase = true;

  caret().SetControl(edit);
  EXPECT_EQ(edit->paints, 1);
  EXPECT_TRUE(caret().Phase) << "the new holder keeps the phase";
  gui.Advance(500);
  EXPECT_EQ(edit->paints, 2) << "a tick repaints the holder's view";
  EXPECT_FALSE(caret().Phase);

  caret().Phase = true;
  caret().SetControl(other);  // taken from edit (repaint), given to other (repaint)
  EXPECT_EQ(edit->paints, 4);
  EXPECT_FALSE(caret().Phase) << "taking the caret away hides it";

  caret().SetControl(nullptr);
  EXPECT_EQ(other->paints, 5);
  EXPECT_FALSE(caret().Phase);
  EXPECT_EQ(caret().GetControl(), nullptr);
}

// A text-entry control in miniature: it shows the caret at (4, 2) in its own coordinates while
// it holds it and the phase is visible.
class Entry : public CControl {
 public:
  using CControl::CControl;
  void Paint(const CRect& clip) override {
    CControl::Paint(clip);
    CKeyboardCursor& caret = *CtrlApp->KeyboardCursor;
    if (caret.Phase && caret.GetControl() == this) {
      GetCanvas()->SetOrigin(GetAbsM1());
      caret.SetBounds(4, 2, 4, 8, false);
      caret.Paint();
    }
  }
};

TEST_F(CtrlAppTest, TheCaretShowsInEverySecondRepaint) {
  auto root = std::make_unique<CControl>(nullptr);
  root->SetBounds(0, 0, 60, 40, false);
  auto* paper = new CFillRectangle(root.get());
  paper->SetBounds(0, 0, 60, 40, false);
  paper->Color = CColor(1, 1, 1);
  auto* entry = new Entry(root.get());
  entry->SetBounds(10, 10, 50, 30, false);
  caret().Phase = false;
  caret().SetControl(entry);

  const std::map<Pixel, char> legend = {{kWhite, '.'}, {kBlack, '#'}};
  const std::string blank = Rows(std::vector<std::string>(8, "..."));
  EXPECT_EQ(gui.Picture(*root, 13, 11, 3, 8, legend), blank);
  gui.Advance(500);
  EXPECT_EQ(gui.Picture(*root, 13, 11, 3, 8, legend),
            Rows({"...", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", ".#."}));
  gui.Advance(500);
  EXPECT_EQ(gui.Picture(*root, 13, 11, 3, 8, legend), blank);
}

TEST_F(CtrlAppTest, ClosingTheMainFormEndsTheRunLoopAfterTheCurrentMessage) {
  class Closer : public CObject {
   public:
    void Close(CControl* sender) {
      closed++;
      CtrlApp->CloseForm(sender);
    }
    int closed = 0;
  } closer;
  auto main = std::make_unique<CControl>(nullptr);
  app().MainForm = main.get();
  main->OnClick.Set(&closer, &Closer::Close);

  const platform::WindowId window = Gui::WindowOf(*main);
  platform::PostMessage({window, platform::MessageKind::LeftButtonDown, 5, 5});
  platform::PostMessage({window, platform::MessageKind::LeftButtonUp, 5, 5});
  platform::PostMessage({window, platform::MessageKind::MouseMove, 7, 7});
  EXPECT_TRUE(gui.RunLoop(60000)) << "the loop ended by itself";
  EXPECT_EQ(closer.closed, 1);
  EXPECT_TRUE(main->Visible) << "the main form is not hidden";
  platform::Message left;
  ASSERT_TRUE(platform::PeekMessage(left)) << "the message after the click is still queued";
  EXPECT_EQ(left.kind, platform::MessageKind::MouseMove);
}

TEST_F(CtrlAppTest, ClosingAnotherRootFormHidesAndRepaintsIt) {
  auto main = std::make_unique<CControl>(nullptr);
  app().MainForm = main.get();
  auto other = std::make_unique<CControl>(nullptr);
  other->SetBounds(0, 0, 40, 30, false);
  auto* face = new CFillRectangle(other.get());
  face->SetBounds(0, 0, 40, 30, false);
  face->Color = CColor(1, 1, 1);
  other->Invalidate();
  EXPECT_EQ(gui.PixelAt(*other, 20, 15), kWhite);

  app().CloseForm(other.get());
  EXPECT_FALSE(other->Visible);
  EXPECT_EQ(gui.PixelAt(*other, 20, 15), kBlack) << "repainted without the form";
  EXPECT_FALSE(gui.RunLoop(2000)) << "the program keeps running";
  app().CloseForm(other.get());  // hiding a hidden form again is harmless
  EXPECT_FALSE(other->Visible);
}

}  // namespace
