// The shape, text and picture controls: their pixels, the pen style they leave behind, and their
// records.
#include <gtest/gtest.h>

#include <memory>

#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "controls/View.h"
#include "graphics/Font.h"
#include "graphics/GDI.h"
#include "platform/Files.h"
#include "platform/draw/Bitmap.h"
#include "storage/Stream.h"
#include "tests/controls/Probes.h"
#include "tests/support/Gui.h"

namespace {

using namespace qxtest;

const std::map<Pixel, char> kInkOnPaper = {{kWhite, '.'}, {kBlack, '#'}};

class ShapesTest : public testing::Test {
 protected:
  ShapesTest() {
    root->SetBounds(0, 0, 120, 80, false);
    paper->SetBounds(0, 0, 120, 80, false);
    paper->Color = CColor(1, 1, 1);
  }

  template <class T>
  T* Add(CControl* parent, double x1, double y1, double x2, double y2) {
    auto* c = new T(parent);
    c->SetBounds(x1, y1, x2, y2, false);
    return c;
  }

  // Registers a font the way the environment does and answers its number.
  CInt AddFont(const char* objectName, int height, bool bold) {
    auto* font = new CFont;
    font->Set(0, height, bold, false, false, false, false, "MS Sans Serif", objectName);
    return root->GetCanvas()->CreateFont(font);
  }

  std::string Picture(int x, int y, int w, int h) {
    root->Invalidate();
    return gui.Picture(*root, x, y, w, h, kInkOnPaper);
  }

  Gui gui;
  std::unique_ptr<CControl> root = std::make_unique<CControl>(nullptr);
  CFillRectangle* paper = new CFillRectangle(root.get());
};

// [SECTION] Painting

TEST_F(ShapesTest, ARectangleOutlinesItsFarCornerAndItsClientRectangleExcludesTheOutline) {
  auto* r = Add<CRectangle>(paper, 10, 10, 50, 30);
  EXPECT_EQ(Corners(r->GetClientRect()), "(1,1)-(39,19)");
  const std::string picture = Picture(9, 9, 43, 23);
  std::vector<std::string> rows;
  rows.push_back(std::string(43, '.'));
  rows.push_back("." + std::string(41, '#') + ".");
  for (int y = 11; y < 30; y++) rows.push_back(".#" + std::string(39, '.') + "#.");
  rows.push_back("." + std::string(41, '#') + ".");
  rows.push_back(std::string(43, '.'));
  EXPECT_EQ(picture, Rows(rows));
}

TEST_F(ShapesTest, ALineRunsFromM1ToM2InAnyDirectionWithoutItsChildren) {
  auto* line = Add<CLine>(paper, 5, 3, 1, 3);  // M1 right of M2
  Add<CFillRectangle>(line, 0, 0, 3, 3);       // would ink the area around it
  EXPECT_EQ(Picture(0, 2, 7, 3), Rows({".......", ".#####.", "......."}));
  line->SetCorners(4, 4, 1, 1);  // below and right of M2
  EXPECT_EQ(Picture(0, 0, 6, 6),
            Rows({"......", ".#....", "..#...", "...#..", "....#.", "......"}));
}

// A line is cut to what its parent lets through before rounding: a row beyond a parent that ends
// a fraction short of it stays empty, though the parent's last row rounds onto it.
TEST_F(ShapesTest, ALineIsCutToItsParentBeforeRounding) {
  auto* face = Add<CFillRectangle>(paper, 2, 2, 12, 5.8);  // rows 2 to 6 after rounding
  face->Color = CColor(1, 1, 1);
  struct Case {
    const char* where;
    double y;
    std::vector<std::string> rows;  // rows 4 to 7, columns 1 to 13
  } cases[] = {
      {"inside", 2.5, {".............", ".###########.", ".............", "............."}},
      {"a fraction below the face", 4.0,
       {".............", ".............", ".............", "............."}},
      {"on its rounded last row", 3.6,
       {".............", ".............", ".###########.", "............."}},
  };
  for (const Case& c : cases) {
    auto* line = Add<CLine>(face, 0, c.y, 10, c.y);
    EXPECT_EQ(Picture(1, 4, 13, 4), Rows(c.rows)) << c.where;
    delete line;
  }
}

// A fill is cut to its parent the same way, whether it lies inside the parent, pokes out of it
// or misses it by a fraction.
TEST_F(ShapesTest, AFillIsCutToItsParentBeforeRounding) {
  auto* face = Add<CFillRectangle>(paper, 2, 2, 12, 5.8);  // rows 2 to 6 after rounding
  face->Color = CColor(1, 1, 1);
  struct Case {
    const char* where;
    double box[4];                  // in the face
    std::vector<std::string> rows;  // rows 4 to 7, columns 1 to 13
  } cases[] = {
      {"inside",
       {0, 2, 10, 2.5},
       {".###########.", ".###########.", ".............", "............."}},
      {"on its rounded last row",
       {0, 3.6, 10, 3.8},
       {".............", ".............", ".###########.", "............."}},
      {"out at the left",
       {-1, 1, 5, 2},
       {".######......", ".............", ".............", "............."}},
      {"out at the bottom",
       {0, 3, 10, 6},
       {".............", ".###########.", ".###########.", "............."}},
      {"a fraction below the face",
       {0, 3.9, 10, 4.2},
       {".............", ".............", ".............", "............."}},
  };
  for (const Case& c : cases) {
    auto* fill = Add<CFillRectangle>(face, c.box[0], c.box[1], c.box[2], c.box[3]);
    fill->Color = CColor(0, 0, 0);
    EXPECT_EQ(Picture(1, 4, 13, 4), Rows(c.rows)) << c.where;
    delete fill;
  }
}

TEST_F(ShapesTest, TrianglesDrawNothingNotEvenTheirChildren) {
  for (CControl* triangle : {static_cast<CControl*>(Add<CTriangle>(paper, 2, 2, 20, 20)),
                             static_cast<CControl*>(Add<CFillTriangle>(paper, 2, 2, 20, 20))}) {
    Add<CFillRectangle>(triangle, 0, 0, 10, 10);
    EXPECT_EQ(Picture(0, 0, 24, 24), Rows(std::vector<std::string>(24, std::string(24, '.'))));
    delete triangle;
  }
}

TEST_F(ShapesTest, InvisibleEllipsesAndTextsAreStillDrawnButNotTheEllipsesChildren) {
  AddFont("Text", 13, false);
  auto* ellipse = Add<CEllipse>(paper, 2, 2, 12, 12);
  Add<CFillRectangle>(ellipse, 4, 4, 6, 6);  // inks the ellipse's middle while it is visible
  auto* filled = Add<CFillEllipse>(paper, 20, 2, 30, 12);
  auto* text = Add<CText>(paper, 40, 2, 110, 20);
  text->Str = "Hi";  // well inside its rectangle, so its own clip cuts nothing
  auto* rect = Add<CRectangle>(paper, 2, 40, 12, 50);
  const std::string shown = Picture(0, 0, 120, 60);
  for (CControl* c : std::initializer_list<CControl*>{ellipse, filled, text, rect})
    c->Visible = false;
  const std::string hidden = Picture(0, 0, 120, 60);

  auto at = [](const std::string& picture, int x, int y) { return picture[y * 121 + x]; };
  auto text_rows = [](const std::string& picture) {
    std::string area;
    for (int y = 0; y < 22; y++) area += picture.substr(y * 121 + 36, 84);
    return area;
  };
  EXPECT_EQ(at(shown, 7, 7), '#');
  EXPECT_EQ(at(hidden, 7, 7), '.') << "the ellipse's child";
  EXPECT_EQ(at(hidden, 2, 7), '#') << "the ellipse's outline";
  EXPECT_EQ(at(hidden, 25, 7), '#') << "the filled ellipse";
  EXPECT_EQ(at(shown, 2, 40), '#');
  EXPECT_EQ(at(hidden, 2, 40), '.') << "the rectangle";
  EXPECT_NE(text_rows(shown).find('#'), std::string::npos) << "the text has ink";
  EXPECT_EQ(text_rows(hidden), text_rows(shown)) << "the text is drawn all the same";
}

TEST_F(ShapesTest, ANewTextSaysHelloInBlackAtItsTopLeftCorner) {
  AddFont("Text", 13, false);
  auto* text = Add<CText>(paper, 10, 10, 110, 40);
  EXPECT_EQ(text->Str, "Hello, word!");
  EXPECT_EQ(text->FontNumber, 0);
  const CSize size = text->GetTextSize();
  ASSERT_GT(size.Width, CFloat(20));
  ASSERT_GT(size.Height, CFloat(5));
  root->Invalidate();
  int ink = 0;       // text pixels inside the text's box: black, or the greys of its smoothed edges
  int coloured = 0;  // anything that is not a shade of grey
  int stray = 0;     // anything but paper outside the box
  for (int y = 0; y < 80; y++)
    for (int x = 0; x < 120; x++) {
      const Pixel p = gui.PixelAt(*root, x, y);
      const bool inside =
          x >= 10 && y >= 10 && x < 10 + size.Width.Value && y < 10 + size.Height.Value;
      if (p == kWhite) continue;
      if (!inside) stray++;
      if (inside) ink++;
      if ((p >> 16) != (p & 0xFF) || ((p >> 8) & 0xFF) != (p & 0xFF)) coloured++;
    }
  EXPECT_GT(ink, 60);
  EXPECT_EQ(coloured, 0);
  EXPECT_EQ(stray, 0);

  CControl* inside = Add<CControl>(text, 1, 1, 5, 5);
  inside->Anchors.Set(2, 2, 2, 2);
  text->FitToText();
  EXPECT_EQ(Corners(*inside), "(1,1)-(5,5)") << "set directly: nothing is laid out";
  EXPECT_EQ(Corners(*text),
            Corners(CRect(10, 10, CFloat(10) + size.Width, CFloat(10) + size.Height)));
}

TEST_F(ShapesTest, ACentredTextSitsInTheMiddleOfItsRectangle) {
  AddFont("Text", 13, false);
  auto* text = Add<CText>(paper, 0, 0, 119, 79);
  text->Str = "I";
  text->Center = true;
  root->Invalidate();
  int minX = 999, maxX = -1, minY = 999, maxY = -1;
  for (int y = 0; y < 80; y++)
    for (int x = 0; x < 120; x++)
      if (gui.PixelAt(*root, x, y) != kWhite) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  ASSERT_LE(minX, maxX) << "the letter was drawn";
  EXPECT_NEAR((minX + maxX) / 2.0, 60, 4);
  EXPECT_NEAR((minY + maxY) / 2.0, 40, 6);
}

TEST_F(ShapesTest, ADottedRectangleAlternatesBlackAndWhiteAndLeavesTheSolidStyle) {
  auto* r = Add<CRectangle>(paper, 2, 2, 9, 5);
  r->SetStyle(-1);
  r->Color = CColor(1, 0, 0);  // the dotted frame has its own colours
  root->GetCanvas()->SetPenStyle(3);
  EXPECT_EQ(Picture(2, 2, 8, 4), Rows({"#.#.#.#.", ".......#", "#.......", ".#.#.#.#"}));
  EXPECT_EQ(root->GetCanvas()->GetPenStyle(), 65535);

  // With the default style the outline is solid in the control's colour.
  r->SetStyle(65535);
  EXPECT_EQ(Picture(2, 2, 8, 1), Rows({"????????"}));
  EXPECT_EQ(gui.PixelAt(*root, 2, 2), kRed);
}

TEST_F(ShapesTest, AnInvisiblePenControlStillLeavesTheSolidStyle) {
  auto* line = Add<CLine>(paper, 0, 0, 5, 5);
  line->Visible = false;
  line->SetStyle(2);
  root->GetCanvas()->SetPenStyle(4);
  root->Invalidate();
  EXPECT_EQ(root->GetCanvas()->GetPenStyle(), 65535);
}

TEST_F(ShapesTest, APictureIsCopiedUnscaledFromItsCornerOrCentredAndCutToItsRectangle) {
  platform::Surface image(4, 2, 0xFF0000);
  image.pixels[0] = 0x000000;
  ASSERT_TRUE(platform::SaveBmp(platform::LinuxPath("C:\\corner.bmp"), image));
  auto* pic = Add<CPic>(paper, 2, 2, 9, 5);
  EXPECT_TRUE(pic->SetFileName("C:\\corner.bmp"));
  const std::map<Pixel, char> legend = {{kWhite, '.'}, {kBlack, '#'}, {kRed, 'r'}};
  root->Invalidate();
  EXPECT_EQ(gui.Picture(*root, 1, 1, 10, 4, legend),
            Rows({"..........", ".#rrr.....", ".rrrr.....", ".........."}));
  pic->Centered = true;
  root->Invalidate();
  EXPECT_EQ(
      gui.Picture(*root, 1, 1, 10, 6, legend),
      Rows({"..........", "..........", "...#rrr...", "...rrrr...", "..........", ".........."}));
  pic->Centered = false;
  pic->SetBounds(2, 2, 3, 2, false);  // room for 2 x 1 pixels
  root->Invalidate();
  EXPECT_EQ(gui.Picture(*root, 1, 1, 6, 3, legend), Rows({"......", ".#r...", "......"}));

  // A missing file leaves the picture empty; the answer is still true.
  EXPECT_TRUE(pic->SetFileName("C:\\missing.bmp"));
}

// [SECTION] Records

TEST_F(ShapesTest, AFilledRectangleComesBackWithCornersAnchorsVisibilityAndColour) {
  auto* original = Add<CFillRectangle>(paper, 10, 20, 30, 40);
  original->Color = CColor(0.25, 0.5, 0.75);
  original->Anchors.Set(2, 0, 4, 3);
  original->Visible = false;
  CMemory stream;
  original->WriteTo(stream);
  stream.SetPosition(0);
  auto* copy = Add<CFillRectangle>(paper, 0, 0, 1, 1);
  copy->ReadFrom(stream);
  EXPECT_EQ(stream.Remaining(), 0);
  EXPECT_EQ(Corners(*copy), "(10,20)-(30,40)");
  EXPECT_TRUE(copy->Color == original->Color);
  EXPECT_TRUE(copy->Anchors == original->Anchors);
  EXPECT_FALSE(copy->Visible);
}

TEST_F(ShapesTest, APenStyleIsNotStored) {
  auto* original = Add<CRectangle>(paper, 1, 2, 3, 4);
  original->SetStyle(-1);
  CMemory stream;
  original->WriteTo(stream);
  stream.SetPosition(0);
  auto* copy = Add<CRectangle>(paper, 0, 0, 1, 1);
  copy->ReadFrom(stream);
  EXPECT_EQ(copy->Style, 65535);
}

TEST_F(ShapesTest, ATextComesBackWithItsStringColourAndRegisteredFont) {
  AddFont("Text", 13, false);
  const CInt bold = AddFont("Bold", 16, true);
  auto* original = Add<CText>(paper, 5, 6, 70, 20);
  original->Str = "Привет"_cp;
  original->Color = CColor(0, 0, 1);
  original->SetFontNumber(bold);
  original->Center = true;
  CMemory stream;
  original->WriteTo(stream);
  stream.SetPosition(0);
  auto* copy = Add<CText>(paper, 0, 0, 1, 1);
  copy->ReadFrom(stream);
  EXPECT_EQ(stream.Remaining(), 0);
  EXPECT_EQ(copy->Str, "Привет"_cp);
  EXPECT_TRUE(copy->Color == original->Color);
  EXPECT_EQ(copy->FontNumber, bold);
  EXPECT_FALSE(copy->Center) << "Center is not stored";
  EXPECT_EQ(Corners(*copy), "(5,6)-(70,20)");
  EXPECT_EQ(gui.App().FontManager->Count(), 2) << "a registered number registers nothing";
}

TEST_F(ShapesTest, AStoredFontNumberThatIsNotRegisteredIsRegisteredUnderTheNextNumber) {
  AddFont("Text", 13, false);
  CFontManager& fonts = *gui.App().FontManager;
  auto* text = Add<CText>(paper, 0, 0, 10, 10);
  // A text record whose font record carries the given number and height.
  auto record = [&](int id, int height) {
    auto stream = std::make_unique<CMemory>();
    auto* writer = Add<CText>(paper, 0, 0, 10, 10);
    writer->CControl::WriteTo(*stream);
    writer->Color.WriteTo(*stream);
    writer->Str.SaveToStream(*stream);
    CFont font;
    font.ID = id;
    font.Height = height;
    font.B = true;
    font.WriteTo(*stream);
    delete writer;
    stream->SetPosition(0);
    return stream;
  };

  struct Case {
    int storedId, height;
    int number;       // FontNumber after reading
    int count;        // fonts registered after reading
    int heightUnder;  // the height of the font under that number
  } cases[] = {
      {1, 20, 1, 2, 20},  // the next free number: registered under it
      {9, 11, 2, 3, 11},  // far beyond: registered under the next number, not the stored one
      {0, 30, 0, 3, 13},  // already registered: the registered font wins
  };
  for (const Case& c : cases) {
    text->ReadFrom(*record(c.storedId, c.height));
    EXPECT_EQ(text->FontNumber, c.number) << "stored " << c.storedId;
    EXPECT_EQ(fonts.Count(), c.count) << "stored " << c.storedId;
    ASSERT_NE(fonts.Find(c.number), nullptr);
    EXPECT_EQ(fonts.Find(c.number)->Height, c.heightUnder) << "stored " << c.storedId;
  }
}

TEST_F(ShapesTest, ATextWithoutARegisteredFontKeepsItsNumberThroughTheRecord) {
  auto* original = Add<CText>(paper, 0, 0, 10, 10);
  original->SetFontName("NoSuchFont");
  EXPECT_EQ(original->FontNumber, -1);
  CMemory stream;
  original->WriteTo(stream);
  stream.SetPosition(0);
  auto* copy = Add<CText>(paper, 0, 0, 1, 1);
  copy->ReadFrom(stream);
  EXPECT_EQ(copy->FontNumber, -1);
  EXPECT_EQ(gui.App().FontManager->Count(), 0);
}

TEST_F(ShapesTest, APictureComesBackFromItsFile) {
  platform::Surface image(3, 5);
  ASSERT_TRUE(platform::SaveBmp(platform::LinuxPath("C:\\tall.bmp"), image));
  auto* original = Add<CPic>(paper, 1, 1, 9, 9);
  original->SetFileName("C:\\tall.bmp");
  CMemory stream;
  original->WriteTo(stream);
  stream.SetPosition(0);
  auto* copy = Add<CPic>(paper, 0, 0, 1, 1);
  copy->ReadFrom(stream);
  EXPECT_EQ(copy->FileName, "C:\\tall.bmp");
  EXPECT_EQ(copy->Bitmap.Width, CFloat(3));
  EXPECT_EQ(copy->Bitmap.Height, CFloat(5));
}

}  // namespace
