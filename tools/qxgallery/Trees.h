// The tree boxes of the gallery, in a window of their own: the project tree of a small model
// with an element of every kind and every access, and the property tuner beside it. The tuner
// starts on a shape of the window, which its edits move and recolour on Enter; a row of the
// project tree shows that element's properties instead.
#pragma once

#include <memory>

#include "core/Values.h"

class CCtrlApp;
class CControl;
class CForm;
class CInfoTreeBox;
class CTunerTreeBox;

class TreePage : public CObject {
 public:
  explicit TreePage(CCtrlApp& app);
  ~TreePage() override;

 private:
  void BuildModel();
  void ElementSelected(CControl* sender);
  void ShapeClicked(CControl* sender);

  std::unique_ptr<CForm> window_;
  CInfoTreeBox* tree_ = nullptr;
  CTunerTreeBox* tuner_ = nullptr;
  CControl* shape_ = nullptr;
};
