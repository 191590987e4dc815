// Which progress positions a bar is told of: at most one per pixel's worth of
// movement or per interval, never two within the gap, the first and the last
// always.
#include "base/progress_throttle.h"

#include <gtest/gtest.h>

#include <vector>

namespace twinseek::testing {
namespace {

// A clock that moves on by `tick` each time it is read.
struct FakeClock {
  uint64_t now = 1000;
  uint64_t tick = 0;
  ProgressThrottle::Clock Clock() {
    return [this] { return now += tick; };
  }
};

std::vector<size_t> Shown(ProgressThrottle& throttle, size_t from, size_t to) {
  std::vector<size_t> shown;
  for (size_t position = from; position < to; ++position) {
    if (throttle.Show(position)) shown.push_back(position);
  }
  return shown;
}

TEST(ProgressThrottleTest, ShowsOnePositionPerPixelWhenTheRunIsSlowerThanTheGap) {
  FakeClock clock;
  ProgressThrottle throttle(50'000, 500, clock.Clock(), 50, 30);  // 100 positions a pixel
  std::vector<size_t> shown;
  for (size_t position = 0; position < 50'000; ++position) {
    if (position % 100 == 0) clock.now += 30;  // each pixel takes the gap
    if (throttle.Show(position)) shown.push_back(position);
  }
  ASSERT_EQ(shown.size(), 500u);
  for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i], i * 100);
  // The last position given was not shown: Finish hands it over.
  EXPECT_EQ(throttle.Finish(), std::optional<size_t>(49'999));
}

// A fast run crosses many pixels between two messages: the bar hears of it
// once per gap, not once per pixel.
TEST(ProgressThrottleTest, AFastRunIsShownOncePerGap) {
  FakeClock clock;
  ProgressThrottle throttle(1'000, 500, clock.Clock(), 50, 30);  // 2 positions a pixel
  EXPECT_EQ(Shown(throttle, 0, 1'000), (std::vector<size_t>{0}));
  EXPECT_EQ(throttle.Finish(), std::optional<size_t>(999));
  clock.now += 29;
  EXPECT_FALSE(throttle.Show(1'000));
  clock.now += 1;
  EXPECT_TRUE(throttle.Show(1'001));
}

TEST(ProgressThrottleTest, ShowsTheNextPositionOnceTheIntervalHasPassed) {
  FakeClock clock;
  ProgressThrottle throttle(1'000'000, 100, clock.Clock(), 50, 30);  // 10,000 a pixel
  EXPECT_TRUE(throttle.Show(0));
  EXPECT_FALSE(throttle.Show(1));
  clock.now += 49;
  EXPECT_FALSE(throttle.Show(2));
  clock.now += 1;
  EXPECT_TRUE(throttle.Show(3));
  EXPECT_FALSE(throttle.Show(3));
  // The same position is never shown twice, however long it stands.
  clock.now += 500;
  EXPECT_FALSE(throttle.Show(3));
  EXPECT_EQ(throttle.Finish(), std::nullopt);
}

TEST(ProgressThrottleTest, ANarrowOrEmptyBarStillMovesAndSlowShortRunsShowEveryPosition) {
  FakeClock clock;
  ProgressThrottle empty_bar(10, 0, clock.Clock());
  EXPECT_EQ(Shown(empty_bar, 0, 10), (std::vector<size_t>{0}));
  EXPECT_EQ(empty_bar.Finish(), std::optional<size_t>(9));

  clock.tick = 30;
  ProgressThrottle wide_bar(5, 300, clock.Clock());
  EXPECT_EQ(Shown(wide_bar, 0, 5), (std::vector<size_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(wide_bar.Finish(), std::nullopt);

  ProgressThrottle nothing(0, 300, clock.Clock());
  EXPECT_EQ(nothing.Finish(), std::nullopt);
}

}  // namespace
}  // namespace twinseek::testing
