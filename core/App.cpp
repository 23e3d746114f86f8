#include "core/App.h"

#include "core/Cp1251.h"
#include "model/ClassManager.h"
#include "model/NameManager.h"
#include "platform/Memory.h"

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
