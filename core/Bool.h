// A one-byte flag.
#pragma once

#include <cstdint>

#include "core/Object.h"

class CInt;

class CBool : public CVar {
 public:
  std::uint8_t Value = 0;  // 0 false, anything else true

  CBool() = default;
  CBool(bool value) : Value(value ? 1 : 0) {}
  static CBool FromByte(std::uint8_t byte) {
    CBool b;
    b.Value = byte;
    return b;
  }

  explicit operator bool() const { return Value != 0; }
  CBool operator!() const { return Value == 0; }

  CStr ClassName() const override;
  void SaveToStream(CStream& stream) override;
  void LoadFromStream(CStream& stream) override;

  // Describe the value as a one-property class; nothing in the system calls them.
  virtual CInt PropCount();
  virtual CStr PropName(const CInt& index);
  virtual CStr PropType(const CInt& index);

  CStr ToStr() const;  // "true", or "" for false
};
