// Object names live here, keyed by object identity, not inside the objects.
#pragma once

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "core/Object.h"
#include "core/Str.h"

class CNameManager : public CObject {
 public:
  CNameManager() = default;
  ~CNameManager() override;

  CStr NameOf(const CObject* object) const;
  // The same without a copy, for walks over many objects (saving a tree, comparing names):
  // valid until a name is set or forgotten.
  const CStr& NameRef(const CObject* object) const;
  // Asks the memory for the object's entry ahead of a NameRef soon after, for walks over large
  // trees, where each entry is a miss in the cache. The object itself should be cached by then.
  void Fetch(const CObject* object) const {
    if (object->named_ && object->nameSlot_ < Entries.size())
      __builtin_prefetch(&Entries[object->nameSlot_]);
  }
  // Every call makes an entry, also for the empty name.
  void SetNameOf(const CObject* object, const CStr& name);
  // Called as an object is destroyed, so no later object inherits its name.
  void Forget(const CObject* object);

  CInt EntryCount() const;

  // While true, the calls above may come from two threads at once (a project tree loading on a
  // thread of its own names its nodes while the window is built); otherwise they take no lock.
  // Changed only while one thread alone uses the manager.
  void SetShared(bool shared) { shared_ = shared; }

 private:
  // Object -> place of its item in Entries, for the items their object's own slot does not give
  // (items moved when another was forgotten, the null object, objects first named by another
  // manager). Open addressing on the pointer, at most half full; usually nearly empty.
  class CPlaceIndex {
   public:
    std::int32_t Find(const CObject* object) const;  // -1 when absent
    // The place stored for object, and whether it was just added (with at).
    std::pair<std::int32_t*, bool> Insert(const CObject* object, std::int32_t at);
    void Erase(const CObject* object);
    void Clear();

   private:
    static constexpr std::uintptr_t kFree = ~std::uintptr_t(0);  // no object lives there
    struct Slot {
      std::uintptr_t key = kFree;
      std::int32_t at = 0;
    };
    std::size_t Home(std::uintptr_t key) const;
    std::size_t Probe(std::uintptr_t key) const;  // the key's slot, or the free slot ending its run
    void Grow();

    std::vector<Slot> slots_;  // a power of two long, or empty
    std::size_t count_ = 0;
    int shift_ = 64;
  };

  // The place of object's item in Entries, or -1. The object's own slot answers first: in a
  // tree of 100,000 named nodes, a lookup in a table of every object was most of the time a
  // save or load took.
  std::int32_t Find(const CObject* object) const;

  std::unique_lock<std::mutex> Guard() const;

  // An object's name, held by value: a tree of 100,000 named nodes made as many blocks more,
  // each a call to the allocator and the memory behind it.
  struct CEntry {
    const CObject* Object = nullptr;  // the key; never dereferenced
    CStr Name;
  };
  std::vector<CEntry> Entries;
  CPlaceIndex Index;
  bool shared_ = false;
  mutable std::mutex mutex_;
};
