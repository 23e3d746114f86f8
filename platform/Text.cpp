#include "platform/Text.h"

#include <cerrno>
#include <iconv.h>

namespace platform {
namespace {

// One iconv pass; an input byte sequence that cannot be converted is skipped.
std::string Convert(const char* to, const char* from, std::string_view input, size_t skip,
                    char replacement = 0) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  std::string output;
  output.resize(input.size() * 4 + 4);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char* out = output.data();
  size_t outLeft = output.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) break;  // cannot happen: four output bytes per input byte suffice
    // 0x98 is the one cp1251 byte with no character; it stands for U+0098 both ways, as on the
    // native platform, so a name holding it stays apart from the same name without it.
    const auto lead = static_cast<unsigned char>(*in);
    if (skip == 1 && lead == 0x98 && outLeft >= 2) {
      *out++ = '\xC2', *out++ = '\x98', outLeft -= 2;
      ++in, --inLeft;
      continue;
    }
    if (skip == 0 && lead == 0xC2 && inLeft >= 2 && static_cast<unsigned char>(in[1]) == 0x98 &&
        outLeft >= 1) {
      *out++ = '\x98', --outLeft;
      in += 2, inLeft -= 2;
      continue;
    }
    // EILSEQ or EINVAL: drop the offending input and go on.
    size_t n = skip;
    if (skip == 0) {  // UTF-8 input: skip one whole encoded character
      n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
      // A broken sequence is skipped a byte at a time: its next byte may start a character.
      for (size_t i = 1; i < n && i < inLeft; ++i)
        if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) n = i;
    }
    n = n > inLeft ? inLeft : n;
    in += n;
    inLeft -= n;
    if (replacement != 0 && outLeft >= 1) *out++ = replacement, --outLeft;
  }
  output.resize(output.size() - outLeft);
  iconv_close(cd);
  return output;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view cp1251) {
  return Convert("UTF-8", "CP1251", cp1251, 1);
}

std::string Utf8ToCp1251(std::string_view utf8, char replacement) {
  return Convert("CP1251", "UTF-8", utf8, 0, replacement);
}

}  // namespace platform
