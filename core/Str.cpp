#include "core/Str.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "storage/Stream.h"

namespace {

// Every empty string shares this one terminator: most names, descriptions and extra texts of a
// large tree are empty, and each would otherwise cost an allocation.
char kEmpty[1] = {'\0'};

char* NewBuffer(std::size_t length) {
  if (length == 0) return kEmpty;
  char* buffer = static_cast<char*>(std::malloc(length + 1));
  if (!buffer) throw std::bad_alloc();
  return buffer;
}

void FreeBuffer(char* buffer) {
  if (buffer != kEmpty) std::free(buffer);
}

std::size_t Clamp(std::int32_t v) { return v < 0 ? 0 : static_cast<std::size_t>(v); }

}  // namespace

CStr::CStr() : text_(kEmpty), length_(0) {}

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

CStr::CStr(const CStr& other) : CVar(other), text_(NewBuffer(other.length_)), length_(other.length_) {
  if (length_ > 0) std::memcpy(text_, other.text_, length_ + 1);
}

CStr::CStr(CStr&& other) noexcept : CStr() {
  std::swap(text_, other.text_);
  std::swap(length_, other.length_);
}

CStr::~CStr() { FreeBuffer(text_); }

CStr& CStr::operator=(const CStr& other) {
  if (this != &other) Assign(other.text_, other.length_);
  return *this;
}

CStr& CStr::operator=(CStr&& other) noexcept {
  std::swap(text_, other.text_);
  std::swap(length_, other.length_);
  return *this;
}

void CStr::Assign(const char* bytes, std::size_t count) {
  char* buffer = NewBuffer(count);
  if (count > 0) {
    std::memcpy(buffer, bytes, count);
    buffer[count] = '\0';
  }
  FreeBuffer(text_);
  text_ = buffer;
  length_ = count;
}

void CStr::AppendBytes(const char* bytes, std::size_t count) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < count; ++i) kept += bytes[i] != '\0';
  if (kept == 0) return;
  // The bytes may lie in this string's own buffer (s += s), which the growth moves and frees.
  const auto at = reinterpret_cast<std::uintptr_t>(bytes),
             own = reinterpret_cast<std::uintptr_t>(text_);
  const bool inside = text_ != kEmpty && at >= own && at <= own + length_;
  char* buffer = static_cast<char*>(
      text_ == kEmpty ? std::malloc(kept + 1) : std::realloc(text_, length_ + kept + 1));
  if (!buffer) throw std::bad_alloc();
  if (inside) bytes = buffer + (at - own);
  text_ = buffer;
  for (std::size_t i = 0; i < count; ++i)
    if (bytes[i] != '\0') text_[length_++] = bytes[i];
  text_[length_] = '\0';
}

CStr CStr::operator+=(const CStr& other) {
  AppendBytes(other.text_, other.length_);
  return *this;
}

CStr CStr::operator+(const CStr& other) const {
  CStr result(*this);
  result += other;
  return result;
}

CBool CStr::operator==(const CStr& other) const {
  return length_ == other.length_ && std::memcmp(text_, other.text_, length_) == 0;
}

CBool CStr::operator!=(const CStr& other) const { return !(*this == other); }

CBool CStr::operator>=(const CStr& other) const {
  // memcmp compares as unsigned bytes, and the terminating zero sorts a prefix first.
  return std::memcmp(text_, other.text_, std::min(length_, other.length_) + 1) >= 0;
}

CInt CStr::Length() const { return static_cast<std::int32_t>(length_); }

CStr CStr::CharAt(const CInt& index) const { return CStr(text_[index.Value]); }
CInt CStr::CodeAt(const CInt& index) const { return static_cast<signed char>(text_[index.Value]); }
CInt CStr::ByteAt(const CInt& index) const {
  return static_cast<unsigned char>(text_[index.Value]);
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
  if (from < to) result.Assign(text_ + from, static_cast<std::size_t>(to - from));
  return result;
}

CInt CStr::Pos(const CStr& sub) const {
  if (sub.length_ == 0 || sub.length_ > length_) return -1;
  for (std::size_t i = 0; i + sub.length_ <= length_; ++i)
    if (std::memcmp(text_ + i, sub.text_, sub.length_) == 0) return static_cast<std::int32_t>(i);
  return -1;
}

CInt CStr::LastPos(const CStr& sub) const {
  if (sub.length_ == 0 || sub.length_ > length_) return -1;
  for (std::size_t i = length_ - sub.length_ + 1; i-- > 0;)
    if (std::memcmp(text_ + i, sub.text_, sub.length_) == 0) return static_cast<std::int32_t>(i);
  return -1;
}

CStr CStr::Repeat(const CInt& times) const {
  CStr result;
  const std::size_t n = Clamp(times.Value);
  if (n == 0 || length_ == 0) return result;
  std::string joined;
  joined.reserve(n * length_);
  for (std::size_t i = 0; i < n; ++i) joined.append(text_, length_);
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
