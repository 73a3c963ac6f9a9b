#pragma once
// Four-part client versions ("0.2.1.0"), packed for comparison.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kt::server {

// major.minor.release.build, each 0-65535, packed big-endian into 64 bits.
using ClientVersion = uint64_t;

ClientVersion MakeClientVersion(uint32_t major, uint32_t minor, uint32_t release, uint32_t build);
// "0.2.1.0" (missing trailing parts count as 0); nullopt when malformed.
std::optional<ClientVersion> ParseClientVersion(std::string_view text);
std::string ClientVersionText(ClientVersion version);

}  // namespace kt::server
