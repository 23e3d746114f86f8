#include "tools/qxgallery/Trees.h"

#include "controls/CtrlApp.h"
#include "controls/Shapes.h"
#include "controls/Text.h"
#include "core/App.h"
#include "core/Cp1251.h"
#include "model/Kinds.h"
#include "widgets/Button.h"
#include "widgets/Form.h"
#include "widgets/Tuner.h"

namespace {

template <class T>
T* Element(CInfo* parent, const CStr& name, bool expanded = true) {
  auto* element = new T;
  element->SetName(name);
  element->About = "Элемент галереи"_cp;
  element->TreeFlags = expanded ? 1 : 0;
  parent->Append(element);
  return element;
}

template <class T>
T* Member(CInfo* parent, const CStr& name, const CStr& type, int access) {
  auto* member = Element<T>(parent, name);
  member->Type = type;
  member->Access = access;
  return member;
}

}  // namespace

TreePage::TreePage(CCtrlApp& app) {
  window_ = std::make_unique<CForm>(nullptr);
  CForm& window = *window_;
  window.SetBounds(150, 120, 700, 500, true);
  window.Caption->Title->Str = "Qxworks: дерево проекта и настройщик"_cp;
  CControl* face = window.Client;

  tree_ = new CInfoTreeBox(face);
  tree_->SetBounds(8, 8, 300, 440, true);
  tree_->LoadIcons(app.HomeDir);
  tree_->OnSelect.Set(this, &TreePage::ElementSelected);
  BuildModel();

  tuner_ = new CTunerTreeBox(face);
  tuner_->SetBounds(316, 8, 300, 440, true);
  tuner_->DividerX = 110;

  // The shape the tuner starts on; a click on it shows it in the tuner again.
  auto* shape = new CFillRectangle(face);
  shape->SetBounds(624, 40, 50, 40, true);
  shape->Color = CColor(0.2, 0.5, 0.9);
  shape->OnClick.Set(this, &TreePage::ShapeClicked);
  shape_ = shape;
  auto* hint = new CText(face);
  hint->SetBounds(624, 8, 60, 20, true);
  hint->Str = "Фигура"_cp;
  hint->SetFontName("Text");
  tuner_->ShowObject(shape_);
}

TreePage::~TreePage() {
  if (CoreApp) CoreApp->InfoMan.Root.Children.Clear();
}

// Every kind of element, attributes and operations with every access (3, published, has no
// picture), statements under an operation, and a collapsed library.
void TreePage::BuildModel() {
  CInfo& root = CoreApp->InfoMan.Root;
  auto* group = Element<CProjectGroupInfo>(&root, "Проекты"_cp);
  auto* app = Element<CAppInfo>(group, "Demo");
  auto* unit = Element<CUnitInfo>(app, "Main");
  auto* cls = Element<CClassInfo>(unit, "CShape");
  cls->Base = "CObject";
  const char* const access[] = {"Private", "Protected", "Public", "Published"};
  for (int a = 0; a < 4; ++a) Member<CAtrInfo>(cls, CStr("m") + access[a], "int", a);
  for (int a = 0; a < 4; ++a) {
    auto* oper = Member<COperInfo>(cls, CStr("Do") + access[a], a == 2 ? "void" : "", a);
    if (a == 2) {
      oper->AddParam("int", "x");
      Element<CExprInfo>(oper, "x = 1");
      Element<CIfInfo>(oper, "");
      Element<CFuncInfo>(oper, "Draw");
      Element<CVarInfo>(oper, "count");
      Element<CIntConstInfo>(oper, "42");
      Element<CStrConstInfo>(oper, "Привет"_cp);
      Element<COperatorInfo>(oper, "+");
    }
  }
  auto* point = Element<CStructInfo>(unit, "TPoint");
  Member<CAtrInfo>(point, "x", "long", 2);
  auto* type = Element<CTypeInfo>(unit, "PInt");
  type->Pointer = 1;
  type->BaseType = "int";
  Element<CCodeInfo>(unit, "Code");
  Element<CObjectInfo>(unit, "Object");
  Element<CActionInfo>(unit, "Action");
  Element<CPackInfo>(group, "Pack");
  auto* lib = Element<CLibInfo>(group, "Lib", false);
  Element<CDllInfo>(Element<CUnitInfo>(lib, "Inside"), "Tools");
  Element<CDllInfo>(group, "Shell");
  Element<CProjectInfo>(&root, "Project");
  tree_->Selected = cls;
}

void TreePage::ElementSelected(CControl*) {
  tuner_->ShowObject(tree_->Selected);
}

void TreePage::ShapeClicked(CControl*) {
  tuner_->ShowObject(shape_);
}
