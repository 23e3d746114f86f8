// The declaration analyser.
//
// [SECTION] Messages        every text the analyser reports
// [SECTION] Word tables     specifier words and what they set
// [SECTION] TMemberInfo     the setters and their checks
// [SECTION] Class index     finding classes by name without walking the tree each time
// [SECTION] Classes         ReadClass, ReadClassHead, ReadClassBody, GetAccess
// [SECTION] Members         ReadMember, ReadSpec, the word rule
// [SECTION] Operations      ReadOperation, parameters, ReadBody
// [SECTION] Typedefs        ReadTypedef
// [SECTION] Declaring       DeclareAttribute, DeclareOperation, FindClass, FindOperation, IsTypeName
// [SECTION] Skipping        SkipLine, SkipToSemicolon, SkipInitializer, SkipParams
#include "import/CppAnalys.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/App.h"
#include "core/Cp1251.h"
#include "model/Kinds.h"
#include "model/NameManager.h"

// [SECTION] Messages

namespace {

namespace msg {
constexpr const char* kProgramError = "Ошибка программы: 10001"_cp;
constexpr const char* kClassName = "Ошибка в имени класса"_cp;
constexpr const char* kBaseName = "Ошибка в имени класса предка"_cp;
constexpr const char* kClassDescribed = "Класс уже описан"_cp;
constexpr const char* kNoBrace = "Отсутствует символ \"{\""_cp;
constexpr const char* kNoBraceOrSemicolon = "Нет символа \"{\" или \";\""_cp;
constexpr const char* kSemicolon = "Пропущен символ \";\""_cp;
constexpr const char* kColon = "Пропущен символ \":\""_cp;
constexpr const char* kTypeError = "Ошибка при описании типа"_cp;
constexpr const char* kSemicolonOrComma = "Пропущен символ \";\" или \",\""_cp;
constexpr const char* kZero = "Пропущен символ \"0\""_cp;
constexpr const char* kSemicolonOrBrace = "Пропущен символ \";\" или \"{\" 1"_cp;
constexpr const char* kRepeated = "Повторное использование слова "_cp;
constexpr const char* kVirtualAuto = "Виртуальная функция не может быть auto"_cp;
constexpr const char* kVirtualStatic = "Виртуальная функция не может быть статической"_cp;
constexpr const char* kWrongWord = "Неверное использование слова "_cp;
constexpr const char* kDestructorAgain = "Повторное описание деструктора"_cp;
constexpr const char* kNotDestructor = "Эта операция не может быть деструктором"_cp;
constexpr const char* kRefAgain = "Повторное использование символа \"&\""_cp;
constexpr const char* kNameGiven = "Имя уже задано "_cp;  // followed by 1..4
constexpr const char* kPointerStar = "При описании указателя на функцию пропущен символ\"*\""_cp;
constexpr const char* kPointerName = "Пропущено имя типа указателя на функцию\"*\""_cp;
constexpr const char* kPointerClose = "При описании указателя на функцию пропущен символ\")\""_cp;
constexpr const char* kPointerOpen = "При описании указателя на функцию пропущен символ\"(\""_cp;
constexpr const char* kNoSemicolon = "Нет символа \";\""_cp;
// The end of the text inside something that is being read or skipped.
constexpr const char* kCloseBrace = "Пропущен символ \"}\""_cp;
constexpr const char* kCloseParen = "Пропущен символ \")\""_cp;
constexpr const char* kOpenString = "Незакрытая строка"_cp;
constexpr const char* kOpenComment = "Незакрытый комментарий"_cp;
// Limits that keep what an import makes usable.
constexpr const char* kNestedTooDeep = "Слишком глубокая вложенность классов"_cp;
constexpr const char* kCodeTooLarge = "Слишком большой текст метода"_cp;
}  // namespace msg

// The rebuilt text of one body may not grow past this. Its indentation grows with the nesting of
// braces, so a small text of deep braces would otherwise ask for gigabytes.
constexpr std::size_t kMaxCodeBytes = std::size_t(16) << 20;

// [SECTION] Word tables

enum class Specifier { Static, CallConv, Const, Auto, Signed, Unsigned, TypeWord, Operator, Tilde, Star, Amp, Scope, Bracket, End };

struct SpecRow {
  std::string_view word;
  Specifier specifier;
  int value;
};

// The words ReadSpec tries, in the order it tries them; the type word values are TypeWord's.
constexpr SpecRow kSpecWords[] = {
    {"static", Specifier::Static, 2},
    {"cdecl", Specifier::CallConv, 1}, {"_cdecl", Specifier::CallConv, 1}, {"__cdecl", Specifier::CallConv, 1},
    {"pascal", Specifier::CallConv, 2}, {"_pascal", Specifier::CallConv, 2}, {"__pascal", Specifier::CallConv, 2},
    {"_stdcall", Specifier::CallConv, 3}, {"__stdcall", Specifier::CallConv, 3},
    {"_fastcall", Specifier::CallConv, 4}, {"__fastcall", Specifier::CallConv, 4},
    {"const", Specifier::Const, 0}, {"auto", Specifier::Auto, 1},
    {"signed", Specifier::Signed, 1}, {"unsigned", Specifier::Unsigned, 2},
    {"char", Specifier::TypeWord, 1}, {"bool", Specifier::TypeWord, 2}, {"short", Specifier::TypeWord, 3},
    {"int", Specifier::TypeWord, 4}, {"long", Specifier::TypeWord, 5}, {"float", Specifier::TypeWord, 6},
    {"double", Specifier::TypeWord, 7}, {"void", Specifier::TypeWord, 8}, {"int8", Specifier::TypeWord, 9},
    {"int16", Specifier::TypeWord, 10}, {"int32", Specifier::TypeWord, 11}, {"int64", Specifier::TypeWord, 12},
    {"uint8", Specifier::TypeWord, 13}, {"uint16", Specifier::TypeWord, 14}, {"uint32", Specifier::TypeWord, 15},
    {"uint64", Specifier::TypeWord, 16}, {"float32", Specifier::TypeWord, 17}, {"float64", Specifier::TypeWord, 18},
    {"float80", Specifier::TypeWord, 19},
    {"operator", Specifier::Operator, 0},
    {"~", Specifier::Tilde, 0}, {"*", Specifier::Star, 0}, {"&", Specifier::Amp, 0}, {"::", Specifier::Scope, 0},
    {"[", Specifier::Bracket, 0},
    {",", Specifier::End, 0}, {";", Specifier::End, 0}, {"(", Specifier::End, 0}, {")", Specifier::End, 0},
};

// The row of a word, or null: the rows are found through the word's first byte, since most
// words of a declaration (names, types) begin with a byte no row does.
const SpecRow* FindSpecWord(std::string_view text) {
  static const auto kByFirst = [] {
    std::array<std::vector<const SpecRow*>, 256> rows;
    for (const SpecRow& row : kSpecWords)
      rows[static_cast<unsigned char>(row.word[0])].push_back(&row);
    return rows;
  }();
  if (text.empty()) return nullptr;
  for (const SpecRow* row : kByFirst[static_cast<unsigned char>(text[0])])
    if (row->word == text) return row;
  return nullptr;
}

constexpr int kLong = 5, kDouble = 7, kLongDouble = 20, kInt = 4;

// The name a calling convention has in the message about repeating one.
constexpr std::array<std::string_view, 5> kCallConvNames = {"", "cdecl", "pascal", "__stdcall", "__fastcall"};

bool EndsInScope(const CStr& s) { return s.View().ends_with("::"); }

// += without the copy that CStr's operator answers.
void Append(CStr& s, std::string_view more) { s.AppendBytes(more.data(), more.size()); }

bool IsWordKind(std::uint8_t kind) { return kind == kTokenIdent || kind == kTokenNumber; }

// An object's name without the copy GetName makes.
std::string_view NameOf(const CObject* object) {
  const CApp* app = CoreApp;
  return app && app->NameMan ? app->NameMan->NameRef(object).View() : std::string_view();
}

}  // namespace

// [SECTION] TMemberInfo

// The fields are set through .Value: every value-object temporary costs a name lookup, and
// these run for every word of every declaration.

void CCppAnalys::TMemberInfo::SetVirtual() {
  if (IsVirtual.Value) Analys->ReportError(CStr(msg::kRepeated) + "virtual");
  IsVirtual.Value = 1;
}

void CCppAnalys::TMemberInfo::SetStorage(int storage) {
  if (IsVirtual.Value) Analys->ReportError(storage == 1 ? msg::kVirtualAuto : msg::kVirtualStatic);
  if (Storage.Value == storage) Analys->ReportError(CStr(msg::kRepeated) + (storage == 1 ? "auto" : "static"));
  Storage.Value = storage;  // the other storage word is accepted; the later one wins
}

void CCppAnalys::TMemberInfo::SetConst() {
  if (IsConst.Value) Analys->ReportError(CStr(msg::kRepeated) + "const");
  IsConst.Value = 1;
}

void CCppAnalys::TMemberInfo::SetSign(int sign) {
  if (Sign.Value != 0) Analys->ReportError(CStr(msg::kRepeated) + (sign == 1 ? "signed" : "unsigned"));
  Sign.Value = sign;
}

void CCppAnalys::TMemberInfo::SetTypeWord(int typeWord, std::string_view word) {
  if (TypeWord.Value != 0) {
    if (TypeWord.Value == kLong && typeWord == kDouble) {
      TypeWord.Value = kLongDouble;
      return;
    }
    Analys->ReportError(CStr(msg::kWrongWord) + CStr(word));
  }
  TypeWord.Value = typeWord;
}

void CCppAnalys::TMemberInfo::SetCallConv(int callConv) {
  if (CallConv.Value != 0) Analys->ReportError(CStr(msg::kRepeated) + CStr(kCallConvNames[callConv]));
  CallConv.Value = callConv;
}

void CCppAnalys::TMemberInfo::SetDestructor() {
  if (Special.Value == 2) Analys->ReportError(msg::kDestructorAgain);
  if (Special.Value != 0) Analys->ReportError(msg::kNotDestructor);
  Special.Value = 2;
}

void CCppAnalys::TMemberInfo::SetRef() {
  if (IsRef.Value) Analys->ReportError(msg::kRefAgain);
  IsRef.Value = 1;
}

void CCppAnalys::TMemberInfo::SetOperator(const CStr& operatorName) {
  if (IsOperator.Value) Analys->ReportError(CStr(msg::kRepeated) + "operator");
  IsOperator.Value = 1;
  if (!Name.View().empty()) {
    if (EndsInScope(Name)) {
      Append(Name, operatorName.View());
    } else {
      TypeName = Name;
      Name = operatorName;
    }
  } else if (EndsInScope(TypeName)) {
    // A qualified operator without a return type.
    Name = TypeName + operatorName;
    TypeName = CStr();
    TypeWord.Value = kInt;
  } else {
    Name = operatorName;
  }
}

void CCppAnalys::TMemberInfo::ScopeStep() { Append(Name, "::"); }

// [SECTION] Class index

// FindClass answers the first class of a name in a depth-first walk below a start node. Walking
// the tree for every qualified name makes a large import quadratic, so the classes are kept by
// name; a query takes the candidates below the start and, when there are several, the one the
// walk would meet first. The index covers the trees it has scanned and follows every class the
// analyser adds or deletes; nothing else changes the tree during an import.
class CCppAnalys::CClassIndex {
 public:
  // `kept` are the trees the index may keep: the project tree and the imported unit's. Anything
  // else (the scratch class of a typedef) is walked directly and never remembered.
  CClassInfo* Find(CInfo* start, const CStr& name, std::initializer_list<const CInfo*> kept) {
    CInfo* top = Top(start);
    if (std::find(kept.begin(), kept.end(), top) == kept.end()) return Walk(start, name);
    Scan(top);
    // The definitions of one class's methods follow each other: the same question again.
    if (start == lastStart_ && name.View() == lastName_.View()) return lastFound_;
    CClassInfo* best = nullptr;
    if (const Entry* entry = Predicted(name.View()) ? &entries_[next_] : Lookup(name.View())) {
      FetchAhead(std::size_t(entry - entries_.data()) + 1);
      entry->ForEach([&](CClassInfo* c) {
        if (Below(c, start) && (!best || WalkedBefore(c, best))) best = c;
      });
    }
    lastStart_ = start;
    lastName_ = name;
    lastFound_ = best;
    return best;
  }

  // The class the next question will likely find: the first of the entry after the last one
  // found. Null when there is none.
  const CClassInfo* Upcoming() const {
    return next_ < entries_.size() ? entries_[next_].first : nullptr;
  }

  // The name will be asked for soon: its place in the table is fetched meanwhile.
  void Expect(std::string_view name) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[Hash(name) & (slots_.size() - 1)]);
  }

  void Added(CClassInfo* c) {
    if (Scanned(Top(c))) Keep(c);
  }

  // Before a subtree is deleted.
  void Removing(CInfo* node) {
    lastStart_ = nullptr;
    std::vector<CClassInfo*> gone;
    Collect(node, gone);
    for (CClassInfo* c : gone) {
      if (Entry* entry = Lookup(c->GetName().View())) entry->Remove(c);
    }
  }

 private:
  struct Entry {
    std::string name;
    // Its classes, in no order that matters: nearly always one, which the entry holds itself
    // (no block of its own to allocate, free and miss in the cache). Null once none is left.
    CClassInfo* first = nullptr;
    std::vector<CClassInfo*> others;

    template <class F>
    void ForEach(F&& f) const {
      if (first) f(first);
      for (CClassInfo* c : others) f(c);
    }
    void Add(CClassInfo* c) {
      if (first)
        others.push_back(c);
      else
        first = c;
    }
    void Remove(CClassInfo* c) {
      others.erase(std::remove(others.begin(), others.end(), c), others.end());
      if (first != c) return;
      first = others.empty() ? nullptr : others.back();
      if (first) others.pop_back();
    }
  };
  struct Slot {
    std::uint32_t tag = 0;    // the upper half of the name's hash
    std::uint32_t entry = 0;  // 1 + its index in entries_; 0 free
  };

  // A source file mostly defines the methods of its classes in the order the header declared
  // the classes, so the entry after the last one found is tried before the table: the entries
  // are then read in sequence, where the table is a miss in the cache for every name.
  bool Predicted(std::string_view name) const {
    return next_ < entries_.size() && entries_[next_].name == name;
  }

  // The first class of the next entry, to be read by the next question, and the entries a
  // little further on, read by the questions after it.
  void FetchAhead(std::size_t next) {
    next_ = next;
    if (next + 2 < entries_.size()) __builtin_prefetch(&entries_[next + 2]);
    if (next < entries_.size() && entries_[next].first) __builtin_prefetch(entries_[next].first);
  }

  static CInfo* Top(CInfo* node) {
    while (node->Parent) node = node->Parent;
    return node;
  }

  static bool Below(const CInfo* node, const CInfo* start) {
    for (; node; node = node->Parent)
      if (node == start) return true;
    return false;
  }

  // Whether the walk meets a before b: compare the two paths from the top where they part.
  static bool WalkedBefore(CInfo* a, CInfo* b) {
    std::vector<CInfo*> pathA, pathB;
    for (CInfo* n = a; n; n = n->Parent) pathA.push_back(n);
    for (CInfo* n = b; n; n = n->Parent) pathB.push_back(n);
    auto ia = pathA.rbegin(), ib = pathB.rbegin();
    while (ia != pathA.rend() && ib != pathB.rend() && *ia == *ib) ++ia, ++ib;
    if (ia == pathA.rend()) return true;   // a is an ancestor of b: met first
    if (ib == pathB.rend()) return false;
    const CInfo* parent = (*ia)->Parent;
    return parent->Children.IndexOf(*ia).Value < parent->Children.IndexOf(*ib).Value;
  }

  static CClassInfo* Walk(CInfo* node, const CStr& name) {
    auto* c = dynamic_cast<CClassInfo*>(node);
    if (c && c->GetName() == name) return c;
    for (std::int32_t i = 0; i < node->ChildCount().Value; ++i)
      if (CClassInfo* hit = Walk(node->Child(i), name)) return hit;
    return nullptr;
  }

  static void Collect(CInfo* node, std::vector<CClassInfo*>& out) {
    if (auto* c = dynamic_cast<CClassInfo*>(node)) out.push_back(c);
    for (std::int32_t i = 0; i < node->ChildCount().Value; ++i) Collect(node->Child(i), out);
  }

  bool Scanned(const CInfo* top) const {
    return std::find(scanned_.begin(), scanned_.end(), top) != scanned_.end();
  }

  void Keep(CClassInfo* c) {
    lastStart_ = nullptr;  // the answer may change
    const std::string_view name = NameOf(c);
    Entry* entry = Lookup(name);
    if (!entry) {
      if (2 * (entries_.size() + 1) > slots_.size()) Grow();
      const std::uint64_t hash = Hash(name);
      Slot& slot = slots_[Probe(hash, name)];
      slot = {std::uint32_t(hash >> 32), std::uint32_t(entries_.size() + 1)};
      entry = &entries_.emplace_back();
      entry->name = name;
    }
    entry->Add(c);
  }

  static std::uint64_t Hash(std::string_view name) { return std::hash<std::string_view>()(name); }

  // The slot of the name's entry, or the free slot where it would go.
  std::size_t Probe(std::uint64_t hash, std::string_view name) const {
    const std::size_t mask = slots_.size() - 1;
    const auto tag = std::uint32_t(hash >> 32);
    std::size_t i = hash & mask;
    while (slots_[i].entry && (slots_[i].tag != tag || entries_[slots_[i].entry - 1].name != name))
      i = (i + 1) & mask;
    return i;
  }

  Entry* Lookup(std::string_view name) {
    if (slots_.empty()) return nullptr;
    const Slot& slot = slots_[Probe(Hash(name), name)];
    return slot.entry ? &entries_[slot.entry - 1] : nullptr;
  }

  void Grow() {
    slots_.assign(slots_.empty() ? 64 : 2 * slots_.size(), Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t e = 0; e < entries_.size(); ++e) {
      const std::uint64_t hash = Hash(entries_[e].name);
      std::size_t i = hash & mask;
      while (slots_[i].entry) i = (i + 1) & mask;
      slots_[i] = {std::uint32_t(hash >> 32), e + 1};
    }
  }

  void Scan(CInfo* top) {
    if (Scanned(top)) return;
    scanned_.push_back(top);
    std::vector<CClassInfo*> found;
    Collect(top, found);
    for (CClassInfo* c : found) Keep(c);
  }

  // The classes by name: open addressing over a flat array, since a node per name scattered
  // among the tree's nodes cost a cache miss or two on every one of the many lookups. Entries
  // stay in the order their names were first kept, which is also the order a source file
  // usually asks for them in; a name whose classes all went keeps its entry, empty.
  std::vector<Entry> entries_;
  std::vector<Slot> slots_;            // a power of two long, at most half full; or empty
  std::vector<const CInfo*> scanned_;  // the project tree's top, and the unit's when apart
  // The last query and its answer, until a class is kept or removed.
  const CInfo* lastStart_ = nullptr;
  CStr lastName_;
  CClassInfo* lastFound_ = nullptr;
  std::size_t next_ = 0;  // the entry after the last one found
};

// The operations of the classes this import made, by class and name. Such a class has no
// children but those the import gave it, and at most one operation of a name, so DeclareOperation
// finds its operations here instead of reading the name of every member, most of them long out
// of the cache by the time the source file defines them. Emptied whenever classes may go.
//
// The entries keep the names themselves and lie in the order they were made, which is also the
// order a source file usually defines them in: a source file's lookups then walk the entries
// nearly in sequence and touch neither the operations nor the name manager. The table holds
// only small slots, each with a tag of its entry's key, so a probe reads no entry but its own.
class CCppAnalys::COperIndex {
 public:
  void Clear() {
    slots_.clear();
    entries_.clear();
    names_.clear();
  }

  void Made(const CInfo* c) { Insert(c, kClass, {}, nullptr); }
  // A class about to be made known: its place in the table is fetched meanwhile.
  void Expect(const CInfo* c) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[Home(c)]);
  }
  bool IsMade(const CInfo* c) const { return Lookup(c, kClass, {}, false) != nullptr; }

  void Add(const CInfo* c, std::string_view name, COperInfo* operation) {
    Insert(c, Hash(name), name, operation);
  }
  COperInfo* Find(const CInfo* c, std::string_view name) const {
    const Entry* entry = Lookup(c, Hash(name), name, true);
    if (!entry) return nullptr;
    // A source file defines the operations in about the order the header declared them: the
    // next few are fetched while this one's body is read.
    const Entry* const last = entries_.data() + entries_.size();
    for (const Entry* next = entry + 1; next < entry + 4 && next < last; ++next)
      if (next->operation) {
        __builtin_prefetch(next->operation);
        __builtin_prefetch(&next->operation->Code, 1);
      }
    return entry->operation;
  }

 private:
  static constexpr std::uint64_t kClass = 0;  // the mark of a made class; a name may hash to it too
  struct Entry {
    const CInfo* owner;
    COperInfo* operation;  // null: the class's mark
    std::uint64_t hash;
    std::uint32_t nameAt, nameLength;  // in names_
  };
  struct Slot {
    std::uint32_t tag = 0;
    std::uint32_t entry = 0;  // 1 + its index in entries_; 0 free
  };

  static std::uint64_t Hash(std::string_view name) { return std::hash<std::string_view>()(name); }
  static std::uint64_t Key(const CInfo* c) {
    return reinterpret_cast<std::uintptr_t>(c) * 0x9E3779B97F4A7C15ull;
  }
  static std::uint32_t Tag(const CInfo* c, std::uint64_t hash) {
    return std::uint32_t(Key(c) ^ hash ^ (hash >> 32));
  }
  // By the class alone: its mark and its operations then lie side by side, and the questions
  // about one class cost one miss in the cache.
  std::size_t Home(const CInfo* c) const { return std::size_t(Key(c) >> 32) & (slots_.size() - 1); }

  // The class's mark, or its operation of that name.
  const Entry* Lookup(const CInfo* c, std::uint64_t hash, std::string_view name,
                      bool operation) const {
    if (slots_.empty()) return nullptr;
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t tag = Tag(c, hash);
    for (std::size_t i = Home(c); slots_[i].entry; i = (i + 1) & mask) {
      if (slots_[i].tag != tag) continue;
      const Entry& e = entries_[slots_[i].entry - 1];
      if (e.owner != c || e.hash != hash || !e.operation == operation) continue;
      if (!operation || std::string_view(names_).substr(e.nameAt, e.nameLength) == name) return &e;
    }
    return nullptr;
  }

  void Insert(const CInfo* c, std::uint64_t hash, std::string_view name, COperInfo* operation) {
    if (2 * (entries_.size() + 1) > slots_.size()) Grow();
    entries_.push_back(
        {c, operation, hash, std::uint32_t(names_.size()), std::uint32_t(name.size())});
    names_ += name;
    Place(std::uint32_t(entries_.size()));
  }

  void Place(std::uint32_t entry) {
    const Entry& e = entries_[entry - 1];
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = Home(e.owner);
    while (slots_[i].entry) i = (i + 1) & mask;
    slots_[i] = {Tag(e.owner, e.hash), entry};
  }

  void Grow() {
    slots_.assign(slots_.empty() ? 1024 : 2 * slots_.size(), Slot{});
    for (std::uint32_t e = 1; e <= entries_.size(); ++e) Place(e);
  }

  std::vector<Entry> entries_;  // in the order made
  std::string names_;           // the operations' names, one after another
  std::vector<Slot> slots_;     // a power of two long, at most half full; or empty
};

CCppAnalys::CCppAnalys(std::function<void(const CStr&)> show)
    : classes_(std::make_unique<CClassIndex>()), operations_(std::make_unique<COperIndex>()) {
  JoinQualified = 0;
  ShowMessage = std::move(show);
}

CCppAnalys::~CCppAnalys() = default;

CStr CCppAnalys::ClassName() const { return "CCppAnalys"; }

bool CCppAnalys::Try(std::string_view text) {
  const Scan& next = Peek();
  if (TextOf(next) != text) return false;
  Take(next);
  return true;
}

const CCppAsmParser::Scan& CCppAnalys::Peek() {
  const Scan& next = Significant();
  NoteTried(next);
  return next;
}

void CCppAnalys::Unterminated(std::int32_t start, std::uint8_t kind) {
  // Report where the string or comment opens: the quote, or the "/*".
  SetPos(start - (kind == kTokenString ? 1 : 2));
  ReportError(kind == kTokenString ? msg::kOpenString : msg::kOpenComment);
}

// [SECTION] Classes

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

// [SECTION] Members

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

// [SECTION] Operations

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

// [SECTION] Typedefs

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

// [SECTION] Declaring

void CCppAnalys::DeclareAttribute(CInfo* scope, TMemberInfo& info) {
  auto* attribute = new CAtrInfo;
  if (scope)
    scope->Append(attribute);
  else
    GlobalItems.Add(attribute);
  attribute->SetName(info.Name);
  attribute->Type = info.TypeName;
  attribute->MemberFlag = info.PointerLevel != 0;
  attribute->Access = CurrentAccess;
  info.MemberKind = 1;
}

COperInfo* CCppAnalys::DeclareOperation(CInfo* scope, TMemberInfo& info) {
  info.MemberKind = 2;
  // TForm1::Click: each field but the last names the class to look in.
  std::string_view rest = info.Name.View();
  for (std::size_t at; (at = rest.find("::")) != std::string_view::npos;) {
    scope = FindClass(scope, CStr(rest.substr(0, at)));
    rest.remove_prefix(at + 2);
    // The class whose methods will likely follow these: its operations' place is fetched now.
    if (const CInfo* upcoming = classes_->Upcoming()) operations_->Expect(upcoming);
  }
  CStr name(rest);
  if (info.Special == 2) name = CStr("~") + name;
  const bool made = scope && operations_->IsMade(scope);
  if (scope) {
    COperInfo* declared = made ? operations_->Find(scope, name.View()) : FindOperation(scope, name);
    if (declared) return declared;
  }
  auto* operation = new COperInfo;
  // An operation with no class to belong to stays with the analyser, like a global variable.
  if (scope)
    scope->Append(operation);
  else
    GlobalItems.Add(operation);
  operation->SetName(name);
  if (made) operations_->Add(scope, name.View(), operation);
  operation->Type = info.TypeName;
  operation->Access = CurrentAccess;
  return operation;
}

CClassInfo* CCppAnalys::FindClass(CInfo* start, const CStr& name) {
  if (!start) start = Root;
  if (!start) return nullptr;
  const CInfo* rootTop = Root;
  while (rootTop && rootTop->Parent) rootTop = rootTop->Parent;
  const CInfo* unitTop = ImportedUnit;
  while (unitTop && unitTop->Parent) unitTop = unitTop->Parent;
  return classes_->Find(start, name, {rootTop, unitTop});
}

COperInfo* CCppAnalys::FindOperation(CInfo* scope, const CStr& name) {
  if (!dynamic_cast<CClassInfo*>(scope) && !dynamic_cast<CUnitInfo*>(scope)) return nullptr;
  // Names first, read in place: the cast, which compares type names, is then asked only of the
  // child that has the name, not of every member before it.
  const std::int32_t count = scope->Children.Size();
  for (std::int32_t i = 0; i < count; ++i) {
    CObject* child = scope->Children.At(i);
    if (NameOf(child) == name.View())
      if (auto* operation = dynamic_cast<COperInfo*>(child)) return operation;
  }
  return nullptr;
}

int CCppAnalys::IsTypeName(CInfo* scope, const CStr& word) {
  if ((scope && scope->GetName() == word) || FindClass(Root, word) || (scope && FindClass(scope, word))) return 1;
  for (std::int32_t i = 0; i < Typedefs.Count().Value; ++i)
    if (Typedefs.Get(i)->GetName() == word) return 2;
  for (std::int32_t i = 0; i < EventTypes.Count().Value; ++i)
    if (EventTypes.Get(i)->GetName() == word) return 3;
  return 0;
}

void CCppAnalys::RestartClassIndex() {
  classes_ = std::make_unique<CClassIndex>();
  operations_->Clear();
}

void CCppAnalys::ClearUnit(CInfo* unit) {
  operations_->Clear();
  for (std::int32_t i = 0; i < unit->ChildCount().Value; ++i) classes_->Removing(unit->Child(i));
  unit->Children.Clear();
}

// [SECTION] Skipping

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
