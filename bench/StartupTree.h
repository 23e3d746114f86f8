// The configuration both start-up benchmarks load: 10 groups, 9 applications in each, 10 units
// in each, a class in each unit with 9 operations: 10 + 90 + 900 + 900 + 8,100 = 10,000 elements.
#pragma once

#include <cstdint>

#include "model/Kinds.h"

namespace qxbench {

inline std::int64_t BuildStartupTree(CInfo& root) {
  std::int64_t count = 0;
  auto add = [&](CInfo* parent, CInfo* node, const CStr& name) {
    node->SetName(name);
    parent->Append(node);
    ++count;
    return node;
  };
  const CStr body = "{\r\n  return Count + 1;\r\n}";
  for (int g = 0; g < 10; ++g) {
    CInfo* group = add(&root, new CProjectGroupInfo, CStr("Group") + CInt(g).ToStr());
    for (int a = 0; a < 9; ++a) {
      CInfo* application = add(group, new CAppInfo, CStr("App") + CInt(a).ToStr());
      for (int u = 0; u < 10; ++u) {
        CInfo* unit = add(application, new CUnitInfo, CStr("Unit") + CInt(u).ToStr());
        auto* cls = static_cast<CClassInfo*>(add(unit, new CClassInfo, "TForm"));
        cls->Base = "CObject";
        for (int o = 0; o < 9; ++o) {
          auto* oper =
              static_cast<COperInfo*>(add(cls, new COperInfo, CStr("Method") + CInt(o).ToStr()));
          oper->Code = body;
        }
      }
    }
  }
  return count;
}

}  // namespace qxbench
