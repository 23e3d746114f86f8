// An 80-bit x87 extended real: the coordinates and colours of the toolkit are these.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/Int.h"

static_assert(sizeof(long double) >= 10 && __LDBL_MANT_DIG__ == 64,
              "CFloat needs the x87 80-bit extended real as long double");

class CFloat : public CNum {
 public:
  long double Value = 0.0L;

  CFloat() = default;
  CFloat(long double value) : Value(value) {}
  CFloat(double value) : Value(value) {}
  CFloat(int value) : Value(value) {}
  CFloat(const CInt& value) : Value(value.Value) {}
  // From the two halves of the 10-byte image: the 64-bit mantissa with its explicit integer
  // bit, and the sign-and-exponent word.
  CFloat(std::uint64_t mantissa, std::uint16_t signExponent);
  CFloat(const CFloat& other) : CNum(other), Value(other.Value) {}

  CFloat operator=(const CFloat& other) {
    Value = other.Value;
    return *this;
  }
  CFloat operator+=(const CFloat& other);
  CFloat operator-=(const CFloat& other);
  CFloat operator*=(const CFloat& other);

  CFloat operator+(const CFloat& other) const { return Value + other.Value; }
  CFloat operator-(const CFloat& other) const { return Value - other.Value; }
  CFloat operator*(const CFloat& other) const { return Value * other.Value; }
  CFloat operator/(const CFloat& other) const;
  CFloat operator-() const { return -Value; }

  CBool operator==(const CFloat& other) const { return Value == other.Value; }
  CBool operator<(const CFloat& other) const { return Value < other.Value; }
  CBool operator>(const CFloat& other) const { return Value > other.Value; }
  CBool operator<=(const CFloat& other) const { return Value <= other.Value; }
  CBool operator>=(const CFloat& other) const { return Value >= other.Value; }

  CStr ClassName() const override;
  void SaveToStream(CStream& stream) override;
  void LoadFromStream(CStream& stream) override;

  CStr ToStr() const;
  static CFloat FromStr(const CStr& text);
  CInt Trunc() const;
  CInt Floor() const;
  CInt Ceil() const;
  // Halves up: the floor of x + 1/2. Painting rounds every coordinate, so it is inline and, within
  // int32, the nearest whole number and one step give the floor without the library call. The
  // nearest is taken in the rounding mode in force (either neighbour of v does): a truncating
  // conversion would switch the x87's mode there and back on every call.
  CInt Round() const {
    const long double v = Value + 0.5L;
    if (v >= -2147483648.0L && v < 2147483648.0L) {
      std::int64_t whole = Nearest(v);
      if (static_cast<long double>(whole) > v) --whole;
      return CInt(static_cast<std::int32_t>(whole));
    }
    return FloorOutside(v);
  }

  // The 10-byte little-endian image, and back.
  void ToBytes(std::uint8_t bytes[10]) const;
  static CFloat FromBytes(const std::uint8_t bytes[10]);

 private:
  // The floor of v where it may not fit an int32, NaN included.
  static CInt FloorOutside(long double v);
  // A whole number next to v (within int64), in the current rounding mode.
  static std::int64_t Nearest(long double v) {
#if defined(__x86_64__) || defined(__i386__)
    long long n;
    __asm__("fistpll %0" : "=m"(n) : "t"(v) : "st");
    return n;
#else
    return std::llrint(v);
#endif
  }
};

void Swap(CFloat& a, CFloat& b);
