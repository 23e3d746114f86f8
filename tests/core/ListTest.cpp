#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/App.h"
#include "core/List.h"

namespace {

// Records its destruction, so a test can tell deleted items from removed ones.
struct Probe : CObject {
  explicit Probe(std::vector<int>* log, int id) : log(log), id(id) {}
  ~Probe() override { log->push_back(id); }
  std::vector<int>* log;
  int id;
};

std::vector<int> Ids(const CList& list) {
  std::vector<int> ids;
  for (int i = 0; i < list.Count().Value; ++i) ids.push_back(list.GetAs<Probe>(i)->id);
  return ids;
}

}  // namespace

TEST(CList, GrowsTenSlotsAtATime) {
  CList list;
  EXPECT_EQ(list.Get(0), nullptr);  // never allocated
  std::vector<int> log;
  for (int i = 0; i < 11; ++i) list.Add(new Probe(&log, i));
  EXPECT_EQ(list.Count().Value, 11);
  EXPECT_EQ(list.Capacity().Value, 20);
  list.Clear();
  EXPECT_EQ(list.Count().Value, 0);
  EXPECT_EQ(list.Capacity().Value, 20);                                  // capacity stays
  EXPECT_EQ(log, (std::vector<int>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));  // from the end
}

TEST(CList, InsertExchangeAndSearch) {
  std::vector<int> log;
  CList list;
  auto* a = new Probe(&log, 1);
  auto* b = new Probe(&log, 2);
  list.Add(a);
  list.Add(b);
  list.Insert(0, new Probe(&log, 9));
  EXPECT_EQ(Ids(list), (std::vector<int>{9, 1, 2}));
  list.Exchange(1, 2);
  EXPECT_EQ(Ids(list), (std::vector<int>{9, 2, 1}));
  EXPECT_EQ(list.IndexOf(a).Value, 2);
  Probe stranger(&log, 77);
  EXPECT_EQ(list.IndexOf(&stranger).Value, -1);
  EXPECT_EQ(list.DeleteObject(&stranger).Value, -1);
  EXPECT_EQ(list.Count().Value, 3);
  EXPECT_TRUE(log.empty());
}

TEST(CList, DeleteDestroysRemoveHandsBack) {
  std::vector<int> log;
  CList list;
  for (int i = 0; i < 4; ++i) list.Add(new Probe(&log, i));
  list.Delete(-1);
  list.Delete(1);
  EXPECT_EQ(log, (std::vector<int>{1}));
  EXPECT_EQ(Ids(list), (std::vector<int>{0, 2, 3}));

  CObject* taken = list.Get(0);
  EXPECT_EQ(list.RemoveObject(taken).Value, 0);
  EXPECT_EQ(Ids(list), (std::vector<int>{2, 3}));
  EXPECT_EQ(log, (std::vector<int>{1}));
  delete taken;

  std::unique_ptr<CObject> two(list.Get(0)), three(list.Get(1));
  list.RemoveAll();
  EXPECT_EQ(list.Count().Value, 0);
  EXPECT_EQ(log, (std::vector<int>{1, 0}));  // removed items are still alive
  two.reset();
  EXPECT_EQ(log, (std::vector<int>{1, 0, 2}));
}

TEST(CList, EmptyListOperationsChangeNothing) {
  CList list;
  list.Delete(0);
  list.Remove(0);
  list.Set(nullptr, 0);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Count().Value, 0);
  list.Add(nullptr);  // a null entry is allowed and skipped by destruction
  list.Clear();
  EXPECT_EQ(list.Count().Value, 0);
}

TEST(CStrList, HoldsCopies) {
  CStrList list;
  CStr text = "one";
  list.AddString(text);
  text = "changed";
  list.InsertString(0, "zero");
  list.SetString("uno", 1);
  EXPECT_EQ(list.GetString(0), "zero");
  EXPECT_EQ(list.GetString(1), "uno");
  EXPECT_EQ(list.Count().Value, 2);
}

// Views that remember a walk over the project tree rely on this count to know the tree is as
// they left it.
TEST(CList, EveryChangeOfContentsIsCountedByTheApplicationAndNothingElse) {
  CApp app;
  std::vector<int> log;
  CList list;
  list.Add(new Probe(&log, 0));
  list.Add(new Probe(&log, 1));
  Probe* loose = new Probe(&log, 2);
  const struct {
    const char* what;
    std::function<void()> act;
    bool changes;
  } steps[] = {
      {"Add", [&] { list.Add(new Probe(&log, 3)); }, true},
      {"Insert", [&] { list.Insert(0, new Probe(&log, 4)); }, true},
      {"Exchange", [&] { list.Exchange(0, 1); }, true},
      {"Set",
       [&] {
         delete list.Get(0);
         list.Set(new Probe(&log, 5), 0);
       },
       true},
      {"Remove",
       [&] {
         delete list.Get(0);
         list.Remove(0);
       },
       true},
      {"Delete", [&] { list.Delete(0); }, true},
      {"DeleteObject",
       [&] {
         list.Add(loose);
         list.DeleteObject(loose);
       },
       true},
      {"Clear", [&] { list.Clear(); }, true},
      {"reads",
       [&] {
         list.Count();
         list.Get(0);
         list.IndexOf(nullptr);
       },
       false},
      {"growing", [&] { list.SetCapacity(30); }, false},
      {"Clear of an empty list", [&] { list.Clear(); }, false},
      {"RemoveAll of an empty list", [&] { list.RemoveAll(); }, false},
      {"out of range",
       [&] {
         list.Delete(7);
         list.Exchange(0, 9);
         list.Remove(-1);
       },
       false},
  };
  for (const auto& step : steps) {
    const std::uint64_t before = app.ListChanges;
    step.act();
    EXPECT_EQ(app.ListChanges > before, step.changes) << step.what;
  }
}
