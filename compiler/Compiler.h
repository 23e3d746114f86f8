// Building a program from the files the writer put in an application's build folder: each source
// compiled to an object beside it when it or a written header is newer than the object, the
// objects linked against the toolkit into a temporary file, and that file renamed to the program
// only when the link succeeded, so a failed build leaves the previous program in place.
//
// The build runs in the background: Start starts the first compilers and returns; whoever waits
// calls Poll now and then (a timer's tick) and takes the compiler's lines as they come.
//
//   compiler::Toolchain tools;
//   if (!compiler::FindToolchain(toolkitRoot, tools, error)) ...
//   auto job = compiler::Job::Start(tools, plan);
//   while (job->Poll()) { Show(job->TakeLines()); Sleep(); }
//   Show(job->TakeLines());  job->Succeeded() ...
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "compiler/Diagnostic.h"

namespace platform {
class Process;
}

namespace compiler {

// The compiler and what a program of the toolkit is compiled and linked with. Paths are Linux
// paths.
struct Toolchain {
  std::vector<std::string> Compiler;       // the program, then the arguments $CXX gave with it
  std::vector<std::string> CompileFlags;   // the toolkit's flags, then -I of its headers
  std::vector<std::string> LinkArguments;  // the toolkit's archive, then what it links with
  std::string Archive;                     // the toolkit's archive, whose change means a link
};

// The compiler: $CXX (a program and its arguments, split at spaces) when set, else the first of
// c++, g++ and clang++ on PATH; the toolkit from its root (include/qxworks, lib/libqxtoolkit.a,
// lib/qxworks/cxxflags.txt and link.txt). False with a Russian message in error when the compiler
// or any part of the toolkit is missing.
bool FindToolchain(const std::string& toolkitRoot, Toolchain& tools, std::string& error);

// What one build makes. File names are plain names in Folder.
struct Plan {
  std::string Folder;                // the build folder, holding the written files
  std::vector<std::string> Sources;  // compiled, each to <stem>.o in Folder
  std::vector<std::string> Headers;  // a change of any of them compiles every source again
  std::string Program;               // where the linked program goes; "": nothing is linked
};

class Job {
 public:
  // Compiles what is out of date and starts the first compilers (at most as many at a time as
  // the machine has cores). A build with nothing to do succeeds at once.
  static std::unique_ptr<Job> Start(const Toolchain& tools, const Plan& plan);
  ~Job();  // stops whatever still runs

  // Takes the finished steps' results and starts the next steps. True while the build runs.
  bool Poll();
  // Poll every few milliseconds until the build ends.
  void Finish();
  // Stops the compilers that run; the build fails.
  void Cancel();

  bool Running() const { return !done_; }
  bool Succeeded() const { return done_ && ok_; }
  // The lines since the last call: the compilers' and the linker's, parsed, and the job's own
  // outcome lines.
  std::vector<BuildLine> TakeLines();

  // How many sources were given to the compiler, and whether the program was linked.
  int Compiled() const { return compiled_; }
  bool Linked() const { return linked_; }

 private:
  struct Step {
    std::vector<std::string> Arguments;
    std::unique_ptr<platform::Process> Running;
  };

  Job(const Toolchain& tools, const Plan& plan);
  void Schedule();
  bool StartStep(Step& step);
  void Collect(Step& step);
  void Fail(const std::string& text);
  void LinkOrFinish();

  Toolchain tools_;
  compiler::Plan plan_;
  std::vector<Step> compiles_;
  std::size_t nextCompile_ = 0;
  Step link_;
  bool linking_ = false;
  bool done_ = false;
  bool ok_ = true;
  int compiled_ = 0;
  bool linked_ = false;
  std::vector<BuildLine> lines_;
};

// The object a source compiles to: "Main.cpp" -> "Main.o".
std::string ObjectOf(const std::string& source);

}  // namespace compiler
