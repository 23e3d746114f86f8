// Writing units out and importing the files again gives back the same tree: names, kinds, order,
// types, parameters, code, the facts in Extra and the head texts. Checked on every file of the
// import corpus and on trees made at random.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/App.h"
#include "core/Cp1251.h"
#include "import/Import.h"
#include "model/HeadTexts.h"
#include "model/Kinds.h"
#include "model/SafeNames.h"
#include "platform/Files.h"
#include "writer/Writer.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Everything of a node the round trip keeps, one line a node.
void Describe(const CInfo& node, int depth, std::string& out) {
  out += std::string(2 * std::size_t(depth), ' ') + node.ClassName().ToStd() + " " + node.GetName().ToStd();
  if (auto* c = dynamic_cast<const CClassInfo*>(&node))
    out += " base=" + c->Base.ToStd() + " kind=" + c->Kind.ToStr().ToStd() + (c->ClassFlag ? " forward" : "");
  else if (auto* t = dynamic_cast<const CTypeInfo*>(&node); t && !dynamic_cast<const CStructInfo*>(&node))
    out += " basetype=" + t->BaseType.ToStd() + " pointer=" + t->Pointer.ToStr().ToStd();
  if (auto* m = dynamic_cast<const CMemberInfo*>(&node))
    out += " type=" + m->Type.ToStd() + " access=" + m->Access.ToStr().ToStd() + (m->MemberFlag ? " ptr" : "");
  if (auto* o = dynamic_cast<const COperInfo*>(&node)) {
    out += " (";
    for (std::int32_t i = 0; i < o->Params.Count().Value; ++i)
      out += (i ? ", " : "") + o->Param(i)->Type.ToStd() + "|" + o->Param(i)->GetName().ToStd() + "=" +
             o->Param(i)->About.ToStd();
    out += ") code{" + o->Code.ToStd() + "}";
  }
  if (auto* u = dynamic_cast<const CUnitInfo*>(&node)) out += " heads{" + u->UnitExtra.ToStd() + "}";
  out += " extra{" + node.Extra().ToStd() + "}\n";
  for (std::int32_t i = 0; i < node.ChildCount().Value; ++i) Describe(*node.Child(i), depth + 1, out);
}

std::string Describe(const CInfo& node) {
  std::string out;
  Describe(node, 0, out);
  return out;
}

// The first line where two descriptions differ, with the line of each.
std::string FirstDifference(const std::string& a, const std::string& b) {
  std::istringstream x(a), y(b);
  std::string l, r;
  for (int n = 1;; ++n) {
    const bool more = static_cast<bool>(std::getline(x, l)), other = static_cast<bool>(std::getline(y, r));
    if (!more && !other) return "";
    if (l != r || more != other) {
      std::string out = "line " + std::to_string(n) + "\n  before: " + l + "\n  after:  " + r;
      for (int k = 0; k < 8 && std::getline(x, l) && std::getline(y, r); ++k) out += "\n  before: " + l + "\n  after:  " + r;
      return out;
    }
  }
}

class RoundTrip : public testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(platform::LinuxPath("C:\\Qxe"));
    auto* group = new CProjectGroupInfo;
    app.InfoMan.Root.Append(group);
    group->SetName("Work");
    lib = new CLibInfo;
    group->Append(lib);
    lib->SetName("Lib");
  }

  bool Import(CInfo& element, std::string& report) {
    std::vector<std::string> shown;
    const CImportResult result = ImportCommand(&element, [&](const CStr& text) { shown.push_back(text.ToStd()); });
    for (const std::string& text : shown) report += text + "\n";
    return result.Ok;
  }

  // The library's units written into their own folder, where the import reads them, and read
  // again; "" when the tree came back as it was.
  std::string WriteAndRead() {
    const std::string before = Describe(*lib);
    const writer::Written written = writer::WriteApplication(*lib);
    if (!written.Error.empty()) return "writing: " + written.Error;
    std::string error;
    if (!writer::StoreChanged(written, ProjectFolder(*lib), error)) return "storing: " + error;
    std::string report;
    if (!Import(*lib, report)) return "importing the written files: " + report;
    const std::string difference = FirstDifference(before, Describe(*lib));
    return difference.empty() ? "" : difference;
  }

  CApp app;
  CLibInfo* lib = nullptr;
};

std::vector<std::string> CorpusFiles() {
  std::ifstream list(std::string(QX_SOURCE_DIR) + "/tests/import/corpus/Headers.txt");
  std::vector<std::string> files;
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line[0] == '#') continue;
    const fs::path path = fs::path("/usr/include") / line;
    if (fs::exists(path)) files.push_back(path.string());
  }
  return files;
}

// Files whose import the written files do not reproduce yet, each for a reason of the import's
// first reading: the test fails when one of them comes back as it was (take it off the list) as
// much as when any other file does not.
const std::map<std::string, std::string> kKnownDifferences = {
    // class RE is defined in two branches of an #if: the second, kept as text, is read before
    // the first once the text is written ahead of the classes.
    {"gtest/internal/gtest-port.h", "a class defined in two #if branches"},
    // "reference" and "void" from the two branches of an #if make one return type, which reads
    // back as "void" with "reference" taken for a macro.
    {"c++/12/bits/stl_vector.h", "a return type split by #if"},
};

TEST_F(RoundTrip, EveryFileOfTheImportCorpusComesBackAsItWasImported) {
  const std::vector<std::string> files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "none of the corpus is on this system";
  for (const std::string& file : files) {
    const auto known = kKnownDifferences.find(file.substr(std::string("/usr/include/").size()));
    lib->Children.Clear();
    auto* unit = new CUnitInfo;
    lib->Append(unit);
    unit->SetName("Corpus");
    const fs::path folder = platform::LinuxPath(ProjectFolder(*lib).View());
    fs::create_directories(folder);
    fs::remove(folder / "Corpus.cpp");
    fs::copy_file(file, folder / "Corpus.h", fs::copy_options::overwrite_existing);
    std::string report;
    ASSERT_TRUE(Import(*unit, report)) << file << "\n" << report;
    if (known != kKnownDifferences.end())
      EXPECT_NE(WriteAndRead(), "") << file << " comes back now: take it off the list";
    else
      EXPECT_EQ(WriteAndRead(), "") << file;
  }
}

}  // namespace
namespace {

// Random trees of what a person makes in the environment and the import makes of C++: units
// with head texts, classes (keys, bases, namespaces, nested classes), enums, attributes,
// overloaded operations with parameters, qualifiers and bodies in the form the import gives them,
// and variables and functions of the unit.
class TreeMaker {
 public:
  explicit TreeMaker(unsigned seed) : random_(seed) {}

  void Fill(CLibInfo& lib) {
    const int units = Pick(1, 3);
    for (int u = 0; u < units; ++u) {
      auto* unit = Add<CUnitInfo>(&lib, "U" + std::to_string(u));
      HeadTexts heads;
      for (int i = Pick(0, 3); i > 0; --i) heads.Header += kHeadLines[Pick(0, 3)] + std::string("\r\n");
      if (Pick(0, 1)) heads.Source = "#include <string>\r\n";
      unit->UnitExtra = WriteHeads(heads);
      for (int i = Pick(1, 4); i > 0; --i) {
        const int what = Pick(0, 9);
        if (what < 6) Class(unit, unit, 0);
        else if (what == 6) Enum(unit, true);
        else if (what == 7) Variable(unit);
        else Function(unit, 2);
      }
    }
  }

 private:
  static constexpr const char* kHeadLines[] = {"#include <cstdio>", "#define LIMIT 10", "// the unit's notes",
                                               "typedef int Count;"};

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  template <class T>
  T* Add(CInfo* parent, const std::string& name) {
    auto* node = new T;
    parent->Append(node);
    node->SetName(CStr(name));
    return node;
  }

  std::string Name(const char* stem) { return stem + std::to_string(++names_); }

  static void Fact(CInfo* element, const std::string& key, const std::string& value) {
    element->Extra() = element->Extra() + CStr(key + ": " + value + "\r\n");
  }

  std::string Code() {
    static const std::string kBodies[] = {
        "",
        "\r\n return 0;",
        "\r\n int v = 1;\r\n v = v*3+LIMIT_OR(2);\r\n return v;",
        "\r\n if(p)\r\n{\r\n   p = 0;\r\n}\r\n std::printf(\"%d\\n\",1);",
        "\r\n while(total<3)\r\n{\r\n   total = total+1;\r\n}\r\n return\"\\\"quoted\\\"\";",
    };
    const int which = Pick(0, 4);
    if (which == 0) return "";
    return std::string("//Импортированный исходный код"_cp) + kBodies[which];
  }

  void Variable(CUnitInfo* unit) {
    auto* variable = Add<CAtrInfo>(unit, Name("global"));
    variable->Type = Pick(0, 1) ? "int" : "const char*";
    variable->MemberFlag = variable->Type.View().ends_with("*");
    variable->Access = 2;
    const int form = Pick(0, 3);
    if (form == 1) Fact(variable, "prefix", "extern");
    if (form == 2) Fact(variable, "prefix", "static");
    if (form == 3 || form == 2) Fact(variable, "declarator", variable->MemberFlag ? "= nullptr" : "= 5");
  }

  void Function(CInfo* owner, int access) {
    auto* operation = Add<COperInfo>(owner, Name("Do"));
    Operation(operation, access);
    // An overload: the same name with other parameters.
    if (Pick(0, 3) == 0) {
      auto* other = Add<COperInfo>(owner, operation->GetName().ToStd());
      Operation(other, access);
      other->AddParam("double", "extra");
    }
  }

  void Operation(COperInfo* operation, int access) {
    static const char* kTypes[] = {"int", "void", "bool", "const char*", "unsigned long long"};
    static const char* kParams[] = {"int", "const char*", "double&", "const std::string&", "long long"};
    operation->Type = kTypes[Pick(0, 4)];
    operation->Access = access;
    for (int i = Pick(0, 3); i > 0; --i) {
      CParamInfo* param = operation->AddParam(kParams[Pick(0, 4)], CStr("p" + std::to_string(i)));
      if (i == 1 && Pick(0, 2) == 0 && param->Type == "int") param->About = "0";
    }
    operation->Code = CStr(Code());
  }

  void Member(CClassInfo* owner, bool isClass) {
    const int access = Pick(0, 2);
    if (Pick(0, 1)) {
      auto* attribute = Add<CAtrInfo>(owner, Name("field"));
      static const char* kTypes[] = {"int", "double", "const char*", "unsigned long long", "bool"};
      attribute->Type = kTypes[Pick(0, 4)];
      attribute->MemberFlag = attribute->Type.View().ends_with("*");
      attribute->Access = access;
      if (Pick(0, 4) == 0) Fact(attribute, "prefix", "static");
      else if (Pick(0, 3) == 0) Fact(attribute, "declarator", "[4]");
    } else {
      auto* operation = Add<COperInfo>(owner, Name("Method"));
      Operation(operation, access);
      const int kind = Pick(0, 5);
      if (kind == 1) Fact(operation, "prefix", "virtual");
      if (kind == 2) Fact(operation, "tail", "const");
      if (kind == 3) Fact(operation, "prefix", "static");
      if (kind == 4) {
        Fact(operation, "prefix", "virtual");
        Fact(operation, "tail", "const = 0");
        operation->Code = "";
      }
    }
    (void)isClass;
  }

  void Enum(CInfo* owner, bool atUnit) {
    auto* type = Add<CTypeInfo>(owner, Name("Colour"));
    const bool scoped = Pick(0, 1);
    Fact(type, "key", scoped ? "enum class" : "enum");
    Fact(type, "values", "Red,Green=4,Blue");
    if (scoped && Pick(0, 1)) type->BaseType = "unsigned char";
    if (atUnit && Pick(0, 2) == 0) Fact(type, "namespace", "shapes");
  }

  void Class(CUnitInfo* unit, CInfo* owner, int depth) {
    auto* type = Add<CClassInfo>(owner, Name("T"));
    const bool isClass = Pick(0, 2) != 0;
    if (!isClass) Fact(type, "key", "struct");
    if (!classes_.empty() && Pick(0, 1)) {
      type->Base = CStr(classes_[std::size_t(Pick(0, int(classes_.size()) - 1))]);
      type->Kind = Pick(0, 1) ? 2 : 0;
    }
    if (owner == unit && Pick(0, 3) == 0) Fact(type, "namespace", Pick(0, 1) ? "shapes" : "shapes::inner");
    for (int i = Pick(0, 6); i > 0; --i) {
      const int what = Pick(0, 11);
      if (what == 0 && depth < 2) Class(unit, type, depth + 1);
      else if (what == 1) Enum(type, false);
      else Member(type, isClass);
    }
    // Only classes at the unit's top level without a namespace are bases here: the written
    // base names them as they are.
    if (owner == unit && ExtraValue(type->Extra().View(), "namespace").empty()) classes_.push_back(type->GetName().ToStd());
  }

  std::mt19937 random_;
  int names_ = 0;
  std::vector<std::string> classes_;
};

TEST_F(RoundTrip, GeneratedTreesComeBackAsTheyWere) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    lib->Children.Clear();
    TreeMaker(seed).Fill(*lib);
    EXPECT_EQ(WriteAndRead(), "") << "seed " << seed;
  }
}

}  // namespace
