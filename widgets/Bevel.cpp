#include "widgets/Bevel.h"

#include "controls/Shapes.h"
#include "storage/Stream.h"

namespace {

// Grey levels of the upper-left and lower-right edges, by state.
struct BevelLook {
  double light;
  double shadow;
};

constexpr BevelLook kLooks[8] = {
    {1, 0.5},    // 0 raised, soft
    {0.5, 1},    // 1 sunken, soft
    {1, 0},      // 2 raised, hard
    {0, 1},      // 3 sunken, hard
    {0.8, 0.5},  // 4 inner raised
    {0.5, 0.8},  // 5 inner sunken
    {0.8, 0},    // 6 inner raised, hard
    {0, 0.8},    // 7 inner sunken, hard
};

CColor Grey(double level) {
  return CColor(level, level, level);
}

CLine* Edge(CBevel* bevel, const CRect& r, const CAnchors& anchors, double grey) {
  auto* line = new CLine(bevel);
  line->SetRect(r);
  line->Anchors = anchors;
  line->Color = Grey(grey);
  line->SetFramePart(true);
  return line;
}

}  // namespace

CBevel::CBevel(CControl* parent) : CControl(parent) {
  const CFloat x2 = GetWidth();
  const CFloat y2 = GetHeight();
  LeftLine = Edge(this, CRect(0, 0, 0, y2), CAnchors(1, 1, 1, 2), 1);
  TopLine = Edge(this, CRect(0, 0, x2, 0), CAnchors(1, 1, 2, 1), 1);
  RightLine = Edge(this, CRect(x2, 0, x2, y2), CAnchors(2, 1, 2, 2), 0.5);
  BottomLine = Edge(this, CRect(0, y2, x2, y2), CAnchors(1, 2, 2, 2), 0.5);
}

CBevel::~CBevel() = default;

CStr CBevel::ClassName() const {
  return "CBevel";
}

void CBevel::WriteTo(CStream& stream) {
  CRect::WriteTo(stream);
  Visible.SaveToStream(stream);
  Anchors.WriteTo(stream);
}

void CBevel::ReadFrom(CStream& stream) {
  CRect::ReadFrom(stream);
  Visible.LoadFromStream(stream);
  Anchors.ReadFrom(stream);
}

void CBevel::Paint(const CRect& clip) {
  if (Visible) CControl::Paint(clip);
}

void CBevel::SetState(CInt state) {
  if (state == State) return;
  State = state;
  if (state.Value < 0 || state.Value > 7) return;
  const BevelLook& look = kLooks[state.Value];
  LeftLine->Color = Grey(look.light);
  TopLine->Color = Grey(look.light);
  RightLine->Color = Grey(look.shadow);
  BottomLine->Color = Grey(look.shadow);
}

void CBevel::SetLightColor(CColor color) {
  LightColor = color;
  LeftLine->Color = color;
  TopLine->Color = color;
}

void CBevel::SetShadowColor(CColor color) {
  ShadowColor = color;
  RightLine->Color = color;
  BottomLine->Color = color;
}
