// Sections:
//   [Box text]   glyphs with SDL_ttf and fontconfig, until platform/draw offers text drawing
//   [Look]       layout and drawing of the box into its window's image
//   [Modal loop] the box's window procedure and the nested loop
#include "platform/MessageBox.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include "platform/Messages.h"
#include "platform/Screen.h"
#include "platform/Text.h"
#include "platform/Video.h"
#include "platform/Window.h"

namespace platform {
namespace {

// [Box text] ------------------------------------------------------------------------------------

std::string SansFontFile() {
  if (!FcInit()) return {};
  std::string file;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans"));
  if (!pattern) return file;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
      file = reinterpret_cast<const char*>(path);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

// The one face the box writes with. Without a font the box still works, with its text on
// stderr only.
class BoxFont {
 public:
  explicit BoxFont(int pixels) {
    if (!TTF_WasInit() && TTF_Init() != 0) return;
    const std::string file = SansFontFile();
    if (!file.empty()) font_ = TTF_OpenFont(file.c_str(), pixels);
  }
  ~BoxFont() {
    if (font_) TTF_CloseFont(font_);
  }
  BoxFont(const BoxFont&) = delete;
  BoxFont& operator=(const BoxFont&) = delete;

  int LineHeight() const { return font_ ? TTF_FontLineSkip(font_) : 16; }

  int Width(const std::string& utf8) const {
    int width = 0;
    if (font_ && !utf8.empty()) TTF_SizeUTF8(font_, utf8.c_str(), &width, nullptr);
    return width;
  }

  // Blends the text onto the picture, its top-left corner at (x, y).
  void Draw(Surface& target, int x, int y, const std::string& utf8, Pixel colour) const {
    if (!font_ || utf8.empty()) return;
    SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font_, utf8.c_str(), SDL_Color{255, 255, 255, 255});
    if (!glyphs) return;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(glyphs);
    if (!argb) return;
    for (int row = 0; row < argb->h; ++row) {
      const auto* source =
          reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + row * argb->pitch);
      for (int column = 0; column < argb->w; ++column) {
        if (!target.Contains(x + column, y + row)) continue;
        const unsigned alpha = source[column] >> 24;
        Pixel& pixel = target.Row(y + row)[x + column];
        pixel = Blend(pixel, colour, alpha);
      }
    }
    SDL_FreeSurface(argb);
  }

 private:
  static Pixel Blend(Pixel under, Pixel over, unsigned alpha) {
    Pixel result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const unsigned u = (under >> shift) & 0xFF;
      const unsigned o = (over >> shift) & 0xFF;
      result |= ((u * (255 - alpha) + o * alpha + 127) / 255) << shift;
    }
    return result;
  }

  TTF_Font* font_ = nullptr;
};

// [Look] ----------------------------------------------------------------------------------------

constexpr int kPadding = 16;
constexpr int kCaptionHeight = 24;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 28;
constexpr Pixel kFace = MakePixel(240, 240, 240);
constexpr Pixel kCaption = MakePixel(0, 84, 153);
constexpr Pixel kLight = MakePixel(255, 255, 255);
constexpr Pixel kShadow = MakePixel(128, 128, 128);
constexpr Pixel kDark = MakePixel(64, 64, 64);
constexpr Pixel kInk = MakePixel(0, 0, 0);

struct Rect {
  int x, y, width, height;
  bool Contains(int px, int py) const {
    return px >= x && py >= y && px < x + width && py < y + height;
  }
};

std::vector<std::string> Lines(const std::string& utf8) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' || utf8[i] == '\n') {
      if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += utf8[i];
    }
  }
  return lines;
}

void Fill(Surface& s, const Rect& r, Pixel colour) {
  for (int y = std::max(r.y, 0); y < std::min(r.y + r.height, s.height); ++y)
    for (int x = std::max(r.x, 0); x < std::min(r.x + r.width, s.width); ++x) s.Row(y)[x] = colour;
}

// A raised (or, pressed, sunken) edge just inside the rectangle.
void Bevel(Surface& s, const Rect& r, bool sunken) {
  const Pixel topLeft = sunken ? kShadow : kLight;
  const Pixel bottomRight = sunken ? kLight : kDark;
  Fill(s, {r.x, r.y, r.width, 1}, topLeft);
  Fill(s, {r.x, r.y, 1, r.height}, topLeft);
  Fill(s, {r.x, r.y + r.height - 1, r.width, 1}, bottomRight);
  Fill(s, {r.x + r.width - 1, r.y, 1, r.height}, bottomRight);
}

struct Box {
  std::string caption;           // UTF-8
  std::vector<std::string> lines;  // UTF-8
  BoxFont font{14};
  int width = 0;
  int height = 0;
  Rect button{};
  WindowId window = 0;
  bool pressed = false;        // the button is held down with the pointer on it
  bool holding = false;        // the left button went down on OK and is not yet released
  bool dragging = false;       // the caption bar is being dragged
  int grabX = 0;
  int grabY = 0;
  bool done = false;

  void Layout() {
    int textWidth = font.Width(caption) + 2 * kPadding;
    for (const std::string& line : lines) textWidth = std::max(textWidth, font.Width(line));
    width = std::clamp(textWidth + 2 * kPadding, 240, std::max(ScreenWidth() - 40, 240));
    const int textHeight = static_cast<int>(lines.size()) * font.LineHeight();
    height = kCaptionHeight + kPadding + textHeight + kPadding + kButtonHeight + kPadding;
    button = {(width - kButtonWidth) / 2, height - kPadding - kButtonHeight, kButtonWidth,
              kButtonHeight};
  }

  void Draw() {
    Surface* image = WindowImage(window);
    if (!image) return;
    Fill(*image, {0, 0, image->width, image->height}, kFace);
    Fill(*image, {0, 0, image->width, kCaptionHeight}, kCaption);
    font.Draw(*image, 8, (kCaptionHeight - font.LineHeight()) / 2, caption, kLight);
    int y = kCaptionHeight + kPadding;
    for (const std::string& line : lines) {
      font.Draw(*image, kPadding, y, line, kInk);
      y += font.LineHeight();
    }
    Fill(*image, button, kFace);
    Bevel(*image, button, pressed);
    const int shift = pressed ? 1 : 0;
    font.Draw(*image, button.x + (button.width - font.Width("OK")) / 2 + shift,
              button.y + (button.height - font.LineHeight()) / 2 + shift, "OK", kInk);
    Bevel(*image, {0, 0, image->width, image->height}, false);  // the frame a borderless box lacks
    PresentWindow(window);
  }
};

// [Modal loop] ----------------------------------------------------------------------------------

std::int32_t BoxProcedure(void* context, const Message& m) {
  Box& box = *static_cast<Box*>(context);
  switch (m.kind) {
    case MessageKind::Paint:
      box.Draw();
      break;
    case MessageKind::KeyDown:
      if (m.a == 28 || m.a == 1 || m.a == 57) box.done = true;  // Enter, Escape, Space
      break;
    case MessageKind::LeftButtonDown:
      CaptureMouse(box.window);
      if (box.button.Contains(m.a, m.b)) {
        box.holding = box.pressed = true;
        box.Draw();
      } else if (m.b < kCaptionHeight) {
        box.dragging = true;
        box.grabX = m.a;
        box.grabY = m.b;
      }
      break;
    case MessageKind::MouseMove:
      if (box.holding && box.pressed != box.button.Contains(m.a, m.b)) {
        box.pressed = !box.pressed;
        box.Draw();
      } else if (box.dragging) {
        if (const auto at = WindowBounds(box.window))
          MoveWindow(box.window, at->x + m.a - box.grabX, at->y + m.b - box.grabY, at->width,
                     at->height);
      }
      break;
    case MessageKind::LeftButtonUp:
      ReleaseMouseCapture();
      if (box.holding && box.button.Contains(m.a, m.b)) box.done = true;
      box.holding = box.pressed = box.dragging = false;
      if (!box.done) box.Draw();
      break;
    case MessageKind::Destroy:  // the desktop closed it
      box.done = true;
      break;
    default:
      break;
  }
  return 0;
}

void RunBox(const std::string& text, const std::string& caption) {
  Box box;
  box.caption = caption;
  box.lines = Lines(text);
  box.Layout();
  box.window = CreateWindow((ScreenWidth() - box.width) / 2, (ScreenHeight() - box.height) / 2,
                            box.width, box.height);
  if (box.window == 0) return;
  SetWindowTitle(box.window, Utf8ToCp1251(caption));
  SetWindowProcedure(box.window, &BoxProcedure, &box);
  ShowWindow(box.window);
  Message m;
  while (!box.done) {
    if (!GetMessage(m)) {
      PostQuitMessage(m.a);  // for the loop outside, which must end as well
      break;
    }
    TranslateMessage(m);
    DispatchMessage(m);
  }
  SetWindowProcedure(box.window, nullptr, nullptr);
  DestroyWindow(box.window);
}

}  // namespace

void MessageBox(std::string_view text, std::string_view caption) {
  const std::string utf8Text = Cp1251ToUtf8(text);
  const std::string utf8Caption = Cp1251ToUtf8(caption);
  std::string line = utf8Caption.empty() ? std::string() : utf8Caption + ": ";
  const std::vector<std::string> lines = Lines(utf8Text);
  for (std::size_t i = 0; i < lines.size(); ++i) line += (i ? "\n" : "") + lines[i];
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  if (detail::VideoIsHeadless()) return;
  RunBox(utf8Text, utf8Caption);
}

}  // namespace platform
