#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Cp1251.h"
#include "import/Parser.h"

namespace {

struct Tok {
  int kind;
  std::string text;
  bool operator==(const Tok&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Tok& t) {
  return out << "{" << t.kind << ", \"" << t.text << "\"}";
}

// Every significant token of a text, up to the empty token at the end.
std::vector<Tok> Tokens(const CStr& text, bool join = false, bool returnSkipped = false) {
  CCppAsmParser p;
  p.JoinQualified = join;
  p.ReturnSkipped = returnSkipped;
  p.SetText(text);
  std::vector<Tok> out;
  for (int guard = 0; guard < 1000; ++guard) {
    p.NextToken();
    if (p.TokenKind == kTokenNone) {
      EXPECT_EQ(p.Token, "");
      break;
    }
    out.push_back({p.TokenKind, p.Token.ToStd()});
  }
  return out;
}

constexpr int N = kTokenNumber, I = kTokenIdent, O = kTokenOperator, S = kTokenString,
              C = kTokenComment, B = kTokenLineBreak, Ch = kTokenChar;

TEST(CCppAsmParser, ReadsTheTokensOfTheStateMachine) {
  struct Case {
    const char* input;
    std::vector<Tok> expected;
  } cases[] = {
      {"", {}},
      {"int8 x;", {{I, "int8"}, {I, "x"}, {O, ";"}}},
      {"_a1 9 b", {{I, "_a1"}, {N, "9"}, {I, "b"}}},
      // Longest known operator: three characters, then two, then one.
      {"a >>= b", {{I, "a"}, {O, ">>="}, {I, "b"}}},
      {"a >> b", {{I, "a"}, {O, ">>"}, {I, "b"}}},
      {"a >> =b", {{I, "a"}, {O, ">>"}, {O, "="}, {I, "b"}}},
      {"a<<b", {{I, "a"}, {O, "<<"}, {I, "b"}}},
      {"a<<<b", {{I, "a"}, {O, "<<"}, {O, "<"}, {I, "b"}}},  // a shift falls back to two
      {"a<<=(", {{I, "a"}, {O, "<<="}, {O, "("}}},
      {"=(", {{O, "="}, {O, "("}}},
      {"x->y", {{I, "x"}, {O, "->"}, {I, "y"}}},
      {"::Foo", {{O, "::"}, {I, "Foo"}}},
      {"f(...)", {{I, "f"}, {O, "("}, {O, "..."}, {O, ")"}}},
      {"a..b", {{I, "a"}, {O, "."}, {O, "."}, {I, "b"}}},
      {"a&&b", {{I, "a"}, {O, "&"}, {O, "&"}, {I, "b"}}},  // not a known pair
      {"i++;", {{I, "i"}, {O, "++"}, {O, ";"}}},
      {"a!=b==c", {{I, "a"}, {O, "!="}, {I, "b"}, {O, "=="}, {I, "c"}}},
      {"x */ y", {{I, "x"}, {O, "*/"}, {I, "y"}}},  // outside a comment it is an operator
      // Character literals read whole like strings: quotes dropped, backslashes kept. One that
      // is not closed on its line is a lone quote, as in a preprocessor line's text.
      {"'a'", {{Ch, "a"}}},
      {"d = ' ';", {{I, "d"}, {O, "="}, {Ch, " "}, {O, ";"}}},
      {"'{' '}'x", {{Ch, "{"}, {Ch, "}"}, {I, "x"}}},
      {"'\\'' '\\\\' '\"'", {{Ch, "\\'"}, {Ch, "\\\\"}, {Ch, "\""}}},
      {"'ab' ''", {{Ch, "ab"}, {Ch, ""}}},
      {"\"'\" '\"'", {{S, "'"}, {Ch, "\""}}},
      {"don't\r\nx'", {{I, "don"}, {O, "'"}, {I, "t"}, {I, "x"}, {O, "'"}}},
      // A number is one token whatever its base, fraction, exponent, separators and suffix.
      {"0x1F 0xff 0XAbC", {{N, "0x1F"}, {N, "0xff"}, {N, "0XAbC"}}},
      {"3.14 1.5f 1. 2.5e-3L", {{N, "3.14"}, {N, "1.5f"}, {N, "1."}, {N, "2.5e-3L"}}},
      {"1e10 1E+10 0x1p-4 0x1e+5", {{N, "1e10"}, {N, "1E+10"}, {N, "0x1p-4"}, {N, "0x1e"}, {O, "+"}, {N, "5"}}},
      {"10L 10uLL 0b1010 017 1'000'000", {{N, "10L"}, {N, "10uLL"}, {N, "0b1010"}, {N, "017"}, {N, "1'000'000"}}},
      {"a[1]-2", {{I, "a"}, {O, "["}, {N, "1"}, {O, "]"}, {O, "-"}, {N, "2"}}},
      {"f(1,x)", {{I, "f"}, {O, "("}, {N, "1"}, {O, ","}, {I, "x"}, {O, ")"}}},
      // Strings: quotes dropped, backslashes kept, no escape translated.
      {"\"a\\\"b\"", {{S, "a\\\"b"}}},
      {"\"\" x", {{S, ""}, {I, "x"}}},
      {"=\"s\"", {{O, "="}, {S, "s"}}},
      {"\"a\\\\\"b", {{S, "a\\\\"}, {I, "b"}}},
      // Comments are skipped, block ones even across lines.
      {"a/*x\r\ny*/b", {{I, "a"}, {I, "b"}}},
      {"a/**/b /*/ c */d", {{I, "a"}, {I, "b"}, {I, "d"}}},
      {"a//c c\r\nb", {{I, "a"}, {I, "b"}}},
      {"x=/*c*/y", {{I, "x"}, {O, "="}, {I, "y"}}},
      // A lone "\r" and a lone "\n" are white space.
      {"a\rb\nc", {{I, "a"}, {I, "b"}, {I, "c"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.input), c.expected) << c.input;
}

TEST(CCppAsmParser, CyrillicIsPunctuationUnlessAllowed) {
  const CStr word = "абв"_cp;
  const std::string a = "а"_cp, b = "б"_cp, v = "в"_cp;
  EXPECT_EQ(Tokens(word), (std::vector<Tok>{{O, a}, {O, b}, {O, v}}));

  CCppAsmParser p;
  p.CyrillicLetters = true;
  p.SetText(word + " x1");
  p.NextToken();
  EXPECT_EQ(p.TokenKind, I);
  EXPECT_EQ(p.Token, word);
}

TEST(CCppAsmParser, ReturnsLineCommentsAndBreaksOnlyWhenAsked) {
  const char* text = "#x // note\r\n/* b */ y\r\nz";
  EXPECT_EQ(Tokens(text, false, true),
            (std::vector<Tok>{{O, "#"}, {I, "x"}, {C, " note"}, {I, "y"}, {B, "\n"}, {I, "z"}, {B, "\n"}}));
  EXPECT_EQ(Tokens(text), (std::vector<Tok>{{O, "#"}, {I, "x"}, {I, "y"}, {I, "z"}}));
  // A carriage return inside a line comment is dropped from its text.
  EXPECT_EQ(Tokens("//a\rb\r\n", false, true), (std::vector<Tok>{{C, "ab"}, {B, "\n"}}));
}

TEST(CCppAsmParser, JoinsQualifiedNamesWhenSet) {
  EXPECT_EQ(Tokens("TForm1::Button1Click", true), (std::vector<Tok>{{I, "TForm1::Button1Click"}}));
  EXPECT_EQ(Tokens("A::B::C x", true), (std::vector<Tok>{{I, "A::B::C"}, {I, "x"}}));
  EXPECT_EQ(Tokens("A::~B", true), (std::vector<Tok>{{O, "A::~"}, {I, "B"}}));  // kind of the last piece
  EXPECT_EQ(Tokens("::Foo", true), (std::vector<Tok>{{O, "::"}, {I, "Foo"}}));
  EXPECT_EQ(Tokens("TForm1::Button1Click"),
            (std::vector<Tok>{{I, "TForm1"}, {O, "::"}, {I, "Button1Click"}}));
}

TEST(CCppAsmParser, EmptyTextReadsNothing) {
  CCppAsmParser p;
  p.SetText("");
  EXPECT_EQ(p.GetText(), "\r\n");
  p.NextToken();
  EXPECT_EQ(p.TokenKind, kTokenNone);
  EXPECT_EQ(p.Token, "");
  EXPECT_TRUE(p.IsEnd());
  // The pass that sees the end steps once past it; GetChar there is "".
  EXPECT_EQ(p.Pos.Value, 3);
  EXPECT_EQ(p.GetChar(), "");
  p.NextToken();
  EXPECT_EQ(p.Pos.Value, 3);
}

TEST(CCppAsmParser, LineCountsEveryBreakBeforeThePosition) {
  struct Case {
    const char* input;
    const char* word;  // read up to and including this token
    int line;
  } cases[] = {
      {"// note\r\nint", "int", 2},
      {"a\r\n\r\nb", "b", 3},
      {"a\r\r\nb", "b", 2},
      {"a\nb", "b", 1},                    // a lone "\n" is no line break
      {"/* x\r\n y\r\n */ z", "z", 3},     // breaks inside a block comment count
      {"\"s\r\nt\" u", "u", 2},            // and inside a string
      {"\"s\r\"\nu", "u", 1},              // "\r" and "\n" apart are no break
  };
  for (const Case& c : cases) {
    CCppAsmParser p;
    p.SetText(c.input);
    do p.NextToken();
    while (p.TokenKind != kTokenNone && p.Token != c.word);
    EXPECT_EQ(p.Token, c.word) << c.input;
    EXPECT_EQ(p.Line.Value, c.line) << c.input;
  }
}

TEST(CCppAsmParser, LineFollowsThePositionBackAndForth) {
  CCppAsmParser p;
  p.SetText("a\r\nb\r\nc\r\nd");
  p.NextToken();
  p.MarkPos();
  const CInt mark = p.Pos;
  p.NextToken();
  p.NextToken();
  p.NextToken();
  EXPECT_EQ(p.Token, "d");
  EXPECT_EQ(p.Line.Value, 4);
  p.RestorePos();
  EXPECT_EQ(p.Pos, mark);
  EXPECT_EQ(p.Line.Value, 1);
  p.SetPos(p.GetText().Pos("c"));
  EXPECT_EQ(p.Line.Value, 3);
  p.SetPos(0);
  EXPECT_EQ(p.Line.Value, 1);
  p.SetPos(p.GetText().Length());
  EXPECT_EQ(p.Line.Value, 5);  // SetText's own "\r\n" is the fourth break
  p.SetText("x");
  EXPECT_EQ(p.Line.Value, 1);
  EXPECT_EQ(p.Pos.Value, 0);
}

TEST(CCppAsmParser, TryTokenConsumesOnlyAMatch) {
  CCppAsmParser p;
  p.SetText("\r\n: x");
  p.NextToken();  // ":"
  p.SetPos(0);
  p.Token = "before";
  p.TokenKind = kTokenIdent;
  EXPECT_FALSE(p.TryToken(";"));
  EXPECT_EQ(p.Pos.Value, 0);
  EXPECT_EQ(p.Line.Value, 1);
  EXPECT_EQ(p.Token, "before");
  EXPECT_EQ(p.TokenKind, kTokenIdent);
  EXPECT_EQ(p.LastToken, ":");

  EXPECT_TRUE(p.TryToken(":"));
  EXPECT_EQ(p.Token, ":");
  EXPECT_EQ(p.Line.Value, 2);
  EXPECT_FALSE(p.TryToken("X"));  // exact and case-sensitive
  EXPECT_EQ(p.LastToken, "x");
  EXPECT_TRUE(p.TryToken("x"));
  EXPECT_FALSE(p.TryToken(";"));
  EXPECT_EQ(p.LastToken, "");  // the end of the text
}

TEST(CCppAsmParser, TryTokenWithJoiningSeesTheWholeName) {
  CCppAsmParser p;
  p.SetText("A::B;");
  EXPECT_FALSE(p.TryToken("A"));
  EXPECT_EQ(p.LastToken, "A::B");
  EXPECT_EQ(p.Pos.Value, 0);
  EXPECT_TRUE(p.TryToken("A::B"));
  EXPECT_TRUE(p.TryToken(";"));
}

TEST(CCppAsmParser, LookAheadLeavesTheTokenReadButNotThePosition) {
  CCppAsmParser p;
  p.SetText("42 name");
  EXPECT_TRUE(p.IsNextNumber());
  EXPECT_EQ(p.Token, "42");
  EXPECT_EQ(p.Pos.Value, 0);
  EXPECT_FALSE(p.IsNextIdent());
  EXPECT_EQ(p.NextKind(), kTokenNumber);
  EXPECT_TRUE(p.IsNextIdent());
  EXPECT_EQ(p.GetWord(), "name");
}

TEST(CCppAsmParser, TextTests) {
  CCppAsmParser p;
  struct Case {
    const char* s;
    bool number, ident;
  } cases[] = {
      {"", false, false},     {"0", true, false},    {"0123", true, false}, {"12a", false, false},
      {"_", false, true},     {"a1_", false, true},  {"1a", false, false},  {"a-b", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(static_cast<bool>(p.IsNumberText(c.s)), c.number) << c.s;
    EXPECT_EQ(static_cast<bool>(p.IsIdentText(c.s)), c.ident) << c.s;
  }
  EXPECT_FALSE(p.IsIdentText("ж"_cp));  // Cyrillic never counts here
}

TEST(CParser, CharacterClasses) {
  CCppAsmParser p;
  p.SetText("a1_ +");
  const struct {
    int pos;
    bool digit, letter, underscore, space, punct;
  } cases[] = {
      {0, false, true, false, false, false}, {1, true, false, false, false, false},
      {2, false, false, true, false, false}, {3, false, false, false, true, false},
      {4, false, false, false, false, true}, {5, false, false, false, true, false},  // "\r"
      {7, false, false, false, true, false},  // past the end: "" is space
  };
  for (const auto& c : cases) {
    p.SetPos(c.pos);
    EXPECT_EQ(static_cast<bool>(p.IsDigit()), c.digit) << c.pos;
    EXPECT_EQ(static_cast<bool>(p.IsLetter()), c.letter) << c.pos;
    EXPECT_EQ(static_cast<bool>(p.IsUnderscore()), c.underscore) << c.pos;
    EXPECT_EQ(static_cast<bool>(p.IsSpace()), c.space) << c.pos;
    EXPECT_EQ(static_cast<bool>(p.IsPunct()), c.punct) << c.pos;
  }
  EXPECT_TRUE(p.IsSpace(""));
  EXPECT_FALSE(p.IsPunct(""));
  EXPECT_TRUE(p.IsPunct("\xC0"));  // with Cyrillic off, every byte from 128 is punctuation
  p.CyrillicLetters = true;
  for (const char* s : {"\xC0", "\xFF", "\xA8", "\xB8"}) EXPECT_TRUE(p.IsLetter(s)) << s;
  EXPECT_FALSE(p.IsLetter("\xBF"));
  EXPECT_TRUE(p.IsNewLine("\n"));
}

TEST(CParser, RestOfLineAndChars) {
  CCppAsmParser p;
  p.SetText("#include <x>\r\nnext");
  p.Next();
  EXPECT_EQ(p.GetChar(), "i");
  EXPECT_EQ(p.GetRestOfLine(), "include <x>");
  EXPECT_EQ(p.Pos.Value, 1);
  p.SetPos(p.GetText().Pos("next"));
  EXPECT_EQ(p.GetRestOfLine(), "next");
  EXPECT_EQ(p.Line.Value, 2);
}

}  // namespace
