// Searches of the info manager, plain and scoped, and the sizes of types and structures that
// rest on them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/App.h"
#include "model/Kinds.h"

namespace {

class Tree : public testing::Test {
 protected:
  CApp app;
  CInfoMan& infos = app.InfoMan;

  template <class T>
  T* Add(CInfo* parent, const char* name) {
    auto* node = new T;
    node->SetName(name);
    parent->Append(node);
    return node;
  }

  CAtrInfo* Attr(CInfo* parent, const char* type) {
    auto* a = Add<CAtrInfo>(parent, "a");
    a->Type = type;
    return a;
  }
};

}  // namespace

TEST_F(Tree, PlainSearchesEnterOnlyContainers) {
  auto* group = Add<CProjectGroupInfo>(&infos.Root, "Group");
  auto* appNode = Add<CAppInfo>(group, "App");
  auto* unit1 = Add<CUnitInfo>(appNode, "U1");
  auto* unit2 = Add<CUnitInfo>(appNode, "U2");
  auto* first = Add<COperInfo>(unit1, "f");
  Add<COperInfo>(unit2, "f");
  auto* outer = Add<CClassInfo>(unit1, "Outer");
  Add<CClassInfo>(outer, "Nested");
  auto* s = Add<CStructInfo>(unit1, "S");
  Add<CClassInfo>(s, "InStruct");
  auto* dll = Add<CDllInfo>(appNode, "Dll");
  Add<CClassInfo>(dll, "InDll");
  auto* dllOper = Add<COperInfo>(dll, "g");
  auto* clsSameName = Add<CClassInfo>(unit2, "Same");
  auto* type = Add<CTypeInfo>(unit2, "T");
  auto* lib = Add<CLibInfo>(group, "Lib");
  auto* libStruct = Add<CStructInfo>(Add<CUnitInfo>(lib, "L"), "Same");

  EXPECT_EQ(infos.FindOper(group, "f"), first);          // the earlier unit wins
  EXPECT_EQ(infos.FindOper(&infos.Root, "g"), dllOper);  // operations are found in DLLs
  EXPECT_EQ(infos.FindClass(group, "Outer"), outer);
  EXPECT_EQ(infos.FindClass(group, "Nested"), nullptr);  // classes are not entered
  EXPECT_EQ(infos.FindClass(group, "InStruct"), nullptr);
  EXPECT_EQ(infos.FindClass(group, "InDll"), nullptr);  // nor DLLs, for classes
  EXPECT_EQ(infos.FindClass(group, "Same"), clsSameName);
  EXPECT_EQ(infos.FindStruct(group, "Same"), libStruct);  // never the class of that name
  EXPECT_EQ(infos.FindStruct(group, "Outer"), nullptr);
  EXPECT_EQ(infos.FindType(group, "T"), type);
  EXPECT_EQ(infos.FindType(group, "t"), nullptr);  // names are case-sensitive
  EXPECT_EQ(infos.FindOper(nullptr, "f"), nullptr);
}

TEST_F(Tree, ScopedSearchesLookOutwardFromTheParent) {
  auto* group = Add<CProjectGroupInfo>(&infos.Root, "Group");
  auto* unit = Add<CUnitInfo>(group, "U");
  auto* s = Add<CStructInfo>(unit, "S");
  auto* inner = Add<CTypeInfo>(s, "Inner");  // a child of the node itself
  auto* t = Add<CTypeInfo>(unit, "T");
  auto* otherUnit = Add<CUnitInfo>(Add<CProjectGroupInfo>(&infos.Root, "Other"), "V");
  auto* far = Add<COperInfo>(otherUnit, "far");
  CStructInfo loose;

  EXPECT_EQ(infos.FindTypeInScope(s, "T"), t);
  EXPECT_EQ(infos.FindTypeInScope(s, "Inner"), nullptr);  // the node's own children: unseen
  EXPECT_EQ(infos.FindTypeInScope(inner, "T"), t);
  EXPECT_EQ(infos.FindStructInScope(t, "S"), s);
  EXPECT_EQ(infos.FindOperInScope(s, "far"), far);           // below the root, through an ancestor
  EXPECT_EQ(infos.FindOperInScope(&loose, "far"), far);      // and below the root at the end
  EXPECT_EQ(infos.FindStructInScope(&loose, "S"), nullptr);  // the others do not look there
  EXPECT_EQ(infos.FindClassInScope(nullptr, "S"), nullptr);
  EXPECT_EQ(infos.FindOperInScope(nullptr, "far"), nullptr);
}

TEST_F(Tree, SizesOfTypesAndStructures) {
  auto* unit = Add<CUnitInfo>(&infos.Root, "U");
  auto* t1 = Add<CTypeInfo>(unit, "T1");
  t1->BaseType = "int";
  auto* t2 = Add<CTypeInfo>(unit, "T2");
  t2->BaseType = "T1";
  auto* ptr = Add<CTypeInfo>(unit, "P");
  ptr->Pointer = 1;
  ptr->BaseType = "nothing";
  auto* viaPtr = Add<CTypeInfo>(unit, "VP");
  viaPtr->BaseType = "P";
  auto* sized = Add<CTypeInfo>(unit, "Z");
  sized->Sized = true;
  sized->ByteSize = 7;
  auto* lost = Add<CTypeInfo>(unit, "L");
  lost->BaseType = "nothing";
  auto* loopA = Add<CTypeInfo>(unit, "A");
  loopA->BaseType = "B";
  auto* loopB = Add<CTypeInfo>(unit, "B");
  loopB->BaseType = "A";
  auto* self = Add<CTypeInfo>(unit, "Self");
  self->BaseType = "Self";

  auto* s = Add<CStructInfo>(unit, "S");
  Attr(s, "char");
  Attr(s, "long");
  Add<COperInfo>(s, "skipped");  // only attributes count
  auto* empty = Add<CStructInfo>(unit, "Empty");
  auto* nested = Add<CClassInfo>(unit, "C");
  Attr(nested, "S");
  Attr(nested, "T2");
  Attr(nested, "Z");
  auto* bad = Add<CStructInfo>(unit, "Bad");
  Attr(bad, "char");
  Attr(bad, "unknown");
  auto* member = Add<COperInfo>(unit, "Handler");
  member->MemberFlag = true;
  Add<COperInfo>(unit, "Plain");
  auto* withOper = Add<CStructInfo>(unit, "WithOper");
  Attr(withOper, "Handler");
  auto* withPlainOper = Add<CStructInfo>(unit, "WithPlain");
  Attr(withPlainOper, "Plain");
  auto* selfHolding = Add<CStructInfo>(unit, "Rec");
  Attr(selfHolding, "Rec");
  auto* holdsLoop = Add<CStructInfo>(unit, "HoldsLoop");
  Attr(holdsLoop, "A");

  struct Case {
    const char* what;
    CTypeInfo* node;
    std::int32_t size;
  } cases[] = {
      {"type over a standard type", t1, 4},
      {"type over a type", t2, 4},
      {"pointer, whatever its base", ptr, 4},
      {"type over a pointer type", viaPtr, 4},
      {"sized type", sized, 7},
      {"base found nowhere", lost, -1},
      {"two types naming each other", loopA, -1},
      {"type naming itself", self, -1},
      {"char and long add up", s, 5},
      {"structure without attributes", empty, 0},
      {"class of a structure, a type and a sized type", nested, 5 + 4 + 7},
      {"an unknown attribute type", bad, -1},
      {"attribute typed by a member operation", withOper, 4},
      {"attribute typed by a plain operation", withPlainOper, -1},
      {"structure holding itself", selfHolding, -1},
      {"structure over a type cycle", holdsLoop, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.node->CalcSize().Value, c.size) << c.what;
}

// Each structure of a chain holds two of the next: the sizes double at every step. Summed
// naively the sizing visits every path (2^40 of them) and the sum passes any 32-bit count.
TEST_F(Tree, AChainOfStructuresIsSizedOnceEachAndNeverOverflows) {
  auto* unit = Add<CUnitInfo>(&infos.Root, "U");
  const int levels = 40;
  std::vector<CStructInfo*> chain;
  std::vector<std::string> names;
  for (int i = 0; i <= levels; ++i) names.push_back("S" + std::to_string(i));
  for (int i = 0; i < levels; ++i) {
    chain.push_back(Add<CStructInfo>(unit, names[i].c_str()));
    Attr(chain.back(), names[i + 1].c_str());
    Attr(chain.back(), names[i + 1].c_str());
  }
  chain.push_back(Add<CStructInfo>(unit, names[levels].c_str()));
  Attr(chain.back(), "int");

  EXPECT_EQ(chain[levels]->CalcSize().Value, 4);
  EXPECT_EQ(chain[levels - 28]->CalcSize().Value, 4 << 28);
  // 4 * 2^29 is past the largest 32-bit count: the size cannot be given.
  EXPECT_EQ(chain[levels - 29]->CalcSize().Value, -1);
  EXPECT_EQ(chain[0]->CalcSize().Value, -1);
}
