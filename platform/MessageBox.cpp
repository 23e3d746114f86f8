// Sections:
//   [Look]       layout and drawing of the box into its window's image
//   [Modal loop] the box's window procedure and the nested loop
#include "platform/MessageBox.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Messages.h"
#include "platform/draw/DrawContext.h"
#include "platform/draw/Font.h"
#include "platform/Screen.h"
#include "platform/Text.h"
#include "platform/Video.h"
#include "platform/Window.h"

namespace platform {
namespace {

// [Look] ----------------------------------------------------------------------------------------

constexpr int kPadding = 16;
constexpr int kCaptionHeight = 24;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 28;
constexpr Pixel kFace = MakePixel(204, 204, 204);  // the toolkit's classic look
constexpr Pixel kCaption = MakePixel(0, 0, 128);
constexpr Pixel kLight = MakePixel(255, 255, 255);
constexpr Pixel kShadow = MakePixel(128, 128, 128);
constexpr Pixel kDark = MakePixel(0, 0, 0);
constexpr Pixel kInk = MakePixel(0, 0, 0);

struct Area {
  int x, y, width, height;
  bool Contains(int px, int py) const {
    return px >= x && py >= y && px < x + width && py < y + height;
  }
  Rect ToRect() const { return {x, y, x + width, y + height}; }
};

// Both encodings keep CR and LF as themselves, so this splits cp1251 and UTF-8 alike.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

void Fill(DrawContext& dc, const Area& a, Pixel colour) {
  dc.SelectBrush(Brush::Solid(colour));
  dc.FillRect(a.ToRect());
}

// A raised (or, pressed, sunken) edge just inside the rectangle.
void Bevel(DrawContext& dc, const Area& a, bool sunken) {
  const Pixel topLeft = sunken ? kShadow : kLight;
  const Pixel bottomRight = sunken ? kLight : kDark;
  Fill(dc, {a.x, a.y, a.width, 1}, topLeft);
  Fill(dc, {a.x, a.y, 1, a.height}, topLeft);
  Fill(dc, {a.x, a.y + a.height - 1, a.width, 1}, bottomRight);
  Fill(dc, {a.x + a.width - 1, a.y, 1, a.height}, bottomRight);
}

// The box writes with the default sans face; without one it still works, its text on stderr.
const Font* BoxFont() {
  LogicalFont record;
  record.height = 16;
  return OpenFont(record);
}

int LineHeight(const Font* font) { return font ? font->Height() : 16; }

struct Box {
  std::string caption;             // cp1251
  std::vector<std::string> lines;  // cp1251
  const Font* font = BoxFont();
  int width = 0;
  int height = 0;
  Area button{};
  WindowId window = 0;
  bool pressed = false;   // the button is held down with the pointer on it
  bool holding = false;   // the left button went down on OK and is not yet released
  bool dragging = false;  // the caption bar is being dragged
  int grabX = 0;
  int grabY = 0;
  bool done = false;

  int TextWidth(const std::string& text) const { return font ? font->Extent(text).width : 0; }

  // The box fits the screen: lines beyond what fits give way to one that says how many are left
  // out (stderr has them all).
  void Layout() {
    const int chrome = kCaptionHeight + 3 * kPadding + kButtonHeight;
    const int fitting = std::max(1, (ScreenHeight() - chrome) / LineHeight(font));
    if (static_cast<int>(lines.size()) > fitting) {
      const std::size_t left = lines.size() - std::size_t(fitting - 1);
      lines.resize(std::size_t(fitting - 1));
      lines.push_back(Utf8ToCp1251("(не показано строк: " + std::to_string(left) + ")"));
    }
    int textWidth = TextWidth(caption) + 2 * kPadding;
    for (const std::string& line : lines) textWidth = std::max(textWidth, TextWidth(line));
    width = std::clamp(textWidth + 2 * kPadding, 240, std::max(ScreenWidth() - 40, 240));
    const int textHeight = static_cast<int>(lines.size()) * LineHeight(font);
    height = kCaptionHeight + kPadding + textHeight + kPadding + kButtonHeight + kPadding;
    button = {(width - kButtonWidth) / 2, height - kPadding - kButtonHeight, kButtonWidth,
              kButtonHeight};
  }

  void Write(DrawContext& dc, int x, int y, const std::string& text, Pixel colour) const {
    if (!font) return;
    dc.SetTextColor(colour);
    dc.TextOut(x, y, text);
  }

  void Draw() {
    Surface* image = WindowImage(window);
    if (!image) return;
    DrawContext dc(image);
    dc.SelectFont(font);
    dc.SetBackgroundMode(BackgroundMode::Transparent);
    const int lineHeight = LineHeight(font);
    Fill(dc, {0, 0, image->width, image->height}, kFace);
    Fill(dc, {0, 0, image->width, kCaptionHeight}, kCaption);
    Write(dc, 8, (kCaptionHeight - lineHeight) / 2, caption, kLight);
    int y = kCaptionHeight + kPadding;
    for (const std::string& line : lines) {
      Write(dc, kPadding, y, line, kInk);
      y += lineHeight;
    }
    Fill(dc, button, kFace);
    Bevel(dc, button, pressed);
    const int shift = pressed ? 1 : 0;
    Write(dc, button.x + (button.width - TextWidth("OK")) / 2 + shift,
          button.y + (button.height - lineHeight) / 2 + shift, "OK", kInk);
    Bevel(dc, {0, 0, image->width, image->height}, false);  // the frame a borderless box lacks
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

void RunBox(std::string_view text, std::string_view caption) {
  Box box;
  box.caption = std::string(caption);
  box.lines = Lines(std::string(text));
  box.Layout();
  box.window = CreateWindow(std::max((ScreenWidth() - box.width) / 2, 0),
                            std::max((ScreenHeight() - box.height) / 2, 0), box.width, box.height);
  if (box.window == 0) return;
  SetWindowTitle(box.window, box.caption);
  SetWindowProcedure(box.window, &BoxProcedure, &box);
  const ModalInput modal(box.window);
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
  RunBox(text, caption);
}

}  // namespace platform
