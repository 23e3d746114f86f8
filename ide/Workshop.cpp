#include "ide/Workshop.h"

#include <cstdio>
#include <string>

#include "controls/Text.h"
#include "core/App.h"
#include "core/Cp1251.h"
#include "ide/Form1.h"
#include "ide/OutputBox.h"
#include "model/Kinds.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Text.h"
#include "platform/Toolkit.h"

namespace {

CStr FromUtf8(const std::string& text) {
  return CStr(platform::Utf8ToCp1251(text, '?'));
}

// "2,4 с": seconds with one decimal, as Russian writes them.
CStr Seconds(std::chrono::steady_clock::duration taken) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f",
                std::chrono::duration<double>(taken).count());
  std::string seconds = text;
  for (char& c : seconds)
    if (c == '.') c = ',';
  return CStr(seconds) + " с"_cp;
}

CStr Number(int n) {
  return CStr(std::to_string(n));
}

}  // namespace

CWorkshop::CWorkshop(CForm1& form) : form_(form) {
  timer_.SetInterval(kTickMs);
  timer_.OnTimer.Set(this, &CWorkshop::Tick);
}

CWorkshop::~CWorkshop() {
  timer_.SetEnabled(false);
  job_.reset();
  program_.reset();
}

void CWorkshop::Status(const CStr& text) {
  form_.StatusText->Str = text;
  form_.StatusBox->Invalidate();
}

void CWorkshop::Line(const CStr& text, compiler::LineKind kind, CInfo* element, int codeLine) {
  form_.BottomBox->Add(text, kind, element, codeLine);
}

void CWorkshop::Keep() {
  const bool wanted = job_ || program_;
  if (bool(timer_.Enabled()) != wanted) timer_.SetEnabled(wanted);
}

// [SECTION] Build

void CWorkshop::Build(CInfo* element) {
  if (job_) {
    Status("Сборка уже идёт"_cp);
    return;
  }
  runAfterBuild_ = false;
  if (Prepare(element)) StartBuild();
}

bool CWorkshop::Prepare(CInfo* element) {
  CInfo* app = compiler::ApplicationOf(element);
  if (!app) {
    Status("Выделенный элемент не принадлежит приложению или библиотеке"_cp);
    return false;
  }
  // What the user typed and designed so far is what gets built.
  form_.WriteBackEditor();
  form_.WriteDesigns(app);
  prepared_ = compiler::Prepare(*app);
  if (!prepared_.Error.View().empty()) {
    Status("Сборка не начата"_cp);
    form_.Report(prepared_.Error);
    return false;
  }
  programName_ = app->GetName();
  return true;
}

void CWorkshop::StartBuild() {
  compiler::Toolchain tools;
  std::string error;
  if (!compiler::FindToolchain(platform::ToolkitRoot(), tools, error)) {
    Status("Сборка не начата"_cp);
    form_.Report(FromUtf8(error));
    return;
  }
  form_.BottomBox->Clear();
  errors_ = warnings_ = 0;
  Status("Сборка…"_cp);
  started_ = std::chrono::steady_clock::now();
  job_ = compiler::Job::Start(tools, prepared_.Plan);
  Tick();
}

void CWorkshop::EndBuild() {
  const bool ok = job_->Succeeded();
  const bool nothingToDo = job_->Compiled() == 0 && !job_->Linked();
  job_.reset();
  const CStr taken = Seconds(std::chrono::steady_clock::now() - started_);
  CStr text;
  if (!ok)
    text = CStr("Сборка не удалась: ошибок "_cp) + Number(errors_) + ", предупреждений "_cp +
           Number(warnings_) + ", " + taken;
  else if (nothingToDo)
    text = CStr("Сборка: всё уже собрано, "_cp) + taken;
  else
    text = CStr("Сборка завершена: предупреждений "_cp) + Number(warnings_) + ", " + taken;
  Line(text, compiler::LineKind::Outcome);
  Status(text);
  if (ok && runAfterBuild_) StartProgram();
}

// [SECTION] Run

void CWorkshop::Run(CInfo* element) {
  CInfo* app = compiler::ApplicationOf(element);
  if (!app || !dynamic_cast<CAppInfo*>(app)) return;  // only an application has a program
  if (program_) {
    Status(CStr("Программа "_cp) + app->GetName() + " ещё работает"_cp);
    return;
  }
  if (job_) {
    Status("Сборка уже идёт"_cp);
    return;
  }
  if (!Prepare(element)) return;
  if (compiler::ProgramIsCurrent(prepared_)) {
    form_.BottomBox->Clear();
    StartProgram();
    return;
  }
  runAfterBuild_ = true;
  StartBuild();
}

void CWorkshop::StartProgram() {
  const std::string& path = prepared_.Plan.Program;
  std::string error;
  const CStr home = CoreApp ? CoreApp->HomeDir : CStr("C:\\Qxe");
  program_ = platform::Process::Start({path}, platform::LinuxPath(home.View()), error);
  if (!program_) {
    Status(CStr("Программа "_cp) + programName_ + " не запущена"_cp);
    form_.Report(CStr("Не удалось запустить программу приложения "_cp) + programName_ + ":\n" +
                 FromUtf8(path) + "\n" + FromUtf8(error));
    return;
  }
  Line(CStr("Запущена программа "_cp) + FromUtf8(path), compiler::LineKind::Outcome);
  Status(CStr("Программа "_cp) + programName_ + " работает"_cp);
  Keep();
}

// [SECTION] Lines

void CWorkshop::Tick() {
  if (job_) {
    const bool running = job_->Poll();
    for (const compiler::BuildLine& line : job_->TakeLines()) {
      if (line.Kind == compiler::LineKind::Error) ++errors_;
      if (line.Kind == compiler::LineKind::Warning) ++warnings_;
      writer::LinePlace place;
      if (compiler::IsProblem(line.Kind)) place = compiler::PlaceOf(prepared_.Written, line);
      Line(FromUtf8(line.Text), line.Kind, place.Element, place.CodeLine);
    }
    if (!running) EndBuild();
  }
  if (program_) {
    // Finished first: once it holds, every line the program wrote is there to take.
    const bool ended = program_->Finished();
    for (const platform::OutputLine& line : program_->TakeLines())
      Line(CStr(line.Error ? "[программа, ошибки] "_cp : "[программа] "_cp) + FromUtf8(line.Text),
           line.Error ? compiler::LineKind::ProgramError : compiler::LineKind::Program);
    if (ended) {
      const CStr how = program_->Signal() != 0
                           ? CStr("остановлена сигналом "_cp) + Number(program_->Signal())
                           : CStr("завершилась с кодом "_cp) + Number(program_->ExitCode());
      const CStr text = CStr("Программа "_cp) + programName_ + " " + how;
      program_.reset();
      Line(text, compiler::LineKind::Outcome);
      Status(text);
    }
  }
  Keep();
}

void CWorkshop::Forget(const CInfo* gone) {
  for (writer::WrittenFile& file : prepared_.Written.Files)
    for (writer::LinePlace& place : file.Lines)
      if (place.Element && InSubtree(place.Element, gone)) place.Element = nullptr;
  if (prepared_.Faulty && InSubtree(prepared_.Faulty, gone)) prepared_.Faulty = nullptr;
}
