// qxworks: the environment's entry point. It builds the application object, whose main window
// opens with the projects of the last Save, runs the message loop until the main window is
// closed, and ends with exit code 0. A first start puts the pictures that came with the program
// on drive C:, where the user may change them.
#include <cstdio>
#include <exception>
#include <memory>

#include "ide/App1.h"
#include "platform/Install.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"

int main() {
  // Without a display there is nothing to show and nothing could ever close the main window.
  if (!platform::RealDisplay()) {
    std::fputs("qxworks: no display to show the environment on (is DISPLAY set? Without an X "
               "server, SDL_VIDEODRIVER=wayland tries SDL's own Wayland driver)\n",
               stderr);
    return 1;
  }
  platform::CopyMissingFiles(platform::BundledPicturesFolder(platform::ProgramFolder()),
                             "C:\\Qxe\\Pics");
  try {
    auto app = std::make_unique<CApp1>();
    CtrlApp = app.get();
    app->Run();
  } catch (const std::exception& e) {
    platform::MessageBox(e.what(), "Qxworks");
  }
  return 0;
}
