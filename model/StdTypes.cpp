#include "model/StdTypes.h"

// [SECTION] Types

namespace {

struct TypeRow {
  const char* Name;
  std::int32_t Size;
};

constexpr TypeRow kTypes[] = {
    {"void", 0},  {"char", 1},   {"short", 2}, {"long", 4}, {"int", 4},
    {"uchar", 1}, {"ushort", 2}, {"ulong", 4}, {"uint", 4},
};

}  // namespace

CStdTypeMan::CStdTypeMan() {
  for (const TypeRow& row : kTypes) AddType(row.Name, row.Size, true);
}

void CStdTypeMan::AddType(const CStr& name, const CInt& size, const CBool& standard) {
  auto* type = new CTypeInfo;
  type->SetName(name);
  type->Sized = true;
  type->ByteSize = size;
  type->Standard = standard;
  Types.Add(type);
}

CTypeInfo* CStdTypeMan::FindStdType(const CStr& name) const {
  for (std::int32_t i = 0; i < Types.Count().Value; ++i)
    if (Get(i)->GetName() == name) return Get(i);
  return nullptr;
}

// [SECTION] Operators

namespace {

struct OperRow {
  const char* Symbol;
  const char* Type;  // the result and both operands; "" for the untyped entries
  std::int32_t Priority;
  const char* Template;
};

// The templates keep their placeholder words unexpanded, as the code generator would see them.
constexpr OperRow kOpers[] = {
    {"+", "uint8", 20, "add al, cl"},
    {"+", "uint16", 20, "add ax, cx"},
    {"+", "uint32", 20, "add ax, cx \r\n adc dx, bx"},
    {"-", "uint8", 21, "sub al, cl"},
    {"-", "uint16", 21, "sub ax, cx"},
    {"-", "uint32", 21, "sub ax, cx \r\n sbb dx, bx"},
    {"*", "uint16", 10, "mul cx"},
    {"*", "int16", 10, "imul cx"},
    {"/", "uint16", 11, "div cx"},
    {"/", "int16", 11, "idiv cx"},
    {"=", "uint8", 100, "mov Op1, al"},
    {"=", "int8", 100, "mov Op1, al"},
    {"=", "uint16", 100, "mov Op1, ax"},
    {"=", "int16", 100, "mov Op, ax"},
    {"=", "uint32", 100, "mov Op1, ax \r\n mov Op2, dx"},
    {"=", "int32", 100, "mov Op1, ax \r\n mov Op2, dx"},
    {".", "", 5, ""},
    {"->", "", 5, ""},
    {"&", "", 7, ""},
    {"==", "", 90, ""},
    {"sizeof", "", 90, ""},
    {"new", "", 90, ""},
    {"delete", "", 90, ""},
};

}  // namespace

CStdOperMan::CStdOperMan() {
  for (const OperRow& row : kOpers) {
    CStrList operands;
    if (*row.Type) {
      operands.AddString(row.Type);
      operands.AddString(row.Type);
    }
    AddOper(row.Symbol, row.Type, row.Priority, operands, row.Template, 0);
  }
}

void CStdOperMan::AddOper(const CStr& symbol, const CStr& resultType, std::int32_t priority,
                          const CStrList& operandTypes, const CStr& templ, const CInt& flag) {
  auto* oper = new COper;
  oper->Symbol = symbol;
  oper->ResultType = resultType;
  oper->Priority = priority;
  oper->OperFlag = flag;
  oper->Template = templ;
  CStr signature = symbol + "(";
  for (std::int32_t i = 0; i < operandTypes.Count().Value; ++i) {
    if (i > 0) signature += ", ";
    signature += operandTypes.GetString(i);
    oper->OperandTypes->AddString(operandTypes.GetString(i));
  }
  oper->Signature = signature + ")";
  Opers.Add(oper);
}
