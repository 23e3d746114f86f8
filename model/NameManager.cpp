#include "model/NameManager.h"

// [SECTION] Index

std::size_t CNameManager::CPlaceIndex::Home(std::uintptr_t key) const {
  // Fibonacci hashing: the multiply spreads the aligned, clustered addresses over the table.
  return std::size_t((std::uint64_t(key) * 0x9E3779B97F4A7C15ull) >> shift_);
}

std::size_t CNameManager::CPlaceIndex::Probe(std::uintptr_t key) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = Home(key);
  while (slots_[i].key != key && slots_[i].key != kFree) i = (i + 1) & mask;
  return i;
}

std::int32_t CNameManager::CPlaceIndex::Find(const CObject* object) const {
  if (count_ == 0) return -1;  // the usual case, without hashing
  const Slot& slot = slots_[Probe(reinterpret_cast<std::uintptr_t>(object))];
  return slot.key == kFree ? -1 : slot.at;
}

std::pair<std::int32_t*, bool> CNameManager::CPlaceIndex::Insert(const CObject* object,
                                                                 std::int32_t at) {
  if (2 * (count_ + 1) > slots_.size()) Grow();
  const auto key = reinterpret_cast<std::uintptr_t>(object);
  Slot& slot = slots_[Probe(key)];
  if (slot.key == key) return {&slot.at, false};
  slot = {key, at};
  ++count_;
  return {&slot.at, true};
}

void CNameManager::CPlaceIndex::Erase(const CObject* object) {
  if (count_ == 0) return;
  const std::size_t mask = slots_.size() - 1;
  std::size_t hole = Probe(reinterpret_cast<std::uintptr_t>(object));
  if (slots_[hole].key == kFree) return;
  // Pull later entries of the run back into the hole when their home allows it, so every
  // entry stays reachable from its home without tombstones.
  for (std::size_t j = (hole + 1) & mask; slots_[j].key != kFree; j = (j + 1) & mask) {
    const std::size_t home = Home(slots_[j].key);
    if (((j - home) & mask) >= ((j - hole) & mask)) {
      slots_[hole] = slots_[j];
      hole = j;
    }
  }
  slots_[hole] = Slot{};
  --count_;
}

void CNameManager::CPlaceIndex::Clear() {
  slots_.clear();
  count_ = 0;
  shift_ = 64;
}

void CNameManager::CPlaceIndex::Grow() {
  std::vector<Slot> old(slots_.empty() ? 16 : 2 * slots_.size());
  old.swap(slots_);
  shift_ = 64;
  for (std::size_t n = slots_.size(); n > 1; n >>= 1) --shift_;
  for (const Slot& slot : old)
    if (slot.key != kFree) slots_[Probe(slot.key)] = slot;
}

// [SECTION] Names

CNameManager::~CNameManager() {
  // The names are objects too; they must not look themselves up in a dying index.
  Index.Clear();
  Entries.clear();
}

std::int32_t CNameManager::Find(const CObject* object) const {
  if (object && !object->named_) return -1;
  // Only our own items are read here, never the object behind a key: the slot may be another
  // manager's, or stale.
  if (object && object->nameSlot_ < Entries.size() && Entries[object->nameSlot_].Object == object)
    return std::int32_t(object->nameSlot_);
  return Index.Find(object);
}

std::unique_lock<std::mutex> CNameManager::Guard() const {
  return shared_ ? std::unique_lock<std::mutex>(mutex_) : std::unique_lock<std::mutex>();
}

CInt CNameManager::EntryCount() const {
  const auto guard = Guard();
  return std::int32_t(Entries.size());
}

CStr CNameManager::NameOf(const CObject* object) const {
  if (!object) return CStr();
  const auto guard = Guard();
  const std::int32_t at = Find(object);
  return at < 0 ? CStr() : Entries[size_t(at)].Name;
}

const CStr& CNameManager::NameRef(const CObject* object) const {
  static const CStr kNone;
  const std::int32_t at = object ? Find(object) : -1;
  return at < 0 ? kNone : Entries[size_t(at)].Name;
}

void CNameManager::SetNameOf(const CObject* object, const CStr& name) {
  const auto guard = Guard();
  if (const std::int32_t at = Find(object); at >= 0) {
    Entries[size_t(at)].Name = name;
    return;
  }
  const auto at = std::int32_t(Entries.size());
  Entries.push_back(CEntry{object, name});
  if (object && !object->named_) {
    object->named_ = 1;
    object->nameSlot_ = std::uint32_t(at);
  } else {
    // An object already named elsewhere keeps the slot that manager relies on.
    *Index.Insert(object, at).first = at;
  }
}

void CNameManager::Forget(const CObject* object) {
  if (!object || !object->named_) return;
  const auto guard = Guard();
  const std::int32_t at = Find(object);
  if (at < 0) return;
  Index.Erase(object);
  // Move the last item into the hole: the order of entries means nothing to anyone. Its
  // object's slot no longer leads to it, so the index does. A tree is destroyed in the reverse
  // of the order it was named in, so that is mostly the item forgotten itself; the old tree a
  // load replaces is the exception, and moves every item of the new one into the index.
  const auto last = std::int32_t(Entries.size()) - 1;
  if (at != last) {
    std::swap(Entries[size_t(at)], Entries[size_t(last)]);
    *Index.Insert(Entries[size_t(at)].Object, at).first = at;
  }
  Entries.pop_back();
}
