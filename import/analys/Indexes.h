// The class and operation indexes of the analyser: what FindClass and DeclareOperation look in
// instead of walking the tree for every name.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "import/analys/Shared.h"
#include "model/Kinds.h"

using analys::NameOf;

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

