// qxgallery: one form that shows the toolkit's controls and widgets, so that anyone can look at
// them on a real display. Escape (while no control holds the focus), the form's close button or
// a click on "Закрыть" ends it.
//
// The pictures come from the home directory (C:\Qxe\Pics), where scripts/run.sh puts them; a
// gallery started without them says so in its window.
#include <cstdio>
#include <memory>

#include "controls/Control.h"
#include "controls/CtrlApp.h"
#include "controls/KeyboardCursor.h"
#include "controls/Pic.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "controls/View.h"
#include "core/Cp1251.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "platform/Files.h"
#include "platform/Screen.h"
#include "tools/qxgallery/MemoWindow.h"
#include "tools/qxgallery/Scrolling.h"
#include "tools/qxgallery/Trees.h"
#include "tools/qxgallery/Widgets.h"
#include "widgets/Form.h"
#include "widgets/WidgetClasses.h"

namespace {

CColor Grey(double level) {
  return CColor(level, level, level);
}

template <class T>
T* Place(CControl* parent, double x, double y, double w, double h, CColor color = CColor()) {
  auto* control = new T(parent);
  control->SetBounds(x, y, w, h, true);
  control->Color = color;
  return control;
}

CText* Label(CControl* parent, double x, double y, const CStr& text, CInt font = 0,
             CColor color = CColor()) {
  auto* label = Place<CText>(parent, x, y, 10, 10, color);
  label->Str = text;
  label->SetFontNumber(font);
  label->FitToText();
  return label;
}

// Registers a font with the canvas of the window and answers its number.
CInt AddFont(CControl& window, const CStr& objectName, CInt height, bool bold, bool italic) {
  auto* font = new CFont;  // the font manager keeps it
  font->Set(0, height, bold, italic, false, false, false, "MS Sans Serif", objectName);
  return window.GetCanvas()->CreateFont(font);
}

// A text that shows the application's caret after its last character while it holds it, as the
// text-entry widgets do.
class CaretText : public CText {
 public:
  using CText::CText;
  void Paint(const CRect& clip) override {
    CText::Paint(clip);
    CKeyboardCursor& caret = *CtrlApp->KeyboardCursor;
    if (!caret.Phase || caret.GetControl() != this) return;
    const CSize size = GetTextSize();
    GetCanvas()->SetOrigin(GetAbsM1());
    caret.SetBounds(size.Width + CFloat(2), 0, size.Width + CFloat(2), size.Height, false);
    caret.Paint();
  }
};

class Gallery {
 public:
  // The main form: the toolbar and the widgets (Widgets.cpp) around a sheet that shows the
  // controls the widgets are made of.
  explicit Gallery(CCtrlApp& app) : app_(app) {
    form_ = std::make_unique<CForm>(nullptr);
    CForm& form = *form_;
    form.SetBounds(8, 8, 1008, 752, true);
    const CInt text = AddFont(form, "Text", 13, false, false);
    const CInt heading = AddFont(form, "Heading", 16, true, false);
    const CInt italic = AddFont(form, "Italic", 15, false, true);
    form.Caption->Title->Str = "Qxworks: элементы управления"_cp;

    CControl* root = Place<CControl>(form.Client, 0, 34, 700, 478);
    Place<CFillRectangle>(root, 0, 0, 700, 478, Grey(0.85));
    Label(root, 12, 8, "Фигуры, тексты и картинки"_cp, heading, CColor(0, 0, 0.5));
    auto* close = Label(root, 628, 10, "Закрыть"_cp, text, CColor(0.5, 0, 0));
    close->OnClick.Set(this, &Gallery::CloseClicked);

    Shapes(root, text);
    Texts(root, text, heading, italic);
    Pictures(root, text);
    widgets_ = std::make_unique<WidgetPage>(app, form, heading);

    form.OnKeyDown.Set(this, &Gallery::KeyDown);
    form.View->SetFocus(&form, false, 0);
    form.Invalidate();
  }

 private:
  void Shapes(CControl* root, CInt font) {
    Label(root, 12, 40, "Фигуры: линия, прямоугольник, пунктир, эллипс, заливки, треугольники"_cp,
          font);
    auto* box = Place<CRectangle>(root, 10, 60, 680, 110, Grey(0.5));
    Place<CLine>(box, 10, 10, 60, 80, CColor(0, 0, 0));
    auto* back = Place<CLine>(box, 10, 10, 60, 80, CColor(0.8, 0, 0));
    back->SetCorners(70, 10, 10, 90);  // drawn from the lower right, whatever the direction
    Place<CRectangle>(box, 90, 10, 80, 80, CColor(0.8, 0, 0));
    auto* dotted = Place<CRectangle>(box, 180, 10, 80, 80);
    dotted->SetStyle(-1);
    Place<CEllipse>(box, 270, 10, 110, 80, CColor(0, 0, 0.8));
    Place<CFillRectangle>(box, 390, 10, 80, 80, CColor(0, 0.6, 0));
    Place<CFillEllipse>(box, 480, 10, 80, 80, CColor(0.9, 0.6, 0));
    // A filled rectangle inside an outlined one: the child is clipped to its parent.
    auto* frame = Place<CRectangle>(box, 570, 10, 100, 80, CColor(0, 0, 0));
    auto* spill = Place<CFillRectangle>(frame, 50, 40, 100, 100, CColor(0.6, 0, 0.6));
    spill->Color = CColor(0.6, 0, 0.6);
    // The triangles draw nothing at all; their places are marked.
    Place<CTriangle>(box, 90, 93, 20, 10);
    Place<CFillTriangle>(box, 120, 93, 20, 10);
    Label(box, 150, 92, "<- два треугольника: они ничего не рисуют"_cp, font, Grey(0.35));
  }

  void Texts(CControl* root, CInt text, CInt heading, CInt italic) {
    Label(root, 12, 182, "Тексты: слева, по центру, шрифты"_cp, text);
    auto* box = Place<CRectangle>(root, 10, 202, 680, 80, Grey(0.5));
    Label(box, 10, 8, "Hello, word! Текст в кодировке 1251"_cp, text);
    Label(box, 10, 28, "Полужирный заголовок"_cp, heading, CColor(0, 0, 0.5));
    Label(box, 10, 52, "Курсив"_cp, italic, CColor(0.6, 0, 0));
    auto* centred = Place<CRectangle>(box, 380, 10, 280, 60, CColor(0, 0, 0.6));
    auto* caption = Place<CText>(centred, 0, 0, 280, 60);
    caption->Str = "По центру прямоугольника"_cp;
    caption->SetFontNumber(text);
    caption->Center = true;

    auto* blinking = Place<CaretText>(box, 240, 52, 130, 20);
    blinking->Str = "Курсор мигает:"_cp;
    blinking->SetFontNumber(text);
    CtrlApp->KeyboardCursor->SetControl(blinking);

    // Clicks reach the control under the pointer: this one changes colour.
    auto* button = Place<CFillEllipse>(box, 240, 6, 130, 36, CColor(0.3, 0.6, 0.9));
    button->OnClick.Set(this, &Gallery::ButtonClicked);
    auto* press = Place<CText>(button, 0, 0, 130, 36, CColor(1, 1, 1));
    press->Str = "Нажмите"_cp;
    press->SetFontNumber(text);
    press->Center = true;
    press->SetFramePart(true);  // the clicks go to the ellipse
  }

  void Pictures(CControl* root, CInt font) {
    Label(root, 12, 294, "Картинки из C:\\Qxe\\Pics"_cp, font);
    auto* box = Place<CRectangle>(root, 10, 314, 680, 150, Grey(0.5));
    const char* small[] = {"\\Pics\\16x16silver\\New.bmp",  "\\Pics\\16x16silver\\Open.bmp",
                           "\\Pics\\16x16silver\\Save.bmp", "\\Pics\\16x16silver\\Cut.bmp",
                           "\\Pics\\16x16silver\\Copy.bmp", "\\Pics\\16x16silver\\Paste.bmp",
                           "\\Pics\\Form\\Icon16.bmp",      "\\Pics\\Form\\Close.bmp",
                           "\\Pics\\8x8\\Left.bmp",         "\\Pics\\8x8\\Right.bmp"};
    double x = 10;
    for (const char* path : small) {
      Picture(box, x, 10, 16, 16, path, false);
      x += 24;
    }
    const char* large[] = {"\\Pics\\32x32\\Warning.bmp", "\\Pics\\32x32\\Error.bmp",
                           "\\Pics\\32x32\\Information.bmp", "\\Pics\\32x32\\Confirmation.bmp"};
    x = 10;
    for (const char* path : large) {
      Picture(box, x, 40, 32, 32, path, false);
      x += 40;
    }
    // Centred in a larger frame, and cut to a smaller one.
    auto* wide = Place<CRectangle>(box, 200, 40, 100, 100, CColor(0, 0, 0));
    Picture(wide, 1, 1, 98, 98, "\\Pics\\Other\\AboutPic64.bmp", true);
    Picture(box, 320, 40, 40, 40, "\\Pics\\Other\\AboutPic64.bmp", false);
    if (!platform::FileExists((app_.HomeDir + "\\Pics\\Form\\Icon16.bmp").View()))
      Label(box, 10, 10, "Картинок нет: scripts/run.sh кладёт их в C:\\Qxe\\Pics"_cp, font,
            CColor(0.7, 0, 0));
  }

  void Picture(CControl* parent, double x, double y, double w, double h, const char* path,
               bool centred) {
    auto* pic = Place<CPic>(parent, x, y, w, h);
    pic->Centered = centred;
    pic->SetFileName(app_.HomeDir + path);
  }

  void CloseClicked(CControl*) { app_.Quit(); }

  void ButtonClicked(CControl* sender) {
    clicks_++;
    sender->Color = clicks_ % 2 ? CColor(0.8, 0.3, 0.2) : CColor(0.3, 0.6, 0.9);
    sender->Invalidate();
  }

  void KeyDown(CControl*, CInt key, CShiftStateSet) {
    if (key.Value == 1) app_.Quit();  // Escape
  }

  CCtrlApp& app_;
  std::unique_ptr<CForm> form_;
  std::unique_ptr<WidgetPage> widgets_;
  int clicks_ = 0;
};

}  // namespace

int main() {
  if (!platform::RealDisplay()) {
    std::fputs("qxgallery: no display to show the gallery on (is DISPLAY set?)\n", stderr);
    return 1;
  }
  auto app = std::make_unique<CCtrlApp>(WidgetClassRows());
  CtrlApp = app.get();
  {
    Gallery gallery(*app);
    ScrollingPage scrolling;  // a second window
    MemoWindow memo;          // a third
    TreePage trees(*app);     // and a fourth
    app->Run();
  }
  app.reset();
  return 0;
}
