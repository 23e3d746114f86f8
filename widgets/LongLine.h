// What the text editor keeps of a line too long to measure or colour whole on every frame: the
// line's x at every kStep-th byte and, for C++ colours, token tops about as far apart from which
// colouring can be taken up again. It keeps the text they were worked out from, so a change made
// anywhere (the editor's own, or an owner's straight into the lines) keeps what lies before the
// first changed byte and works out only the rest:
//
//   line.Sync(text, advances);          // once per look at the lines
//   line.X(column); line.Nearest(x);    // a screenful's work, not the line's
//   line.Spans(state, from, end, &spans);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/CppColours.h"

class CLongLine {
 public:
  static constexpr std::int32_t kStep = 512;

  // Brings what is known up to `text`, drawn with `advances` (each byte's width, fixed while
  // this is kept).
  void Sync(std::string_view text, const std::int32_t* advances);

  // The x before byte `column`, from the line's left edge.
  std::int64_t X(std::int32_t column) const;
  std::int64_t Width() const { return xs_.empty() ? 0 : total_; }
  // The first byte whose x is at least x (reaches), or more than x (passes); the length if none.
  std::int32_t FirstReaching(double x) const;
  std::int32_t FirstPassing(double x) const;
  // The caret place nearest x: before the byte x lies over when x is in its left half.
  std::int32_t Nearest(double x) const;

  // The colours of bytes `from` to at least `end` of the line started in `state`.
  void Spans(cppcolours::State state, std::size_t from, std::size_t end,
             std::vector<cppcolours::Span>* spans);
  // The state the line leaves for the next one.
  cppcolours::State EndState(cppcolours::State state);

  std::uint64_t checked = ~std::uint64_t(0);  // the owner's count of looks when last synced
  bool used = false;                          // looked at since the owner last swept

 private:
  void Colour(cppcolours::State state);
  // The stop at or before byte `column`, and the first after x (or at or after, when `reach`).
  std::size_t StopBefore(std::int32_t column) const;
  std::size_t StopUnder(double x, bool reach) const;

  std::string text_;
  const std::int32_t* advances_ = nullptr;
  std::vector<std::int64_t> xs_;  // the x before byte i kStep
  std::int64_t total_ = 0;
  bool coloured_ = false;          // tops_ and end_ describe text_ started in state_
  cppcolours::State state_ = cppcolours::kClosed, end_ = cppcolours::kClosed;
  std::vector<std::int32_t> tops_;  // ascending token tops, about kStep apart
};
