#include "tools/qxtree/ProjectFile.h"

#include <cstdio>

#include "platform/Text.h"
#include "storage/Config.h"
#include "storage/File.h"
#include "storage/Stream.h"

namespace qxtree {

void Report(const std::string& file, const CStr& message) {
  const std::string text = platform::Cp1251ToUtf8(message.View());
  std::fprintf(stderr, "qxtree: %s: %s\n", file.c_str(), text.c_str());
}

bool Load(const std::string& path, CInfo& root, Skips skips) {
  CLoadReport report;
  {
    CSecretFile file(CHostPath{path}, CFile::kRead);
    file.Key = "";
    report = ReadConfigFile(file, root);
  }
  if (!report.Ok()) {
    Report(path, report.Fault);
    return false;
  }
  for (const CStr& skipped : report.Skipped) Report(path, skipped);
  if (report.Skipped.empty() || skips == Skips::Allowed) return true;
  if (skips == Skips::Refused) return false;
  CStr why;
  const CStr copy = KeepDamagedHostFile(path, why);
  NoteKeptCopy(report, copy, why);
  Report(path, report.Kept);
  return !report.KeepFailed;
}

bool Save(const std::string& path, CInfo& root) {
  CMemory record;
  if (const CStr why = ReadableRecord(root, record); why.Length().Value) {
    Report(path, why);
    return false;
  }
  CSecretFile file(CHostPath{path}, CFile::kCreate);
  file.Key = "";
  const CStr failed = WriteConfigFile(file, record);
  if (failed.Length().Value == 0) return true;
  Report(path, failed);
  return false;
}

CInfo* FindElement(CInfo& root, const std::string& path) {
  CInfo* node = &root;
  std::size_t from = 0;
  while (node && from <= path.size()) {
    const std::size_t slash = std::min(path.find('/', from), path.size());
    const CStr name(platform::Utf8ToCp1251(path.substr(from, slash - from)));
    CInfo* found = nullptr;
    for (std::int32_t i = 0; i < node->ChildCount().Value && !found; ++i)
      if (node->Child(i)->GetName() == name) found = node->Child(i);
    node = found;
    from = slash + 1;
  }
  return node;
}

}  // namespace qxtree
