// The configuration image on a memory stream: exact bytes of the header and the tree, and the
// faults of files that are not whole images.
#include <gtest/gtest.h>

#include <functional>

#include "core/App.h"
#include "model/Kinds.h"
#include "storage/Config.h"
#include "tests/model/Records.h"

namespace {

const Bytes kHeader = {0x51, 0x78, 0x05, 0x00, 0x05, 0x00, 0x00, 0x00,
                       0x43, 0x46, 0x69, 0x6C, 0x65, 0x05, 0x00};

Bytes ConfigBytes(CInfo& root) {
  CMemory m;
  WriteConfig(m, root);
  return Contents(m);
}

}  // namespace

TEST(ConfigImage, AnEmptyTreeIsTheHeaderAndThirtyBytes) {
  CApp app;
  const Bytes bytes = ConfigBytes(app.InfoMan.Root);
  ASSERT_EQ(bytes.size(), 45u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 15), kHeader);
  EXPECT_EQ(IntAt(bytes, 15), 26);
}

TEST(ConfigImage, ATreeReadsBackIntoTheRoot) {
  CApp app;
  auto* group = new CProjectGroupInfo;
  group->SetName("Work");
  app.InfoMan.Root.Append(group);
  auto* unit = new CUnitInfo;
  unit->SetName("Main");
  group->Append(unit);
  const Bytes bytes = ConfigBytes(app.InfoMan.Root);

  CInfo other;
  CMemory m;
  Fill(m, bytes);
  const CLoadReport report = ReadConfig(m, other);
  ASSERT_TRUE(report.Ok()) << report.Fault;
  ASSERT_EQ(other.ChildCount().Value, 1);
  EXPECT_EQ(other.Child(0)->Child(0)->GetName(), "Main");
  EXPECT_EQ(ConfigBytes(other), bytes);
}

TEST(ConfigImage, WhatIsNotAWholeImageIsRefused) {
  CApp app;
  auto* unit = new CUnitInfo;
  unit->SetName("U");
  app.InfoMan.Root.Append(unit);
  const Bytes valid = ConfigBytes(app.InfoMan.Root);
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
    std::int32_t offset;
  } cases[] = {
      {"empty file", [](Bytes& b) { b.clear(); }, 0},
      {"one byte", [](Bytes& b) { b.resize(1); }, 0},
      {"wrong magic", [](Bytes& b) { b[1] = 'X'; }, 0},
      {"header cut in the type name", [](Bytes& b) { b.resize(10); }, 4},
      {"huge type name length", [](Bytes& b) { PutInt(b, 4, 0x7FFFFFF0); }, 4},
      {"only the header", [](Bytes& b) { b.resize(15); }, 15},
      {"root cut short", [](Bytes& b) { b.pop_back(); }, 15},
      {"bytes after the root", [&](Bytes& b) { b.push_back(0); }, std::int32_t(valid.size())},
      // The root record's class name follows its length: "CInfo" and nothing else.
      {"root of another class", [](Bytes& b) { b[23] = 'G'; }, 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes = valid;
    c.damage(bytes);
    CInfo root;
    auto* keep = new CVarInfo;
    keep->SetName("keep");
    root.Append(keep);
    CMemory m;
    Fill(m, bytes);
    const CLoadReport report = ReadConfig(m, root);
    ASSERT_FALSE(report.Ok());
    EXPECT_EQ(report.FaultOffset.Value, c.offset) << report.Fault;
    ASSERT_EQ(root.ChildCount().Value, 1);
    EXPECT_EQ(root.Child(0), keep);
  }
}
