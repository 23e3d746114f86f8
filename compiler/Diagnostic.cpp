#include "compiler/Diagnostic.h"

#include <charconv>
#include <utility>

namespace compiler {
namespace {

// A run of decimal digits at the start of text, followed by a colon; the rest after the colon.
bool TakeNumber(std::string_view& text, int& number) {
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, number);
  if (failure != std::errc() || stop == text.data() || stop == end || *stop != ':' || number < 0)
    return false;
  text.remove_prefix(static_cast<std::size_t>(stop - text.data()) + 1);
  return true;
}

bool TakeWord(std::string_view& text, std::string_view word) {
  if (!text.starts_with(word)) return false;
  text.remove_prefix(word.size());
  return true;
}

}  // namespace

BuildLine ParseCompilerLine(std::string_view text) {
  BuildLine parsed;
  parsed.Text = std::string(text);
  // The file's name runs to the first ": " or to the first ":digit"; a name may hold colons
  // elsewhere, but not those.
  std::size_t colon = 0;
  for (;; ++colon) {
    colon = text.find(':', colon);
    if (colon == std::string_view::npos || colon == 0) return parsed;
    if (colon + 1 < text.size() && (text[colon + 1] == ' ' ||
                                    (text[colon + 1] >= '0' && text[colon + 1] <= '9')))
      break;
  }
  std::string_view rest = text.substr(colon + 1);
  int line = 0, column = 0;
  if (TakeNumber(rest, line)) TakeNumber(rest, column);
  if (!TakeWord(rest, " ")) return parsed;
  LineKind kind;
  if (TakeWord(rest, "error:") || TakeWord(rest, "fatal error:"))
    kind = LineKind::Error;
  else if (TakeWord(rest, "warning:"))
    kind = LineKind::Warning;
  else if (TakeWord(rest, "note:"))
    kind = LineKind::Note;
  else
    return parsed;
  parsed.Kind = kind;
  parsed.File = std::string(text.substr(0, colon));
  parsed.Line = line;
  parsed.Column = line > 0 ? column : 0;
  return parsed;
}

}  // namespace compiler
