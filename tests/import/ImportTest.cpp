// The import driver on files of drive C: (each test program has a drive of its own).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/App.h"
#include "core/Cp1251.h"
#include "import/CppAnalys.h"
#include "import/Import.h"
#include "model/HeadTexts.h"
#include "model/Kinds.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "storage/Config.h"
#include "storage/Stream.h"
#include "tests/import/Tree.h"

namespace {

namespace fs = std::filesystem;

void Spit(const std::string& systemPath, const std::string& bytes) {
  const fs::path path = platform::LinuxPath(systemPath);
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Slurp(const std::string& systemPath) {
  std::ifstream in(platform::LinuxPath(systemPath), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class T>
T* Add(CInfo* parent, const char* name) {
  auto* node = new T;
  parent->Append(node);
  node->SetName(name);
  return node;
}

class Driver : public testing::Test {
 protected:
  void SetUp() override { fs::remove_all(platform::LinuxPath("C:\\Qxe")); }

  CImportResult Run(CInfo* element, const CStr& recoveryFile = CStr()) {
    return ImportCommand(
        element, [this](const CStr& text) { shown.push_back(text.ToStd()); }, recoveryFile);
  }

  CApp app;
  CInfo& root = app.InfoMan.Root;
  std::vector<std::string> shown;
};

TEST_F(Driver, AUnitsFilesLieBelowTheFoldersOfItsProjects) {
  // Project groups, applications, libraries and packages are folders; other elements are not.
  auto* work = Add<CProjectGroupInfo>(&root, "Work");
  auto* demo = Add<CAppInfo>(work, "Demo");
  auto* main = Add<CUnitInfo>(demo, "Main");
  auto* lib = Add<CLibInfo>(work, "Lib");
  auto* pack = Add<CPackInfo>(lib, "Pack");
  auto* deep = Add<CUnitInfo>(pack, "Deep");
  auto* dll = Add<CDllInfo>(work, "Dll");  // not a unit to import, but its children are visited
  auto* inDll = Add<CUnitInfo>(dll, "Inner");
  auto* top = Add<CUnitInfo>(&root, "Top");
  Spit("C:\\Qxe\\Work\\Demo\\Main.h", "class A { };");
  Spit("C:\\Qxe\\Work\\Lib\\Pack\\Deep.cpp", "int x;\nclass B { };");
  Spit("C:\\Qxe\\Work\\Dll.h", "class NotRead { };");
  Spit("C:\\Qxe\\Work\\Inner.h", "class C { };");
  Spit("C:\\Qxe\\Top.h", "class D { };");
  ASSERT_TRUE(Run(&root).Ok);
  EXPECT_EQ(Describe(main), "class A\n");
  EXPECT_EQ(Describe(deep), "atr x type=int access=2\nclass B\n");
  EXPECT_EQ(Describe(inDll), "class C\n");
  EXPECT_EQ(Describe(top), "class D\n");
  EXPECT_EQ(dll->ChildCount().Value, 1);
  EXPECT_TRUE(shown.empty());
}

TEST_F(Driver, TheSourceFindsWhatTheHeaderDeclared) {
  auto* unit = Add<CUnitInfo>(Add<CAppInfo>(&root, "Demo"), "Main");
  Spit("C:\\Qxe\\Demo\\Main.h", "class TForm1 { published: void Click(); };");
  Spit("C:\\Qxe\\Demo\\Main.cpp", "void TForm1::Click() { Close(); }");
  ASSERT_TRUE(Run(unit).Ok);
  EXPECT_EQ(Describe(unit), "class TForm1\n  oper Click type=void access=3\n");
  EXPECT_EQ(dynamic_cast<COperInfo*>(unit->Child(0)->Child(0))->Code,
            CStr("//Импортированный исходный код\r\n Close();"_cp));
}

TEST_F(Driver, CommentsAndPreprocessorLinesLeaveTheUnitEmpty) {
  auto* unit = Add<CUnitInfo>(&root, "Main");
  Add<CClassInfo>(unit, "Old");
  Spit("C:\\Qxe\\Main.h", "// only notes\r\n\r\n#ifndef X\r\n#define X 1 // one\r\n/* more\r\n notes */\r\n#endif\r\n");
  ASSERT_TRUE(Run(unit).Ok);
  EXPECT_EQ(unit->ChildCount().Value, 0);
  EXPECT_TRUE(shown.empty());
}

TEST_F(Driver, NothingSelectedChangesNothing) {
  Add<CUnitInfo>(&root, "Main");
  Spit("C:\\Qxe\\Main.h", "class A { };");
  EXPECT_TRUE(Run(nullptr).Ok);
  EXPECT_EQ(Describe(&root), "CUnitInfo Main\n");
  EXPECT_TRUE(shown.empty());
}

TEST_F(Driver, ANamespaceShowsItsNote) {
  auto* unit = Add<CUnitInfo>(&root, "Main");
  Spit("C:\\Qxe\\Main.h", "namespace N;\nclass A { };");
  ASSERT_TRUE(Run(unit).Ok);
  EXPECT_EQ(shown, std::vector<std::string>{"DoNamespace"});
  EXPECT_EQ(Describe(unit), "class A\n");
}

TEST_F(Driver, AnErrorKeepsTheTreeAsItWasBeforeTheCommandOnlyWhereAsked) {
  auto* unit = Add<CUnitInfo>(Add<CProjectGroupInfo>(&root, "Work"), "Main");
  Add<CClassInfo>(unit, "Kept");
  CMemory before;
  WriteConfig(before, root);
  const std::string image(reinterpret_cast<const char*>(before.Data()), before.GetSize().Value);
  Spit("C:\\Qxe\\Work\\Main.h", "class A { };\nclass B { int x; }\n");

  // Without a recovery file named, nothing is written anywhere.
  EXPECT_FALSE(Run(unit).Ok);
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(shown[0], "Ошибка в файле: C:\\Qxe\\Work\\Main.h"_cp);
  EXPECT_EQ(shown[2], "Строка 2"_cp);
  // What the import had done by then is only in memory.
  EXPECT_EQ(Describe(unit), "class A\nclass B\n  atr x type=int access=0\n");
  EXPECT_FALSE(fs::exists(platform::LinuxPath(kRecoveredConfig)));
  EXPECT_FALSE(fs::exists(platform::LinuxPath("C:\\Qxe\\Conf.qxe")));

  // Named, the tree before the command is kept there; a second failure never overwrites the
  // first one's copy but takes the next free name.
  unit->Children.Clear();
  Add<CClassInfo>(unit, "Kept");
  ASSERT_FALSE(Run(unit, kRecoveredConfig).Ok);
  EXPECT_EQ(Slurp(kRecoveredConfig), image);
  Spit(kRecoveredConfig, "an earlier copy");
  unit->Children.Clear();
  Add<CClassInfo>(unit, "Kept");
  ASSERT_FALSE(Run(unit, kRecoveredConfig).Ok);
  EXPECT_EQ(Slurp(kRecoveredConfig), "an earlier copy");
  EXPECT_EQ(Slurp("C:\\Qxe\\Conf.recovered-2.qxe"), image);
}

TEST_F(Driver, TheReportedPositionIsTheOffsetInTheFileAsItIsOnDisk) {
  auto* unit = Add<CUnitInfo>(&root, "Main");
  const std::string lf = "// a\n// b\n// c\nclass A { };\nclass B { int x; }\nint y;\n";
  std::string mixed = lf;
  mixed.insert(mixed.find("// c"), "\r");  // one line end of the two kinds
  for (const std::string& text : {lf, mixed}) {
    shown.clear();
    Spit("C:\\Qxe\\Main.h", text);
    EXPECT_FALSE(Run(unit).Ok);
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[2], "Строка 5"_cp);
    EXPECT_EQ(shown[3], "Позиция "_cp + std::to_string(text.rfind("}") + 1));
  }
}

// Names the rule for macros does not catch are taken from Macros.txt beside the configuration.
TEST_F(Driver, TheUsersMacroNamesAreSkippedWhereverTheyStand) {
  auto* unit = Add<CUnitInfo>(&root, "Main");
  const std::string header = "class MyApi Widget { public: MyApi int Count() const; int x MyGuard(m); };\n";
  Spit("C:\\Qxe\\Main.h", header);
  const CImportResult without = Run(unit);
  ASSERT_TRUE(without.Ok);
  EXPECT_EQ(Describe(unit).find("class Widget"), std::string::npos) << Describe(unit);

  Spit("C:\\Qxe\\Macros.txt", "MyApi\r\n  MyGuard  \n\n");
  const CImportResult with = Run(unit);
  ASSERT_TRUE(with.Ok);
  EXPECT_EQ(Describe(unit), "class Widget\n  oper Count type=int access=2 [tail: const]\n  atr x type=int access=2\n");
  EXPECT_TRUE(with.Unplaced.empty());
}

// A file in UTF-8, with or without its byte order mark, is read as UTF-8 and converted; what
// cp1251 cannot hold becomes "?" and is listed once. A file that is not UTF-8 is cp1251.
TEST_F(Driver, Utf8FilesAreConvertedAndOtherFilesReadAsCp1251) {
  auto* unit = Add<CUnitInfo>(&root, "Main");
  const std::string utf8 = "// Форма\nclass A { void f() { s = \"Привет ✓ ✓ €\"; t = \"→\"; } };\n";
  const std::string code = "//Импортированный исходный код\r\n s = \"Привет ? ? €\";\r\n t = \"?\";";
  for (const std::string& bom : {std::string(), std::string("\xEF\xBB\xBF")}) {
    Spit("C:\\Qxe\\Main.h", bom + utf8);
    const CImportResult result = Run(unit);
    ASSERT_TRUE(result.Ok) << (shown.size() > 1 ? shown[1] : "");
    ASSERT_EQ(unit->ChildCount().Value, 1);
    EXPECT_EQ(dynamic_cast<COperInfo*>(unit->Child(0)->Child(0))->Code.ToStd(), platform::Utf8ToCp1251(code));
    std::vector<std::string> listed;
    for (const CUnplacedCode& c : result.Unplaced) listed.push_back(platform::Cp1251ToUtf8(c.Name.View()));
    EXPECT_EQ(listed, (std::vector<std::string>{"символ U+2713 заменён на \"?\"", "символ U+2192 заменён на \"?\""}));
  }
  // cp1251 bytes are not UTF-8: read as they are.
  Spit("C:\\Qxe\\Main.h", platform::Utf8ToCp1251(utf8.substr(0, utf8.find("✓")) + "\"; } };\n"));
  const CImportResult cp = Run(unit);
  ASSERT_TRUE(cp.Ok);
  EXPECT_EQ(dynamic_cast<COperInfo*>(unit->Child(0)->Child(0))->Code.ToStd(),
            platform::Utf8ToCp1251("//Импортированный исходный код\r\n s = \"Привет \";"));
}

TEST_F(Driver, CodeThatFindsNoClassIsListedWithItsFileAndLine) {
  auto* unit = Add<CUnitInfo>(Add<CAppInfo>(&root, "Demo"), "Main");
  Spit("C:\\Qxe\\Demo\\Main.h", "class TForm1 { void Go(); };\nint Helper(int a);\n");
  Spit("C:\\Qxe\\Demo\\Main.cpp",
       "void TForm1::Go() { }\n\nvoid TFrom1::Stop()\n{ Close(); }\n"
       "int Helper(int a) { return a; }\n__fastcall TNone::TNone(int a) : B(a) { }\n"
       "TNone::~TNone() { }\n");
  const CImportResult result = Run(unit);
  ASSERT_TRUE(result.Ok) << (shown.size() > 1 ? shown[1] + " " + shown[2] : "");
  // A function of the unit is its operation, declared in the header and defined in the source.
  EXPECT_EQ(Describe(unit), "class TForm1\n  oper Go type=void access=0\noper Helper type=int access=2 (int|a)\n");
  std::vector<std::string> listed;
  for (const CUnplacedCode& code : result.Unplaced)
    listed.push_back(code.FileName.ToStd() + ":" + code.Line.ToStr().ToStd() + " " +
                     code.Name.ToStd());
  const std::string cpp = "C:\\Qxe\\Demo\\Main.cpp";
  EXPECT_EQ(listed, (std::vector<std::string>{cpp + ":3 TFrom1::Stop", cpp + ":6 TNone::TNone", cpp + ":7 TNone::~TNone"}));
  ASSERT_EQ(result.Unplaced.size(), 3u);
  EXPECT_EQ(UnplacedText(result.Unplaced[0]),
            "Не помещено в проект: TFrom1::Stop, C:\\Qxe\\Demo\\Main.cpp, строка 3"_cp);
  EXPECT_TRUE(shown.empty());  // the list is the caller's to show
}

TEST_F(Driver, AUnitsOldClassesAreForgottenWhenItIsImportedAgain) {
  // One import over two units: the class index is filled while the first is read, and the
  // second unit's old class X must leave it when that unit is emptied; the class X of another
  // application, kept under the same name, is then the one the source finds.
  auto* work = Add<CProjectGroupInfo>(&root, "Work");
  auto* demo = Add<CAppInfo>(work, "Demo");
  auto* first = Add<CUnitInfo>(demo, "A");
  auto* second = Add<CUnitInfo>(demo, "B");
  Add<CClassInfo>(second, "X");  // left by an earlier import
  auto* other = Add<CClassInfo>(Add<CUnitInfo>(Add<CAppInfo>(work, "Other"), "U"), "X");
  Spit("C:\\Qxe\\Work\\Demo\\A.h", "class T { void f(); };");
  Spit("C:\\Qxe\\Work\\Demo\\B.cpp", "void X::g() { }");
  const CImportResult result = Run(demo);
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(Describe(first), "class T\n  oper f type=void access=0\n");
  EXPECT_EQ(second->ChildCount().Value, 0);
  ASSERT_EQ(other->ChildCount().Value, 1);
  EXPECT_EQ(other->Child(0)->GetName(), "g");
  EXPECT_TRUE(result.Unplaced.empty());
}

TEST_F(Driver, ZeroBytesAreDroppedAndEveryLineEndCountsOnce) {
  auto* unit = Add<CUnitInfo>(Add<CAppInfo>(&root, "Demo"), "Main");
  // A zero byte between "\r" and "\n" leaves one line break; one inside a word joins it.
  using namespace std::string_literals;
  Spit("C:\\Qxe\\Demo\\Main.h",
       "\0\nint X::F(int a);\r\0\nint X::G(int b);\n\r\n\nint X::H(int c);\ncla\0ss B { };\n"s);
  const CImportResult result = Run(unit);
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(Describe(unit), "class B\n");
  std::vector<std::string> listed;
  for (const CUnplacedCode& code : result.Unplaced)
    listed.push_back(code.Line.ToStr().ToStd() + " " + code.Name.ToStd());
  EXPECT_EQ(listed, (std::vector<std::string>{"2 X::F", "3 X::G", "6 X::H"}));
}

}  // namespace

namespace {

TEST_F(Driver, WhatLiesOutsideTheElementsIsTheUnitsHeadTexts) {
  auto* unit = Add<CUnitInfo>(Add<CAppInfo>(&root, "Demo"), "Main");
  Spit("C:\\Qxe\\Demo\\Main.h",
       "#pragma once\n#include <vector>\n\n#define LIMIT 10   \n"
       "namespace geo {\nint Helper(int);\nclass Shape { };\n}\n"
       "namespace other { int Alone(); }\n"
       "extern int Count;\nint Twice(int a);\nclass Shape;\n");
  Spit("C:\\Qxe\\Demo\\Main.cpp",
       "#include \"Main.h\"\n#include <cstdio>\nint Count = 3;\n"
       "int Twice(int a) { return a + a; }\nstatic void Later();\n");
  ASSERT_TRUE(Run(unit).Ok) << (shown.size() > 1 ? shown[1] : "");
  // The namespace that held a class keeps its other text; the one without elements stays whole;
  // the variable, the function and its definition are elements, and the writer's own lines go.
  const HeadTexts heads = ReadHeads(unit->UnitExtra);
  EXPECT_EQ(heads.Header,
            "#include <vector>\r\n#define LIMIT 10\r\nnamespace geo {\r\nint Helper(int);\r\n}\r\n"
            "namespace other { int Alone(); }\r\n");
  EXPECT_EQ(heads.Source, "#include <cstdio>\r\n");
  EXPECT_EQ(Describe(unit),
            "class Shape [namespace: geo]\natr Count type=int access=2 [declarator: = 3]\n"
            "oper Twice type=int access=2 (int|a)\noper Later type=void access=2 [prefix: static]\n");
}

TEST_F(Driver, ANameThatWouldLeaveItsFolderIsRefusedBeforeAnyFileIsRead) {
  for (const char* name : {"..", "a/b", "a\\b", ""}) {
    root.Children.Clear();
    shown.clear();
    auto* unit = Add<CUnitInfo>(Add<CAppInfo>(&root, "Demo"), name);
    EXPECT_FALSE(Run(unit).Ok) << name;
    ASSERT_EQ(shown.size(), 1u) << name;
    EXPECT_NE(shown[0].find("\"" + std::string(name) + "\""), std::string::npos) << shown[0];
  }
}

}  // namespace
