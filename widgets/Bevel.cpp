#include "widgets/Bevel.h"

#include <typeinfo>

#include "controls/Shapes.h"
#include "graphics/Canvas.h"
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

// What painting each line as a control does, in one pass and without its bookkeeping: a plain
// line that meets the clip the canvas has is drawn with that clip, as CLine's own BeginPaint
// would leave it (see there). Anything else is painted the usual way. A repaint draws the lines
// of a hundred bevels.
void CBevel::Paint(const CRect& clip) {
  if (!Visible) return;
  CCanvas* canvas = GetCanvas();
  if (!canvas || typeid(*this) != typeid(CBevel)) {
    CControl::Paint(clip);
    return;
  }
  // Whether the canvas has the clip as a line's BeginPaint wants it; asked again only after a
  // part painted the usual way, which may have changed it.
  int kept = -1;
  for (std::int32_t i = 0; FrameList && i < FrameList->Size(); i++) {
    auto* part = static_cast<CControl*>(FrameList->At(i));
    if (typeid(*part) == typeid(CLine)) {
      auto* line = static_cast<CLine*>(part);
      if (!line->Visible) {
        canvas->SetPenStyle(65535);
        continue;
      }
      if (kept < 0) {
        const std::int32_t width = canvas->GetPenWidth().Value;
        kept = width >= 0 && width <= 1 && canvas->HasClip(clip);
      }
      if (kept) {
        const CRect r = line->GetAbsRect();
        if (CLine::Meets(r, clip)) {
          canvas->SetPenStyle(line->Style);
          canvas->SetOrigin(CPoint(0, 0));
          canvas->SetColor(line->Color);
          canvas->DrawLine(r);
          canvas->SetPenStyle(65535);
          continue;
        }
      }
    }
    CRect r = clip;
    part->BeginPaint(r);
    part->Paint(r);
    part->EndPaint(r);
    kept = -1;
  }
  PaintChildren(clip);
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
