#include "tools/qxtree/Build.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "compiler/Application.h"
#include "core/App.h"
#include "core/Cp1251.h"
#include "platform/Text.h"
#include "platform/Toolkit.h"
#include "tools/qxtree/ProjectFile.h"

namespace qxtree {
namespace {

void Say(const std::string& utf8) {
  std::fprintf(stderr, "%s\n", utf8.c_str());
}

}  // namespace

int Build(const std::string& file, const std::string& element) {
  CApp app;
  CInfo& root = app.InfoMan.Root;
  if (!Load(file, root, Skips::Allowed)) return 1;
  CInfo* target = FindElement(root, element);
  if (!target) {
    Report(file, CStr("нет элемента "_cp) + CStr(platform::Utf8ToCp1251(element)));
    return 1;
  }
  CInfo* application = compiler::ApplicationOf(target);
  if (!application) {
    Report(file, CStr(platform::Utf8ToCp1251(element)) +
                     ": не принадлежит приложению или библиотеке"_cp);
    return 1;
  }
  const compiler::Prepared prepared = compiler::Prepare(*application);
  if (!prepared.Error.View().empty()) {
    Report(file, prepared.Error);
    return 1;
  }
  compiler::Toolchain tools;
  std::string error;
  if (!compiler::FindToolchain(platform::ToolkitRoot(), tools, error)) {
    Say("qxtree: " + error);
    return 1;
  }
  auto job = compiler::Job::Start(tools, prepared.Plan);
  auto show = [&] {
    for (const compiler::BuildLine& line : job->TakeLines()) Say(line.Text);
  };
  while (job->Poll()) {
    show();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  show();
  if (!job->Succeeded()) return 1;
  if (!prepared.Plan.Program.empty()) Say("qxtree: " + prepared.Plan.Program);
  return 0;
}

}  // namespace qxtree
