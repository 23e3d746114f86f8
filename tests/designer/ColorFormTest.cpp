// The colour dialog on its own: its 64 buttons and what Execute answers.
#include "controls/Pic.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "designer/ColorForm.h"
#include "tests/designer/DesignerFixture.h"
#include "widgets/Button.h"

namespace {

using namespace qxtest;

class ColorFormTest : public DesignerTest {
 protected:
  ColorFormTest() : dialog(new CColorForm(main.get())) { main->Invalidate(); }

  // Execute, with `inDialog` done once it waits and a watchdog that closes a dialog nobody
  // answers.
  bool Execute(CColor& colour, std::function<void()> inDialog) {
    After(10, std::move(inDialog));
    bool fired = false;
    After(60000, [&] {
      fired = true;
      dialog->Close();
    });
    const bool picked = bool(dialog->Execute(colour));
    EXPECT_FALSE(fired) << "the dialog was never answered";
    return picked;
  }

  CColorForm* dialog;
};

TEST_F(ColorFormTest, TheDialogIsBuiltHiddenWithItsCaptionAndSixtyFourColours) {
  EXPECT_FALSE(dialog->Visible);
  EXPECT_EQ(Corners(*dialog), "(100,100)-(284,300)");
  EXPECT_FALSE(dialog->Sizable);
  EXPECT_EQ(dialog->Caption->Title->Str, CStr("Выбор цвета"_cp));
  EXPECT_EQ(dialog->Caption->Icon->FileName, CStr("C:\\Qxe\\Pics\\Dsgn\\Color.bmp"));
  EXPECT_EQ(dialog->Caption->Icon->Bitmap.Width, CInt(17));
  EXPECT_FALSE(dialog->Caption->MinimizeButton->Visible);
  EXPECT_FALSE(dialog->Caption->MaximizeButton->Visible);
  EXPECT_FALSE(dialog->Caption->RestoreButton->Visible);
  EXPECT_TRUE(dialog->Caption->CloseButton->Visible);

  const struct {
    int k;
    const char* corners;
    int r, g, b;  // bytes
  } buttons[] = {
      {0, "(10,10)-(26,26)", 0, 0, 0},    // black first
      {3, "(70,10)-(86,26)", 0, 0, 255},  // row 0, column 3: blue runs fastest
      {4, "(90,10)-(106,26)", 0, 85, 0},  // then green
      {8, "(10,30)-(26,46)", 0, 170, 0},  // row 1
      {16, "(10,50)-(26,66)", 85, 0, 0},  // red changes every two rows
      {45, "(110,110)-(126,126)", 170, 255, 85},
      {63, "(150,150)-(166,166)", 255, 255, 255},  // white last
  };
  for (const auto& b : buttons) {
    CSpeedButton* button = dialog->Buttons[b.k];
    EXPECT_EQ(button->Parent, dialog->Client);
    EXPECT_EQ(Corners(*button), b.corners) << "button " << b.k;
    CColor expected;
    expected.SetBytes(b.r, b.g, b.b);
    EXPECT_TRUE(button->Client->Color == expected) << "button " << b.k;
    EXPECT_EQ(button->Picture->Bitmap.Width, CInt(0)) << "no picture on a colour button";
  }
  EXPECT_EQ(dialog->Client->ChildCount(), CInt(64));
}

TEST_F(ColorFormTest, ExecuteAnswersTheClickedColourOrFalseWhenClosed) {
  CColor colour;
  EXPECT_TRUE(Execute(colour, [this] { PostClick(*dialog->Buttons[63]); }));
  EXPECT_TRUE(colour == CColor(1, 1, 1));
  EXPECT_FALSE(dialog->Visible);

  colour = CColor(0.3, 0.3, 0.3);
  EXPECT_FALSE(Execute(colour, [this] { PostClick(*dialog->Caption->CloseButton); }));
  EXPECT_TRUE(colour == CColor(1, 1, 1)) << "the colour clicked last";
  EXPECT_FALSE(dialog->Visible);
}

// The dialog holds the window while it waits: a press elsewhere does nothing.
TEST_F(ColorFormTest, OtherControlsWaitWhileTheDialogWaits) {
  auto* other = new CControl(main->Client);
  other->SetBounds(400, 300, 50, 50, true);
  int clicks = 0;
  struct Counter {
    int* clicks;
    void Clicked(CControl*) { ++*clicks; }
  } counter{&clicks};
  other->OnClick.Set(&counter, &Counter::Clicked);

  CColor colour;
  EXPECT_TRUE(Execute(colour, [&] {
    PostClick(*other);
    PostClick(*dialog->Buttons[1]);
  }));
  EXPECT_EQ(clicks, 0);
}

TEST_F(ColorFormTest, AQuitRequestEndsTheWaitAndStaysForTheRunLoop) {
  CColor colour;
  EXPECT_FALSE(Execute(colour, [] { platform::PostQuitMessage(0); }));
  platform::Message message;
  EXPECT_FALSE(platform::GetMessage(message)) << "the quit request was swallowed";
}

}  // namespace
