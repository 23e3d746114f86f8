// The qxtree program as a user runs it, on files this test makes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/App.h"
#include "model/Kinds.h"
#include "model/TypeInfo.h"
#include "storage/Config.h"
#include "storage/File.h"
#include "tests/tools/RunTool.h"

namespace {

using qxtest::Outcome;
using qxtest::RunTool;
using qxtest::Slurp;



class QxtreeTool : public testing::Test {
 protected:
  void SetUp() override {
    const char* drive = std::getenv("QXWORKS_DRIVE_C");
    dir_ = std::string(drive ? drive : "/tmp") + "/qxtree-" +
           testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::create_directories(dir_);
  }

  std::string Path(const char* name) const { return dir_ + "/" + name; }

  Outcome Call(const std::string& arguments) { return RunTool("qxtree", arguments, dir_); }

  void Save(CInfo& root, const std::string& path) {
    CFile file(CHostPath{path}, CFile::kCreate);
    ASSERT_EQ(WriteConfigFile(file, root), "");
  }

  CApp app;
  std::string dir_;
};

}  // namespace

TEST_F(QxtreeTool, DumpsTheTreeAsJson) {
  CInfo& root = app.InfoMan.Root;
  auto* unit = new CUnitInfo;
  unit->SetName("Main");
  unit->About = "Модуль \"главный\""_cp;
  unit->UnitExtra = "a\\b";
  root.Append(unit);
  auto* oper = new COperInfo;
  oper->SetName("Run");
  oper->Type = "int";
  oper->Access = 2;
  oper->IsOperator = true;
  oper->Code = "{\r\n\treturn 0;\r\n}";
  oper->AddParam("char", "c", "буква"_cp);
  unit->Append(oper);
  auto* type = new CTypeInfo;
  type->SetName("P");
  type->BaseType = "int";
  type->Pointer = 1;
  unit->Append(type);
  Save(root, Path("small.qxe"));

  const Outcome run = Call("dump " + Path("small.qxe"));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, R"({
  "class": "CInfo",
  "name": "",
  "about": "",
  "extra": "",
  "fields": {},
  "children": [
    {
      "class": "CUnitInfo",
      "name": "Main",
      "about": "Модуль \"главный\"",
      "extra": "",
      "fields": {
        "UnitExtra": "a\\b"
      },
      "children": [
        {
          "class": "COperInfo",
          "name": "Run",
          "about": "",
          "extra": "",
          "fields": {
            "Type": "int",
            "Access": 2,
            "MemberFlag": false,
            "OperMode": 0,
            "IsOperator": true,
            "Code": "{\r\n\treturn 0;\r\n}",
            "Code2": "",
            "Code3": "",
            "Code4": "",
            "Code5": "",
            "Params": [
              {"Type": "char", "Name": "c", "About": "буква"}
            ]
          },
          "children": []
        },
        {
          "class": "CTypeInfo",
          "name": "P",
          "about": "",
          "extra": "",
          "fields": {
            "ByteSize": 0,
            "BaseType": "int",
            "Pointer": 1
          },
          "children": []
        }
      ]
    }
  ]
}
)");
}

TEST_F(QxtreeTool, DumpsAnActionsFieldsAsOneList) {
  auto* action = new CActionInfo;
  action->Flags[1] = true;
  action->Value = 0.5L;
  action->SlotTexts2[6] = "last";
  app.InfoMan.Root.Append(action);
  Save(app.InfoMan.Root, Path("action.qxe"));
  const Outcome run = Call("dump " + Path("action.qxe"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(
      run.out.find(
          R"("Fields": [false, true, false, 0.5, "", "", false, false, "", "", "", "", "", "", false, "", "", )"),
      std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(R"(false, "", "last"])"), std::string::npos) << run.out;
}

TEST_F(QxtreeTool, CheckNamesTheFirstFaultAndItsOffset) {
  auto* unit = new CUnitInfo;
  unit->SetName("Main");
  app.InfoMan.Root.Append(unit);
  Save(app.InfoMan.Root, Path("good.qxe"));
  const Outcome good = Call("check " + Path("good.qxe"));
  EXPECT_EQ(good.exitCode, 0) << good.err;

  std::string bytes = Slurp(Path("good.qxe"));
  bytes[45] = '\x7F';  // the unit's record length, 45 bytes in, grows far past the end
  bytes[48] = '\x7F';
  std::ofstream(Path("bad.qxe"), std::ios::binary) << bytes;
  const Outcome bad = Call("check " + Path("bad.qxe"));
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.err.find("bad.qxe: смещение 45: длина записи"), std::string::npos) << bad.err;

  // An element of a class no one knows is a fault for check, though a load passes it over.
  std::string unknown = Slurp(Path("good.qxe"));
  unknown.replace(unknown.find("CUnitInfo"), 9, "CUnitXnfo");
  std::ofstream(Path("unknown.qxe"), std::ios::binary) << unknown;
  const Outcome skipped = Call("check " + Path("unknown.qxe"));
  EXPECT_EQ(skipped.exitCode, 1);
  EXPECT_NE(skipped.err.find("смещение 45: пропущен элемент класса \"CUnitXnfo\""),
            std::string::npos)
      << skipped.err;
  EXPECT_EQ(Call("dump " + Path("unknown.qxe")).exitCode, 0);
  // A copy would lose the record it passed over: it is refused, and nothing is written.
  const Outcome lossy = Call("copy " + Path("unknown.qxe") + " " + Path("lossy.qxe"));
  EXPECT_EQ(lossy.exitCode, 1);
  EXPECT_NE(lossy.err.find("CUnitXnfo"), std::string::npos) << lossy.err;
  EXPECT_FALSE(std::filesystem::exists(Path("lossy.qxe")));

  // Nor is the root read as a "CInfo" when its record names another class.
  std::string foreign = Slurp(Path("good.qxe"));
  foreign.replace(foreign.find("CInfo"), 5, "GInfo");
  std::ofstream(Path("foreign.qxe"), std::ios::binary) << foreign;
  const Outcome root = Call("check " + Path("foreign.qxe"));
  EXPECT_EQ(root.exitCode, 1);
  EXPECT_NE(
      root.err.find("foreign.qxe: смещение 15: корень дерева класса \"GInfo\", а не \"CInfo\""),
      std::string::npos)
      << root.err;
  EXPECT_EQ(Call("copy " + Path("foreign.qxe") + " " + Path("rewritten.qxe")).exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(Path("rewritten.qxe")));

  const Outcome missing = Call("check " + Path("missing.qxe"));
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("missing.qxe"), std::string::npos);
}

TEST_F(QxtreeTool, CopyWritesTheSameBytes) {
  auto* group = new CProjectGroupInfo;
  group->SetName("Группа"_cp);
  app.InfoMan.Root.Append(group);
  auto* cls = new CClassInfo;
  cls->SetName("CThing");
  cls->Base = "CObject";
  group->Append(cls);
  Save(app.InfoMan.Root, Path("in.qxe"));

  const Outcome copy = Call("copy " + Path("in.qxe") + " " + Path("out.qxe"));
  EXPECT_EQ(copy.exitCode, 0) << copy.err;
  EXPECT_EQ(Slurp(Path("out.qxe")), Slurp(Path("in.qxe")));

  std::string cut = Slurp(Path("in.qxe"));
  cut.resize(cut.size() - 1);
  std::ofstream(Path("cut.qxe"), std::ios::binary) << cut;
  const Outcome refused = Call("copy " + Path("cut.qxe") + " " + Path("never.qxe"));
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(Path("never.qxe")));

  const Outcome unwritable = Call("copy " + Path("in.qxe") + " " + Path("no/such/dir/out.qxe"));
  EXPECT_EQ(unwritable.exitCode, 1);
}

// Over the file-size limit of the process, as on a full disk, a save fails and says so; the
// program is not killed halfway, and no half-written file is left behind.
TEST_F(QxtreeTool, ASaveOverTheFileSizeLimitIsReported) {
  for (int i = 0; i < 100; ++i) {
    auto* unit = new CUnitInfo;
    unit->About = std::string(1000, 'x').c_str();
    app.InfoMan.Root.Append(unit);
  }
  Save(app.InfoMan.Root, Path("in.qxe"));
  const std::string command = "ulimit -f 16; exec " + std::string(QX_BINARY_DIR) + "/qxtree copy " +
                              Path("in.qxe") + " " + Path("out.qxe") + " 2>" + Path("stderr");
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  // The reason is named, and the platform's own line names the program that is running.
  const std::string err = Slurp(Path("stderr"));
  EXPECT_NE(err.find("qxtree: " + Path("out.qxe") + ": не удалось сохранить файл " +
                     Path("out.qxe") + ": File too large\n"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("qxtree: cannot save " + Path("out.qxe") + ": File too large\n"),
            std::string::npos)
      << err;
  EXPECT_EQ(err.find("qxworks"), std::string::npos) << err;
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "in.qxe" || name == "stderr") << name;
  }
}

TEST_F(QxtreeTool, BadArgumentsShowTheUsage) {
  struct Case {
    const char* arguments;
  } cases[] = {{""}, {"dump"}, {"check a b"}, {"copy a"}, {"frob a"}};
  for (const Case& c : cases) {
    const Outcome run = Call(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.arguments;
    EXPECT_NE(run.err.find("qxtree dump"), std::string::npos) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
  }
}

// A form's design shows as its lines in the dump; check names each damaged line of a design.
TEST_F(QxtreeTool, DumpShowsADesignByLinesAndCheckChecksDesigns) {
  CInfo& root = app.InfoMan.Root;
  auto* form = new CClassInfo;
  form->SetName("TLogin");
  form->Base = "CForm";
  form->Extra() = "design 1\nCLabel Label1 rect=9,9,99,27 text=\"Имя\"\n"_cp;
  root.Append(form);
  auto* notes = new CClassInfo;
  notes->SetName("TNotes");
  notes->Extra() = "design notes, not a design";
  root.Append(notes);
  Save(root, Path("good.qxe"));

  const Outcome dump = Call("dump " + Path("good.qxe"));
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  EXPECT_NE(dump.out.find("\"design\": [\n        \"design 1\",\n"
                          "        \"CLabel Label1 rect=9,9,99,27 text=\\\"Имя\\\"\"\n      ],"),
            std::string::npos)
      << dump.out;
  EXPECT_EQ(dump.out.find("\"design\": [", dump.out.find("TNotes")), std::string::npos)
      << "another text is no design";
  EXPECT_EQ(Call("check " + Path("good.qxe")).exitCode, 0);

  form->Extra() = "design 1\nCLabel Label1 rect=9,9\nCLine Line1 rect=0,0,1,1\nCWidget W rect=0,0,1,1\n";
  Save(root, Path("bad.qxe"));
  const Outcome check = Call("check " + Path("bad.qxe"));
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_EQ(check.err,
            "design of TLogin, line 2: rect needs four numbers\n"
            "design of TLogin, line 4: unknown control class CWidget\n");
}
