// The text editor under random keys, typed bytes, texts and presses, delivered through its window
// as a display delivers them. After every step it must hold at least one line, no line may hold
// a code below 32, the caret must lie inside the text, and its text must read back through
// SetText unchanged.
//
// The input is a list of steps, each a byte that picks the kind and then its operands:
//   0 key: a scan code (the memo's keys and a few others)   1 a typed byte
//   2 SetText: a length byte, then that many bytes           3 a press: x and y bytes
//   4 the owner empties Lines                                5 the vertical bar moves: a byte
//   6 a drag: x, y, then x, y where it ends                   7 another program's clipboard text:
//                                                               a length byte, then the bytes
// Keys carry a byte of modifier keys (Shift, Alt, Ctrl), so selections, the clipboard keys, undo
// and redo are all in play. When the input never replaced the text behind the editor's back
// (2 and 4), undoing every step must give the starting text back.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "controls/Control.h"
#include "controls/CtrlApp.h"
#include "controls/View.h"
#include "graphics/Font.h"
#include "graphics/GDI.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "widgets/Memo.h"
#include "widgets/ScrollBar.h"
#include "widgets/WidgetClasses.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Scan codes worth trying: the memo's table, Tab, a letter, Escape, Insert, F3 and the letters of
// the Ctrl commands (A, C, V, X, Y, Z).
constexpr int kKeys[] = {75, 77, 72, 80, 14, 83, 71, 79, 73, 81, 28, 15, 30, 1,
                         82, 61, 46, 47, 45, 21, 44};

struct Editor {
  std::unique_ptr<CCtrlApp> app;
  std::unique_ptr<CControl> root;
  CMemo* memo = nullptr;
  CMemo* copy = nullptr;  // reads the text back; never shown on top
  platform::WindowId window = 0;

  Editor() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    platform::UseVirtualClock();
    app = std::make_unique<CCtrlApp>(WidgetClassRows());
    CtrlApp = app.get();
    root = std::make_unique<CControl>(nullptr);
    root->SetBounds(0, 0, 240, 160, true);
    auto* font = new CFont;  // the font manager keeps it
    font->Set(0, 13, false, false, false, false, false, "MS Sans Serif", "Text");
    root->GetCanvas()->CreateFont(font);
    copy = new CMemo(root.get());
    copy->Visible = false;
    memo = new CMemo(root.get());
    memo->SetBounds(0, 0, 240, 160, true);
    window = root->View->Canvas->Window;
    RunUntilIdle();
  }

  void RunUntilIdle() {
    platform::Message m;
    while (platform::PeekMessage(m)) {
      platform::TranslateMessage(m);
      platform::DispatchMessage(m);
      app->Idle();
    }
  }

  void Post(platform::MessageKind kind, int a, int b = 0, std::uint8_t shift = 0) {
    platform::PostMessage(platform::Message{window, kind, a, b, shift});
  }

  void CheckInvariants() {
    const std::int32_t count = memo->Lines->Count().Value;
    Check(count >= 1);
    Check(memo->CaretLine.Value >= 0 && memo->CaretLine.Value < count);
    const CStr line = memo->Lines->GetString(memo->CaretLine);
    Check(memo->CaretColumn.Value >= 0 && memo->CaretColumn.Value <= line.Length().Value);
    for (std::int32_t i = 0; i < count; ++i) {
      const CStr each = memo->Lines->GetString(i);
      for (const char c : each.View()) Check(static_cast<unsigned char>(c) >= 32);
    }
    const CStr text = memo->GetText();
    copy->SetText(text);
    Check(bool(copy->GetText() == text));
    Check(copy->Lines->Count().Value == count);
  }
};

Editor* editor = nullptr;  // one window for the life of the process

}  // namespace

// Fontconfig keeps part of its parsed configuration unreachable for the process's life; the leak
// check that follows an input which allocated more than it freed would report it every time.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

// The window is made before the first input: font set-up keeps memory for the process's life,
// which is no leak of any input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  editor = new Editor;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CMemo& memo = *editor->memo;
  memo.SetText("qwerty\r\nasd\r\nzxc\r\n");
  memo.CaretLine = 0;
  memo.CaretColumn = 0;
  memo.SetFocused(true);
  editor->RunUntilIdle();
  const CStr start = memo.GetText();
  bool undoable = true;

  std::size_t at = 0;
  const auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
  int steps = 0;
  while (at < size && steps++ < 64) {
    switch (next() % 8) {
      case 0: {
        const int key = kKeys[next() % std::size(kKeys)];
        const auto shift = std::uint8_t(next() & 7);
        editor->Post(platform::MessageKind::KeyDown, key, 0, shift);
        editor->Post(platform::MessageKind::KeyUp, key, 0, shift);
        break;
      }
      case 1:
        editor->Post(platform::MessageKind::Char, next());
        break;
      case 2: {
        const std::size_t length = next();
        const std::size_t start = at;
        at = std::min(size, at + length);
        memo.SetText(
            CStr(std::string_view(reinterpret_cast<const char*>(data) + start, at - start)));
        undoable = false;
        break;
      }
      case 3: {
        const int x = next(), y = next() % 170;
        editor->Post(platform::MessageKind::LeftButtonDown, x, y);
        editor->Post(platform::MessageKind::LeftButtonUp, x, y);
        break;
      }
      case 4:
        memo.Lines->Clear();
        editor->Post(platform::MessageKind::KeyDown, 30);  // any key puts a line back
        undoable = false;
        break;
      case 5:
        memo.VertBar->SetPosition(CFloat(next()) - CFloat(8));
        break;
      case 6: {
        const int x = next(), y = next() % 170, x2 = next(), y2 = next() % 170;
        editor->Post(platform::MessageKind::LeftButtonDown, x, y);
        editor->Post(platform::MessageKind::MouseMove, x2, y2);
        editor->Post(platform::MessageKind::LeftButtonUp, x2, y2);
        break;
      }
      case 7: {
        const std::size_t length = next();
        const std::size_t from = at;
        at = std::min(size, at + length);
        platform::SetClipboardText(
            std::string_view(reinterpret_cast<const char*>(data) + from, at - from));
        break;
      }
    }
    editor->RunUntilIdle();
    editor->CheckInvariants();
  }
  if (undoable) {
    while (memo.Undo()) {
    }
    Check(bool(memo.GetText() == start));
    editor->CheckInvariants();
  }
  return 0;
}
