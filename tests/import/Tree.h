// A readable one-line-per-node picture of a model subtree, for comparing imports.
#pragma once

#include <string>

#include "model/Kinds.h"

inline void DescribeInto(const CInfo* node, int depth, std::string& out) {
  std::string line(2 * depth, ' ');
  const std::string name = node->GetName().ToStd();
  if (auto* c = dynamic_cast<const CClassInfo*>(node)) {
    line += "class " + name;
    if (c->Base.Length().Value || c->Kind.Value)
      line += " : " + c->Base.ToStd() + " access=" + c->Kind.ToStr().ToStd();
    if (c->ClassFlag) line += " (forward)";
  } else if (auto* o = dynamic_cast<const COperInfo*>(node)) {
    line += "oper " + name + " type=" + o->Type.ToStd() + " access=" + o->Access.ToStr().ToStd();
    if (o->Params.Count().Value) {
      line += " (";
      for (std::int32_t i = 0; i < o->Params.Count().Value; ++i) {
        const CParamInfo* p = o->Param(i);
        line += (i ? ", " : "") + p->Type.ToStd() + "|" + p->GetName().ToStd();
        if (p->About.Length().Value) line += "=" + p->About.ToStd();
      }
      line += ")";
    }
  } else if (auto* a = dynamic_cast<const CAtrInfo*>(node)) {
    line += "atr " + name + " type=" + a->Type.ToStd() + (a->MemberFlag ? " ptr" : "") +
            " access=" + a->Access.ToStr().ToStd();
  } else {
    line += node->ClassName().ToStd() + " " + name;
  }
  std::string extra = node->Extra().ToStd();
  for (std::size_t at; (at = extra.find("\r\n")) != std::string::npos;) extra.replace(at, 2, "; ");
  if (!extra.empty()) line += " [" + extra.substr(0, extra.size() - 2) + "]";
  out += line + "\n";
  for (std::int32_t i = 0; i < node->ChildCount().Value; ++i) DescribeInto(node->Child(i), depth + 1, out);
}

// The children of a node (not the node itself).
inline std::string Describe(const CInfo* node) {
  std::string out;
  for (std::int32_t i = 0; i < node->ChildCount().Value; ++i) DescribeInto(node->Child(i), 0, out);
  return out;
}
