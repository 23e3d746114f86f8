#include "model/TypeInfo.h"

#include <cstdint>
#include <vector>

#include "core/App.h"
#include "model/InfoMan.h"
#include "model/MemberInfo.h"
#include "model/StdTypes.h"
#include "storage/Stream.h"

namespace {

CTypeInfo* FindStdType(const CStr& name) {
  CApp* app = CoreApp;
  return app && app->TypeMan ? app->TypeMan->FindStdType(name) : nullptr;
}

CInfoMan* Infos() {
  CApp* app = CoreApp;
  return app ? &app->InfoMan : nullptr;
}

// Marks a node as being sized for as long as the guard lives.
class CSizing {
 public:
  explicit CSizing(bool& flag) : flag_(flag) { flag_ = true; }
  ~CSizing() { flag_ = false; }
  CSizing(const CSizing&) = delete;
  CSizing& operator=(const CSizing&) = delete;

 private:
  bool& flag_;
};

}  // namespace

// [SECTION] CTypeInfo

CStr CTypeInfo::ClassName() const {
  return "CTypeInfo";
}

void CTypeInfo::SaveFields(CStream& stream) {
  stream.WriteInt(ByteSize);
  stream.WriteStr(BaseType);
  stream.WriteInt(Pointer);
}

void CTypeInfo::LoadFields(CStream& stream) {
  stream.ReadInt(ByteSize);
  stream.ReadStr(BaseType);
  stream.ReadInt(Pointer);
}

void CTypeInfo::UpdateText() {
  Caption = GetName() + ": ";
  if (TypeKind.Value == 0 || (TypeKind.Value == 1 && TypeSubKind.Value == 1)) {
    if (Pointer.Value != 0) Caption += "*";
    Caption += BaseType;
  } else if (TypeKind.Value == 1 && TypeSubKind.Value == 0) {
    Caption += CStr("(") + ByteSize.ToStr() + ")";
  }
}

CInt CTypeInfo::CalcSize() {
  if (Pointer.Value > 0) return 4;
  // The chain of base types is followed by name; a name met twice is a cycle.
  std::vector<const CTypeInfo*> seen;
  const CTypeInfo* t = this;
  for (;;) {
    if (t->Sized) return t->ByteSize;
    seen.push_back(t);
    CTypeInfo* found = FindStdType(t->BaseType);
    if (!found) {
      CInfoMan* infos = Infos();
      found = infos ? infos->FindTypeInScope(this, t->BaseType) : nullptr;
    }
    if (!found) return -1;
    if (found->Pointer.Value > 0) return 4;
    for (const CTypeInfo* s : seen)
      if (s == found) return -1;
    t = found;
  }
}

// [SECTION] CStructInfo

CStr CStructInfo::ClassName() const {
  return "CStructInfo";
}
void CStructInfo::SaveFields(CStream&) {}
void CStructInfo::LoadFields(CStream&) {}
void CStructInfo::UpdateText() {
  Caption = CStr("struct ") + GetName();
}

CInt CStructInfo::CalcSize() {
  std::unordered_map<const CInfo*, std::int64_t> known;
  return static_cast<std::int32_t>(SumSizes(known));
}

std::int64_t CStructInfo::SumSizes(std::unordered_map<const CInfo*, std::int64_t>& known) {
  if (const auto found = known.find(this); found != known.end()) return found->second;
  // A structure that holds itself, directly or through others, has no size.
  if (sizing_) return -1;
  CSizing guard(sizing_);
  CInfoMan* infos = Infos();
  auto sum = [&]() -> std::int64_t {
    std::int64_t total = 0;
    for (std::int32_t i = 0; i < ChildCount().Value; ++i) {
      CInfo* child = Child(i);
      if (child->ClassName() != "CAtrInfo") continue;  // other members take no room
      auto* atr = dynamic_cast<CAtrInfo*>(child);
      if (!atr) continue;
      const CStr& type = atr->Type;
      CTypeInfo* found = FindStdType(type);
      if (!found && infos) found = infos->FindTypeInScope(this, type);
      if (!found && infos) found = infos->FindStructInScope(this, type);
      if (!found && infos) found = infos->FindClassInScope(this, type);
      std::int64_t size = 0;
      if (found) {
        auto* structure = dynamic_cast<CStructInfo*>(found);
        size = structure ? structure->SumSizes(known) : found->CalcSize().Value;
      } else {
        // A type that names an operation: a member function pointer when the flag says so.
        COperInfo* oper = infos ? infos->FindOperInScope(this, type) : nullptr;
        size = oper && oper->MemberFlag ? 4 : -1;
      }
      if (size < 0) return -1;
      total += size;
      if (total > INT32_MAX) return -1;  // no 32-bit count holds it
    }
    return total;
  };
  const std::int64_t total = sum();
  known[this] = total;
  return total;
}

// [SECTION] CClassInfo

CStr CClassInfo::ClassName() const {
  return "CClassInfo";
}

void CClassInfo::SaveFields(CStream& stream) {
  CTypeInfo::SaveFields(stream);
  stream.WriteStr(Base);
  stream.WriteInt(Kind);
}

void CClassInfo::LoadFields(CStream& stream) {
  CTypeInfo::LoadFields(stream);
  stream.ReadStr(Base);
  stream.ReadInt(Kind);
}

void CClassInfo::UpdateText() {
  Caption = CStr("class ") + GetName();
}

// [SECTION] CEventTypeInfo

CStr CEventTypeInfo::ClassName() const {
  return "CEventTypeInfo";
}
