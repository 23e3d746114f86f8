// The root of every class of the system, and the two abstract classes under the values.
#pragma once

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
  virtual ~CObject();

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
  // Set once the name manager holds an entry for this object: most objects are never named
  // (every temporary value is an object), and they then cost no lookup to ask or to destroy.
  mutable bool named_ = false;
};

class CVar : public CObject {
 public:
  CStr ClassName() const override;
};

class CNum : public CVar {
 public:
  CStr ClassName() const override;
};
