// Real headers that nobody here wrote (tests/import/corpus/Headers.txt), read from where the
// system keeps them: each must import without a crash or a refusal, and every class the compiler
// finds defined in a file must be among the classes its import creates.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/App.h"
#include "import/CppAnalys.h"
#include "model/Kinds.h"

namespace {

namespace fs = std::filesystem;

// The corpus files the system has, by their canonical path; those it lacks are named on stderr.
std::vector<std::string> CorpusFiles() {
  std::ifstream list(std::string(QX_SOURCE_DIR) + "/tests/import/corpus/Headers.txt");
  std::vector<std::string> files;
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line[0] == '#') continue;
    const fs::path path = fs::path("/usr/include") / line;
    if (!fs::exists(path)) {
      std::fprintf(stderr, "corpus: %s is not on this system, skipped\n", path.c_str());
      continue;
    }
    files.push_back(fs::canonical(path).string());
  }
  return files;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A class name without its template arguments, as the compiler names a class template.
std::string Bare(std::string name) {
  if (const std::size_t angle = name.find('<'); angle != std::string::npos) name.erase(angle);
  return name;
}

// The value of a line `"key": "value",` of the compiler's JSON, or "".
std::string ValueOf(const std::string& line, std::string_view key) {
  const std::string head = "\"" + std::string(key) + "\": \"";
  const std::size_t at = line.find(head);
  if (at == std::string::npos) return {};
  const std::size_t from = at + head.size();
  return line.substr(from, line.find('"', from) - from);
}

std::size_t Indent(const std::string& line) { return line.find_first_not_of(' '); }

// The classes `clang++ -Xclang -ast-dump=json` finds defined (complete, named, not implicit) in
// each file, read from one translation unit that includes them all. The dump names a location's
// file only where it changes, so the file is followed through the dump in the order it is written.
std::map<std::string, std::set<std::string>> ClassesTheCompilerFinds(const std::vector<std::string>& files,
                                                                    const std::string& folder) {
  const std::string unit = folder + "/corpus.cpp";
  {
    std::ofstream out(unit);
    for (const std::string& file : files)
      if (file.find("/c++/") == std::string::npos) out << "#include \"" << file << "\"\n";
    out << "#include <vector>\n#include <list>\n#include <map>\n#include <memory>\n#include <optional>\n"
           "#include <tuple>\n#include <string_view>\n";
  }
  const std::string command = "clang++ -std=c++20 -fsyntax-only -I/usr/include/SDL2 -I/usr/include/freetype2 "
                              "-Xclang -ast-dump=json " + unit + " 2>/dev/null";
  std::map<std::string, std::set<std::string>> found;
  const std::set<std::string> wanted(files.begin(), files.end());
  std::map<std::string, std::string> canonical;  // the dump's spelling of a path -> canonical
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return found;
  std::string line, lastFile, previous;
  struct Record {
    std::size_t indent = 0;
    std::string file, name;
    bool complete = false, implicit = false, open = false;
  } record;
  auto close = [&] {
    if (record.open && record.complete && !record.implicit && !record.name.empty() && wanted.count(record.file))
      found[record.file].insert(record.name);
    record = Record{};
  };
  // The kinds of the nodes that enclose the current line, with their indentation: a class
  // inside a function body belongs to the body's code, which the import keeps as written.
  std::vector<std::pair<std::size_t, std::string>> enclosing;
  bool local = false;
  std::vector<char> buffer(1 << 16);
  while (fgets(buffer.data(), int(buffer.size()), pipe)) {
    line = buffer.data();
    while (!line.empty() && line.back() != '\n' && fgets(buffer.data(), int(buffer.size()), pipe)) line += buffer.data();
    const std::string file = ValueOf(line, "file");
    if (!file.empty() && previous.find("\"includedFrom\"") == std::string::npos) {
      auto [it, added] = canonical.try_emplace(file);
      if (added) {
        std::error_code error;
        it->second = fs::weakly_canonical(file, error).string();
      }
      lastFile = it->second;
    }
    const std::size_t indent = Indent(line);
    if (record.open && indent != std::string::npos && indent < record.indent) close();
    if (record.open && indent == record.indent) {
      if (line.find("\"range\"") != std::string::npos) record.file = lastFile;
      if (line.find("\"inner\"") != std::string::npos) close();
      const std::string name = ValueOf(line, "name");
      if (!name.empty()) record.name = name;
      if (line.find("\"completeDefinition\": true") != std::string::npos) record.complete = true;
      if (line.find("\"isImplicit\": true") != std::string::npos) record.implicit = true;
    }
    const std::string kind = ValueOf(line, "kind");
    if (!kind.empty()) {
      while (!enclosing.empty() && enclosing.back().first >= indent) enclosing.pop_back();
      enclosing.emplace_back(indent, kind);
    }
    if (kind == "CXXRecordDecl") {
      close();
      local = false;
      for (const auto& [at, outer] : enclosing)
        if (outer == "CompoundStmt") local = true;
      record.open = !local;
      record.indent = indent;
    }
    previous = line;
  }
  close();
  pclose(pipe);
  return found;
}

TEST(Corpus, RealHeadersImportWithEveryClassTheCompilerFinds) {
  const std::vector<std::string> files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "none of the corpus is on this system";
  CApp app;
  std::map<std::string, std::set<std::string>> created;
  std::size_t classes = 0, bodies = 0;
  std::map<std::string, int> unplaced;
  for (const std::string& file : files) {
    auto* unit = new CUnitInfo;
    app.InfoMan.Root.Append(unit);
    unit->SetName("Corpus");
    std::vector<std::string> shown;
    CCppAnalys analys([&](const CStr& text) { shown.push_back(text.ToStd()); });
    analys.Root = &app.InfoMan.Root;
    analys.ImportedUnit = unit;
    const bool ok = static_cast<bool>(analys.ImportText(CStr(file), CStr(Slurp(file))));
    EXPECT_TRUE(ok) << file << ": " << (shown.size() > 3 ? shown[1] + " " + shown[2] + " " + shown[3] : "");
    std::function<void(const CInfo*)> walk = [&](const CInfo* node) {
      if (dynamic_cast<const CClassInfo*>(node)) {
        created[file].insert(Bare(node->GetName().ToStd()));
        ++classes;
      }
      if (auto* o = dynamic_cast<const COperInfo*>(node); o && !o->Code.View().empty()) ++bodies;
      for (std::int32_t i = 0; i < node->ChildCount().Value; ++i) walk(node->Child(i));
    };
    walk(unit);
    for (const CUnplacedCode& code : analys.Unplaced) {
      // A function outside any class is listed by its name; a skipped construct by its words.
      const std::string words = code.Name.ToStd();
      const std::size_t blank = words.find(' ');
      if (blank == std::string::npos)
        ++unplaced["function"];
      else
        ++unplaced[words.substr(0, std::max<std::size_t>(words.find_first_of(" (<{;"), 1))];
    }
    app.InfoMan.Root.Children.DeleteObject(unit);
  }
  std::fprintf(stderr, "corpus: %zu files, %zu classes created, %zu operations with bodies\n", files.size(),
               classes, bodies);
  std::string kinds;
  for (const auto& [word, count] : unplaced) kinds += " " + word + "=" + std::to_string(count);
  std::fprintf(stderr, "corpus: unplaced by first word:%s\n", kinds.c_str());

  if (std::system("clang++ --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no clang++ to list the classes";
  const std::string folder = std::string(std::getenv("QXWORKS_DRIVE_C") ? std::getenv("QXWORKS_DRIVE_C") : "/tmp");
  const auto found = ClassesTheCompilerFinds(files, folder);
  std::size_t compilerClasses = 0;
  for (const auto& [file, names] : found) {
    compilerClasses += names.size();
    for (const std::string& name : names) EXPECT_TRUE(created[file].count(name)) << name << " in " << file;
  }
  std::fprintf(stderr, "corpus: %zu classes found by the compiler in these files\n", compilerClasses);
  EXPECT_GT(compilerClasses, 0u);
}

}  // namespace
