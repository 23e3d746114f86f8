// The list under the workspace: what the compiler said during the last Build and what the started
// program writes, one row a line. A compiler's error or warning row remembers the element its
// line was written from and the line of that element's code, so a press on it can lead there.
#pragma once

#include "compiler/Diagnostic.h"
#include "widgets/TreeBox.h"

class CInfo;

// The node is top or lies below it.
bool InSubtree(const CInfo* node, const CInfo* top);

class COutputBox : public CCustomTreeBox {
 public:
  // Where a row leads: an element, and the 0-based line of its code (-1: the element itself).
  class CPlace : public CObject {
   public:
    CStr ClassName() const override;
    compiler::LineKind Kind = compiler::LineKind::Plain;
    CInfo* Element = nullptr;
    int CodeLine = -1;
  };

  explicit COutputBox(CControl* parent);

  CStr ClassName() const override;
  // Errors red, warnings brown, the program's lines blue, the environment's own words bold black.
  void DrawItem(CItem* item) override;

  void Clear();
  // A row at the end, shown: the view follows the last row. The text is cp1251.
  void Add(const CStr& text, compiler::LineKind kind, CInfo* element = nullptr, int codeLine = -1);
  // Rows no longer lead to elements at or below gone (it is about to be destroyed).
  void Forget(const CInfo* gone);

  CInt Count() const { return RootItems.Count(); }
  CItem* Line(std::int32_t index) const;
  static const CPlace* PlaceOf(const CItem* item);
};
