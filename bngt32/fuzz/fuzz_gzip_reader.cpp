// libFuzzer target: any bytes as a gzip file, header and data.
#include <cstddef>
#include <cstdint>

#include "gzipformat.h"
#include "streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bngt32::MemorySource source(data, size);
  bngt32::GzipHeader header;
  if (bngt32::ReadGzipHeader(source, header) != 0) return 0;
  bngt32::NullSink sink;
  bngt32::GzipBodyResult result;
  bngt32::DecodeGzipBody(source, header, sink, result);
  return 0;
}
