#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/forms/Timer.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

TEST(TimerTest, FiresWhileEnabledAndStopsWhenDisabledOrFreed) {
  EnsureApplication();
  auto* timer = new TTimer(Application);
  int ticks = 0;
  timer->SetInterval(10);
  timer->OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, timer);
    if (++ticks == 3) timer->SetEnabled(false);
  };
  ASSERT_TRUE(PumpUntil([&] { return ticks == 3; }, 2000));
  PumpFor(60);
  EXPECT_EQ(ticks, 3);
  timer->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 4; }, 2000));
  timer->Free();
  int after = ticks;
  PumpFor(60);
  EXPECT_EQ(ticks, after);
}

TEST(TimerTest, ErrorInATickGoesToTheExceptionBoxAndTheTimerGoesOn) {
  EnsureApplication();
  auto* timer = new TTimer(Application);
  timer->SetInterval(10);
  int ticks = 0;
  timer->OnTimer = [&](TObject*) {
    if (++ticks == 1) throw EInvalidOperation(u"一次失败");
  };
  std::vector<std::u16string> reported;
  Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(ExceptionText(e)); };
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }, 2000));
  timer->Free();
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], u"一次失败");
}

}  // namespace
