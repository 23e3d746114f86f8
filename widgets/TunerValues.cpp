#include "widgets/TunerValues.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include "controls/Anchors.h"
#include "core/Cp1251.h"
#include "graphics/Color.h"
#include "graphics/Font.h"
#include "graphics/Geometry.h"

namespace {

CStr Pair(const CPoint& p) {
  return p.X.ToStr() + ", " + p.Y.ToStr();
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The whole text is one decimal number: sign, digits, an optional fraction, an optional
// exponent. Nothing before or after it.
bool IsDecimal(const CStr& text) {
  const char* s = text.Text();
  std::size_t i = 0, digits = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  while (IsDigit(s[i])) ++i, ++digits;
  if (s[i] == '.') {
    ++i;
    while (IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (s[i] == 'e' || s[i] == 'E') {
    ++i;
    if (s[i] == '+' || s[i] == '-') ++i;
    if (!IsDigit(s[i])) return false;
    while (IsDigit(s[i])) ++i;
  }
  return i == std::size_t(text.Length().Value);
}

bool ReadInt(const CStr& text, std::int32_t& out) {
  const char* s = text.Text();
  std::size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
  if (!IsDigit(s[i])) return false;
  while (IsDigit(s[i])) ++i;
  if (i != std::size_t(text.Length().Value)) return false;
  errno = 0;
  const long long v = std::strtoll(s, nullptr, 10);
  if (errno == ERANGE || v < std::numeric_limits<std::int32_t>::min() ||
      v > std::numeric_limits<std::int32_t>::max())
    return false;
  out = std::int32_t(v);
  return true;
}

bool ReadBool(const CStr& text, bool& out) {
  if (text == "true" || text == "1") {
    out = true;
    return true;
  }
  if (text == "" || text == "false" || text == "0") {
    out = false;
    return true;
  }
  return false;
}

}  // namespace

CStr ValueText(const CStr& type, const CObject* value) {
  if (!value) return "";
  if (type == "CStr") {
    const auto* s = dynamic_cast<const CStr*>(value);
    return s ? *s : CStr();
  }
  if (type == "CInt") {
    const auto* i = dynamic_cast<const CInt*>(value);
    return i ? i->ToStr() : CStr();
  }
  if (type == "CBool") {
    const auto* b = dynamic_cast<const CBool*>(value);
    return b ? b->ToStr() : CStr();
  }
  if (type == "CFloat") {
    const auto* f = dynamic_cast<const CFloat*>(value);
    return f ? f->ToStr() : CStr();
  }
  if (type == "CPoint") {
    const auto* p = dynamic_cast<const CPoint*>(value);
    return p ? Pair(*p) : CStr();
  }
  if (type == "CRect") {
    const auto* r = dynamic_cast<const CRect*>(value);
    return r ? Pair(r->M1) + ", " + Pair(r->M2) : CStr();
  }
  if (type == "CColor") {
    const auto* c = dynamic_cast<const CColor*>(value);
    return c ? c->R.ToStr() + ", " + c->G.ToStr() + ", " + c->B.ToStr() : CStr();
  }
  return "(no values)";
}

bool ReadValue(const CStr& type, const CStr& text, CObject* target) {
  if (type == "CStr") {
    auto* s = dynamic_cast<CStr*>(target);
    if (!s) return false;
    *s = text;
    return true;
  }
  if (type == "CFloat") {
    auto* f = dynamic_cast<CFloat*>(target);
    if (!f || !IsDecimal(text)) return false;
    *f = CFloat::FromStr(text);
    return true;
  }
  if (type == "CInt") {
    auto* i = dynamic_cast<CInt*>(target);
    std::int32_t v = 0;
    if (!i || !ReadInt(text, v)) return false;
    i->Value = v;
    return true;
  }
  if (type == "CBool") {
    auto* b = dynamic_cast<CBool*>(target);
    bool v = false;
    if (!b || !ReadBool(text, v)) return false;
    *b = CBool(v);
    return true;
  }
  return false;
}

bool PassesChangesUp(const CStr& type) {
  return type == "CPoint" || type == "CColor" || type == "CRect" || type == "CFont" ||
         type == "CAnchors";
}

CStr WhyNotRead(const CStr& type) {
  if (type == "CFloat") return "Нужно число, например 0.5"_cp;
  if (type == "CInt") return "Нужно целое число"_cp;
  if (type == "CBool") return "Нужно true или false"_cp;
  return "Это свойство только показывается"_cp;
}

CStr CheckValue(const CStr& type, const CObject* value) {
  if (const auto* c = dynamic_cast<const CColor*>(value); c && type == "CColor") {
    for (const CFloat* part : {&c->R, &c->G, &c->B})
      if (part->Value < 0 || part->Value > 1) return "Части цвета - числа от 0 до 1"_cp;
  }
  if (const auto* font = dynamic_cast<const CFont*>(value); font && type == "CFont") {
    if (font->Height.Value < 1 || font->Height.Value > 500)
      return "Высота шрифта - от 1 до 500"_cp;
    if (font->FontName.View().empty()) return "Нужно имя шрифта"_cp;
  }
  if (const auto* a = dynamic_cast<const CAnchors*>(value); a && type == "CAnchors") {
    for (const CInt* side : {&a->M1X, &a->M1Y, &a->M2X, &a->M2Y})
      if (side->Value < 0 || side->Value > 4) return "Привязка - число от 0 до 4"_cp;
  }
  return "";
}
