// The environment under the harness: the real application object with its main window, and the
// steps a person takes in it (a toolbar command, an answer to its question, a kind chosen in the
// add dialog, a row pressed in the tree), each one line in a test.
//
// Commands that ask run a nested loop: their answers are queued before the command's click is
// handled, as a person's next clicks would be waiting in the queue.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "controls/CtrlApp.h"
#include "controls/Pic.h"
#include "controls/Text.h"
#include "core/Cp1251.h"
#include "ide/App1.h"
#include "ide/Form1.h"
#include "ide/OutputBox.h"
#include "ide/SelItemForm.h"
#include "model/ClassManager.h"
#include "model/Kinds.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Timers.h"
#include "storage/Config.h"
#include "tests/support/Gui.h"
#include "tests/widgets/WidgetFixture.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/MsgDlg.h"
#include "widgets/ToolBar.h"
#include "widgets/TreeBox.h"

namespace qxtest {

inline std::string FileBytes(const char* systemPath) {
  std::ifstream in(platform::LinuxPath(systemPath), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const char* systemPath, const std::string& bytes) {
  const std::filesystem::path path = platform::LinuxPath(systemPath);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

constexpr const char* kConf = "C:\\Qxe\\Conf.qxe";

class IdeTest : public testing::Test {
 protected:
  IdeTest() {
    // Each test starts from a drive with the pictures alone: no file an earlier test left.
    InstallPictures();
    for (const auto& entry : std::filesystem::directory_iterator(platform::LinuxPath("C:\\Qxe")))
      if (entry.path().filename() != "Pics") std::filesystem::remove_all(entry.path());
    Start();
  }

  // A fresh application object, as at a new start of the program.
  void Start() {
    gui.reset();
    gui = std::make_unique<Gui>([] { return std::make_unique<CApp1>(); });
    app = static_cast<CApp1*>(&gui->App());
    main = app->IdeForm;
    gui->RunUntilIdle();
  }

  CInfo& Root() { return CoreApp->InfoMan.Root; }

  // An element made directly, for the situation a test starts from.
  CInfo* Make(CInfo* parent, const char* className, const char* name) {
    auto* element = dynamic_cast<CInfo*>(CoreApp->ClassMan->CreateByName(className));
    EXPECT_NE(element, nullptr) << className;
    element->SetName(name);
    parent->Append(element);
    return element;
  }
  COperInfo* MakeOper(CInfo* parent, const char* name, const char* code) {
    auto* oper = static_cast<COperInfo*>(Make(parent, "COperInfo", name));
    oper->Code = code;
    return oper;
  }

  // [Queued input] A click at view coordinates of the main window.
  void QueueClick(CPoint p) {
    const platform::WindowId id = Gui::WindowOf(*main);
    const int x = p.X.Round().Value, y = p.Y.Round().Value;
    platform::PostMessage({id, platform::MessageKind::LeftButtonDown, x, y});
    platform::PostMessage({id, platform::MessageKind::LeftButtonUp, x, y});
  }
  // With the modifier keys held (platform::ShiftBits).
  void QueueKey(int scanCode, int character = -1, std::uint8_t shift = 0) {
    const platform::WindowId id = Gui::WindowOf(*main);
    platform::PostMessage({id, platform::MessageKind::KeyDown, scanCode, 0, shift});
    if (character >= 0) platform::PostMessage({id, platform::MessageKind::Char, character});
    platform::PostMessage({id, platform::MessageKind::KeyUp, scanCode, 0, shift});
  }
  void QueueType(std::string_view text) {
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      QueueKey(ScanCodeOf(byte), byte);
    }
  }
  CSpeedButton* CommandButton(int number) {
    for (std::int32_t i = 0; i < main->ToolBar->ChildCount().Value; ++i) {
      auto* button = dynamic_cast<CSpeedButton*>(main->ToolBar->GetChild(i));
      if (button && button->Number.Value == number) return button;
    }
    ADD_FAILURE() << "no command " << number;
    return nullptr;
  }
  void QueueCommand(int number) {
    if (CSpeedButton* button = CommandButton(number))
      QueueClick(button->GetAbsM1() + CPoint(10, 10));
  }
  // Yes or No in the message dialog (both stand at fixed places for a question).
  void QueueAnswer(bool yes) {
    QueueClick(app->MsgDlg->Client->GetAbsM1() + CPoint(yes ? 95 : 155, 80));
  }
  // In the add dialog: the name replaces what the edit holds, then the kind's button.
  void QueueName(std::string_view name) {
    CEdit* edit = main->AddDialog()->NameEdit;
    QueueClick(edit->GetAbsM1() + CPoint(5, 5));
    QueueKey(79);  // End
    for (std::int32_t i = 0; i < edit->GetText().Length().Value; ++i) QueueKey(14, 8);
    QueueType(name);
  }
  void QueueKind(int number) {
    CPicButton* button = main->AddDialog()->KindButtons[number];
    QueueClick(button->GetAbsM1() + CPoint(10, 10));
  }
  void QueueCloseDialog() {
    QueueClick(main->AddDialog()->Caption->CloseButton->GetAbsM1() + CPoint(5, 5));
  }

  // Handles everything queued. A nested loop that nobody answers is ended by a watchdog, and
  // the test fails.
  void Settle() {
    struct Watchdog {
      static std::int32_t Procedure(void* context, const platform::Message&) {
        auto* self = static_cast<Watchdog*>(context);
        self->fired = true;
        self->app->EndModal();
        return 0;
      }
      CCtrlApp* app;
      bool fired = false;
    } watchdog{app};
    const platform::TimerId id = platform::SetTimer(0, 60000, &Watchdog::Procedure, &watchdog);
    gui->RunUntilIdle();
    platform::KillTimer(id);
    EXPECT_FALSE(watchdog.fired) << "a dialog waited for an answer that never came";
  }

  // A whole command: its click, then the answers, then everything handled.
  void Command(int number) {
    QueueCommand(number);
    Settle();
  }
  void Command(int number, bool answer) {
    QueueCommand(number);
    QueueAnswer(answer);
    Settle();
  }
  // Add (4) or SubAdd (5) with a name and a kind.
  void AddVia(int command, int kind, std::string_view name) {
    QueueCommand(command);
    QueueName(name);
    QueueKind(kind);
    Settle();
  }

  // Where the tree shows the element: its row counted from the top through the expanded rows, and
  // its depth; false when it is not shown.
  bool RowOf(CInfo* element, int& row, int& depth) {
    row = 0;
    depth = 0;
    bool found = false;
    auto walk = [&](auto&& self, CInfo* node, int level) -> void {
      for (std::int32_t i = 0; i < node->ChildCount().Value && !found; ++i) {
        CInfo* child = node->Child(i);
        if (child == element) {
          found = true;
          depth = level;
          return;
        }
        ++row;
        if (child->TreeFlags & 1) self(self, child, level + 1);
      }
    };
    walk(walk, &Root(), 0);
    return found;
  }

  // A press on the element's row of the tree; its ancestors are expanded first.
  void Select(CInfo* element) {
    for (CInfo* a = element->Parent; a; a = a->Parent) a->TreeFlags |= 1;
    int row = 0, depth = 0;
    ASSERT_TRUE(RowOf(element, row, depth));
    main->Invalidate();
    QueueClick(main->Tree->Client->GetAbsM1() + CPoint(16 * depth + 40, 16 * row + 8));
    Settle();
  }

  std::unique_ptr<Gui> gui;
  CApp1* app = nullptr;
  CForm1* main = nullptr;
};

}  // namespace qxtest
