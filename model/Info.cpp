#include "model/Info.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/App.h"
#include "core/Cp1251.h"
#include "model/ClassManager.h"
#include "model/NameManager.h"
#include "model/RecordReader.h"

namespace {

// Everything after a record's length field when the strings are empty: class name, name,
// About, Extra (4 each), the reserved byte and the child count.
constexpr std::int32_t kRecordHeadBytes = 4 + 4 + 4 + 4 + 1 + 4;
constexpr std::int32_t kMinRecordBytes = 4 + kRecordHeadBytes;

// A class name from a damaged record can be anything; show a readable piece of it.
CStr Shown(const CStr& name) {
  return name.Length().Value <= 64 ? name : name.SubStr(0, 64) + "...";
}

// The lines of a node that saving it reads first: the header and the fields of most kinds.
void FetchFields(const CObject* node) {
  const auto* bytes = reinterpret_cast<const char*>(node);
  for (int line = 0; line < 5; ++line) __builtin_prefetch(bytes + 64 * line);
}

}  // namespace

// Creates the nodes of one load. Only tree node classes may come out of a record: creating
// anything else (a form, a timer) by a name found in a file would have effects far outside the
// tree. A file names few classes, so the registry's answer for each is kept for the load: a
// lookup and a walk up the bases for every node was near a tenth of a load.
class CInfo::CNodeMaker {
 public:
  CInfo* Make(const CStr& className) {
    Known& known = KnownOf(className);
    if (!known.factory) return nullptr;
    CObject* object = known.factory(nullptr);
    // A factory makes objects of one class: once one of them was seen to be a node, the rest are.
    if (known.makesNodes) return static_cast<CInfo*>(object);
    auto* node = dynamic_cast<CInfo*>(object);
    if (!node) delete object;
    known.makesNodes = node != nullptr;
    return node;
  }

 private:
  struct Known {
    CStr name;
    CFactory factory = nullptr;
    bool makesNodes = false;
  };

  Known& KnownOf(const CStr& className) {
    for (Known& known : known_)
      if (known.name.View() == className.View()) return known;
    // A damaged file may name any number of classes; only the first few are kept.
    if (known_.size() == kKept) {
      asked_ = Known{className, Ask(className)};
      return asked_;
    }
    return known_.emplace_back(Known{className, Ask(className)});
  }

  static CFactory Ask(const CStr& className) {
    CApp* app = CoreApp;
    if (!app || !app->ClassMan) return nullptr;
    const CClassManager& classes = *app->ClassMan;
    static const CStr kNode = "CInfo";
    if (className != kNode && !classes.InheritsFromName(className, kNode)) return nullptr;
    const CClassInfo* record = classes.Find(className);
    return record ? record->Factory : nullptr;
  }

  static constexpr std::size_t kKept = 32;
  std::vector<Known> known_;
  Known asked_;  // the answer for a class beyond the first kKept
};

// [SECTION] Report

CStr CLoadReport::Message() const {
  CStr text;
  if (!Ok()) {
    text = Fault;
  } else if (!Skipped.empty()) {
    text = Skipped.front();
    if (Skipped.size() > 1)
      text += CStr(" (и ещё пропущено: "_cp) + CInt(std::int32_t(Skipped.size() - 1)).ToStr() + ")";
  }
  if (Kept.Length().Value) text = text.Length().Value ? text + "\n" + Kept : Kept;
  return text;
}

// [SECTION] Node

CInfo::CSeldom& CInfo::Seldom() {
  if (!seldom_) seldom_ = std::make_unique<CSeldom>();
  return *seldom_;
}

const CInfo::CSeldom& CInfo::Seldom() const {
  static const CSeldom kUnset;
  return seldom_ ? *seldom_ : kUnset;
}

CStr CInfo::ClassName() const {
  return "CInfo";
}

void CInfo::SaveFields(CStream&) {}
void CInfo::LoadFields(CStream&) {}

void CInfo::UpdateText() {
  Caption = GetName();
}

CStr CInfo::ScopePrefix() const {
  CStr prefix;
  for (const CInfo* a = Parent; a; a = a->Parent) prefix = a->GetName() + "::" + prefix;
  return prefix;
}

void CInfo::Append(CInfo* child) {
  Children.Add(child);
  child->Parent = this;
}

std::int32_t CInfo::LevelsBelow() const {
  // Down the first child, on to the next sibling, up when a node is done: the list holds the
  // path from here, each node with the next of its children to visit, not every node pending.
  std::int32_t deepest = 0;
  std::vector<std::pair<const CInfo*, std::int32_t>> path = {{this, 0}};
  while (!path.empty()) {
    auto& [node, next] = path.back();
    if (next < node->Children.Size()) {
      const auto* child = static_cast<const CInfo*>(node->Children.At(next++));
      path.push_back({child, 0});
      deepest = std::max(deepest, std::int32_t(path.size()) - 1);
    } else {
      path.pop_back();
    }
  }
  return deepest;
}

// [SECTION] Saving

void CInfo::SaveToStream(CStream& stream) {
  SaveLevels(stream, INT32_MAX);
}

bool CInfo::SaveReadable(CStream& stream) {
  return SaveLevels(stream, kMaxDepth - 1);
}

bool CInfo::SaveLevels(CStream& stream, std::int32_t below) {
  // The whole tree passes through here: the name is written from the name manager's own copy,
  // and the children are walked without value-object temporaries.
  static const CStr kNoName;
  const CApp* app = CoreApp;
  const CInt start = stream.GetPosition();
  stream.WriteInt(0);  // the length, once it is known
  stream.WriteStr(ClassName());
  stream.WriteStr(app && app->NameMan ? app->NameMan->NameRef(this) : kNoName);
  stream.WriteStr(About);
  const CSeldom& seldom = std::as_const(*this).Seldom();
  stream.WriteStr(seldom.Extra);
  stream.WriteBool(seldom.Reserved);
  SaveFields(stream);
  stream.WriteInt(Children.Count());
  if (Children.Size() > 0 && below == 0) return false;
  if (Children.Size() > 1) FetchFields(Children.At(1));
  for (std::int32_t i = 0; i < Children.Size(); ++i) {
    // The next siblings are fetched while this one is written, its subtree with it: the one
    // after next, and the name of the next, whose own line was fetched a step before.
    if (i + 2 < Children.Size()) FetchFields(Children.At(i + 2));
    if (i + 1 < Children.Size() && app && app->NameMan) app->NameMan->Fetch(Children.At(i + 1));
    if (!static_cast<CInfo*>(Children.At(i))->SaveLevels(stream, below - 1)) return false;
  }
  const CInt end = stream.GetPosition();
  stream.SetPosition(start);
  stream.WriteInt(end.Value - start.Value - 4);
  stream.SetPosition(end);
  return true;
}

// [SECTION] Loading

void CInfo::LoadFromStream(CStream& stream) {
  Load(stream);
}

CLoadReport CInfo::Load(CStream& stream) {
  // Keep what the node holds, so that a fault can put it all back.
  const CStr oldName = GetName();
  const CStr oldAbout = About;
  const CStr oldExtra = std::as_const(*this).Extra();
  CMemory oldFields;
  SaveFields(oldFields);
  std::vector<CObject*> oldChildren;
  for (std::int32_t i = 0; i < Children.Count().Value; ++i) oldChildren.push_back(Children.Get(i));
  Children.RemoveAll();

  CLoadReport report;
  CRecordReader in(stream);
  CNodeMaker maker;
  const bool read = ReadRecord(in, maker, report, 0);
  // The reader leaves a stream in memory where it was; the stream stops where the reading did.
  stream.SetPosition(in.GetPosition());
  if (read) {
    for (CObject* child : oldChildren) delete child;
    return report;
  }

  report.Fault = in.FaultText();
  report.FaultOffset = in.FaultOffset();
  Children.Clear();
  for (CObject* child : oldChildren) Children.Add(child);
  SetName(oldName);
  About = oldAbout;
  if (seldom_ || oldExtra.Length().Value) Extra() = oldExtra;
  oldFields.SetPosition(0);
  LoadFields(oldFields);
  return report;
}

bool CInfo::ReadRecord(CRecordReader& in, CNodeMaker& maker, CLoadReport& report, int depth) {
  const std::int32_t start = in.GetPosition().Value;
  CInt length;
  in.ReadInt(length);
  if (in.Failed()) return false;
  const std::int32_t left = in.Remaining().Value;
  if (length.Value < kRecordHeadBytes || length.Value > left) {
    in.Fail(start,
            CStr("длина записи "_cp) + length.ToStr() +
                (length.Value > left ? CStr(" больше остатка данных ("_cp) + ByteCount(left) + ")"
                                     : CStr(" меньше наименьшей возможной"_cp)));
    return false;
  }
  const std::int32_t end = start + 4 + length.Value;
  const std::int32_t outer = in.Narrow(end);

  in.SkipStr();  // the class name: this node already has its class
  CStr text;
  in.ReadStr(text);
  if (in.Failed()) return false;
  SetName(text);
  in.ReadStr(About);
  in.ReadStr(text);
  if (seldom_ || text.Length().Value) Extra() = text;
  std::uint8_t reserved = 0;
  in.ReadUChar(&reserved);  // always written as 0 and ignored
  LoadFields(in);
  const CInt count = CRecordReader::ReadCount(in, kMinRecordBytes, "элементов"_cp);
  if (in.Failed()) return false;

  CStr className;  // siblings are mostly of one class: ReadStr keeps an equal text as it is
  for (std::int32_t i = 0; i < count.Value; ++i) {
    const std::int32_t childStart = in.GetPosition().Value;
    CInt childLength;
    in.ReadInt(childLength);
    in.ReadStr(className);
    if (in.Failed()) return false;
    if (childLength.Value < kRecordHeadBytes || childLength.Value > end - childStart - 4) {
      in.Fail(childStart, CStr("длина записи "_cp) + childLength.ToStr() +
                              " не помещается в запись владельца"_cp);
      return false;
    }
    CInfo* child = maker.Make(className);
    if (!child) {
      report.Skipped.push_back(AtOffset(childStart, CStr("пропущен элемент класса \""_cp) +
                                                        Shown(className) +
                                                        "\", которого нет в реестре"_cp));
      in.SetPosition(childStart + 4 + childLength.Value);
      continue;
    }
    in.SetPosition(childStart);
    if (depth + 1 >= kMaxDepth) {
      delete child;
      in.Fail(childStart, CStr("вложенность глубже "_cp) + CInt(kMaxDepth).ToStr() + " уровней"_cp);
      return false;
    }
    if (!child->ReadRecord(in, maker, report, depth + 1)) {
      delete child;
      return false;
    }
    Append(child);
  }

  const std::int32_t at = in.GetPosition().Value;
  if (at != end) {
    in.Fail(at, CStr("запись не кончается на последнем дочернем элементе: лишние "_cp) +
                    ByteCount(end - at));
    return false;
  }
  in.Widen(outer);
  return true;
}
