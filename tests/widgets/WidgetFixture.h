// What the widget tests share: the application under the harness, a window, the fonts and
// pictures the environment would have, and a legend for the classic look's greys.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "controls/Control.h"
#include "controls/CtrlApp.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "tests/support/Gui.h"

namespace qxtest {

// The greys of the classic look, and black for what the view leaves unpainted.
constexpr Pixel kFace = 0xCCCCCC;    // 0.8
constexpr Pixel kShadow = 0x808080;  // 0.5

const std::map<Pixel, char> kGreys = {{kWhite, 'W'}, {kFace, '.'}, {kShadow, 'd'}, {kBlack, 'k'}};

inline std::string Point(const CPoint& p) {
  return "(" + std::to_string(static_cast<long long>(p.X.Round().Value)) + "," +
         std::to_string(static_cast<long long>(p.Y.Round().Value)) + ")";
}

inline std::string Corners(const CRect& r) {
  return Point(r.M1) + "-" + Point(r.M2);
}

// Registers a font the way the environment's main window does and answers its number.
inline CInt AddFont(CControl& window, const char* objectName, int height) {
  auto* font = new CFont;  // the font manager keeps it
  font->Set(0, height, false, false, false, false, false, "MS Sans Serif", objectName);
  return window.GetCanvas()->CreateFont(font);
}

// The pictures the build drew, on this test program's drive C: where the environment finds them.
inline void InstallPictures() {
  const char* drive = std::getenv("QXWORKS_DRIVE_C");
  ASSERT_NE(drive, nullptr);
  const std::filesystem::path target = std::filesystem::path(drive) / "Qxe" / "Pics";
  std::filesystem::create_directories(target);
  std::filesystem::copy(
      std::filesystem::path(QX_BINARY_DIR) / "pics", target,
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

class WidgetTest : public testing::Test {
 protected:
  // A window of 200 by 150 at the screen's top-left corner, with the "Text" font as font 0.
  WidgetTest() {
    root->SetBounds(0, 0, 200, 150, true);
    AddFont(*root, "Text", 13);
  }

  Gui gui;
  std::unique_ptr<CControl> root = std::make_unique<CControl>(nullptr);
};

}  // namespace qxtest
