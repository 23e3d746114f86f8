// The designer's surface written as a design text and made again from one (model/Design.h).
//
// [SECTION] What a control shows
// [SECTION] Writing
// [SECTION] Reading
#include <string>

#include "controls/Pic.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "designer/DsgnForm.h"
#include "designer/Map.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "graphics/GLApp.h"
#include "model/Design.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

// [SECTION] What a control shows

CText* CDsgnForm::TextOf(CControl* control) {
  if (auto* text = dynamic_cast<CText*>(control)) return text;
  if (auto* form = dynamic_cast<CForm*>(control)) return form->Caption->Title;
  if (auto* button = dynamic_cast<CButton*>(control)) return button->Caption;
  if (auto* label = dynamic_cast<CLabel*>(control)) return label->Caption;
  return nullptr;
}

CControl* CDsgnForm::FaceOf(CControl* control) {
  auto* panel = dynamic_cast<CPanel*>(control);
  return panel ? panel->Client : nullptr;
}

namespace {

CFontManager* Fonts() {
  return GLApp ? GLApp->FontManager.get() : nullptr;
}

std::string Colour(const CColor& c) {
  return design::Number(c.R.Value) + "," + design::Number(c.G.Value) + "," +
         design::Number(c.B.Value);
}

std::string Style(const CFont& font) {
  std::string style;
  if (font.B) style += 'b';
  if (font.I) style += 'i';
  if (font.U) style += 'u';
  if (font.S) style += 's';
  return style.empty() ? "-" : style;
}

CStr* PictureOf(CControl* control) {
  if (auto* pic = dynamic_cast<CPic*>(control)) return &pic->FileName;
  if (auto* button = dynamic_cast<CPicButton*>(control); button && button->Picture)
    return &button->Picture->FileName;
  return nullptr;
}

}  // namespace

// [SECTION] Writing

void CDsgnForm::WriteControl(CControl* control, int depth, std::string& out) {
  out += std::string(std::size_t(depth) * 2, ' ');
  const CStr name = control->GetName();
  out += control->ClassName().ToStd() + " " + (name.View().empty() ? "-" : name.ToStd());
  out += " rect=" + design::Number(control->M1.X.Value) + "," +
         design::Number(control->M1.Y.Value) + "," + design::Number(control->M2.X.Value) + "," +
         design::Number(control->M2.Y.Value);
  out += " color=" + Colour(control->Color);
  const CAnchors& a = control->Anchors;
  out += " anchors=" + std::to_string(a.M1X.Value) + "," + std::to_string(a.M1Y.Value) + "," +
         std::to_string(a.M2X.Value) + "," + std::to_string(a.M2Y.Value);
  if (!control->Visible) out += " hidden";
  if (CControl* face = FaceOf(control)) out += " face=" + Colour(face->Color);
  if (CText* text = TextOf(control)) {
    out += " text=" + design::Quoted(text->Str.View());
    if (text != control) out += " textcolor=" + Colour(text->Color);
    CFontManager* fonts = Fonts();
    if (const CFont* font = fonts ? fonts->Find(text->FontNumber) : nullptr)
      out += " font=" + design::Quoted(font->FontName.View()) + "," +
             std::to_string(font->Height.Value) + "," + Style(*font);
    if (text->Center) out += " center";
  }
  if (const CStr* picture = PictureOf(control)) out += " picture=" + design::Quoted(picture->View());
  if (auto* pic = dynamic_cast<CPic*>(control); pic && pic->Centered) out += " centered";
  if (const std::string* click = ClickOf(control)) out += " click=" + design::Quoted(*click);
  out += "\n";
  if (CMap::IsGroup(control))
    for (std::int32_t i = 0; i < control->FramePartCount().Value; ++i)
      WriteControl(control->GetFramePart(i), depth + 1, out);
}

CStr CDsgnForm::WriteDesign(const CStr& extra) {
  const bool empty = Map->ChildCount().Value == 0 && Unread.empty() && !Form.Set;
  if (empty && !design::IsDesign(extra.View())) return extra;  // someone else's text stays
  // Other facts of the class (what the C++ import kept) stay before the design.
  std::string out(design::BeforeDesign(extra.View()));
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  out += design::kVersionLine;
  out += "\n";
  // Untouched, the form stays at the default a design without the line stands for.
  if (Form.Set)
    out += std::string(design::kFormKind) + " title=" + design::Quoted(Form.Title.View()) +
         " size=" + std::to_string(Form.Width.Value) + "," + std::to_string(Form.Height.Value) +
         "\n";
  for (std::int32_t i = 0; i < Map->ChildCount().Value; ++i) WriteControl(Map->GetChild(i), 0, out);
  // What could not be read is kept as it stood, to be read again by a later version or by hand.
  for (const std::string& line : Unread) out += line + "\n";
  return CStr(std::string_view(out));
}

// [SECTION] Reading

namespace {

CColor ColourOf(const std::vector<long double>& v) {
  return CColor(CFloat(v[0]), CFloat(v[1]), CFloat(v[2]));
}

}  // namespace

void CDsgnForm::ApplyFont(CText* text, const std::string& name, int height,
                          const std::string& style) {
  auto has = [&](char c) { return style.find(c) != std::string::npos; };
  const CInt number = FontFor(GetCanvas(), CStr(std::string_view(name)), height, has('b'),
                              has('i'), has('u'), has('s'));
  if (number.Value >= 0) text->FontNumber = number;
}

void CDsgnForm::ApplyLine(CControl* control, const design::Line& line) {
  std::vector<long double> v;
  if (line.Numbers("rect", 4, v))
    control->SetRect(CRect(CFloat(v[0]), CFloat(v[1]), CFloat(v[2]), CFloat(v[3])));
  if (line.Numbers("color", 3, v)) control->Color = ColourOf(v);
  if (line.Numbers("anchors", 4, v))
    control->Anchors.Set(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
  control->Visible = !line.Has("hidden");
  if (CControl* face = FaceOf(control); face && line.Numbers("face", 3, v))
    face->Color = ColourOf(v);
  std::string text;
  if (CText* shown = TextOf(control)) {
    if (line.Text("text", text)) shown->Str = CStr(std::string_view(text));
    if (shown != control && line.Numbers("textcolor", 3, v)) shown->Color = ColourOf(v);
    if (const design::Field* font = line.Find("font"))
      ApplyFont(shown, font->Items[0], std::atoi(font->Items[1].c_str()), font->Items[2]);
    shown->Center = line.Has("center");
  }
  if (line.Text("picture", text)) {
    if (auto* pic = dynamic_cast<CPic*>(control)) pic->SetFileName(CStr(std::string_view(text)));
    if (auto* button = dynamic_cast<CPicButton*>(control); button && button->Picture)
      button->Picture->SetFileName(CStr(std::string_view(text)));
  }
  if (auto* pic = dynamic_cast<CPic*>(control)) pic->Centered = line.Has("centered");
  if (line.Text("click", text)) SetClick(control, text);
  control->SetName(CStr(std::string_view(line.Name)));
}

void CDsgnForm::ReadForm(const design::Parsed& parsed, const CStr& owner) {
  Form.Title = owner;
  Form.Width = design::kDefaultFormWidth;
  Form.Height = design::kDefaultFormHeight;
  Form.Set = parsed.Form.has_value();
  if (parsed.Form) {
    std::string title;
    if (parsed.Form->Text("title", title)) Form.Title = CStr(std::string_view(title));
    std::vector<long double> size;
    if (parsed.Form->Numbers("size", 2, size)) {
      Form.Width = std::int32_t(size[0]);
      Form.Height = std::int32_t(size[1]);
    }
  }
  ShowForm();
}

CStr CDsgnForm::ReadDesign(const CStr& extra, const CStr& owner) {
  Map->Clear();
  Clicks.clear();
  Unread.clear();
  const design::Parsed parsed = design::Parse(extra.View());
  ReadForm(parsed, owner);
  if (!parsed.IsDesign) return "";
  // The group each depth's controls go into: the surface at depth 0.
  std::vector<CControl*> into{Map};
  for (const design::Line& line : parsed.Lines) {
    into.resize(std::size_t(line.Depth) + 1);
    CControl* parent = into.back();
    CControl* control = MakeKind(CStr(std::string_view(line.Kind)), parent);
    if (!control) continue;
    ApplyLine(control, line);
    if (parent != Map) control->SetFramePart(true);
    into.push_back(control);
  }
  Unread = parsed.Unread;
  if (parsed.Damages.empty()) return "";
  const design::Damage& first = parsed.Damages.front();
  CStr report = CStr("Дизайн класса "_cp) + owner + ", строка "_cp + CInt(first.Line).ToStr() + ": " +
                CStr(std::string_view(first.Said));
  if (parsed.Damages.size() > 1)
    report = report + " (и ещё строк: "_cp + CInt(std::int32_t(parsed.Damages.size() - 1)).ToStr() +
             ")";
  return report + ".\nПрочитанное показано, остальной текст сохранён."_cp;
}
