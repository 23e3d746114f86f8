// Members: ReadMember, ReadSpec and the word rule that places a name.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"

using namespace analys;

void CCppAnalys::ReadMember(CInfo* scope) {
  for (;;) {
    TMemberInfo info(this);
    ReadSpec(scope, info, true, true, true);
    // Finishing a declarator: an attribute, when anything was named.
    auto finish = [&](std::string_view terminator) {
      if (info.Name.View().empty() && info.TypeName.View().empty()) return;
      DeclareAttribute(scope, info);
      if (terminator != ";" && terminator != ",") ReportError(msg::kSemicolonOrComma);
    };
    const bool stoppedAtOperator = TokenKind == kTokenOperator;
    if (stoppedAtOperator && Token.View() == ",") {
      finish(Token.View());
      continue;  // the next declarator starts afresh: type words do not carry over
    }
    if (stoppedAtOperator && Token.View() == ";") {
      finish(Token.View());
      return;
    }
    if (stoppedAtOperator && Token.View() == "(") {
      if (IsNextNumber()) {
        finish("(");  // int a(5): reports the missing ";"
        return;
      }
      ReadOperation(scope, info);
      return;
    }
    if (stoppedAtOperator && Token.View() == "=") {
      SkipInitializer();
      finish(Token.View());
      return;
    }
    if (TokenKind == kTokenNone) ReportError(msg::kSemicolon);
    ReportError(msg::kTypeError);
  }
}

void CCppAnalys::ReadSpec(CInfo* scope, TMemberInfo& info, bool allowVirtual, bool allowStatic,
                          bool allowCallConv) {
  if (allowVirtual && Try("virtual")) info.SetVirtual();
  // Every word of a pass is tried at the same place, so the token is read once and looked up.
  for (;;) {
    const Scan& next = Peek();
    const std::string_view text = TextOf(next);
    const SpecRow* row =
        next.kind == kTokenIdent || next.kind == kTokenOperator ? FindSpecWord(text) : nullptr;
    if (row && ((row->specifier == Specifier::Static && !allowStatic) || (row->specifier == Specifier::CallConv && !allowCallConv)))
      row = nullptr;  // not tried: it reads as a name
    if (!row) {
      if (next.kind == kTokenIdent) {
        Take(next);
        PlaceWord(scope, info, Token);
        continue;
      }
      // Not taken: the reader that called looks at it in Token.
      if (Token.View() != text) Token.Set(text);
      TokenKind = next.kind;
      return;
    }
    Take(next);
    switch (row->specifier) {
      case Specifier::Static:
      case Specifier::Auto: info.SetStorage(row->value); break;
      case Specifier::CallConv: info.SetCallConv(row->value); break;
      case Specifier::Const: info.SetConst(); break;
      case Specifier::Signed:
      case Specifier::Unsigned: info.SetSign(row->value); break;
      case Specifier::TypeWord: info.SetTypeWord(row->value, text); break;
      case Specifier::Operator: info.SetOperator(CStr("operator ") + GetWord()); break;
      case Specifier::Tilde: info.SetDestructor(); break;
      case Specifier::Star: info.PointerLevel.Value++; break;
      case Specifier::Amp: info.SetRef(); break;
      case Specifier::Scope: info.ScopeStep(); break;
      case Specifier::Bracket: {
        // An array leaves no trace; with nothing between the brackets the "]" ends the next pass.
        const Scan& inside = Peek();
        if (inside.kind == kTokenIdent || inside.kind == kTokenNumber) {
          GetWord();
          Try("]");
        }
        break;
      }
      case Specifier::End:
        if (text == "(" && info.Name.View().empty()) {
          info.Name = info.TypeName;  // a constructor: TForm1(...)
          info.TypeName = "";
        }
        return;
    }
  }
}

void CCppAnalys::PlaceWord(CInfo* scope, TMemberInfo& info, const CStr& word) {
  auto nameGiven = [&](int known, int other) {
    ReportError(CStr(msg::kNameGiven) + CInt(IsTypeName(scope, word) != 0 ? known : other).ToStr());
  };
  if (info.TypeWord.Value != 0) {
    if (info.Name.View().empty())
      info.Name = word;
    else if (EndsInScope(info.Name))
      Append(info.Name, word.View());
    else
      nameGiven(1, 3);
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
    nameGiven(2, 4);
  }
}

