#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "core/App.h"
#include "model/NameManager.h"

TEST(Names, WithoutAnApplicationObjectNamesAreNotStored) {
  CObject object;
  object.SetName("lost");
  EXPECT_EQ(object.GetName(), "");
}

TEST(Names, SetGetAndEntries) {
  CApp app;
  CNameManager& names = *app.NameMan;
  CObject a;
  EXPECT_EQ(a.GetName(), "");
  const CInt before = names.EntryCount();
  EXPECT_EQ(names.EntryCount().Value, before.Value);  // asking adds nothing
  a.SetName("first");
  a.SetName("second");
  EXPECT_EQ(a.GetName(), "second");
  EXPECT_EQ(names.EntryCount().Value, before.Value + 1);
  CObject b;
  b.SetName("");  // the empty name makes an entry too
  EXPECT_EQ(names.EntryCount().Value, before.Value + 2);
}

TEST(Names, ADestroyedObjectsNameIsNeverInherited) {
  CApp app;
  const CInt before = app.NameMan->EntryCount();
  // Reuse one block of storage: a new object at the same address must start unnamed.
  alignas(CObject) unsigned char storage[sizeof(CObject)];
  auto* first = new (storage) CObject;
  first->SetName("old");
  first->~CObject();
  auto* second = new (storage) CObject;
  EXPECT_EQ(second->GetName(), "");
  second->~CObject();
  EXPECT_EQ(app.NameMan->EntryCount().Value, before.Value);
}

TEST(Names, ForgettingKeepsTheOthers) {
  CApp app;
  std::vector<std::unique_ptr<CObject>> objects;
  for (int i = 0; i < 100; ++i) {
    objects.push_back(std::make_unique<CObject>());
    objects.back()->SetName(CInt(i).ToStr());
  }
  for (int i = 0; i < 100; i += 3) objects[i].reset();
  for (int i = 0; i < 100; ++i)
    if (objects[i]) {
      EXPECT_EQ(objects[i]->GetName(), CInt(i).ToStr());
    }
}

TEST(Names, ACopyStartsUnnamed) {
  CApp app;
  CStr s = "x";
  s.SetName("named");
  const CStr copy = s;
  EXPECT_EQ(copy.GetName(), "");
}

TEST(Names, TwoManagersKeepTheirOwnNamesForTheSameObjects) {
  // The second manager must not take over what the first relies on to find an object, and
  // forgetting in one (which moves its last entry) must leave the other's names alone.
  CNameManager first, second;
  std::vector<std::unique_ptr<CObject>> objects;
  for (int i = 0; i < 5; ++i) objects.push_back(std::make_unique<CObject>());
  auto name = [](const char* prefix, int i) { return CStr(prefix) + CInt(i).ToStr(); };
  for (int i = 0; i < 5; ++i) first.SetNameOf(objects[i].get(), name("a", i));
  for (int i = 4; i >= 0; --i) second.SetNameOf(objects[i].get(), name("b", i));
  first.Forget(objects[1].get());
  second.Forget(objects[3].get());
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(first.NameOf(objects[i].get()), i == 1 ? CStr() : name("a", i)) << i;
    EXPECT_EQ(second.NameOf(objects[i].get()), i == 3 ? CStr() : name("b", i)) << i;
  }
  first.SetNameOf(objects[4].get(), "renamed");  // found again after the move, not added
  EXPECT_EQ(first.NameOf(objects[4].get()), "renamed");
  EXPECT_EQ(first.EntryCount().Value, 4);
  EXPECT_EQ(second.EntryCount().Value, 4);
}

TEST(Names, SharedTheyMayBeGivenAndAskedFromTwoThreadsAtOnce) {
  // A tree loading on a thread of its own names its nodes while the window's thread names,
  // asks and forgets its own objects; the entries grow under both.
  CApp app;
  const CInt before = app.NameMan->EntryCount();
  constexpr int kEach = 100000;
  std::vector<std::unique_ptr<CObject>> loaded(kEach), built(kEach);
  for (auto& object : loaded) object = std::make_unique<CObject>();
  for (auto& object : built) object = std::make_unique<CObject>();
  app.NameMan->SetShared(true);
  std::atomic<bool> go = false;
  std::thread loader([&] {
    while (!go) std::this_thread::yield();
    for (int i = 0; i < kEach; ++i) loaded[i]->SetName(CStr("n") + CInt(i).ToStr());
  });
  go = true;
  for (int i = 0; i < kEach; ++i) {
    built[i]->SetName(CStr("w") + CInt(i).ToStr());
    EXPECT_EQ(built[i]->GetName(), CStr("w") + CInt(i).ToStr());
    if (i % 2) built[i].reset();
  }
  loader.join();
  app.NameMan->SetShared(false);
  for (int i = 0; i < kEach; ++i) {
    EXPECT_EQ(loaded[i]->GetName(), CStr("n") + CInt(i).ToStr()) << i;
    if (built[i]) {
      EXPECT_EQ(built[i]->GetName(), CStr("w") + CInt(i).ToStr()) << i;
    }
  }
  EXPECT_EQ(app.NameMan->EntryCount().Value, before.Value + kEach + kEach / 2);
}
