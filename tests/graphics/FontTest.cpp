// The font record and the font manager's numbering and lookups.
#include "graphics/Font.h"
#include "storage/Stream.h"
#include "tests/graphics/GraphicsFixture.h"

namespace qxtest {
namespace {

using FontTest = GraphicsTest;

CFont* NewFont(const char* objectName, const char* face = "MS Sans Serif") {
  auto* font = new CFont;
  font->Set(0, 12, false, false, false, false, false, face, objectName);
  return font;
}

TEST_F(FontTest, NumbersArePositionsAndLookupsStayInRange) {
  CFontManager manager;
  EXPECT_EQ(manager.Find(0), nullptr);
  CFont* first = NewFont("Text");
  CFont* second = NewFont("Title", "Text");  // a face called like the other's object
  EXPECT_EQ(manager.Register(first).Value, 0);
  EXPECT_EQ(manager.Register(second).Value, 1);
  EXPECT_EQ(second->ID.Value, 1);

  EXPECT_EQ(manager.Find(-1), nullptr);
  EXPECT_EQ(manager.Find(0), first);
  EXPECT_EQ(manager.Find(1), second);
  EXPECT_EQ(manager.Find(2), nullptr);

  EXPECT_EQ(manager.FindByName("Title").Value, 1);
  EXPECT_EQ(manager.FindByName("Text").Value, 0);  // object names, not faces
  EXPECT_EQ(manager.FindByName("MS Sans Serif").Value, -1);
  manager.Register(NewFont(""));
  EXPECT_EQ(manager.FindByName("").Value, -1);  // even though a font has the empty name
}

TEST_F(FontTest, RecordRoundTripsEveryField) {
  CFont font;
  font.ID = 7;
  font.Set(5, 14, true, false, true, false, true, "Courier New", "Mono");
  CMemory stream;
  font.WriteTo(stream);
  // Nine value records, each led by an empty name: 4 ints and 5 booleans and a string.
  EXPECT_EQ(stream.GetSize().Value, 3 * (4 + 4) + 5 * (4 + 1) + (4 + 4 + 11));

  stream.SetPosition(0);
  CFont read;
  read.ReadFrom(stream);
  EXPECT_EQ(read.ID.Value, 7);
  EXPECT_EQ(read.Width.Value, 5);
  EXPECT_EQ(read.Height.Value, 14);
  EXPECT_TRUE(read.B && !read.I && read.U && !read.S && read.ThreeD);
  EXPECT_EQ(read.FontName, "Courier New");
  EXPECT_EQ(read.GetName(), "");  // the object's name is not part of the record
  EXPECT_EQ(font.GetName(), "Mono");
  EXPECT_EQ(read.ClassName(), "CFont");
}

}  // namespace
}  // namespace qxtest
