#include "storage/Stream.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

// [SECTION] CStream

void CStream::Assign(CStream&) {}
void CStream::CopyFrom(CStream&, const CInt&) {}
void CStream::SetSize(const CInt& size) { DataSize = size; }
CInt CStream::GetSize() { return DataSize; }
void CStream::SetPosition(const CInt& position) { Position = position; }
CInt CStream::GetPosition() { return Position; }
CBool CStream::Eof() { return GetPosition() >= GetSize(); }

CInt CStream::Remaining() {
  const std::int64_t left = std::int64_t(GetSize().Value) - GetPosition().Value;
  return left < 0 ? 0 : static_cast<std::int32_t>(left);
}

template <class T>
void CStream::ReadRaw(T* value) {
  if (value) Read(value, sizeof(T));
}

template <class T>
void CStream::WriteRaw(T value) {
  Write(&value, sizeof(T));
}

void CStream::ReadInt(CInt& value) { ReadRaw(&value.Value); }
void CStream::WriteInt(const CInt& value) { WriteRaw(value.Value); }

void CStream::ReadFloat(CFloat& value) {
  std::uint8_t bytes[10] = {};
  if (Read(bytes, 10).Value == 10) value = CFloat::FromBytes(bytes);
}

void CStream::WriteFloat(const CFloat& value) {
  std::uint8_t bytes[10];
  value.ToBytes(bytes);
  Write(bytes, 10);
}

CInt CStream::ReadStr(CStr& value) {
  if (GetSize().Value == 0) {
    value = "";
    return 0;
  }
  CInt count;
  ReadInt(count);
  value = "";
  // The count is as stored; a damaged one must not make us allocate or read past the end.
  std::int32_t n = count.Value < 0 ? 0 : count.Value;
  if (n > Remaining().Value) n = Remaining().Value;
  if (n > 0) {
    std::vector<char> bytes(static_cast<std::size_t>(n));
    const CInt got = Read(bytes.data(), n);
    value.AppendBytes(bytes.data(), static_cast<std::size_t>(got.Value < 0 ? 0 : got.Value));
  }
  return count;
}

void CStream::WriteStr(const CStr& value) {
  WriteInt(value.Length());
  if (value.Length().Value > 0) Write(value.Text(), value.Length());
}

void CStream::ReadBool(CBool& value) { ReadRaw(&value.Value); }
void CStream::WriteBool(const CBool& value) { WriteRaw(value.Value); }
void CStream::ReadChar(std::int8_t* value) { ReadRaw(value); }
void CStream::WriteChar(std::int8_t value) { WriteRaw(value); }
void CStream::ReadUChar(std::uint8_t* value) { ReadRaw(value); }
void CStream::WriteUChar(std::uint8_t value) { WriteRaw(value); }
void CStream::ReadShort(std::int16_t* value) { ReadRaw(value); }
void CStream::WriteShort(std::int16_t value) { WriteRaw(value); }
void CStream::ReadUShort(std::uint16_t* value) { ReadRaw(value); }
void CStream::WriteUShort(std::uint16_t value) { WriteRaw(value); }
void CStream::ReadLong(std::int32_t* value) { ReadRaw(value); }
void CStream::WriteLong(std::int32_t value) { WriteRaw(value); }
void CStream::ReadULong(std::uint32_t* value) { ReadRaw(value); }
void CStream::WriteULong(std::uint32_t value) { WriteRaw(value); }
void CStream::ReadInt64(std::int64_t* value) { ReadRaw(value); }
void CStream::WriteInt64(std::int64_t value) { WriteRaw(value); }

void CStream::ReadExtended(long double* value) {
  if (!value) return;
  CFloat f;
  ReadFloat(f);
  *value = f.Value;
}

void CStream::WriteExtended(long double value) { WriteFloat(CFloat(value)); }

// [SECTION] CMemory

CMemory::~CMemory() { std::free(Buffer); }

CInt CMemory::Read(void* buffer, const CInt& count) {
  if (!buffer || count.Value <= 0 || !Buffer) return 0;
  std::int32_t n = count.Value;
  const std::int32_t left = DataSize.Value - Position.Value;
  if (left <= 0 || Position.Value < 0) return 0;
  if (n > left) n = left;
  std::memcpy(buffer, Buffer + Position.Value, static_cast<std::size_t>(n));
  Position.Value += n;
  return n;
}

CInt CMemory::Write(const void* buffer, const CInt& count) {
  if (count.Value <= 0 || Position.Value < 0) return 0;
  const std::int64_t end = std::int64_t(Position.Value) + count.Value;
  if (end > INT32_MAX) return 0;
  if (end > DataSize.Value) {
    // Bytes about to be copied over need no zeros first; only a gap before them does.
    if (buffer && Position.Value <= DataSize.Value) {
      Reserve(static_cast<std::int32_t>(end));
      DataSize = static_cast<std::int32_t>(end);
    } else {
      SetSize(static_cast<std::int32_t>(end));
    }
  }
  if (buffer)
    std::memcpy(Buffer + Position.Value, buffer, static_cast<std::size_t>(count.Value));
  else
    std::memset(Buffer + Position.Value, 0, static_cast<std::size_t>(count.Value));
  Position.Value += count.Value;
  return count;
}

void CMemory::WriteInt(const CInt& value) { Put(&value.Value, sizeof(value.Value)); }

void CMemory::WriteStr(const CStr& value) {
  const std::string_view text = value.View();
  const auto length = static_cast<std::int32_t>(text.size());
  Put(&length, sizeof(length));
  if (length > 0) Put(text.data(), length);
}

void CMemory::WriteBool(const CBool& value) { Put(&value.Value, sizeof(value.Value)); }
void CMemory::WriteUChar(std::uint8_t value) { Put(&value, sizeof(value)); }

void CMemory::Assign(CStream& other) { CopyFrom(other, other.GetSize()); }

CInt CMemory::ReadFrom(CStream& source, const CInt& count) {
  if (count.Value <= 0 || Position.Value < 0 || Position.Value > DataSize.Value) return 0;
  const std::int64_t end = std::int64_t(Position.Value) + count.Value;
  if (end > INT32_MAX) return 0;
  Reserve(static_cast<std::int32_t>(end));
  std::int32_t done = 0;
  while (done < count.Value) {
    const CInt got = source.Read(Buffer + Position.Value + done, count.Value - done);
    if (got.Value <= 0) break;
    done += got.Value;
  }
  Position.Value += done;
  if (Position.Value > DataSize.Value) DataSize.Value = Position.Value;
  return done;
}

void CMemory::CopyFrom(CStream& other, const CInt& count) {
  Position = 0;
  auto* source = dynamic_cast<CMemory*>(&other);
  if (!source || source == this) return;
  const std::int32_t n = count.Value < source->DataSize.Value ? count.Value : source->DataSize.Value;
  Write(source->Buffer, n);
}

void CMemory::Reserve(std::int32_t n) {
  // Growth doubles the block underneath, so a record written byte by byte stays linear.
  if (n <= capacity_) return;
  const std::size_t want =
      std::max<std::size_t>(static_cast<std::size_t>(n), 2 * static_cast<std::size_t>(capacity_));
  auto* grown = static_cast<std::uint8_t*>(std::realloc(Buffer, want));
  if (!grown) throw std::bad_alloc();
  Buffer = grown;
  capacity_ = static_cast<std::int32_t>(std::min<std::size_t>(want, INT32_MAX));
}

void CMemory::SetSize(const CInt& size) {
  const std::int32_t n = size.Value < 0 ? 0 : size.Value;
  // The stream's size is exactly n, whatever the block underneath holds.
  if (n == 0) {
    std::free(Buffer);
    Buffer = nullptr;
    capacity_ = 0;
  } else {
    Reserve(n);
  }
  if (n > DataSize.Value)
    std::memset(Buffer + DataSize.Value, 0, static_cast<std::size_t>(n - DataSize.Value));
  DataSize = n;
}
