// Operations: the parameter list, what follows it, and the body rebuilt as code text.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"

using namespace analys;

void CCppAnalys::ReadOperation(CInfo* scope, TMemberInfo& info) {
  const CInt line = Line;  // of the "(" after the name
  NextToken();  // the first token of the list
  for (bool listed = false;; listed = true) {
    ReadParams(scope);
    COperInfo* operation = DeclareOperation(scope, info);
    if (!operation->Parent && !listed) {
      const std::string_view written = info.Name.View();
      const std::size_t cut = written.rfind("::");
      const CStr qualifier(cut == std::string_view::npos ? std::string_view()
                                                         : written.substr(0, cut + 2));
      Unplaced.push_back({qualifier + operation->GetName(), FileName, line});
    }
    if (Try(";")) return;
    if (Try("{")) {
      ReadBody(scope, operation);
      return;
    }
    if (Try("=")) {
      if (!Try("0")) ReportError(msg::kZero);
      if (!Try(";")) ReportError(msg::kSemicolon);
      return;  // a pure virtual declaration leaves no mark
    }
    if (Try(":")) continue;  // a constructor's initialiser list reads like more parameters
    ReportError(msg::kSemicolonOrBrace);
  }
}

void CCppAnalys::ReadParams(CInfo* scope) {
  // From the current token up to the ")" that closes the list; parameters are read for their
  // syntax only. Every pass takes at least one token, so the loop ends at the end of the text.
  while (!(TokenKind == kTokenOperator && Token.View() == ")")) {
    if (TokenKind == kTokenNone || (TokenKind == kTokenOperator && (Token.View() == ";" || Token.View() == "{" || Token.View() == "}")))
      ReportError(msg::kCloseParen);
    TMemberInfo parameter(this);
    ReadSpec(scope, parameter, false, false, false);
    const bool taken = TokenKind == kTokenOperator &&
                       (Token.View() == "," || Token.View() == ";" || Token.View() == "(" || Token.View() == ")");
    if (taken) continue;
    if (TokenKind == kTokenOperator && Token.View() == "=") {
      SkipDefault();
      continue;
    }
    if (TokenKind == kTokenNone) ReportError(msg::kCloseParen);
    NextToken();  // a token a parameter does not use ("...", a number in an initialiser)
  }
}

void CCppAnalys::SkipDefault() {
  // A default value ends at the "," or ")" of its parameter list.
  int depth = 0;
  for (;;) {
    NextToken();
    if (TokenKind == kTokenNone) ReportError(msg::kCloseParen);
    if (TokenKind != kTokenOperator) continue;
    if (Token.View() == ";" || Token.View() == "{" || Token.View() == "}") ReportError(msg::kCloseParen);
    if (Token.View() == "(") {
      ++depth;
    } else if (Token.View() == ")") {
      if (depth == 0) return;
      --depth;
    } else if (Token.View() == "," && depth == 0) {
      return;
    }
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
  for (;;) {
    const Scan& next = Peek();
    if (next.kind == kTokenNone) ReportError(msg::kCloseBrace);
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

