#pragma once
// The 628-byte item record of the rename callback: filled before an item is
// written, read back afterwards.
#include <cstdint>
#include <string>

#include "bngt32.h"

namespace bngt32 {

class Call;

struct ItemFields {
  std::string storedName;
  std::string sourcePath;
  int64_t mtime = 0;
  uint32_t attributes = 0;
};

// The time of a record's date text: at least 19 characters with "/" at 2 and
// 5 and ":" at 13 and 16, values limited to their ranges; any other form gives 0.
int64_t ParseRecordDateTime(const char* text, size_t size);

// Calls the rename callback (when there is one) and takes back the stored
// name, the time and the read-only, hidden, system and archive bits.
void OfferToRenameCallback(Call& call, int32_t kind, ItemFields& fields);

}  // namespace bngt32
