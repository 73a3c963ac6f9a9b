// The progress gauge's arithmetic and the splash fade, tick by tick.
#include <gtest/gtest.h>

#include "progressgauge.h"
#include "splashfade.h"

namespace ktviewer {
namespace {

TEST(ProgressGauge, BarWidths) {
  ProgressGauge gauge;
  gauge.GaugeMax = 200;
  EXPECT_EQ(gauge.SetValue(0, 337), 0);
  EXPECT_EQ(gauge.SetValue(100, 337), 168);  // 168.5: halves go to even
  EXPECT_EQ(gauge.SetValue(101, 337), 170);
  EXPECT_EQ(gauge.SetValue(5000, 337), 337);  // above the range: the full bar
  EXPECT_EQ(gauge.GaugeValue, 200);
  EXPECT_EQ(gauge.SetValue(-3, 337), 0);
  EXPECT_EQ(gauge.GaugeValue, 0);

  ProgressGauge empty;  // GaugeMax = GaugeMin: nothing is drawn, nothing stored
  empty.GaugeValue = 7;
  EXPECT_FALSE(empty.SetValue(10, 337).has_value());
  EXPECT_EQ(empty.GaugeValue, 7);
}

TEST(ProgressGauge, EstimateFromFileLength) {
  EXPECT_EQ(GaugeMaxForFileLength(1023), 0);
  EXPECT_EQ(GaugeMaxForFileLength(2048), 22);
  EXPECT_EQ(GaugeMaxForFileLength(100LL * 1024 * 1024), 1126400);
  EXPECT_EQ(GaugeMaxForFileLength(-1), 0);
}

TEST(SplashFade, TickByTick) {
  const Rgb bg{192, 192, 192}, orange{255, 153, 0}, teal{42, 139, 158};
  SplashFade fade(bg, orange, teal);
  auto step = fade.Tick();  // t = 1
  ASSERT_TRUE(step.presentsColour);
  // 192 + 63 * 1 / 50 = 193.26 -> 193; 192 - 39/50 -> 192 (truncated); 192 - 192/50 -> 189
  EXPECT_EQ(*step.presentsColour, (Rgb{193, 192, 189}));
  EXPECT_FALSE(step.titleColour);
  EXPECT_FALSE(step.showVersion);
  for (int t = 2; t < 50; ++t) fade.Tick();
  step = fade.Tick();  // t = 50: both steps run, the first line is fully orange
  EXPECT_EQ(*step.presentsColour, orange);
  EXPECT_EQ(*step.titleColour, bg);
  for (int t = 51; t < 75; ++t) fade.Tick();
  step = fade.Tick();  // t = 75: half way, rounded
  EXPECT_EQ(*step.presentsColour, (Rgb{224, 172, 96}));
  EXPECT_EQ(*step.titleColour, (Rgb{117, 166, 175}));
  for (int t = 76; t < 100; ++t) fade.Tick();
  step = fade.Tick();  // t = 100
  EXPECT_EQ(*step.presentsColour, bg);
  EXPECT_EQ(*step.titleColour, teal);
  EXPECT_TRUE(step.showVersion);
  EXPECT_FALSE(step.close);
  for (int t = 101; t < 150; ++t) EXPECT_FALSE(fade.Tick().close);
  step = fade.Tick();  // t = 150
  EXPECT_TRUE(step.showVersion);
  EXPECT_TRUE(step.close);
  EXPECT_EQ(fade.Ticks(), 150);
}

}  // namespace
}  // namespace ktviewer
