// The designer window.
//
// [SECTION] The tools and the kinds of control
// [SECTION] Building
// [SECTION] Tools
#include "designer/DsgnForm.h"

#include <functional>

#include "controls/Pic.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "core/App.h"
#include "core/Cp1251.h"
#include "designer/ColorForm.h"
#include "designer/Map.h"
#include "model/ClassManager.h"
#include "widgets/Bevel.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/ToolBar.h"
#include "widgets/Tuner.h"

// [SECTION] The tools and the kinds of control

namespace {

CStr Home() {
  return CoreApp ? CoreApp->HomeDir : CStr("C:\\Qxe");
}

constexpr const char* kPicture = "\\Pics\\Other\\AboutPic64.bmp";

template <class T>
CControl* Make(CControl* parent) {
  return new T(parent);
}

// What a kind gets beyond its construction. It is also what a clone needs again: the records of
// these classes do not carry it.
void TextStep(CControl* c) {
  static_cast<CText*>(c)->Str = "Text";
}
void PicStep(CControl* c) {
  auto* pic = static_cast<CPic*>(c);
  pic->Centered = true;
  pic->SetFileName(Home() + kPicture);
}
void LabelStep(CControl* c) {  // labels and edits
  static_cast<CLabel*>(c)->Caption->Str = "Text";
}
void PicButtonStep(CControl* c) {
  static_cast<CPicButton*>(c)->Picture->SetFileName(Home() + kPicture);
}
void ButtonStep(CControl* c) {
  static_cast<CButton*>(c)->Caption->Str = "Text";
}
void FormStep(CControl* c) {
  auto* form = static_cast<CForm*>(c);
  form->Caption->Title->Str = "Caption";
  form->Caption->SetFramePart(true);
  form->Client->SetFramePart(true);
}

struct Tool {
  const char* picture;  // \Pics\Dsgn\<picture>.bmp
  void (CDsgnForm::*handler)(CControl*);
  const char* className = nullptr;  // the kind a tool from 7 on makes
  CControl* (*make)(CControl*) = nullptr;
  void (*step)(CControl*) = nullptr;
  bool separatorAfter = false;
};

// Tool n is row n - 1 and keeps n in its button's Number.
const Tool kTools[20] = {
    {"New", &CDsgnForm::NewClick},
    {"Clone", &CDsgnForm::CloneClick},
    {"Delete", &CDsgnForm::DeleteClick},
    {"Group", &CDsgnForm::GroupClick},
    {"UnGroup", &CDsgnForm::UnGroupClick},
    {"Color", &CDsgnForm::ColorClick, nullptr, nullptr, nullptr, true},
    {"Line", &CDsgnForm::AddControlClick, "CLine", &Make<CLine>},
    {"Rectangle", &CDsgnForm::AddControlClick, "CRectangle", &Make<CRectangle>},
    {"FillRectangle", &CDsgnForm::AddControlClick, "CFillRectangle", &Make<CFillRectangle>},
    {"Ellipse", &CDsgnForm::AddControlClick, "CEllipse", &Make<CEllipse>},
    {"FillEllipse", &CDsgnForm::AddControlClick, "CFillEllipse", &Make<CFillEllipse>},
    {"Text", &CDsgnForm::AddControlClick, "CText", &Make<CText>, &TextStep},
    {"Pic", &CDsgnForm::AddControlClick, "CPic", &Make<CPic>, &PicStep, true},
    {"Bevel", &CDsgnForm::AddControlClick, "CBevel", &Make<CBevel>},
    {"Panel", &CDsgnForm::AddControlClick, "CPanel", &Make<CPanel>},
    {"Label", &CDsgnForm::AddControlClick, "CLabel", &Make<CLabel>, &LabelStep},
    {"PicButton", &CDsgnForm::AddControlClick, "CPicButton", &Make<CPicButton>, &PicButtonStep},
    {"Button", &CDsgnForm::AddControlClick, "CButton", &Make<CButton>, &ButtonStep},
    {"Edit", &CDsgnForm::AddControlClick, "CEdit", &Make<CEdit>, &LabelStep},
    {"Form", &CDsgnForm::AddControlClick, "CForm", &Make<CForm>, &FormStep},
};

const Tool* KindOf(const CControl* control) {
  for (const Tool& tool : kTools)
    if (tool.className && control->ClassName() == CStr(tool.className)) return &tool;
  return nullptr;
}

// A clone is read back from the original's record, which leaves out the colour of the panel
// kinds and what each kind's own step set (a button's text, a picture's centring); a group's
// members are clones too and are finished the same way.
void FinishClone(CControl* original, CControl* copy) {
  copy->Color = original->Color;
  if (const Tool* kind = KindOf(copy)) {
    if (kind->step) kind->step(copy);
    return;
  }
  if (!CMap::IsGroup(copy) || original->FramePartCount() != copy->FramePartCount()) return;
  for (std::int32_t i = 0; i < copy->FramePartCount().Value; i++)
    FinishClone(original->GetFramePart(i), copy->GetFramePart(i));
}

// Every designed control, group members included.
void EachControl(CControl* map, const std::function<void(CControl*)>& visit) {
  std::vector<CControl*> pending;
  for (std::int32_t i = 0; i < map->ChildCount().Value; i++) pending.push_back(map->GetChild(i));
  while (!pending.empty()) {
    CControl* control = pending.back();
    pending.pop_back();
    visit(control);
    if (CMap::IsGroup(control))
      for (std::int32_t i = 0; i < control->FramePartCount().Value; i++)
        pending.push_back(control->GetFramePart(i));
  }
}

bool InTree(CControl* root, const CObject* object) {
  if (root == object) return true;
  for (std::int32_t i = 0; i < root->FramePartCount().Value; i++)
    if (InTree(root->GetFramePart(i), object)) return true;
  for (std::int32_t i = 0; i < root->ChildCount().Value; i++)
    if (InTree(root->GetChild(i), object)) return true;
  return false;
}

// The designed form's rows in the tuner: each change is shown at once.
template <auto Field>
void SetFormField(CObject* owner, CObject* value) {
  FieldSetter<Field>(owner, value);
  auto* form = dynamic_cast<CDesignedForm*>(owner);
  if (!form) return;
  form->Set = true;
  if (form->Designer) form->Designer->FormTuned();
}

CStr CheckFormSide(CObject*, const CObject* value) {
  const auto* side = dynamic_cast<const CInt*>(value);
  if (side && side->Value >= 1 && side->Value <= design::kMaxFormSide) return "";
  return "Размер формы - от 1 до 10000"_cp;
}

// No base: the object's own name would be a row that the design does not keep.
const CClassRow kDesignedFormRow = {
    "CDesignedForm",
    "",
    "QxDsgn",
    "Класс - проектируемая форма"_cp,
    &::Make<CDesignedForm>,
    {{"Title", "CStr", false, &FieldGetter<&CDesignedForm::Title>,
      &SetFormField<&CDesignedForm::Title>},
     {"Width", "CInt", false, &FieldGetter<&CDesignedForm::Width>,
      &SetFormField<&CDesignedForm::Width>, false, &CheckFormSide},
     {"Height", "CInt", false, &FieldGetter<&CDesignedForm::Height>,
      &SetFormField<&CDesignedForm::Height>, false, &CheckFormSide}}};

}  // namespace

CStr CDesignedForm::ClassName() const {
  return "CDesignedForm";
}

// [SECTION] Building

CDsgnForm::CDsgnForm(CControl* parent) : CForm(parent) {
  Sizable = false;

  Caption->Color = CColor(0.5, 0.5, 0.5);
  Caption->Title->Color = CColor(0.75, 0.75, 0.75);
  CControl* const hidden[] = {Caption->Icon, Caption->MinimizeButton, Caption->MaximizeButton,
                              Caption->RestoreButton, Caption->CloseButton};
  for (CControl* part : hidden) part->Visible = false;
  Caption->Title->SetX1(2);

  ToolBar = new CToolBar(this);
  ToolBar->SetBounds(Caption->M1.X, Caption->M2.Y, Client->GetWidth(), 21, true);
  ToolBar->Anchors.Set(1, 1, 2, 1);
  for (int i = 0; i < 20; i++) {
    const Tool& tool = kTools[i];
    ToolBar->AddButton(Home() + "\\Pics\\Dsgn\\" + tool.picture + ".bmp", i + 1,
                       CNotifyHook(this, tool.handler));
    if (tool.separatorAfter) ToolBar->AddSeparator();
  }

  Client->M1.Y = ToolBar->M2.Y + CFloat(2);  // that one coordinate: the face is not laid out

  Map = new CMap(Client);
  Map->SetBounds(0, 0, Client->GetWidth(), Client->GetHeight(), false);
  Map->Anchors.Set(1, 1, 2, 2);
  Map->Visible = true;
  Map->OnMouseUp.Set(this, &CDsgnForm::MapMouseUp);
  Map->OnKeyDown.Set(this, &CDsgnForm::MapKeyDown);

  CurrentColor = CColor(0, 0, 0);
  Form.Designer = this;
  Form.Title = Caption->Title->Str;  // the toolkit's own until a design is read
  // The tuner finds the form's rows in the registry; the first designer enters them.
  if (CoreApp && CoreApp->ClassMan && !CoreApp->ClassMan->Find(kDesignedFormRow.Name))
    CoreApp->ClassMan->Register(kDesignedFormRow);
}

void CDsgnForm::FormTuned() {
  // A form line that could not be read is replaced by the one now written, not kept beside it.
  std::erase_if(Unread, [](const std::string& line) {
    return line.starts_with(std::string(design::kFormKind) + " ") || line == design::kFormKind;
  });
  ShowForm();
}

void CDsgnForm::ShowForm() {
  Caption->Title->Str = Form.Title;
  Map->FormWidth = Form.Width;
  Map->FormHeight = Form.Height;
  Invalidate();
}

CStr CDsgnForm::ClassName() const {
  return "CDsgnForm";
}

// [SECTION] Tools

void CDsgnForm::ReleaseFromTuner(const std::vector<CControl*>& going) {
  if (!Tuner || !Tuner->Shown) return;
  for (CControl* control : going)
    if (InTree(control, Tuner->Shown)) {
      Tuner->ShowNothing();
      return;
    }
}

void CDsgnForm::ShowSelection() {
  if (!Tuner) return;
  if (CControl* first = Map->FirstSelected())
    Tuner->ShowObject(first);
  else
    Tuner->ShowNothing();
}

void CDsgnForm::MapMouseUp(CControl*, CInt, CShiftStateSet, CPoint) {
  if (!Tuner) return;
  CControl* first = Map->FirstSelected();
  Tuner->ShowObject(first ? static_cast<CObject*>(first) : &Form);
}

void CDsgnForm::MapKeyDown(CControl*, CInt key, CShiftStateSet) {
  switch (key.Value) {
    case kKeyDelete:
      DeleteClick(nullptr);
      break;
    case CMap::kKeyLeft:
    case CMap::kKeyRight:
    case CMap::kKeyUp:
    case CMap::kKeyDown:
      if (Tuner && Tuner->Shown) ShowSelection();
      break;
    default:
      break;
  }
}

void CDsgnForm::NewClick(CControl*) {
  std::vector<CControl*> going;
  for (std::int32_t i = 0; i < Map->FramePartCount().Value; i++)
    going.push_back(Map->GetFramePart(i));
  for (std::int32_t i = 0; i < Map->ChildCount().Value; i++) going.push_back(Map->GetChild(i));
  ReleaseFromTuner(going);
  Map->Clear();
  Clicks.clear();
  ShowSelection();
  Invalidate();
}

void CDsgnForm::CloneClick(CControl*) {
  std::vector<CControl*> copies;
  for (CControl* original : Map->Selected()) {
    CControl* copy = original->Clone();
    if (!copy) continue;
    FinishClone(original, copy);
    if (!CMap::IsGroup(copy)) copy->SetName(FreeName(copy->ClassName()));  // groups: MyControl1
    const CFloat step = CMap::kGrid;
    copy->SetRect(CRect(original->M1.X + step, original->M1.Y + step, original->M2.X + step,
                        original->M2.Y + step));
    copies.push_back(copy);
  }
  if (copies.empty()) return;
  Map->SetAllTracks(0);
  for (CControl* copy : copies) Map->SetTrackState(copy, 1);
  ShowSelection();
  Invalidate();
}

void CDsgnForm::DeleteClick(CControl*) {
  const std::vector<CControl*> going = Map->Selected();
  if (going.empty()) return;
  ReleaseFromTuner(going);
  for (CControl* control : going) Map->DeleteControl(control);
  PruneClicks();
  ShowSelection();
  Invalidate();
}

void CDsgnForm::GroupClick(CControl*) {
  Map->Group();
  Invalidate();
}

void CDsgnForm::UnGroupClick(CControl*) {
  std::vector<CControl*> going;
  for (CControl* control : Map->Selected())
    if (CMap::IsGroup(control)) going.push_back(control);
  ReleaseFromTuner(going);
  Map->UnGroup();
  PruneClicks();
  Invalidate();
}

void CDsgnForm::ColorClick(CControl* sender) {
  auto* button = dynamic_cast<CPicButton*>(sender);
  if (!button) return;
  // The dialog does not block the designer; a second click while it waits changes nothing.
  if (ColorDialog && ColorDialog->Visible) return;
  if (!ColorDialog) ColorDialog = new CColorForm(GetRoot());
  CColor colour;
  if (!ColorDialog->Execute(colour)) return;
  button->Picture->Visible = false;
  button->Client->Color = colour;
  CurrentColor = colour;
  button->Client->Invalidate();
}

void CDsgnForm::AddControlClick(CControl* sender) {
  if (!sender || sender->Number.Value < 7 || sender->Number.Value > 20) return;
  const Tool& kind = kTools[sender->Number.Value - 1];
  CControl* control = kind.make(Map);
  control->SetBounds(0, 0, 50, 50, true);
  control->Color = CurrentColor;
  control->Anchors.Set(3, 3, 4, 4);
  if (kind.step) kind.step(control);
  control->SetName(FreeName(kind.className));
  Invalidate();
}

CControl* CDsgnForm::MakeKind(const CStr& className, CControl* parent) {
  if (className == "CControl") return new CControl(parent);
  for (const Tool& tool : kTools)
    if (tool.className && className == CStr(tool.className)) {
      CControl* control = tool.make(parent);
      if (tool.step) tool.step(control);
      return control;
    }
  return nullptr;
}

CStr CDsgnForm::FreeName(const CStr& className) {
  const std::string_view kind = className.View().substr(className.View().empty() ? 0 : 1);
  for (std::int32_t n = 1;; ++n) {
    const CStr name = CStr(kind) + CInt(n).ToStr();
    bool taken = false;
    EachControl(Map, [&](CControl* c) { taken = taken || c->GetName() == name; });
    if (!taken) return name;
  }
}

const std::string* CDsgnForm::ClickOf(CControl* control) const {
  const auto found = Clicks.find(control);
  return found == Clicks.end() ? nullptr : &found->second;
}

void CDsgnForm::SetClick(CControl* control, const std::string& operation) {
  if (operation.empty())
    Clicks.erase(control);
  else
    Clicks[control] = operation;
}

void CDsgnForm::RenameClicks(const std::string& from, const std::string& to) {
  if (from == to) return;
  for (auto it = Clicks.begin(); it != Clicks.end();) {
    if (it->second != from) {
      ++it;
    } else if (to.empty()) {
      it = Clicks.erase(it);
    } else {
      it->second = to;
      ++it;
    }
  }
}

void CDsgnForm::PruneClicks() {
  std::map<CControl*, std::string> kept;
  EachControl(Map, [&](CControl* c) {
    if (const std::string* click = ClickOf(c)) kept[c] = *click;
  });
  Clicks = std::move(kept);
}
