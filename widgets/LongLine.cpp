#include "widgets/LongLine.h"

#include <algorithm>
#include <cstring>

namespace {

// How many leading bytes two texts share, compared a block at a time.
std::size_t SharedPrefix(std::string_view a, std::string_view b) {
  constexpr std::size_t kBlock = 4096;
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  while (i + kBlock <= n && std::memcmp(a.data() + i, b.data() + i, kBlock) == 0) i += kBlock;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// Records a token top about every kStep bytes.
class TopRecorder : public cppcolours::TokenTops {
 public:
  explicit TopRecorder(std::vector<std::int32_t>& tops) : tops_(tops) {
    next = (tops.empty() ? 0 : std::size_t(tops.back())) + CLongLine::kStep;
  }
  bool Top(std::size_t at) override {
    tops_.push_back(std::int32_t(at));
    next = at + CLongLine::kStep;
    return true;
  }

 private:
  std::vector<std::int32_t>& tops_;
};

// Stops the colouring at the first token top at or past `end`.
class StopAt : public cppcolours::TokenTops {
 public:
  explicit StopAt(std::size_t end) { next = end; }
  bool Top(std::size_t) override { return false; }
};

}  // namespace

void CLongLine::Sync(std::string_view text, const std::int32_t* advances) {
  if (advances != advances_) {
    advances_ = advances;
    xs_.clear();
  }
  const std::size_t shared = SharedPrefix(text_, text);
  if (shared == text_.size() && shared == text.size() && !xs_.empty()) return;
  text_.replace(shared, std::string::npos, text.substr(shared));

  // The x before byte p depends on the bytes before p only: stops up to the first changed byte
  // stay.
  xs_.resize(std::min(xs_.size(), shared / kStep + 1));
  if (xs_.empty()) xs_.push_back(0);
  std::size_t i = (xs_.size() - 1) * kStep;
  std::int64_t x = xs_.back();
  for (; i < text_.size(); ++i) {
    if (i % kStep == 0 && i / kStep >= xs_.size()) xs_.push_back(x);
    x += advances_[static_cast<unsigned char>(text_[i])];
  }
  total_ = x;

  // Whether a token ends at a top is read from the byte at the top itself: tops before the
  // first changed byte stay.
  if (coloured_) {
    tops_.erase(std::lower_bound(tops_.begin(), tops_.end(), std::int32_t(shared)), tops_.end());
    Colour(state_);
  }
}

std::int64_t CLongLine::X(std::int32_t column) const {
  const std::size_t end = std::min(std::size_t(std::max(column, 0)), text_.size());
  const std::size_t b = StopBefore(std::int32_t(end));
  std::int64_t x = xs_[b];
  for (std::size_t i = b * kStep; i < end; ++i) x += advances_[static_cast<unsigned char>(text_[i])];
  return x;
}

std::size_t CLongLine::StopBefore(std::int32_t column) const {
  return std::min(std::size_t(column) / kStep, xs_.size() - 1);
}

// The last stop left of x (at or left of it unless `reach`): no byte before it answers the
// searches below.
std::size_t CLongLine::StopUnder(double x, bool reach) const {
  const auto found = reach ? std::lower_bound(xs_.begin(), xs_.end(), x)
                           : std::upper_bound(xs_.begin(), xs_.end(), x);
  return found == xs_.begin() ? 0 : std::size_t(found - xs_.begin()) - 1;
}

std::int32_t CLongLine::FirstReaching(double x) const {
  const std::size_t b = StopUnder(x, true);
  std::int64_t at = xs_[b];
  std::size_t i = b * kStep;
  for (; i < text_.size() && double(at) < x; ++i) at += advances_[static_cast<unsigned char>(text_[i])];
  return std::int32_t(i);
}

std::int32_t CLongLine::FirstPassing(double x) const {
  const std::size_t b = StopUnder(x, false);
  std::int64_t at = xs_[b];
  std::size_t i = b * kStep;
  for (; i < text_.size() && double(at) <= x; ++i) at += advances_[static_cast<unsigned char>(text_[i])];
  return std::int32_t(i);
}

std::int32_t CLongLine::Nearest(double x) const {
  const std::size_t b = StopUnder(x, false);
  std::int64_t at = xs_[b];
  for (std::size_t i = b * kStep; i < text_.size(); ++i) {
    const std::int32_t w = advances_[static_cast<unsigned char>(text_[i])];
    // Past the middle of the character the caret goes after it.
    if (double(at) + w / 2.0 > x) return std::int32_t(i);
    at += w;
  }
  return std::int32_t(text_.size());
}

// Colours the line from its last known top on, recording tops and the state it leaves.
void CLongLine::Colour(cppcolours::State state) {
  if (!coloured_ || state != state_) tops_.clear();
  state_ = state;
  coloured_ = true;
  TopRecorder recorder(tops_);
  const std::size_t resume = tops_.empty() ? 0 : std::size_t(tops_.back());
  end_ = cppcolours::Colour(text_, state_, nullptr, 0, resume, &recorder);
}

void CLongLine::Spans(cppcolours::State state, std::size_t from, std::size_t end,
                      std::vector<cppcolours::Span>* spans) {
  if (!coloured_ || state != state_) Colour(state);
  const auto after = std::upper_bound(tops_.begin(), tops_.end(), std::int32_t(from));
  const std::size_t resume = after == tops_.begin() ? 0 : std::size_t(*(after - 1));
  StopAt stop(end);
  cppcolours::Colour(text_, state_, spans, from, resume, &stop);
}

cppcolours::State CLongLine::EndState(cppcolours::State state) {
  if (!coloured_ || state != state_) Colour(state);
  return end_;
}
