// Text at the platform edge: the system keeps cp1251 bytes; SDL, fontconfig, file names and
// stderr want UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string Cp1251ToUtf8(std::string_view cp1251);

// Characters that have no cp1251 byte are dropped, or each replaced by `replacement` when it is
// not 0 (a byte sequence that is not UTF-8 counts as one such character a byte).
std::string Utf8ToCp1251(std::string_view utf8, char replacement = 0);

}  // namespace platform
