#include "model/NameManager.h"

CNameManager::~CNameManager() {
  // Entries' items are objects too; they must not look themselves up in a dying index.
  Index.clear();
  Entries.Clear();
}

CStr CNameManager::NameOf(const CObject* object) const {
  if (!object || !object->named_) return CStr();
  const auto found = Index.find(object);
  if (found == Index.end()) return CStr();
  return Entries.GetAs<CItem>(found->second)->Name;
}

void CNameManager::SetNameOf(const CObject* object, const CStr& name) {
  const auto [at, added] = Index.try_emplace(object, Entries.Count().Value);
  if (!added) {
    Entries.GetAs<CItem>(at->second)->Name = name;
    return;
  }
  if (object) object->named_ = true;
  auto* item = new CItem;
  item->Object = object;
  item->Name = name;
  Entries.Add(item);
}

void CNameManager::Forget(const CObject* object) {
  if (!object || !object->named_ || Index.empty()) return;
  const auto found = Index.find(object);
  if (found == Index.end()) return;
  // Move the last item into the hole: the order of entries means nothing to anyone.
  const std::int32_t at = found->second;
  const std::int32_t last = Entries.Count().Value - 1;
  Index.erase(found);
  if (at != last) {
    Entries.Exchange(at, last);
    Index[Entries.GetAs<CItem>(at)->Object] = at;
  }
  Entries.Delete(last);
}
