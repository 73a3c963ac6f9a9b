#include "gunzip.h"

#include <zlib.h>

#include <algorithm>

namespace kt::server {

GunzipResult Gunzip(std::string_view compressed, size_t maxOutput) {
  GunzipResult result;
  if (compressed.size() < 2 || static_cast<unsigned char>(compressed[0]) != 0x1F ||
      static_cast<unsigned char>(compressed[1]) != 0x8B) {
    result.status = compressed.empty() ? GunzipStatus::Truncated : GunzipStatus::NotGzip;
    return result;
  }
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
    result.status = GunzipStatus::Corrupt;
    return result;
  }
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  stream.avail_in = static_cast<uInt>(compressed.size());
  std::string& out = result.data;
  char chunk[64 * 1024];
  GunzipStatus status = GunzipStatus::Ok;
  for (;;) {
    stream.next_out = reinterpret_cast<Bytef*>(chunk);
    stream.avail_out = sizeof chunk;
    const int rc = inflate(&stream, Z_NO_FLUSH);
    const size_t produced = sizeof chunk - stream.avail_out;
    if (out.size() + produced > maxOutput) {
      status = GunzipStatus::TooLarge;
      break;
    }
    out.append(chunk, produced);
    if (rc == Z_STREAM_END) {
      // Another member may follow (files made by concatenating gzip files).
      if (stream.avail_in == 0) break;
      if (stream.avail_in < 2 || stream.next_in[0] != 0x1F || stream.next_in[1] != 0x8B) {
        status = GunzipStatus::Corrupt;
        break;
      }
      inflateReset(&stream);
      continue;
    }
    if (rc == Z_OK) continue;
    if (rc == Z_BUF_ERROR && stream.avail_in == 0) {
      status = GunzipStatus::Truncated;
      break;
    }
    status = GunzipStatus::Corrupt;
    break;
  }
  inflateEnd(&stream);
  result.status = status;
  if (status != GunzipStatus::Ok) std::string().swap(result.data);
  return result;
}

const char* GunzipStatusText(GunzipStatus status) {
  switch (status) {
    case GunzipStatus::Ok: return "ok";
    case GunzipStatus::NotGzip: return "The upload is not a gzip file";
    case GunzipStatus::Corrupt: return "The gzip file is damaged";
    case GunzipStatus::Truncated: return "The gzip file is truncated";
    case GunzipStatus::TooLarge: return "The summary is too large once decompressed";
  }
  return "";
}

}  // namespace kt::server
