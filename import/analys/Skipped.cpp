// What is skipped: typedefs (kept by the analyser, never in the model) and the skipping helpers.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"

using namespace analys;

void CCppAnalys::ReadTypedef() {
  CClassInfo temporary;
  TMemberInfo info(this);
  ReadSpec(&temporary, info, false, false, false);
  if (TokenKind == kTokenOperator && Token.View() == "(") {
    // A function-pointer type: typedef void (__closure *TNotify)(TObject* Sender);
    Try("__closure");
    if (!Try("*")) ReportError(msg::kPointerStar);
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
    if (TokenKind == kTokenNone) ReportError(msg::kSemicolon);
    if (TokenKind == kTokenOperator && Token.View() == ";") return;
  }
}

void CCppAnalys::SkipInitializer() {
  int depth = 0;
  for (;;) {
    NextToken();
    if (TokenKind == kTokenNone) ReportError(msg::kSemicolon);
    if (TokenKind != kTokenOperator) continue;
    if (Token.View() == "(") ++depth;
    if (Token.View() == ")") --depth;
    if (Token.View() == ";" && depth == 0) return;
  }
}

void CCppAnalys::SkipParams() {
  NextToken();
  ReadParams(nullptr);
}
