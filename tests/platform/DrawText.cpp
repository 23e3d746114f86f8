// Fonts and text: face matching, the height rule, the cache, drawing within the extent in the
// text colour, transparent and opaque backgrounds, Cyrillic, styles, the family list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/Text.h"
#include "platform/draw/DrawContext.h"
#include "platform/draw/Font.h"
#include "tests/platform/DrawPictures.h"

namespace {

using namespace platform;
using namespace qxtest;

LogicalFont Face(const char* face, int height = 13) {
  LogicalFont f;
  f.height = height;
  f.face = face;
  return f;
}

const Font& Open(const LogicalFont& request) {
  const Font* font = OpenFont(request);
  if (!font) throw std::runtime_error("no font for " + request.face);
  return *font;
}

TEST(DrawFonts, EveryRequestedFaceFindsAnInstalledOne) {
  const auto sans = MatchFace(Face("MS Sans Serif"));
  ASSERT_TRUE(sans);
  EXPECT_FALSE(sans->family.empty());
  EXPECT_FALSE(sans->monospace);
  for (const char* face : {"Arial", "Courier New", "No Such Face Anywhere", ""}) {
    SCOPED_TRACE(face);
    const auto match = MatchFace(Face(face));
    ASSERT_TRUE(match);
    EXPECT_FALSE(match->file.empty());
  }
  // An unknown name falls back to the same default face as "MS Sans Serif".
  EXPECT_EQ(MatchFace(Face("No Such Face Anywhere"))->file, sans->file);
  EXPECT_TRUE(MatchFace(Face("Courier New"))->monospace);
  LogicalFont fixed = Face("Arial");
  fixed.fixedPitch = true;
  EXPECT_TRUE(MatchFace(fixed)->monospace);
  LogicalFont bold = Face("MS Sans Serif");
  bold.weight = 700;
  EXPECT_TRUE(MatchFace(bold)->bold);
}

TEST(DrawFonts, CellHeightIsTheRequestedHeight) {
  for (const char* face : {"MS Sans Serif", "Courier New"}) {
    for (int height : {8, 11, 13, 16, 20, 27, 40, 64}) {
      SCOPED_TRACE(testing::Message() << face << " " << height);
      const Font& font = Open(Face(face, height));
      EXPECT_EQ(font.Height(), height);
      EXPECT_EQ(font.Extent("Hg").height, height);
      EXPECT_GT(font.Ascent(), height / 2);
      EXPECT_LT(font.Ascent(), height);
    }
  }
  // A negative height asks for the character height, so the cell comes out taller.
  EXPECT_GT(Open(Face("MS Sans Serif", -20)).Height(), 20);
  // No height: the default cell.
  EXPECT_EQ(Open(Face("MS Sans Serif", 0)).Height(), 16);
}

TEST(DrawFonts, OpenedFontsAreCachedByRecord) {
  const Font* a = OpenFont(Face("MS Sans Serif", 13));
  EXPECT_EQ(OpenFont(Face("MS Sans Serif", 13)), a);
  LogicalFont underlined = Face("MS Sans Serif", 13);
  underlined.underline = true;
  EXPECT_NE(OpenFont(underlined), a);
  EXPECT_EQ(a->Request(), Face("MS Sans Serif", 13));
}

TEST(DrawFonts, ExtentGrowsWithTheTextAndWidthNarrowsOrWidensIt) {
  const Font& font = Open(Face("MS Sans Serif"));
  EXPECT_EQ(font.Extent(""), (Size{0, 13}));
  EXPECT_GT(font.Extent("ab").width, font.Extent("a").width);
  EXPECT_GT(font.Extent("MMMM").width, font.Extent("iiii").width);

  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  for (int width : {4, 7, 12}) {
    SCOPED_TRACE(width);
    LogicalFont request = Face("MS Sans Serif");
    request.width = width;
    const Font& scaled = Open(request);
    EXPECT_EQ(scaled.Height(), 13);
    EXPECT_NEAR(scaled.Extent(letters).width / 26.0, width, 0.75);
  }
}

// Draws text on a surface of one colour and answers the rectangle of changed pixels.
Rect Changed(const Surface& s, Pixel background) {
  Rect r{s.width, s.height, 0, 0};
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x)
      if (s.At(x, y) != background)
        r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
             std::max(r.bottom, y + 1)};
  return r;
}

TEST(DrawText, GlyphsAreDrawnInTheTextColourWithinTheExtent) {
  Surface s(120, 40, kPaper);
  DrawContext dc(&s);
  dc.SelectFont(&Open(Face("MS Sans Serif", 16)));
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor(kBlue);
  dc.TextOut(7, 5, "Hello, World");
  const Size extent = dc.TextExtent("Hello, World");
  const Rect changed = Changed(s, kPaper);
  ASSERT_FALSE(changed.Empty());
  EXPECT_GE(changed.left, 7);
  EXPECT_GE(changed.top, 5);
  EXPECT_LE(changed.right, 7 + extent.width);
  EXPECT_LE(changed.bottom, 5 + extent.height);
  // The ink spans most of the extent. The glyphs' solid parts are exactly the text colour and
  // their edges blends of blue over white: red and green equal, blue full.
  EXPECT_GT(changed.Width(), extent.width * 3 / 4);
  int solid = 0;
  for (const Pixel p : s.pixels) {
    solid += p == kBlue;
    if (p == kPaper) continue;
    EXPECT_EQ(p & 0xFF, 0xFFu) << std::hex << p;
    EXPECT_EQ((p >> 16) & 0xFF, (p >> 8) & 0xFF) << std::hex << p;
  }
  EXPECT_GT(solid, 20);
}

TEST(DrawText, OpaqueBackgroundFillsTheCellAndTransparentLeavesIt) {
  const Font& font = Open(Face("MS Sans Serif"));
  const Size extent = font.Extent("Wide text");
  for (const BackgroundMode mode : {BackgroundMode::Opaque, BackgroundMode::Transparent}) {
    SCOPED_TRACE(mode == BackgroundMode::Opaque ? "opaque" : "transparent");
    Surface s(100, 30, kGreen);
    DrawContext dc(&s);
    dc.SelectFont(&font);
    dc.SetBackgroundMode(mode);
    dc.SetBackgroundColor(kRed);
    dc.SetTextColor(kInk);
    dc.TextOut(4, 6, "Wide text");
    int green = 0, red = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 100; ++x) {
        const bool inCell = x >= 4 && x < 4 + extent.width && y >= 6 && y < 6 + extent.height;
        if (!inCell) EXPECT_EQ(s.At(x, y), kGreen) << x << "," << y;
        else green += s.At(x, y) == kGreen, red += s.At(x, y) == kRed;
      }
    if (mode == BackgroundMode::Opaque) {
      EXPECT_EQ(green, 0);
      EXPECT_GT(red, extent.width * extent.height / 2);
    } else {
      EXPECT_EQ(red, 0);
      EXPECT_GT(green, extent.width * extent.height / 2);
    }
  }
}

TEST(DrawText, CyrillicTextDrawsRealGlyphs) {
  const std::string word = Utf8ToCp1251("Привет, Жук! Ёж съел щи.");
  ASSERT_EQ(word.size(), 24u);  // one byte a letter
  for (const char* face : {"MS Sans Serif", "Courier New", "Arial"}) {
    SCOPED_TRACE(face);
    const Font& font = Open(Face(face, 16));
    EXPECT_TRUE(font.HasGlyphs(word));
    // Different letters give different pictures, as missing-glyph boxes would not.
    const TextMask zhe = font.Render(Utf8ToCp1251("Ж"));
    const TextMask sha = font.Render(Utf8ToCp1251("Ш"));
    const TextMask yu = font.Render(Utf8ToCp1251("ю"));
    EXPECT_NE(zhe.coverage, sha.coverage);
    EXPECT_NE(sha.coverage, yu.coverage);
    const auto inked = [](std::uint8_t c) { return c > 128; };
    EXPECT_GT(std::count_if(zhe.coverage.begin(), zhe.coverage.end(), inked), 5);
  }
}

TEST(DrawText, FacesWithoutCyrillicAreFoundOut) {
  // Symbol faces have no Cyrillic; which of them are installed depends on the machine.
  for (const char* face : {"D050000L", "Standard Symbols PS", "DejaVu Math TeX Gyre"}) {
    const auto match = MatchFace(Face(face));
    if (!match || match->family != face) continue;
    EXPECT_FALSE(Open(Face(face, 16)).HasGlyphs(Utf8ToCp1251("Ж"))) << face;
    return;
  }
  GTEST_SKIP() << "no face without Cyrillic is installed";
}

TEST(DrawText, StylesChangeThePicture) {
  const Font& plain = Open(Face("MS Sans Serif", 16));
  auto styled = [](auto set) {
    LogicalFont f = Face("MS Sans Serif", 16);
    set(f);
    return &Open(f);
  };
  const Font* bold = styled([](LogicalFont& f) { f.weight = 700; });
  const Font* italic = styled([](LogicalFont& f) { f.italic = true; });
  const Font* underline = styled([](LogicalFont& f) { f.underline = true; });
  const Font* strike = styled([](LogicalFont& f) { f.strikeOut = true; });
  for (const Font* f : {bold, italic, underline, strike}) {
    EXPECT_EQ(f->Height(), 16);
    EXPECT_NE(f->Render("text").coverage, plain.Render("text").coverage);
  }
  EXPECT_GT(bold->Extent("text").width, plain.Extent("text").width);

  // Underline and strike-out add a line right across the text: a row that is inked over all
  // of the text's width where the plain text has gaps.
  auto fullRows = [](const TextMask& m) {
    std::vector<int> rows;
    for (int y = 0; y < m.height; ++y) {
      int inked = 0;
      for (int x = 0; x < m.width; ++x) inked += m.coverage[size_t(y) * m.width + x] > 100;
      if (inked >= m.width - 2) rows.push_back(y);
    }
    return rows;
  };
  EXPECT_TRUE(fullRows(plain.Render("u u")).empty());
  const auto under = fullRows(underline->Render("u u"));
  const auto through = fullRows(strike->Render("u u"));
  ASSERT_FALSE(under.empty());
  ASSERT_FALSE(through.empty());
  EXPECT_GT(under.front(), plain.Ascent() - 2);   // at or below the baseline
  EXPECT_LT(through.front(), plain.Ascent());     // above it
}

TEST(DrawText, NulAndEmptyTextAreHarmless) {
  Surface s(60, 20, kPaper);
  DrawContext dc(&s);
  dc.SelectFont(&Open(Face("MS Sans Serif")));
  dc.TextOut(0, 0, "");
  EXPECT_EQ(Changed(s, kPaper), (Rect{60, 20, 0, 0}));
  const std::string withNul("a\0b", 3);
  EXPECT_GT(dc.TextExtent(withNul).width, dc.TextExtent("ab").width);
  dc.TextOut(0, 0, withNul);
  EXPECT_FALSE(Changed(s, kPaper).Empty());
}

// The underscore of most faces lies below the face's descent line: it must still be drawn, whole,
// within the text's cell, in every face and size the environment writes with.
TEST(DrawText, UnderscoresAreDrawnWithinTheCell) {
  LogicalFont bold = Face("MS Sans Serif"), italic = Face("MS Sans Serif");
  bold.weight = 700;
  italic.italic = true;
  std::vector<LogicalFont> fonts = {Face("MS Sans Serif"), bold, italic, Face("Courier New"),
                                    Face("", 16), {16, 0, 700, false, false, false, false, "System"}};
  for (int height : {8, 10, 11, 12, 14, 15, 17, 20, 24, 31, 40})
    for (const char* face : {"MS Sans Serif", "Courier New"}) fonts.push_back(Face(face, height));
  for (const LogicalFont& request : fonts) {
    SCOPED_TRACE(request.face + " " + std::to_string(request.height) +
                 (request.weight > 400 ? " bold" : "") + (request.italic ? " italic" : ""));
    const Font& font = Open(request);
    const Size extent = font.Extent("a_b");
    ASSERT_GT(extent.width, 0);
    // Exactly the cell: whatever is drawn outside it is lost.
    Surface underscore(extent.width, extent.height, kPaper), spaced(extent.width, extent.height, kPaper);
    DrawContext a(&underscore), b(&spaced);
    a.SelectFont(&font);
    b.SelectFont(&font);
    a.TextOut(0, 0, "a_b");
    b.TextOut(0, 0, "a b");
    const int middle = font.Extent("a").width + font.Extent("_").width / 2;
    int ink = 0, bottom = 0;
    for (int y = 0; y < extent.height; ++y)
      if (underscore.At(middle, y) != kPaper) ++ink, bottom = y;
    EXPECT_GT(ink, 0) << "no ink of the underscore in the cell";
    EXPECT_GE(bottom, font.Ascent()) << "the underscore stands below the baseline";
    // The letter before it keeps its pixels.
    for (int y = 0; y < extent.height; ++y)
      for (int x = 0; x < font.Extent("a").width - 1; ++x)
        ASSERT_EQ(underscore.At(x, y), spaced.At(x, y)) << x << "," << y;
  }
}

// A description holds "\r\n" where its lines end; shown on one line, the break is blank space.
TEST(DrawText, ControlBytesDrawAsSpaces) {
  Surface broken(80, 20, kPaper), spaced(80, 20, kPaper);
  DrawContext a(&broken), b(&spaced);
  a.SelectFont(&Open(Face("MS Sans Serif")));
  b.SelectFont(&Open(Face("MS Sans Serif")));
  a.TextOut(0, 0, "\r\n\t\x7F");
  EXPECT_TRUE(Changed(broken, kPaper).Empty()) << "no box is drawn for a control byte";
  a.TextOut(0, 0, "a\r\n\x7F" "b");
  b.TextOut(0, 0, "a   b");
  EXPECT_EQ(a.TextExtent("a\r\n\x7F" "b").width, b.TextExtent("a   b").width);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x) ASSERT_EQ(broken.At(x, y), spaced.At(x, y)) << x << "," << y;
}

// The address sanitizer holds freed memory back, so resident sizes mean nothing under it.
constexpr bool kAddressSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#else
    false;
#endif

// Resident memory in bytes, now.
long ResidentBytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * sysconf(_SC_PAGESIZE);
}

// A long line in a large font is over half a million pixels wide: it is drawn where it shows,
// its start and its end alike, without holding a picture of all of it.
TEST(DrawText, ALongLineInALargeFontDrawsWithoutAPictureOfAllOfIt) {
  const Font& font = Open(Face("MS Sans Serif", 128));
  const std::string line = std::string(4000, 'W') + "i";
  const int width = font.Extent(line).width;
  ASSERT_GT(width, 400000);
  const long before = ResidentBytes();
  Surface s(100, 130, kPaper);
  DrawContext dc(&s);
  dc.SelectFont(&font);
  dc.SetTextColor(kInk);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.TextOut(10, 0, line);
  Rect changed = Changed(s, kPaper);
  EXPECT_GE(changed.left, 10);
  EXPECT_LT(changed.left, 20);
  EXPECT_EQ(changed.right, 100);

  // Scrolled to its end: the narrow last letter is all that shows after a few columns of W.
  s = Surface(100, 130, kPaper);
  const int iWidth = font.Extent("i").width;
  dc.TextOut(60 - width, 0, line);
  changed = Changed(s, kPaper);
  ASSERT_FALSE(changed.Empty());
  EXPECT_LE(changed.right, 60);
  EXPECT_GE(changed.right, 60 - iWidth);
  // The sanitizer holds freed memory back, so the resident size says nothing there.
  if (!kAddressSanitizer) {
    EXPECT_LT(ResidentBytes() - before, 32l << 20) << "the whole line's picture is 55 MB";
  }
}

int OpenDescriptors() {
  int n = 0;
  for (int fd = 0; fd < 4096; ++fd) n += fcntl(fd, F_GETFD) != -1;
  return n;
}

// Every record opened stays for the life of the process; a program that tries many sizes must
// not run out of file descriptors, for its fonts or for its files.
TEST(DrawFonts, ManyOpenedFontsHoldNoFileOpen) {
  ASSERT_TRUE(OpenFont(Face("MS Sans Serif", 300)));  // the face's file is read once
  const int before = OpenDescriptors();
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit tight = saved;
  tight.rlim_cur = rlim_t(before + 32);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
  int missing = 0;
  for (int height = 301; height <= 500; ++height) missing += OpenFont(Face("MS Sans Serif", height)) == nullptr;
  const int after = OpenDescriptors();
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(missing, 0);
  EXPECT_LE(after - before, 2);
}

// The cache of rendered texts stays bounded however the texts look: here each is 100 KB of soft
// hyphens (no width, so no pixels) after two letters, 40 MB of distinct texts in all.
TEST(DrawText, RenderedTextsOfNoWidthStillCountAgainstTheCache) {
  if (kAddressSanitizer) GTEST_SKIP() << "resident size is not measurable here";
  const Font& font = Open(Face("MS Sans Serif", 12));
  ASSERT_EQ(font.Extent("\xAD").width, 0);
  const std::string hyphens(100000, '\xAD');
  const long before = ResidentBytes();
  for (int i = 0; i < 400; ++i) {
    const std::string text = std::string{char('a' + i % 26), char('a' + i / 26)} + hyphens;
    EXPECT_GT(font.Render(text).width, 0);
  }
  EXPECT_LT(ResidentBytes() - before, 24l << 20);
}

TEST(DrawText, WithoutASelectedFontTheSystemFontIsUsed) {
  Surface s(80, 30, kPaper);
  DrawContext dc(&s);
  EXPECT_EQ(dc.TextExtent("System").height, 16);
  dc.TextOut(2, 2, "System");
  EXPECT_FALSE(Changed(s, kPaper).Empty());
}

TEST(DrawFonts, FamiliesComeOnceEachInCp1251) {
  const std::vector<std::string> families = FontFamilies();
  ASSERT_FALSE(families.empty());
  EXPECT_EQ(std::set<std::string>(families.begin(), families.end()).size(), families.size());
  EXPECT_NE(std::find(families.begin(), families.end(), "DejaVu Sans"), families.end());
  for (const std::string& name : families) EXPECT_FALSE(name.empty());
}

}  // namespace
