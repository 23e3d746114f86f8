// The message dialog: its layout by kind and mask, its answers, and the nested loop that keeps
// other windows working while it waits.
#include <vector>

#include "controls/Pic.h"
#include "controls/Text.h"
#include "platform/Messages.h"
#include "platform/Timers.h"
#include "platform/Window.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Button.h"
#include "widgets/MsgDlg.h"

namespace {

using namespace qxtest;

class MsgDlgTest : public testing::Test {
 protected:
  MsgDlgTest() {
    InstallPictures();
    main = std::make_unique<CForm>(nullptr);
    main->SetBounds(0, 0, 640, 480, true);
    AddFont(*main, "Text", 13);
    dialog = new CMsgDlgForm(main.get());
    gui.App().MsgDlg = dialog;
    gui.RunUntilIdle();
  }

  // Posts a click at a point of the dialog's client face, to be handled once Show waits.
  void ClickLater(CControl& window, CPoint p) {
    const platform::WindowId id = Gui::WindowOf(window);
    const int x = p.X.Round().Value, y = p.Y.Round().Value;
    platform::PostMessage({id, platform::MessageKind::LeftButtonDown, x, y});
    platform::PostMessage({id, platform::MessageKind::LeftButtonUp, x, y});
  }
  void ClickOnFace(int x, int y) { ClickLater(*main, dialog->Client->GetAbsM1() + CPoint(x, y)); }
  void ClickOnClose() {
    const CRect r = dialog->Caption->CloseButton->GetAbsRect();
    ClickLater(*main, r.M1 + CPoint(5, 5));
  }

  // Show, with a watchdog that ends a wait nobody answers.
  int Show(const CStr& text, int kind, int mask) {
    struct Watchdog {
      static std::int32_t Procedure(void* context, const platform::Message&) {
        auto* self = static_cast<Watchdog*>(context);
        self->fired = true;
        self->app->EndModal();
        return 0;
      }
      CCtrlApp* app;
      bool fired = false;
    } watchdog{&gui.App()};
    const platform::TimerId id = platform::SetTimer(0, 60000, &Watchdog::Procedure, &watchdog);
    const int result = dialog->Show(text, static_cast<std::uint8_t>(kind), mask);
    platform::KillTimer(id);
    EXPECT_FALSE(watchdog.fired) << "the dialog was never answered";
    return result;
  }

  std::vector<std::string> ShownButtons() {
    std::vector<std::string> shown;
    for (CButton* b : dialog->Buttons)
      if (b->Visible) shown.push_back(b->Caption->Str.ToStd() + " " + Corners(*b));
    return shown;
  }

  Gui gui;
  std::unique_ptr<CForm> main;
  CMsgDlgForm* dialog;
};

TEST_F(MsgDlgTest, TheDialogIsBuiltHiddenWithItsPicturesTextAndButtons) {
  EXPECT_FALSE(dialog->Visible);
  EXPECT_EQ(Corners(*dialog), "(200,200)-(500,330)");
  EXPECT_FALSE(dialog->Caption->MinimizeButton->Visible);
  EXPECT_FALSE(dialog->Caption->MaximizeButton->Visible);
  EXPECT_FALSE(dialog->Caption->RestoreButton->Visible);
  EXPECT_EQ(dialog->ConfirmationPicture->FileName, "C:\\Qxe\\Pics\\32x32\\Confirmation.bmp");
  EXPECT_EQ(Corners(*dialog->ConfirmationPicture), "(20,20)-(52,52)");
  EXPECT_EQ(dialog->ConfirmationPicture->Bitmap.Width, CFloat(32)) << "the picture was found";
  const int numbers[] = {1, 2, 4, 8};
  for (int i = 0; i < 4; i++) EXPECT_EQ(dialog->Buttons[i]->Number, numbers[i]);
}

TEST_F(MsgDlgTest, AConfirmationShowsItsPictureTitleAndYesAndNo) {
  struct Probe : CObject {
    // Runs inside the wait: what the dialog shows on the window then.
    void Look(CControl*) {
      visible = bool(dialog->Visible);
      const CPoint at = dialog->ConfirmationPicture->GetAbsM1();
      const platform::Surface& picture = dialog->ConfirmationPicture->Bitmap.Picture();
      for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
          if (gui->PixelAt(*window, at.X.Round().Value + x, at.Y.Round().Value + y) !=
              picture.At(x, y))
            differ++;
    }
    void Click(CControl*) { clicked = true; }
    CMsgDlgForm* dialog;
    Gui* gui;
    CControl* window;
    bool visible = false;
    bool clicked = false;
    int differ = -1;
  } probe;
  probe.dialog = dialog;
  probe.gui = &gui;
  probe.window = main.get();
  // A second window with a button, pressed while the dialog waits: only the dialog takes input.
  auto other = std::make_unique<CForm>(nullptr);
  other->SetBounds(700, 0, 200, 150, true);
  auto* button = new CButton(other->Client);
  button->SetBounds(10, 10, 80, 25, true);
  button->OnClick.Set(&probe, &Probe::Click);
  // The look inside the wait comes with a message to a window of the test's own.
  const platform::WindowId look = platform::CreateWindow(0, 0, 1, 1);
  platform::SetWindowProcedure(
      look,
      [](void* context, const platform::Message& m) -> std::int32_t {
        if (m.kind == platform::MessageKind::User) static_cast<Probe*>(context)->Look(nullptr);
        return 0;
      },
      &probe);
  gui.RunUntilIdle();
  probe.differ = 0;

  ClickLater(*other, button->GetAbsRect().M1 + CPoint(5, 5));
  platform::PostMessage({look, platform::MessageKind::User, 0, 0});
  ClickOnFace(75, 75);  // Yes
  EXPECT_EQ(Show("Delete the element?", 3, 3), 1);
  platform::DestroyWindow(look);
  EXPECT_FALSE(probe.clicked) << "the other window's button worked while the dialog waited";
  EXPECT_TRUE(probe.visible) << "the dialog was shown while it waited";
  EXPECT_EQ(probe.differ, 0) << "the Confirmation picture was on the window";
  EXPECT_EQ(dialog->Caption->Title->Str, "Confirmation");
  EXPECT_TRUE(dialog->ConfirmationPicture->Visible);
  EXPECT_FALSE(dialog->WarningPicture->Visible);
  EXPECT_EQ(ShownButtons(),
            (std::vector<std::string>{"Yes (70,70)-(120,90)", "No (130,70)-(180,90)"}));
  EXPECT_EQ(Corners(*dialog->Buttons[0]->FocusFrame), "(3,3)-(47,17)") << "inside the 50 by 20";
  EXPECT_FALSE(dialog->Visible) << "answered: hidden again";

  ClickOnFace(135, 75);  // No
  EXPECT_EQ(Show("Delete the element?", 3, 3), 2);
  ClickOnClose();
  EXPECT_EQ(Show("Delete the element?", 3, 3), 0);
}

TEST_F(MsgDlgTest, TheMaskPicksTheButtonsInTheirFixedOrder) {
  struct Case {
    int mask;
    std::vector<std::string> shown;
    int clickX;  // on the face; 0 for the close button
    int answer;
  } cases[] = {
      {12, {"OK (70,70)-(120,90)", "Cancel (130,70)-(180,90)"}, 135, 8},
      {12, {"OK (70,70)-(120,90)", "Cancel (130,70)-(180,90)"}, 75, 4},
      {15,
       {"Yes (70,70)-(120,90)", "No (130,70)-(180,90)", "OK (190,70)-(240,90)",
        "Cancel (250,70)-(300,90)"},
       195,
       4},
      {0x13, {"Yes (70,70)-(120,90)", "No (130,70)-(180,90)"}, 75, 1},  // higher bits ignored
      {0, {}, 0, 0},
  };
  for (const Case& c : cases) {
    if (c.clickX)
      ClickOnFace(c.clickX, 75);
    else
      ClickOnClose();
    EXPECT_EQ(Show("?", 2, c.mask), c.answer) << c.mask;
    EXPECT_EQ(ShownButtons(), c.shown) << c.mask;
  }
}

TEST_F(MsgDlgTest, WithoutButtonsOnlyTheCloseButtonEndsTheWait) {
  ClickOnFace(75, 75);  // where Yes would be: nothing there
  ClickOnClose();
  EXPECT_EQ(Show("Nothing to choose", 0, 0), 0);
  EXPECT_EQ(dialog->Caption->Title->Str, "Warning");
  EXPECT_TRUE(dialog->WarningPicture->Visible);
}

TEST_F(MsgDlgTest, KindsSetThePictureAndTitleAndALongMessageIsNotWrapped) {
  const struct {
    int kind;
    CPic* CMsgDlgForm::*picture;
    const char* title;
  } kinds[] = {{0, &CMsgDlgForm::WarningPicture, "Warning"},
               {1, &CMsgDlgForm::ErrorPicture, "Error"},
               {2, &CMsgDlgForm::InformationPicture, "Information"},
               {3, &CMsgDlgForm::ConfirmationPicture, "Confirmation"}};
  for (const auto& k : kinds) {
    ClickOnFace(75, 75);
    EXPECT_EQ(Show("Message", k.kind, 4), 4);
    EXPECT_EQ(dialog->Caption->Title->Str, k.title);
    int shown = 0;
    for (CPic* p : {dialog->WarningPicture, dialog->ErrorPicture, dialog->InformationPicture,
                    dialog->ConfirmationPicture})
      shown += p->Visible ? 1 : 0;
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE((dialog->*(k.picture))->Visible);
    EXPECT_EQ(Point(dialog->MessageText->M1), "(70,30)");
  }

  const CStr text = "A message far longer than the dialog is wide, on one line all the same";
  ClickOnFace(75, 75);
  EXPECT_EQ(Show(text, 4, 4), 4);
  EXPECT_EQ(dialog->Caption->Title->Str, "");
  EXPECT_EQ(Point(dialog->MessageText->M1), "(20,30)");
  const CSize size = dialog->MessageText->GetTextSize();
  EXPECT_GT(size.Width, CFloat(300));
  EXPECT_TRUE(dialog->MessageText->GetWidth() == size.Width);
  EXPECT_TRUE(dialog->MessageText->GetHeight() == size.Height);

  ClickOnFace(75, 75);
  EXPECT_EQ(Show("Other kind", 9, 4), 4);
  EXPECT_EQ(dialog->Caption->Title->Str, "") << "an unknown kind leaves the title";
}

}  // namespace
