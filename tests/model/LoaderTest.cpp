// Reading records that were not written by us: damaged, cut short or hostile input is refused
// with the offset of the fault and leaves the target as it was; unknown kinds are skipped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>

#include "core/App.h"
#include "model/Kinds.h"
#include "storage/File.h"
#include "tests/model/Records.h"

namespace {

// A root "r" holding a unit "u" holding an operation "f" with one parameter, and where each
// field of interest starts.
struct Sample {
  Bytes bytes;
  std::size_t unit, unitName, unitCount, oper, operCode, paramCount, operCount, end;
};

Sample MakeSample() {
  Sample s;
  Image i;
  i.Int(0).Str("CInfo").Str("r").Str("").Str("").Byte(0).Int(1);
  s.unit = i.bytes.size();
  i.Int(0).Str("CUnitInfo");
  s.unitName = i.bytes.size();
  i.Str("u").Str("").Str("").Byte(0).Str("ue");
  s.unitCount = i.bytes.size();
  i.Int(1);
  s.oper = i.bytes.size();
  i.Int(0).Str("COperInfo").Str("f").Str("").Str("").Byte(0);
  i.Str("int").Int(2).Byte(0).Byte(0).Byte(0);
  s.operCode = i.bytes.size();
  i.Str("x").Str("").Str("").Str("").Str("");
  s.paramCount = i.bytes.size();
  i.Int(1).Str("char").Str("p").Str("");
  s.operCount = i.bytes.size();
  i.Int(0);
  s.end = i.bytes.size();
  PutInt(i.bytes, s.oper, std::int32_t(s.end - s.oper - 4));
  PutInt(i.bytes, s.unit, std::int32_t(s.end - s.unit - 4));
  PutInt(i.bytes, 0, std::int32_t(s.end - 4));
  s.bytes = i.bytes;
  return s;
}

Bytes Saved(CInfo& node) {
  CMemory m;
  node.SaveToStream(m);
  return Contents(m);
}

class Loader : public testing::Test {
 protected:
  CApp app;

  // A node with content of its own, to see that a refused load leaves it alone.
  std::unique_ptr<CInfo> Target() {
    auto target = std::make_unique<CInfo>();
    target->SetName("before");
    target->About = "kept";
    target->Extra() = "kept too";  // a load replaces it, a refused one puts it back
    auto* child = new CUnitInfo;
    child->SetName("child");
    child->UnitExtra = "extra";
    target->Append(child);
    return target;
  }

  CLoadReport LoadInto(CInfo& target, const Bytes& bytes) {
    CMemory m;
    Fill(m, bytes);
    return target.Load(m);
  }

  // The same through a disk file: a memory stream is read in place, any other stream through
  // its reads, and both must find the same tree and the same faults.
  CLoadReport LoadFromFile(CInfo& target, const Bytes& bytes) {
    const auto path =
        std::filesystem::temp_directory_path() / ("qx-loader-" + std::to_string(getpid()));
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    CFile file(CHostPath{path.string()}, CFile::kRead);
    EXPECT_TRUE(file.IsOpen());
    const CLoadReport report = target.Load(file);
    if (report.Ok()) EXPECT_EQ(file.GetPosition().Value, std::int32_t(bytes.size()));
    std::filesystem::remove(path);
    return report;
  }
};

}  // namespace

TEST_F(Loader, TheSampleReadsAsWritten) {
  const Sample s = MakeSample();
  for (const bool fromFile : {false, true}) {
    SCOPED_TRACE(fromFile ? "from a file" : "from memory");
    auto target = Target();
    const CLoadReport report =
        fromFile ? LoadFromFile(*target, s.bytes) : LoadInto(*target, s.bytes);
    ASSERT_TRUE(report.Ok()) << report.Fault;
    EXPECT_TRUE(report.Skipped.empty());
    EXPECT_EQ(Saved(*target), s.bytes);
  }
}

TEST_F(Loader, DamageIsRefusedAtItsOffsetAndChangesNothing) {
  const Sample s = MakeSample();
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
    std::size_t offset;
  } cases[] = {
      {"nothing at all", [](Bytes& b) { b.clear(); }, 0},
      {"cut inside the length", [](Bytes& b) { b.resize(3); }, 0},
      {"cut inside a string", [&](Bytes& b) { b.resize(s.unitName + 6); }, 0},
      {"cut before the last count", [&](Bytes& b) { b.resize(s.operCount); }, 0},
      {"root length beyond the end", [](Bytes& b) { PutInt(b, 0, 0x7FFFFFFF); }, 0},
      {"negative root length", [](Bytes& b) { PutInt(b, 0, -5); }, 0},
      {"root length too small for a record", [](Bytes& b) { PutInt(b, 0, 3); }, 0},
      {"huge name length", [&](Bytes& b) { PutInt(b, s.unitName, 0x40000000); }, s.unitName},
      {"negative name length", [&](Bytes& b) { PutInt(b, s.unitName, -1); }, s.unitName},
      {"code longer than its record", [&](Bytes& b) { PutInt(b, s.operCode, 200); }, s.operCode},
      {"huge child count", [&](Bytes& b) { PutInt(b, s.unitCount, 0x7FFFFFFF); }, s.unitCount},
      {"negative child count", [&](Bytes& b) { PutInt(b, s.unitCount, -1); }, s.unitCount},
      {"more children than there are", [&](Bytes& b) { PutInt(b, s.unitCount, 2); }, s.end},
      {"huge parameter count", [&](Bytes& b) { PutInt(b, s.paramCount, 0x10000000); },
       s.paramCount},
      {"child length beyond its owner", [&](Bytes& b) { PutInt(b, s.oper, IntAt(b, s.oper) + 1); },
       s.oper},
      {"child length short of its content",
       [&](Bytes& b) { PutInt(b, s.oper, IntAt(b, s.oper) - 4); }, s.operCount},
      {"bytes left over inside the root",
       [&](Bytes& b) {
         b.insert(b.end(), 3, 0);
         PutInt(b, 0, IntAt(b, 0) + 3);
       },
       s.end},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes = s.bytes;
    c.damage(bytes);
    auto target = Target();
    const Bytes before = Saved(*target);
    const CLoadReport report = LoadInto(*target, bytes);
    ASSERT_FALSE(report.Ok());
    auto fileTarget = Target();
    EXPECT_EQ(LoadFromFile(*fileTarget, bytes).Fault, report.Fault);
    EXPECT_EQ(Saved(*fileTarget), before);
    EXPECT_EQ(report.FaultOffset.Value, std::int32_t(c.offset)) << report.Fault;
    EXPECT_EQ(
        report.Fault.Pos(CStr("смещение "_cp) + CInt(std::int32_t(c.offset)).ToStr() + ":").Value,
        0)
        << report.Fault;
    EXPECT_EQ(report.Message(), report.Fault);
    EXPECT_EQ(Saved(*target), before);
    EXPECT_EQ(target->Child(0)->Parent, target.get());
  }
}

TEST_F(Loader, ChildrenOfUnknownClassesAreSkippedAndListed) {
  struct Case {
    const char* className;
  } cases[] = {
      {"CNoSuchInfo"}, {"CEventTypeInfo"},  // a kind, but not registered
      {"CInt"},                             // registered, but not a tree node
      {"CObject"},     {""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    Image i;
    i.Int(0).Str("CInfo").Str("r").Str("").Str("").Byte(0).Int(5);
    auto node = [&](const char* className, const char* name) {
      const std::size_t at = i.bytes.size();
      i.Int(0).Str(className).Str(name).Str("").Str("").Byte(0).Int(0);
      PutInt(i.bytes, at, std::int32_t(i.bytes.size() - at - 4));
    };
    // An unknown record with fields and a child of its own: all of it is passed over.
    auto unknown = [&] {
      const std::size_t at = i.bytes.size();
      i.Int(0).Str(c.className).Str("odd").Str("").Str("").Byte(0).Str("fields").Int(1);
      node("CVarInfo", "inner");
      PutInt(i.bytes, at, std::int32_t(i.bytes.size() - at - 4));
      return at;
    };
    // Each class comes twice, among others, so that no answer is taken for another class's.
    node("CVarInfo", "before");
    const std::size_t first = unknown();
    node("CFuncInfo", "after");
    const std::size_t second = unknown();
    node("CVarInfo", "last");
    PutInt(i.bytes, 0, std::int32_t(i.bytes.size() - 4));

    CInfo target;
    const CLoadReport report = LoadInto(target, i.bytes);
    ASSERT_TRUE(report.Ok()) << report.Fault;
    ASSERT_EQ(report.Skipped.size(), 2u);
    for (const auto& [skipped, offset] :
         {std::pair{report.Skipped[0], first}, std::pair{report.Skipped[1], second}}) {
      EXPECT_EQ(skipped.Pos(CStr("смещение "_cp) + CInt(std::int32_t(offset)).ToStr()).Value, 0)
          << skipped;
      EXPECT_GE(skipped.Pos(CStr("\"") + c.className + "\"").Value, 0);
    }
    EXPECT_GE(report.Message().Pos(report.Skipped[0]).Value, 0);
    ASSERT_EQ(target.ChildCount().Value, 3);
    const char* names[] = {"before", "after", "last"};
    const char* classes[] = {"CVarInfo", "CFuncInfo", "CVarInfo"};
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(target.Child(k)->GetName(), names[k]);
      EXPECT_EQ(target.Child(k)->ClassName(), classes[k]);
    }
  }
}

TEST_F(Loader, NestingHasALimit) {
  auto chain = [](int depth) {
    auto root = std::make_unique<CInfo>();
    CInfo* at = root.get();
    for (int i = 1; i < depth; ++i) {
      auto* next = new CInfo;
      at->Append(next);
      at = next;
    }
    return root;
  };
  {
    auto deepest = chain(CInfo::kMaxDepth);
    CInfo target;
    EXPECT_TRUE(LoadInto(target, Saved(*deepest)).Ok());
  }
  auto tooDeep = chain(CInfo::kMaxDepth + 1);
  CInfo target;
  const CLoadReport report = LoadInto(target, Saved(*tooDeep));
  EXPECT_FALSE(report.Ok());
  EXPECT_GE(report.Fault.Pos(CInt(CInfo::kMaxDepth).ToStr()).Value, 0) << report.Fault;
  EXPECT_EQ(target.ChildCount().Value, 0);
}

// Thousands of random corruptions of a varied tree: each is refused with the target untouched,
// or it reads into a tree that saves and reads back to the same bytes.
TEST_F(Loader, RandomCorruptionNeverCrashesOrHangs) {
  CInfo source;
  auto* group = new CProjectGroupInfo;
  group->SetName("Group");
  group->ProjectExtra = "pe";
  source.Append(group);
  auto* pack = new CAppInfo;
  pack->SetName("App");
  group->Append(pack);
  auto* unit = new CUnitInfo;
  unit->SetName("Main");
  pack->Append(unit);
  auto* cls = new CClassInfo;
  cls->SetName("CThing");
  cls->Base = "CObject";
  unit->Append(cls);
  for (int k = 0; k < 3; ++k) {
    auto* oper = new COperInfo;
    oper->SetName(CStr("Op") + CInt(k).ToStr());
    oper->Code = "{ return 1; }";
    oper->AddParam("int", "a", "первый"_cp);
    cls->Append(oper);
    auto* atr = new CAtrInfo;
    atr->SetName(CStr("m") + CInt(k).ToStr());
    atr->Type = "long";
    cls->Append(atr);
  }
  auto* action = new CActionInfo;
  action->Value = 1.5L;
  unit->Append(action);
  unit->Append(new CStructInfo);
  unit->Append(new CTypeInfo);
  const Bytes valid = Saved(source);

  std::mt19937 random(20240601);
  auto pick = [&](std::size_t n) { return std::size_t(random() % (n ? n : 1)); };
  const std::int32_t hostile[] = {-1, 0, 1, 0x7FFFFFFF, INT32_MIN, 0x10000, 25, 1000000};
  int refused = 0, read = 0;
  for (int round = 0; round < 4000; ++round) {
    Bytes bytes = valid;
    switch (round % 5) {
      case 0:
        bytes.resize(pick(bytes.size()));
        break;
      case 1:
        for (int k = 0, n = 1 + int(pick(4)); k < n; ++k) bytes[pick(bytes.size())] ^= 1 << pick(8);
        break;
      case 2:
        PutInt(bytes, pick(bytes.size() - 3), hostile[pick(std::size(hostile))]);
        break;
      case 3:
        bytes.erase(bytes.begin() + std::ptrdiff_t(pick(bytes.size())));
        break;
      case 4:
        bytes.insert(bytes.begin() + std::ptrdiff_t(pick(bytes.size())), std::uint8_t(random()));
        break;
    }
    auto target = Target();
    const Bytes before = Saved(*target);
    const CLoadReport report = LoadInto(*target, bytes);
    if (!report.Ok()) {
      ++refused;
      ASSERT_EQ(Saved(*target), before) << "round " << round;
      continue;
    }
    ++read;
    const Bytes again = Saved(*target);
    CInfo second;
    ASSERT_TRUE(LoadInto(second, again).Ok()) << "round " << round;
    ASSERT_EQ(Saved(second), again) << "round " << round;
  }
  // Both outcomes occur: flipped bits inside texts read fine, cut records never do.
  EXPECT_GT(refused, 1000);
  EXPECT_GT(read, 100);
}
