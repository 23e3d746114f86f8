// Class heads and class bodies: ReadClass, ReadClassHead, ReadClassBody, GetAccess.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"

using namespace analys;

int CCppAnalys::GetAccess() {
  static constexpr std::string_view kWords[] = {"private", "protected", "public", "published"};
  for (int access = 0; access < 4; ++access)
    if (Try(kWords[access])) return access;
  return -1;
}

void CCppAnalys::ReadClass(CInfo* scope) {
  CClassInfo* read = nullptr;
  if (ReadClassHead(scope, read)) ReadClassBody(read);
}

bool CCppAnalys::ReadClassHead(CInfo* scope, CClassInfo*& result) {
  if (!scope) ReportError(msg::kProgramError);
  if (!IsNextIdent()) ReportError(msg::kClassName);
  const CStr name = GetWord();
  classes_->Expect(name.View());  // looked up once the head is read
  CInt baseAccess = 0;
  CStr base;
  bool hasBase = false;
  if (Try(":")) {
    const int access = GetAccess();
    baseAccess = access < 0 ? 0 : access;
    if (!IsNextIdent()) ReportError(msg::kBaseName);
    base = GetWord();
    hasBase = true;
  }
  if (Try("{")) {
    // The whole application or library that holds the unit is searched.
    CClassInfo* found = FindClass(scope->Parent, name);
    if (!found) {
      found = new CClassInfo;
      operations_->Expect(found);
      scope->Append(found);
      found->SetName(name);
      classes_->Added(found);
      operations_->Made(found);
    } else if (!found->ClassFlag) {
      ReportError(msg::kClassDescribed);
    }
    // A forward-declared class is completed where it stands. ClassFlag marks a class known only
    // by its forward declaration; Kind holds the base access.
    found->SetName(name);
    found->Kind = baseAccess;
    found->Base = base;
    found->ClassFlag = false;
    result = found;
    return true;
  }
  if (Try(";")) {
    if (hasBase) ReportError(msg::kNoBrace);
    if (!FindClass(Root, name)) {
      auto* forward = new CClassInfo;
      scope->Append(forward);
      forward->SetName(name);
      forward->ClassFlag = true;
      classes_->Added(forward);
      operations_->Made(forward);
    }
    return false;
  }
  ReportError(msg::kNoBraceOrSemicolon);
}

void CCppAnalys::ReadClassBody(CClassInfo* owner) {
  // The members go one level below the class; a tree deeper than the loader reads could be
  // saved but never opened again. The text's own nesting is bounded too: a forward-declared
  // class is completed where it stands, so the tree can stay flat while the bodies nest.
  std::int32_t depth = 0;
  for (const CInfo* n = owner; n->Parent; n = n->Parent) ++depth;
  if (depth + 1 >= CInfo::kMaxDepth || classNesting_ + 1 >= CInfo::kMaxDepth) ReportError(msg::kNestedTooDeep);
  ++classNesting_;
  struct Leave {
    int& nesting;
    ~Leave() { --nesting; }
  } leave{classNesting_};
  CurrentAccess = 0;
  for (;;) {
    if (Try("}")) {
      if (!Try(";")) ReportError(msg::kSemicolon);
      return;
    }
    if (Peek().kind == kTokenNone) ReportError(msg::kCloseBrace);
    const int access = GetAccess();
    if (access >= 0) {
      if (!Try(":")) ReportError(msg::kColon);
      CurrentAccess = access;
      continue;
    }
    if (Try("class")) {
      ReadClass(owner);
      continue;
    }
    if (Try("friend")) continue;  // the rest reads as an ordinary member
    ReadMember(owner);
  }
}

