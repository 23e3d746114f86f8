// A 32-bit signed integer with wrap-around arithmetic.
#pragma once

#include <cstdint>

#include "core/Bool.h"

class CInt : public CNum {
 public:
  std::int32_t Value = 0;

  CInt() = default;
  CInt(std::int32_t value) : Value(value) {}

  CInt operator=(const CInt& other) {
    Value = other.Value;
    return *this;
  }
  CInt(const CInt& other) : CNum(other), Value(other.Value) {}

  CInt operator+=(const CInt& other);
  CInt operator+(const CInt& other) const;
  CInt operator-(const CInt& other) const;
  CInt operator*(const CInt& other) const;
  CInt operator%(const CInt& other) const;

  // Unlike C, both answer the new value.
  CInt operator++(int);
  CInt operator--(int);

  CBool operator==(const CInt& other) const { return Value == other.Value; }
  CBool operator!=(const CInt& other) const { return Value != other.Value; }
  CBool operator<(const CInt& other) const { return Value < other.Value; }
  CBool operator>(const CInt& other) const { return Value > other.Value; }
  CBool operator<=(const CInt& other) const { return Value <= other.Value; }
  CBool operator>=(const CInt& other) const { return Value >= other.Value; }

  CStr ClassName() const override;
  void SaveToStream(CStream& stream) override;
  void LoadFromStream(CStream& stream) override;

  CStr ToStr() const;
};
