#include "tarformat.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace bngt32 {
namespace {

constexpr size_t kMaxStoredName = 252;
constexpr size_t kMaxLongName = 65536;

bool EndsWithNoCase(const std::string& text, const char* suffix) {
  const size_t n = std::strlen(suffix);
  if (text.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - n + i])) != suffix[i]) {
      return false;
    }
  }
  return true;
}

// `digits` octal digits then the terminator bytes; false when the value does not fit.
bool PutOctal(unsigned char* field, uint64_t value, int digits) {
  for (int i = digits - 1; i >= 0; --i) {
    field[i] = static_cast<unsigned char>('0' + (value & 7));
    value >>= 3;
  }
  return value == 0;
}

// Octal digits with blanks skipped, ended by a zero byte or the field's end;
// any other character makes the field invalid.
bool ParseOctal(const unsigned char* field, size_t length, uint64_t& value) {
  value = 0;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = field[i];
    if (c == 0) break;
    if (c == ' ') continue;
    if (c < '0' || c > '7') return false;
    if (value >> 60) return false;
    value = value << 3 | (c - '0');
  }
  return true;
}

uint32_t Checksum(const unsigned char* block) {
  uint32_t sum = 0;
  for (size_t i = 0; i < 500; ++i) sum += (i >= 148 && i < 156) ? ' ' : block[i];
  return sum;
}

std::string FieldText(const unsigned char* field, size_t length) {
  const auto* text = reinterpret_cast<const char*>(field);
  return std::string(text, strnlen(text, length));
}

// The "path" of a POSIX extended header: records "LENGTH key=value\n".
bool PaxPath(const std::string& records, std::string& path) {
  size_t pos = 0;
  bool found = false;
  while (pos < records.size()) {
    size_t length = 0;
    size_t i = pos;
    while (i < records.size() && records[i] >= '0' && records[i] <= '9' && length < kMaxLongName) {
      length = length * 10 + static_cast<size_t>(records[i] - '0');
      ++i;
    }
    if (i >= records.size() || records[i] != ' ' || length <= i - pos + 1 ||
        length > records.size() - pos) {
      break;
    }
    const std::string record = records.substr(i + 1, length - (i - pos) - 1);
    const size_t equals = record.find('=');
    if (equals != std::string::npos && record.compare(0, equals, "path") == 0) {
      path = record.substr(equals + 1);
      if (!path.empty() && path.back() == '\n') path.pop_back();
      found = true;
    }
    pos += length;
  }
  return found;
}

}  // namespace

int32_t SplitTarName(const std::string& storedName, std::string& prefix, std::string& name) {
  prefix.clear();
  name = storedName;
  if (storedName.size() > kMaxStoredName) return 14;
  while (name.size() >= 100) {
    const size_t slash = name.find('/');
    if (slash == std::string::npos) break;
    if (prefix.size() + slash + 1 > 152) break;
    prefix += name.substr(0, slash + 1);
    name.erase(0, slash + 1);
  }
  if (prefix.size() > 154 || name.size() > 99) return 14;
  return 0;
}

uint32_t TarModeFor(const std::string& storedName, uint32_t attributes) {
  uint32_t mode = 0666;
  for (const char* ext : {".exe", ".cmd", ".bat", ".dll", ".ocx", ".pif"}) {
    if (EndsWithNoCase(storedName, ext)) mode = 0777;
  }
  if (attributes & GT_ATTR_READONLY) mode &= ~0222u;
  return mode;
}

int32_t BuildTarHeader(const std::string& storedName, uint64_t size, int64_t mtime,
                       uint32_t attributes, unsigned char block[kTarBlock]) {
  std::memset(block, 0, kTarBlock);
  std::string prefix, name;
  if (const int32_t code = SplitTarName(storedName, prefix, name); code != 0) return code;
  std::memcpy(block, name.data(), name.size());
  PutOctal(block + 100, TarModeFor(storedName, attributes), 6);
  block[106] = ' ';
  if (!PutOctal(block + 124, size, 11)) return 4;
  block[135] = ' ';
  if (mtime < 0 || !PutOctal(block + 136, static_cast<uint64_t>(mtime), 11)) return 4;
  block[147] = ' ';
  block[156] = '0';
  if (prefix.empty()) {
    std::memcpy(block + 257, "ustar  ", 8);
  } else {
    // Other readers take the prefix only from POSIX ustar headers ("ustar" NUL
    // "00") and put a "/" after it themselves, so its own last "/" is left out.
    std::memcpy(block + 257, "ustar\0" "00", 8);
    std::memcpy(block + 345, prefix.data(), prefix.size() - 1);
  }
  PutOctal(block + 148, Checksum(block), 6);
  block[154] = ' ';
  block[155] = '\0';
  return 0;
}

TarHeaderKind ParseTarHeader(const unsigned char block[kTarBlock], TarEntry& entry) {
  if (std::all_of(block, block + kTarBlock, [](unsigned char c) { return c == 0; })) {
    return TarHeaderKind::kEnd;
  }
  uint64_t stored = 0;
  if (!ParseOctal(block + 148, 8, stored) || stored != Checksum(block)) return TarHeaderKind::kBad;
  uint64_t size = 0;
  if (!ParseOctal(block + 124, 12, size)) return TarHeaderKind::kBad;
  uint64_t value = 0;
  entry = TarEntry{};
  entry.size = size;
  entry.mtime = ParseOctal(block + 136, 12, value) ? static_cast<int64_t>(value) : 0;
  entry.mode = ParseOctal(block + 100, 8, value) ? static_cast<uint32_t>(value & 07777) : 0644;
  entry.typeflag = static_cast<char>(block[156]);
  const std::string name = FieldText(block, 100);
  std::string prefix;
  if (std::memcmp(block + 257, "ustar", 5) == 0 && entry.typeflag != 'S') {
    prefix = FieldText(block + 345, 155);
  }
  entry.name = prefix;
  if (!prefix.empty() && prefix.back() != '/' && prefix.back() != '\\') entry.name += '/';
  entry.name += name;
  return TarHeaderKind::kEntry;
}

int32_t TarReader::ReadBlock(unsigned char* block, bool& atEnd) {
  atEnd = false;
  const ptrdiff_t n = ReadFully(source_, block, kTarBlock);
  if (n < 0) return 9;
  if (n == 0) {
    atEnd = true;
    return 0;
  }
  if (static_cast<size_t>(n) < kTarBlock) return 1;
  position_ += kTarBlock;
  return 0;
}

int32_t TarReader::Next(TarEntry& entry) {
  if (inEntry_ && pendingData_ > 0) {
    if (const int32_t code = SkipData(); code != 0) return code;
  }
  inEntry_ = false;
  std::string longName;
  bool haveLongName = false;
  const uint64_t start = position_;
  for (;;) {
    unsigned char block[kTarBlock];
    bool atEnd = false;
    const uint64_t offset = position_;
    if (const int32_t code = ReadBlock(block, atEnd); code != 0) return code;
    if (atEnd) {
      endOfEntries_ = start;
      return -1;
    }
    const TarHeaderKind kind = ParseTarHeader(block, entry);
    if (kind == TarHeaderKind::kEnd) {
      endOfEntries_ = start;
      return -1;
    }
    if (kind == TarHeaderKind::kBad) return 3;
    entry.headerOffset = offset;
    pendingData_ = TarPadded(entry.size);
    pendingSize_ = entry.size;
    inEntry_ = true;
    if (entry.typeflag == 'L' || entry.typeflag == 'K' || entry.typeflag == 'x' ||
        entry.typeflag == 'g') {
      // Metadata records of other writers: a long name is kept for the next
      // header, the rest is skipped.
      StringSink data;
      NullSink none;
      const bool keep = (entry.typeflag == 'L' || entry.typeflag == 'x') && entry.size <= kMaxLongName;
      if (const int32_t code = CopyData(keep ? static_cast<ByteSink&>(data) : none); code != 0) {
        return code;
      }
      if (keep && entry.typeflag == 'L') {
        longName = data.bytes.substr(0, data.bytes.find('\0'));
        haveLongName = true;
      } else if (keep && PaxPath(data.bytes, longName)) {
        haveLongName = true;
      }
      continue;
    }
    if (haveLongName) entry.name = longName;
    entry.headerOffset = start;
    entry.blockCount = (position_ - start) / kTarBlock + TarPadded(entry.size) / kTarBlock;
    endOfEntries_ = start + entry.blockCount * kTarBlock;
    return 0;
  }
}

int32_t TarReader::CopyData(ByteSink& sink, const ProgressFunction& progress) {
  constexpr size_t kCopyBlock = 8192;
  unsigned char buffer[kCopyBlock];
  uint64_t done = 0;
  while (pendingData_ > 0) {
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(pendingData_, kCopyBlock));
    const ptrdiff_t n = ReadFully(source_, buffer, chunk);
    if (n < 0) return 9;
    if (static_cast<size_t>(n) < chunk) return 1;
    position_ += chunk;
    pendingData_ -= chunk;
    // Only the entry's own bytes go out, not the padding after them.
    const size_t useful =
        done < pendingSize_ ? static_cast<size_t>(std::min<uint64_t>(chunk, pendingSize_ - done)) : 0;
    done += chunk;
    if (useful > 0 && !sink.Write(buffer, useful)) return 17;
    if (progress && useful > 0 && progress(done < pendingSize_ ? done : pendingSize_)) return 5;
  }
  return 0;
}

}  // namespace bngt32
