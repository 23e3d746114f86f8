// qxtree import as a user runs it: a project file with the unit Work/Demo/Main, the unit's header
// and source on drive C:, the command, and the tree that qxtree dump then shows.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "core/App.h"
#include "model/Kinds.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "storage/Config.h"
#include "storage/File.h"
#include "tests/tools/RunTool.h"

namespace {

using qxtest::Outcome;
using qxtest::RunTool;
using qxtest::Slurp;
using qxtest::Spit;

namespace fs = std::filesystem;




// A form as a form designer writes it, with Linux line ends.
const char* const kHeader = R"(//---------------------------------------------------------------------------
#ifndef MainH
#define MainH
//---------------------------------------------------------------------------
#include <Classes.hpp>
#include <Controls.hpp> // the controls
#include "Helpers.h"
//---------------------------------------------------------------------------
typedef void (__closure *TClickEvent)(TObject* Sender, int Count);
typedef int TCounter;
/* The main form of the demo:
   one button and a label. */
class TMainForm : public TForm
{
published:	// IDE-managed Components
	TButton *OkButton;
	TLabel *Status;
	void __fastcall OkButtonClick(TObject *Sender);
private:	// User declarations
	TCounter FClicks;
	CStr FTitle;
	int FWidth, FHeight;
	static const int MaxClicks = 10;
	void __fastcall ShowCount(int Count, bool Loud = false);
public:		// User declarations
	__fastcall TMainForm(TComponent* Owner);
	__fastcall ~TMainForm();
	bool operator==(const TMainForm& Other);
	virtual int Score() = 0;
};
//---------------------------------------------------------------------------
extern PACKAGE TMainForm *MainForm;
//---------------------------------------------------------------------------
#endif
)";

// Its source, with CR LF line ends and Russian strings (written as cp1251).
const char* const kSource =
    "//---------------------------------------------------------------------------\r\n"
    "#include <vcl.h>\r\n"
    "#pragma hdrstop\r\n"
    "\r\n"
    "#include \"Main.h\"\r\n"
    "#pragma package(smart_init)\r\n"
    "#pragma resource \"*.dfm\"\r\n"
    "TMainForm *MainForm;\r\n"
    "//---------------------------------------------------------------------------\r\n"
    "__fastcall TMainForm::TMainForm(TComponent* Owner)\r\n"
    "\t: TForm(Owner)\r\n"
    "{\r\n"
    "\tFClicks = 0;\r\n"
    "\tFTitle = \"Демо\";\r\n"
    "}\r\n"
    "__fastcall TMainForm::~TMainForm()\r\n"
    "{\r\n"
    "\t// nothing to free\r\n"
    "}\r\n"
    "void __fastcall TMainForm::OkButtonClick(TObject *Sender)\r\n"
    "{\r\n"
    "\tFClicks++;\r\n"
    "\tif (FClicks > MaxClicks) {\r\n"
    "\t\tStatus->Caption = \"Хватит\";\r\n"
    "\t} else {\r\n"
    "\t\tShowCount(FClicks, true);\r\n"
    "\t}\r\n"
    "}\r\n"
    "void __fastcall TMainForm::ShowCount(int Count, bool Loud)\r\n"
    "{\r\n"
    "\tStatus->Caption = IntToStr(Count);\r\n"
    "}\r\n"
    "bool TMainForm::operator==(const TMainForm& Other)\r\n"
    "{\r\n"
    "\treturn FClicks == Other.FClicks;\r\n"
    "}\r\n";

// The lines of a dump that say what the import made, with their indentation.
std::string Essentials(const std::string& dump) {
  static const char* const kKeys[] = {"\"class\"", "\"name\"", "\"Type\"", "\"Access\"",
                                      "\"MemberFlag\"", "\"Base\"", "\"Kind\"", "\"Code\""};
  std::istringstream in(dump);
  std::string out, line;
  while (std::getline(in, line)) {
    const std::size_t at = line.find_first_not_of(' ');
    for (const char* key : kKeys)
      if (at != std::string::npos && line.compare(at, std::strlen(key), key) == 0) {
        if (line.back() == ',') line.pop_back();
        out += line + "\n";
      }
  }
  return out;
}

class ImportTool : public testing::Test {
 protected:
  void SetUp() override {
    drive_ = platform::DriveCFolder();
    unitDir_ = drive_ + "/Qxe/Work/Demo";
    fs::remove_all(drive_ + "/Qxe");
    fs::create_directories(unitDir_);
    dir_ = drive_ + "/import-" + testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(dir_);
    config_ = dir_ + "/conf.qxe";

    // Work/Demo/Main, with an element the import must replace.
    auto* group = new CProjectGroupInfo;
    app.InfoMan.Root.Append(group);
    group->SetName("Work");
    auto* demo = new CAppInfo;
    group->Append(demo);
    demo->SetName("Demo");
    auto* unit = new CUnitInfo;
    demo->Append(unit);
    unit->SetName("Main");
    auto* stale = new CClassInfo;
    unit->Append(stale);
    stale->SetName("TStale");
    CFile file(CHostPath{config_}, CFile::kCreate);
    ASSERT_EQ(WriteConfigFile(file, app.InfoMan.Root), "");
  }

  Outcome Call(const std::string& arguments) { return RunTool("qxtree", arguments, dir_); }

  void WriteUnit(const std::string& name, const std::string& utf8) {
    Spit(unitDir_ + "/" + name, platform::Utf8ToCp1251(utf8));
  }

  CApp app;
  std::string drive_, unitDir_, dir_, config_;
};

TEST_F(ImportTool, AFormHeaderAndSourceBecomeTheUnitsTree) {
  WriteUnit("Main.h", kHeader);
  WriteUnit("Main.cpp", kSource);
  const Outcome run = Call("import " + config_ + " Work/Demo/Main");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");

  const Outcome dump = Call("dump " + config_);
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  const std::string head = "//Импортированный исходный код";
  auto member = [](const char* kind, const char* name, const char* type, int access, bool flag) {
    const std::string pad(22, ' ');
    return pad + "\"class\": \"" + kind + "\"\n" + pad + "\"name\": \"" + name + "\"\n" + pad + "  \"Type\": \"" +
           type + "\"\n" + pad + "  \"Access\": " + std::to_string(access) + "\n" + pad +
           "  \"MemberFlag\": " + (flag ? "true" : "false") + "\n";
  };
  auto code = [](const std::string& text) { return std::string(24, ' ') + "\"Code\": \"" + text + "\"\n"; };
  const std::string expected =
      "  \"class\": \"CInfo\"\n  \"name\": \"\"\n"
      "      \"class\": \"CProjectGroupInfo\"\n      \"name\": \"Work\"\n"
      "          \"class\": \"CAppInfo\"\n          \"name\": \"Demo\"\n"
      "              \"class\": \"CUnitInfo\"\n              \"name\": \"Main\"\n"
      "                  \"class\": \"CClassInfo\"\n                  \"name\": \"TMainForm\"\n"
      "                    \"Base\": \"TForm\"\n                    \"Kind\": 2\n" +
      member("CAtrInfo", "OkButton", "TButton*", 3, true) +
      member("CAtrInfo", "Status", "TLabel*", 3, true) +
      member("COperInfo", "OkButtonClick", "void", 3, false) +
      code(head + "\\r\\n FClicks++;\\r\\n if(FClicks>MaxClicks)\\r\\n{\\r\\n   Status->Caption = \\\"Хватит\\\";"
                  "\\r\\n}\\r\\n else\\r\\n{\\r\\n   ShowCount(FClicks,true);\\r\\n}") +
      member("CAtrInfo", "FClicks", "TCounter", 0, false) +
      member("CAtrInfo", "FTitle", "CStr", 0, false) +
      member("CAtrInfo", "FWidth", "int", 0, false) +
      member("CAtrInfo", "FHeight", "int", 0, false) +
      member("CAtrInfo", "MaxClicks", "const int", 0, false) +
      member("COperInfo", "ShowCount", "void", 0, false) +
      code(head + "\\r\\n Status->Caption = IntToStr(Count);") +
      member("COperInfo", "TMainForm", "", 2, false) +
      code(head + "\\r\\n FClicks = 0;\\r\\n FTitle = \\\"Демо\\\";") +
      member("COperInfo", "~TMainForm", "", 2, false) + code(head) +
      member("COperInfo", "operator ==", "bool", 2, false) +
      code(head + "\\r\\n return FClicks==Other.FClicks;") +
      member("COperInfo", "Score", "int", 2, false) + code("") +
      // extern PACKAGE TMainForm *MainForm; is a variable of the unit.
      "                  \"class\": \"CAtrInfo\"\n                  \"name\": \"MainForm\"\n"
      "                    \"Type\": \"TMainForm*\"\n                    \"Access\": 2\n"
      "                    \"MemberFlag\": true\n";
  EXPECT_EQ(Essentials(dump.out), expected);
}

TEST_F(ImportTool, AMissingSemicolonIsReportedAndTheFileIsLeftAlone) {
  const std::string header = "class TBroken\r\n{\r\n}\r\nint x;\r\n";
  WriteUnit("Main.h", header);
  fs::create_directories(drive_ + "/Qxe");
  Spit(drive_ + "/Qxe/Conf.recovered.qxe", "an earlier copy");
  const std::string before = Slurp(config_);
  const Outcome run = Call("import " + config_ + " Work/Demo/Main");
  EXPECT_EQ(run.exitCode, 1);
  // The report's texts without the carriage returns of the source.
  const std::string text = "class TBroken\n{\n}\nint x;\n\n";
  const std::size_t at = header.find('}') + 1;
  EXPECT_EQ(run.err,
            "Ошибка в файле: C:\\Qxe\\Work\\Demo\\Main.h\n"
            "Пропущен символ \";\"\n"
            "Строка 3\n"
            "Позиция " +
                std::to_string(at) + "\n" + "\nint x;\n\n\n" + text + "\n");
  EXPECT_EQ(Slurp(config_), before);  // byte for byte, and no copy of it anywhere else
  EXPECT_EQ(Slurp(drive_ + "/Qxe/Conf.recovered.qxe"), "an earlier copy");
  EXPECT_EQ(std::distance(fs::directory_iterator(drive_ + "/Qxe"), fs::directory_iterator()), 2);
}

TEST_F(ImportTool, CharacterLiteralsStayAsWrittenAndUnplacedCodeIsListed) {
  WriteUnit("Main.h",
            "class TMainForm : public TForm\n{\npublished:\n\tvoid __fastcall Key(char &c);\n};\n");
  WriteUnit("Main.cpp",
            "void __fastcall TMainForm::Key(char &c)\n{\n\tif (c == '{') c = ' ';\n"
            "\tif (c == '}') { c = '\\''; }\n\tq = '\"';\n}\n"
            "int Twice(int a)\n{\n\treturn a + a;\n}\n"
            "void __fastcall TMianForm::Stop()\n{\n\tClose();\n}\n");
  const Outcome run = Call("import " + config_ + " Work/Demo/Main");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // Twice is the unit's own function now; the method of a class that does not exist is listed.
  EXPECT_EQ(run.err, "Не помещено в проект: TMianForm::Stop, C:\\Qxe\\Work\\Demo\\Main.cpp, строка 11\n");
  const Outcome dump = Call("dump " + config_);
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  EXPECT_NE(
      dump.out.find("\"Code\": \"//Импортированный исходный код\\r\\n if(c=='{')c = ' ';\\r\\n"
                    " if(c=='}')\\r\\n{\\r\\n   c = '\\\\'';\\r\\n}\\r\\n q = '\\\"';\""),
      std::string::npos)
      << dump.out;
}

TEST_F(ImportTool, AUnitWithOnlyAHeaderOrNoFilesImportsWhatThereIs) {
  WriteUnit("Main.h", "class TOnly { int x; };\n");
  ASSERT_EQ(Call("import " + config_ + " Work/Demo/Main").exitCode, 0);
  std::string dump = Call("dump " + config_).out;
  EXPECT_NE(dump.find("\"name\": \"TOnly\""), std::string::npos);
  EXPECT_EQ(dump.find("TStale"), std::string::npos);  // a re-import starts from an empty unit

  fs::remove(unitDir_ + "/Main.h");
  ASSERT_EQ(Call("import " + config_ + " Work/Demo").exitCode, 0);  // an application imports its units
  dump = Call("dump " + config_).out;
  EXPECT_EQ(dump.find("TOnly"), std::string::npos);
  EXPECT_NE(dump.find("\"name\": \"Main\""), std::string::npos);
}

// The save writes over the file without the record the load passed over: the file is first
// kept beside itself, byte for byte, and stderr says where.
TEST_F(ImportTool, AFileReadInPartIsKeptBeforeTheImportWritesOverIt) {
  auto* lost = new CAppInfo;  // beside Demo; a flipped bit makes its class unknown
  app.InfoMan.Root.Child(0)->Append(lost);
  lost->SetName("Lost");
  lost->About = CStr(std::string(3000, 'l'));
  {
    CFile file(CHostPath{config_}, CFile::kCreate);
    ASSERT_EQ(WriteConfigFile(file, app.InfoMan.Root), "");
  }
  std::string damaged = Slurp(config_);
  const std::size_t at = damaged.rfind("CAppInfo", damaged.find("Lost"));
  ASSERT_NE(at, std::string::npos);
  damaged[at + 1] ^= 0x20;
  Spit(config_, damaged);
  Spit(config_ + ".damaged-1", "an earlier copy of something else");
  WriteUnit("Main.h", "class TOnly { int x; };\n");

  // No room for the copy: nothing is written.
  {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit tight{2048, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const Outcome full = Call("import " + config_ + " Work/Demo/Main");
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("не удалось сделать копию повреждённого файла: "), std::string::npos)
        << full.err;
    EXPECT_EQ(Slurp(config_), damaged);
    EXPECT_FALSE(fs::exists(config_ + ".damaged-2"));
  }

  const Outcome run = Call("import " + config_ + " Work/Demo/Main");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("пропущен элемент класса \"CappInfo\""), std::string::npos) << run.err;
  EXPECT_NE(
      run.err.find(config_ + ": повреждённый файл сохранён в копии " + config_ + ".damaged-2"),
      std::string::npos)
      << run.err;
  EXPECT_EQ(Slurp(config_ + ".damaged-1"), "an earlier copy of something else");
  EXPECT_EQ(Slurp(config_ + ".damaged-2"), damaged);
  const std::string dump = Call("dump " + config_).out;
  EXPECT_NE(dump.find("\"name\": \"TOnly\""), std::string::npos) << dump;
  EXPECT_EQ(dump.find("Lost"), std::string::npos);

  // The file written is whole: the next import keeps no copy of it.
  ASSERT_EQ(Call("import " + config_ + " Work/Demo/Main").exitCode, 0);
  EXPECT_FALSE(fs::exists(config_ + ".damaged-3"));
}

TEST_F(ImportTool, ArgumentsAndElementsAreChecked) {
  const std::string before = Slurp(config_);
  const Outcome missing = Call("import " + config_ + " Work/Nothing");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("нет элемента Work/Nothing"), std::string::npos) << missing.err;
  EXPECT_EQ(Call("import " + config_).exitCode, 2);
  EXPECT_EQ(Call("import " + dir_ + "/none.qxe Work").exitCode, 1);
  EXPECT_EQ(Slurp(config_), before);
}

}  // namespace

namespace {

TEST_F(ImportTool, ExportWritesTheApplicationsFilesIntoAFolder) {
  WriteUnit("Main.h", kHeader);
  WriteUnit("Main.cpp", kSource);
  ASSERT_EQ(Call("import " + config_ + " Work/Demo/Main").exitCode, 0);
  const std::string out = dir_ + "/out";
  // No main and no designed form: nothing to start a program with, and nothing is written.
  const Outcome refused = Call("export " + config_ + " Work/Demo " + out);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("main"), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(out + "/Main.h"));

  WriteUnit("Main.cpp", std::string(kSource) + "\nint main() { return 0; }\n");
  ASSERT_EQ(Call("import " + config_ + " Work/Demo/Main").exitCode, 0);
  const Outcome run = Call("export " + config_ + " Work/Demo/Main " + out);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string header = Slurp(out + "/Main.h"), source = Slurp(out + "/Main.cpp");
  EXPECT_NE(header.find("class TMainForm : public TForm"), std::string::npos) << header;
  EXPECT_NE(header.find("#include <Classes.hpp>"), std::string::npos) << header;
  EXPECT_NE(source.find("Status->Caption = \"Хватит\";"), std::string::npos) << source;  // UTF-8 again
  EXPECT_NE(source.find("auto main() -> int"), std::string::npos) << source;

  EXPECT_EQ(Call("export " + config_ + " Work/Nowhere " + out).exitCode, 1);
  EXPECT_EQ(Call("export " + config_ + " Work/Demo").exitCode, 2);
}

}  // namespace
