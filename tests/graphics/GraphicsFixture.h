// The graphics tests run a real graphics application under SDL's offscreen driver with the
// virtual clock: canvases get real windows, drawing goes into real buffers that the tests read
// back, and messages go through the platform's queue.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/GDI.h"
#include "graphics/GLApp.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/draw/Surface.h"

namespace qxtest {

using platform::Pixel;

constexpr Pixel kPaper = 0xFFFFFF;
constexpr Pixel kInk = 0x000000;

class GraphicsTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::UseVirtualClock();
    app_ = std::make_unique<CGLApp>();
    Pump();
  }

  void TearDown() override {
    const bool hadWindows = !canvases_.empty();
    canvases_.clear();
    Pump();
    // Each destroyed canvas with a window posted the quit message; take it, so the next test's
    // loop does not end at once.
    platform::Message m;
    bool quit = !hadWindows;
    for (int i = 0; i < 100 && !quit; ++i) quit = !platform::GetMessage(m);
    EXPECT_TRUE(quit) << "a destroyed canvas posts the quit message";
    app_.reset();
  }

  // A canvas with its window, its buffer painted white.
  CGDI& MakeCanvas() {
    canvases_.push_back(std::make_unique<CGDI>());
    CGDI& canvas = *canvases_.back();
    Clear(canvas);
    return canvas;
  }

  static void Clear(CGDI& canvas, Pixel color = kPaper) {
    canvas.BufferBitmap.pixels.assign(canvas.BufferBitmap.pixels.size(), color);
  }

  // Translates and dispatches every waiting message.
  static int Pump() {
    platform::Message m;
    int n = 0;
    while (platform::PeekMessage(m)) {
      platform::TranslateMessage(m);
      platform::DispatchMessage(m);
      ++n;
    }
    return n;
  }

  // The buffer (or any picture) as rows of characters: '#' ink, '.' paper, '?' anything else,
  // unless the legend says otherwise.
  static std::string Picture(const platform::Surface& s, int left, int top, int width, int height,
                             const std::map<Pixel, char>& legend = {{kInk, '#'}, {kPaper, '.'}}) {
    std::string out;
    for (int y = top; y < top + height; ++y) {
      for (int x = left; x < left + width; ++x) {
        const auto it = legend.find(s.At(x, y));
        out += it == legend.end() ? '?' : it->second;
      }
      out += '\n';
    }
    return out;
  }

  static std::string Rows(const std::vector<std::string>& rows) {
    std::string out;
    for (const std::string& row : rows) out += row + '\n';
    return out;
  }

  std::unique_ptr<CGLApp> app_;
  std::vector<std::unique_ptr<CGDI>> canvases_;
};

}  // namespace qxtest
