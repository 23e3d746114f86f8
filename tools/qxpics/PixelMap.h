// The pictures of the environment are kept as text pixel maps (assets/pics/README.md) so that a
// change to one reads as a diff; this file reads such a map and writes it out as a BMP file.
// Header-only, so the tests can call it without the converter's main.
#pragma once

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qxpics {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(Rgb, Rgb) = default;
};

struct NamedColour {
  std::string_view name;
  Rgb rgb;
};

// The classic 16-colour set and the toolkit's face grey, the background of every picture shown on
// a button or a dialog; the maps may use nothing else, so every picture shares one style.
inline constexpr std::array<NamedColour, 17> kColours{{
    {"black", {0, 0, 0}},       {"maroon", {128, 0, 0}},    {"green", {0, 128, 0}},
    {"olive", {128, 128, 0}},   {"navy", {0, 0, 128}},      {"purple", {128, 0, 128}},
    {"teal", {0, 128, 128}},    {"silver", {192, 192, 192}}, {"gray", {128, 128, 128}},
    {"red", {255, 0, 0}},       {"lime", {0, 255, 0}},      {"yellow", {255, 255, 0}},
    {"blue", {0, 0, 255}},      {"fuchsia", {255, 0, 255}}, {"aqua", {0, 255, 255}},
    {"white", {255, 255, 255}}, {"face", {204, 204, 204}},
}};

inline std::optional<Rgb> ColourByName(std::string_view name) {
  for (const NamedColour& c : kColours)
    if (c.name == name) return c.rgb;
  return std::nullopt;
}

// Large enough for any picture of the environment, small enough that a typo in a size line
// cannot ask for gigabytes.
inline constexpr int kMaxSide = 1024;

struct PixelMap {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // width * height, rows from the top

  Rgb At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// Where a map went wrong: the 1-based line and what was wrong there.
struct MapError {
  int line = 0;
  std::string message;
};

using ParseResult = std::variant<PixelMap, MapError>;

namespace detail {

inline std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Splits off the first space-separated word of s.
inline std::string_view NextWord(std::string_view& s) {
  s = Trim(s);
  std::size_t end = s.find_first_of(" \t");
  if (end == std::string_view::npos) end = s.size();
  std::string_view word = s.substr(0, end);
  s.remove_prefix(end);
  return word;
}

inline std::optional<int> ParseSide(std::string_view word) {
  int value = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
  if (value < 1 || value > kMaxSide) return std::nullopt;
  return value;
}

inline std::string Describe(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte > 32 && byte < 127) return std::string("'") + c + "'";
  static constexpr char kHex[] = "0123456789ABCDEF";
  return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 15];
}

}  // namespace detail

// Reads one map. The header (size, colours, comments) ends at the line "pixels"; then come
// exactly `height` rows of exactly `width` palette characters. Lines may end in CRLF, and blank
// lines may follow the last row.
inline ParseResult ParsePixelMap(std::string_view text) {
  using namespace detail;
  std::array<std::optional<Rgb>, 256> palette;
  int paletteSize = 0;
  PixelMap map;
  bool inRows = false;
  int rows = 0;
  int line = 0;
  int lastLine = 0;

  while (!text.empty()) {
    std::size_t nl = text.find('\n');
    std::string_view raw = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    ++line;
    lastLine = line;

    if (inRows) {
      if (rows == map.height) {
        if (Trim(raw).empty()) continue;
        return MapError{line, "more than " + std::to_string(map.height) + " rows"};
      }
      if (raw.size() != std::size_t(map.width))
        return MapError{line, "row is " + std::to_string(raw.size()) + " characters, expected " +
                                  std::to_string(map.width)};
      for (std::size_t x = 0; x < raw.size(); ++x) {
        const auto& colour = palette[static_cast<unsigned char>(raw[x])];
        if (!colour)
          return MapError{line, "unknown palette character " + Describe(raw[x]) + " at column " +
                                    std::to_string(x + 1)};
        map.pixels[std::size_t(rows) * map.width + x] = *colour;
      }
      ++rows;
      continue;
    }

    std::string_view rest = raw;
    const std::string_view keyword = NextWord(rest);
    if (keyword.empty() || keyword.front() == '#') continue;
    if (keyword == "size") {
      if (map.width) return MapError{line, "second size line"};
      const std::optional<int> w = ParseSide(NextWord(rest));
      const std::optional<int> h = ParseSide(NextWord(rest));
      if (!w || !h || !Trim(rest).empty())
        return MapError{line, "size must be two whole numbers from 1 to " + std::to_string(kMaxSide)};
      map.width = *w;
      map.height = *h;
    } else if (keyword == "colour") {
      const std::string_view symbol = NextWord(rest);
      const std::string_view name = NextWord(rest);
      if (symbol.size() != 1 || name.empty() || !Trim(rest).empty())
        return MapError{line, "a colour line is: colour CHARACTER NAME"};
      const std::optional<Rgb> rgb = ColourByName(name);
      if (!rgb) return MapError{line, "unknown colour name '" + std::string(name) + "'"};
      auto& slot = palette[static_cast<unsigned char>(symbol.front())];
      if (slot) return MapError{line, "palette character '" + std::string(symbol) + "' given twice"};
      slot = *rgb;
      ++paletteSize;
    } else if (keyword == "pixels") {
      if (!Trim(rest).empty()) return MapError{line, "nothing may follow 'pixels'"};
      if (!map.width) return MapError{line, "no size line before the pixels"};
      if (!paletteSize) return MapError{line, "no colour lines before the pixels"};
      map.pixels.assign(std::size_t(map.width) * map.height, Rgb{});
      inRows = true;
    } else {
      return MapError{line, "unknown header line '" + std::string(keyword) + "'"};
    }
  }

  if (!inRows) return MapError{lastLine + 1, "no 'pixels' line"};
  if (rows < map.height)
    return MapError{lastLine + 1, "only " + std::to_string(rows) + " of " +
                                      std::to_string(map.height) + " rows"};
  return map;
}

// A 24-bit uncompressed BMP: the 14-byte file header, the 40-byte information header, then the
// rows from the bottom up, blue-green-red, each padded to a multiple of four bytes.
inline std::vector<std::uint8_t> EncodeBmp(const PixelMap& map) {
  const std::uint32_t stride = (std::uint32_t(map.width) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * std::uint32_t(map.height);
  constexpr std::uint32_t kHeaders = 14 + 40;
  std::vector<std::uint8_t> out;
  out.reserve(kHeaders + imageSize);
  auto put16 = [&out](std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
  };
  auto put32 = [&put16](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  out.push_back('B');
  out.push_back('M');
  put32(kHeaders + imageSize);
  put32(0);  // reserved
  put32(kHeaders);
  put32(40);
  put32(std::uint32_t(map.width));
  put32(std::uint32_t(map.height));  // positive: bottom-up
  put16(1);                          // planes
  put16(24);                         // bits per pixel
  put32(0);                          // no compression
  put32(imageSize);
  put32(2835);  // 72 dots per inch, in dots per metre
  put32(2835);
  put32(0);  // colours used: none, no palette
  put32(0);
  for (int y = map.height - 1; y >= 0; --y) {
    for (int x = 0; x < map.width; ++x) {
      const Rgb p = map.At(x, y);
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
    for (std::uint32_t pad = std::uint32_t(map.width) * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace qxpics
