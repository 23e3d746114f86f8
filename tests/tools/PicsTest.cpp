// The pictures: text pixel maps become BMP files that SDL's loader reads back pixel for pixel,
// broken maps are refused with the line named, and the build ships every picture the
// environment asks for, at its size.
#include "tools/qxpics/Icon.h"
#include "tools/qxpics/PixelMap.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using qxpics::MapError;
using qxpics::PixelMap;
using qxpics::Rgb;

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
  Rgb At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// Reads a BMP with SDL, the loader the platform layer uses, into plain RGB.
std::optional<Image> LoadWithSdl(const fs::path& path) {
  SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
  if (!loaded) return std::nullopt;
  std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> rgb(
      SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0), SDL_FreeSurface);
  SDL_FreeSurface(loaded);
  if (!rgb) return std::nullopt;
  Image image{rgb->w, rgb->h, {}};
  for (int y = 0; y < rgb->h; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(rgb->pixels) + std::size_t(y) * rgb->pitch;
    for (int x = 0; x < rgb->w; ++x) image.pixels.push_back({row[3 * x], row[3 * x + 1], row[3 * x + 2]});
  }
  return image;
}

fs::path FreshFolder(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("qxpics-" + std::to_string(getpid()) + "-" + name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string Describe(Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

// ---------------------------------------------------------------------------------------------
// The BMP writer

TEST(PicsBmp, SdlReadsBackExactPixelsAndSize) {
  // Widths 1, 2, 3, 5, 15 and 17 leave 1 to 3 padding bytes a row; 4 and 16 leave none.
  const struct { int w, h; } sizes[] = {{1, 1}, {2, 3}, {3, 2}, {4, 4}, {5, 4},
                                        {15, 13}, {16, 16}, {17, 17}, {33, 7}};
  const fs::path dir = FreshFolder("bmp");
  for (const auto& size : sizes) {
    SCOPED_TRACE(std::to_string(size.w) + "x" + std::to_string(size.h));
    PixelMap map{size.w, size.h, {}};
    // Neighbours differ in every channel, so a swapped channel, row or column shows.
    for (int y = 0; y < size.h; ++y)
      for (int x = 0; x < size.w; ++x)
        map.pixels.push_back(qxpics::kColours[(x * 3 + y * 5 + 1) % 16].rgb);

    const std::vector<std::uint8_t> bytes = qxpics::EncodeBmp(map);
    const std::size_t stride = (std::size_t(size.w) * 3 + 3) / 4 * 4;
    EXPECT_EQ(bytes.size(), 54 + stride * size.h);

    const fs::path file = dir / (std::to_string(size.w) + "x" + std::to_string(size.h) + ".bmp");
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const std::optional<Image> image = LoadWithSdl(file);
    ASSERT_TRUE(image) << SDL_GetError();
    ASSERT_EQ(image->width, size.w);
    ASSERT_EQ(image->height, size.h);
    for (int y = 0; y < size.h; ++y)
      for (int x = 0; x < size.w; ++x)
        ASSERT_EQ(image->At(x, y), map.At(x, y))
            << "pixel (" << x << ", " << y << ") is " << Describe(image->At(x, y));
  }
  fs::remove_all(dir);
}

// ---------------------------------------------------------------------------------------------
// Reading maps

TEST(PicsMap, AcceptsCommentsCrlfAndTrailingBlankLines) {
  const std::string plain =
      "size 3 2\ncolour . silver\ncolour # red\npixels\n.#.\n##.\n";
  const std::string variants[] = {
      plain,
      "# a comment\n\ncolour # red\n  size 3 2  \ncolour . silver\n# another\npixels\n.#.\n##.\n\n\n",
      "size 3 2\r\ncolour . silver\r\ncolour # red\r\npixels\r\n.#.\r\n##.\r\n",
      "size 3 2\ncolour . silver\ncolour # red\npixels\n.#.\n##.",  // no final line end
  };
  for (const std::string& text : variants) {
    SCOPED_TRACE(text);
    const qxpics::ParseResult result = qxpics::ParsePixelMap(text);
    ASSERT_TRUE(std::holds_alternative<PixelMap>(result)) << std::get<MapError>(result).message;
    const PixelMap& map = std::get<PixelMap>(result);
    ASSERT_EQ(map.width, 3);
    ASSERT_EQ(map.height, 2);
    const Rgb s{192, 192, 192}, r{255, 0, 0};
    EXPECT_EQ(map.pixels, (std::vector<Rgb>{s, r, s, r, r, s}));
  }
}

TEST(PicsMap, RefusesMalformedMapsNamingTheLine) {
  const std::string head = "size 3 2\ncolour . silver\ncolour k black\npixels\n";  // rows from line 5
  const struct {
    const char* what;
    std::string text;
    int line;
    const char* message;
  } cases[] = {
      {"unknown palette character", head + "...\n.x.\n", 6, "unknown palette character 'x' at column 2"},
      {"a space is no palette character", head + ". .\n...\n", 5, "unknown palette character byte 0x20"},
      {"row too short", head + "..\n...\n", 5, "row is 2 characters, expected 3"},
      {"row too long", head + "...\n....\n", 6, "row is 4 characters, expected 3"},
      {"blank line among the rows", head + "...\n\n...\n", 6, "row is 0 characters"},
      {"too few rows", head + "...\n", 6, "only 1 of 2 rows"},
      {"too many rows", head + "...\n...\n...\n", 7, "more than 2 rows"},
      {"no pixels line", "size 3 2\ncolour . silver\n", 3, "no 'pixels' line"},
      {"empty file", "", 1, "no 'pixels' line"},
      {"pixels before size", "colour . silver\npixels\n...\n", 2, "no size line"},
      {"pixels before any colour", "size 3 2\npixels\n...\n...\n", 2, "no colour lines"},
      {"size given twice", "size 3 2\nsize 3 2\n", 2, "second size line"},
      {"size of zero", "size 0 2\n", 1, "size must be"},
      {"size too large", "size 3 100000\n", 1, "size must be"},
      {"size not a number", "size 3 two\n", 1, "size must be"},
      {"size missing a side", "size 3\n", 1, "size must be"},
      {"unknown colour name", "size 3 2\ncolour . grey\n", 2, "unknown colour name 'grey'"},
      {"palette character twice", "size 3 2\ncolour . silver\ncolour . black\n", 3, "given twice"},
      {"palette entry of two characters", "size 3 2\ncolour .. silver\n", 2, "colour CHARACTER NAME"},
      {"unknown header line", "size 3 2\npalette . silver\n", 2, "unknown header line 'palette'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const qxpics::ParseResult result = qxpics::ParsePixelMap(c.text);
    ASSERT_TRUE(std::holds_alternative<MapError>(result));
    const MapError& error = std::get<MapError>(result);
    EXPECT_EQ(error.line, c.line) << error.message;
    EXPECT_NE(error.message.find(c.message), std::string::npos) << error.message;
  }
}

// ---------------------------------------------------------------------------------------------
// The converter program

struct RunResult {
  int status = -1;
  std::string output;
};

// Runs the converter with the given arguments, each quoted, and collects what it prints.
RunResult RunQxpics(const std::vector<std::string>& arguments) {
  std::string command = "'" QX_BINARY_DIR "/tools/qxpics'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  command += " 2>&1";
  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) result.output += buffer;
  result.status = pclose(pipe);
  return result;
}

TEST(PicsConverter, MirrorsTheFoldersAndWritesNothingWhenOneMapIsBad) {
  const fs::path root = FreshFolder("converter");
  const fs::path in = root / "in";
  WriteText(in / "One.txt", "size 2 1\ncolour r red\ncolour b blue\npixels\nrb\n");
  WriteText(in / "deep/er/Two.txt", "size 5 3\ncolour . silver\npixels\n.....\n.....\n.....\n");
  WriteText(in / "README.md", "not a map\n");

  const RunResult good = RunQxpics({in, root / "out"});
  ASSERT_EQ(good.status, 0) << good.output;
  const std::optional<Image> one = LoadWithSdl(root / "out/One.bmp");
  const std::optional<Image> two = LoadWithSdl(root / "out/deep/er/Two.bmp");
  ASSERT_TRUE(one && two);
  EXPECT_EQ(one->pixels, (std::vector<Rgb>{{255, 0, 0}, {0, 0, 255}}));
  EXPECT_EQ(two->width, 5);
  EXPECT_EQ(two->height, 3);
  EXPECT_FALSE(fs::exists(root / "out/README.bmp"));

  // Line 6 is the second row.
  WriteText(in / "deep/Bad.txt", "size 2 2\ncolour . silver\n# comment\npixels\n..\n.?\n");
  const RunResult bad = RunQxpics({in, root / "out2"});
  EXPECT_NE(bad.status, 0);
  EXPECT_NE(bad.output.find("deep/Bad.txt:6: unknown palette character '?'"), std::string::npos)
      << bad.output;
  EXPECT_FALSE(fs::exists(root / "out2/One.bmp")) << "a good map was written beside a bad one";

  const RunResult usage = RunQxpics({in});
  EXPECT_NE(usage.status, 0);
  EXPECT_NE(usage.output.find("usage"), std::string::npos) << usage.output;
  const RunResult missing = RunQxpics({root / "nowhere", root / "out3"});
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.output.find("not a folder"), std::string::npos) << missing.output;
  fs::remove_all(root);
}

// ---------------------------------------------------------------------------------------------
// The icon

struct DecodedPng {
  int width = 0, height = 0;
  std::vector<qxpics::Rgba> pixels;
};

std::uint32_t Big32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Reads an 8-bit RGBA PNG with zlib, whose inflate and CRC are not the encoder's: every chunk's
// checksum must hold and every row must be there.
std::optional<DecodedPng> DecodePng(const std::vector<std::uint8_t>& bytes) {
  static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || !std::equal(kSignature, kSignature + 8, bytes.begin())) return std::nullopt;
  DecodedPng png;
  std::vector<std::uint8_t> compressed;
  bool ended = false;
  for (std::size_t at = 8; at + 12 <= bytes.size() && !ended;) {
    const std::uint32_t length = Big32(&bytes[at]);
    if (at + 12 + length > bytes.size()) return std::nullopt;
    const std::string type(bytes.begin() + long(at) + 4, bytes.begin() + long(at) + 8);
    const std::uint8_t* data = &bytes[at + 8];
    if (crc32(crc32(0, nullptr, 0), &bytes[at + 4], length + 4) != Big32(data + length))
      return std::nullopt;
    if (type == "IHDR") {
      png.width = int(Big32(data));
      png.height = int(Big32(data + 4));
      if (data[8] != 8 || data[9] != 6 || data[12] != 0) return std::nullopt;
    } else if (type == "IDAT") {
      compressed.insert(compressed.end(), data, data + length);
    }
    ended = type == "IEND";
    at += 12 + length;
  }
  if (!ended) return std::nullopt;
  const std::size_t rowBytes = 1 + 4 * std::size_t(png.width);
  std::vector<std::uint8_t> raw(rowBytes * png.height + 1);
  uLongf size = raw.size();
  if (uncompress(raw.data(), &size, compressed.data(), compressed.size()) != Z_OK ||
      size != rowBytes * png.height)
    return std::nullopt;
  for (int y = 0; y < png.height; ++y) {
    const std::uint8_t* row = &raw[y * rowBytes];
    if (row[0] != 0) return std::nullopt;  // the encoder filters nothing
    for (int x = 0; x < png.width; ++x)
      png.pixels.push_back({row[1 + 4 * x], row[2 + 4 * x], row[3 + 4 * x], row[4 + 4 * x]});
  }
  return png;
}

TEST(PicsIcon, EnlargesByWholePixelsAndClearsOnlyTheOuterBackground) {
  // The face grey around the ring goes; the face grey inside it stays, as do the navy pixels
  // that touch the border but are not the corner's colour.
  const qxpics::ParseResult parsed = qxpics::ParsePixelMap(
      "size 5 4\ncolour . face\ncolour k black\ncolour n navy\npixels\n"
      ".kkk.\n.k.kn\n.kkkn\n.....\n");
  ASSERT_TRUE(std::holds_alternative<PixelMap>(parsed));
  const PixelMap& map = std::get<PixelMap>(parsed);
  const std::optional<DecodedPng> png = DecodePng(qxpics::EncodePng(qxpics::MakeIcon(map, 3)));
  ASSERT_TRUE(png);
  ASSERT_EQ(png->width, 15);
  ASSERT_EQ(png->height, 12);
  const char* const opaque[] = {".xxx.", ".xxxx", ".xxxx", "....."};
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 15; ++x) {
      const qxpics::Rgba p = png->pixels[std::size_t(y) * 15 + x];
      const Rgb expected = map.At(x / 3, y / 3);
      SCOPED_TRACE(testing::Message() << "at " << x << "," << y);
      EXPECT_EQ(p.a, opaque[y / 3][x / 3] == 'x' ? 255 : 0);
      if (p.a) {
        EXPECT_EQ((Rgb{p.r, p.g, p.b}), expected);
      }
    }
}

TEST(PicsIcon, LargeIconsSpanSeveralStoredBlocks) {
  // 256 x 256 RGBA is four times the largest stored block: the blocks must join up exactly.
  PixelMap map{64, 64, {}};
  for (int i = 0; i < 64 * 64; ++i) map.pixels.push_back(qxpics::kColours[i % 17].rgb);
  const std::optional<DecodedPng> png = DecodePng(qxpics::EncodePng(qxpics::MakeIcon(map, 4)));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 256);
  EXPECT_EQ(png->pixels[255 * 256 + 255], (qxpics::Rgba{map.At(63, 63).r, map.At(63, 63).g,
                                                        map.At(63, 63).b, 255}));
}

TEST(PicsBuilt, TheIconIsThereInEverySizeOfTheTheme) {
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    std::ifstream in(fs::path(QX_BINARY_DIR) / "icons" /
                         (std::to_string(size) + "x" + std::to_string(size)) / "apps/qxworks.png",
                     std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const std::optional<DecodedPng> png = DecodePng(bytes);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, size);
    EXPECT_EQ(png->height, size);
    EXPECT_EQ(png->pixels.front().a, 0) << "the corner is the background, see-through";
    EXPECT_EQ(png->pixels[std::size_t(size / 2) * size + size / 2].a, 255);
  }
}

TEST(PicsConverter, WritesTheIconAndRefusesABadFactorOrMap) {
  const fs::path root = FreshFolder("icon");
  WriteText(root / "Tile.txt", "size 2 2\ncolour . face\ncolour r red\npixels\n.r\nrr\n");
  WriteText(root / "Bad.txt", "size 2 2\ncolour . face\npixels\n..\n");
  const RunResult good = RunQxpics({"--icon", root / "Tile.txt", "2", root / "out/16/tile.png"});
  ASSERT_EQ(good.status, 0) << good.output;
  std::ifstream in(root / "out/16/tile.png", std::ios::binary);
  const std::optional<DecodedPng> png = DecodePng({std::istreambuf_iterator<char>(in), {}});
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 4);
  EXPECT_EQ(png->pixels[0].a, 0);
  EXPECT_EQ(png->pixels[15], (qxpics::Rgba{255, 0, 0, 255}));

  for (const char* factor : {"0", "17", "2x", ""}) {
    const RunResult bad = RunQxpics({"--icon", root / "Tile.txt", factor, root / "bad.png"});
    EXPECT_NE(bad.status, 0) << factor;
    EXPECT_NE(bad.output.find("factor"), std::string::npos) << bad.output;
  }
  const RunResult badMap = RunQxpics({"--icon", root / "Bad.txt", "1", root / "bad.png"});
  EXPECT_NE(badMap.status, 0);
  EXPECT_NE(badMap.output.find("Bad.txt:"), std::string::npos) << badMap.output;
  EXPECT_FALSE(fs::exists(root / "bad.png"));
  fs::remove_all(root);
}

// ---------------------------------------------------------------------------------------------
// The pictures the build ships

struct Folder {
  const char* dir;
  int width, height;
  std::vector<const char*> names;
  int margin;  // face-grey border that a button's bevels cover, so nothing may be drawn there
  bool onFace;  // shown on the face grey, which is then its background
};

const std::vector<Folder>& Shipped() {
  static const std::vector<Folder> folders = {
      {"16x16silver", 16, 16,
       {"New", "Open", "Save", "Add", "SubAdd", "Delete", "Up", "Down", "Cut", "Copy", "Paste",
        "SubPaste", "Import", "Clear", "Build", "Run", "About", "Group", "Pack", "App", "Lib",
        "Unit", "Dll", "Class", "NClass", "PrivVar", "ProtVar", "PubVar", "PrivFunc", "ProtFunc",
        "PubFunc", "Type", "Struct"},
       0, true},
      // The designer's buttons are 17 by 17; their flat face is the middle 15 by 15.
      {"Dsgn", 17, 17,
       {"New", "Clone", "Delete", "Group", "UnGroup", "Color", "Line", "Rectangle",
        "FillRectangle", "Ellipse", "FillEllipse", "Text", "Pic", "Bevel", "Panel", "Label",
        "PicButton", "Button", "Edit", "Form"},
       1, true},
      {"Form", 16, 16, {"Icon16", "Icon16_new"}, 0, false},  // on the navy caption bar
      // Caption buttons show their picture inside two bevels: the middle 11 by 9.
      {"Form", 15, 13, {"Minimize", "Restore", "Maximize", "Close"}, 2, true},
      {"8x8", 8, 8, {"Left", "Right", "Up", "Down"}, 0, true},
      {"32x32", 32, 32, {"Warning", "Error", "Information", "Confirmation"}, 0, true},
      {"Other", 64, 64, {"AboutPic64"}, 0, true},
  };
  return folders;
}

TEST(PicsBuilt, EveryPictureIsThereAtItsSizeAndDrawn) {
  const fs::path pics = fs::path(QX_BINARY_DIR) / "pics";
  const Rgb face{204, 204, 204}, silver{192, 192, 192};
  std::map<std::string, Image> seen;
  for (const Folder& folder : Shipped()) {
    for (const char* name : folder.names) {
      const std::string relative = std::string(folder.dir) + "/" + name + ".bmp";
      SCOPED_TRACE(relative);
      const std::optional<Image> image = LoadWithSdl(pics / relative);
      ASSERT_TRUE(image) << SDL_GetError();
      EXPECT_EQ(image->width, folder.width);
      EXPECT_EQ(image->height, folder.height);

      bool drawn = false;
      for (const Rgb& p : image->pixels) drawn = drawn || p != image->pixels.front();
      EXPECT_TRUE(drawn) << "the picture is one flat colour";

      int covered = 0;
      for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
          const bool border = x < folder.margin || y < folder.margin ||
                              x >= image->width - folder.margin || y >= image->height - folder.margin;
          covered += border && image->At(x, y) != face;
        }
      EXPECT_EQ(covered, 0) << "pixels drawn where the button's bevels hide them";
      if (folder.onFace) {
        int darker = 0;
        for (const Rgb& p : image->pixels) darker += p == silver;
        EXPECT_EQ(darker, 0) << "silver pixels would show darker than the face around them";
      }

      for (const auto& [other, earlier] : seen)
        EXPECT_FALSE(earlier.width == image->width && earlier.height == image->height &&
                     earlier.pixels == image->pixels)
            << "same picture as " << other;
      seen.emplace(relative, *image);
    }
  }
}

}  // namespace
