// The graphics layer of the application object: its members, its registry rows with their
// accessors, and the dotted-frame pattern.
#include <memory>

#include "core/Cp1251.h"
#include "graphics/Color.h"
#include "model/ClassManager.h"
#include "tests/graphics/GraphicsFixture.h"

namespace qxtest {
namespace {

using GLAppTest = GraphicsTest;

TEST_F(GLAppTest, BuildsItsMembersAndIsTheGraphicsPointer) {
  EXPECT_EQ(GLApp, app_.get());
  EXPECT_EQ(CoreApp, app_.get());
  ASSERT_TRUE(app_->Screen);
  ASSERT_TRUE(app_->FontManager);
  EXPECT_EQ(app_->FontManager->Count().Value, 0);
  EXPECT_EQ(app_->Screen->MainCanvas, nullptr);  // no window before the first view
  EXPECT_EQ(app_->Screen->Canvases.Count().Value, 0);

  const platform::Surface& pattern = app_->Pattern.Picture();
  EXPECT_EQ(app_->Pattern.Width.Value, 2);
  EXPECT_EQ(Picture(pattern, 0, 0, 2, 2), Rows({"#.", ".#"}));

  app_.reset();
  EXPECT_EQ(GLApp, nullptr);
}

TEST_F(GLAppTest, RegistersTheGraphicsValuesAfterTheCoreClasses) {
  const CClassManager& registry = *app_->ClassMan;
  const int core = int(CoreClassRows().size());
  ASSERT_EQ(registry.Count().Value, core + 4);
  struct Row {
    const char* name;
    const char* base;
    const char* unit;
    CStr about;
    std::vector<std::pair<const char*, const char*>> properties;
    bool composite;
  } const rows[] = {
      {"CPoint",
       "CVar",
       "QxCtrlTypes",
       "Классов - точка"_cp,
       {{"X", "CFloat"}, {"Y", "CFloat"}},
       false},
      {"CRect",
       "CObject",
       "QxControls",
       "Предок всех классов, представляющих прямоугольную область"_cp,
       {{"M1", "CPoint"}, {"M2", "CPoint"}},
       true},
      {"CColor",
       "CVar",
       "QxGLTypes",
       "Класс - цвет"_cp,
       {{"R", "CFloat"}, {"G", "CFloat"}, {"B", "CFloat"}},
       false},
      {"CFont",
       "CVar",
       "QxFont",
       "Класс - шритф"_cp,
       {{"ID", "CInt"},
        {"Width", "CInt"},
        {"Height", "CInt"},
        {"B", "CBool"},
        {"I", "CBool"},
        {"U", "CBool"},
        {"S", "CBool"},
        {"3D", "CBool"},
        {"FontName", "CStr"}},
       false},
  };
  for (int i = 0; i < 4; ++i) {
    const Row& row = rows[i];
    CClassInfo* record = registry.Get(core + i);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetName(), row.name);
    EXPECT_EQ(registry.Find(row.name), record);
    EXPECT_EQ(record->Base, row.base);
    EXPECT_EQ(record->Unit, row.unit);
    EXPECT_EQ(record->About, row.about);
    EXPECT_EQ(record->Kind.Value, 2);
    ASSERT_EQ(record->Properties.Count().Value, int(row.properties.size())) << row.name;
    for (int p = 0; p < int(row.properties.size()); ++p) {
      const auto* prop = record->Properties.GetAs<CPropInfo>(p);
      EXPECT_EQ(prop->GetName(), row.properties[p].first);
      EXPECT_EQ(prop->Type, row.properties[p].second);
      EXPECT_EQ(bool(prop->IsObject), row.composite) << row.name;
      EXPECT_FALSE(prop->PropFlag);
    }
    std::unique_ptr<CObject> made(registry.CreateByName(row.name));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ClassName(), row.name);
  }
  EXPECT_EQ(CRect().BaseClassName(), "CObject");
  EXPECT_TRUE(CPoint().InheritsFrom("CObject"));
}

CPropInfo* Property(const char* className, int index) {
  return GLApp->ClassMan->Find(className)->Properties.GetAs<CPropInfo>(index);
}

TEST_F(GLAppTest, PointAndColourPropertiesReadAndWriteTheirFields) {
  CPoint point(1.5L, -2);
  CFloat value;
  Property("CPoint", 1)->Get(&point, &value);
  EXPECT_EQ(value.Value, -2);
  CFloat seven = 7;
  Property("CPoint", 0)->Set(&point, &seven);
  EXPECT_EQ(point.X.Value, 7);

  CColor colour(0.25L, 0.5L, 0.75L);
  Property("CColor", 2)->Get(&colour, &value);
  EXPECT_EQ(value.Value, 0.75L);
  CFloat green = 0.125L;
  Property("CColor", 1)->Set(&colour, &green);
  EXPECT_EQ(colour.G.Value, 0.125L);

  // Without a target or a value nothing happens; a value of another type is not taken.
  Property("CPoint", 0)->Get(&point, nullptr);
  Property("CPoint", 0)->Set(&point, nullptr);
  CInt wrongType = 3;
  Property("CPoint", 0)->Set(&point, &wrongType);
  EXPECT_EQ(point.X.Value, 7);
}

TEST_F(GLAppTest, RectangleCornersAreSetByMovingOrDirectly) {
  // A rectangle-derived owner that counts what it is told.
  struct Watched : CRect {
    int told = 0;
    void SetCorners(const CFloat& a, const CFloat& b, const CFloat& c, const CFloat& d) override {
      ++told;
      CRect::SetCorners(a, b, c, d);
    }
  } r;
  r.SetCorners(10, 10, 30, 40);
  r.told = 0;

  CPoint corner;
  Property("CRect", 0)->Get(&r, &corner);
  EXPECT_TRUE(corner == CPoint(10, 10));
  Property("CRect", 1)->Get(&r, &corner);
  EXPECT_TRUE(corner == CPoint(30, 40));

  CPoint to(0, 5);
  Property("CRect", 0)->Set(&r, &to);  // moves, keeping the size
  EXPECT_TRUE(r.M1 == CPoint(0, 5));
  EXPECT_TRUE(r.M2 == CPoint(20, 35));
  EXPECT_EQ(r.told, 1);

  CPoint far(100, 100);
  Property("CRect", 1)->Set(&r, &far);  // straight into the field
  EXPECT_TRUE(r.M2 == CPoint(100, 100));
  EXPECT_TRUE(r.M1 == CPoint(0, 5));
  EXPECT_EQ(r.told, 1);
}

// A text's font is chosen by face, height and style, so those rows read and write the font; its
// number and width are shown only.
TEST_F(GLAppTest, AFontsHeightStyleAndFaceAreConnectedItsNumberAndWidthAreNot) {
  CFont font;
  font.Height = 12;
  CInt value = 99;
  for (int i = 0; i < 2; ++i) {
    Property("CFont", i)->Get(&font, &value);
    Property("CFont", i)->Set(&font, &value);
  }
  EXPECT_EQ(value.Value, 99);
  EXPECT_EQ(font.ID.Value, 0);
  EXPECT_EQ(font.Width.Value, 0);

  Property("CFont", 2)->Get(&font, &value);
  EXPECT_EQ(value.Value, 12);
  CInt height = 20;
  Property("CFont", 2)->Set(&font, &height);
  EXPECT_EQ(font.Height.Value, 20);
  CBool bold = true;
  Property("CFont", 3)->Set(&font, &bold);
  EXPECT_TRUE(font.B);
  CStr face = "DejaVu Sans";
  Property("CFont", 8)->Set(&font, &face);
  EXPECT_EQ(font.FontName, "DejaVu Sans");
}

TEST_F(GLAppTest, ADottedFrameRightAfterStartUpAlreadyHasItsPattern) {
  CGDI& canvas = MakeCanvas();
  canvas.DrawDottedFrame(CRect(1, 1, 6, 1));
  EXPECT_EQ(Picture(canvas.Buffer(), 0, 0, 8, 3), Rows({"........", ".#.#.#..", "........"}));
}

}  // namespace
}  // namespace qxtest
