// qxscene: one window that shows every drawing primitive of the canvas and some Cyrillic text,
// for looking at the graphics layer on a real display. Escape closes it.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/Cp1251.h"
#include "graphics/GDI.h"
#include "graphics/GLApp.h"
#include "platform/Screen.h"

namespace {

class Scene : public CObject {
 public:
  explicit Scene(CGDI& canvas) : canvas_(canvas) {
    canvas.OnPaint.Set(this, &Scene::Paint);
    canvas.OnKeyDown.Set(this, &Scene::KeyDown);
    fonts_.Text = Font(0, 14, false, false, false, false, "Text");
    fonts_.Title = Font(0, 22, true, false, false, false, "Title");
    fonts_.Italic = Font(0, 14, false, true, false, false, "Italic");
    fonts_.Under = Font(0, 14, false, false, true, false, "Underline");
    fonts_.Struck = Font(0, 14, false, false, false, true, "StrikeOut");
    fonts_.Big = Font(0, 30, true, false, false, false, "Big");
    MakePicture();
    // The product's own pictures, when they are on drive C: (the run script puts them there).
    const char* files[] = {"\\Pics\\Other\\AboutPic64.bmp",  "\\Pics\\32x32\\Information.bmp",
                           "\\Pics\\32x32\\Warning.bmp",     "\\Pics\\16x16silver\\New.bmp",
                           "\\Pics\\16x16silver\\Class.bmp", "\\Pics\\Form\\Close.bmp"};
    for (int i = 0; i < 6; ++i) files_[i].LoadFromFile(GLApp->HomeDir + files[i]);
    // The grid picture is made from the buffer, so before anything is painted.
    canvas.PrepareGrid(8, 8);
  }

 private:
  struct Fonts {
    CInt Text, Title, Italic, Under, Struck, Big;
  };

  CInt Font(int width, int height, bool b, bool i, bool u, bool s, const char* name) {
    auto* font = new CFont;
    font->Set(width, height, b, i, u, s, false, "MS Sans Serif", name);
    return canvas_.CreateFont(font);
  }

  // A 40 x 40 picture: a colour ramp with a dark diagonal.
  void MakePicture() {
    std::vector<std::uint32_t> bits;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        bits.push_back(x == y || x == 39 - y ? 0x202020
                                             : std::uint32_t((x * 6) << 16 | (y * 6) << 8 | 0xA0));
    picture_.Create(40, 40, bits);
  }

  void Label(int x, int y, const CStr& text) {
    canvas_.SelectFont(fonts_.Text);
    canvas_.SetColorRGB(0.1L, 0.1L, 0.1L);
    canvas_.DrawText(CPoint(x, y), text);
  }

  void Paint(CCanvas*) {
    CGDI& c = canvas_;
    c.SetOrigin(CPoint(0, 0));
    c.SetClipRect(CRect(0, 0, 799, 599));
    c.SetColorRGB(1, 1, 1);
    c.SetBrushStyle(0);
    c.FillRect(CRect(0, 0, 799, 599));

    c.SelectFont(fonts_.Title);
    c.SetColorRGB(0, 0.2L, 0.5L);
    c.DrawText(CPoint(16, 8), "Qxworks 0.3.2: примитивы холста"_cp);

    // Pen styles 0 to 6, and the pen controls' default 65535.
    const int styles[] = {0, 1, 2, 3, 4, 5, 6, 65535};
    for (int i = 0; i < 8; ++i) {
      const int y = 52 + i * 16;
      Label(16, y - 8, CInt(styles[i]).ToStr());
      c.SetPenStyle(styles[i]);
      c.SetPenWidth(0);
      c.SetColorRGB(0, 0, 0);
      c.DrawLine(CRect(70, y, 250, y));
    }
    c.SetPenStyle(0);

    // Outlines: rectangles of two pen widths, an ellipse, a triangle, a dotted frame.
    c.SetColorRGB(0.8L, 0, 0);
    c.DrawRect(CRect(280, 44, 340, 104));
    c.SetPenWidth(3);
    c.SetColorRGB(0, 0.5L, 0);
    c.DrawRect(CRect(360, 44, 420, 104));
    c.SetPenWidth(1);
    c.SetColorRGB(0, 0, 0.8L);
    c.DrawEllipse(CRect(440, 44, 530, 104));
    c.SetColorRGB(0.5L, 0, 0.5L);
    c.DrawTriangle(CRect(550, 44, 620, 104), CPoint(0, 60), CPoint(35, 0), CPoint(70, 60));
    c.SetPenStyle(-1);
    c.DrawRect(CRect(640, 44, 780, 104));
    c.SetPenStyle(0);
    Label(648, 66, "Пунктир"_cp);
    c.DrawLine(CRect(280, 120, 780, 150));  // a diagonal line, both ends drawn
    c.DrawLine(CRect(280, 150, 780, 120));

    // Fills: solid, the six hatches, a filled ellipse, the 2 x 2 pattern.
    for (int i = 0; i < 7; ++i) {
      const int x = 16 + i * 62;
      c.SetBrushStyle(i);
      c.SetColorRGB(i == 0 ? 0.9L : 0.1L, 0.4L, i == 0 ? 0.1L : 0.7L);
      c.FillRect(CRect(x, 190, x + 50, 240));
      Label(x + 2, 244, i == 0 ? CStr("Заливка"_cp) : CStr("Штрих "_cp) + CInt(i - 1).ToStr());
    }
    c.SetBrushStyle(0);
    c.SetColorRGB(1, 0.6L, 0);
    c.FillEllipse(CRect(460, 180, 560, 250));
    c.SetColorRGB(0, 0, 0);
    c.DrawEllipse(CRect(460, 180, 560, 250));
    c.PatternBitmap = &GLApp->Pattern;
    c.FillRect(CRect(580, 190, 630, 240));
    c.PatternBitmap = nullptr;

    // Colours from their components: a ramp of red against blue.
    for (int i = 0; i <= 50; ++i) {
      c.SetColorRGB(CFloat(i) / CFloat(50), CFloat(0.2L), CFloat(50 - i) / CFloat(50));
      c.FillRect(CRect(650 + i * 2, 190, 651 + i * 2, 240));
    }

    // Bitmaps: copied as they are, centred in a larger frame, cut in a smaller one.
    c.DrawBitmap(CRect(16, 280, 55, 319), picture_);
    c.SetColorRGB(0, 0, 0);
    c.DrawRect(CRect(70, 270, 150, 330));
    c.DrawBitmapCentered(CRect(70, 270, 150, 330), picture_);
    c.DrawBitmapCentered(CRect(170, 285, 190, 305), picture_);
    c.DrawRect(CRect(170, 285, 190, 305));  // the picture starts left of it and is cut

    // Picture files, as loaded.
    int x = 16;
    for (CGDIBitmap& file : files_) {
      if (!file.HasPicture()) continue;
      const int w = file.Width.Trunc().Value;
      const int h = file.Height.Trunc().Value;
      c.DrawBitmap(CRect(x, 520, x + w - 1, 520 + h - 1), file);
      x += w + 12;
    }
    if (x == 16) Label(16, 540, "Нет файлов картинок на диске C:"_cp);

    // The designer's dot grid.
    c.DrawRect(CRect(210, 270, 330, 330));
    c.DrawGrid(CRect(211, 271, 329, 329));

    // The clip: a large ellipse seen only through a window.
    c.SetColorRGB(0, 0, 0);
    c.DrawRect(CRect(349, 269, 451, 331));
    c.SetClipRect(CRect(350, 270, 450, 330));
    c.SetColorRGB(0.2L, 0.6L, 0.2L);
    c.FillEllipse(CRect(390, 240, 510, 360));
    // Clip-relative: (0, 0) is the clip's corner.
    c.ClipRelative = true;
    c.SetColorRGB(0, 0, 0);
    c.SelectFont(fonts_.Text);
    c.DrawText(CPoint(4, 2), "Клип"_cp);
    c.ClipRelative = false;
    c.SetClipRect(CRect(0, 0, 799, 599));

    // Text: faces and styles, Cyrillic, centred in a box.
    int y = 350;
    const struct {
      CInt font;
      CStr text;
    } lines[] = {
        {fonts_.Text, "Съешь же ещё этих мягких французских булок, да выпей чаю."_cp},
        {fonts_.Italic, "Курсив: Широкая электрификация южных губерний"_cp},
        {fonts_.Under, "Подчёркнутый текст"_cp},
        {fonts_.Struck, "Зачёркнутый текст"_cp},
        {fonts_.Big, "Крупно: ЁЖ, ЩИ, Ъ"_cp},
    };
    for (const auto& line : lines) {
      c.SelectFont(line.font);
      c.SetColorRGB(0, 0, 0);
      c.DrawText(CPoint(16, y), line.text);
      y += c.GetTextExtent(line.text).Height.Value + 4;
    }
    c.SelectFont(fonts_.Title);
    c.SetColorRGB(0.9L, 0.9L, 1);
    c.FillRect(CRect(480, 360, 780, 420));
    c.SetColorRGB(0, 0, 0);
    c.DrawRect(CRect(480, 360, 780, 420));
    c.SetColorRGB(0.6L, 0, 0);
    c.DrawTextCentered(CRect(480, 360, 780, 420), "По центру"_cp);

    // Origin: the same small figure at three origins.
    for (int i = 0; i < 3; ++i) {
      c.SetOrigin(CPoint(480 + i * 100, 450));
      c.SetColorRGB(0, 0.3L * i, 0.6L);
      c.FillRect(CRect(0, 0, 60, 40));
      c.SetColorRGB(1, 1, 1);
      c.SelectFont(fonts_.Text);
      c.DrawTextCentered(CRect(0, 0, 60, 40), "Начало"_cp);
    }
    c.SetOrigin(CPoint(0, 0));
  }

  void KeyDown(CCanvas* canvas, CInt key, CShiftStateSet) {
    if (key == CInt(1)) canvas->Close();  // Escape
  }

  CGDI& canvas_;
  Fonts fonts_;
  CGDIBitmap picture_;
  CGDIBitmap files_[6];
};

}  // namespace

int main() {
  if (!platform::RealDisplay()) {
    std::fputs("qxscene: no display to show the scene on (is DISPLAY set?)\n", stderr);
    return 1;
  }
  auto app = std::make_unique<CGLApp>();
  auto canvas = std::make_unique<CGDI>();
  Scene scene(*canvas);
  canvas->SetBounds(20, 20, 819, 619, false);  // an 800 x 600 window
  app->Run();
  canvas.reset();
  return 0;
}
