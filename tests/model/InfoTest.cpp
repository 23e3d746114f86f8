// The node record: its exact bytes for every kind, whole subtrees, captions and scope prefixes.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/App.h"
#include "model/ClassManager.h"
#include "model/Kinds.h"
#include "tests/model/Records.h"

namespace {

class InfoTest : public testing::Test {
 protected:
  CApp app;

  std::unique_ptr<CInfo> Create(const char* className) {
    return std::unique_ptr<CInfo>(dynamic_cast<CInfo*>(app.ClassMan->CreateByName(className)));
  }

  static Bytes Saved(CInfo& node) {
    CMemory m;
    node.SaveToStream(m);
    return Contents(m);
  }
};

// The common head of a record without children: everything but the kind fields and the count.
Image Head(const std::string& className, const std::string& name, const std::string& about,
           const std::string& extra, std::int32_t fieldBytes) {
  const std::int32_t length = std::int32_t(4 + className.size() + 4 + name.size() + 4 +
                                           about.size() + 4 + extra.size() + 1 + fieldBytes + 4);
  Image image;
  image.Int(length).Str(className).Str(name).Str(about).Str(extra).Byte(0);
  return image;
}

}  // namespace

TEST_F(InfoTest, TheRootOfAnEmptyTreeIsThirtyBytes) {
  const Bytes expected = Image().Int(26).Str("CInfo").Str("").Str("").Str("").Byte(0).Int(0).bytes;
  EXPECT_EQ(Saved(app.InfoMan.Root), expected);
  EXPECT_EQ(expected.size(), 30u);
}

TEST_F(InfoTest, EveryKindWritesItsFieldsAndReadsThemBack) {
  struct Case {
    const char* className;
    std::function<void(CInfo&)> set;    // fills the node before saving
    Bytes fields;                       // the kind fields as they must be written
    std::function<void(CInfo&)> check;  // on the node read back
  };
  Image action;
  action.Byte(1).Byte(0).Byte(1).Float(2.5L).Str("a").Str("b").Byte(0).Byte(1);
  for (int i = 0; i < 6; ++i) action.Str("m" + std::to_string(i));
  for (int i = 0; i < 7; ++i)
    action.Byte(i % 2).Str("s" + std::to_string(i)).Str("t" + std::to_string(i));

  const Case cases[] = {
      {"CInfo", nullptr, {}, nullptr},
      {"CObjectInfo", nullptr, {}, nullptr},
      {"CCodeInfo", nullptr, {}, nullptr},
      {"CProjectInfo",  // the base of the containers keeps nothing of its own
       [](CInfo& n) { static_cast<CProjectInfo&>(n).ProjectExtra = "lost"; },
       {},
       [](CInfo& n) { EXPECT_EQ(static_cast<CProjectInfo&>(n).ProjectExtra, ""); }},
      {"CProjectGroupInfo", [](CInfo& n) { static_cast<CProjectInfo&>(n).ProjectExtra = "pe"; },
       Image().Str("pe").bytes,
       [](CInfo& n) { EXPECT_EQ(static_cast<CProjectInfo&>(n).ProjectExtra, "pe"); }},
      {"CPackInfo",
       [](CInfo& n) {
         static_cast<CPackInfo&>(n).ProjectExtra = "pe";
         static_cast<CPackInfo&>(n).PackExtra = "ke";
       },
       Image().Str("pe").Str("ke").bytes,
       [](CInfo& n) { EXPECT_EQ(static_cast<CPackInfo&>(n).PackExtra, "ke"); }},
      {"CAppInfo", [](CInfo& n) { static_cast<CPackInfo&>(n).PackExtra = "app"; },
       Image().Str("").Str("app").bytes, nullptr},
      {"CLibInfo", [](CInfo& n) { static_cast<CPackInfo&>(n).ProjectExtra = "lib"; },
       Image().Str("lib").Str("").bytes, nullptr},
      {"CUnitInfo", [](CInfo& n) { static_cast<CUnitInfo&>(n).UnitExtra = "ue"; },
       Image().Str("ue").bytes,
       [](CInfo& n) { EXPECT_EQ(static_cast<CUnitInfo&>(n).UnitExtra, "ue"); }},
      {"CDllInfo", [](CInfo& n) { static_cast<CUnitInfo&>(n).UnitExtra = "dll"; },
       Image().Str("dll").bytes, nullptr},
      {"CTypeInfo",
       [](CInfo& n) {
         auto& t = static_cast<CTypeInfo&>(n);
         t.ByteSize = 12;
         t.BaseType = "int";
         t.Pointer = 1;
         t.TypeKind = 1;  // display state: not written
         t.Sized = true;
       },
       Image().Int(12).Str("int").Int(1).bytes,
       [](CInfo& n) {
         auto& t = static_cast<CTypeInfo&>(n);
         EXPECT_EQ(t.ByteSize.Value, 12);
         EXPECT_EQ(t.BaseType, "int");
         EXPECT_EQ(t.Pointer.Value, 1);
         EXPECT_EQ(t.TypeKind.Value, 0);
         EXPECT_FALSE(t.Sized);
       }},
      {"CStructInfo",  // a structure loses its type fields
       [](CInfo& n) {
         auto& t = static_cast<CStructInfo&>(n);
         t.ByteSize = 12;
         t.BaseType = "int";
         t.Pointer = 1;
       },
       {},
       [](CInfo& n) {
         auto& t = static_cast<CStructInfo&>(n);
         EXPECT_EQ(t.ByteSize.Value, 0);
         EXPECT_EQ(t.BaseType, "");
         EXPECT_EQ(t.Pointer.Value, 0);
       }},
      {"CClassInfo",  // while a class keeps them, and its base and kind after them
       [](CInfo& n) {
         auto& c = static_cast<CClassInfo&>(n);
         c.ByteSize = 8;
         c.BaseType = "bt";
         c.Pointer = 2;
         c.Base = "CBase";
         c.Kind = 3;
         c.Unit = "not written";
       },
       Image().Int(8).Str("bt").Int(2).Str("CBase").Int(3).bytes,
       [](CInfo& n) {
         auto& c = static_cast<CClassInfo&>(n);
         EXPECT_EQ(c.ByteSize.Value, 8);
         EXPECT_EQ(c.BaseType, "bt");
         EXPECT_EQ(c.Pointer.Value, 2);
         EXPECT_EQ(c.Base, "CBase");
         EXPECT_EQ(c.Kind.Value, 3);
         EXPECT_EQ(c.Unit, "");
       }},
      {"CAtrInfo",
       [](CInfo& n) {
         auto& a = static_cast<CAtrInfo&>(n);
         a.Type = "long";
         a.Access = 2;
         a.MemberFlag = true;
       },
       Image().Str("long").Int(2).Byte(1).bytes,
       [](CInfo& n) {
         auto& a = static_cast<CAtrInfo&>(n);
         EXPECT_EQ(a.Type, "long");
         EXPECT_EQ(a.Access.Value, 2);
         EXPECT_TRUE(a.MemberFlag);
       }},
      {"COperInfo",  // code, parameters and IsOperator stay; the other flags come back false
       [](CInfo& n) {
         auto& o = static_cast<COperInfo&>(n);
         o.Type = "int";
         o.Access = 1;
         o.OperMode = 7;
         o.IsOperator = true;
         for (CBool& f : o.OperFlags()) f = true;
         o.Code = "return 0;";
         o.Code2() = "2";
         o.Code5() = "5";
         o.AddParam("char", "c", "first");
         o.AddParam("long", "l", "");
       },
       // One line per group of fields, as the record has them.
       // clang-format off
       Image()
           .Str("int").Int(1).Byte(0).Byte(7).Byte(1)
           .Str("return 0;").Str("2").Str("").Str("").Str("5")
           .Int(2).Str("char").Str("c").Str("first").Str("long").Str("l").Str("")
           .bytes,
       // clang-format on
       [](CInfo& n) {
         auto& o = static_cast<COperInfo&>(n);
         EXPECT_EQ(o.Code, "return 0;");
         EXPECT_EQ(o.Code5(), "5");
         EXPECT_TRUE(o.IsOperator);
         EXPECT_EQ(o.OperMode, 7);
         for (const CBool& f : o.OperFlags()) EXPECT_FALSE(f);
         ASSERT_EQ(o.Params.Count().Value, 2);
         EXPECT_EQ(o.Param(0)->Type, "char");
         EXPECT_EQ(o.Param(0)->GetName(), "c");
         EXPECT_EQ(o.Param(0)->About, "first");
         EXPECT_EQ(o.Param(1)->GetName(), "l");
         EXPECT_FALSE(o.Param(1)->ParamFlag);
       }},
      {"CActionInfo",  // the three slot arrays go interleaved by index
       [](CInfo& n) {
         auto& a = static_cast<CActionInfo&>(n);
         a.Flags[0] = true;
         a.Flags[2] = true;
         a.Value = 2.5L;
         a.Texts[0] = "a";
         a.Texts[1] = "b";
         a.MoreFlags[1] = true;
         for (int i = 0; i < 6; ++i) a.MoreTexts[i] = CStr("m") + CInt(i).ToStr();
         for (int i = 0; i < 7; ++i) {
           a.SlotFlags[i] = i % 2 == 1;
           a.SlotTexts[i] = CStr("s") + CInt(i).ToStr();
           a.SlotTexts2[i] = CStr("t") + CInt(i).ToStr();
         }
       },
       action.bytes,
       [](CInfo& n) {
         auto& a = static_cast<CActionInfo&>(n);
         EXPECT_EQ(a.Value.Value, 2.5L);
         EXPECT_TRUE(a.SlotFlags[5]);
         EXPECT_EQ(a.SlotTexts2[6], "t6");
       }},
      {"CExprInfo", nullptr, {}, nullptr},
      {"CIfInfo", nullptr, {}, nullptr},
      {"CVarInfo", nullptr, {}, nullptr},
      {"CFuncInfo", nullptr, {}, nullptr},
      {"COperatorInfo", nullptr, {}, nullptr},
      {"CIntConstInfo", nullptr, {}, nullptr},
      {"CStrConstInfo", nullptr, {}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    auto node = Create(c.className);
    ASSERT_TRUE(node);
    node->SetName("n");
    node->About = "about";
    node->Extra() = "x";
    if (c.set) c.set(*node);
    const Bytes saved = Saved(*node);
    const Bytes expected = Head(c.className, "n", "about", "x", std::int32_t(c.fields.size()))
                               .Raw(c.fields)
                               .Int(0)
                               .bytes;
    EXPECT_EQ(saved, expected);

    auto back = Create(c.className);
    CMemory m;
    Fill(m, saved);
    const CLoadReport report = back->Load(m);
    EXPECT_TRUE(report.Ok()) << report.Fault;
    EXPECT_EQ(m.GetPosition().Value, std::int32_t(saved.size()));
    EXPECT_EQ(back->GetName(), "n");
    EXPECT_EQ(back->About, "about");
    EXPECT_EQ(back->Extra(), "x");
    if (c.check) c.check(*back);
    EXPECT_EQ(Saved(*back), saved);
  }
}

TEST_F(InfoTest, ASubtreeComesBackWithOrderParentsAndFields) {
  CInfo& root = app.InfoMan.Root;
  auto* group = new CProjectGroupInfo;
  group->SetName("Group");
  group->About = "Группа"_cp;
  root.Append(group);
  auto* appNode = new CAppInfo;
  appNode->SetName("App");
  group->Append(appNode);
  auto* lib = new CLibInfo;
  lib->SetName("Lib");
  group->Append(lib);
  auto* unit = new CUnitInfo;
  unit->SetName("Main");
  appNode->Append(unit);
  auto* cls = new CClassInfo;
  cls->SetName("CThing");
  cls->Base = "CObject";
  unit->Append(cls);
  auto* oper = new COperInfo;
  oper->SetName("Run");
  oper->Code = "{\r\n  return;\r\n}";
  oper->AddParam("int", "n");
  cls->Append(oper);

  const Bytes saved = Saved(root);
  CMemory m;
  Fill(m, saved);
  CInfo copy;
  ASSERT_TRUE(copy.Load(m).Ok());

  ASSERT_EQ(copy.ChildCount().Value, 1);
  CInfo* g = copy.Child(0);
  EXPECT_EQ(g->ClassName(), "CProjectGroupInfo");
  EXPECT_EQ(g->About, "Группа"_cp);
  EXPECT_EQ(g->Parent, &copy);
  ASSERT_EQ(g->ChildCount().Value, 2);
  EXPECT_EQ(g->Child(0)->GetName(), "App");
  EXPECT_EQ(g->Child(1)->GetName(), "Lib");
  CInfo* u = g->Child(0)->Child(0);
  EXPECT_EQ(u->Parent, g->Child(0));
  auto* c = dynamic_cast<CClassInfo*>(u->Child(0));
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Base, "CObject");
  auto* o = dynamic_cast<COperInfo*>(c->Child(0));
  ASSERT_TRUE(o);
  EXPECT_EQ(o->Parent, c);
  EXPECT_EQ(o->Code, "{\r\n  return;\r\n}");
  EXPECT_EQ(o->Param(0)->GetName(), "n");
  EXPECT_EQ(Saved(copy), saved);

  // Each record's length covers its whole subtree.
  EXPECT_EQ(IntAt(saved, 0), std::int32_t(saved.size()) - 4);
}

TEST_F(InfoTest, LoadingReplacesChildrenAndIgnoresTheReservedByte) {
  CInfo target;
  for (const char* name : {"old1", "old2"}) {
    auto* child = new CUnitInfo;
    child->SetName(name);
    target.Append(child);
  }
  Image record;
  record.Int(0).Str("CInfo").Str("new").Str("").Str("").Byte(7).Int(1);
  const Bytes child =
      Head("CVarInfo", "v", "", "", 0).Int(0).bytes;  // a record with its own length
  record.Raw(child);
  PutInt(record.bytes, 0, std::int32_t(record.bytes.size()) - 4);

  CMemory m;
  Fill(m, record.bytes);
  ASSERT_TRUE(target.Load(m).Ok());
  EXPECT_EQ(target.GetName(), "new");
  ASSERT_EQ(target.ChildCount().Value, 1);
  EXPECT_EQ(target.Child(0)->GetName(), "v");
  EXPECT_FALSE(target.Reserved());
  EXPECT_EQ(Saved(target)[4 + 9 + 7 + 4 + 4], 0);  // written back as 0
}

TEST_F(InfoTest, CaptionsOfTheKinds) {
  struct Case {
    const char* what;
    std::function<CInfo*()> make;
    CStr caption;
  } cases[] = {
      {"plain node shows its name", [] { return new CInfo; }, "n"},
      {"operation with type and parameters",
       [] {
         auto* o = new COperInfo;
         o->Type = "int";
         o->AddParam("char", "a");
         o->AddParam("long", "b");
         return o;
       },
       "int n(char, long)"},
      {"operator function",
       [] {
         auto* o = new COperInfo;
         o->Type = "int";
         o->IsOperator = true;
         o->AddParam("char", "a");
         o->AddParam("long", "b");
         return o;
       },
       "int operator n(char, long)"},
      {"operation without type or parameters", [] { return new COperInfo; }, "n()"},
      {"attribute with type",
       [] {
         auto* a = new CAtrInfo;
         a->Type = "int*";
         return a;
       },
       "int* n"},
      {"attribute without type", [] { return new CAtrInfo; }, "n"},
      {"structure", [] { return new CStructInfo; }, "struct n"},
      {"class", [] { return new CClassInfo; }, "class n"},
      {"type, first form",
       [] {
         auto* t = new CTypeInfo;
         t->BaseType = "char";
         t->Pointer = 1;
         return t;
       },
       "n: *char"},
      {"type, pointer form of kind 1",
       [] {
         auto* t = new CTypeInfo;
         t->TypeKind = 1;
         t->TypeSubKind = 1;
         t->BaseType = "int";
         return t;
       },
       "n: int"},
      {"type, array form",
       [] {
         auto* t = new CTypeInfo;
         t->TypeKind = 1;
         t->ByteSize = 16;
         t->BaseType = "int";
         return t;
       },
       "n: (16)"},
      {"type of an unknown form",
       [] {
         auto* t = new CTypeInfo;
         t->TypeKind = 2;
         t->BaseType = "int";
         return t;
       },
       "n: "},
      {"expression", [] { return new CExprInfo; }, "f(x) //n"},
      {"condition hides its name", [] { return new CIfInfo; }, "if"},
      {"function call", [] { return new CFuncInfo; }, "n()"},
      {"string constant", [] { return new CStrConstInfo; }, "\"n\""},
      {"integer constant", [] { return new CIntConstInfo; }, "n"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<CInfo> node(c.make());
    node->SetName("n");
    node->UpdateText();
    EXPECT_EQ(node->Caption, c.caption) << c.what;
  }
}

TEST_F(InfoTest, ScopePrefixListsTheAncestorsOutermostFirst) {
  CInfo& root = app.InfoMan.Root;
  auto* group = new CProjectGroupInfo;
  group->SetName("Group");
  root.Append(group);
  auto* appNode = new CAppInfo;
  appNode->SetName("App");
  group->Append(appNode);
  auto* unit = new CUnitInfo;
  unit->SetName("Main");
  appNode->Append(unit);
  CInfo loose;
  loose.SetName("loose");

  EXPECT_EQ(group->ScopePrefix(), "::");  // the root's empty name
  EXPECT_EQ(unit->ScopePrefix(), "::Group::App::");
  EXPECT_EQ(loose.ScopePrefix(), "");
  EXPECT_EQ(root.GetName(), "");  // named before names could be kept
}
