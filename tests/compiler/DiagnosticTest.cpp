// The compiler's and the linker's lines read as places.
#include <gtest/gtest.h>

#include "compiler/Diagnostic.h"

namespace compiler {
namespace {

TEST(ParseCompilerLine, ErrorsWarningsAndNotesNameTheirPlace) {
  struct Case {
    const char* text;
    LineKind kind;
    const char* file;
    int line;
    int column;
  };
  const Case cases[] = {
      {"Main.cpp:12:5: error: 'x' was not declared in this scope", LineKind::Error, "Main.cpp", 12, 5},
      {"Main.h:3:1: warning: unused variable 'y' [-Wunused-variable]", LineKind::Warning, "Main.h", 3, 1},
      {"Main.cpp:7:10: fatal error: nope.h: No such file or directory", LineKind::Error, "Main.cpp", 7, 10},
      {"Main.cpp:40: note: declared here", LineKind::Note, "Main.cpp", 40, 0},
      {"collect2: error: ld returned 1 exit status", LineKind::Error, "collect2", 0, 0},
      {"/usr/include/c++/v1/x.h:1:2: error: boom", LineKind::Error, "/usr/include/c++/v1/x.h", 1, 2},
      // A folder name with a colon in it stays part of the name.
      {"a:b/Main.cpp:2:3: error: e", LineKind::Error, "a:b/Main.cpp", 2, 3},
      {"Main.cpp: In member function 'void TForm1::Click()':", LineKind::Plain, "", 0, 0},
      {"   12 |   x = 1;", LineKind::Plain, "", 0, 0},
      {"/usr/bin/ld: Main.o: in function `main':", LineKind::Plain, "", 0, 0},
      {"Main.cpp:(.text+0x1b): undefined reference to `foo()'", LineKind::Plain, "", 0, 0},
      {"", LineKind::Plain, "", 0, 0},
      {":1:2: error: no file", LineKind::Plain, "", 0, 0},
      {"Main.cpp:0:0: error: line zero", LineKind::Error, "Main.cpp", 0, 0},
      {"Main.cpp:99999999999999:1: error: too big", LineKind::Plain, "", 0, 0},
  };
  for (const Case& c : cases) {
    const BuildLine parsed = ParseCompilerLine(c.text);
    EXPECT_EQ(parsed.Text, c.text);
    EXPECT_EQ(parsed.Kind, c.kind) << c.text;
    EXPECT_EQ(parsed.File, c.file) << c.text;
    EXPECT_EQ(parsed.Line, c.line) << c.text;
    EXPECT_EQ(parsed.Column, c.column) << c.text;
  }
}

}  // namespace
}  // namespace compiler
