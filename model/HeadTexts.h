// What the C++ files of a unit hold outside the classes and functions the model has elements for
// (#include lines, macros, declarations without an element): the unit's head texts, kept in its
// UnitExtra and written first in its header and its source.
//
//   heads 1
//   header 2
//   #include <vector>
//   #define LIMIT 10
//   source 1
//   #include <cstdio>
//
// The counts say how many lines of each follow, so a line of any content reads back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Str.h"

struct HeadTexts {
  std::string Header, Source;  // lines ended by "\r\n"; "" for none
};

// The head texts of a UnitExtra. A text that is not in the form above (a free text kept from
// before) is taken whole as the header's head text, so nothing of it is lost.
HeadTexts ReadHeads(const CStr& unitExtra);
// The UnitExtra for head texts: "" when both are empty.
CStr WriteHeads(const HeadTexts& heads);

// The text of a file outside its elements made a head text: its lines with their trailing
// blanks cut, without blank lines and without the lines the writer puts first in such a file
// itself (`made`: "#pragma once" and the #include of the unit's form code, or the source's
// #include of its header).
std::string HeadFromFile(std::string_view text, const std::vector<std::string>& made);

// A key's value among the "key: value" lines an element's Extra begins with (the import's
// facts, before any design): "" when it has none.
std::string_view ExtraValue(std::string_view extra, std::string_view key);
