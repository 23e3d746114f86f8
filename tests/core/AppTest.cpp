#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/App.h"
#include "platform/Messages.h"

namespace {

// An application whose idle calls and dispatched messages a test can see.
class RecordingApp : public CApp {
 public:
  void Idle() override { log.push_back("idle"); }
  std::vector<std::string> log;
};

constexpr platform::WindowId kWindow = 4242;

// Routes the window's messages to a test's handler.
struct Window {
  std::function<void(const platform::Message&)> handle;
  explicit Window(std::function<void(const platform::Message&)> h) : handle(std::move(h)) {
    platform::SetWindowProcedure(kWindow, &Window::Procedure, this);
  }
  ~Window() { platform::SetWindowProcedure(kWindow, nullptr, nullptr); }
  static std::int32_t Procedure(void* context, const platform::Message& m) {
    static_cast<Window*>(context)->handle(m);
    return 0;
  }
};

void Post(std::int32_t a) { platform::PostMessage({kWindow, platform::MessageKind::User, a, 0}); }

}  // namespace

TEST(RunLoop, IdleFollowsEveryDispatchedMessage) {
  RecordingApp app;
  Window window([&](const platform::Message& m) {
    app.log.push_back("msg " + std::to_string(m.a));
    if (m.a == 3) app.Quit();
  });
  Post(1);
  Post(2);
  Post(3);
  Post(4);  // still queued after Quit: Run ends after the message being handled
  app.Run();
  EXPECT_EQ(app.log, (std::vector<std::string>{"msg 1", "idle", "msg 2", "idle", "msg 3", "idle"}));
  EXPECT_FALSE(app.Running);
  platform::Message rest;
  ASSERT_TRUE(platform::PeekMessage(rest));
  EXPECT_EQ(rest.a, 4);
}

TEST(RunLoop, EndModalEndsOnlyTheNestedLoop) {
  RecordingApp app;
  Window window([&](const platform::Message& m) {
    app.log.push_back("msg " + std::to_string(m.a));
    if (m.a == 1) {
      Post(2);
      app.RunModal();  // returns on EndModal, the outer loop goes on
      app.log.push_back("modal over");
      Post(3);
    }
    if (m.a == 2) app.EndModal();
    if (m.a == 3) app.Quit();
  });
  Post(1);
  app.Run();
  EXPECT_EQ(app.log, (std::vector<std::string>{"msg 1", "msg 2", "idle", "modal over", "idle",
                                               "msg 3", "idle"}));
}

TEST(RunLoop, QuitDuringAModalLoopTakesEffectWhenTheOuterLoopResumes) {
  RecordingApp app;
  Window window([&](const platform::Message& m) {
    app.log.push_back("msg " + std::to_string(m.a));
    if (m.a == 1) {
      Post(2);
      Post(3);
      Post(4);
      app.RunModal();
      app.log.push_back("modal over");
    }
    if (m.a == 2) app.Quit();       // the modal loop goes on
    if (m.a == 3) app.EndModal();   // then the outer loop sees Running false
  });
  Post(1);
  app.Run();
  EXPECT_EQ(app.log, (std::vector<std::string>{"msg 1", "msg 2", "idle", "msg 3", "idle",
                                               "modal over", "idle"}));
  platform::Message rest;
  ASSERT_TRUE(platform::PeekMessage(rest));  // message 4 was never fetched
  EXPECT_EQ(rest.a, 4);
}

TEST(RunLoop, AQuitMessageEndsEitherLoop) {
  RecordingApp app;
  Window window([&](const platform::Message& m) {
    app.log.push_back("msg " + std::to_string(m.a));
    if (m.a == 1) {
      platform::PostQuitMessage(0);
      app.RunModal();
      app.log.push_back("modal over");
    }
  });
  Post(1);
  app.Run();  // the quit that ended the modal loop ends this one too
  EXPECT_EQ(app.log, (std::vector<std::string>{"msg 1", "modal over", "idle"}));
  EXPECT_FALSE(app.Modal);
}
