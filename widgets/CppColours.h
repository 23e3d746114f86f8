// The colours of C++ in the code editor, worked out one line at a time: a line's colours follow
// from its text and from what the line before left open (a block comment, a directive continued
// by a backslash), so a changed line costs only itself and the lines it reopens.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "graphics/Color.h"

namespace cppcolours {

enum class Kind : std::uint8_t { Plain, Comment, String, Char, Number, Preprocessor, Keyword };

// What a line leaves open for the next one.
using State = std::uint8_t;
constexpr State kClosed = 0;
constexpr State kInComment = 1;    // inside /* */
constexpr State kInDirective = 2;  // a preprocessor line ended in a backslash

// A run of one kind from `start` to the next span's start (or the line's end).
struct Span {
  std::int32_t start;
  Kind kind;
};

// Told of the tops of a line's tokens outside comments, literals and directives: the places from
// which colouring can be taken up again as if it had read the line from its start.
class TokenTops {
 public:
  virtual ~TokenTops() = default;
  // Called at the first top at or past `next`; answering false stops the colouring there.
  virtual bool Top(std::size_t at) = 0;
  std::size_t next = 0;
};

// The spans of a line that starts in `state` (none when spans is null) and the state it leaves.
// Spans are given from byte `from` on, the first starting there: a long line drawn from the
// middle is read from its start, or from `resume`, a token top an earlier colouring of the same
// line in the same state was told of, but only what shows is sorted into spans. When `tops`
// stops the colouring, the spans end there and the state answered means nothing.
State Colour(std::string_view line, State state, std::vector<Span>* spans, std::size_t from = 0,
             std::size_t resume = 0, TokenTops* tops = nullptr);

// The classic palette; Plain is black.
CColor ColourOf(Kind kind);

}  // namespace cppcolours
