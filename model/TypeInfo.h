// Type kinds: types, structures and classes, which can compute their size, and event types.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "model/Info.h"

// Makes a new object of a registered class; controls take their parent as the owner.
using CFactory = CObject* (*)(CObject* owner);

class CTypeInfo : public CInfo {
 public:
  CStr ClassName() const override;
  void SaveFields(CStream& stream) override;  // int ByteSize, str BaseType, int Pointer
  void LoadFields(CStream& stream) override;
  // name + ": ", then "*" and BaseType, or "(" + ByteSize + ")" for an array form
  void UpdateText() override;
  // The size in bytes, or -1 when it cannot be found (also for a cycle of types).
  virtual CInt CalcSize();

  CInt Pointer;      // non-zero: a pointer to BaseType, 4 bytes
  CInt TypeKind;     // 0 or 1: which caption form
  CInt TypeSubKind;  // 0 or 1, with TypeKind 1
  CBool Sized;       // ByteSize is the size
  CBool Standard;    // one of the built-in types
  CInt ByteSize;
  CStr BaseType;

 protected:
  // Set while this node's size is being computed: meeting it again means a cycle.
  bool sizing_ = false;
};

class CStructInfo : public CTypeInfo {
 public:
  CStr ClassName() const override;
  // A structure keeps none of its type fields.
  void SaveFields(CStream& stream) override;
  void LoadFields(CStream& stream) override;
  void UpdateText() override;  // "struct " + name
  // The sum of its attributes' sizes.
  CInt CalcSize() override;

 private:
  // The sum, with the structures already sized in this computation kept in `known`: a
  // structure reached along many paths is summed once. -1 when there is no size.
  std::int64_t SumSizes(std::unordered_map<const CInfo*, std::int64_t>& known);
};

// A class of the modelled program, and also the record of a class in the class registry.
class CClassInfo : public CStructInfo {
 public:
  CStr ClassName() const override;
  // The type fields, then str Base, int Kind.
  void SaveFields(CStream& stream) override;
  void LoadFields(CStream& stream) override;
  void UpdateText() override;  // "class " + name

  CBool ClassFlag;
  CInt Kind;  // in the registry: 0 for CObject, 2 for every other class
  CStr Base;  // the base class's name
  CFactory Factory = nullptr;
  CList Properties;  // of CPropInfo, owned; the registry's published properties
  CStr Unit;
};

// An event type; nothing of it is saved beyond the node itself.
class CEventTypeInfo : public CInfo {
 public:
  CStr ClassName() const override;

  CStr ReturnType;    // the return type's name
  CStr EventText;     // free; empty in everything the system creates
  CInt PointerLevel;  // the "*" before the function-pointer name
};
