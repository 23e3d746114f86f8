#include "core/Int.h"

#include <cstdio>
#include <limits>

#include "core/Str.h"
#include "storage/Stream.h"

namespace {

// Wrap-around arithmetic on the two's complement image, with no signed overflow.
std::int32_t Wrap(std::uint32_t bits) { return static_cast<std::int32_t>(bits); }
std::uint32_t Bits(std::int32_t v) { return static_cast<std::uint32_t>(v); }

}  // namespace

CInt CInt::operator+=(const CInt& other) {
  Value = Wrap(Bits(Value) + Bits(other.Value));
  return *this;
}
CInt CInt::operator+(const CInt& other) const { return Wrap(Bits(Value) + Bits(other.Value)); }
CInt CInt::operator-(const CInt& other) const { return Wrap(Bits(Value) - Bits(other.Value)); }
CInt CInt::operator*(const CInt& other) const { return Wrap(Bits(Value) * Bits(other.Value)); }

CInt CInt::operator%(const CInt& other) const {
  // A zero divisor answers the dividend (x = 0 * q + x), and INT_MIN % -1 answers 0 (the true
  // remainder): neither traps.
  if (other.Value == 0) return Value;
  if (other.Value == -1) return 0;
  return Value % other.Value;
}

CInt CInt::operator++(int) {
  Value = Wrap(Bits(Value) + 1u);
  return *this;
}

CInt CInt::operator--(int) {
  Value = Wrap(Bits(Value) - 1u);
  return *this;
}

CStr CInt::ClassName() const { return "CInt"; }

void CInt::SaveToStream(CStream& stream) {
  CObject::SaveToStream(stream);
  stream.WriteInt(*this);
}

void CInt::LoadFromStream(CStream& stream) {
  CObject::LoadFromStream(stream);
  stream.ReadInt(*this);
}

CStr CInt::ToStr() const {
  char scratch[25];
  std::snprintf(scratch, sizeof scratch, "%d", static_cast<int>(Value));
  return scratch;
}
