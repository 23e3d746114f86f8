// Fonts: a logical font record is matched to an installed face with fontconfig and opened with
// SDL2_ttf at the size whose cell height (ascent + descent) is the requested height. Opened
// fonts are cached by record for the life of the process; text is measured and drawn from
// cp1251 bytes.
#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/Geometry.h"

namespace platform {

struct LogicalFont {
  int height = 0;    // > 0: cell height in pixels; < 0: character (em) height; 0: 16-pixel cell
  int width = 0;     // > 0: average character width in pixels; 0: the face's own proportions
  int weight = 400;  // 400 normal, 700 bold; 600 and above is bold
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool fixedPitch = false;  // only monospace faces will do
  std::string face;         // cp1251, e.g. "MS Sans Serif"; empty: the default face

  friend auto operator<=>(const LogicalFont&, const LogicalFont&) = default;
};

// The installed face chosen for a record.
struct FaceMatch {
  std::string file;    // UTF-8 path of the font file
  int index = 0;       // face within the file
  std::string family;  // cp1251
  bool bold = false;
  bool italic = false;
  bool monospace = false;

  friend bool operator==(const FaceMatch&, const FaceMatch&) = default;
};

// What fontconfig offers for the record, best first, cut to faces SDL2_ttf can open (TrueType
// and OpenType); an unknown family gets the default sans face, as "MS Sans Serif" does. Empty
// when nothing is installed.
std::optional<FaceMatch> MatchFace(const LogicalFont& request);

// Begins fontconfig's start and the list of families on a thread of their own; whatever needs
// either later waits for it. Without this call the first user does the work itself. Where what
// fontconfig answered at an earlier start of the program still holds (platform/draw/FontFacts),
// the families and the faces asked for then are taken from there, and fontconfig starts only
// for a record not asked for then.
void StartFonts();

// The families fontconfig lists, in its order, each name once, in cp1251 (names that cp1251
// cannot spell are left out).
std::vector<std::string> FontFamilies();

// A rendered text: one coverage byte (0 none .. 255 full) a pixel, rows from the top, exactly
// as large as the text's extent.
struct TextMask {
  // Pixels [left, right) of a row that hold all its coverage (with short bare gaps inside):
  // drawing visits only these, since much of a text's cell is bare.
  struct Run {
    int row;
    int left;
    int right;
  };

  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;
  std::vector<Run> runs;  // by row, then left to right
};

class Font {
 public:
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const LogicalFont& Request() const;
  const FaceMatch& Face() const;
  int Height() const;  // the cell height: every text's extent has this height
  int Ascent() const;  // from the cell's top to the baseline

  // The width of the cp1251 text and the cell height.
  Size Extent(std::string_view cp1251) const;
  // The text's pixels; the reference stays valid until the next Render on this font.
  const TextMask& Render(std::string_view cp1251) const;
  // The text's pixels when they are already rendered, else nullptr; valid as Render's are.
  const TextMask* Rendered(std::string_view cp1251) const;
  // Whether the face has a real glyph (not the missing-glyph box) for every character.
  bool HasGlyphs(std::string_view cp1251) const;

  struct Impl;  // the SDL2_ttf side, Font.cpp only

 private:
  explicit Font(std::unique_ptr<Impl> impl);
  friend const Font* OpenFont(const LogicalFont& request);
  std::unique_ptr<Impl> impl_;
};

// The font for the record, opened on first use and kept; nullptr when no installed face can be
// opened. Not thread-safe beyond the one user-interface thread that draws.
const Font* OpenFont(const LogicalFont& request);

}  // namespace platform
