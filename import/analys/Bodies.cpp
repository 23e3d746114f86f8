// Operations: the parameter list, what follows it, and the body rebuilt as code text.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"
#include "model/HeadTexts.h"

using namespace analys;

void CCppAnalys::ReadOperation(CInfo* scope, TMemberInfo& info) {
  const CInt line = Line;  // of the "(" after the name
  ReadParams(info.Params);
  ReadTail(info);
  COperInfo* operation = DeclareOperation(scope, info);
  if (!operation->Parent) {
    const std::string_view written = info.Name.View();
    const std::size_t cut = written.rfind("::");
    const CStr qualifier(cut == std::string_view::npos ? std::string_view() : written.substr(0, cut + 2));
    Unplaced.push_back({qualifier + operation->GetName(), FileName, line});
  }
  if (Try(";")) return;
  if (Try("=")) {
    // = 0, = default, = delete: kept with the operation's tail.
    const Scan& what = Peek();
    const std::string_view w = TextOf(what);
    if (w != "0" && w != "default" && w != "delete") ReportError(msg::kZero);
    if (w != "0" && !operation->Code.View().empty()) throw CCannotPlace{"described again"};
    PutExtra(operation, "tail", (info.Tail.empty() ? "" : info.Tail + " ") + "= " + std::string(w));
    Take(what);
    if (!Try(";")) ReportError(msg::kSemicolon);
    return;
  }
  if (Try(":")) SkipInitList();
  if (Try("{")) {
    // A second body for one declaration (the other branch of an #if), or one for a defaulted or
    // deleted function: the first description stands, as for classes.
    const std::string_view tail = ExtraValue(operation->Extra().View(), "tail");
    if (tail.ends_with("= default") || tail.ends_with("= delete"))
      throw CCannotPlace{"described again"};
    ReadBody(scope, operation);
    return;
  }
  if (Try("try")) throw CCannotPlace{"function try block"};
  throw CCannotPlace{"after the parameter list"};
}

void CCppAnalys::ReadParams(std::vector<CParamText>& params) {
  // From after "(" to the ")" that closes the list, which is taken. A parameter is read with
  // the member reader for its type and name; one it cannot read (a function pointer) is kept
  // whole as its type.
  params.clear();
  if (Try(")")) return;
  for (;;) {
    const std::int32_t from = Pos.Value;
    TMemberInfo parameter(this);
    CParamText param;
    ReadSpec(nullptr, parameter, false, false, false);
    std::string_view stop = Token.View();
    if (TokenKind == kTokenOperator && (stop == "(" || stop == "[")) {
      // void (*callback)(int), int (&row)[3]: the declarator is inside; kept as written.
      SetPos(from);
      while (true) {
        const Scan& next = Peek();
        const std::string_view t = TextOf(next);
        if (next.kind == kTokenNone) ReportAt(constructStart_, msg::kCloseParen);
        if (next.kind == kTokenOperator && (t == "," || t == ")" || t == "=")) break;
        if (next.kind == kTokenOperator && (t == "(" || t == "[" || t == "{" || t == "<")) {
          SkipGroup();
          continue;
        }
        if (next.kind == kTokenOperator && (t == ";" || t == "}")) ReportError(msg::kCloseParen);
        Take(next);
      }
      param.Type = TextBetween(from, Pos.Value);
      Take(Peek());
    } else {
      // The name is the last word, after a type: f(const A&) and f(TObject) have none.
      std::size_t typePieces = 0;
      const CPiece* last = nullptr;
      for (const CPiece& p : parameter.Pieces)
        if (p.Use == CPiece::kType) {
          ++typePieces;
          last = &p;
        }
      const bool named = last && last->Kind == kTokenIdent && !IsKeyword(last->Text) && typePieces > 1 &&
                         !last->Text.starts_with("operator");
      if (named) {
        param.Type = TypeOf(parameter);
        param.Name = last->Text;
      } else {
        for (CPiece& p : parameter.Pieces)
          if (p.Use == CPiece::kType) p.Use = CPiece::kType;
        parameter.Name = "";
        param.Type = TypeOf(parameter);
      }
      param.Type += parameter.Declarator;
      if (TokenKind == kTokenNone) ReportAt(constructStart_, msg::kCloseParen);
      if (TokenKind != kTokenOperator || (stop != "," && stop != ")" && stop != "="))
        ReportError(msg::kCloseParen);
    }
    if (TokenKind == kTokenOperator && Token.View() == "=") {
      // A default value ends at the "," or ")" of the list; braces, brackets and template
      // arguments written without blanks may hold commas of their own.
      Take(Peek());
      const std::int32_t valueFrom = Pos.Value;
      for (;;) {
        const Scan& next = Peek();
        const std::string_view t = TextOf(next);
        if (next.kind == kTokenNone) ReportAt(constructStart_, msg::kCloseParen);
        if (next.kind == kTokenOperator && (t == "," || t == ")")) break;
        if (next.kind == kTokenOperator && (t == ";" || t == "}")) ReportError(msg::kCloseParen);
        if (next.kind == kTokenOperator && (t == "(" || t == "[" || t == "{")) {
          SkipGroup();
          continue;
        }
        if (next.kind == kTokenOperator && t == "<" && next.start == Pos.Value && Pos.Value > 0 &&
            WordByte(static_cast<unsigned char>(Text.View()[Pos.Value - 1]), false)) {
          SkipGroup();
          continue;
        }
        Take(next);
      }
      param.Value = TextBetween(valueFrom, Pos.Value);
      Take(Peek());
    }
    if (!(param.Type == "void" && param.Name.empty() && params.empty() && Token.View() == ")"))
      params.push_back(std::move(param));
    if (Token.View() == ")") return;
  }
}

void CCppAnalys::ReadTail(TMemberInfo& info) {
  // const, volatile, &, &&, noexcept(...), throw(...), override, final, attributes, macros,
  // and a trailing return type.
  std::int32_t lastEnd = -1;
  for (;;) {
    const Scan& next = Peek();
    const std::string_view t = TextOf(next);
    const std::int32_t start = next.start, end = next.end;
    auto keep = [&](std::string_view text) {
      if (!info.Tail.empty() && !(text == "&" && lastEnd == start && info.Tail.ends_with("&"))) info.Tail += ' ';
      info.Tail += text;
    };
    if (next.kind == kTokenIdent && (t == "const" || t == "volatile" || t == "override" || t == "final")) {
      keep(t);
      Take(next);
    } else if (next.kind == kTokenOperator && t == "&") {
      keep("&");
      Take(next);
    } else if (next.kind == kTokenIdent && (t == "noexcept" || t == "throw")) {
      const std::int32_t from = Pos.Value;
      Take(next);
      if (TextOf(Peek()) == "(") SkipGroup();
      keep(TextBetween(from, Pos.Value));
    } else if (next.kind == kTokenOperator && t == "->") {
      Take(next);
      const std::int32_t from = Pos.Value;
      while (Peek().kind != kTokenNone) {
        const std::string_view u = TextOf(Peek());
        if (u == "{" || u == ";" || u == "=" || (u == "override" || u == "final")) break;
        if (u == "<" || u == "(" || u == "[") {
          SkipGroup();
          continue;
        }
        Take(Peek());
      }
      info.ReturnType = TextBetween(from, Pos.Value);
    } else if (next.kind == kTokenIdent && t == "requires") {
      const std::int32_t from = Pos.Value;
      SkipRequires();
      keep(TextBetween(from, Pos.Value));
    } else if (next.kind == kTokenOperator && t == "[") {
      SkipGroup();  // [[nodiscard]] and the like
    } else if (next.kind == kTokenIdent && (IsAttributeWord(t) || IsMacro(t))) {
      Take(next);
      if (TextOf(Peek()) == "(") SkipGroup();
    } else {
      return;
    }
    lastEnd = end;
  }
}

void CCppAnalys::SkipInitList() {
  // : a(1), b{2}, Base<T>(x) up to the "{" of the body.
  for (;;) {
    const Scan& next = Peek();
    const std::string_view t = TextOf(next);
    if (next.kind == kTokenNone) ReportAt(constructStart_, msg::kCloseBrace);
    if (next.kind == kTokenOperator && (t == "(" || t == "<" || t == "[")) {
      SkipGroup();
      continue;
    }
    if (next.kind == kTokenOperator && t == "{") {
      // A member's brace initialiser follows its name; the body follows ")" or "}".
      if (TokenKind == kTokenIdent || (TokenKind == kTokenOperator && Token.View() == ">")) {
        SkipGroup();
        Token = "}";
        TokenKind = kTokenOperator;
        continue;
      }
      return;
    }
    if (next.kind == kTokenOperator && (t == ";" || t == "}")) ReportError(msg::kSemicolonOrBrace);
    Take(next);
  }
}

void CCppAnalys::ReadBody(CInfo* scope, COperInfo* operation) {
  // The operation was made when the header was read, and is long out of the cache: its text
  // field is fetched while the body is read, not when the text is stored.
  if (operation) {
    __builtin_prefetch(&operation->Code, 1);
    __builtin_prefetch(reinterpret_cast<const char*>(&operation->Code + 1) - 1, 1);
  }
  // The texts keep their room from one body to the next.
  std::string& code = bodyCode_;
  std::string& line = bodyLine_;
  code = "//Импортированный исходный код"_cp;
  line.clear();
  int depth = 1;
  std::uint8_t previous = kTokenIdent;  // so a line that begins with a word begins with a blank
  // A line break and the indentation of the depth: two blanks for each level inside the body.
  auto newLine = [&] {
    code += "\r\n";
    if (depth > 1) code.append(2 * std::size_t(depth - 1), ' ');
  };
  // Preprocessor lines stay lines of their own.
  KeepDirectives = true;
  struct Restore {
    bool& keep;
    ~Restore() { keep = false; }
  } restore{KeepDirectives};
  for (;;) {
    const Scan& next = Peek();
    if (next.kind == kTokenNone) ReportError(msg::kCloseBrace);
    if (next.kind == kTokenDirective) {
      Take(next);
      if (!line.empty()) {
        newLine();
        code += line;
        line.clear();
      }
      code += "\r\n";
      code += Token.View();
      previous = kTokenIdent;
      continue;
    }
    if (next.kind == kTokenOperator && TextOf(next) == "{") {
      Take(next);
      newLine();
      code += line;
      newLine();
      code += '{';
      line.clear();
      ++depth;
      previous = kTokenIdent;
    } else if (next.kind == kTokenOperator && TextOf(next) == "}") {
      Take(next);
      --depth;
      if (!line.empty()) {
        newLine();
        code += line;
      }
      if (depth != 0) {
        newLine();
        code += '}';
      }
      line.clear();
      previous = kTokenIdent;
      if (depth == 0) break;
    } else if (next.kind == kTokenOperator && TextOf(next) == ";") {
      Take(next);
      newLine();
      code += line;
      code += ';';
      line.clear();
      previous = kTokenIdent;
    } else {
      Take(next);
      const std::string_view word = Token.View();
      if (TokenKind == kTokenOperator && word == "=") {
        line += " = ";
      } else {
        if (IsWordKind(TokenKind) && IsWordKind(previous)) line += ' ';
        if (TokenKind == kTokenString || TokenKind == kTokenChar) {
          const char quote = TokenKind == kTokenString ? '"' : '\'';
          line += quote;
          line += word;
          line += quote;
        } else {
          line += word;
        }
      }
      previous = TokenKind;
    }
    if (code.size() + line.size() > kMaxCodeBytes) ReportError(msg::kCodeTooLarge);
  }
  if (operation) operation->Code.Set(code);
}

