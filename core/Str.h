// An owned cp1251 string. Positions and lengths count bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Cp1251.h"
#include "core/Int.h"

class CStr : public CVar {
 public:
  CStr();
  CStr(const char* text);
  CStr(char c);  // the character 0 gives the empty string
  CStr(std::string_view text);  // stops at an embedded NUL
  CStr(const CStr& other);
  CStr(CStr&& other) noexcept;
  ~CStr() override;

  CStr& operator=(const CStr& other);
  CStr& operator=(CStr&& other) noexcept;
  // As *this = CStr(text), without the temporary: for texts replaced over and over.
  void Set(std::string_view text);
  CStr operator+=(const CStr& other);
  CStr operator+(const CStr& other) const;

  // Byte-wise comparisons as unsigned bytes.
  CBool operator==(const CStr& other) const;
  CBool operator!=(const CStr& other) const;
  CBool operator>=(const CStr& other) const;

  CInt Length() const;
  const char* Text() const { return length_ < kSmall ? small_ : block_; }
  std::string_view View() const { return std::string_view(Text(), length_); }
  std::string ToStd() const { return std::string(Text(), length_); }

  // The index must lie within the text: callers guarantee it.
  CStr CharAt(const CInt& index) const;
  CInt CodeAt(const CInt& index) const;
  CInt ByteAt(const CInt& index) const;

  // These accept any arguments and never read outside the text.
  CStr SubStr(const CInt& start, const CInt& count) const;
  CInt Pos(const CStr& sub) const;
  CInt LastPos(const CStr& sub) const;
  CStr Repeat(const CInt& times) const;
  CStr Field(const CStr& separator, const CInt& index) const;
  CInt FieldCount(const CStr& separator) const;

  CStr ClassName() const override;
  void SaveToStream(CStream& stream) override;
  void LoadFromStream(CStream& stream) override;

  // Appends raw bytes, dropping zero bytes (the stream reader's rule).
  void AppendBytes(const char* bytes, std::size_t count);
  // Makes the text `count` bytes long and answers them for the caller to fill, all of them and
  // with no zero byte, before the string is used again; the old text is not kept. A large text
  // is then written once, where building it elsewhere and copying it in would write it twice.
  char* Overwrite(std::size_t count);

 private:
  void SetAny(std::string_view text);  // Set, whatever the texts
  void Assign(const char* bytes, std::size_t count);
  void Release();  // frees a block of its own; the storage is then undefined until refilled

  // Most texts of a project (names, types, tokens) are short: up to kSmall - 1 bytes they live
  // in small_, inside the object, and cost no allocation; longer ones in a block of exactly
  // length_ + 1 bytes. The length alone says which, so the pointer to a block shares the room
  // of small_, and length_ takes the padding after CObject's fields: a string is no larger
  // than a pointer and a length were. Both texts are NUL-terminated.
  static constexpr std::size_t kSmall = 16;
  std::uint32_t length_;
  union {
    char* block_;
    char small_[kSmall];
  };
};

// Readable test and diagnostic output.
#include <ostream>
inline std::ostream& operator<<(std::ostream& out, const CStr& s) { return out << s.View(); }
inline std::ostream& operator<<(std::ostream& out, const CInt& i) { return out << i.Value; }
inline std::ostream& operator<<(std::ostream& out, const CBool& b) {
  return out << (b.Value ? "true" : "false");
}
