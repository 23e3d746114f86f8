// The application's view of the display: its size, the canvases of the application with the
// main one among them, the whole-screen desktop canvas and the installed font families.
#pragma once

#include <memory>

#include "core/List.h"
#include "graphics/GDI.h"
#include "graphics/Timer.h"

class CScreen : public CDevice {
 public:
  // Builds the desktop, then the list of font families.
  CScreen();
  CScreen(const CScreen&) = delete;
  CScreen& operator=(const CScreen&) = delete;
  ~CScreen() override;

  // The display's size, asked of the platform each time.
  CInt ScreenWidth() const;
  CInt ScreenHeight() const;

  // The first canvas added becomes the main canvas, whose closing ends the application.
  void AddCanvas(CCanvas* canvas);
  // A destroyed canvas leaves the list (and stops being the main canvas).
  void RemoveCanvas(CCanvas* canvas);

  std::unique_ptr<CDesktop> Desktop;
  CList Canvases;  // of CCanvas, not owned, in creation order
  CCanvas* MainCanvas = nullptr;
  CStrList FontNames;
};
