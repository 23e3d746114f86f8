// Class heads and class bodies: ReadClass, ReadClassHead, ReadClassBody, GetAccess.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"

using namespace analys;

std::string CCppAnalys::NamespacePath() const {
  std::string path;
  for (const std::string& n : namespaces_) path += (path.empty() ? "" : "::") + n;
  return path;
}

int CCppAnalys::GetAccess() {
  static constexpr std::string_view kWords[] = {"private", "protected", "public", "published"};
  for (int access = 0; access < 4; ++access)
    if (Try(kWords[access])) return access;
  return -1;
}

void CCppAnalys::ReadClass(CInfo* scope) {
  // The words that led here: class, struct or union, and a template head.
  const std::string key = std::exchange(classKey_, "class");
  const std::string head = std::exchange(templateHead_, std::string());
  CClassInfo* read = nullptr;
  if (!ReadClassHead(scope, read)) return;
  if (key != "class") PutExtra(read, "key", key);
  if (!head.empty()) PutExtra(read, "template", head);
  if (!namespaces_.empty() && dynamic_cast<CClassInfo*>(read->Parent) == nullptr) {
    const std::string path = NamespacePath();
    PutExtra(read, "namespace", path);
  }
  bodyAccess_ = key == "class" ? 0 : 2;
  ReadClassBody(read);
}

namespace {

std::string_view NamespaceOf(const CInfo* c) {
  const std::string_view extra = c->Extra().View();
  const std::size_t at = extra.find("namespace: ");
  if (at == std::string_view::npos || (at > 0 && extra[at - 1] != '\n')) return {};
  const std::string_view rest = extra.substr(at + 11);
  return rest.substr(0, rest.find("\r\n"));
}

}  // namespace

bool CCppAnalys::ReadClassHead(CInfo* scope, CClassInfo*& result) {
  if (!scope) ReportError(msg::kProgramError);
  const std::int32_t keywordEnd = Pos.Value;
  // Attributes and export macros before the name: class GTEST_API_ Message, struct [[nodiscard]] R.
  for (;;) {
    const Scan& next = Peek();
    const std::string_view t = TextOf(next);
    if (next.kind == kTokenOperator && t == "[") {
      SkipGroup();
    } else if (next.kind == kTokenIdent && IsAttributeWord(t)) {
      Take(next);
      if (TextOf(Peek()) == "(") SkipGroup();
    } else {
      break;
    }
  }
  std::string name = std::exchange(typedefName_, std::string());
  if (!name.empty() && TextOf(Peek()) == "{") {
    // typedef struct { } Name;: the class takes the typedef's name.
  } else {
    if (TextOf(Peek()) == "{") throw CCannotPlace{"anonymous"};
    if (!IsNextIdent()) ReportError(msg::kClassName);
    name = GetWord().ToStd();
  }
  for (;;) {
    const Scan& next = Peek();
    if (next.kind == kTokenIdent && TextOf(next) != "final" && IsMacro(name)) {
      name = GetWord().ToStd();  // the word before was a macro
    } else if (next.kind == kTokenOperator && TextOf(next) == "(" && IsMacro(name)) {
      SkipGroup();  // MACRO(args) Name
      if (!IsNextIdent()) ReportError(msg::kClassName);
      name = GetWord().ToStd();
    } else if (next.kind == kTokenOperator && TextOf(next) == "::") {
      Take(next);
      if (!IsNextIdent()) ReportError(msg::kClassName);
      name += "::" + GetWord().ToStd();
    } else {
      break;
    }
  }
  // A specialisation: A<int>.
  if (TextOf(Peek()) == "<") {
    const std::int32_t from = Pos.Value;
    SkipGroup();
    name += TextBetween(from, Pos.Value);
  }
  // Defining a class declared inside another: class Outer::Inner { }.
  if (const std::size_t cut = name.rfind("::"); cut != std::string::npos && name.find('<') == std::string::npos) {
    if (CClassInfo* outer = FindQualified(scope, std::string_view(name).substr(0, cut))) scope = outer;
    name.erase(0, cut + 2);
  }
  const CStr cname(name);
  classes_->Expect(cname.View());  // looked up once the head is read
  bool final = false;
  if (Peek().kind == kTokenIdent && TextOf(Peek()) == "final") {
    Take(Peek());
    final = true;
  }
  CInt baseAccess = 0;
  CStr base;
  bool hasBase = false;
  std::string bases;  // every base as written, when there are several or a virtual one
  bool keepBases = false;
  if (Try(":")) {
    for (;;) {
      bool isVirtual = Try("virtual");
      const int access = GetAccess();
      isVirtual = Try("virtual") || isVirtual;
      if (TextOf(Peek()) == "::") Take(Peek());
      if (!IsNextIdent()) ReportError(msg::kBaseName);
      const std::int32_t from = Pos.Value;
      GetWord();
      for (;;) {
        const std::string_view t = TextOf(Peek());
        if (t == "<") {
          SkipGroup();
        } else if (t == "::") {
          Take(Peek());
          if (!IsNextIdent()) ReportError(msg::kBaseName);
          GetWord();
        } else if (t == "...") {
          Take(Peek());
        } else {
          break;
        }
      }
      const std::string written = TextBetween(from, Pos.Value);
      if (!hasBase) {
        baseAccess = access < 0 ? 0 : access;
        base = CStr(written);
        hasBase = true;
      } else {
        keepBases = true;
      }
      keepBases = keepBases || isVirtual;
      static constexpr std::string_view kAccess[] = {"private", "protected", "public", "published"};
      if (!bases.empty()) bases += ", ";
      if (isVirtual) bases += "virtual ";
      if (access >= 0) {
        bases += kAccess[access];
        bases += ' ';
      }
      bases += written;
      if (!Try(",")) break;
    }
  }
  if (Try("{")) {
    // A class of the name in the same place (the same class, or the unit's top level in the same
    // namespace) is this one, completed where it stands when it was forward-declared.
    CClassInfo* found = FindClass(scope->Parent, cname);
    const std::string path = NamespacePath();
    const bool here = found && (dynamic_cast<CClassInfo*>(scope) ? found->Parent == scope
                                                                  : !dynamic_cast<CClassInfo*>(found->Parent) &&
                                                                        NamespaceOf(found) == path);
    if (found && !here) found = nullptr;
    if (!found) {
      found = new CClassInfo;
      operations_->Expect(found);
      scope->Append(found);
      found->SetName(cname);
      classes_->Added(found);
      operations_->Made(found);
    } else if (!found->ClassFlag) {
      // Described again (the other branch of an #if): the first description stands.
      throw CCannotPlace{"described again"};
    }
    // A forward-declared class is completed where it stands. ClassFlag marks a class known only
    // by its forward declaration; Kind holds the base access.
    ++elementsMade_;
    found->SetName(cname);
    found->Kind = baseAccess;
    found->Base = base;
    found->ClassFlag = false;
    if (keepBases) PutExtra(found, "bases", bases);
    if (final) PutExtra(found, "final", "final");
    result = found;
    return true;
  }
  if (Try(";")) {
    if (hasBase) ReportError(msg::kNoBrace);
    CClassInfo* known = FindClass(Root, cname);
    // A class of this unit declared again: its element stands for the declaration too, which
    // writing the unit back puts where the element is.
    for (const CInfo* c = known; c; c = c->Parent)
      if (c == ImportedUnit) {
        ++elementsMade_;
        break;
      }
    if (!known) {
      auto* forward = new CClassInfo;
      scope->Append(forward);
      forward->SetName(cname);
      forward->ClassFlag = true;
      // In a namespace, so that its definition there completes it.
      if (!namespaces_.empty() && !dynamic_cast<CClassInfo*>(scope)) {
        const std::string path = NamespacePath();
        PutExtra(forward, "namespace", path);
      }
      classes_->Added(forward);
      operations_->Made(forward);
      ++elementsMade_;
    }
    return false;
  }
  if (!hasBase) {
    // struct tm* localtime(...): the class names the type of a declaration.
    SetPos(keywordEnd);
    throw CReadAsMember{};
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
  CurrentAccess = bodyAccess_;
  const bool inTypedef = std::exchange(inTypedef_, false);
  for (;;) {
    if (Try("}")) {
      if (inTypedef) return;  // the typedef reads its names
      if (Try(";")) return;
      // struct S { } s, *p;: the declarators after the body are listed, the class stays.
      const Scan& next = Peek();
      const std::string_view t = TextOf(next);
      if ((next.kind == kTokenIdent && !IsKeyword(t) && !IsPrefixWord(t) && t != "typedef" && t != "template" &&
           t != "namespace" && t != "using") ||
          t == "*" || t == "&") {
        const std::int32_t from = Pos.Value;
        SkipUnplaced(from, "declarators");
        return;
      }
      ReportError(msg::kSemicolon);
    }
    if (Peek().kind == kTokenNone) ReportError(msg::kCloseBrace);
    const int access = GetAccess();
    if (access >= 0) {
      if (!Try(":")) ReportError(msg::kColon);
      CurrentAccess = access;
      continue;
    }
    ReadDeclaration(owner, owner);
  }
}

std::string CCppAnalys::TemplateHead() {
  // After "template": the head as written, "template<...>", with its requires-clause.
  const std::int32_t from = Pos.Value;
  if (TextOf(Peek()) == "<") SkipGroup();
  SkipRequires();
  return "template" + TextBetween(from, Pos.Value);
}

void CCppAnalys::SkipRequires() {
  // requires A<T> && (B || C<T>): primaries joined by && and ||.
  if (!(Peek().kind == kTokenIdent && TextOf(Peek()) == "requires")) return;
  Take(Peek());
  for (;;) {
    const Scan& next = Peek();
    const std::string_view t = TextOf(next);
    if (t == "(") {
      SkipGroup();
    } else if (next.kind == kTokenIdent || t == "::" || t == "!") {
      Take(next);
      while (TextOf(Peek()) == "::" || TextOf(Peek()) == "<" || Peek().kind == kTokenIdent) {
        if (TextOf(Peek()) == "<") {
          SkipGroup();
        } else if (Peek().kind == kTokenIdent && TextOf(Peek()) != "requires") {
          // A word right after a word ends the clause: what is declared begins there.
          const std::string_view before = Token.View();
          if (before != "::" && Token.View() != "!") break;
          Take(Peek());
        } else {
          Take(Peek());
        }
      }
      if (TextOf(Peek()) == "(" && Token.View() != ">") SkipGroup();  // a call: is_x(T{})
    } else {
      return;
    }
    const Scan& op = Peek();
    if ((TextOf(op) == "&" || TextOf(op) == "|") && op.kind == kTokenOperator) {
      Take(op);
      if (TextOf(Peek()) == TextOf(op)) Take(Peek());
      continue;
    }
    return;
  }
}

void CCppAnalys::ReadDeclaration(CInfo* memberScope, CInfo* classScope) {
  // One declaration of any kind; what cannot be placed is skipped to its end and listed.
  const std::int32_t start = Peek().kind == kTokenNone ? Pos.Value : Peek().start;
  const std::size_t children = memberScope ? std::size_t(memberScope->ChildCount().Value) : 0;
  const std::size_t listed = Unplaced.size();
  const CInt access = CurrentAccess;
  const std::uint64_t made = elementsMade_;
  constructStart_ = start;
  try {
    ReadOneDeclaration(memberScope, classScope);
  } catch (const CCannotPlace& cannot) {
    // Described again (the other branch of an #if): the element that stands is its place; any
    // other declaration that fails is text of the file.
    elementsMade_ = std::string_view(cannot.why) == "described again" ? made + 1 : made;
    externsOf_ = nullptr;  // the variables it made are gone
    // What the declaration made before it failed goes with it.
    while (memberScope && std::size_t(memberScope->ChildCount().Value) > children) {
      CInfo* child = memberScope->Child(memberScope->ChildCount().Value - 1);
      classes_->Removing(child);
      operations_->Clear();
      memberScope->Children.DeleteObject(child);
    }
    Unplaced.resize(listed);
    CurrentAccess = access;
    SkipUnplaced(start, cannot.why);
  }
  templateHead_.clear();
  classKey_ = "class";
}

void CCppAnalys::ReadOneDeclaration(CInfo* memberScope, CInfo* classScope) {
  const Scan& first = Peek();
  const std::string word(TextOf(first));
  const std::int32_t start = Pos.Value;
  if (first.kind == kTokenOperator && word == ";") {
    Take(first);
    return;
  }
  if (first.kind == kTokenOperator && word == "[") {  // [[deprecated]] and the like
    SkipGroup();
    ReadOneDeclaration(memberScope, classScope);
    return;
  }
  if (first.kind != kTokenIdent) {
    ReadMember(memberScope);
    return;
  }
  if (word == "template") {
    Take(first);
    if (TextOf(Peek()) != "<") throw CCannotPlace{"explicit instantiation"};
    templateHead_ += (templateHead_.empty() ? "" : " ") + TemplateHead();
    ReadOneDeclaration(memberScope, classScope);
    return;
  }
  if (word == "class" || word == "struct" || word == "union") {
    Take(first);
    classKey_ = word;
    try {
      ReadClass(classScope);
    } catch (const CReadAsMember&) {
      SetPos(start);
      classKey_ = "class";
      ReadMember(memberScope);
    }
    return;
  }
  if (word == "enum") {
    Take(first);
    ReadEnum(classScope);
    return;
  }
  if (word == "typedef") {
    Take(first);
    ReadTypedef();
    return;
  }
  if (word == "using") {
    Take(first);
    ReadAlias(classScope);
    return;
  }
  if (word == "friend" || word == "static_assert" || word == "_Static_assert") {
    // A friend belongs to another scope; an assertion declares nothing.
    SkipDeclarationQuietly();
    return;
  }
  if (word == "public" || word == "private" || word == "protected") throw CCannotPlace{"access"};
  if (SkipMacroStatement()) return;
  ReadMember(memberScope);
}

void CCppAnalys::SkipDeclarationQuietly() {
  // As SkipUnplaced, without a line in the list.
  const std::size_t listed = Unplaced.size();
  SkipUnplaced(Pos.Value, "");
  Unplaced.resize(listed);
}

void CCppAnalys::ReadEnum(CInfo* scope) {
  // enum [class|struct] [Name] [: type] { values } [declarators];  A named enum becomes a type
  // of its scope; its values, as written, are kept with it.
  const std::int32_t start = constructStart_;
  std::string key = "enum";
  if (Peek().kind == kTokenIdent && (TextOf(Peek()) == "class" || TextOf(Peek()) == "struct")) {
    key += " " + std::string(TextOf(Peek()));
    Take(Peek());
  }
  while (TextOf(Peek()) == "[") SkipGroup();
  std::string name = std::exchange(typedefName_, std::string());
  if (Peek().kind == kTokenIdent) name = GetWord().ToStd();
  const bool inTypedef = std::exchange(inTypedef_, false);
  while (IsMacro(name) && Peek().kind == kTokenIdent) name = GetWord().ToStd();
  std::string base;
  if (Try(":")) {
    const std::int32_t from = Pos.Value;
    while (Peek().kind != kTokenNone && TextOf(Peek()) != "{" && TextOf(Peek()) != ";") Take(Peek());
    base = TextBetween(from, Pos.Value);
  }
  if (Try(";")) return;  // declared only
  if (TextOf(Peek()) != "{") {
    // enum E e; a declaration with the enum as its type.
    SetPos(start);
    ReadMember(scope == ImportedUnit ? nullptr : scope);
    return;
  }
  const std::int32_t from = Pos.Value;
  SkipGroup();
  std::string values = TextBetween(from, Pos.Value);
  values = values.size() >= 2 ? values.substr(1, values.size() - 2) : std::string();
  if (name.empty() || !scope) {
    SetPos(start);
    throw CCannotPlace{"enum"};
  }
  auto* type = new CTypeInfo;
  scope->Append(type);
  ++elementsMade_;
  type->SetName(CStr(name));
  type->BaseType = CStr(base);
  PutExtra(type, "key", key);
  PutExtra(type, "values", values);
  if (!namespaces_.empty() && !dynamic_cast<CClassInfo*>(scope)) {
    const std::string path = NamespacePath();
    PutExtra(type, "namespace", path);
  }
  if (inTypedef) return;
  if (Try(";")) return;
  if (Peek().kind == kTokenNone) ReportAt(start, msg::kSemicolon);
  throw CCannotPlace{"enum declarators"};
}

void CCppAnalys::ReadAlias(CInfo* scope) {
  // using namespace N; using B::f; using T = ...;  Only the last names a type, and like a
  // typedef it stays with the analyser.
  (void)scope;
  const std::int32_t from = Pos.Value;
  if (Peek().kind == kTokenIdent && TextOf(Peek()) != "namespace" && TextOf(Peek()) != "typename") {
    const std::string name = GetWord().ToStd();
    while (TextOf(Peek()) == "[") SkipGroup();
    if (Try("=")) {
      const std::int32_t typeFrom = Pos.Value;
      SkipInitializer();
      auto* type = new CTypeInfo;
      Typedefs.Add(type);
      type->SetName(CStr(name));
      type->BaseType = CStr(TextBetween(typeFrom, Pos.Value - 1));
      return;
    }
  }
  SetPos(from);
  SkipDeclarationQuietly();
}
