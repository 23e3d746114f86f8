// The message queue and run loop: order, quit, peeking, translation and dispatch.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Clock.h"
#include "platform/Messages.h"

#include "tests/platform/Printers.h"

namespace platform {
namespace {

class LoopTest : public testing::Test {
 protected:
  void SetUp() override {
    UseVirtualClock();
    Message m;
    while (PeekMessage(m)) {
    }
  }
};

TEST_F(LoopTest, PostedMessagesArriveInOrderAndQuitEndsTheLoop) {
  const std::vector<Message> posted = {
      {7, MessageKind::User, 1, 2},
      {0, MessageKind::User, 3, 4},  // a thread message
      {7, MessageKind::KeyDown, 30, 0},
      {9, MessageKind::Char, 0xDF, 0},
  };
  for (const Message& m : posted) PostMessage(m);
  PostQuitMessage(3);
  PostMessage({7, MessageKind::User, 5, 6});  // the quit request waits for the queue to empty

  std::vector<Message> got;
  Message m;
  while (GetMessage(m)) got.push_back(m);
  std::vector<Message> expected = posted;
  expected.push_back({7, MessageKind::User, 5, 6});
  EXPECT_EQ(got, expected);
  EXPECT_EQ(m.kind, MessageKind::Quit);
  EXPECT_EQ(m.a, 3);
  EXPECT_FALSE(PeekMessage(m)) << "the quit message is fetched once";
}

TEST_F(LoopTest, PeekAnswersAtOnceAndLeavesTheQuitRequestQueued) {
  Message m;
  EXPECT_FALSE(PeekMessage(m));
  PostMessage({4, MessageKind::User, 1, 0});
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m, (Message{4, MessageKind::User, 1, 0}));
  EXPECT_FALSE(PeekMessage(m));

  PostQuitMessage(0);
  EXPECT_FALSE(PeekMessage(m));
  EXPECT_FALSE(GetMessage(m)) << "Peek must not have taken the quit message";
  EXPECT_EQ(m.kind, MessageKind::Quit);
}

TEST_F(LoopTest, PaintComesAfterInputOnceAndBeforeTimers) {
  InvalidateWindow(5);
  InvalidateWindow(5);
  InvalidateWindow(6);
  PostMessage({5, MessageKind::User, 0, 0});
  Message m;
  std::vector<Message> got;
  while (PeekMessage(m)) got.push_back(m);
  const std::vector<Message> expected = {
      {5, MessageKind::User, 0, 0}, {5, MessageKind::Paint, 0, 0}, {6, MessageKind::Paint, 0, 0}};
  EXPECT_EQ(got, expected);
}

// Key-downs of Enter, Backspace, Tab and Escape gain their character right after them, ahead of
// anything already queued (the key's release); other keys and other messages gain nothing.
TEST_F(LoopTest, TranslateAddsTheCharacterOfControlKeys) {
  struct Case {
    const char* key;
    MessageKind kind;
    int code;
    int character;  // -1: none
  } const cases[] = {
      {"Enter", MessageKind::KeyDown, 28, 13},
      {"Backspace", MessageKind::KeyDown, 14, 8},
      {"Tab", MessageKind::KeyDown, 15, 9},
      {"Escape", MessageKind::KeyDown, 1, 27},
      {"A: its character comes from text input", MessageKind::KeyDown, 30, -1},
      {"Delete", MessageKind::KeyDown, 83, -1},
      {"Enter released", MessageKind::KeyUp, 28, -1},
      {"a character message", MessageKind::Char, 28, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    PostMessage({3, c.kind, c.code, 0});
    PostMessage({3, MessageKind::KeyUp, c.code, 0});
    Message m;
    ASSERT_TRUE(PeekMessage(m));
    TranslateMessage(m);
    std::vector<Message> rest;
    while (PeekMessage(m)) rest.push_back(m);
    std::vector<Message> expected;
    if (c.character >= 0) expected.push_back({3, MessageKind::Char, c.character, 0});
    expected.push_back({3, MessageKind::KeyUp, c.code, 0});
    EXPECT_EQ(rest, expected);
  }
}

struct Recorder {
  std::vector<Message> seen;
  std::int32_t answer = 0;

  static std::int32_t Procedure(void* context, const Message& m) {
    auto* self = static_cast<Recorder*>(context);
    self->seen.push_back(m);
    return self->answer;
  }
};

TEST_F(LoopTest, DispatchReachesTheRegisteredProcedureWithItsContext) {
  Recorder first;
  Recorder second;
  first.answer = 11;
  second.answer = 22;
  SetWindowProcedure(1, &Recorder::Procedure, &first);
  SetWindowProcedure(2, &Recorder::Procedure, &second);

  EXPECT_EQ(DispatchMessage({1, MessageKind::User, 5, 0}), 11);
  EXPECT_EQ(DispatchMessage({2, MessageKind::MouseMove, -5, 10}), 22);
  EXPECT_EQ(DispatchMessage({3, MessageKind::User, 0, 0}), 0) << "window without a procedure";
  EXPECT_EQ(DispatchMessage({0, MessageKind::User, 0, 0}), 0) << "thread message";
  SetWindowProcedure(0, &Recorder::Procedure, &first);
  EXPECT_EQ(DispatchMessage({0, MessageKind::User, 0, 0}), 0) << "window 0 takes no procedure";

  SetWindowProcedure(1, nullptr, nullptr);
  EXPECT_EQ(DispatchMessage({1, MessageKind::User, 6, 0}), 0) << "detached";
  SetWindowProcedure(2, nullptr, nullptr);

  EXPECT_EQ(first.seen, (std::vector<Message>{{1, MessageKind::User, 5, 0}}));
  EXPECT_EQ(second.seen, (std::vector<Message>{{2, MessageKind::MouseMove, -5, 10}}));
}

// A procedure that detaches itself while it runs must not pull the ground from under the call.
TEST_F(LoopTest, AProcedureMayDetachItselfWhileItRuns) {
  static int calls = 0;
  calls = 0;
  SetWindowProcedure(
      8,
      [](void*, const Message&) -> std::int32_t {
        ++calls;
        SetWindowProcedure(8, nullptr, nullptr);
        return 1;
      },
      nullptr);
  EXPECT_EQ(DispatchMessage({8, MessageKind::User, 0, 0}), 1);
  EXPECT_EQ(DispatchMessage({8, MessageKind::User, 0, 0}), 0);
  EXPECT_EQ(calls, 1);
}

TEST_F(LoopTest, WaitingForNothingUnderTheVirtualClockAbortsWithAReason) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        Message m;
        GetMessage(m);
      },
      "virtual clock.*wait forever");
}

}  // namespace
}  // namespace platform
