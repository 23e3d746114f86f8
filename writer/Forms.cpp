#include "writer/Forms.h"

#include "core/Cp1251.h"
#include "model/Design.h"
#include "model/Kinds.h"

namespace writer {

namespace {

// The first class, depth first in the tree's order, for which `take` answers true.
CClassInfo* FirstClass(CInfo& element, bool (*take)(const CClassInfo&)) {
  for (std::int32_t i = 0; i < element.ChildCount().Value; ++i) {
    CInfo* child = element.Child(i);
    if (auto* type = dynamic_cast<CClassInfo*>(child); type && take(*type)) return type;
    if (CClassInfo* inner = FirstClass(*child, take)) return inner;
  }
  return nullptr;
}

}  // namespace

bool IsFormClass(const CClassInfo& type) { return design::IsDesign(type.Extra().View()); }

std::optional<CFileText> ProgramEntry(CInfo& app, const std::vector<CUnitInfo*>& units, std::string& why,
                                      CInfo*& faulty) {
  for (CUnitInfo* unit : units)
    for (std::int32_t i = 0; i < unit->ChildCount().Value; ++i)
      if (dynamic_cast<COperInfo*>(unit->Child(i)) && unit->Child(i)->GetName() == "main") return std::nullopt;
  (void)FirstClass;
  why = "В приложении нет ни функции main, ни класса формы: программе не с чего начаться"_cp;
  faulty = &app;
  return std::nullopt;
}

}  // namespace writer
