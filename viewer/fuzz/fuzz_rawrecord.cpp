// Fuzz target: the raw-record helpers on any record text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "rawrecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view record(reinterpret_cast<const char*>(data), size);
  ktviewer::getEventDate(record, 1, "BIRT");
  ktviewer::getPointerFromGedcomLine(ktviewer::getTagLines(record, "WIFE"));
  ktviewer::getPointerFromGedcomLine(ktviewer::LineAt(record, size / 2));
  ktviewer::FormatRawGedcomString(record);
  ktviewer::FromWinnowText(record);
  return 0;
}
