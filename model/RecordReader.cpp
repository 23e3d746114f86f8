#include "model/RecordReader.h"

#include <cstring>
#include <string>
#include <string_view>

#include "core/Cp1251.h"

CStr AtOffset(std::int32_t offset, const CStr& what) {
  return CStr("смещение "_cp) + CInt(offset).ToStr() + ": " + what;
}

CStr ByteCount(std::int64_t n) {
  const std::int64_t tens = n % 100, ones = n % 10;
  const bool few = ones >= 2 && ones <= 4 && !(tens >= 12 && tens <= 14);
  return CStr(std::to_string(n)) + (few ? " байта"_cp : " байт"_cp);
}

CRecordReader::CRecordReader(CStream& source)
    : source_(source), position_(source.GetPosition().Value), limit_(source.GetSize().Value) {
  if (auto* memory = dynamic_cast<CMemory*>(&source); memory && memory->Data()) {
    bytes_ = memory->Data();
    bytesSize_ = limit_;
  }
}

CInt CRecordReader::Read(void* buffer, const CInt& count) {
  if (failed_ || count.Value <= 0) return 0;
  const std::int64_t left = std::int64_t(limit_) - position_;
  if (count.Value > left) {
    Fail(position_, CStr("данные обрываются: нужно "_cp) + ByteCount(count.Value) +
                        ", осталось "_cp + ByteCount(left < 0 ? 0 : left));
    return 0;
  }
  if (const std::uint8_t* at = buffer ? InPlace(count.Value) : nullptr) {
    std::memcpy(buffer, at, static_cast<std::size_t>(count.Value));
    position_ += count.Value;
    return count;
  }
  if (bytes_) source_.SetPosition(position_);  // it has not moved with the reads in place
  const CInt got = source_.Read(buffer, count);
  if (got.Value != count.Value) {
    // The source holds less than it said: the same fault as a short record.
    Fail(position_, CStr("данные обрываются: прочитано "_cp) + got.ToStr() + " из "_cp +
                        ByteCount(count.Value));
    source_.SetPosition(position_);
    return 0;
  }
  position_ += got.Value;
  return got;
}

CInt CRecordReader::Write(const void*, const CInt&) {
  return 0;
}
void CRecordReader::SetSize(const CInt&) {}
CInt CRecordReader::GetSize() {
  return limit_;
}

void CRecordReader::SetPosition(const CInt& position) {
  position_ = position.Value;
  source_.SetPosition(position);
}

CInt CRecordReader::GetPosition() {
  return position_;
}

CInt CRecordReader::ReadCounted(std::string_view& bytes) {
  bytes = {};
  const std::int32_t at = position_;
  CInt count;
  ReadInt(count);
  if (failed_) return 0;
  const std::int32_t left = limit_ - position_;
  if (count.Value < 0 || count.Value > left) {
    Fail(at, CStr("длина строки "_cp) + count.ToStr() + " не помещается в остаток записи ("_cp +
                 ByteCount(left) + ")");
    return 0;
  }
  if (count.Value == 0) return count;
  if (const std::uint8_t* at = InPlace(count.Value)) {
    bytes = std::string_view(reinterpret_cast<const char*>(at), std::size_t(count.Value));
    position_ += count.Value;
    return count;
  }
  scratch_.resize(static_cast<std::size_t>(count.Value));
  if (Read(scratch_.data(), count).Value == count.Value) bytes = scratch_;
  return count;
}

CInt CRecordReader::ReadStr(CStr& value) {
  std::string_view bytes;
  const CInt count = ReadCounted(bytes);
  // Zero bytes are dropped; a text without any (all of them, nearly) is taken in one copy, or
  // not at all when the value already holds it.
  if (bytes.find('\0') != std::string_view::npos) {
    value = CStr();
    value.AppendBytes(bytes.data(), bytes.size());
  } else if (value.View() != bytes) {
    char* text = value.Overwrite(bytes.size());
    if (!bytes.empty()) std::memcpy(text, bytes.data(), bytes.size());
  }
  return count;
}

void CRecordReader::SkipStr() {
  std::string_view bytes;
  ReadCounted(bytes);
}

std::int32_t CRecordReader::Narrow(std::int32_t end) {
  const std::int32_t previous = limit_;
  if (end < limit_) limit_ = end;
  return previous;
}

void CRecordReader::Fail(std::int32_t offset, const CStr& what) {
  if (failed_) return;
  failed_ = true;
  faultOffset_ = offset;
  fault_ = AtOffset(offset, what);
}

CInt CRecordReader::ReadCount(CStream& stream, std::int32_t itemBytes, const char* what) {
  const CInt at = stream.GetPosition();
  CInt count;
  stream.ReadInt(count);
  auto* reader = dynamic_cast<CRecordReader*>(&stream);
  if (reader && reader->Failed()) return -1;
  const std::int32_t left = stream.Remaining().Value;
  const std::int64_t needed = std::int64_t(count.Value) * (itemBytes > 0 ? itemBytes : 1);
  if (count.Value >= 0 && needed <= left) return count;
  if (reader)
    reader->Fail(at.Value, CStr("число "_cp) + what + " " + count.ToStr() +
                               " не помещается в остаток записи ("_cp + ByteCount(left) + ")");
  return -1;
}
