#include "core/Str.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "storage/Stream.h"

namespace {

std::size_t Clamp(std::int32_t v) { return v < 0 ? 0 : static_cast<std::size_t>(v); }

// Copies up to 16 bytes, which may overlap, without a call: every byte is read before any is
// written. Most texts of a program (tokens, names) are this short and copied over and over.
void CopyShort(char* to, const char* from, std::size_t count) {
  if (count >= 8) {
    std::uint64_t head, tail;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + count - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + count - 8, &tail, 8);
  } else if (count >= 4) {
    std::uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + count - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + count - 4, &tail, 4);
  } else if (count > 0) {
    const char first = from[0], middle = from[count / 2], last = from[count - 1];
    to[0] = first;
    to[count / 2] = middle;
    to[count - 1] = last;
  }
}

// Whether any of up to 16 bytes is zero, without a loop over them: the words are read as in
// CopyShort and tested all at once. A loop stopping at the first zero would mispredict its end
// on nearly every token.
bool HasZeroShort(const char* text, std::size_t count) {
  auto zero64 = [](std::uint64_t v) {
    return ((v - 0x0101010101010101ull) & ~v & 0x8080808080808080ull) != 0;
  };
  auto zero32 = [](std::uint32_t v) { return ((v - 0x01010101u) & ~v & 0x80808080u) != 0; };
  if (count >= 8) {
    std::uint64_t head, tail;
    std::memcpy(&head, text, 8);
    std::memcpy(&tail, text + count - 8, 8);
    return zero64(head) || zero64(tail);
  }
  if (count >= 4) {
    std::uint32_t head, tail;
    std::memcpy(&head, text, 4);
    std::memcpy(&tail, text + count - 4, 4);
    return zero32(head) || zero32(tail);
  }
  return count > 0 && (text[0] == '\0' || text[count / 2] == '\0' || text[count - 1] == '\0');
}

}  // namespace

void CStr::Release() {
  if (length_ >= kSmall) std::free(block_);
}

CStr::CStr() : length_(0) { small_[0] = '\0'; }

CStr::CStr(const char* text) : CStr() {
  if (text) Assign(text, std::strlen(text));
}

CStr::CStr(char c) : CStr() {
  if (c != '\0') Assign(&c, 1);
}

CStr::CStr(std::string_view text) : CStr() {
  const std::size_t nul = text.find('\0');
  Assign(text.data(), nul == std::string_view::npos ? text.size() : nul);
}

CStr::CStr(const CStr& other) : CVar(other), length_(other.length_) {
  if (length_ < kSmall) {
    CopyShort(small_, other.small_, length_ + 1);
  } else {
    block_ = static_cast<char*>(std::malloc(length_ + 1));
    if (!block_) throw std::bad_alloc();
    std::memcpy(block_, other.block_, length_ + 1);
  }
}

CStr::CStr(CStr&& other) noexcept : CStr() { *this = std::move(other); }

CStr::~CStr() { Release(); }

CStr& CStr::operator=(const CStr& other) {
  if (this != &other) Assign(other.Text(), other.length_);
  return *this;
}

CStr& CStr::operator=(CStr&& other) noexcept {
  if (this == &other) return *this;
  Release();
  length_ = other.length_;
  if (length_ < kSmall) {
    CopyShort(small_, other.small_, length_ + 1);
  } else {
    // The block changes hands; other is left empty.
    block_ = other.block_;
    other.length_ = 0;
    other.small_[0] = '\0';
  }
  return *this;
}

void CStr::Set(std::string_view text) {
  // A short text over a short text, the token over the last token above all: copied at once,
  // the one path that needs no more than a few registers.
  if (text.size() < kSmall && length_ < kSmall && !HasZeroShort(text.data(), text.size())) {
    CopyShort(small_, text.data(), text.size());
    small_[text.size()] = '\0';
    length_ = static_cast<std::uint32_t>(text.size());
    return;
  }
  SetAny(text);
}

// Apart from Set, so that the short path above saves no registers for this one.
[[gnu::noinline]] void CStr::SetAny(std::string_view text) {
  // A short text is searched for a zero byte in place: a call to memchr would cost more.
  std::size_t count = 0;
  if (text.size() < kSmall && !HasZeroShort(text.data(), text.size())) {
    count = text.size();
  } else if (text.size() < kSmall) {
    while (count < text.size() && text[count] != '\0') ++count;
  } else {
    const std::size_t nul = text.find('\0');
    count = nul == std::string_view::npos ? text.size() : nul;
  }
  Assign(text.data(), count);
}

void CStr::Assign(const char* bytes, std::size_t count) {
  // bytes may lie in this string's own text, so the old block goes only after the copy.
  char* const old = length_ >= kSmall ? block_ : nullptr;
  if (count < kSmall) {
    // Over the pointer to the old block, kept in old; an empty view may have no bytes at all.
    CopyShort(small_, bytes, count);
    small_[count] = '\0';
  } else if (old && count == length_) {
    std::memmove(old, bytes, count);  // a block of exactly this length already
    return;
  } else {
    char* block = static_cast<char*>(std::malloc(count + 1));
    if (!block) throw std::bad_alloc();
    std::memcpy(block, bytes, count);
    block[count] = '\0';
    block_ = block;
  }
  length_ = static_cast<std::uint32_t>(count);
  if (old) std::free(old);
}

void CStr::AppendBytes(const char* bytes, std::size_t count) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < count; ++i) kept += bytes[i] != '\0';
  if (kept == 0) return;
  const std::size_t length = length_ + kept;
  // The bytes may lie in this string's own text (s += s). They are then read from the old
  // text, which goes only once the new one is complete; the part being written lies past the
  // old end, so it never overlaps them.
  const char* text = Text();
  const auto at = reinterpret_cast<std::uintptr_t>(bytes),
             own = reinterpret_cast<std::uintptr_t>(text);
  const bool inside = at >= own && at <= own + length_;
  char* buffer;
  bool fresh = false;  // a new block, the old text still to be released
  if (length < kSmall) {
    buffer = small_;  // it was small too
  } else if (length_ >= kSmall && !inside) {
    buffer = static_cast<char*>(std::realloc(block_, length + 1));  // may grow in place
    if (!buffer) throw std::bad_alloc();
    block_ = buffer;
  } else {
    buffer = static_cast<char*>(std::malloc(length + 1));
    if (!buffer) throw std::bad_alloc();
    std::memcpy(buffer, text, length_);
    fresh = true;
  }
  std::size_t end = length_;
  for (std::size_t i = 0; i < count; ++i)
    if (bytes[i] != '\0') buffer[end++] = bytes[i];
  buffer[end] = '\0';
  if (fresh) {
    Release();
    block_ = buffer;
  }
  length_ = static_cast<std::uint32_t>(length);
}

char* CStr::Overwrite(std::size_t count) {
  Release();
  length_ = 0;
  small_[0] = '\0';
  if (count >= kSmall) {
    block_ = static_cast<char*>(std::malloc(count + 1));
    if (!block_) throw std::bad_alloc();
  }
  length_ = static_cast<std::uint32_t>(count);
  char* text = count < kSmall ? small_ : block_;
  text[count] = '\0';
  return text;
}

CStr CStr::operator+=(const CStr& other) {
  AppendBytes(other.Text(), other.length_);
  return *this;
}

CStr CStr::operator+(const CStr& other) const {
  CStr result(*this);
  result += other;
  return result;
}

CBool CStr::operator==(const CStr& other) const {
  return length_ == other.length_ && std::memcmp(Text(), other.Text(), length_) == 0;
}

CBool CStr::operator!=(const CStr& other) const { return !(*this == other); }

CBool CStr::operator>=(const CStr& other) const {
  // memcmp compares as unsigned bytes, and the terminating zero sorts a prefix first.
  return std::memcmp(Text(), other.Text(), std::min(length_, other.length_) + 1) >= 0;
}

CInt CStr::Length() const { return static_cast<std::int32_t>(length_); }

CStr CStr::CharAt(const CInt& index) const { return CStr(Text()[index.Value]); }
CInt CStr::CodeAt(const CInt& index) const { return static_cast<signed char>(Text()[index.Value]); }
CInt CStr::ByteAt(const CInt& index) const {
  return static_cast<unsigned char>(Text()[index.Value]);
}

CStr CStr::SubStr(const CInt& start, const CInt& count) const {
  // A negative start reads nothing until it reaches 0: the positions start+k below 0 are not
  // in the text, so they are skipped rather than read.
  CStr result;
  if (count.Value <= 0) return result;
  const long long first = start.Value;
  const long long last = first + count.Value;  // exclusive
  const long long from = first < 0 ? 0 : first;
  const long long to = last > static_cast<long long>(length_) ? length_ : last;
  if (from < to) result.Assign(Text() + from, static_cast<std::size_t>(to - from));
  return result;
}

CInt CStr::Pos(const CStr& sub) const {
  if (sub.length_ == 0 || sub.length_ > length_) return -1;
  for (std::size_t i = 0; i + sub.length_ <= length_; ++i)
    if (std::memcmp(Text() + i, sub.Text(), sub.length_) == 0) return static_cast<std::int32_t>(i);
  return -1;
}

CInt CStr::LastPos(const CStr& sub) const {
  if (sub.length_ == 0 || sub.length_ > length_) return -1;
  for (std::size_t i = length_ - sub.length_ + 1; i-- > 0;)
    if (std::memcmp(Text() + i, sub.Text(), sub.length_) == 0) return static_cast<std::int32_t>(i);
  return -1;
}

CStr CStr::Repeat(const CInt& times) const {
  CStr result;
  const std::size_t n = Clamp(times.Value);
  if (n == 0 || length_ == 0) return result;
  std::string joined;
  joined.reserve(n * length_);
  for (std::size_t i = 0; i < n; ++i) joined.append(Text(), length_);
  result.Assign(joined.data(), joined.size());
  return result;
}

CStr CStr::Field(const CStr& separator, const CInt& index) const {
  // Keep the part after the index-th separator, then cut before the next one. With an empty
  // separator there is nothing to split at: the whole text is piece 0.
  std::string_view rest = View();
  if (separator.length_ == 0) return index.Value == 0 ? *this : CStr();
  for (std::int32_t i = 0; i < index.Value; ++i) {
    const std::size_t at = rest.find(separator.View());
    if (at == std::string_view::npos) return CStr();
    rest.remove_prefix(at + separator.length_);
  }
  const std::size_t at = rest.find(separator.View());
  if (at != std::string_view::npos) rest = rest.substr(0, at);
  return CStr(rest);
}

CInt CStr::FieldCount(const CStr& separator) const {
  // One pass over the text: asking Field for each piece in turn would rescan it every time.
  if (separator.length_ == 0) return length_ > 0 ? 1 : 0;
  std::string_view rest = View();
  std::int32_t n = 0;
  for (;;) {
    const std::size_t at = rest.find(separator.View());
    if ((at == std::string_view::npos ? rest.size() : at) == 0) return n;
    ++n;
    if (at == std::string_view::npos) return n;
    rest.remove_prefix(at + separator.length_);
  }
}

CStr CStr::ClassName() const { return "CStr"; }

void CStr::SaveToStream(CStream& stream) {
  CObject::SaveToStream(stream);
  stream.WriteStr(*this);
}

void CStr::LoadFromStream(CStream& stream) {
  CObject::LoadFromStream(stream);
  stream.ReadStr(*this);
}
