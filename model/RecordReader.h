// The reading side of the project tree's records. Nothing in a stream is trusted: every length
// and count is checked against what is left, and the first fault is kept with its offset.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "storage/Stream.h"

class CRecordReader final : public CStream {
 public:
  // Reads from the source's current position; the source's size is the first limit.
  explicit CRecordReader(CStream& source);
  CRecordReader(const CRecordReader&) = delete;
  CRecordReader& operator=(const CRecordReader&) = delete;

  // A read that asks for more than is left before the limit is a fault and reads nothing.
  CInt Read(void* buffer, const CInt& count) override;
  CInt Write(const void* buffer, const CInt& count) override;  // reading only: 0
  void SetSize(const CInt& size) override;                     // nothing
  CInt GetSize() override;                                     // the current limit
  void SetPosition(const CInt& position) override;
  CInt GetPosition() override;
  // The fields a record is made of, with the checks and faults of Read.
  void ReadInt(CInt& value) override { ReadFixed(&value.Value); }
  void ReadBool(CBool& value) override { ReadFixed(&value.Value); }
  void ReadUChar(std::uint8_t* value) override { ReadFixed(value); }
  // A negative length, or one longer than what is left, is a fault.
  CInt ReadStr(CStr& value) override;
  // As ReadStr, with the same checks and faults, for a string nobody keeps.
  void SkipStr();

  // Reading stops at end until the limit is set back; answers the previous limit.
  std::int32_t Narrow(std::int32_t end);
  void Widen(std::int32_t previous) { limit_ = previous; }

  bool Failed() const { return failed_; }
  // Keeps the first fault only; later reads then do nothing.
  void Fail(std::int32_t offset, const CStr& what);
  const CStr& FaultText() const { return fault_; }
  std::int32_t FaultOffset() const { return faultOffset_; }

  // Reads a count of items of at least itemBytes each. A negative count, or more items than the
  // rest of the stream could hold, answers -1 (and is a fault when the stream is a reader), so a
  // damaged count never makes a loader loop or allocate beyond the input.
  static CInt ReadCount(CStream& stream, std::int32_t itemBytes, const char* what);

 private:
  // The next count bytes where they lie in the source's block, or null when they must come
  // through the source (a source not in memory, or a position outside the block).
  const std::uint8_t* InPlace(std::int32_t count) const {
    return bytes_ && position_ >= 0 && count <= bytesSize_ - position_ ? bytes_ + position_
                                                                       : nullptr;
  }
  template <class T>
  void ReadFixed(T* value) {
    constexpr auto n = std::int32_t(sizeof(T));
    if (!value) return;
    const std::uint8_t* at = failed_ || position_ > limit_ - n ? nullptr : InPlace(n);
    if (!at) {
      Read(value, n);  // the faults, and sources not in memory
      return;
    }
    std::memcpy(value, at, sizeof(T));
    position_ += n;
  }
  // A counted string's bytes, in place or in scratch_ (empty after a fault); answers the count
  // as stored, or 0 when the count itself is faulty.
  CInt ReadCounted(std::string_view& bytes);

  CStream& source_;
  std::int32_t position_ = 0;
  std::int32_t limit_ = 0;
  bool failed_ = false;
  CStr fault_;
  std::int32_t faultOffset_ = -1;
  std::string scratch_;
  // The block of a memory source, read in place: every field of every record used to cost two
  // virtual reads and a copy. The source's position then moves only with SetPosition.
  const std::uint8_t* bytes_ = nullptr;
  std::int32_t bytesSize_ = 0;
};

// "смещение N: what", the form of every fault the loaders report.
CStr AtOffset(std::int32_t offset, const CStr& what);
// A count of bytes in words: "1 байт", "3 байта", "12 байт".
CStr ByteCount(std::int64_t n);
