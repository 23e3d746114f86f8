#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <random>
#include <string>

#include "core/Cp1251.h"
#include "core/List.h"
#include "core/Values.h"

TEST(CInt, ArithmeticWrapsAndChangesInPlaceAnswerTheNewValue) {
  CInt five = 5;
  EXPECT_EQ((five++).Value, 6);
  EXPECT_EQ(five.Value, 6);
  EXPECT_EQ((five--).Value, 5);
  EXPECT_EQ((five += 10).Value, 15);
  EXPECT_EQ(five.Value, 15);
  EXPECT_EQ((CInt(INT32_MAX) + 1).Value, INT32_MIN);
  EXPECT_EQ((CInt(INT32_MIN) - 1).Value, INT32_MAX);
  EXPECT_EQ((CInt(0x10000) * 0x10000).Value, 0);
  CInt max = INT32_MAX;
  EXPECT_EQ((max++).Value, INT32_MIN);
}

TEST(CInt, RemainderTakesTheDividendsSignAndNeverTraps) {
  struct Case {
    int a, b, expected;
  } cases[] = {
      {7, 3, 1}, {-7, 3, -1}, {7, -3, 1}, {-7, -3, -1},
      {7, 0, 7},               // a zero divisor answers the dividend
      {INT32_MIN, -1, 0},      // the one quotient that overflows
      {INT32_MIN, 0, INT32_MIN},
  };
  for (const Case& c : cases)
    EXPECT_EQ((CInt(c.a) % CInt(c.b)).Value, c.expected) << c.a << " % " << c.b;
}

TEST(CInt, ComparisonsAndText) {
  EXPECT_TRUE(CInt(2) < CInt(3));
  EXPECT_TRUE(CInt(3) >= CInt(3));
  EXPECT_FALSE(CInt(3) != CInt(3));
  EXPECT_EQ(CInt(-42).ToStr(), "-42");
  EXPECT_EQ(CInt(INT32_MIN).ToStr(), "-2147483648");
  EXPECT_EQ(CInt(0).ToStr(), "0");
}

TEST(CFloat, RoundingFamily) {
  struct Case {
    long double x;
    int trunc, floor, ceil, round;
  } cases[] = {
      {2.5L, 2, 2, 3, 3},
      {-2.5L, -2, -3, -2, -2},  // halves go up
      {-2.7L, -2, -3, -2, -3},
      {0.49999L, 0, 0, 1, 0},
      {7.0L, 7, 7, 7, 7},
  };
  for (const Case& c : cases) {
    const CFloat f = c.x;
    EXPECT_EQ(f.Trunc().Value, c.trunc) << static_cast<double>(c.x);
    EXPECT_EQ(f.Floor().Value, c.floor) << static_cast<double>(c.x);
    EXPECT_EQ(f.Ceil().Value, c.ceil) << static_cast<double>(c.x);
    EXPECT_EQ(f.Round().Value, c.round) << static_cast<double>(c.x);
  }
  // Outside int32, the x87's "integer indefinite" rather than undefined behaviour.
  EXPECT_EQ(CFloat(1e12).Round().Value, INT32_MIN);
  EXPECT_EQ(CFloat(std::nanl("")).Trunc().Value, INT32_MIN);
  // Round at the edges of int32, where it leaves its shortcut for the library's floor.
  struct Edge {
    long double x;
    std::int32_t round;
  } edges[] = {
      {-0.5L, 0},
      {-0.50001L, -1},
      {2147483646.5L, INT32_MAX},
      {2147483647.4L, INT32_MAX},
      {2147483647.5L, INT32_MIN},
      {-2147483648.5L, INT32_MIN},  // exactly the smallest int32
      {-2147483648.0L, INT32_MIN},
      {-2147483647.75L, -2147483648},
      {-2147483648.75L, INT32_MIN},  // one below: outside
      {std::nanl(""), INT32_MIN},
  };
  for (const Edge& e : edges)
    EXPECT_EQ(CFloat(e.x).Round().Value, e.round) << static_cast<double>(e.x);
  // And the library's floor of x + 1/2 everywhere between, at every scale.
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    const long double scale = std::ldexp(1.0L, int(random() % 34));
    const long double x =
        (static_cast<long double>(random()) / 18446744073709551616.0L - 0.5L) * 2 * scale;
    const long double floor = std::floor(x + 0.5L);
    const std::int32_t expected =
        floor >= -2147483648.0L && floor <= 2147483647.0L ? std::int32_t(floor) : INT32_MIN;
    ASSERT_EQ(CFloat(x).Round().Value, expected) << static_cast<double>(x);
  }
}

TEST(CFloat, TextBothWays) {
  struct Case {
    long double x;
    const char* text;
  } cases[] = {
      {24.0L, "24"}, {0.1L, "0.1"}, {0.5L, "0.5"}, {1e10L, "1e+10"},
      {1234567.0L, "1234567"}, {12345678.0L, "1.234568e+07"}, {0.0001L, "0.0001"},
      {0.00001L, "1e-05"}, {-3.25L, "-3.25"},
  };
  for (const Case& c : cases) EXPECT_EQ(CFloat(c.x).ToStr(), c.text);

  struct Parse {
    const char* text;
    long double value;
  } parses[] = {
      {"12.5abc", 12.5L}, {"-3e2", -300.0L}, {"+.5", 0.5L}, {"7e", 7.0L},
      {"abc", 0.0L}, {"", 0.0L}, {" 5", 0.0L}, {"0x10", 0.0L}, {"inf", 0.0L}, {".", 0.0L},
  };
  for (const Parse& p : parses) EXPECT_EQ(CFloat::FromStr(p.text).Value, p.value) << p.text;
}

TEST(CFloat, ArithmeticInExtendedPrecisionAndDivisionByZero) {
  // 1 + 2^-60 is exact in 64 mantissa bits and lost in a double.
  const CFloat tiny = std::ldexp(1.0L, -60);
  EXPECT_TRUE((CFloat(1) + tiny) > CFloat(1));
  CFloat x = 3;
  EXPECT_EQ((x *= 2).Value, 6.0L);
  EXPECT_EQ((x -= 1).Value, 5.0L);
  EXPECT_EQ((-x).Value, -5.0L);
  EXPECT_TRUE(std::isinf((CFloat(1) / CFloat(0)).Value));
  EXPECT_GT((CFloat(1) / CFloat(0)).Value, 0);
  EXPECT_LT((CFloat(-1) / CFloat(0)).Value, 0);
  EXPECT_TRUE(std::isnan((CFloat(0) / CFloat(0)).Value));
  CFloat a = 1, b = 2;
  Swap(a, b);
  EXPECT_EQ(a.Value, 2.0L);
  EXPECT_EQ(b.Value, 1.0L);
}

TEST(CFloat, BuiltFromItsTenByteImage) {
  EXPECT_EQ(CFloat(0x8000000000000000ull, 0x3FFF).Value, 1.0L);
  EXPECT_EQ(CFloat(0xC000000000000000ull, 0xC000).Value, -3.0L);
}

TEST(CStr, ConstructionAndOwnership) {
  EXPECT_EQ(CStr('\0').Length().Value, 0);
  EXPECT_EQ(CStr('x'), "x");
  EXPECT_EQ(CStr(static_cast<const char*>(nullptr)).Length().Value, 0);
  CStr a = "abc";
  CStr b = a;
  b += "d";
  EXPECT_EQ(a, "abc");  // a copy never shares its buffer
  EXPECT_EQ(b, "abcd");
  EXPECT_EQ((b += "e"), "abcde");
  EXPECT_EQ(a + "x", "abcx");
}

TEST(CStr, OperationsWritingIntoAStringMayReadTheStringItself) {
  // The argument is the receiver, or lies inside its buffer: growing or replacing the buffer
  // must not free what is still to be read.
  CStr s = "abcdefghijklmnopqrstuvwxyz";
  s += s;
  EXPECT_EQ(s, "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz");
  CStr t = "ab";
  t = t + t;
  EXPECT_EQ(t, "abab");
  for (int i = 0; i < 12; ++i) t += t;  // each growth moves the buffer
  EXPECT_EQ(t.Length().Value, 4 << 12);
  EXPECT_TRUE(t == CStr("ab").Repeat(2 << 12));
  CStr u = "0123456789";
  u.AppendBytes(u.Text() + 2, 5);
  EXPECT_EQ(u, "012345678923456");
  u = u.SubStr(3, 4);
  EXPECT_EQ(u, "3456");
  const CStr& same = u;
  u = same;
  EXPECT_EQ(u, "3456");

  CStrList list;
  list.AddString("first");
  list.AddString("second");
  list.SetString(*list.GetAs<CStr>(0), 0);  // the text is the item being replaced
  list.SetString(*list.GetAs<CStr>(1), 0);
  list.InsertString(0, *list.GetAs<CStr>(1));
  EXPECT_EQ(list.GetString(0), "second");
  EXPECT_EQ(list.GetString(1), "second");
  EXPECT_EQ(list.GetString(2), "second");
}

TEST(CStr, ComparisonsAreUnsignedBytewise) {
  EXPECT_TRUE(CStr("b") >= CStr("a"));
  EXPECT_TRUE(CStr("a") >= CStr("a"));
  EXPECT_FALSE(CStr("a") >= CStr("ab"));    // a prefix sorts first
  EXPECT_TRUE(CStr("\xC0") >= CStr("z"));   // cp1251 letters are above ASCII
  EXPECT_TRUE(CStr("a") != CStr("b"));
}

TEST(CStr, CharacterAccess) {
  const CStr s = "\xFF" "a";
  EXPECT_EQ(s.CodeAt(0).Value, -1);
  EXPECT_EQ(s.ByteAt(0).Value, 255);
  EXPECT_EQ(s.CharAt(1), "a");
}

TEST(CStr, SubStrAndSearchNeverLeaveTheText) {
  const CStr abc = "abc";
  struct Case {
    int start, count;
    const char* expected;
  } cases[] = {
      {1, 10, "bc"}, {5, 2, ""}, {0, 0, ""}, {0, -3, ""}, {-1, 2, "a"}, {-5, 2, ""}, {0, 3, "abc"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(abc.SubStr(c.start, c.count), c.expected) << c.start << "," << c.count;

  const CStr text = "abcabc";
  EXPECT_EQ(text.Pos("bc").Value, 1);
  EXPECT_EQ(text.LastPos("bc").Value, 4);
  EXPECT_EQ(text.Pos("").Value, -1);
  EXPECT_EQ(text.LastPos("").Value, -1);
  EXPECT_EQ(text.Pos("abcabcd").Value, -1);
  EXPECT_EQ(text.LastPos("x").Value, -1);
  EXPECT_EQ(text.LastPos("abcabc").Value, 0);
}

TEST(CStr, RepeatFieldsAndCounts) {
  EXPECT_EQ(CStr("ab").Repeat(3), "ababab");
  EXPECT_EQ(CStr("ab").Repeat(0), "");
  EXPECT_EQ(CStr("ab").Repeat(-2), "");

  struct Case {
    const char* text;
    const char* separator;
    int index;
    const char* expected;
  } fields[] = {
      {"a::b::c", "::", 0, "a"}, {"a::b::c", "::", 2, "c"}, {"a::b::c", "::", 3, ""},
      {"a;;b", ";", 1, ""},      {"a;;b", ";", 2, "b"},     {"abc", ";", 0, "abc"},
      {"", ";", 0, ""},
  };
  for (const Case& c : fields)
    EXPECT_EQ(CStr(c.text).Field(c.separator, c.index), c.expected) << c.text << " #" << c.index;

  EXPECT_EQ(CStr("a::b::c").FieldCount("::").Value, 3);
  EXPECT_EQ(CStr("a;;b").FieldCount(";").Value, 1);  // an empty piece ends the count
  EXPECT_EQ(CStr("").FieldCount(";").Value, 0);
  EXPECT_EQ(CStr("a").FieldCount("abc").Value, 1);  // a separator longer than the text
}

TEST(CStr, FieldCountOfALongListTakesOnePass) {
  // 200 000 pieces: counting by asking for each piece in turn would take minutes.
  const CStr list = CStr("ab;").Repeat(200000);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(list.FieldCount(";").Value, 200000);
  EXPECT_EQ((list + ";x").FieldCount(";").Value, 200000);  // the empty piece ends the count
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(CStr, ShortAndLongTextsCopyMoveAndGrowAlike) {
  // Lengths on both sides of the room a string has inside itself for short texts.
  for (const std::string text : {"", "a", "1234567", "12345678", "123456789012345",
                                 "1234567890123456", "a text well past that room"}) {
    const CStr original = std::string_view(text);
    CStr copy = original;
    CStr moved = std::move(copy);
    EXPECT_EQ(moved.View(), text);
    copy = "reused after the move";
    EXPECT_EQ(copy, "reused after the move");
    CStr assigned = "x";
    assigned = moved;
    EXPECT_EQ(assigned.View(), text);
    assigned = std::move(moved);
    EXPECT_EQ(assigned.View(), text);
    EXPECT_EQ(original.View(), text);

    CStr doubled = original;
    doubled += doubled;  // may carry the text out of the string into a block
    EXPECT_EQ(doubled.View(), text + text);
    CStr grown = original;
    grown.AppendBytes("d\0efgh", 6);  // the zero byte is dropped
    EXPECT_EQ(grown.View(), text + "defgh");
    grown = grown.SubStr(0, original.Length());  // and back again
    EXPECT_EQ(grown.View(), text);
  }
}

TEST(CStr, EveryShortLengthIsCopiedWhole) {
  // Short texts are copied in pieces that overlap by length; each length takes its own path.
  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  for (std::size_t n = 0; n <= 17; ++n) {
    const std::string text = letters.substr(0, n);
    CStr set = "previous text, long enough to have a block";
    set.Set(text);
    EXPECT_EQ(set.View(), text) << n;
    const CStr copy = set;
    EXPECT_EQ(copy.View(), text) << n;
    set.Set(text.substr(0, n / 2) + std::string(1, '\0') + "zz");
    EXPECT_EQ(set.View(), text.substr(0, n / 2)) << n;  // stops at the zero byte
    CStr self = std::string_view(letters).substr(0, n + 1);
    self.Set(self.View().substr(1));  // the text moves down inside the string itself
    EXPECT_EQ(self.View(), letters.substr(1, n)) << n;
    // A zero byte anywhere in a short text ends it there: short texts are searched for one a
    // word at a time, and a zero in any byte of either word must be seen.
    for (std::size_t zero = 0; zero < n && n < 16; ++zero) {
      std::string withZero = text;
      withZero[zero] = '\0';
      set.Set(withZero);
      EXPECT_EQ(set.View(), text.substr(0, zero)) << n << " " << zero;
    }
  }
}

TEST(CBool, TextAndTruth) {
  EXPECT_EQ(CBool(true).ToStr(), "true");
  EXPECT_EQ(CBool(false).ToStr(), "");
  EXPECT_TRUE(CBool::FromByte(7));
  EXPECT_FALSE(!CBool::FromByte(7));
  CBool b;
  EXPECT_EQ(b.PropCount().Value, 1);
  EXPECT_EQ(b.PropName(0), "Value");
  EXPECT_EQ(b.PropType(0), "CInt");
}

TEST(ClassNames, EachValueClassAndTheListsAnswerTheirOwn) {
  const CObject object;
  const CVar var;
  const CNum num;
  const CList list;
  const CStrList strings;
  EXPECT_EQ(object.ClassName(), "CObject");
  EXPECT_EQ(var.ClassName(), "CVar");
  EXPECT_EQ(num.ClassName(), "CNum");
  EXPECT_EQ(CInt().ClassName(), "CInt");
  EXPECT_EQ(CFloat().ClassName(), "CFloat");
  EXPECT_EQ(CStr().ClassName(), "CStr");
  EXPECT_EQ(CBool().ClassName(), "CBool");
  EXPECT_EQ(list.ClassName(), "CVar");
  EXPECT_EQ(strings.ClassName(), "CVar");
  EXPECT_FALSE(object.IsControl());
}

TEST(Cp1251, RussianLiteralsBecomeSingleBytesAtCompileTime) {
  constexpr const char* text = "Класс Ёё №"_cp;
  EXPECT_STREQ(text, "\xCA\xEB\xE0\xF1\xF1 \xA8\xB8 \xB9");
  static_assert(qx::cp1251::ByteOf(U'я') == 0xFF);
  static_assert(qx::cp1251::ByteOf(U'€') == 0x88);
  static_assert(qx::cp1251::ByteOf(U'中') == -1);
}
