#include "writer/Forms.h"

#include "core/Cp1251.h"
#include "model/Design.h"
#include "model/HeadTexts.h"
#include "model/Kinds.h"

namespace writer {

namespace {

void CollectForms(CInfo& element, std::vector<CClassInfo*>& out) {
  for (std::int32_t i = 0; i < element.ChildCount().Value; ++i) {
    CInfo* child = element.Child(i);
    if (auto* type = dynamic_cast<CClassInfo*>(child); type && IsFormClass(*type)) out.push_back(type);
    if (!dynamic_cast<CPackInfo*>(child)) CollectForms(*child, out);
  }
}

bool IsIdentifier(std::string_view name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

// A C++ string literal of a cp1251 text, read back as cp1251 by the toolkit ("..."_cp).
std::string Literal(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out + "\"_cp";
}

std::string Numbers(const design::Line& line, std::string_view key, std::size_t n, const char* wrap) {
  std::vector<long double> v;
  if (!line.Numbers(key, n, v)) return {};
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += (i ? ", " : "") + std::string(wrap) + "(" + design::Number(v[i]) + ")";
  return out;
}

// The statements that make one control of a design line in `parent`, as `c`.
std::vector<std::string> MakeControl(const CClassInfo& form, const design::Line& line, const std::string& parent) {
  std::vector<std::string> out;
  out.push_back("{");
  out.push_back("  auto* c = new " + line.Kind + "(" + parent + ");");
  if (IsIdentifier(line.Name)) out.push_back("  " + line.Name + " = c;");
  if (!line.Name.empty()) out.push_back("  c->SetName(" + Literal(line.Name) + ");");
  if (std::string rect = Numbers(line, "rect", 4, "CFloat"); !rect.empty()) out.push_back("  c->SetRect(CRect(" + rect + "));");
  if (std::string colour = Numbers(line, "color", 3, "CFloat"); !colour.empty())
    out.push_back("  c->Color = CColor(" + colour + ");");
  std::vector<long double> v;
  if (line.Numbers("anchors", 4, v))
    out.push_back("  c->Anchors.Set(" + design::Number(v[0]) + ", " + design::Number(v[1]) + ", " +
                  design::Number(v[2]) + ", " + design::Number(v[3]) + ");");
  if (line.Has("hidden")) out.push_back("  c->Visible = false;");
  if (std::string face = Numbers(line, "face", 3, "CFloat"); !face.empty())
    out.push_back("  if (auto* p = dynamic_cast<CPanel*>(c)) p->Client->Color = CColor(" + face + ");");
  std::string text;
  if (line.Text("text", text)) out.push_back("  if (CText* t = QxTextOf(c)) t->Str = " + Literal(text) + ";");
  if (std::string colour = Numbers(line, "textcolor", 3, "CFloat"); !colour.empty())
    out.push_back("  if (CText* t = QxTextOf(c); t && t != static_cast<CControl*>(c)) t->Color = CColor(" + colour + ");");
  if (line.Has("center")) out.push_back("  if (CText* t = QxTextOf(c)) t->Center = true;");
  if (line.Text("picture", text)) {
    out.push_back("  if (auto* p = dynamic_cast<CPic*>(c)) p->SetFileName(" + Literal(text) + ");");
    out.push_back("  if (auto* b = dynamic_cast<CPicButton*>(c); b && b->Picture) b->Picture->SetFileName(" +
                  Literal(text) + ");");
  }
  if (line.Kind == "CPic") out.push_back(std::string("  static_cast<CPic*>(c)->Centered = ") + (line.Has("centered") ? "true;" : "false;"));
  if (line.Text("click", text) && IsIdentifier(text)) {
    // The click operation of the design, when the class has it.
    for (std::int32_t i = 0; i < form.ChildCount().Value; ++i)
      if (dynamic_cast<const COperInfo*>(form.Child(i)) && form.Child(i)->GetName().View() == text) {
        out.push_back("  c->OnClick.Set(this, &" + form.GetName().ToStd() + "::" + text + ");");
        break;
      }
  }
  out.push_back("}");
  return out;
}

// The macro of one form class, as lines without their continuation marks.
std::vector<std::string> FormMacro(const CClassInfo& form) {
  const std::string name = form.GetName().ToStd();
  const design::Parsed parsed = design::Parse(form.Extra().View());
  std::vector<std::string> body;
  body.push_back(" public:");
  for (const design::Line& line : parsed.Lines)
    if (IsIdentifier(line.Name) && design::IsKnownKind(line.Kind))
      body.push_back("  " + line.Kind + "* " + line.Name + " = nullptr;");
  const std::string base = form.Base.ToStd();
  if (!base.empty()) body.push_back("  using " + base + "::" + base.substr(0, base.find('<')) + ";");
  body.push_back(" private:");
  body.push_back("  void QxMakeControls() {");
  body.push_back("    CControl* face = this;");
  body.push_back("    if (auto* panel = dynamic_cast<CPanel*>(static_cast<CControl*>(this)); panel && panel->Client) face = panel->Client;");
  if (base == "CForm") {
    // The window's face gets the design's size (the frame around it is what the form adds) before
    // the controls are made, so they lie where the design put them.
    long double width = design::kDefaultFormWidth, height = design::kDefaultFormHeight;
    std::string title = name;
    if (parsed.Form) {
      std::vector<long double> size;
      if (parsed.Form->Numbers("size", 2, size)) width = size[0], height = size[1];
      parsed.Form->Text("title", title);
    }
    body.push_back("    SetBounds(100, 100, CFloat(" + design::Number(width) + ") + GetWidth() - face->GetWidth(), CFloat(" +
                   design::Number(height) + ") + GetHeight() - face->GetHeight(), true);");
    body.push_back("    Caption->Title->Str = " + Literal(title) + ";");
  }
  // The group each depth's controls go into: the face at depth 0.
  std::vector<std::string> into{"face"};
  int group = 0;
  for (const design::Line& line : parsed.Lines) {
    if (!design::IsKnownKind(line.Kind)) continue;
    into.resize(std::size_t(line.Depth) + 1);
    std::vector<std::string> lines = MakeControl(form, line, into.back());
    if (line.Depth > 0) lines.insert(lines.end() - 1, "  c->SetFramePart(true);");
    if (design::IsGroupKind(line.Kind)) {
      const std::string holder = "group" + std::to_string(++group);
      body.push_back("    CControl* " + holder + " = nullptr;");
      lines.insert(lines.end() - 1, "  " + holder + " = c;");
      into.push_back(holder);
    } else {
      into.push_back("face");  // a control that is no group holds no members
    }
    for (const std::string& l : lines) body.push_back("    " + l);
  }
  body.push_back("  }");
  body.push_back("  struct QxMaker {");
  body.push_back("    explicit QxMaker(" + name + "* form) { form->QxMakeControls(); }");
  body.push_back("  } QxMaker_{this};");
  return body;
}

}  // namespace

bool IsFormClass(const CClassInfo& type) { return design::IsDesign(type.Extra().View()); }

std::vector<CClassInfo*> FormClasses(CInfo& element) {
  std::vector<CClassInfo*> out;
  CollectForms(element, out);
  return out;
}

std::string FormsFileName(const CInfo& unit) { return unit.GetName().ToStd() + ".forms.h"; }

CFileText FormsFile(CUnitInfo& unit) {
  CFileText file;
  file.Line("// Made from the designs of the form classes of " + unit.GetName().ToStd() + "; made again at every build.", &unit);
  file.Line("#pragma once", &unit);
  for (const char* header : {"controls/Pic.h", "controls/Shapes.h", "controls/Text.h", "core/Cp1251.h",
                             "widgets/Bevel.h", "widgets/Button.h", "widgets/Edit.h", "widgets/Form.h",
                             "widgets/Label.h", "widgets/Panel.h"})
    file.Line(std::string("#include \"") + header + "\"", &unit);
  file.Line("", &unit);
  file.Line("#ifndef QX_FORM", &unit);
  file.Line("#define QX_FORM(Name) QX_FORM_##Name", &unit);
  file.Line("// The text a control shows: a text control's own, a form's title, a button's or label's caption.", &unit);
  file.Line("inline CText* QxTextOf(CControl* c) {", &unit);
  file.Line("  if (auto* text = dynamic_cast<CText*>(c)) return text;", &unit);
  file.Line("  if (auto* form = dynamic_cast<CForm*>(c)) return form->Caption->Title;", &unit);
  file.Line("  if (auto* button = dynamic_cast<CButton*>(c)) return button->Caption;", &unit);
  file.Line("  if (auto* label = dynamic_cast<CLabel*>(c)) return label->Caption;", &unit);
  file.Line("  return nullptr;", &unit);
  file.Line("}", &unit);
  file.Line("#endif", &unit);
  for (CClassInfo* form : FormClasses(unit)) {
    file.Line("", form);
    file.Line("#define QX_FORM_" + form->GetName().ToStd() + " \\", form);
    for (const std::string& line : FormMacro(*form)) file.Line(line + " \\", form);
    file.Line("  static_assert(true)", form);
  }
  return file;
}

std::optional<CFileText> ProgramEntry(CInfo& app, const std::vector<CUnitInfo*>& units, std::string& why,
                                      CInfo*& faulty) {
  for (CUnitInfo* unit : units)
    for (std::int32_t i = 0; i < unit->ChildCount().Value; ++i)
      if (dynamic_cast<COperInfo*>(unit->Child(i)) && unit->Child(i)->GetName() == "main") return std::nullopt;
  for (CUnitInfo* unit : units) {
    const std::vector<CClassInfo*> forms = FormClasses(*unit);
    if (forms.empty()) continue;
    CClassInfo& form = *forms.front();
    // The class's full name: the classes around it and the namespace of the outermost.
    std::string name = form.GetName().ToStd();
    const CInfo* top = &form;
    for (; dynamic_cast<const CClassInfo*>(top->Parent); top = top->Parent) name = top->Parent->GetName().ToStd() + "::" + name;
    const std::string_view space = ExtraValue(top->Extra().View(), "namespace");
    if (!space.empty()) name = std::string(space) + "::" + name;
    CFileText file;
    file.Line("// The program's entry, made because no unit has a main: it shows " + form.GetName().ToStd() +
                  " as the main window.",
              &form);
    file.Line("#include <memory>", &form);
    file.Line("", &form);
    file.Line("#include \"controls/CtrlApp.h\"", &form);
    file.Line("#include \"widgets/WidgetClasses.h\"", &form);
    file.Line("#include \"" + unit->GetName().ToStd() + ".h\"", &form);
    file.Line("", &form);
    file.Line("int main() {", &form);
    file.Line("  auto app = std::make_unique<CCtrlApp>(WidgetClassRows());", &form);
    file.Line("  CtrlApp = app.get();", &form);
    file.Line("  {", &form);
    file.Line("    // The first form made is the main window; closing it ends the loop.", &form);
    file.Line("    std::unique_ptr<" + name + "> form(new " + name + "(nullptr));", &form);
    file.Line("    app->Run();", &form);
    file.Line("  }", &form);
    file.Line("  return 0;", &form);
    file.Line("}", &form);
    return file;
  }
  why = "В приложении нет ни функции main, ни класса формы: программе не с чего начаться"_cp;
  faulty = &app;
  return std::nullopt;
}

}  // namespace writer
