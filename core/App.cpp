#include "core/App.h"

#include "core/Cp1251.h"
#include "model/ClassManager.h"
#include "model/NameManager.h"
#include "platform/Memory.h"
#include "platform/Messages.h"

CApp::CApp() {
  platform::TuneAllocator();
  // The members are built by now; the root's name was set before anyone could store it.
  CoreApp = this;
  NameMan = std::make_unique<CNameManager>();
  HomeDir = "C:\\Qxe";
  ClassMan = std::make_unique<CClassManager>();
  ClassMan->Register(CoreClassRows());
  TypeMan = std::make_unique<CStdTypeMan>();
  Running = false;
  Modal = false;
}

CApp::~CApp() {
  // Everything destroyed from here on belongs to a program that is ending: no more name lookups.
  if (CoreApp == this) CoreApp = nullptr;
}

CStr CApp::ClassName() const {
  return "CApp";
}

void CApp::Idle() {}

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
