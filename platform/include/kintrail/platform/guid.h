#pragma once
// A GUID value: parse, format ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"), compare.
#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kt {

struct Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  std::array<uint8_t, 8> data4{};

  // Accepts the form with or without braces, any case of hexadecimal digits.
  static std::optional<Guid> Parse(std::string_view text);
  // Upper case, with braces, as Windows writes them.
  std::string ToString() const;

  friend constexpr auto operator<=>(const Guid&, const Guid&) = default;
};

}  // namespace kt
