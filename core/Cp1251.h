// Russian texts of the system are written in UTF-8 source and stored as cp1251 bytes. The
// literal "Текст"_cp converts at compile time; a character cp1251 cannot hold fails the build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qx::cp1251 {

// Unicode code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F. 0x98 is unused.
inline constexpr std::array<char32_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFF, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

// The cp1251 byte of a code point; -1 when there is none.
constexpr int ByteOf(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(c - 0x0410 + 0xC0);
  for (std::size_t i = 0; i < kUpperHalf.size(); ++i)
    if (kUpperHalf[i] == c) return static_cast<int>(0x80 + i);
  return -1;
}

template <std::size_t N>
struct Utf8Literal {
  char bytes[N]{};
  constexpr Utf8Literal(const char (&text)[N]) {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = text[i];
  }
};

template <std::size_t N>
constexpr std::size_t EncodedLength(const Utf8Literal<N>& s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i + 1 < N; ++i)
    if ((static_cast<unsigned char>(s.bytes[i]) & 0xC0) != 0x80) ++n;
  return n;
}

template <Utf8Literal S>
struct Encoded {
  static constexpr std::size_t kLength = EncodedLength(S);
  static constexpr std::array<char, kLength + 1> kBytes = [] {
    std::array<char, kLength + 1> out{};
    std::size_t o = 0;
    for (std::size_t i = 0; i + 1 < sizeof(S.bytes);) {
      const auto lead = static_cast<unsigned char>(S.bytes[i]);
      char32_t c = lead;
      std::size_t extra = 0;
      if (lead >= 0xF0) c = lead & 0x07, extra = 3;
      else if (lead >= 0xE0) c = lead & 0x0F, extra = 2;
      else if (lead >= 0xC0) c = lead & 0x1F, extra = 1;
      for (std::size_t k = 1; k <= extra; ++k)
        c = (c << 6) | (static_cast<unsigned char>(S.bytes[i + k]) & 0x3F);
      const int byte = ByteOf(c);
      if (byte < 0) throw "character has no cp1251 byte";  // fails constant evaluation
      out[o++] = static_cast<char>(byte);
      i += extra + 1;
    }
    out[o] = '\0';
    return out;
  }();
};

}  // namespace qx::cp1251

// "Класс"_cp: the cp1251 bytes of the literal, NUL-terminated, in static storage.
template <qx::cp1251::Utf8Literal S>
constexpr const char* operator""_cp() {
  return qx::cp1251::Encoded<S>::kBytes.data();
}
