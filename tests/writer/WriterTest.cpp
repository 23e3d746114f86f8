// Units written out as C++ files: what the files hold, that the system compiler builds them into
// a program that does what the code said, the line map, and the refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/App.h"
#include "core/Cp1251.h"
#include "import/Import.h"
#include "model/HeadTexts.h"
#include "model/Kinds.h"
#include "platform/Files.h"
#include "writer/Writer.h"

namespace {

namespace fs = std::filesystem;

void Spit(const std::string& systemPath, const std::string& bytes) {
  const fs::path path = platform::LinuxPath(systemPath);
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class T>
T* Add(CInfo* parent, const char* name) {
  auto* node = new T;
  parent->Append(node);
  node->SetName(name);
  return node;
}

const writer::WrittenFile* FileNamed(const writer::Written& written, const std::string& name) {
  for (const writer::WrittenFile& file : written.Files)
    if (file.Name == name) return &file;
  return nullptr;
}

class Writer : public testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(platform::LinuxPath("C:\\Qxe"));
    group = Add<CProjectGroupInfo>(&app.InfoMan.Root, "Work");
    demo = Add<CAppInfo>(group, "Demo");
  }

  // The unit made by importing the two texts from its own files.
  CUnitInfo* Imported(const char* name, const std::string& header, const std::string& source) {
    auto* unit = Add<CUnitInfo>(demo, name);
    Spit("C:\\Qxe\\Work\\Demo\\" + std::string(name) + ".h", header);
    Spit("C:\\Qxe\\Work\\Demo\\" + std::string(name) + ".cpp", source);
    std::vector<std::string> shown;
    const CImportResult result = ImportCommand(unit, [&](const CStr& text) { shown.push_back(text.ToStd()); });
    EXPECT_TRUE(result.Ok) << (shown.size() > 1 ? shown[1] + " " + shown[2] + "\n" + shown[5] : "");
    return unit;
  }

  // Builds the written files into a program and runs it; its output, or the compiler's.
  std::string BuildAndRun(const writer::Written& written, int& status) {
    std::string error;
    EXPECT_TRUE(writer::StoreChanged(written, writer::BuildFolder(*demo), error)) << error;
    const fs::path folder = platform::LinuxPath(writer::BuildFolder(*demo).View());
    std::string command = "cd '" + folder.string() + "' && c++ -std=c++20 -o program";
    for (const writer::WrittenFile& file : written.Files)
      if (file.Name.ends_with(".cpp")) command += " '" + file.Name + "'";
    command += " > out.txt 2>&1 && ./program > out.txt 2>&1";
    status = std::system(command.c_str());
    return Slurp(folder / "out.txt");
  }

  CApp app;
  CProjectGroupInfo* group = nullptr;
  CAppInfo* demo = nullptr;
};

TEST_F(Writer, ImportedCodeBuildsIntoAProgramThatDoesWhatItSaid) {
  // What real code is made of: head texts, a namespace, several bases, an enum class, a static
  // member, overloads, an operator, a template, a variable and functions of the unit, and
  // constructors whose initialiser lists give a const member and a template's member their value.
  Imported("Shapes",
           "#include <string>\n#define SIDES 4\n\n"
           "namespace geo {\n"
           "enum class Kind : int { Square = 1, Circle };\n"
           "struct Named { virtual ~Named() = default; std::string name; };\n"
           "struct Counted { static int made; };\n"
           "class Shape : public Named, public Counted {\n"
           " public:\n  Shape(int side, Kind kind = Kind::Square);\n"
           "  virtual int Area() const;\n  int Scale(int by);\n  int Scale(int by, int plus);\n"
           "  bool operator==(const Shape& other) const;\n"
           " private:\n  const int id_;\n  int side_;\n  Kind kind_;\n};\n"
           "template <class T> class Box { public: Box() : extra_(1) {} T Twice(T v) const { return v + v + extra_ - 1; } T extra_; };\n"
           "}\n"
           "extern int Total;\nint Sides();\n",
           "#include \"Shapes.h\"\n\nint geo::Counted::made = 10;\nint Total = 3;\n"
           "namespace geo {\n"
           "Shape::Shape(int side, Kind kind) : id_(side), side_{side}, kind_(kind) { made += id_ - side + 1; }\n"
           "int Shape::Area() const { return kind_ == Kind::Square ? side_ * side_ : 3 * side_ * side_; }\n"
           "int Shape::Scale(int by) { side_ *= by; return side_; }\n"
           "int Shape::Scale(int by, int plus) { side_ = side_ * by + plus; return side_; }\n"
           "bool Shape::operator==(const Shape& other) const { return Area() == other.Area(); }\n"
           "}\n"
           "int Sides() { return SIDES; }\n");
  Imported("Main", "", "#include <cstdio>\n#include \"Shapes.h\"\n\n"
           "int main() {\n  geo::Shape a(2), b(4, geo::Kind::Circle);\n  a.Scale(2);\n  b.Scale(1, 1);\n"
           "  geo::Box<int> box;\n"
           "  std::printf(\"%d %d %d %d %d %d\\n\", a.Area(), b.Area(), a == b, geo::Counted::made, box.Twice(Total), Sides());\n"
           "  return 0;\n}\n");
  const writer::Written written = writer::WriteApplication(*demo);
  ASSERT_EQ(written.Error, "");
  ASSERT_EQ(written.Files.size(), 4u);  // a unit with main needs no generated entry
  int status = -1;
  const std::string output = BuildAndRun(written, status);
  ASSERT_EQ(status, 0) << output << FileNamed(written, "Shapes.h")->Text << FileNamed(written, "Shapes.cpp")->Text;
  EXPECT_EQ(output, "16 75 0 12 6 4\n");
}

TEST_F(Writer, EveryLineIsMappedToItsElementAndABodyLineToItsLineOfCode) {
  auto* unit = Add<CUnitInfo>(demo, "Main");
  unit->UnitExtra = WriteHeads({"#include <cstdio>\r\n", ""});
  auto* form = Add<CClassInfo>(unit, "TForm");
  auto* count = Add<CAtrInfo>(form, "Count");
  count->Type = "int";
  auto* go = Add<COperInfo>(form, "Go");
  go->Type = "int";
  go->Access = 2;
  go->AddParam("int", "times");
  go->Code = "int sum = 0;\r\nfor (int i = 0; i < times; ++i) sum += i;\r\nreturn sum;";
  auto* main = Add<COperInfo>(unit, "main");
  main->Type = "int";
  main->Code = "TForm form;\r\nstd::printf(\"%d\\n\", form.Go(5));\r\nreturn 0;";
  const writer::Written written = writer::WriteApplication(*demo);
  ASSERT_EQ(written.Error, "");
  for (const writer::WrittenFile& file : written.Files) {
    // One place for every line of the text.
    const auto lines = std::count(file.Text.begin(), file.Text.end(), '\n');
    EXPECT_EQ(std::size_t(lines), file.Lines.size()) << file.Name;
  }
  // Each line of Code is found where the map says, and the declarations map to their elements.
  for (const writer::WrittenFile& file : written.Files) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < file.Text.size();) {
      const std::size_t end = file.Text.find('\n', at);
      lines.push_back(file.Text.substr(at, end - at));
      at = end + 1;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const writer::LinePlace& place = file.Lines[i];
      if (place.CodeLine >= 0) {
        auto* operation = dynamic_cast<COperInfo*>(place.Element);
        ASSERT_NE(operation, nullptr);
        EXPECT_EQ(lines[i], operation->Code.Field("\r\n", place.CodeLine).ToStd());
      }
      if (lines[i].find("int Count;") != std::string::npos) EXPECT_EQ(place.Element, count);
      if (lines[i].find("Go(int times)") != std::string::npos) EXPECT_EQ(place.Element, go);
      if (lines[i] == "#include <cstdio>") EXPECT_EQ(place.Element, unit);
    }
  }
  const writer::WrittenFile* source = FileNamed(written, "Main.cpp");
  ASSERT_NE(source, nullptr);
  int found = 0;
  for (std::size_t i = 0; i < source->Lines.size(); ++i)
    if (source->Lines[i].Element == go && source->Lines[i].CodeLine == 2) ++found;
  EXPECT_EQ(found, 1);
  int status = -1;
  EXPECT_EQ(BuildAndRun(written, status), "10\n");
  EXPECT_EQ(status, 0);
}

TEST_F(Writer, UnsafeNamesDuplicateUnitsAndNoEntryAreRefusedNamingTheElement) {
  struct Case {
    const char* group;
    const char* unit;
    const char* second;  // a second unit, or null
    bool withMain;
    const char* faulty;  // the name of the element at fault
  };
  const Case cases[] = {
      {"Work", "../x", nullptr, true, "../x"},
      {"Wo/rk", "Main", nullptr, true, "Wo/rk"},
      {"Work", "a\\b", nullptr, true, "a\\b"},
      {"Work", "..", nullptr, true, ".."},
      {"Work", "Main", "main", true, "main"},
      {"Work", "Main", nullptr, false, "Demo"},
  };
  for (const Case& c : cases) {
    group->SetName(c.group);
    demo->Children.Clear();
    auto* unit = Add<CUnitInfo>(demo, c.unit);
    if (c.second) Add<CUnitInfo>(demo, c.second);
    if (c.withMain) Add<COperInfo>(unit, "main")->Type = "int";
    const writer::Written written = writer::WriteApplication(*unit);
    EXPECT_NE(written.Error, "") << c.unit;
    ASSERT_NE(written.Faulty, nullptr) << c.unit;
    EXPECT_EQ(written.Faulty->GetName(), c.faulty);
    EXPECT_TRUE(written.Files.empty());
  }
  // A library needs no entry.
  group->SetName("Work");
  auto* lib = Add<CLibInfo>(group, "Lib");
  Add<CClassInfo>(Add<CUnitInfo>(lib, "Util"), "Helper");
  const writer::Written library = writer::WriteApplication(*lib);
  EXPECT_EQ(library.Error, "");
  EXPECT_EQ(library.Files.size(), 2u);
}

TEST_F(Writer, OnlyFilesWhoseBytesChangedAreWrittenAgain) {
  auto* unit = Add<CUnitInfo>(demo, "Main");
  auto* main = Add<COperInfo>(unit, "main");
  main->Type = "int";
  main->Code = "return 0;";
  Add<CClassInfo>(Add<CUnitInfo>(demo, "Other"), "Thing");
  std::string error;
  const CStr folder = writer::BuildFolder(*demo);
  EXPECT_EQ(folder, "C:\\Qxe\\Work\\Demo\\build\\");
  ASSERT_TRUE(writer::StoreChanged(writer::WriteApplication(*demo), folder, error)) << error;
  const fs::path linux = platform::LinuxPath(folder.View());
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  for (const char* name : {"Main.h", "Main.cpp", "Other.h", "Other.cpp"}) fs::last_write_time(linux / name, old);
  main->Code = "return 1;";
  ASSERT_TRUE(writer::StoreChanged(writer::WriteApplication(*demo), folder, error)) << error;
  EXPECT_GT(fs::last_write_time(linux / "Main.cpp"), old);
  for (const char* name : {"Main.h", "Other.h", "Other.cpp"}) EXPECT_EQ(fs::last_write_time(linux / name), old) << name;
  EXPECT_NE(Slurp(linux / "Main.cpp").find("return 1;"), std::string::npos);
  // A folder that cannot be made: a file stands where it would be.
  Spit("C:\\Qxe\\Blocked", "x");
  EXPECT_FALSE(writer::StoreChanged(writer::WriteApplication(*demo), "C:\\Qxe\\Blocked\\build\\", error));
  EXPECT_NE(error.find("Blocked"), std::string::npos) << error;
}

}  // namespace

namespace {

class DesignedForm : public Writer {
 protected:
  // A form class with a label and a button whose click sets the label's text; the lines hold
  // every field the designer writes for them.
  CClassInfo* MakeForm(CUnitInfo* unit) {
    auto* form = Add<CClassInfo>(unit, "TForm1");
    form->Base = "CForm";
    form->Kind = 2;
    form->Extra() = CStr(std::string("design 1\n") +
                         "CLabel Label1 rect=16,16,200,40 color=0,0,0 anchors=3,3,4,4 face=0.8,0.8,0.8 text=\"" +
                         "Имя"_cp + "\" textcolor=0,0,0\n" +
                         "CControl Group1 rect=16,60,220,120\n"
                         "  CButton Button1 rect=16,60,120,90 face=0.8,0.8,0.8 text=\"Go\" textcolor=0,0,1 center "
                         "click=\"Button1Click\"\n"
                         "  CFillRectangle - rect=130,60,220,90 color=1,0,0\n");
    auto* click = Add<COperInfo>(form, "Button1Click");
    click->Type = "void";
    click->Access = 2;
    // The files are UTF-8; a text for the toolkit, which works in cp1251, is written "..."_cp.
    click->Code = CStr("Label1->Caption->Str = \"" + std::string("Нажато"_cp) + "\"_cp;");
    return form;
  }

  std::string Build(const writer::Written& written, bool run, int& status) {
    std::string error;
    EXPECT_TRUE(writer::StoreChanged(written, writer::BuildFolder(*demo), error)) << error;
    const fs::path folder = platform::LinuxPath(writer::BuildFolder(*demo).View());
    std::string command = "cd '" + folder.string() + "' && c++ -std=c++20 -I'" + std::string(QX_SOURCE_DIR) + "' -o program";
    for (const writer::WrittenFile& file : written.Files)
      if (file.Name.ends_with(".cpp")) command += " '" + file.Name + "'";
    command += std::string(" ") + QX_TOOLKIT_LIBRARIES + " > out.txt 2>&1";
    if (run) command += " && SDL_VIDEODRIVER=offscreen ./program > out.txt 2>&1";
    status = std::system(command.c_str());
    return Slurp(folder / "out.txt");
  }
};

TEST_F(DesignedForm, ItsControlsAreMadeNamedAndTheClickOperationIsBound) {
  auto* unit = Add<CUnitInfo>(demo, "Main");
  unit->UnitExtra = WriteHeads({"#include <cstdio>\r\n#include \"controls/CtrlApp.h\"\r\n#include \"widgets/WidgetClasses.h\"\r\n", ""});
  MakeForm(unit);
  // A main of the user's own that presses the button without a loop. The label stands where the
  // design put it, though its anchors make it follow the form's resizing.
  auto* main = Add<COperInfo>(unit, "main");
  main->Type = "int";
  main->Code =
      "CCtrlApp app(WidgetClassRows());\r\nCtrlApp = &app;\r\n"
      "{\r\nTForm1 form(nullptr);\r\n"
      "std::printf(\"%s|%s|%d|%d|\", form.Label1->Caption->Str.Text(), form.Button1->Caption->Str.Text(), form.Group1->IndexOfFramePart(form.Button1).Value >= 0 ? 1 : 0, form.Button1->Caption->Color.B.Value == 1 ? 1 : 0);\r\n"
      "form.Button1->OnClick(form.Button1);\r\n"
      "std::printf(\"%s|%s|%g,%g,%g,%g\\n\", form.Label1->Caption->Str.Text(), form.Caption->Title->Str.Text(), double(form.Label1->M1.X.Value), double(form.Label1->M1.Y.Value), double(form.Label1->M2.X.Value), double(form.Label1->M2.Y.Value));\r\n}\r\n"
      "return 0;";
  const writer::Written written = writer::WriteApplication(*demo);
  ASSERT_EQ(written.Error, "");
  ASSERT_NE(FileNamed(written, "Main.forms.h"), nullptr);
  EXPECT_EQ(FileNamed(written, writer::kGeneratedMain), nullptr);
  int status = -1;
  const std::string output = Build(written, true, status);
  ASSERT_EQ(status, 0) << output << FileNamed(written, "Main.forms.h")->Text;
  EXPECT_EQ(output, std::string("Имя"_cp) + "|Go|1|1|" + "Нажато"_cp + "|TForm1|16,16,200,40\n");
}

// The built window's title and face size come from the design's form line; a design without
// one is a form of the default size titled after its class. The controls lie where designed.
TEST_F(DesignedForm, TheWindowTakesTheFormLinesTitleAndSize) {
  auto* unit = Add<CUnitInfo>(demo, "Main");
  unit->UnitExtra = WriteHeads({"#include <cstdio>\r\n#include \"controls/CtrlApp.h\"\r\n#include \"widgets/WidgetClasses.h\"\r\n", ""});
  MakeForm(unit);
  CClassInfo* tuned = MakeForm(unit);
  tuned->SetName("TForm2");
  std::string extra = std::as_const(*tuned).Extra().ToStd();
  extra.insert(std::string("design 1\n").size(), "form title=\"" + std::string("Вход"_cp) + "\" size=320,200\n");
  tuned->Extra() = CStr(std::string_view(extra));
  auto* main = Add<COperInfo>(unit, "main");
  main->Type = "int";
  const std::string show =
      "std::printf(\"%s|%gx%g|%g,%g\\n\", form.Caption->Title->Str.Text(), double(form.Client->GetWidth().Value), "
      "double(form.Client->GetHeight().Value), double(form.Label1->M1.X.Value), double(form.Label1->M1.Y.Value));\r\n";
  main->Code = CStr("CCtrlApp app(WidgetClassRows());\r\nCtrlApp = &app;\r\n{\r\nTForm1 form(nullptr);\r\n" + show +
                    "}\r\n{\r\nTForm2 form(nullptr);\r\n" + show + "}\r\nreturn 0;");
  const writer::Written written = writer::WriteApplication(*demo);
  ASSERT_EQ(written.Error, "");
  int status = -1;
  const std::string output = Build(written, true, status);
  ASSERT_EQ(status, 0) << output << FileNamed(written, "Main.forms.h")->Text;
  EXPECT_EQ(output, "TForm1|400x300|16,16\n" + std::string("Вход"_cp) + "|320x200|16,16\n")
      << FileNamed(written, "Main.forms.h")->Text;
}

TEST_F(DesignedForm, WithoutAMainTheFirstFormClassIsShownByAGeneratedOne) {
  auto* unit = Add<CUnitInfo>(demo, "Main");
  Add<CClassInfo>(Add<CUnitInfo>(demo, "Other"), "Plain");
  MakeForm(unit);
  const writer::Written written = writer::WriteApplication(*demo);
  ASSERT_EQ(written.Error, "");
  const writer::WrittenFile* entry = FileNamed(written, writer::kGeneratedMain);
  ASSERT_NE(entry, nullptr);
  EXPECT_NE(entry->Text.find("new TForm1(nullptr)"), std::string::npos);
  int status = -1;
  const std::string output = Build(written, false, status);
  EXPECT_EQ(status, 0) << output;
}

}  // namespace
