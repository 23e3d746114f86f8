// The visible rows of a tree in display order: a node is a row, and its children are rows after
// it while it is expanded. Walked with a stack of positions instead of recursion, so a walk can
// stop at any row, be copied there and go on later: a tree box finds the first row of its view
// while it counts the rows, then draws only the rows that show.
//
// Node must have a Children list (a CList of Node) and be known to IsExpanded(const Node&).
#pragma once

#include <cstdint>
#include <vector>

#include "core/App.h"
#include "core/List.h"

template <class Node>
class CTreeRows {
 public:
  CTreeRows() = default;  // at the end
  explicit CTreeRows(const CList& roots) {
    if (roots.Size() > 0) stack_.push_back({&roots, 0});
  }

  bool AtEnd() const { return stack_.empty(); }
  Node* Current() const {
    const Level& top = stack_.back();
    return static_cast<Node*>(top.list->At(top.index));
  }
  // 0 for a root.
  std::int32_t Depth() const { return std::int32_t(stack_.size()) - 1; }

  void Next() {
    const Node* node = Current();
    if (node && node->Children.Size() > 0 && IsExpanded(*node)) {
      stack_.push_back({&node->Children, 0});
      return;
    }
    while (!stack_.empty()) {
      Level& top = stack_.back();
      if (++top.index < top.list->Size()) {
        // Siblings lie scattered in memory: asking for one a few places ahead lets its fetch
        // overlap the rows in between instead of stalling on it.
        if (top.index + kAhead < top.list->Size())
          __builtin_prefetch(&static_cast<const Node*>(top.list->At(top.index + kAhead))->Children);
        return;
      }
      stack_.pop_back();
    }
  }

  // Moves on by up to n rows; answers how many it passed.
  std::int32_t Skip(std::int32_t n) {
    std::int32_t passed = 0;
    for (; passed < n && !AtEnd(); ++passed) Next();
    return passed;
  }

 private:
  static constexpr std::int32_t kAhead = 16;
  struct Level {
    const CList* list;
    std::int32_t index;
  };
  std::vector<Level> stack_;
};

// The number of rows a list of roots shows.
template <class Node>
std::int32_t CountRows(const CList& roots) {
  CTreeRows<Node> rows(roots);
  std::int32_t n = 0;
  for (; !rows.AtEnd(); rows.Next()) ++n;
  return n;
}

// One node's rows: itself, and its children's rows while it is expanded.
template <class Node>
std::int32_t CountRowsOf(const Node& node) {
  return 1 + (IsExpanded(node) ? CountRows<Node>(node.Children) : 0);
}

// A walk that counts every row and stops a copy of itself at row `wanted` on the way: one pass
// gives both the size of the tree and where its view begins.
template <class Node>
struct CRowCount {
  std::int32_t Total = 0;
  CTreeRows<Node> At;  // at row `wanted`, or at the end when the tree is shorter

  CRowCount(const CList& roots, std::int32_t wanted) : At(roots) {
    CTreeRows<Node> rows(roots);
    bool found = false;
    for (; !rows.AtEnd(); rows.Next()) {
      if (Total == wanted) {
        At = rows;
        found = true;
      }
      ++Total;
    }
    if (!found) At = rows;
  }
};

// Where the view of a tree box begins and how many rows the tree has, remembered between paints:
// counting a large tree on every caret blink would cost what exists rather than what shows. The
// answers are counted again after any list of the program changed (CApp::ListChanges: no element
// can have been added, moved or destroyed since) and after Forget, which the box calls when it
// expands or collapses a row.
template <class Node>
class CRowCache {
 public:
  std::int32_t Total(const CList& roots, std::int32_t first) {
    if (!Fresh(roots)) Count(roots, first);
    return total_;
  }

  // The walk at row `first`: from the remembered row when the view moved down, from the top
  // when it moved up.
  CTreeRows<Node> At(const CList& roots, std::int32_t first) {
    if (!Fresh(roots)) {
      Count(roots, first);
    } else if (first > first_) {
      at_.Skip(first - first_);
    } else if (first < first_) {
      at_ = CTreeRows<Node>(roots);
      at_.Skip(first);
    }
    first_ = first;
    return at_;
  }

  void Forget() { valid_ = false; }

 private:
  static std::uint64_t Stamp() {
    return CoreApp ? CoreApp->ListChanges.load(std::memory_order_relaxed) : 0;
  }

  // Without an application object nothing counts the changes, so nothing is remembered.
  bool Fresh(const CList& roots) const {
    return valid_ && CoreApp && roots_ == &roots && stamp_ == Stamp();
  }

  void Count(const CList& roots, std::int32_t first) {
    CRowCount<Node> count(roots, first);
    total_ = count.Total;
    at_ = count.At;
    first_ = first;
    roots_ = &roots;
    stamp_ = Stamp();
    valid_ = true;
  }

  bool valid_ = false;
  std::uint64_t stamp_ = 0;
  const CList* roots_ = nullptr;
  std::int32_t total_ = 0;
  std::int32_t first_ = 0;
  CTreeRows<Node> at_;
};
