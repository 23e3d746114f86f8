// Small helpers for tests that look at record bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Values.h"
#include "storage/Stream.h"

using Bytes = std::vector<std::uint8_t>;

// Builds an expected byte image field by field, in the stream encodings.
class Image {
 public:
  Image& Int(std::int32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
    return *this;
  }
  Image& Str(const std::string& s) {
    Int(std::int32_t(s.size()));
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  Image& Byte(std::uint8_t b) {
    bytes.push_back(b);
    return *this;
  }
  Image& Float(long double v) {
    std::uint8_t b[10];
    CFloat(v).ToBytes(b);
    bytes.insert(bytes.end(), b, b + 10);
    return *this;
  }
  Image& Raw(const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
  }
  Bytes bytes;
};

inline Bytes Contents(CMemory& m) {
  const std::int32_t n = m.GetSize().Value;
  return n ? Bytes(m.Data(), m.Data() + n) : Bytes();
}

inline void Fill(CMemory& m, const Bytes& bytes) {
  m.SetSize(0);
  m.SetPosition(0);
  if (!bytes.empty()) m.Write(bytes.data(), std::int32_t(bytes.size()));
  m.SetPosition(0);
}

inline std::int32_t IntAt(const Bytes& b, std::size_t at) {
  return std::int32_t(std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 |
                      std::uint32_t(b[at + 2]) << 16 | std::uint32_t(b[at + 3]) << 24);
}

inline void PutInt(Bytes& b, std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(std::uint32_t(v) >> (8 * i));
}
