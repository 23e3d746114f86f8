#include "model/HeadTexts.h"

#include <algorithm>
#include <charconv>

#include "model/Design.h"

namespace {

constexpr std::string_view kVersion = "heads 1";

// The next line of `text` from `at`, without its "\r\n"; `at` moves past it.
std::string_view NextLine(std::string_view text, std::size_t& at) {
  const std::size_t end = std::min(text.find("\r\n", at), text.size());
  const std::string_view line = text.substr(at, end - at);
  at = std::min(end + 2, text.size() + 1);
  return line;
}

std::size_t LineCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); NextLine(text, at)) ++count;
  return count;
}

// "header 3": the count after the word, or false.
bool ReadCount(std::string_view line, std::string_view word, std::size_t& count) {
  if (!line.starts_with(word) || line.size() <= word.size() + 1 || line[word.size()] != ' ') return false;
  const std::string_view digits = line.substr(word.size() + 1);
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
  return error == std::errc() && end == digits.data() + digits.size();
}

// `count` lines from `at`, each ended by "\r\n"; false when the text has fewer.
bool ReadLines(std::string_view text, std::size_t& at, std::size_t count, std::string& out) {
  for (std::size_t i = 0; i < count; ++i) {
    if (at > text.size() || (at == text.size() && i < count)) return false;
    out += NextLine(text, at);
    out += "\r\n";
  }
  return true;
}

}  // namespace

HeadTexts ReadHeads(const CStr& unitExtra) {
  const std::string_view text = unitExtra.View();
  HeadTexts heads;
  if (text.empty()) return heads;
  std::size_t at = 0, header = 0, source = 0;
  HeadTexts read;
  if (NextLine(text, at) == kVersion && ReadCount(NextLine(text, at), "header", header) &&
      ReadLines(text, at, header, read.Header) && at <= text.size() &&
      ReadCount(NextLine(text, at), "source", source) && ReadLines(text, at, source, read.Source))
    return read;
  heads.Header = std::string(text);
  if (!heads.Header.ends_with("\r\n")) heads.Header += "\r\n";
  return heads;
}

CStr WriteHeads(const HeadTexts& heads) {
  if (heads.Header.empty() && heads.Source.empty()) return CStr();
  std::string out(kVersion);
  out += "\r\n";
  for (const auto& [word, text] : {std::pair<std::string_view, std::string_view>{"header", heads.Header},
                                   {"source", heads.Source}}) {
    out += word;
    out += ' ';
    out += std::to_string(LineCount(text));
    out += "\r\n";
    out += text;
    if (!text.empty() && !text.ends_with("\r\n")) out += "\r\n";
  }
  return CStr(out);
}

std::string HeadFromFile(std::string_view text, const std::vector<std::string>& made) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos ||
        std::find(made.begin(), made.end(), line) != made.end())
      continue;
    out += line;
    out += "\r\n";
  }
  return out;
}

std::string_view ExtraValue(std::string_view extra, std::string_view key) {
  extra = design::BeforeDesign(extra);
  for (std::size_t at = 0; at < extra.size();) {
    std::size_t end = extra.find("\r\n", at);
    if (end == std::string_view::npos) end = extra.size();
    const std::string_view line = extra.substr(at, end - at);
    if (line.size() > key.size() + 1 && line.starts_with(key) && line[key.size()] == ':' && line[key.size() + 1] == ' ')
      return line.substr(key.size() + 2);
    at = end + 2;
  }
  return {};
}
