#include <gtest/gtest.h>

#include <string>

#include "graphics/Geometry.h"
#include "graphics/Handler.h"

namespace {

struct Sender : CObject {};

// A receiver with a base, so the hooked object sits at an offset inside it.
struct Base {
  virtual ~Base() = default;
  int padding = 0;
};

struct Receiver : Base, CObject {
  std::string log;
  void Moved(CObject* sender, CInt button, CPoint p) {
    log += "moved " + std::to_string(button.Value) + " " +
           std::to_string(static_cast<int>(p.X.Value)) + (sender ? " from sender" : "");
  }
  virtual void Ticked() { log += "tick"; }
};

struct Derived : Receiver {
  void Ticked() override { log += "derived tick"; }
};

}  // namespace

TEST(CHandler, EmptyHookIsSkipped) {
  CHandler<CObject*, CInt, CPoint> hook;
  EXPECT_FALSE(hook.IsSet());
  hook(nullptr, 1, CPoint());  // nothing to call, nothing happens
  EXPECT_EQ(hook.Object(), nullptr);
}

TEST(CHandler, CallsTheMemberWithTheSenderAndTheValues) {
  Receiver r;
  Sender s;
  CHandler<CObject*, CInt, CPoint> hook(&r, &Receiver::Moved);
  EXPECT_TRUE(hook.IsSet());
  EXPECT_EQ(hook.Object(), &r);
  EXPECT_TRUE(hook.Is(&r, &Receiver::Moved));
  hook(&s, 2, CPoint(7, 0));
  EXPECT_EQ(r.log, "moved 2 7 from sender");

  // Copies call the same pair; clearing one leaves the other.
  auto copy = hook;
  hook.Clear();
  hook(&s, 3, CPoint());
  copy(nullptr, 4, CPoint(5, 0));
  EXPECT_EQ(r.log, "moved 2 7 from sendermoved 4 5");
}

TEST(CHandler, AnOperationWithoutParametersIgnoresTheValuesAndStaysVirtual) {
  Derived d;
  CHandler<CObject*> hook;
  hook.Set(static_cast<Receiver*>(&d), &Receiver::Ticked);
  hook(nullptr);
  EXPECT_EQ(d.log, "derived tick");
}

TEST(CHandler, SettingANullPairEmptiesTheHook) {
  Receiver r;
  CHandler<CObject*> hook(&r, &Receiver::Ticked);
  hook.Set(static_cast<Receiver*>(nullptr), &Receiver::Ticked);
  EXPECT_FALSE(hook.IsSet());
  hook(nullptr);
  EXPECT_EQ(r.log, "");
}
