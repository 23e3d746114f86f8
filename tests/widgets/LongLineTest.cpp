// What the text editor keeps of a long line must answer as the line read afresh would, after any
// change anywhere in it: the x of each byte, the byte under an x, the colours of what shows and
// the state left for the next line. Colouring taken up at a token top must match colouring from
// the line's start.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "widgets/CppColours.h"
#include "widgets/LongLine.h"

namespace {

using cppcolours::Kind;
using cppcolours::Span;
using cppcolours::State;

// One letter per byte from `from` to `end`: the kind the spans give it.
std::string KindsOver(const std::vector<Span>& spans, std::size_t from, std::size_t end) {
  std::string kinds;
  for (std::size_t i = from; i < end; ++i) {
    Kind kind = Kind::Plain;
    for (const Span& span : spans)
      if (std::size_t(span.start) <= i) kind = span.kind;
    kinds += char('0' + int(kind));
  }
  return kinds;
}

class AllTops : public cppcolours::TokenTops {
 public:
  bool Top(std::size_t at) override {
    tops.push_back(at);
    next = at + 1;
    return true;
  }
  std::vector<std::size_t> tops;
};

TEST(CppColoursTest, ColouringTakenUpAtATokenTopMatchesColouringFromTheStart) {
  const struct {
    const char* line;
    State state;
  } cases[] = {
      {"int x = 0x1F + 1.5e-3f; // done", cppcolours::kClosed},
      {"s = \"a \\\" b\"; c = '\\''; /* note */ return s;", cppcolours::kClosed},
      {"still comment */ if (a) b = \"/* no */\";", cppcolours::kInComment},
      {"x = 1'000'000; y = z /* open", cppcolours::kClosed},
      {"   #define A 1", cppcolours::kClosed},
      {"for(auto&i:v)co_await f(i);", cppcolours::kClosed},
  };
  for (const auto& c : cases) {
    const std::string_view line = c.line;
    std::vector<Span> whole;
    AllTops tops;
    const State end = cppcolours::Colour(line, c.state, &whole, 0, 0, &tops);
    EXPECT_EQ(cppcolours::Colour(line, c.state, nullptr), end) << c.line;
    for (const std::size_t top : tops.tops) {
      if (top == 0) continue;
      for (const std::size_t from : {top, top + 1, line.size()}) {
        if (from > line.size()) continue;
        std::vector<Span> spans, fresh;
        EXPECT_EQ(cppcolours::Colour(line, c.state, &spans, from, top), end) << c.line;
        cppcolours::Colour(line, c.state, &fresh, from);
        EXPECT_EQ(KindsOver(spans, from, line.size()), KindsOver(fresh, from, line.size()))
            << c.line << " from " << from << " taken up at " << top;
      }
    }
  }
}

// Widths of a made-up font, so that no two neighbours are alike.
std::vector<std::int32_t> Advances() {
  std::vector<std::int32_t> advances(256, 0);
  for (int c = 32; c < 256; ++c) advances[size_t(c)] = 3 + c % 7;
  return advances;
}

// Checks every answer of `kept` against the text read afresh.
void ExpectAnswersOf(CLongLine& kept, const std::string& text, State state,
                     const std::vector<std::int32_t>& advances, std::mt19937& random,
                     const std::string& after) {
  std::vector<std::int64_t> x(text.size() + 1, 0);
  for (std::size_t i = 0; i < text.size(); ++i)
    x[i + 1] = x[i] + advances[static_cast<unsigned char>(text[i])];
  ASSERT_EQ(kept.Width(), x.back()) << after;
  std::uniform_int_distribution<std::size_t> column(0, text.size());
  for (int probe = 0; probe < 40; ++probe) {
    const std::size_t c = probe == 0 ? text.size() : column(random);
    ASSERT_EQ(kept.X(std::int32_t(c)), x[c]) << after << ", column " << c;
    // The byte under an x, and the searches for what shows, over a whole byte's width.
    for (const double at : {double(x[c]), double(x[c]) - 0.5, double(x[c]) + 2.5}) {
      std::size_t reaching = 0, passing = 0, nearest = text.size();
      while (reaching < text.size() && double(x[reaching]) < at) ++reaching;
      while (passing < text.size() && double(x[passing]) <= at) ++passing;
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (double(x[i]) + (x[i + 1] - x[i]) / 2.0 > at) {
          nearest = i;
          break;
        }
      }
      ASSERT_EQ(kept.FirstReaching(at), std::int32_t(reaching)) << after << ", x " << at;
      ASSERT_EQ(kept.FirstPassing(at), std::int32_t(passing)) << after << ", x " << at;
      ASSERT_EQ(kept.Nearest(at), std::int32_t(nearest)) << after << ", x " << at;
    }
    const std::size_t end = std::min(text.size(), c + 300);
    std::vector<Span> spans, fresh;
    kept.Spans(state, c, end, &spans);
    cppcolours::Colour(text, state, &fresh, c);
    ASSERT_EQ(KindsOver(spans, c, end), KindsOver(fresh, c, end)) << after << ", from " << c;
  }
  EXPECT_EQ(kept.EndState(state), cppcolours::Colour(text, state, nullptr)) << after;
}

TEST(LongLineTest, AfterEveryChangeAnywhereTheKeptLineAnswersAsTheTextReadAfresh) {
  const std::vector<std::int32_t> advances = Advances();
  std::string text;
  while (text.size() < 20000) text += "if (x == 12345) s = \"a \\\" b\"; /* c */ y = 'q'; ";
  CLongLine kept;
  std::mt19937 random(7);
  kept.Sync(text, advances.data());
  ExpectAnswersOf(kept, text, cppcolours::kClosed, advances, random, "the first look");

  const struct {
    const char* what;
    std::size_t at;  // where, as a share of the text in thousandths
    std::size_t removed;
    const char* inserted;
  } changes[] = {
      {"a letter typed at the end", 1000, 0, "x"},
      {"a letter typed at the start", 0, 0, "z"},
      {"a comment opened in the middle", 500, 0, "/*"},
      {"the comment closed further on", 700, 0, "*/"},
      {"a string opened near the start", 10, 0, "\""},
      {"a stretch taken out", 300, 4000, ""},
      {"the same text again", 0, 0, ""},
      {"a stretch put in", 250, 0, "return 0x7f; // rest "},
      {"a byte changed in place", 900, 1, "#"},
  };
  State state = cppcolours::kClosed;
  for (const auto& change : changes) {
    const std::size_t at = text.size() * change.at / 1000;
    text.replace(at, change.removed, change.inserted);
    kept.Sync(text, advances.data());
    ExpectAnswersOf(kept, text, state, advances, random, change.what);
  }
  // The line now follows an open block comment.
  state = cppcolours::kInComment;
  ExpectAnswersOf(kept, text, state, advances, random, "starting in a comment");
}

}  // namespace
