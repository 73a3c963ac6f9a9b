#include "splashfade.h"

#include <cmath>

namespace ktviewer {

namespace {

// from + (to - from) * step / 50 per component, truncated towards zero.
Rgb TruncatedMix(Rgb from, Rgb to, int step) {
  auto mix = [step](int a, int b) { return a + (b - a) * step / 50; };
  return Rgb{mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue)};
}

// The same, rounded to the nearest integer with halves to even.
Rgb RoundedMix(Rgb from, Rgb to, int step) {
  auto mix = [step](int a, int b) {
    return static_cast<int>(std::nearbyint(a + (b - a) * static_cast<double>(step) / 50.0));
  };
  return Rgb{mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue)};
}

}  // namespace

SplashFade::SplashFade(Rgb background, Rgb presentsTarget, Rgb titleTarget)
    : background_(background), presentsTarget_(presentsTarget), titleTarget_(titleTarget) {}

SplashFade::Step SplashFade::Tick() {
  const int t = ++ticks_;
  Step step;
  if (t >= 0 && t <= 50) step.presentsColour = TruncatedMix(background_, presentsTarget_, t);
  if (t >= 50 && t <= 100) {
    step.presentsColour = RoundedMix(presentsTarget_, background_, t - 50);
    step.titleColour = RoundedMix(background_, titleTarget_, t - 50);
  }
  if (t >= 100 && t <= 150) step.showVersion = true;
  if (t >= 150 && t <= 155) step.close = true;
  return step;
}

}  // namespace ktviewer
