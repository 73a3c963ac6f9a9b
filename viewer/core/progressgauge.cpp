#include "progressgauge.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ktviewer {

std::optional<int> ProgressGauge::SetValue(int32_t newValue, int stripWidth) {
  const int64_t range = int64_t{GaugeMax} - GaugeMin;
  if (range < 1) return std::nullopt;
  GaugeValue = std::clamp(newValue, GaugeMin, GaugeMax);
  const double share =
      static_cast<double>(int64_t{GaugeValue} - GaugeMin) / static_cast<double>(range);
  return static_cast<int>(std::nearbyint(share * stripWidth));  // default mode: halves to even
}

int32_t GaugeMaxForFileLength(int64_t bytes) {
  const int64_t estimate = std::max<int64_t>(bytes, 0) / 1024 * 11;
  return static_cast<int32_t>(std::min<int64_t>(estimate, std::numeric_limits<int32_t>::max()));
}

}  // namespace ktviewer
