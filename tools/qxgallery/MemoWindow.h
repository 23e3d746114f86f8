// The gallery's second window: the text editor holding a few hundred lines of C++, in a form of
// its own that can be moved and resized (the memo follows its client face), scrolled by its bars
// or the wheel, and typed into once clicked.
#pragma once

#include <memory>

class CForm;
class CMemo;

class MemoWindow {
 public:
  // Needs the font "Text", which the gallery's main form registers.
  MemoWindow();
  ~MemoWindow();

 private:
  std::unique_ptr<CForm> form_;
  CMemo* memo_ = nullptr;
};
