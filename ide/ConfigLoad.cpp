#include "ide/ConfigLoad.h"

#include <chrono>
#include <system_error>
#include <utility>
#include <vector>

#include "core/App.h"
#include "model/NameManager.h"
#include "platform/Threads.h"
#include "storage/Config.h"

CConfigLoad::CConfigLoad(CApp& app)
    : app_(app), task_([this] { return LoadConfig(app_, loaded_); }), loading_(task_.get_future()) {
  // Left by a save that was killed, as a crash would; gone before the load looks.
  RemoveStaleConfigSaves(app);
  app.NameMan->SetShared(true);
  try {
    thread_ = std::thread([this] { task_(); });
    platform::RunBeside(thread_);
  } catch (const std::system_error&) {
    // Where no thread can be had, the load runs at the join instead, with the same results.
  }
}

// A load still running must end before its tree goes; one that never began is dropped.
CConfigLoad::~CConfigLoad() {
  if (thread_.joinable()) thread_.join();
  app_.NameMan->SetShared(false);
}

bool CConfigLoad::Loading() const {
  return thread_.joinable() &&
         loading_.wait_for(std::chrono::seconds(0)) == std::future_status::timeout;
}

CLoadReport CConfigLoad::Join() {
  if (thread_.joinable())
    thread_.join();
  else
    task_();
  CLoadReport report = loading_.get();
  app_.NameMan->SetShared(false);
  if (!report.Ok()) return report;
  // As a load into the application's tree itself: its old children go, the file's take their
  // place, and the root takes the file's texts.
  CInfo& root = app_.InfoMan.Root;
  root.Children.Clear();
  root.SetName(loaded_.GetName());
  root.About = loaded_.About;
  const CStr& extra = std::as_const(loaded_).Extra();
  if (extra.Length().Value || std::as_const(root).Extra().Length().Value) root.Extra() = extra;
  std::vector<CInfo*> children;
  for (std::int32_t i = 0; i < loaded_.ChildCount().Value; ++i)
    children.push_back(loaded_.Child(i));
  loaded_.Children.RemoveAll();
  for (CInfo* child : children) root.Append(child);
  return report;
}
