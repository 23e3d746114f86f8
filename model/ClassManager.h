// The class registry: every library class with its base, unit, description, factory and
// published properties. It creates objects by class name and feeds the property tuner.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/TypeInfo.h"

// Copies the owner's property value into the target value object.
using CGetter = void (*)(CObject* owner, CObject* target);
// Stores the value into the owner.
using CSetter = void (*)(CObject* owner, CObject* value);
// Why the owner cannot take the value, in the user's words; empty when it can.
using CChecker = CStr (*)(CObject* owner, const CObject* value);

// A published property of a registered class.
class CPropInfo : public CInfo {
 public:
  CStr ClassName() const override;  // "CInfo", as the registry's own records are not kinds

  // Through the accessors; nothing happens without one, or without an owner or a value.
  void Get(CObject* owner, CObject* target) const;
  void Set(CObject* owner, CObject* value) const;

  CStr Type;  // the name of the value's class, e.g. "CFloat"
  CBool PropFlag;
  CBool IsObject;  // a composite value whose own properties are shown below it
  CBool ThirdFlag;
  CGetter Getter = nullptr;
  CSetter Setter = nullptr;
  CChecker Checker = nullptr;  // none: any value of the type is taken
};

// One row of a registration table: everything a class needs to be entered.
struct CPropRow {
  const char* Name;
  const char* Type;
  bool IsObject = false;
  CGetter Getter = nullptr;
  CSetter Setter = nullptr;
  bool PropFlag = false;
  CChecker Checker = nullptr;
};

struct CClassRow {
  const char* Name;
  const char* Base;
  const char* Unit;
  const char* About;
  CFactory Factory;
  std::initializer_list<CPropRow> Properties = {};
};

class CClassManager : public CObject {
 public:
  CClassManager() = default;
  CClassManager(const CClassManager&) = delete;
  CClassManager& operator=(const CClassManager&) = delete;

  void Register(CClassInfo* record);  // owned from now on
  // Builds the record of one row and registers it.
  CClassInfo* Register(const CClassRow& row);
  void Register(std::span<const CClassRow> rows);

  // The first record of that name; duplicates are allowed and never found.
  CClassInfo* Find(const CStr& name) const;
  CObject* CreateByName(const CStr& name, CObject* owner = nullptr) const;
  // Follows the registered bases; a class does not inherit from itself.
  CBool InheritsFromName(const CStr& className, const CStr& ancestor) const;

  CInt Count() const { return Classes.Count(); }
  CClassInfo* Get(const CInt& index) const { return Classes.GetAs<CClassInfo>(index); }

 private:
  CList Classes;  // of CClassInfo, owned, in registration order
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  // The first record of each name: loading a large tree asks for every node's class.
  std::unordered_map<std::string, CClassInfo*, Hash, std::equal_to<>> first_;
};

// Factories for the rows: the value and model classes ignore the owner, the controls take it.
template <class T>
CObject* Make(CObject*) {
  return new T;
}
template <class T>
CObject* MakeOwned(CObject* owner) {
  return new T(owner);
}

// Accessors that do nothing, for properties that are shown but not connected.
void NoGet(CObject* owner, CObject* target);
void NoSet(CObject* owner, CObject* value);

// Accessors of a property that is a plain field of the owner: FieldGetter<&CInfo::About>.
// They do nothing when the owner is not of the field's class or the value is of another type.
namespace qx::detail {
template <class>
struct MemberOf;
template <class Owner, class Value>
struct MemberOf<Value Owner::*> {
  using OwnerType = Owner;
  using ValueType = Value;
};
}  // namespace qx::detail

template <auto Field>
void FieldGetter(CObject* owner, CObject* target) {
  using M = qx::detail::MemberOf<decltype(Field)>;
  auto* o = dynamic_cast<typename M::OwnerType*>(owner);
  auto* t = dynamic_cast<typename M::ValueType*>(target);
  if (o && t) *t = o->*Field;
}

template <auto Field>
void FieldSetter(CObject* owner, CObject* value) {
  using M = qx::detail::MemberOf<decltype(Field)>;
  auto* o = dynamic_cast<typename M::OwnerType*>(owner);
  auto* v = dynamic_cast<typename M::ValueType*>(value);
  if (o && v) o->*Field = *v;
}

// The 33 rows of the object core and the project model, in registration order.
std::span<const CClassRow> CoreClassRows();
