#pragma once
// Decompression of uploaded gzip files with a bound on the output.
#include <cstddef>
#include <string>
#include <string_view>

namespace kt::server {

enum class GunzipStatus { Ok, NotGzip, Corrupt, Truncated, TooLarge };

struct GunzipResult {
  GunzipStatus status = GunzipStatus::Ok;
  std::string data;  // the decompressed bytes, empty unless Ok
};

// Inflates every gzip member of `compressed`; stops as soon as the output
// would exceed `maxOutput`, so a small bomb never gets to allocate it.
GunzipResult Gunzip(std::string_view compressed, size_t maxOutput);

const char* GunzipStatusText(GunzipStatus status);

}  // namespace kt::server
