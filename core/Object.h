// The root of every class of the system, and the two abstract classes under the values.
#pragma once

#include <cstdint>

class CStr;
class CBool;
class CStream;
class CClassInfo;

class CObject {
 public:
  CObject() = default;
  // An object's name belongs to its identity, so a copy starts without one.
  CObject(const CObject&) {}
  CObject& operator=(const CObject&) { return *this; }

  // The name manager forgets a destroyed object, so a later object at the same address never
  // reports its name.
  virtual ~CObject() {
    if (named_) Unname();  // most objects, the value temporaries above all, never had a name
  }

  virtual void Free();
  virtual CStr ClassName() const;
  virtual void SaveToStream(CStream& stream);
  virtual void LoadFromStream(CStream& stream);
  virtual CClassInfo* GetClassInfo() const;
  virtual CStr BaseClassName() const;
  virtual CBool InheritsFrom(const CStr& name) const;
  virtual CObject* NewInstance() const;
  virtual CStr GetName() const;
  virtual void SetName(const CStr& name);
  virtual CBool IsControl() const;

 private:
  friend class CNameManager;
  void Unname() const;
  // Set once the name manager holds an entry for this object: most objects are never named
  // (every temporary value is an object), and they then cost no lookup to ask or to destroy.
  mutable std::uint32_t named_ : 1 = 0;
  // Where the name manager that first named the object put its entry; the manager checks it
  // against its own entries before trusting it. Shares the word with named_, so objects do not
  // grow.
  mutable std::uint32_t nameSlot_ : 31 = 0x7FFFFFFF;
};

class CVar : public CObject {
 public:
  CStr ClassName() const override;
};

class CNum : public CVar {
 public:
  CStr ClassName() const override;
};
