#include "core/Float.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "core/Str.h"
#include "storage/Stream.h"

namespace {

// A value outside int32 (or NaN) becomes INT32_MIN, the x87's "integer indefinite", instead of
// undefined behaviour.
CInt ToInt32(long double whole) {
  if (!(whole >= -2147483648.0L && whole <= 2147483647.0L)) return CInt(INT32_MIN);
  return CInt(static_cast<std::int32_t>(whole));
}

}  // namespace

CFloat::CFloat(std::uint64_t mantissa, std::uint16_t signExponent) {
  std::uint8_t bytes[10];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
  bytes[8] = static_cast<std::uint8_t>(signExponent);
  bytes[9] = static_cast<std::uint8_t>(signExponent >> 8);
  Value = FromBytes(bytes).Value;
}

CFloat CFloat::operator+=(const CFloat& other) {
  Value += other.Value;
  return *this;
}
CFloat CFloat::operator-=(const CFloat& other) {
  Value -= other.Value;
  return *this;
}
CFloat CFloat::operator*=(const CFloat& other) {
  Value *= other.Value;
  return *this;
}

CFloat CFloat::operator/(const CFloat& other) const {
  // Division by zero gives what the x87 gives with its exceptions masked: an infinity with the
  // sign of the quotient, or NaN for 0/0 (and NaN/0). Nothing traps.
  if (other.Value == 0.0L) {
    if (Value == 0.0L || std::isnan(Value)) return std::numeric_limits<long double>::quiet_NaN();
    const bool negative = std::signbit(Value) != std::signbit(other.Value);
    const long double inf = std::numeric_limits<long double>::infinity();
    return negative ? -inf : inf;
  }
  return Value / other.Value;
}

CStr CFloat::ClassName() const { return "CFloat"; }

void CFloat::SaveToStream(CStream& stream) {
  CObject::SaveToStream(stream);
  stream.WriteFloat(*this);
}

void CFloat::LoadFromStream(CStream& stream) {
  CObject::LoadFromStream(stream);
  stream.ReadFloat(*this);
}

CStr CFloat::ToStr() const {
  char scratch[64];
  std::snprintf(scratch, sizeof scratch, "%.7g", static_cast<double>(Value));
  return scratch;
}

CFloat CFloat::FromStr(const CStr& text) {
  // Only the decimal form counts: sign, digits, fraction, exponent. strtold alone would also
  // take leading blanks, hexadecimal, "inf" and "nan".
  const char* s = text.Text();
  std::size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  std::size_t digits = 0;
  while (std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (s[i] == '.') {
    ++i;
    while (std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (s[i] == 'e' || s[i] == 'E') {
    std::size_t j = i + 1;
    if (s[j] == '+' || s[j] == '-') ++j;
    if (std::isdigit(static_cast<unsigned char>(s[j]))) {
      while (std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
      i = j;
    }
  }
  const std::string number(s, i);
  return std::strtold(number.c_str(), nullptr);
}

CInt CFloat::Trunc() const { return ToInt32(std::trunc(Value)); }
CInt CFloat::Floor() const { return ToInt32(std::floor(Value)); }
CInt CFloat::Ceil() const { return ToInt32(std::ceil(Value)); }
CInt CFloat::FloorOutside(long double v) {
  return ToInt32(std::floor(v));
}

void CFloat::ToBytes(std::uint8_t bytes[10]) const {
  static_assert(sizeof(long double) >= 10);
  std::uint8_t image[sizeof(long double)] = {};
  std::memcpy(image, &Value, sizeof(long double));
  std::memcpy(bytes, image, 10);
}

CFloat CFloat::FromBytes(const std::uint8_t bytes[10]) {
  std::uint8_t image[sizeof(long double)] = {};
  std::memcpy(image, bytes, 10);
  long double value;
  std::memcpy(&value, image, sizeof(long double));
  return value;
}

void Swap(CFloat& a, CFloat& b) {
  const long double t = a.Value;
  a.Value = b.Value;
  b.Value = t;
}
