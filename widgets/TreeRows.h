// The visible rows of a tree in display order: a node is a row, and its children are rows after
// it while it is expanded. Walked with a stack of positions instead of recursion, so a walk can
// stop at any row, be copied there and go on later: a tree box finds the first row of its view
// while it counts the rows, then draws only the rows that show.
//
// Node must have a Children list (a CList of Node) and be known to IsExpanded(const Node&).
#pragma once

#include <cstdint>
#include <vector>

#include "core/List.h"

template <class Node>
class CTreeRows {
 public:
  explicit CTreeRows(const CList& roots) {
    if (roots.Count().Value > 0) stack_.push_back({&roots, 0});
  }

  bool AtEnd() const { return stack_.empty(); }
  Node* Current() const {
    const Level& top = stack_.back();
    return top.list->template GetAs<Node>(top.index);
  }
  // 0 for a root.
  std::int32_t Depth() const { return std::int32_t(stack_.size()) - 1; }

  void Next() {
    const Node* node = Current();
    if (node && IsExpanded(*node) && node->Children.Count().Value > 0) {
      stack_.push_back({&node->Children, 0});
      return;
    }
    while (!stack_.empty()) {
      Level& top = stack_.back();
      if (++top.index < top.list->Count().Value) return;
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
