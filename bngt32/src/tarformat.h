#pragma once
// The tar layout: 512-byte ustar headers, data padded to 512, one zero end
// block; and a reader that walks an archive header by header.
#include <cstdint>
#include <string>

#include "gzipformat.h"
#include "streams.h"

namespace bngt32 {

constexpr size_t kTarBlock = 512;

inline uint64_t TarPadded(uint64_t size) { return (size + kTarBlock - 1) / kTarBlock * kTarBlock; }

// Splits a stored name into the prefix (leading folders, each with its "/")
// and the name field; returns 0 or 14 when it cannot be stored.
int32_t SplitTarName(const std::string& storedName, std::string& prefix, std::string& name);

// The permission bits written for an item.
uint32_t TarModeFor(const std::string& storedName, uint32_t attributes);

// Fills a header block; returns 0, 14 (name cannot be stored) or 4 (a number
// does not fit its field).
int32_t BuildTarHeader(const std::string& storedName, uint64_t size, int64_t mtime,
                       uint32_t attributes, unsigned char block[kTarBlock]);

struct TarEntry {
  std::string name;  // prefix and name joined, "/" separators
  uint64_t size = 0;
  int64_t mtime = 0;
  uint32_t mode = 0;
  char typeflag = '0';
  uint64_t headerOffset = 0;  // of the entry's own header
  uint64_t blockCount = 0;    // header blocks (long-name records included) and data blocks
  bool IsRegularFile() const { return typeflag == '0' || typeflag == '\0' || typeflag == '7'; }
  bool IsDirectory() const { return typeflag == '5'; }
};

enum class TarHeaderKind { kEntry, kEnd, kBad };
// Reads one header block (no I/O).
TarHeaderKind ParseTarHeader(const unsigned char block[kTarBlock], TarEntry& entry);

// Walks an archive from its start.
class TarReader {
public:
  explicit TarReader(ByteSource& source) : source_(source) {}
  // 0 an entry, -1 the end (zero block or end of data at a header boundary),
  // else a ugt code: 1 truncated, 3 damaged header, 9 read error.
  int32_t Next(TarEntry& entry);
  // The current entry's data into the sink (then its padding skipped); codes
  // 0, 1, 5, 9, 17.
  int32_t CopyData(ByteSink& sink, const ProgressFunction& progress = {});
  int32_t SkipData() { NullSink none; return CopyData(none); }
  // Offset just after the last complete entry, or of the end block.
  uint64_t EndOfEntries() const { return endOfEntries_; }

private:
  int32_t ReadBlock(unsigned char* block, bool& atEnd);
  ByteSource& source_;
  uint64_t position_ = 0;
  uint64_t endOfEntries_ = 0;
  uint64_t pendingData_ = 0;  // data and padding bytes of the current entry not yet read
  uint64_t pendingSize_ = 0;  // the current entry's data size
  bool inEntry_ = false;
};

}  // namespace bngt32
