// The application object: the model side of the one object that runs the program, and its run
// loops. The graphics, control and IDE layers subclass it.
#pragma once

#include <atomic>
#include <memory>

#include "core/Values.h"
#include "model/InfoMan.h"
#include "model/StdTypes.h"

class CClassManager;
class CNameManager;

class CApp : public CObject {
 public:
  // Builds, in this order: the operator table, the root node, the name manager, the home
  // directory, the class registry with the core and model classes, the standard types.
  CApp();
  ~CApp() override;
  CApp(const CApp&) = delete;
  CApp& operator=(const CApp&) = delete;

  CStr ClassName() const override;

  virtual void Idle();

  void Run();
  void Quit();
  void RunModal();
  void EndModal();

  CBool Running;
  CBool Modal;
  CStr HomeDir;
  std::unique_ptr<CClassManager> ClassMan;
  std::unique_ptr<CStdTypeMan> TypeMan;
  CStdOperMan OperMan;
  CInfoMan InfoMan;
  std::unique_ptr<CNameManager> NameMan;
  // Counts every change of the contents of any list: a view that remembers a walk over the
  // project tree compares it to know that no element was added, moved or removed since. Atomic
  // because the configuration loads on a thread of its own at start-up.
  std::atomic<std::uint64_t> ListChanges = 0;
};

// The core pointer: model code reaches the application object through it. The graphics and
// control pointers join it with their layers; all three point to the same object.
inline CApp* CoreApp = nullptr;
