#include "compiler/Application.h"

#include <filesystem>
#include <system_error>

#include "core/App.h"
#include "model/Kinds.h"
#include "platform/Files.h"

namespace compiler {
namespace {

namespace fs = std::filesystem;

bool EndsWith(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

CInfo* ApplicationOf(CInfo* element) {
  for (CInfo* node = element; node; node = node->Parent)
    if (dynamic_cast<CAppInfo*>(node) || dynamic_cast<CLibInfo*>(node)) return node;
  return nullptr;
}

std::string ProgramPath(const CInfo& app) {
  if (!dynamic_cast<const CAppInfo*>(&app)) return "";
  const CStr home = CoreApp ? CoreApp->HomeDir : CStr("C:\\Qxe");
  return platform::LinuxPath((home + "\\" + app.GetName()).View());
}

Prepared Prepare(CInfo& app) {
  Prepared prepared;
  prepared.Written = writer::WriteApplication(app);
  if (!prepared.Written.Error.empty()) {
    prepared.Error = CStr(prepared.Written.Error);
    prepared.Faulty = prepared.Written.Faulty;
    return prepared;
  }
  const CStr folder = writer::BuildFolder(app);
  std::string error;
  if (!writer::StoreChanged(prepared.Written, folder, error)) {
    prepared.Error = CStr(error);
    return prepared;
  }
  prepared.Plan.Folder = platform::LinuxPath(folder.View());
  for (const writer::WrittenFile& file : prepared.Written.Files) {
    if (EndsWith(file.Name, ".cpp")) prepared.Plan.Sources.push_back(file.Name);
    if (EndsWith(file.Name, ".h")) prepared.Plan.Headers.push_back(file.Name);
  }
  prepared.Plan.Program = ProgramPath(app);
  return prepared;
}

bool ProgramIsCurrent(const Prepared& prepared) {
  std::error_code failure;
  if (prepared.Plan.Program.empty()) return false;
  const auto programAt = fs::last_write_time(prepared.Plan.Program, failure);
  if (failure) return false;
  for (const writer::WrittenFile& file : prepared.Written.Files) {
    const auto at = fs::last_write_time(prepared.Plan.Folder + "/" + file.Name, failure);
    if (failure || at > programAt) return false;
  }
  return true;
}

writer::LinePlace PlaceOf(const writer::Written& written, const BuildLine& line) {
  if (line.File.empty() || line.Line <= 0) return {};
  // Written files are compiled by their plain names; a path names some other file.
  for (const writer::WrittenFile& file : written.Files)
    if (file.Name == line.File && line.Line <= static_cast<int>(file.Lines.size()))
      return file.Lines[static_cast<std::size_t>(line.Line - 1)];
  return {};
}

}  // namespace compiler
