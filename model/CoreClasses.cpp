// The classes the application object registers: the value classes and the model node kinds.
#include "core/App.h"
#include "core/Cp1251.h"
#include "model/ClassManager.h"
#include "model/Kinds.h"

namespace {

void GetName(CObject* owner, CObject* target) {
  if (auto* t = dynamic_cast<CStr*>(target)) *t = owner->GetName();
}

void SetName(CObject* owner, CObject* value) {
  if (auto* v = dynamic_cast<CStr*>(value)) owner->SetName(*v);
}

void GetIntValue(CObject* owner, CObject* target) {
  auto* o = dynamic_cast<CInt*>(owner);
  auto* t = dynamic_cast<CInt*>(target);
  if (o && t) t->Value = o->Value;
}

void SetIntValue(CObject* owner, CObject* value) {
  auto* o = dynamic_cast<CInt*>(owner);
  auto* v = dynamic_cast<CInt*>(value);
  if (o && v) o->Value = v->Value;
}

constexpr CPropRow kAbout = {"About", "CStr", false, &FieldGetter<&CInfo::About>,
                             &FieldSetter<&CInfo::About>};

const CClassRow kRows[] = {
    {"CObject",
     "",
     "",
     "Предок всех классов библиотеки qxe.lib"_cp,
     &Make<CObject>,
     {{"Name", "CStr", false, &GetName, &SetName}}},
    {"CVar", "CObject", "QxTypes", "Предок всех переменных"_cp, &Make<CVar>},
    {"CNum", "CVar", "QxTypes", "Предок всех числовых переменных"_cp, &Make<CNum>},
    {"CInt",
     "CNum",
     "QxTypes",
     "Класс целых чисел"_cp,
     &Make<CInt>,
     {{"Value", "CInt", false, &GetIntValue, &SetIntValue}}},
    {"CFloat", "CNum", "QxTypes", "Класс вещественных чисел"_cp, &Make<CFloat>},
    {"CStr",
     "CVar",
     "QxTypes",
     "Класс символьных строк"_cp,
     &Make<CStr>,
     {{"Value", "CStr", false, &NoGet, &NoSet}}},
    {"CBool", "CVar", "QxTypes", "Класс булевских переменных"_cp, &Make<CBool>},
    {"CInfo", "CVar", "QxInfo", "", &Make<CInfo>, {kAbout}},
    {"CObjectInfo", "CInfo", "QxInfo", "", &Make<CObjectInfo>},
    {"CActionInfo", "CInfo", "QxInfo", "", &Make<CActionInfo>},
    {"CProjectInfo", "CInfo", "QxInfo", "", &Make<CProjectInfo>},
    {"CProjectGroupInfo", "CProjectInfo", "QxInfo", "", &Make<CProjectGroupInfo>},
    {"CPackInfo", "CProjectInfo", "QxInfo", "", &Make<CPackInfo>},
    {"CAppInfo", "CPackInfo", "QxInfo", "", &Make<CAppInfo>},
    {"CLibInfo", "CPackInfo", "QxInfo", "", &Make<CLibInfo>},
    {"CUnitInfo", "CInfo", "QxInfo", "", &Make<CUnitInfo>},
    {"CDllInfo", "CUnitInfo", "QxInfo", "", &Make<CDllInfo>},
    {"CCodeInfo", "CInfo", "QxInfo", "", &Make<CCodeInfo>},
    {"CClassInfo",
     "CInfo",
     "QxInfo",
     "",
     &Make<CClassInfo>,
     {{"Base", "CStr", false, &FieldGetter<&CClassInfo::Base>, &FieldSetter<&CClassInfo::Base>}}},
    {"CAtrInfo", "CInfo", "QxInfo", "", &Make<CAtrInfo>},
    {"COperInfo", "CInfo", "QxInfo", "", &Make<COperInfo>},
    // Two more records of "CInfo", kept as the library lists them; lookups never reach them.
    {"CInfo", "CVar", "QxInfo", "", &Make<CInfo>, {kAbout}},
    {"CInfo", "CVar", "QxInfo", "", &Make<CInfo>, {kAbout}},
    {"CTypeInfo", "CInfo", "QxInfo", "", &Make<CTypeInfo>},
    {"CExprInfo", "CInfo", "QxInfo", "", &Make<CExprInfo>},
    {"CIfInfo", "CInfo", "QxInfo", "", &Make<CIfInfo>},
    {"CWhileInfo", "CInfo", "QxInfo", "", &Make<CIfInfo>},  // no loop kind of its own
    {"CStructInfo", "CInfo", "QxInfo", "", &Make<CStructInfo>},
    {"CVarInfo", "CInfo", "QxInfo", "", &Make<CVarInfo>},
    {"CFuncInfo", "CInfo", "QxInfo", "", &Make<CFuncInfo>},
    {"COperatorInfo", "CInfo", "QxInfo", "", &Make<COperatorInfo>},
    {"CIntConstInfo", "CInfo", "QxInfo", "", &Make<CIntConstInfo>},
    {"CStrConstInfo", "CInfo", "QxInfo", "", &Make<CStrConstInfo>},
};

}  // namespace

std::span<const CClassRow> CoreClassRows() {
  return kRows;
}
