#pragma once
// The gzip member format (RFC 1952): writing one member around a raw DEFLATE
// stream, reading a header and decoding the data with its trailer checks.
#include <cstdint>
#include <functional>
#include <string>

#include "streams.h"

namespace bngt32 {

// Called with the count of input bytes consumed so far; true cancels.
using ProgressFunction = std::function<bool(uint64_t consumed)>;

constexpr uint8_t kGzipFlagText = 0x01;
constexpr uint8_t kGzipFlagHeaderCrc = 0x02;
constexpr uint8_t kGzipFlagExtra = 0x04;
constexpr uint8_t kGzipFlagName = 0x08;
constexpr uint8_t kGzipFlagComment = 0x10;
constexpr uint8_t kGzipFlagEncrypted = 0x20;

struct GzipWriteOptions {
  std::string storedName;  // bytes as stored (OEM code page); empty writes no FNAME
  bool addComment = false;
  std::string comment;
  uint32_t mtime = 0;
  int level = 6;           // 1 to 9
  bool lfToCrlf = false;
};

// Writes one member of the source's bytes; returns a gt result code: 0, 4 (no
// memory), 5 (cancelled), 9 (read error), 13 (header not written), 10 (data
// not written).
int32_t WriteGzipMember(ByteSource& source, ByteSink& sink, const GzipWriteOptions& options,
                        const ProgressFunction& progress = {});

struct GzipHeader {
  uint8_t method = 0;
  uint8_t flags = 0;
  uint32_t mtime = 0;
  uint8_t extraFlags = 0;
  uint8_t os = 0;
  bool hasName = false;
  std::string name;        // raw bytes, at most 259
  std::string comment;     // raw bytes, at most 259
  uint64_t headerSize = 0; // bytes consumed by the header
};

// Reads the header; returns a ugt code: 0, 1 (ends early), 3 (not gzip), 9
// (read error), 14 (encrypted: no key can be handled).
int32_t ReadGzipHeader(ByteSource& source, GzipHeader& header);

struct GzipBodyResult {
  uint32_t crc = 0;
  uint64_t size = 0;
  uint64_t compressedSize = 0;
  uint32_t trailerCrc = 0;
  uint32_t trailerSize = 0;
};

// Decodes the data after the header into the sink and checks the trailer;
// returns a ugt code: 0, 1 (truncated), 3 (damaged data, or anything after the
// trailer such as a second member), 4, 5 (cancelled), 9, 13 (CRC or length
// differs), 16 (unknown method), 17 (write failed).
int32_t DecodeGzipBody(ByteSource& source, const GzipHeader& header, ByteSink& sink,
                       GzipBodyResult& result, const ProgressFunction& progress = {});

}  // namespace bngt32
