// Object names live here, keyed by object identity, not inside the objects.
#pragma once

#include <unordered_map>

#include "core/List.h"

class CNameManager : public CObject {
 public:
  class CItem : public CObject {
   public:
    const CObject* Object = nullptr;  // the key; never dereferenced
    CStr Name;
  };

  CNameManager() = default;
  ~CNameManager() override;

  CStr NameOf(const CObject* object) const;
  // Every call makes an entry, also for the empty name.
  void SetNameOf(const CObject* object, const CStr& name);
  // Called as an object is destroyed, so no later object inherits its name.
  void Forget(const CObject* object);

  CInt EntryCount() const { return Entries.Count(); }

 private:
  CList Entries;  // of CItem, owned
  // Where each object's item stands in Entries; keeps lookups constant-time in large trees.
  std::unordered_map<const CObject*, std::int32_t> Index;
};
