// The class registry: lookups, creation by name, ancestry, accessors, and the reflection
// operations every object answers through it.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "core/App.h"
#include "model/ClassManager.h"
#include "model/Kinds.h"

namespace {

class Registry : public testing::Test {
 protected:
  CApp app;
  CClassManager& classes = *app.ClassMan;
};

}  // namespace

TEST_F(Registry, HoldsTheCoreRowsInOrderWithDuplicatesNeverFound) {
  ASSERT_EQ(classes.Count().Value, 33);
  EXPECT_EQ(classes.Get(0)->GetName(), "CObject");
  EXPECT_EQ(classes.Get(32)->GetName(), "CStrConstInfo");
  EXPECT_EQ(classes.Find("CInfo"), classes.Get(7));  // row 8, never rows 22 and 23
  EXPECT_EQ(classes.Get(21)->GetName(), "CInfo");
  EXPECT_EQ(classes.Get(22)->GetName(), "CInfo");
  std::set<std::string> names;
  for (int i = 0; i < 33; ++i) names.insert(classes.Get(i)->GetName().ToStd());
  EXPECT_EQ(names.size(), 31u);
}

TEST_F(Registry, RecordsCarryKindBaseUnitAndDescription) {
  struct Case {
    const char* name;
    std::int32_t kind;
    const char* base;
    const char* unit;
    CStr about;
    const char* firstProperty;  // "" for none
  } cases[] = {
      {"CObject", 0, "", "", "Предок всех классов библиотеки qxe.lib"_cp, "Name"},
      {"CInt", 2, "CNum", "QxTypes", "Класс целых чисел"_cp, "Value"},
      {"CBool", 2, "CVar", "QxTypes", "Класс булевских переменных"_cp, ""},
      {"CInfo", 2, "CVar", "QxInfo", "", "About"},
      {"CDllInfo", 2, "CUnitInfo", "QxInfo", "", ""},
      {"CClassInfo", 2, "CInfo", "QxInfo", "", "Base"},
      {"CAppInfo", 2, "CPackInfo", "QxInfo", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CClassInfo* record = classes.Find(c.name);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Kind.Value, c.kind);
    EXPECT_EQ(record->Base, c.base);
    EXPECT_EQ(record->Unit, c.unit);
    EXPECT_EQ(record->About, c.about);
    EXPECT_EQ(record->Extra(), "");
    if (*c.firstProperty) {
      ASSERT_EQ(record->Properties.Count().Value, 1);
      const auto* prop = record->Properties.GetAs<CPropInfo>(0);
      EXPECT_EQ(prop->GetName(), c.firstProperty);
      EXPECT_FALSE(prop->IsObject);
      EXPECT_FALSE(prop->PropFlag);
    } else {
      EXPECT_EQ(record->Properties.Count().Value, 0);
    }
  }
}

TEST_F(Registry, CreatesByName) {
  struct Case {
    const char* name;
    const char* createdClass;  // nullptr: nothing is created
  } cases[] = {
      {"CObject", "CObject"},
      {"CInt", "CInt"},
      {"CInfo", "CInfo"},
      {"CAppInfo", "CAppInfo"},
      {"CWhileInfo", "CIfInfo"},  // no loop kind of its own
      {"CStrConstInfo", "CStrConstInfo"},
      {"CParamInfo", nullptr},
      {"CMemberInfo", nullptr},
      {"CFileInfo", nullptr},
      {"CEventTypeInfo", nullptr},
      {"cinfo", nullptr},  // exact, case-sensitive
      {"", nullptr},
  };
  for (const Case& c : cases) {
    std::unique_ptr<CObject> made(classes.CreateByName(c.name));
    if (!c.createdClass) {
      EXPECT_FALSE(made) << c.name;
      continue;
    }
    ASSERT_TRUE(made) << c.name;
    EXPECT_EQ(made->ClassName(), c.createdClass) << c.name;
  }
  std::unique_ptr<CObject> loop(classes.CreateByName("CWhileInfo"));
  auto* node = dynamic_cast<CInfo*>(loop.get());
  ASSERT_TRUE(node);
  node->UpdateText();
  EXPECT_EQ(node->Caption, "if");
}

TEST_F(Registry, InheritanceFollowsTheRegisteredBases) {
  struct Case {
    const char* cls;
    const char* ancestor;
    bool expected;
  } cases[] = {
      {"CDllInfo", "CInfo", true},
      {"CDllInfo", "CUnitInfo", true},
      {"CDllInfo", "CObject", true},
      {"CClassInfo", "CStructInfo", false},  // registered under CInfo, not its real base
      {"CClassInfo", "CTypeInfo", false},
      {"CInt", "CInt", false},  // not its own ancestor
      {"CInt", "CNum", true},
      {"CObject", "", false},
      {"CNoSuchClass", "CObject", false},
      {"CAppInfo", "CProjectInfo", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(bool(classes.InheritsFromName(c.cls, c.ancestor)), c.expected)
        << c.cls << " from " << c.ancestor;
}

TEST_F(Registry, ObjectsAnswerTheirAncestryThroughIt) {
  CInt i;
  EXPECT_EQ(i.BaseClassName(), "CNum");
  EXPECT_EQ(i.GetClassInfo(), classes.Find("CInt"));
  EXPECT_TRUE(i.InheritsFrom("CVar"));
  EXPECT_TRUE(i.InheritsFrom("CObject"));
  EXPECT_FALSE(i.InheritsFrom("CInt"));
  EXPECT_FALSE(i.InheritsFrom("CStr"));

  CStructInfo s;
  EXPECT_EQ(s.BaseClassName(), "CInfo");
  std::unique_ptr<CObject> copy(s.NewInstance());
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->ClassName(), "CStructInfo");

  // A parameter answers "CInfo", so it is made again as a plain node.
  CParamInfo p;
  std::unique_ptr<CObject> plain(p.NewInstance());
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->ClassName(), "CInfo");

  // Classes the registry does not know have nothing to answer.
  CList list;  // reports "CVar"
  EXPECT_EQ(list.BaseClassName(), "CObject");
  CEventTypeInfo event;
  EXPECT_EQ(event.GetClassInfo(), nullptr);
  EXPECT_EQ(event.BaseClassName(), "");
  EXPECT_FALSE(event.InheritsFrom("CInfo"));
  EXPECT_EQ(event.NewInstance(), nullptr);
}

TEST_F(Registry, WithoutAnApplicationObjectNothingIsRegistered) {
  CApp* saved = CoreApp;
  CoreApp = nullptr;
  CInt i;
  EXPECT_EQ(i.GetClassInfo(), nullptr);
  EXPECT_EQ(i.BaseClassName(), "");
  EXPECT_FALSE(i.InheritsFrom("CObject"));
  EXPECT_EQ(i.NewInstance(), nullptr);
  CoreApp = saved;
}

TEST_F(Registry, TheCoreAccessorsReadAndWrite) {
  auto prop = [&](const char* cls) { return classes.Find(cls)->Properties.GetAs<CPropInfo>(0); };

  CInfo node;
  CStr text;
  CStr value = "описание"_cp;
  prop("CInfo")->Set(&node, &value);
  EXPECT_EQ(node.About, "описание"_cp);
  prop("CInfo")->Get(&node, &text);
  EXPECT_EQ(text, "описание"_cp);

  CClassInfo cls;
  value = "CBase";
  prop("CClassInfo")->Set(&cls, &value);
  EXPECT_EQ(cls.Base, "CBase");

  value = "Named";
  prop("CObject")->Set(&node, &value);
  EXPECT_EQ(node.GetName(), "Named");
  prop("CObject")->Get(&node, &text);
  EXPECT_EQ(text, "Named");

  CInt owner = 5, target = 0, fresh = 9;
  prop("CInt")->Get(&owner, &target);
  EXPECT_EQ(target.Value, 5);
  prop("CInt")->Set(&owner, &fresh);
  EXPECT_EQ(owner.Value, 9);

  // "Value" of CStr is published but connected to nothing.
  CStr s = "keep", t = "same";
  ASSERT_TRUE(prop("CStr")->Getter);
  prop("CStr")->Get(&s, &t);
  prop("CStr")->Set(&s, &t);
  EXPECT_EQ(s, "keep");
  EXPECT_EQ(t, "same");

  // A value of the wrong class, or none at all, changes nothing.
  CInt wrong = 1;
  prop("CInfo")->Set(&node, &wrong);
  prop("CInfo")->Set(&node, nullptr);
  EXPECT_EQ(node.About, "описание"_cp);
}

TEST_F(Registry, ALaterLayerAddsItsClassesWithOneCallPerTable) {
  struct CThing : CObject {
    explicit CThing(CObject* owner) : Owner(owner) {}
    CStr ClassName() const override { return "CThing"; }
    CObject* Owner;
    CStr Label;
  };
  static const CClassRow rows[] = {
      {"CThing",
       "CObject",
       "QxTest",
       "Вещь"_cp,
       &MakeOwned<CThing>,
       {{"Label", "CStr", false, &FieldGetter<&CThing::Label>, &FieldSetter<&CThing::Label>},
        {"Extra", "CPoint", true, &NoGet, &NoSet}}},
  };
  classes.Register(rows);
  EXPECT_EQ(classes.Count().Value, 34);
  CObject owner;
  std::unique_ptr<CObject> made(classes.CreateByName("CThing", &owner));
  ASSERT_TRUE(made);
  EXPECT_EQ(static_cast<CThing*>(made.get())->Owner, &owner);
  EXPECT_TRUE(made->InheritsFrom("CObject"));
  const CClassInfo* record = made->GetClassInfo();
  ASSERT_EQ(record->Properties.Count().Value, 2);
  EXPECT_TRUE(record->Properties.GetAs<CPropInfo>(1)->IsObject);
  CStr label = "ярлык"_cp;
  record->Properties.GetAs<CPropInfo>(0)->Set(made.get(), &label);
  EXPECT_EQ(static_cast<CThing*>(made.get())->Label, "ярлык"_cp);
}
