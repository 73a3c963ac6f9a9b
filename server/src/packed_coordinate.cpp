#include "packed_coordinate.h"

#include <cmath>
#include <cstdio>

namespace kt::server {

std::string PackedCoordinate(double degrees) {
  const bool negative = degrees < 0;
  // Work in hundredths of a minute so that rounding carries into minutes and degrees.
  const long long hundredths = std::llround(std::fabs(degrees) * 6000.0);
  const long long whole = hundredths / 6000;
  const long long minutes = (hundredths % 6000) / 100;
  const long long rest = hundredths % 100;
  if (whole == 0 && minutes == 0 && rest == 0) return "0";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s%lld%02lld%02lld", negative ? "-" : "", whole, minutes,
                rest);
  return buffer;
}

}  // namespace kt::server
