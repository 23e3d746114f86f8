#include "tools/qxtree/Export.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/App.h"
#include "core/Cp1251.h"
#include "model/Info.h"
#include "platform/Text.h"
#include "storage/File.h"
#include "tools/qxtree/ProjectFile.h"
#include "writer/Writer.h"

namespace qxtree {

int Export(const std::string& file, const std::string& element, const std::string& folder) {
  CApp app;
  CInfo& root = app.InfoMan.Root;
  if (!Load(file, root, Skips::Refused)) return 1;
  CInfo* target = FindElement(root, element);
  if (!target) {
    Report(file, CStr("нет элемента "_cp) + CStr(platform::Utf8ToCp1251(element)));
    return 1;
  }
  const writer::Written written = writer::WriteApplication(*target);
  if (!written.Error.empty()) {
    Report(file, CStr(written.Error));
    return 1;
  }
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  for (const writer::WrittenFile& out : written.Files) {
    const std::filesystem::path path = std::filesystem::path(folder) / out.Name;
    {
      std::ifstream old(path, std::ios::binary);
      if (old && std::string(std::istreambuf_iterator<char>(old), std::istreambuf_iterator<char>()) == out.Text)
        continue;
    }
    CFile written(CHostPath{path.string()}, CFile::kCreate);
    const bool wrote = written.IsOpen() && written.Write(out.Text.data(), std::int32_t(out.Text.size())).Value ==
                                               std::int32_t(out.Text.size());
    if (!wrote || !written.Close()) {
      Report(path.string(), CStr("не удалось записать файл: "_cp) + written.FailureText());
      return 1;
    }
  }
  return 0;
}

}  // namespace qxtree
