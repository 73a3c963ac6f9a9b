#pragma once
// Coordinates in the client's packed degree text [-]D...DMMHH.
#include <string>

namespace kt::server {

// Degrees, minutes and hundredths of a minute: 48.8534 -> "485120".
std::string PackedCoordinate(double degrees);

}  // namespace kt::server
