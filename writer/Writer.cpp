// The application's files: which units, their names, the program's entry, and the files put in
// the build folder.
#include "writer/Writer.h"

#include <algorithm>
#include <memory>

#include "core/Cp1251.h"
#include "model/Kinds.h"
#include "model/SafeNames.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "storage/File.h"
#include "writer/Forms.h"
#include "writer/Units.h"

namespace writer {

namespace {

// The units of the application, in the tree's order; a package's units go with it.
void CollectUnits(CInfo& element, std::vector<CUnitInfo*>& units) {
  for (std::int32_t i = 0; i < element.ChildCount().Value; ++i) {
    CInfo* child = element.Child(i);
    if (auto* unit = dynamic_cast<CUnitInfo*>(child))
      units.push_back(unit);
    else if (dynamic_cast<CPackInfo*>(child) == nullptr)
      CollectUnits(*child, units);
  }
}

WrittenFile Finished(std::string name, CFileText& text) {
  // The model's texts are cp1251; the compiler reads UTF-8.
  return {std::move(name), platform::Cp1251ToUtf8(text.Text), std::move(text.Lines)};
}

// "Не удалось ..." with the element's name quoted.
std::string Named(const char* words, const CInfo& element) {
  return std::string(words) + "\"" + element.GetName().ToStd() + "\"";
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

Written WriteApplication(CInfo& start) {
  Written written;
  CInfo* app = &start;
  while (app && !dynamic_cast<CPackInfo*>(app)) app = app->Parent;
  if (!app) {
    written.Error = "Элемент не принадлежит приложению или библиотеке"_cp;
    written.Faulty = &start;
    return written;
  }
  if (const CInfo* bad = FirstUnsafeOnPath(*app)) {
    written.Error = Named(UnsafeNameWords(), *bad);
    written.Faulty = const_cast<CInfo*>(bad);
    return written;
  }
  std::vector<CUnitInfo*> units;
  CollectUnits(*app, units);
  for (std::size_t i = 0; i < units.size(); ++i) {
    CUnitInfo& unit = *units[i];
    if (!IsSafeFileName(unit.GetName().View())) {
      written.Error = Named(UnsafeNameWords(), unit);
      written.Faulty = &unit;
      return written;
    }
    // Two units of one name would write one pair of files (and the file system may not tell
    // letter cases apart).
    const bool clash = SameName(unit.GetName().ToStd() + ".cpp", kGeneratedMain) ||
                       std::any_of(units.begin(), units.begin() + std::ptrdiff_t(i), [&](const CUnitInfo* other) {
                         return SameName(other->GetName().View(), unit.GetName().View());
                       });
    if (clash) {
        written.Error = Named("Два модуля приложения с одним именем: "_cp, unit);
      written.Faulty = &unit;
      return written;
    }
  }
  for (CUnitInfo* unit : units) {
    CUnitWriter files(*unit);
    files.Write();
    const std::string name = unit->GetName().ToStd();
    written.Files.push_back(Finished(name + ".h", files.Header));
    written.Files.push_back(Finished(name + ".cpp", files.Source));
    if (!FormClasses(*unit).empty()) {
      CFileText forms = FormsFile(*unit);
      written.Files.push_back(Finished(FormsFileName(*unit), forms));
    }
  }
  if (dynamic_cast<CAppInfo*>(app)) {
    std::string why;
    CInfo* faulty = nullptr;
    std::optional<CFileText> entry = ProgramEntry(*app, units, why, faulty);
    if (!why.empty()) {
      written.Files.clear();
      written.Error = why;
      written.Faulty = faulty;
      return written;
    }
    if (entry) written.Files.push_back(Finished(kGeneratedMain, *entry));
  }
  return written;
}

bool StoreChanged(const Written& written, const CStr& folder, std::string& error) {
  CStr base = folder;
  if (!base.View().ends_with("\\")) base += "\\";
  for (const WrittenFile& file : written.Files) {
    const CStr path = base + CStr(file.Name);
    if (platform::FileExists(path.View())) {
      CFile old(path, CFile::kRead);
      if (old.IsOpen() && old.GetSize().Value == std::int32_t(file.Text.size())) {
        std::string bytes(file.Text.size(), '\0');
        if (old.Read(bytes.data(), std::int32_t(bytes.size())).Value == std::int32_t(bytes.size()) &&
            bytes == file.Text)
          continue;
      }
    }
    CFile out(path, CFile::kCreate);
    const bool wrote = out.IsOpen() && out.Write(file.Text.data(), std::int32_t(file.Text.size())).Value ==
                                           std::int32_t(file.Text.size());
    if (!wrote || !out.Close()) {
      error = std::string("Не удалось записать файл "_cp) + path.ToStd();
      const CStr reason = out.FailureText();
      if (!reason.View().empty()) error += ": " + reason.ToStd();
      return false;
    }
  }
  return true;
}

CStr BuildFolder(const CInfo& app) { return ProjectFolder(app) + "build\\"; }

}  // namespace writer
