// The look of a panel. A panel owns one template, which builds the panel's background, two
// bevels and client face when the panel is made and later switches them between looks. Widgets
// never paint their borders themselves; they ask their template for a look:
//
//   Template->InitButton();   // once, right after the panel is built: moves the client face
//   Template->ButtonDown();   // while pressed
//   Template->ButtonUp();
//
// The drawing order is the creation order: background, outer bevel, inner bevel, client face,
// then the panel's own children.
#pragma once

#include "core/Object.h"

class CBevel;
class CControl;
class CPanel;

class CPanelTemplate : public CObject {
 public:
  // The two slots are the panel's Background and Client fields, where the template puts the
  // controls it makes.
  CPanelTemplate(CPanel* panel, CControl** backgroundSlot, CControl** clientSlot);

  CStr ClassName() const override;

  // These move the client face relative to where it is: each is applied once, after building.
  // None of the first nine repaints; the widget that asks does.
  virtual void InitButton() = 0;
  virtual void ButtonDown() = 0;
  virtual void ButtonUp() = 0;
  virtual void InitFlatButton() = 0;
  virtual void FlatButtonDown() = 0;
  virtual void FlatButtonUp() = 0;
  virtual void InitEdit() = 0;
  virtual void InitBox() = 0;
  virtual void InitForm() = 0;
  virtual void InitFlat() = 0;
  virtual void InitRaised() = 0;
  virtual void InitSunken() = 0;
  virtual void InitBorderless() = 0;

  CPanel* Panel;  // not owned: the panel owns the template
  CControl** BackgroundSlot;
  CControl** ClientSlot;

 protected:
  CControl* Background() const { return *BackgroundSlot; }
  CControl* Client() const { return *ClientSlot; }
};

// The classic grey three-dimensional look: a face of grey 0.8 in a frame of two bevels.
class CWinOldPanelTemplate : public CPanelTemplate {
 public:
  CWinOldPanelTemplate(CPanel* panel, CControl** backgroundSlot, CControl** clientSlot);

  CStr ClassName() const override;

  void InitButton() override;
  void ButtonDown() override;
  void ButtonUp() override;
  void InitFlatButton() override;
  void FlatButtonDown() override;
  void FlatButtonUp() override;
  void InitEdit() override;
  void InitBox() override;
  void InitForm() override;
  void InitFlat() override;
  void InitRaised() override;
  void InitSunken() override;
  void InitBorderless() override;

  CBevel* OuterBevel = nullptr;  // on the panel's edge
  CBevel* InnerBevel = nullptr;  // one unit inside it

 private:
  // Outer and inner bevel states, with the inner bevel shown (a negative inner state hides it).
  void Looks(int outer, int inner);
  void ClientToBackground();
};
