// The analyser object, its word-level reading and the setters of TMemberInfo with their checks.
#include "import/analys/Indexes.h"
#include "import/analys/Shared.h"

using namespace analys;

// The fields are set through .Value: every value-object temporary costs a name lookup, and
// these run for every word of every declaration.

void CCppAnalys::TMemberInfo::SetVirtual() {
  if (IsVirtual.Value) Analys->ReportError(CStr(msg::kRepeated) + "virtual");
  IsVirtual.Value = 1;
}

void CCppAnalys::TMemberInfo::SetStorage(int storage) {
  if (IsVirtual.Value) Analys->ReportError(storage == 1 ? msg::kVirtualAuto : msg::kVirtualStatic);
  if (Storage.Value == storage) Analys->ReportError(CStr(msg::kRepeated) + (storage == 1 ? "auto" : "static"));
  Storage.Value = storage;  // the other storage word is accepted; the later one wins
}

void CCppAnalys::TMemberInfo::SetConst() {
  if (IsConst.Value) Analys->ReportError(CStr(msg::kRepeated) + "const");
  IsConst.Value = 1;
}

void CCppAnalys::TMemberInfo::SetSign(int sign) {
  if (Sign.Value != 0) Analys->ReportError(CStr(msg::kRepeated) + (sign == 1 ? "signed" : "unsigned"));
  Sign.Value = sign;
}

void CCppAnalys::TMemberInfo::SetTypeWord(int typeWord, std::string_view word) {
  if (TypeWord.Value != 0) {
    if (TypeWord.Value == kLong && typeWord == kDouble) {
      TypeWord.Value = kLongDouble;
      return;
    }
    // Built-in types of several words: long long, short int, long int, long long int.
    const bool sized = TypeWord.Value == kLong || TypeWord.Value == kShort;
    if ((sized && typeWord == kInt) || (TypeWord.Value == kLong && typeWord == kLong) ||
        (TypeWord.Value == kInt && (typeWord == kLong || typeWord == kShort)))
      return;
    Analys->ReportError(CStr(msg::kWrongWord) + CStr(word));
  }
  TypeWord.Value = typeWord;
}

void CCppAnalys::TMemberInfo::SetCallConv(int callConv) {
  if (CallConv.Value != 0) Analys->ReportError(CStr(msg::kRepeated) + CStr(kCallConvNames[callConv]));
  CallConv.Value = callConv;
}

void CCppAnalys::TMemberInfo::SetDestructor() {
  if (Special.Value == 2) Analys->ReportError(msg::kDestructorAgain);
  if (Special.Value != 0) Analys->ReportError(msg::kNotDestructor);
  Special.Value = 2;
}

void CCppAnalys::TMemberInfo::SetRef() {
  if (IsRef.Value) Analys->ReportError(msg::kRefAgain);
  IsRef.Value = 1;
}

void CCppAnalys::TMemberInfo::SetOperator(const CStr& operatorName) {
  if (IsOperator.Value) Analys->ReportError(CStr(msg::kRepeated) + "operator");
  IsOperator.Value = 1;
  if (!Name.View().empty()) {
    if (EndsInScope(Name)) {
      Append(Name, operatorName.View());
    } else {
      TypeName = Name;
      Name = operatorName;
    }
  } else if (EndsInScope(TypeName)) {
    // A qualified operator without a return type.
    Name = TypeName + operatorName;
    TypeName = CStr();
    TypeWord.Value = kInt;
  } else {
    Name = operatorName;
  }
}

void CCppAnalys::TMemberInfo::ScopeStep() { Append(Name, "::"); }


CCppAnalys::CCppAnalys(std::function<void(const CStr&)> show)
    : classes_(std::make_unique<CClassIndex>()), operations_(std::make_unique<COperIndex>()) {
  JoinQualified = 0;
  ReadDirectives = true;
  ShowMessage = std::move(show);
}

CCppAnalys::~CCppAnalys() = default;

CStr CCppAnalys::ClassName() const { return "CCppAnalys"; }

bool CCppAnalys::Try(std::string_view text) {
  const Scan& next = Peek();
  if (TextOf(next) != text) return false;
  Take(next);
  return true;
}

const CCppAsmParser::Scan& CCppAnalys::Peek() {
  const Scan& next = Significant();
  NoteTried(next);
  return next;
}

void CCppAnalys::Unterminated(std::int32_t start, std::uint8_t kind) {
  // Report where the string or comment opens: the quote, or the "/*".
  SetPos(start - (kind == kTokenString ? 1 : 2));
  ReportError(kind == kTokenString ? msg::kOpenString : msg::kOpenComment);
}

