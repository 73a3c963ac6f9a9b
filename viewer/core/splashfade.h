#pragma once
// The splash window's colour fade, one step per timer tick: "Orvane presents"
// fades in to orange, then out while the product title fades in to teal; the
// version lines appear and the splash closes at the 150th tick.
#include <compare>
#include <optional>

namespace ktviewer {

// A colour by its red, green and blue components (0-255).
struct Rgb {
  int red = 0, green = 0, blue = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

class SplashFade {
 public:
  static constexpr int kTickMilliseconds = 60;

  // `background` is the product title's background (the fade's start),
  // `presentsTarget` and `titleTarget` the two swatch colours.
  SplashFade(Rgb background, Rgb presentsTarget, Rgb titleTarget);

  struct Step {
    std::optional<Rgb> presentsColour;  // paint the first line in this colour
    std::optional<Rgb> titleColour;     // paint the product title in this colour
    bool showVersion = false;           // show the platform and version labels
    bool close = false;                 // stop the timer and close
  };

  // Advances the counter (the first tick gives 1) and says what to paint.
  Step Tick();
  int Ticks() const { return ticks_; }

 private:
  Rgb background_, presentsTarget_, titleTarget_;
  int ticks_ = 0;
};

}  // namespace ktviewer
