// The configuration of the last Save, loading on a thread of its own while the main window is
// built. It loads into a tree apart from the application's, which the window may look at
// meanwhile (empty, as before any load). The loading thread touches nothing else of the model
// but the class registry, which it only reads, and the name manager, shared between the two
// threads until the join. Join hands the loaded projects to the application's tree.
//
//   CConfigLoad load(*CoreApp);  // stale temporaries of killed saves removed, the load begun
//   ...                          // build the window
//   const CLoadReport report = load.Join();
#pragma once

#include <future>
#include <thread>

#include "model/Info.h"

class CApp;

class CConfigLoad {
 public:
  explicit CConfigLoad(CApp& app);
  // Waits for the thread when Join was never reached (an exception on the way).
  ~CConfigLoad();
  CConfigLoad(const CConfigLoad&) = delete;
  CConfigLoad& operator=(const CConfigLoad&) = delete;

  // Waits for the load and reports it as LoadConfig does, and leaves the application's tree as
  // LoadConfig would: what the file holds when it was read, untouched when it was refused. An
  // exception the load threw is thrown here.
  CLoadReport Join();
  // True while the thread is still loading: a join now would wait.
  bool Loading() const;

 private:
  CApp& app_;
  CInfo loaded_;
  std::packaged_task<CLoadReport()> task_;
  std::future<CLoadReport> loading_;
  std::thread thread_;  // none when no thread could be had: the task then runs at the join
};
