// libFuzzer target: any bytes as a tar archive, walked item by item with the
// extraction name checks applied to every name.
#include <cstddef>
#include <cstdint>

#include "pathsafety.h"
#include "streams.h"
#include "tarformat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bngt32::MemorySource source(data, size);
  bngt32::TarReader reader(source);
  bngt32::TarEntry entry;
  for (int items = 0; items < 10000 && reader.Next(entry) == 0; ++items) {
    bngt32::IsSafeRelativeName(bngt32::NormalizeSeparators(entry.name));
    bngt32::NullSink sink;
    if (reader.CopyData(sink) != 0) break;
  }
  return 0;
}
