// The work behind Build and Run, done beside the environment: the compilers and the started
// program run as processes of their own, and a timer's tick brings their lines into the list under
// the workspace while the window goes on answering. One build and one program at a time.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "compiler/Application.h"
#include "graphics/Timer.h"

class CForm1;
class CInfo;

namespace platform {
class Process;
}

class CWorkshop {
 public:
  explicit CWorkshop(CForm1& form);
  // Stops a build that runs and the program, whose output would have nowhere to go.
  ~CWorkshop();
  CWorkshop(const CWorkshop&) = delete;
  CWorkshop& operator=(const CWorkshop&) = delete;

  // Builds the application that holds the element.
  void Build(CInfo* element);
  // Starts the program of the application that holds the element, building it first when it is
  // missing or older than the application's files.
  void Run(CInfo* element);

  bool Building() const { return job_ != nullptr; }
  bool ProgramRuns() const { return program_ != nullptr; }
  // Takes what the compilers and the program wrote; the timer calls it.
  void Tick();

  // The elements at or below gone are about to be destroyed: no line leads to them any more.
  void Forget(const CInfo* gone);

  static constexpr int kTickMs = 50;

 private:
  // The build's first steps; false when it could not begin (a box said why).
  bool Prepare(CInfo* element);
  void StartBuild();
  void EndBuild();
  void StartProgram();
  void Status(const CStr& text);
  void Line(const CStr& text, compiler::LineKind kind, CInfo* element = nullptr, int codeLine = -1);
  void Keep();  // the timer runs while there is something to take

  CForm1& form_;
  compiler::Prepared prepared_;  // of the last build: its map from lines to elements
  std::unique_ptr<compiler::Job> job_;
  bool runAfterBuild_ = false;
  std::chrono::steady_clock::time_point started_;
  int errors_ = 0;
  int warnings_ = 0;
  std::unique_ptr<platform::Process> program_;
  CStr programName_;
  CTimer timer_;
};
