#include "core/List.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/App.h"

namespace {

// Not a locked increment: lists change constantly, and a count lost between the two threads of a
// start-up matters to no view (the loading thread's tree is seen by none before the join, whose
// own changes are counted).
void Changed() {
  if (!CoreApp) return;
  std::atomic<std::uint64_t>& changes = CoreApp->ListChanges;
  changes.store(changes.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

}  // namespace

CList::~CList() {
  Clear();
  std::free(items_);
}

void CList::Free() {
  Clear();
  delete this;
}

void CList::SetCapacity(const CInt& capacity) {
  const std::int32_t n = capacity.Value < 0 ? 0 : capacity.Value;
  // The capacity grows ten slots at a time, but the block underneath at least doubles, so a
  // list of 100,000 items is not reallocated 10,000 times; it shrinks only to under half.
  if (n > allocated_ || n < allocated_ / 2 || !items_) {
    const std::int64_t want =
        n > allocated_ ? std::max<std::int64_t>(n, std::int64_t(allocated_) * 2) : n;
    auto* items = static_cast<CObject**>(
        std::realloc(items_, sizeof(CObject*) * std::size_t(want ? want : 1)));
    if (!items) throw std::bad_alloc();
    items_ = items;
    allocated_ = std::int32_t(std::min<std::int64_t>(want, INT32_MAX));
  }
  capacity_ = n;
  if (count_ > capacity_) {
    count_ = capacity_;
    Changed();
  }
}

void CList::Add(CObject* object) {
  if (count_ == capacity_) SetCapacity(capacity_ + 10);
  items_[count_++] = object;
  Changed();
}

void CList::Insert(const CInt& index, CObject* object) {
  if (count_ == capacity_) SetCapacity(capacity_ + 10);
  const std::int32_t at = index.Value < 0 ? 0 : index.Value > count_ ? count_ : index.Value;
  std::memmove(items_ + at + 1, items_ + at, sizeof(CObject*) * (count_ - at));
  items_[at] = object;
  ++count_;
  Changed();
}

CObject* CList::Get(const CInt& index) const {
  if (!items_ || index.Value < 0 || index.Value >= count_) return nullptr;
  return items_[index.Value];
}

void CList::Set(CObject* object, const CInt& index) {
  if (!items_ || index.Value < 0 || index.Value >= count_) return;
  items_[index.Value] = object;
  Changed();
}

void CList::Exchange(const CInt& i, const CInt& j) {
  if (i.Value < 0 || j.Value < 0 || i.Value >= count_ || j.Value >= count_) return;
  std::swap(items_[i.Value], items_[j.Value]);
  Changed();
}

CInt CList::IndexOf(const CObject* object) const {
  for (std::int32_t i = 0; i < count_; ++i)
    if (items_[i] == object) return i;
  return -1;
}

CObject* CList::Take(std::int32_t index) {
  if (!items_ || index < 0 || index >= count_) return nullptr;
  CObject* item = items_[index];
  std::memmove(items_ + index, items_ + index + 1, sizeof(CObject*) * (count_ - index - 1));
  --count_;
  Changed();
  return item;
}

void CList::Delete(const CInt& index) {
  if (!items_ || index.Value < 0 || index.Value >= count_) return;
  delete Take(index.Value);
}

void CList::Remove(const CInt& index) {
  Take(index.Value);
}

CInt CList::DeleteObject(const CObject* object) {
  const CInt index = IndexOf(object);
  Delete(index);
  return index;
}

CInt CList::RemoveObject(const CObject* object) {
  const CInt index = IndexOf(object);
  Remove(index);
  return index;
}

void CList::Clear() {
  if (count_ > 0) Changed();
  // From the end, so nothing moves.
  while (count_ > 0) delete items_[--count_];
}

void CList::RemoveAll() {
  if (count_ > 0) Changed();
  count_ = 0;
}

void CStrList::AddString(const CStr& text) {
  Add(new CStr(text));
}

void CStrList::InsertString(const CInt& index, const CStr& text) {
  Insert(index, new CStr(text));
}

CStr CStrList::GetString(const CInt& index) const {
  const CObject* item = Get(index);
  return item ? *static_cast<const CStr*>(item) : CStr();
}

void CStrList::SetString(const CStr& text, const CInt& index) {
  if (!Get(index) && (index.Value < 0 || index.Value >= Count().Value)) return;
  // The copy comes first: the text may be the very item it replaces.
  auto* copy = new CStr(text);
  delete GetAs<CStr>(index);
  Set(copy, index);
}
