// The tuner's value column and what a typed text writes, for every type a row can have.
#include <gtest/gtest.h>

#include <memory>

#include "core/Cp1251.h"
#include "graphics/Color.h"
#include "graphics/Font.h"
#include "graphics/Geometry.h"
#include "widgets/TunerValues.h"

namespace {

TEST(TunerValues, EveryTypeShowsItsTextAndAMissingValueShowsNothing) {
  const CStr name = "Имя"_cp;
  const CInt number = -42;
  const CBool yes = true, no = false;
  const CFloat half = 0.5;
  const CPoint point(10, 20.25);
  const CRect rect(1, 2, 3, 4);
  const CColor color(1, 0.5, 0);
  const CFont font;
  const struct {
    const char* type;
    const CObject* value;
    CStr text;
  } cases[] = {
      {"CStr", &name, name},
      {"CInt", &number, "-42"},
      {"CBool", &yes, "true"},
      {"CBool", &no, ""},
      {"CFloat", &half, "0.5"},
      {"CPoint", &point, "10, 20.25"},
      {"CRect", &rect, "1, 2, 3, 4"},
      {"CColor", &color, "1, 0.5, 0"},
      {"CFont", &font, "(no values)"},
      {"CAnchors", &font, "(no values)"},
      {"CFloat", nullptr, ""},  // a property without a getter
      {"CFont", nullptr, ""},
      {"CInt", &name, ""},  // a value of another class than its type says
  };
  for (const auto& c : cases) EXPECT_EQ(ValueText(c.type, c.value), c.text) << c.type;
}

TEST(TunerValues, TypedTextsReadAsTheirTypeOrWriteNothing) {
  const struct {
    const char* type;
    const char* text;
    bool reads;
    const char* shown;  // ValueText of the result when the text reads
  } cases[] = {
      {"CStr", "anything at all", true, "anything at all"},
      {"CStr", "", true, ""},
      {"CInt", "123", true, "123"},
      {"CInt", "-7", true, "-7"},
      {"CInt", "+7", true, "7"},
      {"CInt", "2147483647", true, "2147483647"},
      {"CInt", "-2147483648", true, "-2147483648"},
      {"CInt", "2147483648", false, nullptr},  // past 32 bits
      {"CInt", "99999999999999999999", false, nullptr},
      {"CInt", "12a", false, nullptr},
      {"CInt", "1.5", false, nullptr},
      {"CInt", " 1", false, nullptr},
      {"CInt", "", false, nullptr},
      {"CInt", "-", false, nullptr},
      {"CBool", "true", true, "true"},
      {"CBool", "1", true, "true"},
      {"CBool", "", true, ""},
      {"CBool", "false", true, ""},
      {"CBool", "0", true, ""},
      {"CBool", "yes", false, nullptr},
      {"CBool", "TRUE", false, nullptr},
      {"CFloat", "0.5", true, "0.5"},
      {"CFloat", "-3", true, "-3"},
      {"CFloat", ".25", true, "0.25"},
      {"CFloat", "1e3", true, "1000"},
      {"CFloat", "1.5x", false, nullptr},
      {"CFloat", "abc", false, nullptr},
      {"CFloat", "", false, nullptr},
      {"CFloat", "1e", false, nullptr},
      {"CFloat", "inf", false, nullptr},
      {"CPoint", "1, 2", false, nullptr},  // composites are edited in their sub-rows
      {"CColor", "1, 0, 0", false, nullptr},
      {"CRect", "1, 2, 3, 4", false, nullptr},
      {"CFont", "x", false, nullptr},
  };
  for (const auto& c : cases) {
    std::unique_ptr<CObject> target;
    const CStr type = c.type;
    if (type == "CStr") target = std::make_unique<CStr>("before");
    if (type == "CInt") target = std::make_unique<CInt>(55);
    if (type == "CBool") target = std::make_unique<CBool>(true);
    if (type == "CFloat") target = std::make_unique<CFloat>(9.0);
    if (type == "CPoint") target = std::make_unique<CPoint>(9, 9);
    if (type == "CColor") target = std::make_unique<CColor>(9, 9, 9);
    if (type == "CRect") target = std::make_unique<CRect>(9, 9, 9, 9);
    if (type == "CFont") target = std::make_unique<CFont>();
    const CStr before = ValueText(type, target.get());
    EXPECT_EQ(ReadValue(type, c.text, target.get()), c.reads) << c.type << " \"" << c.text << "\"";
    EXPECT_EQ(ValueText(type, target.get()), c.reads ? CStr(c.shown) : before)
        << c.type << " \"" << c.text << "\": a text that does not read leaves the value";
  }
}

TEST(TunerValues, ATargetOfAnotherClassIsNotWritten) {
  CStr text = "x";
  EXPECT_FALSE(ReadValue("CInt", "5", &text));
  EXPECT_FALSE(ReadValue("CStr", "5", nullptr));
  EXPECT_EQ(text, "x");
}

}  // namespace
