// What is skipped: typedefs (kept by the analyser, never in the model) and the skipping helpers.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"

using namespace analys;

void CCppAnalys::ReadTypedef() {
  // typedef struct [Tag] { ... } Name, *PName;  The structure is read as a class (named by the
  // typedef when it has no tag of its own), and the names are kept like those of any typedef.
  const Scan& key = Peek();
  const std::string keyWord(TextOf(key));
  if (key.kind == kTokenIdent && (keyWord == "struct" || keyWord == "class" || keyWord == "union" || keyWord == "enum")) {
    const std::int32_t keyAt = Pos.Value;
    Take(key);
    std::string tag;
    if (Peek().kind == kTokenIdent) tag = GetWord().ToStd();
    if (TextOf(Peek()) == "{") {
      const std::int32_t open = Pos.Value;
      SkipGroup();
      std::string name;
      while (TextOf(Peek()) == "*") Take(Peek());
      if (Peek().kind == kTokenIdent) name = GetWord().ToStd();
      while (IsMacro(name) && Peek().kind == kTokenIdent) name = GetWord().ToStd();  // } PACKED Name;
      SetPos(keyAt);
      Take(Peek());
      (void)open;
      if (tag.empty()) typedefName_ = name;
      inTypedef_ = true;
      CInfo* scope = classScope_ ? classScope_ : ImportedUnit;
      if (keyWord == "enum") {
        ReadEnum(scope);
      } else {
        classKey_ = keyWord;
        ReadClass(scope);
      }
      inTypedef_ = false;
      typedefName_.clear();
      const std::string base = tag.empty() ? name : tag;
      for (;;) {
        int pointer = 0;
        while (Try("*")) ++pointer;
        if (Peek().kind != kTokenIdent) ReportError(msg::kNoSemicolon);
        while (IsMacro(TextOf(Peek())) && Peek().kind == kTokenIdent) {
          const std::int32_t at = Pos.Value;
          Take(Peek());
          if (Peek().kind != kTokenIdent) {
            SetPos(at);
            break;
          }
        }
        auto* type = new CTypeInfo;
        Typedefs.Add(type);
        type->SetName(GetWord());
        type->BaseType = CStr(base);
        type->Pointer = pointer;
        if (Try(",")) continue;
        if (Try(";")) return;
        ReportError(msg::kNoSemicolon);
      }
    }
    SetPos(keyAt);
  }
  CClassInfo temporary;
  TMemberInfo info(this);
  ReadSpec(&temporary, info, false, false, false);
  auto pointerForm = [&] {
    // After "(": "*", "__closure", or a word followed by "*", "::" or ")".
    const std::int32_t at = Pos.Value;
    const Scan& next = Peek();
    if (next.kind != kTokenIdent) {
      const bool star = TextOf(next) == "*";
      return star || TextOf(next) != ")";
    }
    const bool closure = TextOf(next) == "__closure";
    Take(next);
    const Scan& second = Peek();
    const std::string_view after = TextOf(second);
    bool pointer = closure || after == "*" || after == "::" || after == "(" || second.kind == kTokenIdent;
    if (after == ")") {
      Take(second);  // (F)(int) names a function type; (T); is a parameter list
      pointer = TextOf(Peek()) == "(";
    }
    SetPos(at);
    return pointer;
  };
  const bool paren = TokenKind == kTokenOperator && Token.View() == "(";
  const bool pointer = paren && pointerForm();
  if (paren) {
    Token = "(";
    TokenKind = kTokenOperator;
  }
  if (paren && !pointer) {
    // A function type: typedef void Handler(int);
    SkipParams();
    ReadTail(info);
    if (!Try(";")) ReportError(msg::kNoSemicolon);
  } else if (TokenKind == kTokenOperator && Token.View() == "(") {
    // A function-pointer type: typedef void (__closure *TNotify)(TObject* Sender);
    Try("__closure");
    // A calling convention or a macro before the star: (__stdcall *F), (APIENTRY *F); a
    // pointer to a member: (TClass::*F); or a function type without a pointer: (F).
    bool star = false;
    for (;;) {
      if (Try("*")) {
        star = true;
        break;
      }
      const Scan& next = Peek();
      if (next.kind != kTokenIdent) break;
      const std::int32_t at = Pos.Value;
      Take(next);
      if (Try("::")) continue;
      if (TextOf(Peek()) == ")") {
        SetPos(at);
        break;
      }
    }
    if (!star && !(IsNextIdent() && TextOf(Peek()) != "" )) ReportError(msg::kPointerStar);
    if (!IsNextIdent()) ReportError(msg::kPointerName);
    auto* event = new CEventTypeInfo;
    EventTypes.Add(event);
    event->SetName(GetWord());
    event->ReturnType = info.TypeName;
    event->PointerLevel = info.PointerLevel;
    if (!Try(")")) ReportError(msg::kPointerClose);
    if (!Try("(")) ReportError(msg::kPointerOpen);
    SkipParams();
    if (!Try(";")) ReportError(msg::kNoSemicolon);
  } else if (!(TokenKind == kTokenOperator && Token.View() == ";")) {
    ReportError(msg::kNoSemicolon);
  }
  auto* type = new CTypeInfo;
  Typedefs.Add(type);
  type->SetName(info.Name);
  type->BaseType = info.TypeName;
}


void CCppAnalys::SkipLine() {
  // A line comment runs to the end of its line and takes the line break with it.
  for (;;) {
    NextToken();
    if (TokenKind == kTokenNone || TokenKind == kTokenLineBreak || TokenKind == kTokenComment) return;
  }
}

void CCppAnalys::SkipToSemicolon() {
  for (;;) {
    NextToken();
    if (TokenKind == kTokenNone) ReportAt(constructStart_, msg::kSemicolon);
    if (TokenKind == kTokenOperator && Token.View() == ";") return;
  }
}

void CCppAnalys::SkipInitializer() {
  // To the "," or ";" that ends the declarator, which is left in Token.
  for (;;) {
    const Scan& next = Peek();
    const std::string_view t = TextOf(next);
    if (next.kind == kTokenNone) ReportAt(constructStart_, msg::kSemicolon);
    if (next.kind == kTokenOperator && (t == "(" || t == "[" || t == "{")) {
      SkipGroup();
      continue;
    }
    if (next.kind == kTokenOperator && (t == ")" || t == "]" || t == "}")) ReportError(msg::kTypeError);
    Take(next);
    if (TokenKind == kTokenOperator && (t == ";" || t == ",")) return;
  }
}

void CCppAnalys::SkipParams() {
  std::vector<CParamText> params;
  ReadParams(params);
}

void CCppAnalys::SkipGroup() {
  // From the opening token to its closing one, both taken; Token holds the closing one. Inside
  // "<...>" only angle brackets and the groups of other brackets count, and a ";" or "{" ends
  // it: a "<" that was a comparison.
  const std::int32_t start = Pos.Value;
  const Scan& open = Peek();
  const std::string first(TextOf(open));
  Take(open);
  std::vector<char> closers;
  auto closerOf = [](std::string_view t) { return t == "(" ? ')' : t == "[" ? ']' : t == "{" ? '}' : '>'; };
  closers.push_back(closerOf(first));
  while (!closers.empty()) {
    const Scan& next = Peek();
    const std::string_view t = TextOf(next);
    if (next.kind == kTokenNone) ReportAt(start, closers.back() == '}' ? msg::kCloseBrace : msg::kCloseParen);
    Take(next);
    if (next.kind != kTokenOperator) continue;
    const char want = closers.back();
    if (t == "(" || t == "[" || t == "{") {
      closers.push_back(closerOf(t));
    } else if (want == '>' && t == "<") {
      closers.push_back('>');
    } else if (want == '>' && (t == ">" || t == ">>" || t == ">=" || t == ">>=")) {
      closers.pop_back();
      if ((t == ">>" || t == ">>=") && !closers.empty() && closers.back() == '>') closers.pop_back();
    } else if (want == '>' && (t == ";" || t == "{" || t == "}" || t == ")")) {
      // Not template arguments after all: back to where they seemed to begin, past the "<".
      SetPos(start);
      Take(Peek());
      return;
    } else if (t.size() == 1 && (t[0] == ')' || t[0] == ']' || t[0] == '}')) {
      while (!closers.empty() && closers.back() == '>') closers.pop_back();  // a < that compared
      if (closers.empty() || closers.back() != t[0]) ReportAt(start, t[0] == '}' ? msg::kCloseParen : msg::kCloseBrace);
      closers.pop_back();
    }
  }
}

std::string CCppAnalys::TextBetween(std::int32_t from, std::int32_t to) {
  // The tokens in between, read afresh from a copy of the position, one blank between two words.
  std::string out;
  Scan scan;
  std::uint8_t previous = kTokenNone;
  for (std::int32_t pos = from; pos < to;) {
    ScanToken(pos, scan);
    if (scan.end <= pos) break;
    pos = scan.end;
    if (scan.kind == kTokenNone || scan.kind == kTokenComment || scan.kind == kTokenLineBreak ||
        scan.kind == kTokenDirective || pos > to)
      continue;
    if (IsWordKind(scan.kind) && IsWordKind(previous)) out += ' ';
    if (scan.kind == kTokenString || scan.kind == kTokenChar) {
      const char quote = scan.kind == kTokenString ? '"' : '\'';
      out += quote;
      out += TextOf(scan);
      out += quote;
    } else {
      out += TextOf(scan);
    }
    previous = scan.kind == kTokenString || scan.kind == kTokenChar ? kTokenIdent : scan.kind;
  }
  return out;
}

void CCppAnalys::ReportAt(std::int32_t start, const char* message) {
  SetPos(start);
  ReportError(message);
}

void CCppAnalys::SkipUnplaced(std::int32_t start, const char* why) {
  // To the ";" at depth 0, or the "}" of a group opened at depth 0 (and its ";" when one
  // follows), never past the "}" of what encloses the declaration.
  (void)why;
  SetPos(start);
  const CInt line = Line;
  for (;;) {
    const Scan& next = Peek();
    const std::string_view t = TextOf(next);
    if (next.kind == kTokenNone) ReportAt(start, msg::kSemicolon);
    if (next.kind == kTokenOperator && t == "}") break;
    if (next.kind == kTokenOperator && (t == "(" || t == "[" || t == "{")) {
      const bool brace = t == "{";
      SkipGroup();
      if (brace) {
        const Scan& after = Peek();
        if (TextOf(after) == ";") Take(after);
        if (TextOf(after) == ";" || after.kind != kTokenIdent) break;
      }
      continue;
    }
    Take(next);
    if (next.kind == kTokenOperator && t == ";") break;
  }
  // Its first words, for the list.
  std::string words = TextBetween(start, Pos.Value);
  if (words.size() > 60) {
    words.resize(57);
    words += "...";
  }
  Unplaced.push_back({CStr(words), FileName, line});
}

void CCppAnalys::PutExtra(CInfo* element, std::string_view key, std::string_view value) {
  // One line a key: "key: value"; a key written again replaces its line.
  if (element->Extra().View().empty()) {
    std::string line;
    line.reserve(key.size() + value.size() + 4);
    line += key;
    line += ": ";
    line += value;
    line += "\r\n";
    element->Extra().Set(line);
    return;
  }
  std::string extra = element->Extra().ToStd();
  const std::string head = std::string(key) + ": ";
  std::string out;
  for (std::size_t at = 0; at < extra.size();) {
    std::size_t end = extra.find("\r\n", at);
    if (end == std::string::npos) end = extra.size();
    const std::string_view line(extra.data() + at, end - at);
    if (!line.starts_with(head)) {
      out += line;
      out += "\r\n";
    }
    at = end + 2;
  }
  out += head;
  out += value;
  out += "\r\n";
  element->Extra() = CStr(out);
}
