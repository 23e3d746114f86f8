// The typed stream: every record of the system is written and read through these operations,
// which rest on two raw byte operations that each stream class supplies.
#pragma once

#include <cstdint>

#include "core/Values.h"

class CStream : public CObject {
 public:
  virtual CInt Read(void* buffer, const CInt& count) = 0;
  virtual CInt Write(const void* buffer, const CInt& count) = 0;
  virtual void Assign(CStream& other);
  virtual void CopyFrom(CStream& other, const CInt& count);
  virtual void SetSize(const CInt& size);
  virtual CInt GetSize();
  virtual void SetPosition(const CInt& position);
  virtual CInt GetPosition();
  virtual CBool Eof();

  virtual void ReadInt(CInt& value);
  virtual void WriteInt(const CInt& value);
  virtual void ReadFloat(CFloat& value);
  virtual void WriteFloat(const CFloat& value);
  // Answers the count as stored; reads no more bytes than the stream still holds.
  virtual CInt ReadStr(CStr& value);
  virtual void WriteStr(const CStr& value);
  virtual void ReadBool(CBool& value);
  virtual void WriteBool(const CBool& value);
  virtual void ReadChar(std::int8_t* value);
  virtual void WriteChar(std::int8_t value);
  virtual void ReadUChar(std::uint8_t* value);
  virtual void WriteUChar(std::uint8_t value);
  virtual void ReadShort(std::int16_t* value);
  virtual void WriteShort(std::int16_t value);
  virtual void ReadUShort(std::uint16_t* value);
  virtual void WriteUShort(std::uint16_t value);
  virtual void ReadLong(std::int32_t* value);
  virtual void WriteLong(std::int32_t value);
  virtual void ReadULong(std::uint32_t* value);
  virtual void WriteULong(std::uint32_t value);
  virtual void ReadInt64(std::int64_t* value);
  virtual void WriteInt64(std::int64_t value);
  virtual void ReadExtended(long double* value);
  virtual void WriteExtended(long double value);

  // Bytes left between the position and the end; what a careful reader checks counts against.
  CInt Remaining();

 protected:
  CInt Position;
  CInt DataSize;

 private:
  template <class T>
  void ReadRaw(T* value);
  template <class T>
  void WriteRaw(T value);
};

// A growable in-memory stream: the clipboard of copied subtrees, and any scratch record.
class CMemory : public CStream {
 public:
  CMemory() = default;
  CMemory(const CMemory&) = delete;
  CMemory& operator=(const CMemory&) = delete;
  ~CMemory() override;

  CInt Read(void* buffer, const CInt& count) override;
  CInt Write(const void* buffer, const CInt& count) override;
  void Assign(CStream& other) override;
  void CopyFrom(CStream& other, const CInt& count) override;
  void SetSize(const CInt& size) override;
  // The writes a saved tree is made of, straight into the block while it has room.
  void WriteInt(const CInt& value) override;
  void WriteStr(const CStr& value) override;
  void WriteBool(const CBool& value) override;
  void WriteUChar(std::uint8_t value) override;

  const std::uint8_t* Data() const { return Buffer; }
  // Reads up to count bytes of source in at the position, straight into the block (no copy in
  // between); the number read, fewer where source ends or fails first.
  CInt ReadFrom(CStream& source, const CInt& count);

 private:
  // Write, without its checks when the bytes fit the block at a position within the data.
  void Put(const void* bytes, std::int32_t count) {
    const std::int32_t at = Position.Value;
    if (at < 0 || at > DataSize.Value || count > capacity_ - at) {
      Write(bytes, count);
      return;
    }
    __builtin_memcpy(Buffer + at, bytes, static_cast<std::size_t>(count));
    Position.Value = at + count;
    if (Position.Value > DataSize.Value) DataSize.Value = Position.Value;
  }

  // Room for n bytes under Buffer, doubling the block as it grows; the size does not change.
  void Reserve(std::int32_t n);

  std::uint8_t* Buffer = nullptr;
  std::int32_t capacity_ = 0;  // bytes allocated under Buffer, >= DataSize
};
