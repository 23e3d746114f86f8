// Members: ReadMember, ReadSpec, the word rule that places a name, and the rules that pass over
// what is not a declarator (specifier words, attributes, macros).
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"

#include <array>
#include <span>

using namespace analys;

void CCppAnalys::ReadMember(CInfo* scope) {
  // Specifier words and the type are written once for all declarators: int a, *b; the
  // pointers and references belong to the first alone.
  std::vector<CPiece> common;
  for (bool first = true;; first = false) {
    TMemberInfo info(this);
    if (!first) info.Pieces = common;
    ReadSpec(scope, info, true, true, true);
    if (first && TokenKind == kTokenOperator && Token.View() == ",") {
      std::size_t nameAt = info.Pieces.size();
      for (std::size_t i = info.Pieces.size(); i-- > 0;)
        if (info.Pieces[i].Use == CPiece::kType && info.Pieces[i].Kind == kTokenIdent &&
            !IsKeyword(info.Pieces[i].Text)) {
          nameAt = i;
          break;
        }
      common.assign(info.Pieces.begin(), info.Pieces.begin() + std::ptrdiff_t(nameAt));
      while (!common.empty() && (common.back().Text == "*" || common.back().Text == "&" || common.back().Text == "&&"))
        common.pop_back();
    }
    // Finishing a declarator: an attribute, when anything was named.
    auto finish = [&](std::string_view terminator) {
      if (info.Name.View().empty() && info.TypeName.View().empty() && info.TypeWord.Value == 0) return;
      if (info.Name.View().empty()) throw CCannotPlace{"no name"};
      DeclareAttribute(scope, info);
      if (terminator != ";" && terminator != ",") ReportError(msg::kSemicolonOrComma);
    };
    const bool stoppedAtOperator = TokenKind == kTokenOperator;
    const std::string_view stop = Token.View();
    if (stoppedAtOperator && stop == "(") {
      if (IsNextNumber() || (info.Name.View().empty() && info.TypeName.View().empty())) {
        throw CCannotPlace{"initialiser"};  // int a(5), or a declarator in parentheses
      }
      ReadOperation(scope, info);
      return;
    }
    // What follows the name of an attribute: a bit field, an initialiser.
    if (stoppedAtOperator && (stop == ":" || stop == "=")) {
      const std::string sign(stop);
      Take(Peek());
      const std::int32_t from = Pos.Value;
      SkipInitializer();
      info.Declarator += sign + " " + TextBetween(from, Pos.Value - 1);
    } else if (stoppedAtOperator && stop == "{") {
      const std::int32_t from = Pos.Value;
      SkipGroup();  // int x{0}
      info.Declarator += TextBetween(from, Pos.Value);
      NextToken();
    }
    const std::string_view end = Token.View();
    if (TokenKind == kTokenOperator && end == ",") {
      finish(end);
      continue;
    }
    if (TokenKind == kTokenOperator && end == ";") {
      finish(end);
      return;
    }
    if (TokenKind == kTokenNone) ReportError(msg::kSemicolon);
    if (TokenKind == kTokenOperator && (end == "}" || end == ")")) ReportError(msg::kTypeError);
    throw CCannotPlace{"declarator"};
  }
}

bool CCppAnalys::IsMacro(std::string_view word) const {
  return LooksLikeMacro(word) || std::find(macros_.begin(), macros_.end(), word) != macros_.end();
}

void CCppAnalys::ReadSpec(CInfo* scope, TMemberInfo& info, bool allowVirtual, bool allowStatic,
                          bool allowCallConv) {
  auto piece = [&](std::string_view text, std::uint8_t kind, CPiece::Role use) {
    info.Pieces.push_back({std::string(text), kind, use});
  };
  std::int32_t lastEnd = -1;  // where the last piece ended: "&" straight after "&" is "&&"
  if (allowVirtual && Try("virtual")) {
    info.SetVirtual();
    piece("virtual", kTokenIdent, CPiece::kPrefix);
  }
  // Every word of a pass is tried at the same place, so the token is read once and looked up.
  for (;;) {
    const Scan& next = Peek();
    const std::string_view text = TextOf(next);
    const std::int32_t start = next.start, end = next.end;
    const SpecRow* row =
        next.kind == kTokenIdent || next.kind == kTokenOperator ? FindSpecWord(text) : nullptr;
    if (row && ((row->specifier == Specifier::Static && !allowStatic) || (row->specifier == Specifier::CallConv && !allowCallConv)))
      row = nullptr;  // not tried: it reads as a name
    if (next.kind == kTokenOperator && text == "[") {
      // An attribute [[...]], dropped; an array's bounds go with the declarator.
      const std::int32_t from = Pos.Value;
      Take(next);
      const bool attribute = TextOf(Peek()) == "[";
      SetPos(from);
      SkipGroup();
      if (!attribute) info.Declarator += TextBetween(from, Pos.Value);
      continue;
    }
    if (!row) {
      if (next.kind == kTokenIdent) {
        const std::string word(text);
        Take(next);
        if (word == "virtual" && allowVirtual) {
          info.SetVirtual();
          piece(word, kTokenIdent, CPiece::kPrefix);
        } else if (IsPrefixWord(word)) {
          piece(word, kTokenIdent, CPiece::kPrefix);
        } else if (IsTypeQualifier(word)) {
          piece(word, kTokenIdent, CPiece::kType);
        } else if ((word == "decltype" || word == "__typeof__" || word == "typeof") && TextOf(Peek()) == "(") {
          // A type computed from an expression: kept as written, and it names the type.
          const std::int32_t from = Pos.Value;
          SkipGroup();
          const std::string type = word + TextBetween(from, Pos.Value);
          piece(type, kTokenIdent, CPiece::kType);
          if (info.TypeName.View().empty() && info.Name.View().empty()) info.TypeName = CStr(type);
        } else if (IsAttributeWord(word)) {
          if (TextOf(Peek()) == "(") SkipGroup();
        } else if (std::find(macros_.begin(), macros_.end(), word) != macros_.end()) {
          if (TextOf(Peek()) == "(") SkipGroup();  // the user's macros go wherever they stand
        } else {
          std::string full = word;
          // Template arguments belong to the name they follow.
          const Scan& after = Peek();
          if (TextOf(after) == "<" && after.kind == kTokenOperator) {
            const std::int32_t from = Pos.Value;
            SkipGroup();
            full += TextBetween(from, Pos.Value);
          }
          const std::size_t before = info.Pieces.size();
          piece(full, kTokenIdent, CPiece::kType);
          if (!PlaceWord(scope, info, CStr(full))) {
            info.Pieces.erase(info.Pieces.begin() + std::ptrdiff_t(before));
            // A macro that stands after a name: GUARDED_BY(mu), GTEST_LOCK_EXCLUDED_(m).
            if (TextOf(Peek()) == "(") SkipGroup();
          }
        }
        lastEnd = end;
        continue;
      }
      if (next.kind == kTokenOperator && text == "...") {
        Take(next);
        piece("...", kTokenOperator, CPiece::kType);
        continue;
      }
      // Not taken: the reader that called looks at it in Token.
      if (Token.View() != text) Token.Set(text);
      TokenKind = next.kind;
      return;
    }
    Take(next);
    switch (row->specifier) {
      case Specifier::Static: info.SetStorage(row->value); piece(text, next.kind, CPiece::kPrefix); break;
      case Specifier::Auto: info.SetStorage(row->value); piece(text, next.kind, CPiece::kType); break;
      case Specifier::CallConv: info.SetCallConv(row->value); piece(Token.View(), kTokenIdent, CPiece::kCall); break;
      case Specifier::Const: info.SetConst(); piece("const", kTokenIdent, CPiece::kType); break;
      case Specifier::Signed:
      case Specifier::Unsigned: info.SetSign(row->value); piece(Token.View(), kTokenIdent, CPiece::kType); break;
      case Specifier::TypeWord: info.SetTypeWord(row->value, Token.View()); piece(Token.View(), kTokenIdent, CPiece::kType); break;
      case Specifier::Operator: {
        std::string op = ReadOperatorName();
        info.SetOperator(CStr("operator ") + CStr(op));
        piece("operator " + op, kTokenIdent, CPiece::kType);
        break;
      }
      case Specifier::Tilde: info.SetDestructor(); piece("~", kTokenOperator, CPiece::kType); break;
      case Specifier::Star:
        info.PointerLevel.Value++;
        info.IsConst.Value = 0;  // char* const p: a const of the pointer
        piece("*", kTokenOperator, CPiece::kType);
        break;
      case Specifier::Amp:
        if (lastEnd == start && !info.Pieces.empty() && info.Pieces.back().Text == "&") {
          info.Pieces.back().Text = "&&";  // a reference to an rvalue
        } else {
          info.SetRef();
          piece("&", kTokenOperator, CPiece::kType);
        }
        break;
      case Specifier::Scope: info.ScopeStep(); piece("::", kTokenOperator, CPiece::kType); break;
      case Specifier::Bracket: break;  // read above
      case Specifier::End:
        if (text == "(" && info.Name.View().empty()) {
          info.Name = info.TypeName;  // a constructor: TForm1(...)
          info.TypeName = "";
        }
        return;
    }
    lastEnd = end;
  }
}

std::string CCppAnalys::ReadOperatorName() {
  // operator(), operator[], operator new[], operator==, operator bool, operator const char*.
  const Scan& first = Peek();
  std::string op(TextOf(first));
  if (first.kind == kTokenOperator && (op == "(" || op == "[")) {
    Take(first);
    const std::string close = op == "(" ? ")" : "]";
    if (!Try(close)) ReportError(msg::kTypeError);
    return op + close;
  }
  if (first.kind == kTokenOperator) {
    Take(first);
    // Operators the tokenizer reads in pieces: && || ->* <=>
    for (;;) {
      const Scan& more = Peek();
      const std::string_view t = TextOf(more);
      if (more.kind != kTokenOperator || more.start != Pos.Value || t == "(" || t == ")" || t == ";") break;
      Take(more);
      op += t;
    }
    return op;
  }
  if (first.kind == kTokenString) {  // operator "" _km
    Take(first);
    return "\"\" " + std::string(TextOf(Peek())) + (Peek().kind == kTokenIdent ? (GetWord(), "") : "");
  }
  // new, delete (with []), or the type of a conversion.
  const std::int32_t from = Pos.Value;
  while (Peek().kind != kTokenNone && TextOf(Peek()) != "(") {
    if (TextOf(Peek()) == "[") {
      SkipGroup();
      continue;
    }
    if (TextOf(Peek()) == ";" || TextOf(Peek()) == "{") break;
    Take(Peek());
  }
  return TextBetween(from, Pos.Value);
}

std::string CCppAnalys::TypeOf(const TMemberInfo& info) const {
  // The name is the last word (with its qualifiers, or the "operator" piece) unless that word is
  // a keyword; the type is every type piece before it.
  const std::vector<CPiece>& pieces = info.Pieces;
  // The indices of the type pieces; a declaration has few, so they stay on the stack.
  std::array<std::size_t, 32> small;
  std::vector<std::size_t> large;
  std::size_t count = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i)
    if (pieces[i].Use == CPiece::kType) {
      if (count < small.size()) {
        small[count] = i;
      } else {
        if (large.empty()) large.assign(small.begin(), small.end());
        large.push_back(i);
      }
      ++count;
    }
  const std::span<const std::size_t> type = large.empty() ? std::span<const std::size_t>(small.data(), count)
                                                         : std::span<const std::size_t>(large);
  std::size_t nameAt = type.size();
  if (!info.Name.View().empty()) {
    for (std::size_t k = type.size(); k-- > 0;) {
      const CPiece& p = pieces[type[k]];
      if (p.Kind == kTokenIdent && (p.Text.starts_with("operator ") || !IsKeyword(p.Text))) {
        nameAt = k;
        break;
      }
      if (p.Text != "::") break;
    }
    // Qualifiers and the "~" of a destructor belong to the name.
    while (nameAt >= 2 && pieces[type[nameAt - 1]].Text == "::" && pieces[type[nameAt - 2]].Kind == kTokenIdent &&
           !IsKeyword(pieces[type[nameAt - 2]].Text) && nameAt >= 3 && pieces[type[nameAt - 3]].Text != "::" &&
           info.Name.View().find("::") != std::string_view::npos)
      nameAt -= 2;
    if (nameAt >= 1 && pieces[type[nameAt - 1]].Text == "~") --nameAt;
    if (nameAt >= 1 && pieces[type[nameAt - 1]].Text == "::" &&
        (nameAt == 1 || pieces[type[nameAt - 2]].Kind != kTokenIdent))
      --nameAt;
  }
  std::string out;
  std::uint8_t previous = kTokenNone;
  for (std::size_t k = 0; k < nameAt; ++k) {
    const CPiece& p = pieces[type[k]];
    if (IsWordKind(p.Kind) && IsWordKind(previous)) out += ' ';
    out += p.Text;
    previous = p.Kind;
  }
  return out;
}

std::string CCppAnalys::PrefixOf(const TMemberInfo& info) const {
  std::string out;
  for (const CPiece& p : info.Pieces)
    if (p.Use == CPiece::kPrefix) {
      if (!out.empty()) out += ' ';
      out += p.Text;
    }
  return out;
}

bool CCppAnalys::SkipMacroStatement() {
  // NAME(...) standing where a declaration would, with or without ";"; or a lone NAME before
  // what can only begin a declaration or a section.
  const Scan& first = Peek();
  if (first.kind != kTokenIdent || !IsMacro(TextOf(first))) return false;
  const std::int32_t from = Pos.Value;
  const std::string name(TextOf(first));
  Take(first);
  const Scan& next = Peek();
  const std::string_view t = TextOf(next);
  if (t == "(") {
    SkipGroup();
    const Scan& after = Peek();
    const std::string_view a = TextOf(after);
    if (a == ";") {
      Take(after);
      return true;
    }
    if (after.kind == kTokenIdent && !IsMacro(a) && a != "const" && a != "noexcept" && a != "override" &&
        a != "final" && a != "throw")
      return true;  // the next line is a declaration of its own
    if (a == "{" || a == "}" || a == "#" || after.kind == kTokenNone || IsMacro(a)) {
      if (a == "{") {
        // A macro that defines a function: TEST(A, B) { ... }
        SkipUnplaced(from, "macro");
      }
      return true;
    }
    SetPos(from);
    return false;
  }
  static constexpr std::string_view kStarters[] = {
      "typedef", "class", "struct", "union", "enum", "template", "namespace", "extern", "using",
      "static", "inline", "virtual", "friend", "public", "private", "protected", "published", "}",
      ";", "explicit", "constexpr", "typename", "const", "void", "int", "bool", "char", "unsigned",
      "signed", "long", "short", "double", "float", "~"};
  if (next.kind == kTokenNone || std::find(std::begin(kStarters), std::end(kStarters), t) != std::end(kStarters) ||
      (next.kind == kTokenIdent && IsMacro(t))) {
    if (t == ";") Take(next);
    return true;
  }
  SetPos(from);
  return false;
}

bool CCppAnalys::PlaceWord(CInfo* scope, TMemberInfo& info, const CStr& word) {
  // A name is given already: one of the two is a macro (GTEST_API_ void f, DWORD WINAPI f), or
  // the text is wrong.
  auto nameGiven = [&](int known, int other) {
    if (IsMacro(word.View())) return false;
    if (IsMacro(info.Name.View())) {
      for (std::size_t i = info.Pieces.size(); i-- > 0;)
        if (info.Pieces[i].Use == CPiece::kType && info.Pieces[i].Text == info.Name.View()) {
          info.Pieces[i].Use = CPiece::kDropped;
          break;
        }
      info.Name = word;
      return true;
    }
    if (IsMacro(info.TypeName.View())) {  // extern PACKAGE TForm1 *Form1
      for (CPiece& piece : info.Pieces)
        if (piece.Use == CPiece::kType && piece.Text == info.TypeName.View()) {
          piece.Use = CPiece::kDropped;
          break;
        }
      info.TypeName = info.Name;
      info.Name = word;
      return true;
    }
    // Three words before a parameter list: the first is a macro of a name the rule does not
    // know (FcPublic FcBool FcInit (void)).
    const Scan& after = Peek();
    if (after.kind == kTokenOperator && TextOf(after) == "(" && IsIdentText(info.Name)) {
      std::string_view dropped = info.TypeName.View().empty() ? info.Name.View() : info.TypeName.View();
      if (IsIdentText(CStr(dropped)) && !IsKeyword(dropped)) {
        for (CPiece& piece : info.Pieces)
          if (piece.Use == CPiece::kType && piece.Text == dropped) {
            piece.Use = CPiece::kDropped;
            break;
          }
        if (!info.TypeName.View().empty()) info.TypeName = info.Name;
        info.Name = word;
        return true;
      }
    }
    // Any other word that has no place may still be a macro the rule does not know: the
    // declaration is listed, not the file refused.
    (void)known;
    (void)other;
    (void)scope;
    throw CCannotPlace{"name given"};
  };
  if (info.TypeWord.Value != 0) {
    if (info.Name.View().empty())
      info.Name = word;
    else if (EndsInScope(info.Name))
      Append(info.Name, word.View());
    else
      return nameGiven(1, 3);
  } else if (info.TypeName.View().empty()) {
    if (info.Name.View().empty()) {
      info.Name = word;
    } else if (EndsInScope(info.Name)) {
      Append(info.Name, word.View());
    } else {
      info.TypeName = info.Name;  // CStr Caption: type CStr, name Caption
      info.Name = word;
    }
  } else if (EndsInScope(info.TypeName)) {
    Append(info.TypeName, word.View());
  } else if (info.Name.View().empty()) {
    info.Name = word;
  } else if (EndsInScope(info.Name)) {
    Append(info.Name, word.View());
  } else {
    return nameGiven(2, 4);
  }
  return true;
}
