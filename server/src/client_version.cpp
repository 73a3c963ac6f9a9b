#include "client_version.h"

#include <charconv>

namespace kt::server {

ClientVersion MakeClientVersion(uint32_t major, uint32_t minor, uint32_t release, uint32_t build) {
  return (uint64_t{major & 0xFFFF} << 48) | (uint64_t{minor & 0xFFFF} << 32) |
         (uint64_t{release & 0xFFFF} << 16) | uint64_t{build & 0xFFFF};
}

std::optional<ClientVersion> ParseClientVersion(std::string_view text) {
  uint32_t parts[4] = {0, 0, 0, 0};
  size_t count = 0;
  const char* p = text.data();
  const char* end = text.data() + text.size();
  if (p == end) return std::nullopt;
  while (p != end) {
    if (count == 4) return std::nullopt;
    uint32_t value = 0;
    auto [next, ec] = std::from_chars(p, end, value);
    if (ec != std::errc() || value > 0xFFFF) return std::nullopt;
    parts[count++] = value;
    p = next;
    if (p != end) {
      if (*p != '.' || p + 1 == end) return std::nullopt;
      ++p;
    }
  }
  return MakeClientVersion(parts[0], parts[1], parts[2], parts[3]);
}

std::string ClientVersionText(ClientVersion v) {
  return std::to_string((v >> 48) & 0xFFFF) + "." + std::to_string((v >> 32) & 0xFFFF) + "." +
         std::to_string((v >> 16) & 0xFFFF) + "." + std::to_string(v & 0xFFFF);
}

}  // namespace kt::server
