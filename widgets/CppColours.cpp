#include "widgets/CppColours.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace cppcolours {
namespace {

constexpr std::string_view kKeywords[] = {
    "alignas", "alignof", "asm", "auto", "bool", "break", "case", "catch", "char", "char16_t",
    "char32_t", "char8_t", "class", "co_await", "co_return", "co_yield", "concept", "const",
    "const_cast", "consteval", "constexpr", "constinit", "continue", "decltype", "default",
    "delete", "do", "double", "dynamic_cast", "else", "enum", "explicit", "export", "extern",
    "false", "float", "for", "friend", "goto", "if", "inline", "int", "long", "mutable",
    "namespace", "new", "noexcept", "nullptr", "operator", "private", "protected", "public",
    "register", "reinterpret_cast", "requires", "return", "short", "signed", "sizeof", "static",
    "static_assert", "static_cast", "struct", "switch", "template", "this", "thread_local",
    "throw", "true", "try", "typedef", "typeid", "typename", "union", "unsigned", "using",
    "virtual", "void", "volatile", "wchar_t", "while",
};

bool IsKeyword(std::string_view word) {
  static const auto sorted = [] {
    std::array<std::string_view, std::size(kKeywords)> words{};
    std::copy(std::begin(kKeywords), std::end(kKeywords), words.begin());
    std::sort(words.begin(), words.end());
    return words;
  }();
  return std::binary_search(sorted.begin(), sorted.end(), word);
}

// Letters of both alphabets (cp1251 bytes 128 and above), digits and the underscore.
bool IsWordByte(unsigned char c) {
  return c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         c >= 128;
}

struct Spans {
  std::vector<Span>* out;
  std::size_t from;
  mutable Kind before = Kind::Plain;  // the kind of the last span left of `from`
  mutable bool any = false;
  // Whether spans starting at or after this byte are wanted at all.
  bool Wanted(std::size_t end) const { return out && end > from; }
  void Add(std::size_t start, Kind kind) const {
    if (!out) return;
    if (start < from) {
      before = kind;
      any = true;
      return;
    }
    if (out->empty() && any && start > from) out->push_back(Span{std::int32_t(from), before});
    if (!out->empty() && out->back().kind == kind) return;
    out->push_back(Span{std::int32_t(start), kind});
  }
  void Finish() const {
    if (out && out->empty() && any) out->push_back(Span{std::int32_t(from), before});
  }
};

// The end of a quoted literal that opens at `from` (the quote), a backslash escaping the byte
// after it; the line's end when it is not closed.
std::size_t QuotedEnd(std::string_view line, std::size_t from) {
  const char quote = line[from];
  std::size_t i = from + 1;
  while (i < line.size()) {
    if (line[i] == '\\') {
      i += 2;
      continue;
    }
    if (line[i++] == quote) return i;
  }
  return line.size();
}

}  // namespace

static State ColourFrom(std::string_view line, State state, const Spans& add, std::size_t resume,
                        TokenTops* tops) {
  const std::size_t n = line.size();
  std::size_t i = resume;

  // A continued directive colours the whole line and may continue again.
  const auto directiveRest = [&]() -> State {
    add.Add(i, Kind::Preprocessor);
    // A comment inside a directive still opens a block comment for the next line.
    const std::size_t open = line.find("/*", i), close = open == std::string_view::npos
                                                            ? open
                                                            : line.find("*/", open + 2);
    if (open != std::string_view::npos && close == std::string_view::npos) return kInComment;
    return !line.empty() && line.back() == '\\' ? kInDirective : kClosed;
  };
  // A line taken up again at a token top is past its comment and is no directive.
  if (resume == 0) {
    if (state == kInDirective) return directiveRest();

    if (state == kInComment) {
      const std::size_t close = line.find("*/");
      add.Add(0, Kind::Comment);
      if (close == std::string_view::npos) return kInComment;
      i = close + 2;
    }

    // A directive: the first byte that is not a blank is '#'.
    const std::size_t first = line.find_first_not_of(" \t", i);
    if (i == 0 && first != std::string_view::npos && line[first] == '#') {
      if (first > 0) add.Add(0, Kind::Plain);
      i = first;
      return directiveRest();
    }
  }

  while (i < n) {
    if (tops && i >= tops->next && !tops->Top(i)) return kClosed;
    const auto c = static_cast<unsigned char>(line[i]);
    if (c == '/' && i + 1 < n && line[i + 1] == '/') {
      add.Add(i, Kind::Comment);
      return kClosed;
    }
    if (c == '/' && i + 1 < n && line[i + 1] == '*') {
      add.Add(i, Kind::Comment);
      const std::size_t close = line.find("*/", i + 2);
      if (close == std::string_view::npos) return kInComment;
      i = close + 2;
      continue;
    }
    if (c == '"' || c == '\'') {
      add.Add(i, c == '"' ? Kind::String : Kind::Char);
      i = QuotedEnd(line, i);
      continue;
    }
    if (c >= '0' && c <= '9') {
      // A number runs over digits, letters (suffixes, hex, exponents), points and digit quotes,
      // and over the sign of an exponent.
      add.Add(i, Kind::Number);
      ++i;
      while (i < n) {
        const auto d = static_cast<unsigned char>(line[i]);
        const bool sign = (d == '+' || d == '-') &&
                          (line[i - 1] == 'e' || line[i - 1] == 'E' || line[i - 1] == 'p' ||
                           line[i - 1] == 'P');
        if (!(IsWordByte(d) || d == '.' || d == '\'' || sign)) break;
        ++i;
      }
      continue;
    }
    if (IsWordByte(c)) {
      std::size_t end = i + 1;
      while (end < n && IsWordByte(static_cast<unsigned char>(line[end]))) ++end;
      add.Add(i, add.Wanted(end) && IsKeyword(line.substr(i, end - i)) ? Kind::Keyword
                                                                         : Kind::Plain);
      i = end;
      continue;
    }
    add.Add(i, Kind::Plain);
    ++i;
  }
  return kClosed;
}

State Colour(std::string_view line, State state, std::vector<Span>* spans, std::size_t from,
             std::size_t resume, TokenTops* tops) {
  if (spans) spans->clear();
  const Spans add{spans, from};
  const State end = ColourFrom(line, state, add, resume, tops);
  add.Finish();
  return end;
}

CColor ColourOf(Kind kind) {
  switch (kind) {
    case Kind::Comment: return CColor(0, 0.5, 0);         // green
    case Kind::String: return CColor(0.5, 0, 0);          // maroon
    case Kind::Char: return CColor(0.5, 0, 0.5);          // purple
    case Kind::Number: return CColor(0, 0.5, 0.5);        // teal
    case Kind::Preprocessor: return CColor(0.5, 0.5, 0);  // olive
    case Kind::Keyword: return CColor(0, 0, 0.5);         // navy
    case Kind::Plain: break;
  }
  return CColor(0, 0, 0);
}

}  // namespace cppcolours
