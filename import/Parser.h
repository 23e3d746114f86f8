// The tokenizer of the C++ import: CParser holds the text, the position, the line count and the
// current token; CCppAsmParser reads C++ tokens from it on demand. There is no token list:
// look-ahead saves and restores the position.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Values.h"

// TokenKind values.
enum : std::uint8_t {
  kTokenNone = 0,     // nothing left to read
  kTokenComment = 1,  // text without the opening characters
  kTokenNumber = 2,
  kTokenIdent = 3,
  kTokenOperator = 4,   // operator or punctuator
  kTokenString = 5,     // between the quotes, backslashes kept
  kTokenLineBreak = 6,  // "\n"
  kTokenChar = 7,       // character literal: between the quotes, backslashes kept
  // A preprocessor line, from its "#" to its line end, continued lines included; read only when
  // the reader asks for them (ReadDirectives), and then skipped unless KeepDirectives.
  kTokenDirective = 8,
};

class CParser : public CObject {
 public:
  CParser() = default;
  CParser(const CParser&) = delete;
  CParser& operator=(const CParser&) = delete;

  CStr ClassName() const override;

  // Character classes of the byte at Pos, or of the first byte of a string (an empty string's
  // first byte is its terminating 0, which is space).
  virtual CBool IsDigit();
  virtual CBool IsDigit(const CStr& s);
  virtual CBool IsLetter();
  virtual CBool IsLetter(const CStr& s);
  virtual CBool IsUnderscore();
  virtual CBool IsUnderscore(const CStr& s);
  virtual CBool IsNewLine();
  virtual CBool IsNewLine(const CStr& s);
  virtual CBool IsSpace();
  virtual CBool IsSpace(const CStr& s);
  virtual CBool IsPunct();
  virtual CBool IsPunct(const CStr& s);
  virtual CBool IsEnd();
  virtual CStr GetChar();
  virtual void Next();
  virtual CStr GetRestOfLine();
  virtual void SetText(const CStr& s);  // appends "\r\n", then Reset
  // As SetText, for a text that ends in that "\r\n" already: taken over, not copied.
  void TakeText(CStr&& s);
  virtual void Reset();
  virtual CStr GetWord();
  virtual void NextToken();
  virtual CBool TryToken(const CStr& s);

  // Whether a byte goes on a word once it has begun: a letter, a digit or "_".
  static constexpr bool WordByte(int c, bool cyrillic) {
    return LetterByte(c, cyrillic) || c == '_' || (c >= '0' && c <= '9');
  }

  void MarkPos();
  void RestorePos();
  void GetPos(CInt& pos) const;
  void SetPos(const CInt& pos);  // Line follows the position

  const CStr& GetText() const { return Text; }

  CStr Token;
  CStr LastToken;  // what the latest TryToken read, matched or not
  std::uint8_t TokenKind = kTokenNone;
  // Pos and Line move together: Line is 1 + the number of "\r\n" pairs before Pos. Move Pos only
  // through the operations above.
  CInt Pos;
  CInt MarkedPos;
  CInt CommentPos;
  CInt Line = 1;
  CInt LineStart = 1;
  CBool CyrillicLetters;
  CBool ReturnSkipped;

 protected:
  // The class rules on a byte value; the virtual tests above and the C++ reader share them.
  bool DigitByte(int c) const { return c >= '0' && c <= '9'; }
  static constexpr bool LetterByte(int c, bool cyrillic) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           (cyrillic && (c >= 192 || c == 168 || c == 184));
  }
  bool LetterByte(int c) const { return LetterByte(c, CyrillicLetters.Value); }
  bool SpaceByte(int c) const { return c <= 32; }  // the end of the text (-1) counts as space
  bool PunctByte(int c) const { return !DigitByte(c) && !LetterByte(c) && c != '_' && !SpaceByte(c); }
  int ByteAt(std::int32_t pos) const {
    return pos >= 0 && pos < static_cast<std::int32_t>(Text.View().size())
               ? static_cast<unsigned char>(Text.Text()[pos])
               : -1;
  }
  // Line breaks ("\r\n") whose "\n" lies in [from, to).
  std::int32_t BreaksBetween(std::int32_t from, std::int32_t to) const;
  // Anything that changes the text or the way it is read bumps this; readers that keep results
  // for a position compare it.
  std::uint32_t TextGeneration = 0;

  CStr Text;

 private:
  std::int32_t MarkedLine = 1;
  std::uint32_t MarkedGeneration = 0;
};

class CCppAsmParser : public CParser {
 public:
  CStr ClassName() const override;

  CStr GetWord() override;
  void NextToken() override;
  CBool TryToken(const CStr& s) override;

  virtual void ReadToken();
  virtual CBool IsNextNumber();
  virtual CBool IsNumberText(const CStr& s);
  virtual CBool IsNextIdent();
  virtual CBool IsIdentText(const CStr& s);
  virtual std::uint8_t NextKind();

  std::int32_t CommentMode = 0;  // while a comment is read: 1 block, 2 line
  std::uint8_t JoinQualified = 1;
  // A "#" that begins a line reads as one directive token; NextToken skips it unless
  // KeepDirectives is set.
  bool ReadDirectives = false;
  bool KeepDirectives = false;

 protected:
  // One token as the state machine reads it from a position, without touching the parser.
  struct Scan {
    std::uint8_t kind = kTokenNone;
    std::int32_t start = 0;    // the token's text is [start, start + length) of Text...
    std::int32_t length = 0;
    bool useOwned = false;     // ...or this copy: a line break, a comment with a lone "\r" in it
    std::string owned;
    std::int32_t end = 0;      // position after the token
    std::int32_t lines = 0;    // line breaks passed
    std::int32_t commentMode = 0;
    std::int32_t openedAt = -1;  // start of a string or block comment that ran to the end
    std::uint8_t openedKind = kTokenNone;  // which of the two
  };
  // The end of the directive whose "#" is at `hash` (before its line break), the line breaks of
  // its continued lines counted into `lines`; `openedAt` the start of a string left open in it.
  std::int32_t DirectiveEnd(std::int32_t hash, std::int32_t& lines, std::int32_t& openedAt) const;
  // Whether the directive [hash, end) is "#if 0", and where the lines it leaves out end.
  bool IsIfZero(std::int32_t hash, std::int32_t end) const;
  std::int32_t IfZeroEnd(std::int32_t from, std::int32_t& lines) const;
  // Whether only blanks stand between the line's start and `pos`.
  bool BeginsLine(std::int32_t pos) const;
  void ScanToken(std::int32_t from, Scan& out) const;
  // The closing quote of a character literal whose text starts at `from`, or -1 when the line
  // ends first: a lone quote, as in the text of a preprocessor line, stays punctuation.
  std::int32_t CharLiteralEnd(std::int32_t from) const;
  std::string_view TextOf(const Scan& scan) const {
    return scan.useOwned ? std::string_view(scan.owned)
                         : std::string_view(Text.Text() + scan.start, scan.length);
  }

  // The next token NextToken would return, comments and line breaks skipped as ReturnSkipped
  // says, without the qualified-name join. Kept for the current position: the analyser tries
  // many words at one place, and each try would otherwise read the same token again.
  const Scan& Significant() {
    if (aheadFrom_ == Pos.Value && aheadGeneration_ == TextGeneration &&
        aheadSkipped_ == static_cast<bool>(ReturnSkipped) &&
        aheadCyrillic_ == static_cast<bool>(CyrillicLetters) && aheadDirectives_ == KeepDirectives)
      return ahead_;
    return ReadAhead();
  }
  void Take(const Scan& scan);
  // LastToken made the text of the token Significant answered, as a try that did not match
  // leaves it; the many tries at one place set it once.
  void NoteTried(const Scan& scan) {
    if (&scan != &ahead_ || triedScan_ != aheadScans_) SetTried(scan);
  }

  // Reading met a string or block comment that is never closed; it began at `start`.
  virtual void Unterminated(std::int32_t start, std::uint8_t kind) {}

 private:
  void SetToken(const Scan& scan);
  const Scan& ReadAhead();  // Significant when the kept token is not the one asked for
  void SetTried(const Scan& scan);
  // The kind of the next token; the position and line stay (the token fields show it).
  std::uint8_t PeekKind();

  Scan ahead_;
  std::int32_t aheadFrom_ = -1;
  std::uint32_t aheadGeneration_ = 0;
  bool aheadSkipped_ = false;
  bool aheadCyrillic_ = false;
  bool aheadDirectives_ = false;
  std::uint32_t aheadScans_ = 0;   // tokens Significant has read afresh
  std::uint32_t triedScan_ = ~0u;  // the one of them LastToken holds, if any
};
