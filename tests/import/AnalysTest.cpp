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
      // Types are kept as written, with what the model has no field for in Extra.
      {"class A { int x, y; };", "class A\n  atr x type=int access=0\n  atr y type=int access=0\n"},
      {"class A { CStr Caption; };", "class A\n  atr Caption type=CStr access=0\n"},
      {"class A { long double d; unsigned long u; const static int s; };",
       "class A\n  atr d type=long double access=0\n  atr u type=unsigned long access=0\n"
       "  atr s type=const int access=0 [prefix: static]\n"},
      {"class A { published: TButton *Button1; private: TList* L; protected: A::B c; public: int p; };",
       "class A\n  atr Button1 type=TButton* ptr access=3\n  atr L type=TList* ptr access=0\n"
       "  atr c type=A::B access=1\n  atr p type=int access=2\n"},
      {"class A { int n = 5; int m = f(1, (2)); };",
       "class A\n  atr n type=int access=0 [declarator: = 5]\n  atr m type=int access=0 [declarator: = f(1,(2))]\n"},
      {"class A { int a[10]; char b[N]; };",
       "class A\n  atr a type=int access=0 [declarator: [10]]\n  atr b type=char access=0 [declarator: [N]]\n"},
      {"class A { ; };", "class A\n"},  // an empty declarator declares nothing
      {"class A { public: void __fastcall Click(TObject *Sender); virtual int Count() = 0; };",
       "class A\n  oper Click type=void access=2 (TObject*|Sender) [call: __fastcall]\n"
       "  oper Count type=int access=2 [prefix: virtual; tail: = 0]\n"},
      {"class A { TColor GetColor(); };", "class A\n  oper GetColor type=TColor access=0\n"},
      {"class A { A(int x = 1, int y = f(2, 3)); ~A(); };",
       "class A\n  oper A type= access=0 (int|x=1, int|y=f(2,3))\n  oper ~A type= access=0\n"},
      {"class A { bool operator==(const A& o); A& operator=(const A&); };",
       "class A\n  oper operator == type=bool access=0 (const A&|o)\n  oper operator = type=A& access=0 (const A&|)\n"},
      // Overloads are operations of their own.
      {"class A { void f(int); void f(char); };",
       "class A\n  oper f type=void access=0 (int|)\n  oper f type=void access=0 (char|)\n"},
      {"class A { void f(int, ...); void g(int a[]); };",
       "class A\n  oper f type=void access=0 (int|, ...|)\n  oper g type=void access=0 (int[]|a)\n"},
      // A method declared with its class's qualified name stays in the class.
      {"class TForm1 { void TForm1::Paint(); };", "class TForm1\n  oper Paint type=void access=0\n"},
      // Nested classes; the access is not restored after them.
      {"class A { public: class B { int x; }; int y; };",
       "class A\n  class B\n    atr x type=int access=0\n  atr y type=int access=0\n"},
      // Friends, using-declarations and "explicit" name nothing that belongs to the class.
      {"class A { friend class B; friend int g(); int x; };", "class A\n  atr x type=int access=0\n"},
      {"class A { public: using B::f; explicit A(int n); friend bool operator==(const A& l, const A& r) { return true; } };",
       "class A\n  oper A type= access=2 (int|n) [prefix: explicit]\n"},
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
      {"class A : B;", "Отсутствует символ \"{\""_cp},
      {"class 1 { };", "Ошибка в имени класса"_cp},
      {"class A : public 1 { };", "Ошибка в имени класса предка"_cp},
      {"class A { } int x;", "Пропущен символ \";\""_cp},
      {"class A { public int x; };", "Пропущен символ \":\""_cp},
      {"class A { void f() = 1; };", "Пропущен символ \"0\""_cp},
      {"class A { void f() = 0 };", "Пропущен символ \";\""_cp},
      {"class A { virtual static void f(); };", "Виртуальная функция не может быть статической"_cp},
      {"class A { virtual auto f(); };", "Виртуальная функция не может быть auto"_cp},
      {"static static int x;", "Повторное использование слова static"_cp},
      {"auto auto x;", "Повторное использование слова auto"_cp},
      {"const int const x;", "Повторное использование слова const"_cp},
      {"unsigned signed char c;", "Повторное использование слова signed"_cp},
      {"signed unsigned c;", "Повторное использование слова unsigned"_cp},
      {"double long n;", "Неверное использование слова long"_cp},
      {"int float80 n;", "Неверное использование слова float80"_cp},
      {"_cdecl __cdecl f();", "Повторное использование слова cdecl"_cp},
      {"__fastcall pascal f();", "Повторное использование слова pascal"_cp},
      {"cdecl _stdcall f();", "Повторное использование слова __stdcall"_cp},
      {"cdecl _fastcall f();", "Повторное использование слова __fastcall"_cp},
      {"class A { ~~A(); };", "Повторное описание деструктора"_cp},
      {"int & & x;", "Повторное использование символа \"&\""_cp},
      {"int operator + operator - (int);", "Повторное использование слова operator"_cp},
      // Typedefs of function pointers.
      {"typedef void (1)(int);", "При описании указателя на функцию пропущен символ\"*\""_cp},
      {"typedef void (*)(int);", "Пропущено имя типа указателя на функцию\"*\""_cp},
      {"typedef void (*F(int);", "При описании указателя на функцию пропущен символ\")\""_cp},
      {"typedef void (*F) int;", "При описании указателя на функцию пропущен символ\"(\""_cp},
      {"typedef void (*F)(int) x", "Нет символа \";\""_cp},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.input), c.message) << c.input;
}

// What is C++ but has no place in the model is skipped to the end of its declaration and listed
// with its first words; the rest of the file is read.
TEST_F(Analys, WhatCannotBePlacedIsSkippedAndListed) {
  struct Case {
    const char* input;
    const char* tree;
    const char* listed;
  } cases[] = {
      {"class A { }; class A { int x; };", "class A\n", "class A{int x;};"},
      {"class A { int a(5); int b; };", "class A\n  atr b type=int access=0\n", "int a(5);"},
      {"class A { struct { int x; } s; int b; };", "class A\n  atr b type=int access=0\n", "struct{int x;}s;"},
      {"class A { void f() const; int a[]; };",
       "class A\n  oper f type=void access=0 [tail: const]\n  atr a type=int access=0 [declarator: []]\n", ""},
      // A word that has no place may be a macro the rule does not know: listed, not refused.
      {"class A { int x A; B c A; int y; };", "class A\n  atr y type=int access=0\n", "int x A;B c A;"},
      {"int x y; B c d; class C { };", "class C\n", "int x y;B c d;"},
      {"short int n; long long m; class B { unsigned long long int x; };",
       "atr n type=short int access=2\natr m type=long long access=2\nclass B\n  atr x type=unsigned long long int access=0\n", ""},
  };
  for (const Case& c : cases) {
    unit->Children.Clear();
    a.Unplaced.clear();
    ASSERT_TRUE(Import(c.input)) << c.input << "\n" << (shown.size() > 1 ? shown[1] : "");
    EXPECT_EQ(Describe(unit), c.tree) << c.input;
    std::string listed;
    for (const CUnplacedCode& code : a.Unplaced)
      if (code.Name.View().find('(') == std::string_view::npos || std::string_view(c.listed).find('(') != std::string_view::npos)
        listed += code.Name.ToStd();
    if (*c.listed) EXPECT_EQ(listed, c.listed) << c.input;
  }
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

// A file reads alike with either line end; the reported position is the one in the text as given
// (as the file is on disk), whatever line ends were added to read it.
TEST_F(Analys, LinuxLineEndsReadLikeCrLf) {
  const std::string lf = "// header\n#include <vcl.h>\nclass A {\n  int x;\n}\nint y;\n";
  std::string crlf, mixed;
  for (std::size_t i = 0; i < lf.size(); ++i) {
    crlf += lf[i] == '\n' ? std::string("\r\n") : std::string(1, lf[i]);
    mixed += lf[i] == '\n' && i % 2 ? std::string("\r\n") : std::string(1, lf[i]);
  }
  std::vector<std::string> reports[3];
  const std::string* texts[] = {&lf, &crlf, &mixed};
  for (int i = 0; i < 3; ++i) {
    shown.clear();
    unit->Children.Clear();
    EXPECT_FALSE(Import(*texts[i]));
    reports[i] = shown;
    ASSERT_EQ(shown.size(), 6u);
    const std::size_t at = texts[i]->find("}") + 1;  // just after the brace that wants its ";"
    EXPECT_EQ(shown[3], "Позиция "_cp + std::to_string(at)) << i;
    EXPECT_EQ(reports[i][2], "Строка "_cp + std::string("5"));
  }
  for (int box : {0, 1, 2, 4}) EXPECT_EQ(reports[0][box], reports[1][box]) << box;
}

// The last box shows the lines around the error, not the whole text: a large file is never
// echoed whole.
TEST_F(Analys, TheLastBoxShowsTheLinesAroundTheError) {
  std::string text;
  for (int i = 1; i <= 300; ++i) text += i == 150 ? "class B { int y; }\r\n" : "int v" + std::to_string(i) + ";\r\n";
  EXPECT_FALSE(Import(text));
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(shown[2], "Строка "_cp + std::string("150"));
  const std::string& around = shown[5];
  EXPECT_NE(around.find("class B { int y; }"), std::string::npos);
  EXPECT_NE(around.find("int v145;"), std::string::npos);
  EXPECT_NE(around.find("int v155;"), std::string::npos);
  EXPECT_EQ(around.find("int v1;"), std::string::npos);
  EXPECT_EQ(around.find("int v300;"), std::string::npos);
  EXPECT_LT(around.size(), 2000u);

  // One enormous line is cut too.
  shown.clear();
  unit->Children.Clear();
  EXPECT_FALSE(Import("int a = " + std::string(1 << 20, '1') + " class"));
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_LT(shown[5].size(), 4000u);
}

// A construct whose end is never found is reported where it begins, not where the text ran out.
TEST_F(Analys, ASkipThatNeverEndsIsReportedWhereItsConstructBegan) {
  struct Case {
    const char* input;
    int line;
  } cases[] = {
      {"int a;\r\nenum E { a, b }\r\nint b\r\n\r\n\r\n", 2},
      {"\r\nclass A { };\r\nstatic_assert(sizeof(A) > 0\r\nint b;\r\n\r\n", 3},
      {"class A {\r\n  int x = f(1,\r\n  2\r\n\r\n", 2},
  };
  for (const Case& c : cases) {
    shown.clear();
    unit->Children.Clear();
    EXPECT_FALSE(Import(c.input)) << c.input;
    ASSERT_EQ(shown.size(), 6u) << c.input;
    EXPECT_EQ(shown[2], "Строка "_cp + std::to_string(c.line)) << c.input;
  }
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
  EXPECT_EQ(Describe(unit), "class A\n  atr x type=int access=0\nclass B\n");
}

TEST_F(Analys, TopLevelWordsAreDispatched) {
  EXPECT_TRUE(Import("typedef int Count; typedef TList TMyList; typedef void (__closure *TNotify)(TObject* Sender);\n"
                     "extern int Shared; enum E { a, b }; ; TForm1 *Form1; int main() { return 0; }"));
  // Typedefs never enter the model; an enum is a type of the unit, and variables and functions
  // at file level are its attributes and operations.
  EXPECT_EQ(Describe(unit),
            "atr Shared type=int access=2 [prefix: extern]\nCTypeInfo E [key: enum; values: a,b]\n"
            "atr Form1 type=TForm1* ptr access=2\noper main type=int access=2\n");
  ASSERT_EQ(a.Typedefs.Count().Value, 3);
  auto* count = a.Typedefs.GetAs<CTypeInfo>(0);
  EXPECT_EQ(count->GetName(), "Count");
  EXPECT_EQ(count->BaseType, "");
  EXPECT_EQ(a.Typedefs.GetAs<CTypeInfo>(1)->BaseType, "TList");
  ASSERT_EQ(a.EventTypes.Count().Value, 1);
  EXPECT_EQ(a.EventTypes.Get(0)->GetName(), "TNotify");
  EXPECT_EQ(a.GlobalItems.Count().Value, 0);
  auto* main = dynamic_cast<COperInfo*>(unit->Child(3));
  ASSERT_NE(main, nullptr);
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
      // Numbers stay whole, whatever their base, fraction, exponent and suffix.
      {"{ x = 0x1F + 0xff * 1.5f - 1e10 / 10L; }", head + "\r\n x = 0x1F+0xff*1.5f-1e10/10L;"},
      {"{ return n >> 0x10; }", head + "\r\n return n>>0x10;"},
      // A preprocessor line stays a line of its own, and the statement after it is kept.
      {"{\r\n#ifdef DEBUG\r\n  Log();\r\n#endif\r\n  x = 1;\r\n}",
       head + "\r\n#ifdef DEBUG\r\n Log();\r\n#endif\r\n x = 1;"},
      {"{ if (a) {\r\n  #if X\r\n  b();\r\n  #else\r\n  c();\r\n  #endif\r\n} }",
       head + "\r\n if(a)\r\n{\r\n#if X\r\n   b();\r\n#else\r\n   c();\r\n#endif\r\n}"},
      {"{ a = 1;\r\n#define M(x) \\\r\n  (x + 1)\r\n b = M(a); }",
       head + "\r\n a = 1;\r\n#define M(x) \\\r\n  (x + 1)\r\n b = M(a);"},
  };
  for (const Case& c : cases) {
    unit->Children.Clear();
    ASSERT_TRUE(Import(std::string("class A { void f() ") + c.body + " };")) << c.body;
    auto* f = dynamic_cast<COperInfo*>(unit->Child(0)->Child(0));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Code.ToStd(), c.code) << c.body;
  }
}

TEST_F(Analys, OverloadsAreOperationsOfTheirOwnAndEachBodyFindsItsParameterList) {
  ASSERT_TRUE(Import("class A {\r\npublic:\r\n  A();\r\n  A(int n);\r\n  void Set(int v);\r\n"
                     "  void Set(const char* s);\r\n  void Set(const A& other, int count = 1);\r\n};"));
  ASSERT_TRUE(Import("void A::Set(const char *text) { b(); }\r\nA::A(int) { c(); }\r\n"
                     "void A::Set(const A &o, int n) { e(); }\r\nvoid A::Set(int value) { a(); }\r\n"
                     "A::A() { d(); }",
                     "C:\\Qxe\\Work\\Demo\\Main.cpp"));
  const CInfo* c = unit->Child(0);
  ASSERT_EQ(c->ChildCount().Value, 5) << Describe(unit);
  const std::string head = "//Импортированный исходный код"_cp;
  const char* const bodies[] = {" d();", " c();", " a();", " b();", " e();"};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(dynamic_cast<const COperInfo*>(c->Child(i))->Code.ToStd(), head + "\r\n" + bodies[i]) << i;
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
            "class TForm1 : TForm access=2\n  oper Paint type=void access=3 [call: __fastcall]\n"
            "  oper TForm1 type= access=3 (TComponent*|Owner) [call: __fastcall]\n"
            "  oper ~TForm1 type= access=3 [call: __fastcall]\n  oper operator == type=bool access=3 (const TForm1&|o)\n"
            "  oper Extra type=void access=3\n");
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
  EXPECT_EQ(Describe(unit), "class X\n  class Y\n    oper g type=void access=0\n  oper f type=void access=0\n");
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
