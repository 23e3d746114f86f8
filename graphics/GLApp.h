// The graphics layer of the application object: what every graphical program needs before its
// first window exists (the screen, the font manager, the dotted-frame pattern), and the
// registration of the graphics value classes.
#pragma once

#include <memory>

#include "core/App.h"
#include "graphics/Bitmap.h"
#include "graphics/Font.h"
#include "graphics/Screen.h"

class CGLApp : public CApp {
 public:
  CGLApp();
  ~CGLApp() override;

  // 2 x 2: black at (0, 0) and (1, 1), white at (1, 0) and (0, 1).
  CGDIBitmap Pattern;
  std::unique_ptr<CScreen> Screen;
  std::unique_ptr<CFontManager> FontManager;
};

// The graphics pointer: canvas, screen and font code reach the application object through it.
// It points to the same object as the core pointer.
inline CGLApp* GLApp = nullptr;
