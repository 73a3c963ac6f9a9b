#pragma once
// The progress window's gauge: a value between GaugeMin and GaugeMax drawn as
// a bar over a strip of a given width.
#include <cstdint>
#include <optional>

namespace ktviewer {

struct ProgressGauge {
  int32_t GaugeMin = 0;
  int32_t GaugeMax = 0;
  int32_t GaugeValue = 0;

  // Stores the value limited to the range and returns the bar width over a
  // strip of `stripWidth` pixels (halves rounded to even); nothing when the
  // range is below 1.
  std::optional<int> SetValue(int32_t newValue, int stripWidth);
};

// The file-length estimate of the number of records: eleven per kilobyte.
int32_t GaugeMaxForFileLength(int64_t bytes);

}  // namespace ktviewer
