// The application's run loops. Apart from the rest of CApp so that programs that never run a
// loop (qxtree) do not link the message queue, and with it SDL and its libraries.
#include "core/App.h"
#include "platform/Messages.h"

void CApp::Run() {
  Running = true;
  platform::Message message;
  while (Running && platform::GetMessage(message)) {
    platform::TranslateMessage(message);
    platform::DispatchMessage(message);
    Idle();
  }
}

void CApp::Quit() {
  Running = false;
}

void CApp::RunModal() {
  Modal = true;
  platform::Message message;
  while (Modal) {
    if (!platform::GetMessage(message)) {
      // The quit message ends this loop and must still reach the outer one: a program whose
      // last window is gone would otherwise wait forever.
      platform::PostQuitMessage(message.a);
      Modal = false;
      break;
    }
    platform::TranslateMessage(message);
    platform::DispatchMessage(message);
    Idle();
  }
}

void CApp::EndModal() {
  Modal = false;
}
