// The project tree as JSON: one object per element with its class, name, texts, the fields its
// kind saves (under their own names), a form's design line by line, and its children.
#pragma once

#include <string>

class CInfo;
class CStr;

namespace qxtree {

// The cp1251 bytes as UTF-8 in a JSON string literal, quotes included.
std::string JsonText(const CStr& text);

// The element and everything below it, indented by two spaces per level from `indent` on.
void DumpJson(CInfo& node, std::string& out, int indent = 0);

// One line for every damaged line of every form design at or below root; answers how many.
int CheckDesigns(CInfo& root, std::string& report);

}  // namespace qxtree
