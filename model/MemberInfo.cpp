#include "model/MemberInfo.h"

#include <utility>

#include "core/Cp1251.h"
#include "model/RecordReader.h"

// [SECTION] CMemberInfo

CStr CMemberInfo::ClassName() const {
  return "CMemberInfo";
}

void CMemberInfo::SaveFields(CStream& stream) {
  stream.WriteStr(Type);
  stream.WriteInt(Access);
  stream.WriteBool(MemberFlag);
}

void CMemberInfo::LoadFields(CStream& stream) {
  stream.ReadStr(Type);
  stream.ReadInt(Access);
  stream.ReadBool(MemberFlag);
}

// [SECTION] CAtrInfo

CStr CAtrInfo::ClassName() const {
  return "CAtrInfo";
}

void CAtrInfo::UpdateText() {
  Caption = Type.Length().Value ? Type + " " + GetName() : GetName();
}

// [SECTION] CParamInfo

CStr CParamInfo::ClassName() const {
  return "CInfo";
}

// [SECTION] COperInfo

CStr COperInfo::ClassName() const {
  return "COperInfo";
}

CParamInfo* COperInfo::AddParam(const CStr& type, const CStr& name, const CStr& about) {
  auto* param = new CParamInfo;
  param->Type = type;
  param->SetName(name);
  param->About = about;
  param->Parent = this;
  Params.Add(param);
  return param;
}

COperInfo::CRarelySet& COperInfo::Rare() {
  if (!rare_) rare_ = std::make_unique<CRarelySet>();
  return *rare_;
}

const COperInfo::CRarelySet& COperInfo::Rare() const {
  static const CRarelySet kUnset;
  return rare_ ? *rare_ : kUnset;
}

void COperInfo::SaveFields(CStream& stream) {
  CMemberInfo::SaveFields(stream);
  stream.WriteUChar(OperMode);
  stream.WriteBool(IsOperator);
  stream.WriteStr(Code);
  for (const CStr& code : std::as_const(*this).Rare().Codes) stream.WriteStr(code);
  stream.WriteInt(Params.Count());
  for (std::int32_t i = 0; i < Params.Count().Value; ++i) {
    CParamInfo* param = Param(i);
    stream.WriteStr(param->Type);
    stream.WriteStr(param->GetName());
    stream.WriteStr(param->About);
  }
}

void COperInfo::LoadFields(CStream& stream) {
  CMemberInfo::LoadFields(stream);
  stream.ReadUChar(&OperMode);
  stream.ReadBool(IsOperator);
  stream.ReadStr(Code);
  CStr text;
  for (int i = 0; i < CRarelySet::kCodes; ++i) {
    stream.ReadStr(text);
    if (rare_ || text.Length().Value) Rare().Codes[i] = text;
  }
  Params.Clear();
  // A parameter is three counted strings, at least 12 bytes.
  const CInt count = CRecordReader::ReadCount(stream, 12, "параметров"_cp);
  CStr name;
  for (std::int32_t i = 0; i < count.Value; ++i) {
    // Read straight into the parameter, as AddParam would leave it, without copies.
    auto* param = AddParam("", "");
    stream.ReadStr(param->Type);
    stream.ReadStr(name);
    stream.ReadStr(param->About);
    param->SetName(name);
  }
}

void COperInfo::UpdateText() {
  CStr text;
  if (Type.Length().Value) text = Type + " ";
  if (IsOperator) text += "operator ";
  text += GetName() + "(";
  for (std::int32_t i = 0; i < Params.Count().Value; ++i) {
    if (i > 0) text += ", ";
    text += Param(i)->Type;
  }
  Caption = text + ")";
}
