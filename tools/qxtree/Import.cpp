#include "tools/qxtree/Import.h"

#include <cstdio>
#include <string>

#include "core/App.h"
#include "core/Cp1251.h"
#include "import/Import.h"
#include "model/Info.h"
#include "platform/Memory.h"
#include "platform/Text.h"
#include "tools/qxtree/ProjectFile.h"

namespace qxtree {
namespace {

// One text per line: the source's carriage returns would only garble a terminal.
void Line(const CStr& text) {
  std::string line = platform::Cp1251ToUtf8(text.View());
  std::erase(line, '\r');
  line += '\n';
  std::fputs(line.c_str(), stderr);
}

}  // namespace

int Import(const std::string& file, const std::string& element) {
  platform::KeepFreedMemory();  // the process ends once the tree is saved
  // The tree is left to the end of the process: taking a large one apart node by node costs
  // about as much as the import itself, and the user waits for it. CoreApp keeps it reachable.
  auto& app = *new CApp;
  CInfo& root = app.InfoMan.Root;  // the import looks for classes from the application's root
  // The save writes over the file without what the load passed over: the file is kept first.
  if (!Load(file, root, Skips::KeptAside)) return 1;
  CInfo* target = FindElement(root, element);
  if (!target) {
    Report(file, CStr("нет элемента "_cp) + CStr(platform::Utf8ToCp1251(element)));
    return 1;
  }
  // No recovery copy: the file stays as it was, and the report says what to mend.
  const CImportResult result = ImportCommand(target, Line);
  if (!result.Ok) return 1;
  for (const CUnplacedCode& code : result.Unplaced) Line(UnplacedText(code));
  return Save(file, root) ? 0 : 1;
}

}  // namespace qxtree
