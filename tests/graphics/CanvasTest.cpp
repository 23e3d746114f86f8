// The canvas drawn on and read back: the buffer's pixels against small pictures.
#include <string>

#include "core/Cp1251.h"
#include "graphics/Font.h"
#include "tests/graphics/GraphicsFixture.h"

namespace qxtest {
namespace {

constexpr Pixel kGrey = 0x808080;
constexpr Pixel kRed = 0xFF0000;
constexpr Pixel kGreen = 0x00FF00;
constexpr Pixel kBlue = 0x0000FF;

const std::map<Pixel, char> kColours = {{kInk, '#'}, {kPaper, '.'}, {kGrey, ' '},
                                        {kRed, 'R'}, {kGreen, 'G'}, {kBlue, 'B'}};

class CanvasTest : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    canvas_ = &MakeCanvas();
  }

  std::string At(int left, int top, int width, int height,
                 const std::map<Pixel, char>& legend = kColours) const {
    return Picture(canvas_->Buffer(), left, top, width, height, legend);
  }

  CGDI* canvas_ = nullptr;
};

TEST_F(CanvasTest, AZeroSizedFillColoursExactlyThePixelAtTheOrigin) {
  canvas_->SetOrigin(CPoint(10, 20));
  canvas_->FillRect(CRect(0, 0, 0, 0));
  EXPECT_EQ(At(8, 18, 5, 5), Rows({
                                 ".....",
                                 ".....",
                                 "..#..",
                                 ".....",
                                 ".....",
                             }));
}

TEST_F(CanvasTest, OutlinesIncludeTheirFarCorner) {
  canvas_->SetOrigin(CPoint(1, 1));
  canvas_->DrawRect(CRect(0, 0, 9, 9));
  EXPECT_EQ(At(0, 0, 12, 12), Rows({
                                  "............",
                                  ".##########.",
                                  ".#........#.",
                                  ".#........#.",
                                  ".#........#.",
                                  ".#........#.",
                                  ".#........#.",
                                  ".#........#.",
                                  ".#........#.",
                                  ".#........#.",
                                  ".##########.",
                                  "............",
                              }));
}

TEST_F(CanvasTest, LinesPaintBothEndPixels) {
  canvas_->SetOrigin(CPoint(1, 1));
  canvas_->DrawLine(CRect(0, 0, 5, 0));  // six pixels
  canvas_->DrawLine(CRect(3, 4, 0, 1));  // drawn backwards, diagonally
  canvas_->DrawLine(CRect(7, 2, 7, 2));  // a line of no length is its one pixel
  // Rows and columns either way round.
  canvas_->DrawLine(CRect(9, 5, 6, 5));
  canvas_->DrawLine(CRect(10, 0, 10, 3));
  canvas_->DrawLine(CRect(11, 4, 11, 2));
  EXPECT_EQ(At(0, 0, 14, 8), Rows({
                                 "..............",
                                 ".######....#..",
                                 ".#.........#..",
                                 "..#.....#..##.",
                                 "...#.......##.",
                                 "....#.......#.",
                                 ".......####...",
                                 "..............",
                             }));
}

// Corners at the ends of the integer range reach the buffer's edges and no further: the far
// corner's extra pixel must not wrap a figure round to the other side.
TEST_F(CanvasTest, CornersAtTheEndsOfTheIntegerRangeReachTheEdges) {
  const int width = canvas_->Buffer().width;
  const std::string ink(std::size_t(width - 3), '#');
  const std::string paper(3, '.');
  const CFloat far = 2147483647.0L, near = -2147483648.0L;
  canvas_->FillRect(CRect(3, 1, far, 1));
  canvas_->DrawLine(CRect(3, 3, far, 3));
  canvas_->DrawRect(CRect(3, 5, far, 6));
  EXPECT_EQ(At(0, 0, width, 8), Rows({
                                    std::string(std::size_t(width), '.'),
                                    paper + ink,
                                    std::string(std::size_t(width), '.'),
                                    paper + ink,
                                    std::string(std::size_t(width), '.'),
                                    paper + ink,
                                    paper + ink,
                                    std::string(std::size_t(width), '.'),
                                }));
  Clear(*canvas_);
  canvas_->FillRect(CRect(near, 1, 2, 1));
  canvas_->DrawLine(CRect(2, 3, near, 3));
  EXPECT_EQ(At(0, 0, 6, 5), Rows({"......", "###...", "......", "###...", "......"}));
  // Wholly outside: nothing drawn (the sanitizer build also checks the arithmetic).
  Clear(*canvas_);
  canvas_->DrawTriangle(CRect(10, 10, 20, 20), CPoint(far, far), CPoint(far, far - 5),
                        CPoint(far - 5, far));
  canvas_->DrawTextCentered(CRect(near, near, near, near), "x");
  CGDIBitmap bitmap;
  bitmap.SetSize(4, 4);
  canvas_->DrawBitmap(CRect(far, far, near, near), bitmap);
  canvas_->DrawBitmap(CRect(near, near, near + 3, near + 3), bitmap);
  EXPECT_EQ(At(0, 0, 6, 3), Rows({"......", "......", "......"}));

  canvas_->SetClipRegion(CRect(3, 1, far, far));
  canvas_->FillRect(CRect(0, 0, 5, 2));
  EXPECT_EQ(At(0, 0, 6, 4), Rows({"......", "...###", "...###", "......"}));
}

TEST_F(CanvasTest, FillsCoverExactlyThePixelsOfTheOutline) {
  struct Case {
    const char* what;
    CRect r;
  } cases[] = {
      {"rectangle", CRect(2, 3, 12, 8)},
      {"fractional corners round half up", CRect(2.5L, 2.49L, 11.5L, 7.5L)},
  };
  for (const Case& c : cases) {
    Clear(*canvas_);
    canvas_->DrawRect(c.r);
    const std::string outline = At(0, 0, 16, 12);
    Clear(*canvas_);
    canvas_->FillRect(c.r);
    const std::string fill = At(0, 0, 16, 12);
    // The fill is the outline with its inside filled: compare row by row, outline ink first
    // and last on each row.
    std::string filledOutline = outline;
    for (size_t row = 0; row < outline.size(); row = outline.find('\n', row) + 1) {
      const size_t end = outline.find('\n', row);
      const size_t first = outline.find('#', row);
      if (first == std::string::npos || first > end) continue;
      const size_t last = outline.rfind('#', end);
      for (size_t i = first; i <= last; ++i) filledOutline[i] = '#';
    }
    EXPECT_EQ(fill, filledOutline) << c.what;
  }

  // The same for ellipses: the fill reaches the outline's extremes and no further.
  Clear(*canvas_);
  canvas_->DrawEllipse(CRect(1, 1, 14, 9));
  const std::string outline = At(0, 0, 16, 12);
  Clear(*canvas_);
  canvas_->FillEllipse(CRect(1, 1, 14, 9));
  const std::string fill = At(0, 0, 16, 12);
  for (size_t i = 0; i < fill.size(); ++i)
    if (outline[i] == '#') {
      EXPECT_EQ(fill[i], '#') << "outline pixel " << i << " not filled";
    }
  EXPECT_EQ(fill.find('#'), outline.find('#'));
  EXPECT_EQ(fill.rfind('#'), outline.rfind('#'));
}

TEST_F(CanvasTest, DottedFrameAlternatesAndLeavesNoPatternBehind) {
  Clear(*canvas_, kGrey);
  canvas_->SetPenStyle(-1);
  canvas_->DrawRect(CRect(0, 0, 5, 3));
  EXPECT_EQ(canvas_->PatternBitmap, nullptr);
  EXPECT_EQ(At(0, 0, 7, 5), Rows({
                                "#.#.#. ",
                                ".    # ",
                                "#    . ",
                                ".#.#.# ",
                                "       ",
                            }));
  // The next fill is solid again.
  canvas_->SetColorRGB(1, 0, 0);
  canvas_->FillRect(CRect(2, 1, 3, 2));
  EXPECT_EQ(At(0, 0, 7, 5), Rows({
                                "#.#.#. ",
                                ". RR # ",
                                "# RR . ",
                                ".#.#.# ",
                                "       ",
                            }));
}

TEST_F(CanvasTest, ColourComponentsBecomeTheLowByteOfTheRoundedProduct) {
  struct Case {
    long double r, g, b;
    Pixel expected;
  } cases[] = {
      {1, 0.5L, 0, 0xFF8000},     // 127.5 rounds half up to 128
      {1.5L, 0, 0.5L, 0x7F0080},  // 382.5 -> 383, whose low byte is 127
      {0.2L, 0.4L, 0.6L, 0x336699},
      {-0.002L, 0, 0, 0xFF0000},  // -0.51 rounds to -1: low byte 255
  };
  for (const Case& c : cases) {
    canvas_->SetColor(CColor(c.r, c.g, c.b));
    canvas_->FillRect(CRect(0, 0, 0, 0));
    EXPECT_EQ(canvas_->Buffer().At(0, 0), c.expected) << double(c.r) << " " << double(c.g);
  }
}

TEST_F(CanvasTest, ClipRegionIsInDevicePixelsAndOutlivesResetClipRect) {
  canvas_->SetOrigin(CPoint(3, 3));  // the region ignores the origin
  canvas_->SetClipRect(CRect(2, 2, 5, 5));
  EXPECT_EQ(canvas_->PaintRect.M2.X.Value, 5);
  canvas_->FillRect(CRect(-3, -3, 6, 6));
  canvas_->ResetClipRect();
  EXPECT_EQ(canvas_->GetClipRect().M1.X.Value, 0);
  EXPECT_EQ(canvas_->GetClipRect().M2.X.Value, canvas_->GetWidth().Value);
  canvas_->SetColorRGB(0, 0, 1);
  canvas_->DrawLine(CRect(-3, 1, 6, 1));  // the region of the last SetClipRegion still holds
  EXPECT_EQ(At(0, 0, 8, 8), Rows({
                                "........",
                                "........",
                                "..####..",
                                "..####..",
                                "..BBBB..",
                                "..####..",
                                "........",
                                "........",
                            }));
}

TEST_F(CanvasTest, ClipRelativeModeMeasuresFromTheClipRectangle) {
  canvas_->SetOrigin(CPoint(100, 100));
  canvas_->SetClipRect(CRect(4, 4, 9, 9));
  canvas_->ClipRelative = true;
  canvas_->FillRect(CRect(0, 0, 1, 1));
  canvas_->DrawLine(CRect(3, 0, 3, 8));  // reaches below the clip: cut there
  canvas_->ClipRelative = false;
  canvas_->FillRect(CRect(-92, -96, -92, -96));  // from the origin again: pixel (8, 4)
  EXPECT_EQ(At(0, 0, 11, 11), Rows({
                                  "...........",
                                  "...........",
                                  "...........",
                                  "...........",
                                  "....##.##..",
                                  "....##.#...",
                                  ".......#...",
                                  ".......#...",
                                  ".......#...",
                                  ".......#...",
                                  "...........",
                              }));
}

std::string Runs(std::initializer_list<int> runs, int length) {
  std::string period;
  bool on = true;
  for (int run : runs) {
    period += std::string(run, on ? '#' : '.');
    on = !on;
  }
  std::string line;
  while (int(line.size()) < length) line += period;
  return line.substr(0, length);
}

TEST_F(CanvasTest, EachPenStyleDrawsItsPattern) {
  // A line's last pixel is painted by a second, one-pixel line, so it is always on.
  const auto line = [](std::string body) { return body.substr(0, 47) + "#"; };
  struct Case {
    int style;
    std::string expected;
  } cases[] = {
      {0, std::string(48, '#')},
      {1, line(Runs({18, 6}, 48))},
      {2, line(Runs({3, 3}, 48))},
      {3, line(Runs({9, 6, 3, 6}, 48))},
      {4, line(Runs({9, 3, 3, 3, 3, 3}, 48))},
      {5, std::string(48, '.')},
      {6, std::string(48, '#')},
      {65535, std::string(48, '#')},  // the pen controls' default: solid
      {-1, std::string(48, '#')},     // dotted frames are for rectangles only
  };
  int y = 0;
  for (const Case& c : cases) {
    canvas_->SetPenStyle(c.style);
    canvas_->DrawLine(CRect(0, y, 47, y));
    EXPECT_EQ(At(0, y, 48, 1), c.expected + "\n") << "style " << c.style;
    y += 2;
  }

  // A wider pen draws a wider line, centred on it.
  canvas_->SetPenStyle(0);
  canvas_->SetPenWidth(3);
  canvas_->DrawLine(CRect(2, 30, 12, 30));
  EXPECT_EQ(At(7, 27, 1, 7), Rows({".", ".", "#", "#", "#", ".", "."}));
}

TEST_F(CanvasTest, EachBrushStyleFillsWithItsHatch) {
  struct Case {
    int style;
    std::vector<std::string> expected;
  } cases[] = {
      {1,  // horizontal
       {
           "........",
           "........",
           "........",
           "########",
           "........",
           "........",
           "........",
           "........",
       }},
      {2,  // vertical
       {
           "....#...",
           "....#...",
           "....#...",
           "....#...",
           "....#...",
           "....#...",
           "....#...",
           "....#...",
       }},
      {3,  // top-left to bottom-right
       {
           "#.......",
           ".#......",
           "..#.....",
           "...#....",
           "....#...",
           ".....#..",
           "......#.",
           ".......#",
       }},
      {4,  // bottom-left to top-right
       {
           ".......#",
           "......#.",
           ".....#..",
           "....#...",
           "...#....",
           "..#.....",
           ".#......",
           "#.......",
       }},
      {5,  // cross
       {
           "....#...",
           "....#...",
           "....#...",
           "########",
           "....#...",
           "....#...",
           "....#...",
           "....#...",
       }},
      {6,  // diagonal cross
       {
           "#......#",
           ".#....#.",
           "..#..#..",
           "...##...",
           "...##...",
           "..#..#..",
           ".#....#.",
           "#......#",
       }},
      {7, std::vector<std::string>(8, "########")},  // no such hatch: solid
  };
  for (const Case& c : cases) {
    Clear(*canvas_);
    canvas_->SetBrushStyle(c.style);
    canvas_->FillRect(CRect(0, 0, 7, 7));
    EXPECT_EQ(At(0, 0, 8, 8), Rows(c.expected)) << "brush style " << c.style;
    // Anchored to the device: the same rows appear shifted with the figure.
    Clear(*canvas_);
    canvas_->SetOrigin(CPoint(8, 16));
    canvas_->FillRect(CRect(0, 0, 7, 7));
    EXPECT_EQ(At(8, 16, 8, 8), Rows(c.expected)) << "brush style " << c.style;
    canvas_->SetOrigin(CPoint(0, 0));
  }
}

TEST_F(CanvasTest, TrianglesAreOutlinedFromTheRectanglesCornerAndNeverFilled) {
  canvas_->DrawTriangle(CRect(10, 10, 20, 20), CPoint(0, 0), CPoint(4.9L, 0), CPoint(0, 4.9L));
  const std::string before = At(9, 9, 8, 8);
  EXPECT_EQ(before, Rows({
                        "........",
                        ".#####..",
                        ".#..#...",
                        ".#.#....",
                        ".##.....",
                        ".#......",
                        "........",
                        "........",
                    }));
  canvas_->FillTriangle(CRect(0, 0, 30, 30), CPoint(0, 0), CPoint(30, 0), CPoint(0, 30));
  EXPECT_EQ(At(9, 9, 8, 8), before);
  EXPECT_EQ(At(0, 0, 4, 4), Rows({"....", "....", "....", "...."}));
}

TEST_F(CanvasTest, BitmapsAreCopiedUnscaledAndCentredByTheirNearCorner) {
  CGDIBitmap bitmap;
  const std::uint32_t bits[] = {kRed, kGreen, kBlue, kInk, kInk, kBlue, kGreen, kRed};
  bitmap.Create(4, 2, bits);

  canvas_->DrawBitmapCentered(CRect(0, 0, 9, 5), bitmap);  // moved by (3, 2)
  EXPECT_EQ(At(0, 0, 10, 6), Rows({
                                 "..........",
                                 "..........",
                                 "...RGB#...",
                                 "...#BGR...",
                                 "..........",
                                 "..........",
                             }));

  // A rectangle smaller than the picture shows only what fits.
  Clear(*canvas_);
  canvas_->DrawBitmap(CRect(1, 1, 2, 1), bitmap);
  EXPECT_EQ(At(0, 0, 6, 3), Rows({"......", ".RG...", "......"}));

  // A picture larger than the rectangle starts left of it: (1 - 4) / 2 rounds to -1.
  Clear(*canvas_);
  canvas_->SetOrigin(CPoint(5, 5));
  canvas_->DrawBitmapCentered(CRect(0, 0, 1, 0), bitmap);
  EXPECT_EQ(At(3, 4, 6, 3), Rows({"......", ".RGB..", "......"}));
}

TEST_F(CanvasTest, CopyToBitmapReadsTheWindowNotTheBuffer) {
  canvas_->Flip();  // the window shows the white buffer
  canvas_->SetColorRGB(1, 0, 0);
  canvas_->FillRect(CRect(0, 0, 3, 1));
  CGDIBitmap copy;
  canvas_->CopyToBitmap(CRect(0, 0, 3, 1), copy);
  ASSERT_EQ(copy.Picture().width, 4);
  ASSERT_EQ(copy.Picture().height, 2);
  EXPECT_EQ(Picture(copy.Picture(), 0, 0, 4, 2, kColours), Rows({"....", "...."}));

  canvas_->Flip();
  canvas_->CopyToBitmap(CRect(1, 0, 3, 1), copy);
  EXPECT_EQ(copy.Width.Value, 3);
  EXPECT_EQ(Picture(copy.Picture(), 0, 0, 3, 2, kColours), Rows({"RRR", "RRR"}));

  // Drawing on the window itself leaves the buffer alone.
  canvas_->SelectTarget(false);
  canvas_->SetColorRGB(0, 0, 1);
  canvas_->FillRect(CRect(0, 0, 0, 0));
  EXPECT_EQ(canvas_->TargetSurface()->At(0, 0), kBlue);
  canvas_->SelectTarget(true);
  EXPECT_EQ(canvas_->Buffer().At(0, 0), kRed);
  canvas_->CopyToBitmap(CRect(0, 0, 1, 0), copy);
  EXPECT_EQ(Picture(copy.Picture(), 0, 0, 2, 1, kColours), Rows({"BR"}));
}

// A clip belongs to the context it was set on, however soon the target changes after it: the
// window keeps its own through a flip of the buffer, and the buffer its own while the window (a
// context made afresh, without one) is drawn on.
TEST_F(CanvasTest, AClipStaysWithTheTargetItWasSetOn) {
  canvas_->Flip();  // the window shows the white buffer
  canvas_->SelectTarget(false);
  canvas_->SetClipRegion(CRect(1, 0, 2, 0));
  canvas_->SelectTarget(true);
  canvas_->SetColorRGB(1, 0, 0);
  canvas_->FillRect(CRect(0, 0, 3, 1));
  EXPECT_EQ(At(0, 0, 5, 3), Rows({"RRRR.", "RRRR.", "....."}));
  canvas_->Flip();
  CGDIBitmap copy;
  canvas_->CopyToBitmap(CRect(0, 0, 3, 1), copy);
  EXPECT_EQ(Picture(copy.Picture(), 0, 0, 4, 2, kColours), Rows({".RR.", "...."}));

  canvas_->SetClipRegion(CRect(0, 1, 0, 1));
  canvas_->SelectTarget(false);
  canvas_->SetColorRGB(0, 1, 0);
  canvas_->FillRect(CRect(0, 0, 0, 0));
  canvas_->SelectTarget(true);
  canvas_->SetColorRGB(0, 0, 1);
  canvas_->FillRect(CRect(0, 0, 3, 1));
  EXPECT_EQ(At(0, 0, 5, 3), Rows({"RRRR.", "BRRR.", "....."}));
  canvas_->CopyToBitmap(CRect(0, 0, 3, 1), copy);
  EXPECT_EQ(Picture(copy.Picture(), 0, 0, 4, 2, kColours), Rows({"GRR.", "...."}));
}

TEST_F(CanvasTest, GridDotsRepeatFromTheRectanglesCorner) {
  canvas_->PrepareGrid(3, 3);
  EXPECT_TRUE(canvas_->GetColor() == CColor(1, 1, 1));
  Clear(*canvas_, kGrey);
  canvas_->SetOrigin(CPoint(5, 5));
  canvas_->DrawGrid(CRect(0, 0, 7, 4));
  EXPECT_EQ(At(4, 4, 10, 7), Rows({
                                 "          ",
                                 " #..#..#. ",
                                 " ........ ",
                                 " ........ ",
                                 " #..#..#. ",
                                 " ........ ",
                                 "          ",
                             }));
  // A step below one pixel gives the finest grid instead of never ending.
  canvas_->PrepareGrid(0, 0.2L);
  Clear(*canvas_);
  canvas_->DrawGrid(CRect(0, 0, 1, 1));
  EXPECT_EQ(At(5, 5, 3, 3), Rows({"##.", "##.", "..."}));
}

// Fonts: a default sans face is installed wherever the tests run.
class CanvasTextTest : public CanvasTest {
 protected:
  CInt Make(int height, const char* objectName) {
    auto* font = new CFont;
    font->Set(0, height, false, false, false, false, false, "MS Sans Serif", objectName);
    return canvas_->CreateFont(font);
  }
};

TEST_F(CanvasTextTest, AnUnknownFontNumberKeepsThePreviousFont) {
  ASSERT_EQ(Make(12, "Small").Value, 0);
  ASSERT_EQ(Make(24, "Large").Value, 1);
  canvas_->SelectFont(0);
  EXPECT_EQ(canvas_->GetTextExtent("Ab").Height.Value, 12);
  canvas_->SelectFontByName("Large");
  EXPECT_EQ(canvas_->GetFontId().Value, 1);
  EXPECT_EQ(canvas_->GetFontName(), "Large");
  EXPECT_EQ(canvas_->GetTextExtent("Ab").Height.Value, 24);

  canvas_->SelectFont(99);
  EXPECT_EQ(canvas_->GetFontId().Value, 99);
  EXPECT_EQ(canvas_->GetFont(), nullptr);
  EXPECT_EQ(canvas_->GetFontName(), "");
  EXPECT_EQ(canvas_->GetTextExtent("Ab").Height.Value, 24);
  canvas_->SelectFontByName("Nothing");
  EXPECT_EQ(canvas_->GetFontId().Value, -1);
  EXPECT_EQ(canvas_->GetTextExtent("Ab").Height.Value, 24);
}

TEST_F(CanvasTextTest, CreateAndRecreateMakeThePlatformFontFromTheRecord) {
  auto* bold = new CFont;
  bold->Set(0, 16, true, true, true, false, false, "MS Sans Serif", "Bold");
  EXPECT_EQ(canvas_->CreateFont(bold).Value, 0);
  EXPECT_EQ(bold->ID.Value, 0);
  ASSERT_NE(bold->Handle, nullptr);
  EXPECT_EQ(bold->Handle->Request().weight, 700);
  EXPECT_TRUE(bold->Handle->Request().italic);
  EXPECT_TRUE(bold->Handle->Request().underline);
  EXPECT_EQ(bold->Handle->Request().height, 16);
  EXPECT_EQ(bold->Handle->Request().face, "MS Sans Serif");
  EXPECT_EQ(app_->FontManager->Find(0), bold);

  CFont plain;
  plain.Set(0, 30, false, false, false, true, false, "MS Sans Serif", "");
  canvas_->RecreateFont(0, plain);
  EXPECT_EQ(bold->Handle->Request().weight, 400);
  EXPECT_TRUE(bold->Handle->Request().strikeOut);
  EXPECT_EQ(canvas_->GetTextExtent("x").Height.Value, 30);
  EXPECT_EQ(bold->Height.Value, 16);  // only the platform font is remade
  canvas_->RecreateFont(5, plain);    // no such font: nothing happens
  EXPECT_EQ(app_->FontManager->Count().Value, 1);
}

TEST_F(CanvasTextTest, TextIsDrawnInTheCanvasColourAtItsTopLeft) {
  Make(16, "Text");
  canvas_->SetColorRGB(0, 0, 1);
  canvas_->SetOrigin(CPoint(20, 10));
  const CStr text = "Текст"_cp;
  const CSize size = canvas_->GetTextExtent(text);
  ASSERT_GT(size.Width.Value, 20);
  canvas_->DrawText(CPoint(0, 0), text);
  const std::string cell =
      At(20, 10, int(size.Width.Value), int(size.Height.Value), {{kPaper, '.'}, {kBlue, '#'}});
  EXPECT_NE(cell.find('#'), std::string::npos);
  // Nothing left of or above the cell: the buffer's text background is transparent.
  EXPECT_EQ(At(0, 0, 20, 40), Rows(std::vector<std::string>(40, std::string(20, '.'))));
}

TEST_F(CanvasTextTest, CentredTextStartsHalfTheSpareRoomIn) {
  Make(16, "Text");
  const CStr text = "Ab";
  const CSize size = canvas_->GetTextExtent(text);
  // Drawn centred in one place and plainly where the centre puts it in another: the same ink.
  const CRect box(10, 10, 109, 49);
  canvas_->DrawTextCentered(box, text);
  const int dx = ((CFloat(99) - size.Width) / CFloat(2)).Round().Value;
  const int dy = ((CFloat(39) - size.Height) / CFloat(2)).Round().Value;
  canvas_->SetOrigin(CPoint(0, 100));
  canvas_->DrawText(CPoint(10 + dx, 10 + dy), text);
  EXPECT_GT(dx, 0);
  EXPECT_EQ(At(0, 0, 120, 60), At(0, 100, 120, 60));
  EXPECT_NE(At(0, 0, 120, 60).find('#'), std::string::npos);

  // Wider than its rectangle: it starts left of it.
  Clear(*canvas_);
  canvas_->SetOrigin(CPoint(0, 0));
  canvas_->ClipRelative = false;
  canvas_->DrawTextCentered(CRect(60, 10, 61, 30), "WWWWWWWW");
  int leftmost = 120;
  for (int y = 10; y < 30; ++y)
    for (int x = 0; x < 120; ++x)
      if (canvas_->Buffer().At(x, y) != kPaper) leftmost = std::min(leftmost, x);
  EXPECT_LT(leftmost, 60);
}

}  // namespace
}  // namespace qxtest
