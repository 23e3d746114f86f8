#include "compiler/Compiler.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <thread>

#include "platform/Process.h"

namespace compiler {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// One argument a line; empty lines are skipped.
bool ReadArguments(const std::string& path, std::vector<std::string>& into) {
  std::ifstream in(path);
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) into.push_back(line);
  }
  return true;
}

std::optional<fs::file_time_type> ChangedAt(const std::string& path) {
  std::error_code failure;
  const auto time = fs::last_write_time(path, failure);
  if (failure) return std::nullopt;
  return time;
}

}  // namespace

std::string ObjectOf(const std::string& source) {
  return fs::path(source).replace_extension(".o").string();
}

bool FindToolchain(const std::string& toolkitRoot, Toolchain& tools, std::string& error) {
  tools = Toolchain();
  const char* cxx = std::getenv("CXX");
  if (cxx && !Words(cxx).empty()) {
    tools.Compiler = Words(cxx);
    const std::string found = platform::FindProgram(tools.Compiler[0]);
    if (found.empty()) {
      error = "Не найден компилятор C++ из переменной CXX: " + tools.Compiler[0];
      return false;
    }
    tools.Compiler[0] = found;
  } else {
    for (const char* name : {"c++", "g++", "clang++"}) {
      const std::string found = platform::FindProgram(name);
      if (!found.empty()) {
        tools.Compiler = {found};
        break;
      }
    }
    if (tools.Compiler.empty()) {
      error = "Не найден компилятор C++: нет c++, g++ и clang++ в путях PATH (или укажите его в "
              "переменной CXX)";
      return false;
    }
  }
  if (toolkitRoot.empty()) {
    error = "Не найдены библиотеки Qxworks для программ (папка include/qxworks рядом с программой "
            "или в переменной QXWORKS_TOOLKIT)";
    return false;
  }
  const fs::path root(toolkitRoot);
  const fs::path include = root / "include" / "qxworks";
  tools.Archive = (root / "lib" / "libqxtoolkit.a").string();
  auto missing = [&](const fs::path& path) {
    error = "В библиотеках Qxworks нет файла " + path.string();
    return false;
  };
  if (!fs::is_directory(include)) return missing(include);
  if (!fs::is_regular_file(tools.Archive)) return missing(tools.Archive);
  const fs::path flags = root / "lib" / "qxworks" / "cxxflags.txt";
  if (!ReadArguments(flags.string(), tools.CompileFlags)) return missing(flags);
  tools.CompileFlags.push_back("-I" + include.string());
  tools.LinkArguments.push_back(tools.Archive);
  const fs::path link = root / "lib" / "qxworks" / "link.txt";
  if (!ReadArguments(link.string(), tools.LinkArguments)) return missing(link);
  return true;
}

// [SECTION] The job

Job::Job(const Toolchain& tools, const compiler::Plan& plan) : tools_(tools), plan_(plan) {}

Job::~Job() { Cancel(); }

std::unique_ptr<Job> Job::Start(const Toolchain& tools, const compiler::Plan& plan) {
  std::unique_ptr<Job> job(new Job(tools, plan));
  job->Schedule();
  job->Poll();
  return job;
}

// A source is compiled when its object is missing or older than it or than any written header.
void Job::Schedule() {
  std::optional<fs::file_time_type> newestHeader;
  for (const std::string& header : plan_.Headers) {
    const auto at = ChangedAt(plan_.Folder + "/" + header);
    if (at && (!newestHeader || *at > *newestHeader)) newestHeader = at;
  }
  for (const std::string& source : plan_.Sources) {
    const auto sourceAt = ChangedAt(plan_.Folder + "/" + source);
    const auto objectAt = ChangedAt(plan_.Folder + "/" + ObjectOf(source));
    if (sourceAt && objectAt && *objectAt >= *sourceAt && (!newestHeader || *objectAt >= *newestHeader))
      continue;
    Step step;
    step.Arguments = tools_.Compiler;
    step.Arguments.insert(step.Arguments.end(),
                          {"-c", "-fdiagnostics-color=never", "-fno-diagnostics-show-caret"});
    step.Arguments.insert(step.Arguments.end(), tools_.CompileFlags.begin(),
                          tools_.CompileFlags.end());
    step.Arguments.insert(step.Arguments.end(), {source, "-o", ObjectOf(source)});
    compiles_.push_back(std::move(step));
  }
}

bool Job::StartStep(Step& step) {
  std::string error;
  step.Running = platform::Process::Start(step.Arguments, plan_.Folder, error);
  if (!step.Running) {
    Fail("Не удалось запустить " + step.Arguments[0] + ": " + error);
    return false;
  }
  return true;
}

void Job::Collect(Step& step) {
  if (!step.Running) return;
  for (platform::OutputLine& line : step.Running->TakeLines())
    lines_.push_back(ParseCompilerLine(line.Text));
}

void Job::Fail(const std::string& text) {
  ok_ = false;
  BuildLine line;
  line.Text = text;
  line.Kind = LineKind::Outcome;
  lines_.push_back(line);
}

bool Job::Poll() {
  if (done_) return false;
  const std::size_t parallel = std::max(1u, std::thread::hardware_concurrency());
  std::size_t running = 0;
  for (std::size_t i = 0; i < nextCompile_; ++i) {
    Step& step = compiles_[i];
    if (!step.Running) continue;
    Collect(step);
    if (!step.Running->Finished()) {
      ++running;
      continue;
    }
    Collect(step);
    if (step.Running->ExitCode() != 0) ok_ = false;
    step.Running.reset();
  }
  // After a failure no further source is started; the ones that run finish, for their messages.
  while (ok_ && running < parallel && nextCompile_ < compiles_.size()) {
    if (!StartStep(compiles_[nextCompile_++])) break;
    ++compiled_;
    ++running;
  }
  if (running > 0 || (ok_ && nextCompile_ < compiles_.size())) return true;
  if (!linking_) {
    if (!ok_) {
      done_ = true;
      return false;
    }
    LinkOrFinish();
    return !done_;
  }
  Collect(link_);
  if (!link_.Running->Finished()) return true;
  Collect(link_);
  const std::string linked = link_.Arguments.back();
  if (link_.Running->ExitCode() != 0) {
    ok_ = false;
    std::error_code ignored;
    fs::remove(plan_.Folder + "/" + linked, ignored);
  } else {
    std::error_code failure;
    fs::rename(plan_.Folder + "/" + linked, plan_.Program, failure);
    if (failure)
      Fail("Не удалось записать программу " + plan_.Program + ": " + failure.message());
    else
      linked_ = true;
  }
  link_.Running.reset();
  done_ = true;
  return false;
}

// The program is linked when it is missing or older than an object or the toolkit's archive.
void Job::LinkOrFinish() {
  if (plan_.Program.empty()) {  // a library: its objects are what it makes
    done_ = true;
    return;
  }
  const auto programAt = ChangedAt(plan_.Program);
  bool stale = !programAt || compiled_ > 0;
  std::vector<std::string> objects;
  for (const std::string& source : plan_.Sources) {
    objects.push_back(ObjectOf(source));
    const auto at = ChangedAt(plan_.Folder + "/" + objects.back());
    if (!at || (programAt && *at > *programAt)) stale = true;
  }
  const auto archiveAt = ChangedAt(tools_.Archive);
  if (programAt && archiveAt && *archiveAt > *programAt) stale = true;
  if (!stale) {
    done_ = true;
    return;
  }
  std::error_code ignored;
  fs::create_directories(fs::path(plan_.Program).parent_path(), ignored);
  // Beside the objects, named after the program, and renamed over it only once whole.
  const std::string linked = "." + fs::path(plan_.Program).filename().string() + ".linking";
  link_.Arguments = tools_.Compiler;
  link_.Arguments.insert(link_.Arguments.end(), objects.begin(), objects.end());
  link_.Arguments.insert(link_.Arguments.end(), tools_.LinkArguments.begin(),
                         tools_.LinkArguments.end());
  link_.Arguments.insert(link_.Arguments.end(), {"-o", linked});
  linking_ = true;
  if (!StartStep(link_)) done_ = true;
}

void Job::Finish() {
  while (Poll()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void Job::Cancel() {
  if (done_) return;
  for (Step& step : compiles_)
    if (step.Running) step.Running->Stop();
  if (link_.Running) link_.Running->Stop();
  for (Step& step : compiles_) {
    if (step.Running) step.Running->Wait();
    Collect(step);
    step.Running.reset();
  }
  if (link_.Running) {
    link_.Running->Wait();
    std::error_code ignored;
    fs::remove(plan_.Folder + "/" + link_.Arguments.back(), ignored);
    link_.Running.reset();
  }
  Fail("Сборка прервана");
  done_ = true;
}

std::vector<BuildLine> Job::TakeLines() {
  std::vector<BuildLine> taken;
  taken.swap(lines_);
  return taken;
}

}  // namespace compiler
