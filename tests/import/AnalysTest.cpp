#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/App.h"
#include "core/Cp1251.h"
#include "import/CppAnalys.h"
#include "model/Kinds.h"
#include "storage/Config.h"
#include "storage/Stream.h"
#include "tests/import/Tree.h"

namespace {

constexpr const char* kHeader = "C:\\Qxe\\Work\\Demo\\Main.h";

// A unit Main in the application Demo of the project group Work, and an analyser whose
// messages are recorded instead of shown.
class Analys : public testing::Test {
 protected:
  void SetUp() override {
    group = new CProjectGroupInfo;
    app.InfoMan.Root.Append(group);
    group->SetName("Work");
    demo = new CAppInfo;
    group->Append(demo);
    demo->SetName("Demo");
    unit = new CUnitInfo;
    demo->Append(unit);
    unit->SetName("Main");
    a.Root = &app.InfoMan.Root;
    a.ImportedUnit = unit;
    a.ShowMessage = [this](const CStr& text) { shown.push_back(text.ToStd()); };
  }

  bool Import(const std::string& text, const char* file = kHeader) {
    return static_cast<bool>(a.ImportText(file, CStr(text)));
  }
  // The message of the report, or "" when the text imported.
  std::string ErrorOf(const std::string& text) {
    shown.clear();
    unit->Children.Clear();
    const bool ok = Import(text);
    EXPECT_EQ(ok, shown.empty()) << text;
    return shown.size() >= 2 ? shown[1] : std::string();
  }

  CApp app;
  CInfo* group = nullptr;
  CInfo* demo = nullptr;
  CUnitInfo* unit = nullptr;
  CCppAnalys a;
  std::vector<std::string> shown;
};

TEST_F(Analys, DeclarationsBecomeClassesAttributesAndOperations) {
  struct Case {
    const char* input;
    const char* tree;
  } cases[] = {
      {"class A; class A : public B { };", "class A : B access=2\n"},  // completed where it stands
      {"class A;", "class A (forward)\n"},
      {"class A : B { };", "class A : B access=0\n"},  // no access word: private
      {"class A : protected B { };", "class A : B access=1\n"},
      // x has no type name and access 0; y is a declarator of its own, without the type word.
      {"class A { int x, y; };", "class A\n  atr x type= access=0\n  atr y type= access=0\n"},
      {"class A { CStr Caption; };", "class A\n  atr Caption type=CStr access=0\n"},
      {"class A { long double d; unsigned long u; const static int s; };",
       "class A\n  atr d type= access=0\n  atr u type= access=0\n  atr s type= access=0\n"},
      {"class A { published: TButton *Button1; private: TList* L; protected: A::B c; public: int p; };",
       "class A\n  atr Button1 type=TButton ptr access=3\n  atr L type=TList ptr access=0\n"
       "  atr c type=A::B access=1\n  atr p type= access=2\n"},
      {"class A { int n = 5; int m = f(1, (2)); };", "class A\n  atr n type= access=0\n  atr m type= access=0\n"},
      {"class A { int a[10]; char b[N]; };", "class A\n  atr a type= access=0\n  atr b type= access=0\n"},
      {"class A { ; };", "class A\n"},  // an empty declarator declares nothing
      {"class A { public: void __fastcall Click(TObject *Sender); virtual int Count() = 0; };",
       "class A\n  oper Click type= access=2\n  oper Count type= access=2\n"},
      {"class A { TColor GetColor(); };", "class A\n  oper GetColor type=TColor access=0\n"},
      {"class A { A(int x = 1, int y = f(2, 3)); ~A(); };",
       "class A\n  oper A type= access=0\n  oper ~A type= access=0\n"},
      {"class A { bool operator==(const A& o); A& operator=(const A&); };",
       "class A\n  oper operator == type= access=0\n  oper operator = type=A access=0\n"},
      {"class A { void f(int); void f(char); };", "class A\n  oper f type= access=0\n"},  // one per name
      {"class A { void f(int, ...); void g(int a[]); };", "class A\n  oper f type= access=0\n  oper g type= access=0\n"},
      // A method declared with its class's qualified name stays in the class.
      {"class TForm1 { void TForm1::Paint(); };", "class TForm1\n  oper Paint type= access=0\n"},
      // Nested classes; the access is not restored after them.
      {"class A { public: class B { int x; }; int y; };",
       "class A\n  class B\n    atr x type= access=0\n  atr y type= access=0\n"},
      {"class A { friend class B; friend int g(); };", "class A\n  class B (forward)\n  oper g type= access=0\n"},
  };
  for (const Case& c : cases) {
    unit->Children.Clear();
    ASSERT_TRUE(Import(c.input)) << c.input << "\n" << (shown.size() > 1 ? shown[1] : "");
    EXPECT_EQ(Describe(unit), c.tree) << c.input;
  }
}

TEST_F(Analys, EveryCheckReportsItsMessage) {
  struct Case {
    const char* input;
    std::string message;
  } cases[] = {
      {"class A { }; class A { };", "Класс уже описан"_cp},
      {"class A : B;", "Отсутствует символ \"{\""_cp},
      {"class 1 { };", "Ошибка в имени класса"_cp},
      {"class A : public 1 { };", "Ошибка в имени класса предка"_cp},
      {"class A = 0;", "Нет символа \"{\" или \";\""_cp},
      {"class A { } int x;", "Пропущен символ \";\""_cp},
      {"class A { public int x; };", "Пропущен символ \":\""_cp},
      {"class A { + };", "Ошибка при описании типа"_cp},
      {"class A { int a[]; };", "Ошибка при описании типа"_cp},
      {"class A { int a(5); };", "Пропущен символ \";\" или \",\""_cp},
      {"class A { void f() = 1; };", "Пропущен символ \"0\""_cp},
      {"class A { void f() = 0 };", "Пропущен символ \";\""_cp},
      {"class A { void f() const; };", "Пропущен символ \";\" или \"{\" 1"_cp},
      {"class A { virtual static void f(); };", "Виртуальная функция не может быть статической"_cp},
      {"class A { virtual auto f(); };", "Виртуальная функция не может быть auto"_cp},
      {"static static int x;", "Повторное использование слова static"_cp},
      {"auto auto x;", "Повторное использование слова auto"_cp},
      {"const int const x;", "Повторное использование слова const"_cp},
      {"unsigned signed char c;", "Повторное использование слова signed"_cp},
      {"signed unsigned c;", "Повторное использование слова unsigned"_cp},
      {"short int n;", "Неверное использование слова int"_cp},
      {"long long n;", "Неверное использование слова long"_cp},
      {"double long n;", "Неверное использование слова long"_cp},
      {"int float80 n;", "Неверное использование слова float80"_cp},
      {"_cdecl __cdecl f();", "Повторное использование слова cdecl"_cp},
      {"__fastcall pascal f();", "Повторное использование слова pascal"_cp},
      {"cdecl _stdcall f();", "Повторное использование слова __stdcall"_cp},
      {"cdecl _fastcall f();", "Повторное использование слова __fastcall"_cp},
      {"class A { ~~A(); };", "Повторное описание деструктора"_cp},
      {"int & & x;", "Повторное использование символа \"&\""_cp},
      {"int operator + operator - (int);", "Повторное использование слова operator"_cp},
      // The word rule, by the word's being a known type or not.
      {"class A { int x A; };", "Имя уже задано 1"_cp},
      {"class A { B c A; };", "Имя уже задано 2"_cp},
      {"int x y;", "Имя уже задано 3"_cp},
      {"B c d;", "Имя уже задано 4"_cp},
      {"typedef int T; int x T;", "Имя уже задано 1"_cp},  // a typedef is a known type
      // Typedefs of function pointers.
      {"typedef void (x)(int);", "При описании указателя на функцию пропущен символ\"*\""_cp},
      {"typedef void (*)(int);", "Пропущено имя типа указателя на функцию\"*\""_cp},
      {"typedef void (*F(int);", "При описании указателя на функцию пропущен символ\")\""_cp},
      {"typedef void (*F) int;", "При описании указателя на функцию пропущен символ\"(\""_cp},
      {"typedef void (*F)(int) x", "Нет символа \";\""_cp},
      {"typedef int X[];", "Нет символа \";\""_cp},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.input), c.message) << c.input;
}

TEST_F(Analys, TheEndOfTheTextInsideAnythingIsReported) {
  struct Case {
    const char* input;
    std::string message;
  } cases[] = {
      {"class A { int x;", "Пропущен символ \"}\""_cp},
      {"class A { void f() { if (a) { b();", "Пропущен символ \"}\""_cp},
      {"void f(int a", "Пропущен символ \")\""_cp},
      {"void f(int a = g(1", "Пропущен символ \")\""_cp},
      {"void f(int a; int b);", "Пропущен символ \")\""_cp},
      {"void f(int a { }", "Пропущен символ \")\""_cp},
      {"int x = 5", "Пропущен символ \";\""_cp},
      {"int x", "Пропущен символ \";\""_cp},
      {"extern \"C\" int f()", "Пропущен символ \";\""_cp},
      {"enum E { a, b }", "Пропущен символ \";\""_cp},
      {"typedef void (*F)(int", "Пропущен символ \")\""_cp},
      {"#include \"a.h\r\nclass A { };", "Незакрытая строка"_cp},
      {"class A { }; /* note", "Незакрытый комментарий"_cp},
      {"void f() { s = \"abc; }", "Незакрытая строка"_cp},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.input), c.message) << c.input;
}

TEST_F(Analys, TheReportShowsFileLinePositionExcerptAndText) {
  const std::string text = "class A {\r\n  int x;\r\n}\r\nclass B { };";
  EXPECT_FALSE(Import(text));
  const std::string whole = text + "\r\n";
  const std::size_t at = whole.find("}") + 1;  // just after the brace that wants its ";"
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(shown[0], std::string("Ошибка в файле: "_cp) + kHeader);
  EXPECT_EQ(shown[1], "Пропущен символ \";\""_cp);
  EXPECT_EQ(shown[2], "Строка "_cp + std::string("3"));
  EXPECT_EQ(shown[3], "Позиция "_cp + std::to_string(at));
  EXPECT_EQ(shown[4], whole.substr(at, 200));
  EXPECT_EQ(shown[5], whole);

  // An unclosed string is shown where its quote stands.
  shown.clear();
  EXPECT_FALSE(Import("int a;\r\nint b = \"x;\r\nint c;"));
  EXPECT_EQ(shown[2], "Строка "_cp + std::string("2"));
  EXPECT_EQ(shown[4].substr(0, 3), "\"x;");

  // The excerpt is at most 200 characters.
  shown.clear();
  EXPECT_FALSE(Import("class A { } " + std::string(500, 'x')));
  EXPECT_EQ(shown[4].size(), 200u);
}

TEST_F(Analys, LinuxLineEndsReadLikeCrLf) {
  const std::string lf = "// header\n#include <vcl.h>\nclass A {\n  int x;\n}\nint y;\n";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::vector<std::string> reports[2];
  for (int i = 0; i < 2; ++i) {
    shown.clear();
    unit->Children.Clear();
    EXPECT_FALSE(Import(i ? crlf : lf));
    reports[i] = shown;
  }
  EXPECT_EQ(reports[0], reports[1]);
  EXPECT_EQ(reports[0][2], "Строка "_cp + std::string("5"));
}

TEST(ImportedText, EveryLoneLineFeedGetsItsCarriageReturnWherePiecesOfTheTextMeet) {
  // The text is copied in pieces of several bytes: a line end on either side of a piece's edge,
  // a "\r" ending one piece and its "\n" starting the next, and lines shorter than a piece.
  const std::string ends[] = {"\n", "\r\n", "\r", "\n\n", "\r\r\n", "\n\r", "\r\n\n"};
  for (const std::string& end : ends) {
    for (std::size_t at = 0; at < 40; ++at) {
      for (std::size_t tail : {0u, 1u, 15u, 16u, 17u, 33u}) {
        std::string in = std::string(at, 'a') + end + std::string(tail, 'b') + "\nc\nd\r\n";
        std::string want;
        for (std::size_t i = 0; i < in.size(); ++i) {
          if (in[i] == '\n' && (i == 0 || in[i - 1] != '\r')) want += '\r';
          want += in[i];
        }
        EXPECT_EQ(WithCrLf(CStr(in)).ToStd(), want) << at << " " << tail;
      }
    }
  }
}

TEST_F(Analys, PreprocessorLinesEndAtTheirLineEnd) {
  EXPECT_TRUE(Import("#include \"a.h\" // the form\nclass A { int x; };\n#pragma hdrstop\n#define N 10 /* ten */\nclass B { };"));
  EXPECT_EQ(Describe(unit), "class A\n  atr x type= access=0\nclass B\n");
}

TEST_F(Analys, TopLevelWordsAreDispatched) {
  EXPECT_TRUE(Import("typedef int Count; typedef TList TMyList; typedef void (__closure *TNotify)(TObject* Sender);\n"
                     "extern int Shared; enum E { a, b }; ; TForm1 *Form1; int main() { return 0; }"));
  EXPECT_EQ(Describe(unit), "");  // typedefs and globals never enter the model
  ASSERT_EQ(a.Typedefs.Count().Value, 3);
  auto* count = a.Typedefs.GetAs<CTypeInfo>(0);
  EXPECT_EQ(count->GetName(), "Count");
  EXPECT_EQ(count->BaseType, "");
  EXPECT_EQ(a.Typedefs.GetAs<CTypeInfo>(1)->BaseType, "TList");
  ASSERT_EQ(a.EventTypes.Count().Value, 1);
  EXPECT_EQ(a.EventTypes.Get(0)->GetName(), "TNotify");
  ASSERT_EQ(a.GlobalItems.Count().Value, 2);
  auto* form = a.GlobalItems.GetAs<CAtrInfo>(0);
  EXPECT_EQ(form->GetName(), "Form1");
  EXPECT_EQ(form->Type, "TForm1");
  EXPECT_TRUE(form->MemberFlag);
  auto* main = a.GlobalItems.GetAs<COperInfo>(1);
  EXPECT_EQ(main->GetName(), "main");
  EXPECT_EQ(main->Code.ToStd(), "//Импортированный исходный код"_cp + std::string("\r\n return 0;"));
  EXPECT_TRUE(shown.empty());
}

TEST_F(Analys, NamespaceShowsANoteAndReadingGoesOn) {
  EXPECT_TRUE(Import("namespace N; class A { };"));
  EXPECT_EQ(shown, std::vector<std::string>{"DoNamespace"});
  EXPECT_EQ(Describe(unit), "class A\n");
}

TEST_F(Analys, BodiesAreRebuiltAsIndentedCode) {
  const std::string head = "//Импортированный исходный код"_cp;
  struct Case {
    const char* body;
    std::string code;
  } cases[] = {
      {"{ a=1; }", head + "\r\n a = 1;"},
      {"{}", head},
      {"{ return x + 1; }", head + "\r\n return x+1;"},
      {"{ int i = 0; a == b; }", head + "\r\n int i = 0;\r\n a==b;"},
      {"{ ShowMessage(\"Hi \\\"you\\\"\"); }", head + "\r\n ShowMessage(\"Hi \\\"you\\\"\");"},
      {"{ if (a) { b(); } else { c = \"s\"; } }",
       head + "\r\n if(a)\r\n{\r\n   b();\r\n}\r\n else\r\n{\r\n   c = \"s\";\r\n}"},
      {"{ while (x) { if (y) { z--; } } }",
       head + "\r\n while(x)\r\n{\r\n   if(y)\r\n  {\r\n     z--;\r\n  }\r\n}"},
      {"{ { } }", head + "\r\n\r\n{\r\n}"},
      {"{ a; // note\r\n /* more */ b }", head + "\r\n a;\r\n b"},
      // Character literals stay as written and braces inside them count for nothing.
      {"{ d = ' '; }", head + "\r\n d = ' ';"},
      {"{ if (c == '{') n++; }", head + "\r\n if(c=='{')n++;"},
      {"{ if (c == '}') { n--; } }", head + "\r\n if(c=='}')\r\n{\r\n   n--;\r\n}"},
      {"{ a = '\\''; b = '\\\\'; q = '\"'; }",
       head + "\r\n a = '\\'';\r\n b = '\\\\';\r\n q = '\"';"},
  };
  for (const Case& c : cases) {
    unit->Children.Clear();
    ASSERT_TRUE(Import(std::string("class A { void f() ") + c.body + " };")) << c.body;
    auto* f = dynamic_cast<COperInfo*>(unit->Child(0)->Child(0));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Code.ToStd(), c.code) << c.body;
  }
}

TEST_F(Analys, ASourceDefinitionFillsTheOperationTheHeaderDeclared) {
  ASSERT_TRUE(Import("class TForm1 : public TForm {\r\npublished:\r\n  void __fastcall Paint();\r\n"
                     "  __fastcall TForm1(TComponent* Owner);\r\n  __fastcall ~TForm1();\r\n"
                     "  bool operator==(const TForm1& o);\r\n};"));
  ASSERT_TRUE(Import("void __fastcall TForm1::Paint() { a=1; }\r\n"
                     "__fastcall TForm1::TForm1(TComponent* Owner) : TForm(Owner) { Count = 0; }\r\n"
                     "__fastcall TForm1::~TForm1() { delete List; }\r\n"
                     "bool TForm1::operator==(const TForm1& o) { return true; }\r\n"
                     "void TForm1::Extra() { }",
                     "C:\\Qxe\\Work\\Demo\\Main.cpp"));
  EXPECT_EQ(Describe(unit),
            "class TForm1 : TForm access=2\n  oper Paint type= access=3\n  oper TForm1 type= access=3\n"
            "  oper ~TForm1 type= access=3\n  oper operator == type= access=3\n"
            "  oper Extra type= access=3\n");
  const std::string head = "//Импортированный исходный код"_cp;
  auto code = [&](int i) { return dynamic_cast<COperInfo*>(unit->Child(0)->Child(i))->Code.ToStd(); };
  EXPECT_EQ(code(0), head + "\r\n a = 1;");
  EXPECT_EQ(code(1), head + "\r\n Count = 0;");
  EXPECT_EQ(code(2), head + "\r\n delete List;");
  EXPECT_EQ(code(3), head + "\r\n return true;");
}

TEST_F(Analys, QualifiedNamesFindNestedClassesAndTheFirstClassOfTheirName) {
  // A second application holds a class X too; the one met first in the tree's order wins,
  // whichever was made first.
  auto* other = new CAppInfo;
  group->Append(other);
  other->SetName("Other");
  auto* otherUnit = new CUnitInfo;
  other->Append(otherUnit);
  otherUnit->SetName("U");
  a.ImportedUnit = otherUnit;
  ASSERT_TRUE(Import("class X { };"));
  a.ImportedUnit = unit;
  ASSERT_TRUE(Import("class X { class Y { void g(); }; };"));
  ASSERT_TRUE(Import("void X::f() { } void X::Y::g() { h(); }"));
  EXPECT_EQ(Describe(unit), "class X\n  class Y\n    oper g type= access=0\n  oper f type= access=0\n");
  EXPECT_EQ(Describe(otherUnit), "class X\n");
  auto* g = dynamic_cast<COperInfo*>(unit->Child(0)->Child(0)->Child(0));
  EXPECT_EQ(g->Code.ToStd(), "//Импортированный исходный код"_cp + std::string("\r\n h();"));
  // No class of the name: the operation stays with the analyser.
  ASSERT_TRUE(Import("void Nowhere::f() { }"));
  EXPECT_EQ(a.GlobalItems.Count().Value, 1);
}

// Classes nested in classes make the tree as deep as the text says. The import must refuse
// nesting that the configuration could not be read back with, and must not recurse without end.
TEST_F(Analys, ClassNestingStopsWhereTheSavedTreeCouldNotBeReadBack) {
  auto nested = [](int levels, const std::string& prefix) {
    std::string text;
    for (int i = 0; i < levels; ++i) text += "class " + prefix + std::to_string(i) + " { ";
    text += "int x; ";
    for (int i = 0; i < levels; ++i) text += "}; ";
    return text;
  };
  // The unit stands 3 levels below the root; each class is one more, and x one more again.
  const int fits = CInfo::kMaxDepth - 1 - 3 - 1;
  EXPECT_EQ(ErrorOf(nested(fits, "c")), "");
  CMemory saved;
  WriteConfig(saved, app.InfoMan.Root);
  CInfo back;
  const CLoadReport report = ReadConfig(saved, back);
  EXPECT_TRUE(report.Ok()) << report.Fault;

  const std::string tooDeep = "Слишком глубокая вложенность классов"_cp;
  EXPECT_EQ(ErrorOf(nested(fits + 1, "c")), tooDeep);
  EXPECT_EQ(ErrorOf(nested(20 * CInfo::kMaxDepth, "c")), tooDeep);

  // Forward-declared classes are completed where they stand, so the tree stays flat while
  // the bodies still nest in the text.
  std::string forwards;
  for (int i = 0; i < 20 * CInfo::kMaxDepth; ++i) forwards += "class f" + std::to_string(i) + "; ";
  EXPECT_EQ(ErrorOf(forwards + "class outer { " + nested(20 * CInfo::kMaxDepth, "f") + "};"), tooDeep);
}

// A body is rebuilt with two blanks of indentation per level of braces, so its text grows with
// the square of its nesting: 40 KB of braces would make gigabytes. Such a body is refused; a
// long body of ordinary shape is not.
TEST_F(Analys, ABodyWhoseRebuiltTextWouldBeHugeIsRefused) {
  const int levels = 20000;
  const std::string braces = std::string(levels, '{') + std::string(levels, '}');
  EXPECT_EQ(ErrorOf("class A { void f() { " + braces + " } };"), "Слишком большой текст метода"_cp);

  const std::string line = std::string(1 << 20, 'a');
  ASSERT_EQ(ErrorOf("class A { void f() { if (x) { " + line + "; } } };"), "");
  auto* f = dynamic_cast<COperInfo*>(unit->Child(0)->Child(0));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Code.ToStd(), "//Импортированный исходный код"_cp + std::string("\r\n if(x)\r\n{\r\n   ") + line +
                                 ";\r\n}");
}

}  // namespace
