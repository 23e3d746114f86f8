// Controls and hook receivers that record what reaches them, for the control tests.
#pragma once

#include <string>
#include <vector>

#include "controls/Control.h"

namespace qxtest {

inline std::string Point(const CPoint& p) {
  return "(" + std::to_string(static_cast<long long>(p.X.Round().Value)) + "," +
         std::to_string(static_cast<long long>(p.Y.Round().Value)) + ")";
}

inline std::string Corners(const CRect& r) {
  return Point(r.M1) + "-" + Point(r.M2);
}

// Receives every hook of the controls it is attached to and writes one line per call:
// "down A (5,5)", "move A (80,80)", "up A (-25,-25)", "click A", "press A a", "keydown A 30"...
class EventLog : public CObject {
 public:
  void Attach(CControl& control, const std::string& name) {
    control.SetName(name.c_str());
    control.OnMouseDown.Set(this, &EventLog::Down);
    control.OnMouseMove.Set(this, &EventLog::Move);
    control.OnMouseUp.Set(this, &EventLog::Up);
    control.OnClick.Set(this, &EventLog::Clicked);
    control.OnKeyPress.Set(this, &EventLog::Pressed);
    control.OnKeyDown.Set(this, &EventLog::KeyDown);
    control.OnKeyUp.Set(this, &EventLog::KeyUp);
  }

  std::vector<std::string> Take() {
    std::vector<std::string> taken;
    taken.swap(lines);
    return taken;
  }

  std::vector<std::string> lines;

 private:
  static std::string Name(CControl* c) { return c ? c->GetName().ToStd() : "?"; }
  void Down(CControl* c, CInt b, CShiftStateSet, CPoint p) {
    lines.push_back("down " + Name(c) + " " + Point(p) +
                    (b.Value ? " b" + std::to_string(b.Value) : ""));
  }
  void Move(CControl* c, CShiftStateSet, CPoint p) {
    lines.push_back("move " + Name(c) + " " + Point(p));
  }
  void Up(CControl* c, CInt, CShiftStateSet, CPoint p) {
    lines.push_back("up " + Name(c) + " " + Point(p));
  }
  void Clicked(CControl* c) { lines.push_back("click " + Name(c)); }
  void Pressed(CControl* c, CStr ch) { lines.push_back("press " + Name(c) + " " + ch.ToStd()); }
  void KeyDown(CControl* c, CInt key, CShiftStateSet s) {
    lines.push_back("keydown " + Name(c) + " " + std::to_string(key.Value) +
                    (s.Shift ? " shift" : ""));
  }
  void KeyUp(CControl* c, CInt key, CShiftStateSet) {
    lines.push_back("keyup " + Name(c) + " " + std::to_string(key.Value));
  }
};

// A control that counts its paints, overlays, ticks and focus changes.
class Probe : public CControl {
 public:
  explicit Probe(CControl* parent) : CControl(parent) {}
  void Paint(const CRect& clip) override {
    paints++;
    CControl::Paint(clip);
  }
  void PaintOverlay() override { overlays++; }
  void TimerTick() override { ticks++; }
  void SetFocused(CBool focused) override { focusLost += focused ? 0 : 1; }

  int paints = 0;
  int overlays = 0;
  int ticks = 0;
  int focusLost = 0;
};

}  // namespace qxtest
