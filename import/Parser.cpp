#include "import/Parser.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Pairs that end an operator at once; any other pair reads on to a third character.
constexpr std::array<std::string_view, 17> kPairs = {
    "+=", "-=", "*=", "/=", "%=", "^=", "&=", "|=", "==",
    "!=", ">=", "<=", "++", "--", "::", "->", "*/",
};
constexpr std::array<std::string_view, 3> kTriples = {"<<=", ">>=", "..."};

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& table, std::string_view s) {
  return std::find(table.begin(), table.end(), s) != table.end();
}

int FirstByte(const CStr& s) { return static_cast<unsigned char>(s.Text()[0]); }

// The bytes that go on a word once it has begun: letters, digits and "_".
template <bool kCyrillic>
constexpr std::array<bool, 256> kWordBytes = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = CParser::WordByte(c, kCyrillic);
  return table;
}();

}  // namespace

// [SECTION] CParser: character classes and position

CStr CParser::ClassName() const { return "CParser"; }

CBool CParser::IsDigit() { return DigitByte(ByteAt(Pos.Value)); }
CBool CParser::IsDigit(const CStr& s) { return DigitByte(FirstByte(s)); }
CBool CParser::IsLetter() { return LetterByte(ByteAt(Pos.Value)); }
CBool CParser::IsLetter(const CStr& s) { return LetterByte(FirstByte(s)); }
CBool CParser::IsUnderscore() { return ByteAt(Pos.Value) == '_'; }
CBool CParser::IsUnderscore(const CStr& s) { return FirstByte(s) == '_'; }
CBool CParser::IsNewLine() { return ByteAt(Pos.Value) == 10; }
CBool CParser::IsNewLine(const CStr& s) { return FirstByte(s) == 10; }
CBool CParser::IsSpace() { return SpaceByte(ByteAt(Pos.Value)); }
CBool CParser::IsSpace(const CStr& s) { return SpaceByte(FirstByte(s)); }
CBool CParser::IsPunct() { return PunctByte(ByteAt(Pos.Value)); }
CBool CParser::IsPunct(const CStr& s) { return PunctByte(FirstByte(s)); }
CBool CParser::IsEnd() { return Pos >= Text.Length(); }

CStr CParser::GetChar() {
  const int c = ByteAt(Pos.Value);
  return c < 0 ? CStr() : CStr(static_cast<char>(c));
}

void CParser::Next() { SetPos(Pos + 1); }

CStr CParser::GetRestOfLine() {
  const std::string_view text = Text.View();
  if (Pos.Value < 0 || Pos.Value >= static_cast<std::int32_t>(text.size())) return CStr();
  const std::string_view rest = text.substr(Pos.Value);
  return CStr(rest.substr(0, rest.find('\r')));
}

void CParser::SetText(const CStr& s) {
  Text = s;
  Text.AppendBytes("\r\n", 2);  // in place: the text of a large file is not copied again
  ++TextGeneration;
  Reset();
}

void CParser::TakeText(CStr&& s) {
  Text = std::move(s);
  ++TextGeneration;
  Reset();
}

void CParser::Reset() {
  Pos = 0;
  Line = 1;
}

std::int32_t CParser::BreaksBetween(std::int32_t from, std::int32_t to) const {
  const std::string_view text = Text.View();
  const std::int32_t size = static_cast<std::int32_t>(text.size());
  from = std::clamp(from, 1, size);  // a "\n" at 0 has no "\r" before it
  to = std::clamp(to, 0, size);
  std::int32_t n = 0;
  for (std::int32_t i = from; i < to; ++i) n += text[i] == '\n' && text[i - 1] == '\r';
  return n;
}

void CParser::MarkPos() {
  MarkedPos.Value = Pos.Value;
  MarkedLine = Line.Value;
  MarkedGeneration = TextGeneration;
}

void CParser::RestorePos() {
  if (MarkedGeneration == TextGeneration) {
    Pos.Value = MarkedPos.Value;
    Line.Value = MarkedLine;
  } else {
    SetPos(MarkedPos);
  }
}

void CParser::GetPos(CInt& pos) const { pos = Pos; }

void CParser::SetPos(const CInt& pos) {
  if (pos.Value > Pos.Value)
    Line.Value += BreaksBetween(Pos.Value, pos.Value);
  else
    Line.Value -= BreaksBetween(pos.Value, Pos.Value);
  Pos.Value = pos.Value;
}

// [SECTION] CParser: the plain word reader (no C++ rules; kept for clients that want words)

void CParser::NextToken() {
  const std::int32_t size = Text.Length().Value;
  std::int32_t pos = Pos.Value;
  while (pos < size && SpaceByte(ByteAt(pos))) {
    ++pos;
    if (ByteAt(pos - 1) == '\n' && ByteAt(pos - 2) == '\r') {
      Line++;
      LineStart = pos;
    }
  }
  std::int32_t end = pos;
  if (pos >= size) {
    TokenKind = kTokenNone;
  } else if (PunctByte(ByteAt(pos))) {
    TokenKind = kTokenOperator;
    end = pos + 1;
  } else {
    TokenKind = DigitByte(ByteAt(pos)) ? kTokenNumber : kTokenIdent;
    while (end < size && !SpaceByte(ByteAt(end)) && !PunctByte(ByteAt(end))) ++end;
  }
  Token = CStr(Text.View().substr(std::min(pos, size), end - std::min(pos, size)));
  Pos = end;
}

CStr CParser::GetWord() {
  NextToken();
  return Token;
}

CBool CParser::TryToken(const CStr& s) {
  const CInt pos = Pos, line = Line;
  CStr token = Token;
  const std::uint8_t kind = TokenKind;
  NextToken();
  LastToken = Token;
  if (Token == s) return true;
  Pos = pos;
  Line = line;
  Token = std::move(token);
  TokenKind = kind;
  return false;
}

// [SECTION] CCppAsmParser: the token state machine

CStr CCppAsmParser::ClassName() const { return "CCppAsmParser"; }

void CCppAsmParser::ScanToken(std::int32_t from, Scan& out) const {
  // One pass per character, as the kinds below describe; c is -1 on the pass at the end of the
  // text, and that pass counts the end as space.
  const std::string_view text = Text.View();
  const auto size = static_cast<std::int32_t>(text.size());
  // ByteAt on the text's bytes held here: the string need not be asked where they are each time.
  auto byteAt = [text, size](std::int32_t p) -> int {
    return p >= 0 && p < size ? static_cast<unsigned char>(text[p]) : -1;
  };
  const std::array<bool, 256>& wordBytes =
      CyrillicLetters.Value ? kWordBytes<true> : kWordBytes<false>;
  std::int32_t pos = from;
  std::int32_t lines = 0;
  std::uint8_t kind = kTokenNone;
  std::int32_t mode = 0;
  std::int32_t start = from;
  std::int32_t fallback = 0;
  bool star = false, escape = false;
  bool lineCommentCr = false;  // a "\r" inside a line comment, to be taken out of its text
  // Passing a "\n" that follows a "\r" is passing a line break, whatever is being read.
  auto step = [&] {
    if (byteAt(pos) == '\n' && byteAt(pos - 1) == '\r') ++lines;
    ++pos;
  };
  // Field by field: the owned text keeps its room from one token to the next.
  out.kind = kTokenNone;
  out.start = out.length = out.end = out.lines = out.commentMode = 0;
  out.useOwned = false;
  out.owned.clear();
  out.openedAt = -1;
  out.openedKind = kTokenNone;
  std::int32_t textEnd = -1;  // where the token's text stops, when not at pos
  while (pos <= size) {
    const int c = byteAt(pos);
    switch (kind) {
      case kTokenNone:
        step();
        if (SpaceByte(c)) {
          if (c == '\r') kind = kTokenLineBreak;
          continue;
        }
        start = pos - 1;
        if (DigitByte(c)) {
          kind = kTokenNumber;
        } else if (LetterByte(c) || c == '_') {
          kind = kTokenIdent;
        } else if (c == '"') {
          kind = kTokenString;
          start = pos;  // the quote is not kept
        } else if (c == '#' && ReadDirectives && BeginsLine(pos - 1)) {
          std::int32_t opened = -1;
          pos = DirectiveEnd(pos - 1, lines, opened);
          if (IsIfZero(start, pos)) pos = IfZeroEnd(pos, lines);
          kind = kTokenDirective;
          if (opened >= 0) {
            out.openedAt = opened;
            out.openedKind = kTokenString;
          }
          break;
        } else if (const std::int32_t close = c == '\'' ? CharLiteralEnd(pos) : -1; close >= 0) {
          // Read whole, so a quoted brace or quote is nobody's business but the literal's.
          kind = kTokenChar;
          start = pos;
          textEnd = close;
          pos = close + 1;
          break;
        } else {
          kind = kTokenOperator;
          fallback = pos;
        }
        continue;
      case kTokenNumber: {
        // A number is one token however it is written: 0x1F, 1.5f, 1e-10, 0b1010, 1'000'000, 10uLL.
        const bool hex = pos - start == 1 && byteAt(start) == '0' && (c == 'x' || c == 'X');
        for (;;) {
          const int d = byteAt(pos);
          const int before = byteAt(pos - 1);
          if (d >= 0 && (kWordBytes<false>[d] || d == '.')) {
            ++pos;
          } else if ((d == '+' || d == '-') &&
                     (before == 'p' || before == 'P' || (!hex && (before == 'e' || before == 'E')))) {
            ++pos;  // the sign of an exponent
          } else if (d == '\'' && byteAt(pos + 1) >= 0 && kWordBytes<false>[byteAt(pos + 1)]) {
            pos += 2;  // a digit separator
          } else {
            break;
          }
        }
        break;
      }
      case kTokenIdent:
        while (pos < size && wordBytes[static_cast<unsigned char>(text[pos])]) ++pos;
        break;
      case kTokenString:
        step();
        if (escape) {
          escape = false;
        } else if (c == '\\') {
          escape = true;
        } else if (c == '"') {
          textEnd = pos - 1;
          break;
        }
        continue;
      case kTokenLineBreak:
        if (c == '\n') {
          step();
          out.useOwned = true;
          out.owned.assign(1, '\n');
          break;
        }
        kind = kTokenNone;  // a lone "\r" is white space; this character is read afresh
        continue;
      case kTokenComment:
        step();
        if (mode == 2) {
          if (c == '\n') {
            textEnd = pos - 1;
            break;
          }
          lineCommentCr |= c == '\r';
        } else {
          if (star && c == '/') {
            textEnd = pos - 2;
            break;
          }
          star = c == '*';
        }
        continue;
      case kTokenOperator: {
        if (!PunctByte(c)) {
          pos = fallback;
          break;
        }
        ++pos;
        const std::string_view read(text.data() + start, pos - start);
        if (read.size() == 2) {
          if (read == "/*" || read == "//") {
            kind = kTokenComment;
            mode = read == "/*" ? 1 : 2;
            start = pos;
            continue;
          }
          if (OneOf(kPairs, read)) break;
          if (read == "<<" || read == ">>") fallback = pos;  // a shift falls back to both characters
          continue;
        }
        if (!OneOf(kTriples, read)) pos = fallback;
        break;
      }
    }
    break;  // the token ended inside the switch
  }
  if (pos > size) {
    // The loop ran out: what was read so far is the token. Only a string or a block comment can
    // still be open here, since every text ends in a line break.
    if (kind == kTokenString || (kind == kTokenComment && mode == 1)) {
      out.openedAt = start;
      out.openedKind = kind;
    }
    textEnd = std::min(size, std::max(start, size));
  }
  out.kind = kind;
  out.end = pos;
  out.lines = lines;
  out.commentMode = mode;
  if (kind == kTokenNone) {
    out.start = std::min(pos, size);
    out.length = 0;
  } else if (!out.useOwned) {
    out.start = start;
    out.length = (textEnd >= 0 ? textEnd : pos) - start;
    if (lineCommentCr) {
      out.useOwned = true;
      for (char ch : text.substr(start, out.length))
        if (ch != '\r') out.owned += ch;
    }
  }
}

bool CCppAsmParser::IsIfZero(std::int32_t hash, std::int32_t end) const {
  // "#if 0", blanks allowed around the words.
  std::string_view d = Text.View().substr(hash, end - hash);
  auto blanks = [&] { while (!d.empty() && (d[0] == ' ' || d[0] == '\t')) d.remove_prefix(1); };
  d.remove_prefix(1);
  blanks();
  if (!d.starts_with("if")) return false;
  d.remove_prefix(2);
  if (d.empty() || (d[0] != ' ' && d[0] != '\t')) return false;
  blanks();
  if (!d.starts_with("0")) return false;
  d.remove_prefix(1);
  blanks();
  return d.empty() || d.starts_with("//") || d.starts_with("/*");
}

std::int32_t CCppAsmParser::IfZeroEnd(std::int32_t from, std::int32_t& lines) const {
  // The lines an "#if 0" leaves out: up to its "#endif" (taken) or its "#else" or "#elif" (left
  // to be read), nested conditions counted.
  const auto size = static_cast<std::int32_t>(Text.View().size());
  int depth = 0;
  std::int32_t i = from;
  while (i < size) {
    // The next line.
    while (i < size && !(ByteAt(i) == '\n' && ByteAt(i - 1) == '\r')) ++i;
    if (i >= size) return size;
    const std::int32_t lineStart = i + 1;
    ++lines;
    std::int32_t j = lineStart;
    while (j < size && (ByteAt(j) == ' ' || ByteAt(j) == '\t')) ++j;
    i = lineStart;
    if (ByteAt(j) != '#') continue;
    ++j;
    while (j < size && (ByteAt(j) == ' ' || ByteAt(j) == '\t')) ++j;
    const std::string_view word = Text.View().substr(j, std::min<std::int32_t>(6, size - j));
    if (word.starts_with("if")) {
      ++depth;
    } else if (word.starts_with("endif")) {
      if (depth-- == 0) {
        std::int32_t ignored = -1;
        return DirectiveEnd(lineStart, lines, ignored);
      }
    } else if (depth == 0 && (word.starts_with("else") || word.starts_with("elif"))) {
      --lines;  // the line break before it is read again
      return lineStart - 2;
    }
  }
  return size;
}

bool CCppAsmParser::BeginsLine(std::int32_t pos) const {
  for (std::int32_t i = pos - 1; i >= 0; --i) {
    const int c = ByteAt(i);
    if (c == '\n' || c == '\r') return true;
    if (c != ' ' && c != '\t' && c != '\f' && c != '\v') return false;
  }
  return true;
}

std::int32_t CCppAsmParser::DirectiveEnd(std::int32_t hash, std::int32_t& lines,
                                         std::int32_t& openedAt) const {
  const auto size = static_cast<std::int32_t>(Text.View().size());
  std::int32_t i = hash + 1;
  while (i < size) {
    const int c = ByteAt(i);
    if (c == '\r' && ByteAt(i + 1) == '\n') return i;
    if (c == '\\' && ByteAt(i + 1) == '\r' && ByteAt(i + 2) == '\n') {
      ++lines;  // a continued line
      i += 3;
    } else if (c == '/' && ByteAt(i + 1) == '*') {
      // A block comment may run over the line end; the directive goes on after it.
      std::int32_t j = i + 2;
      while (j < size && !(ByteAt(j) == '*' && ByteAt(j + 1) == '/')) {
        if (ByteAt(j) == '\n' && ByteAt(j - 1) == '\r') ++lines;
        ++j;
      }
      i = std::min(size, j + 2);
    } else if (c == '/' && ByteAt(i + 1) == '/') {
      while (i < size && !(ByteAt(i) == '\r' && ByteAt(i + 1) == '\n')) ++i;
    } else if (c == '"') {
      // A string must close on its line: #include "a.h with no quote is not C++.
      std::int32_t j = i + 1;
      for (; j < size && ByteAt(j) != '"'; ++j) {
        if (ByteAt(j) == '\r' && ByteAt(j + 1) == '\n') break;
        if (ByteAt(j) == '\\') ++j;
      }
      if (j >= size || ByteAt(j) != '"') {
        if (openedAt < 0) openedAt = i + 1;
        i = j;
      } else {
        i = j + 1;
      }
    } else {
      ++i;
    }
  }
  return size;
}

std::int32_t CCppAsmParser::CharLiteralEnd(std::int32_t from) const {
  const auto size = static_cast<std::int32_t>(Text.View().size());
  for (std::int32_t i = from; i < size; ++i) {
    const int c = ByteAt(i);
    if (c == '\r' || c == '\n') return -1;
    if (c == '\'') return i;
    if (c == '\\') {
      if (ByteAt(i + 1) == '\r' || ByteAt(i + 1) == '\n') return -1;
      ++i;
    }
  }
  return -1;
}

void CCppAsmParser::SetToken(const Scan& scan) {
  const std::string_view text = TextOf(scan);
  Token.Set(text);  // copying a short token costs less than comparing it first
  TokenKind = scan.kind;
  CommentMode = scan.commentMode;
  // Plain integers: a value-object temporary per token would cost more than the token.
  Line.Value += scan.lines;
  Pos.Value = scan.end;
}

void CCppAsmParser::ReadToken() {
  Scan scan;
  ScanToken(Pos.Value, scan);
  if (scan.openedAt >= 0) Unterminated(scan.openedAt, scan.openedKind);
  SetToken(scan);
}

const CCppAsmParser::Scan& CCppAsmParser::ReadAhead() {
  // Read straight into the kept token; it is marked as kept only once it is complete.
  aheadFrom_ = -1;
  ++aheadScans_;
  Scan& scan = ahead_;
  std::int32_t pos = Pos.Value, lines = 0, openedAt = -1;
  std::uint8_t openedKind = kTokenNone;
  for (;;) {
    ScanToken(pos, scan);
    lines += scan.lines;
    pos = scan.end;
    if (scan.openedAt >= 0 && openedAt < 0) {
      openedAt = scan.openedAt;
      openedKind = scan.openedKind;
    }
    const bool skipped = (scan.kind == kTokenComment && (scan.commentMode == 1 || !ReturnSkipped)) ||
                         (scan.kind == kTokenLineBreak && !ReturnSkipped) ||
                         (scan.kind == kTokenDirective && !KeepDirectives);
    if (!skipped) break;
  }
  scan.lines = lines;
  scan.openedAt = openedAt;
  aheadFrom_ = Pos.Value;
  aheadGeneration_ = TextGeneration;
  aheadSkipped_ = static_cast<bool>(ReturnSkipped);
  aheadCyrillic_ = static_cast<bool>(CyrillicLetters);
  aheadDirectives_ = KeepDirectives;
  if (openedAt >= 0) Unterminated(openedAt, openedKind);
  return ahead_;
}

void CCppAsmParser::Take(const Scan& scan) { SetToken(scan); }

void CCppAsmParser::SetTried(const Scan& scan) {
  const bool ahead = &scan == &ahead_;
  const std::string_view text = TextOf(scan);
  LastToken.Set(text);
  triedScan_ = ahead ? aheadScans_ : ~0u;
}

void CCppAsmParser::NextToken() {
  Take(Significant());
  if (TokenKind != kTokenIdent || !JoinQualified) return;
  // A::B::C reads as one identifier; the kind is that of the last piece.
  std::string joined(Token.View());
  bool more = false;
  while (TokenKind == kTokenIdent && TryToken("::")) {
    Take(Significant());
    joined += "::";
    joined += Token.View();
    more = true;
  }
  if (more) Token = CStr(joined);
}

CStr CCppAsmParser::GetWord() {
  NextToken();
  return Token;
}

CBool CCppAsmParser::TryToken(const CStr& s) {
  triedScan_ = ~0u;  // LastToken is set here whatever it held
  const Scan& next = Significant();
  if (next.kind == kTokenIdent && JoinQualified) return CParser::TryToken(s);
  const std::string_view text = TextOf(next);
  if (LastToken.View() != text) LastToken.Set(text);
  if (text != s.View()) return false;
  Take(next);
  return true;
}

std::uint8_t CCppAsmParser::PeekKind() {
  const std::int32_t pos = Pos.Value, line = Line.Value;
  NextToken();
  Pos.Value = pos;
  Line.Value = line;
  return TokenKind;
}

CBool CCppAsmParser::IsNextNumber() { return PeekKind() == kTokenNumber; }

CBool CCppAsmParser::IsNumberText(const CStr& s) {
  const std::string_view v = s.View();
  return !v.empty() && std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

CBool CCppAsmParser::IsNextIdent() { return PeekKind() == kTokenIdent; }

CBool CCppAsmParser::IsIdentText(const CStr& s) {
  const std::string_view v = s.View();
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (v.empty() || !letter(v[0])) return false;
  return std::all_of(v.begin() + 1, v.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

std::uint8_t CCppAsmParser::NextKind() {
  NextToken();
  return TokenKind;
}
