// The one container of the system: an owning, growable array of object pointers.
#pragma once

#include "core/Values.h"

class CList : public CVar {
 public:
  CList() = default;
  CList(const CList&) = delete;
  CList& operator=(const CList&) = delete;
  ~CList() override;
  void Free() override;

  CInt Count() const { return count_; }
  // The count and the slots as plain values, for walks over large trees that run on every paint.
  std::int32_t Size() const { return count_; }
  CObject* At(std::int32_t index) const { return items_[index]; }  // 0 <= index < Size()
  CInt Capacity() const { return capacity_; }

  void SetCapacity(const CInt& capacity);
  void Add(CObject* object);                        // owned from now on
  void Insert(const CInt& index, CObject* object);  // 0 <= index <= Count
  CObject* Get(const CInt& index) const;            // 0 <= index < Count
  void Set(CObject* object, const CInt& index);     // the old item is not destroyed
  void Exchange(const CInt& i, const CInt& j);
  CInt IndexOf(const CObject* object) const;
  void Delete(const CInt& index);  // destroys the item
  void Remove(const CInt& index);  // hands the item back to the caller
  CInt DeleteObject(const CObject* object);
  CInt RemoveObject(const CObject* object);
  void Clear();
  void RemoveAll();

  template <class T>
  T* GetAs(const CInt& index) const {
    return static_cast<T*>(Get(index));
  }

 private:
  CObject* Take(std::int32_t index);

  std::int32_t count_ = 0;
  std::int32_t capacity_ = 0;
  CObject** items_ = nullptr;
};

class CStrList : public CList {
 public:
  void AddString(const CStr& text);
  void InsertString(const CInt& index, const CStr& text);
  CStr GetString(const CInt& index) const;
  void SetString(const CStr& text, const CInt& index);
};
