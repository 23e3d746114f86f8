// The project tree as JSON: one object per element with its class, name, texts, the fields its
// kind saves (under their own names) and its children.
#pragma once

#include <string>

class CInfo;
class CStr;

namespace qxtree {

// The cp1251 bytes as UTF-8 in a JSON string literal, quotes included.
std::string JsonText(const CStr& text);

// The element and everything below it, indented by two spaces per level from `indent` on.
void DumpJson(CInfo& node, std::string& out, int indent = 0);

}  // namespace qxtree
