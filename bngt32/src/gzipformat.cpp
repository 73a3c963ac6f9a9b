#include "gzipformat.h"

#include <zlib.h>

#include <cstring>
#include <memory>
#include <vector>

namespace bngt32 {
namespace {

constexpr size_t kReadBlock = 256 * 1024;
constexpr size_t kWriteBlock = 256 * 1024;
constexpr size_t kInflateWindow = 61440;
constexpr size_t kMaxHeaderText = 259;

void PutLittle32(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

uint32_t GetLittle32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct DeflateStream {
  z_stream z{};
  bool open = false;
  ~DeflateStream() {
    if (open) deflateEnd(&z);
  }
};

struct InflateStream {
  z_stream z{};
  bool open = false;
  ~InflateStream() {
    if (open) inflateEnd(&z);
  }
};

// One byte at a time from the source, for the variable parts of the header.
int ReadByte(ByteSource& source, uint64_t& consumed) {
  unsigned char c;
  const ptrdiff_t n = ReadFully(source, &c, 1);
  if (n < 0) return -2;
  if (n == 0) return -1;
  ++consumed;
  return c;
}

// A zero-terminated header text; keeps at most kMaxHeaderText bytes of it.
int32_t ReadHeaderText(ByteSource& source, std::string& out, uint64_t& consumed) {
  for (;;) {
    const int c = ReadByte(source, consumed);
    if (c == -2) return 9;
    if (c == -1) return 1;
    if (c == 0) return 0;
    if (out.size() < kMaxHeaderText) out += static_cast<char>(c);
  }
}

}  // namespace

int32_t WriteGzipMember(ByteSource& source, ByteSink& sink, const GzipWriteOptions& options,
                        const ProgressFunction& progress) {
  std::string header(10, '\0');
  header[0] = '\x1f';
  header[1] = '\x8b';
  header[2] = 8;
  uint8_t flags = 0;
  if (!options.storedName.empty()) flags |= kGzipFlagName;
  if (options.addComment && !options.comment.empty()) flags |= kGzipFlagComment;
  header[3] = static_cast<char>(flags);
  PutLittle32(reinterpret_cast<unsigned char*>(header.data()) + 4, options.mtime);
  if (flags & kGzipFlagName) {
    // A zero byte would end the name early; the name never holds one.
    header += options.storedName.substr(0, options.storedName.find('\0'));
    header += '\0';
  }
  if (flags & kGzipFlagComment) {
    header += options.comment.substr(0, options.comment.find('\0'));
    header += '\0';
  }
  if (!sink.Write(header.data(), header.size())) return 13;

  DeflateStream deflate;
  const int level = options.level < 1 ? 1 : (options.level > 9 ? 9 : options.level);
  if (deflateInit2(&deflate.z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    return 4;
  }
  deflate.open = true;

  std::unique_ptr<unsigned char[]> in(new (std::nothrow) unsigned char[kReadBlock]);
  std::unique_ptr<unsigned char[]> translated(
      options.lfToCrlf ? new (std::nothrow) unsigned char[kReadBlock * 2] : nullptr);
  std::unique_ptr<unsigned char[]> out(new (std::nothrow) unsigned char[kWriteBlock]);
  if (!in || !out || (options.lfToCrlf && !translated)) return 4;

  uLong crc = crc32(0L, Z_NULL, 0);
  uint64_t size = 0;
  uint64_t consumed = 0;
  for (;;) {
    const ptrdiff_t n = source.Read(in.get(), kReadBlock);
    if (n < 0) return 9;
    const bool last = n == 0;
    unsigned char* data = in.get();
    size_t length = static_cast<size_t>(n);
    consumed += length;
    if (options.lfToCrlf && length > 0) {
      size_t t = 0;
      for (size_t i = 0; i < length; ++i) {
        if (data[i] == '\n') translated[t++] = '\r';
        translated[t++] = data[i];
      }
      data = translated.get();
      length = t;
    }
    crc = crc32_z(crc, data, length);
    size += length;
    deflate.z.next_in = data;
    deflate.z.avail_in = static_cast<uInt>(length);
    int status;
    do {
      deflate.z.next_out = out.get();
      deflate.z.avail_out = static_cast<uInt>(kWriteBlock);
      status = ::deflate(&deflate.z, last ? Z_FINISH : Z_NO_FLUSH);
      if (status == Z_STREAM_ERROR) return 4;
      const size_t produced = kWriteBlock - deflate.z.avail_out;
      if (produced > 0 && !sink.Write(out.get(), produced)) return 10;
    } while (deflate.z.avail_out == 0 || (last && status != Z_STREAM_END));
    if (progress && progress(consumed)) return 5;
    if (last) break;
  }
  unsigned char trailer[8];
  PutLittle32(trailer, static_cast<uint32_t>(crc));
  PutLittle32(trailer + 4, static_cast<uint32_t>(size));
  if (!sink.Write(trailer, sizeof trailer)) return 10;
  return 0;
}

int32_t ReadGzipHeader(ByteSource& source, GzipHeader& header) {
  unsigned char fixed[10];
  const ptrdiff_t n = ReadFully(source, fixed, sizeof fixed);
  if (n < 0) return 9;
  if (n >= 2 && (fixed[0] != 0x1f || fixed[1] != 0x8b)) return 3;
  if (n == 1 && fixed[0] != 0x1f) return 3;
  if (n < static_cast<ptrdiff_t>(sizeof fixed)) return 1;
  header = GzipHeader{};
  header.method = fixed[2];
  header.flags = fixed[3];
  header.mtime = GetLittle32(fixed + 4);
  header.extraFlags = fixed[8];
  header.os = fixed[9];
  uint64_t consumed = sizeof fixed;
  if (header.flags & kGzipFlagExtra) {
    unsigned char lengthBytes[2];
    const ptrdiff_t got = ReadFully(source, lengthBytes, 2);
    if (got < 0) return 9;
    if (got < 2) return 1;
    consumed += 2;
    size_t remaining = static_cast<size_t>(lengthBytes[0]) | static_cast<size_t>(lengthBytes[1]) << 8;
    unsigned char skip[256];
    while (remaining > 0) {
      const size_t chunk = remaining < sizeof skip ? remaining : sizeof skip;
      const ptrdiff_t r = ReadFully(source, skip, chunk);
      if (r < 0) return 9;
      if (static_cast<size_t>(r) < chunk) return 1;
      remaining -= chunk;
      consumed += chunk;
    }
  }
  if (header.flags & kGzipFlagName) {
    header.hasName = true;
    if (const int32_t code = ReadHeaderText(source, header.name, consumed); code != 0) return code;
  }
  if (header.flags & kGzipFlagComment) {
    if (const int32_t code = ReadHeaderText(source, header.comment, consumed); code != 0) {
      return code;
    }
  }
  if (header.flags & kGzipFlagHeaderCrc) {
    unsigned char crc16[2];
    const ptrdiff_t got = ReadFully(source, crc16, 2);
    if (got < 0) return 9;
    if (got < 2) return 1;
    consumed += 2;
  }
  if (header.flags & kGzipFlagEncrypted) return 14;
  header.headerSize = consumed;
  return 0;
}

int32_t DecodeGzipBody(ByteSource& source, const GzipHeader& header, ByteSink& sink,
                       GzipBodyResult& result, const ProgressFunction& progress) {
  result = GzipBodyResult{};
  if (header.method != 0 && header.method != 8) return 16;
  std::unique_ptr<unsigned char[]> in(new (std::nothrow) unsigned char[kReadBlock + 8]);
  std::unique_ptr<unsigned char[]> window(new (std::nothrow) unsigned char[kInflateWindow]);
  if (!in || !window) return 4;
  uLong crc = crc32(0L, Z_NULL, 0);
  uint64_t size = 0;
  uint64_t consumed = header.headerSize;
  unsigned char trailer[8];

  if (header.method == 0) {
    // Stored data: everything but the last 8 bytes of the file.
    size_t held = 0;  // bytes at the start of `in` kept back as a possible trailer
    for (;;) {
      const ptrdiff_t n = source.Read(in.get() + held, kReadBlock);
      if (n < 0) return 9;
      if (n == 0) break;
      consumed += static_cast<uint64_t>(n);
      const size_t total = held + static_cast<size_t>(n);
      const size_t data = total > 8 ? total - 8 : 0;
      if (data > 0) {
        crc = crc32_z(crc, in.get(), data);
        size += data;
        if (!sink.Write(in.get(), data)) return 17;
        std::memmove(in.get(), in.get() + data, total - data);
      }
      held = total - data;
      if (progress && progress(consumed)) return 5;
    }
    if (held < 8) return 1;
    std::memcpy(trailer, in.get(), 8);
    result.compressedSize = size;
  } else {
    InflateStream inflate;
    const int init = inflateInit2(&inflate.z, -MAX_WBITS);
    if (init == Z_MEM_ERROR) return 4;
    if (init != Z_OK) return 3;
    inflate.open = true;
    bool ended = false;
    uint64_t compressed = 0;
    while (!ended) {
      const ptrdiff_t n = source.Read(in.get(), kReadBlock);
      if (n < 0) return 9;
      if (n == 0) return 1;
      consumed += static_cast<uint64_t>(n);
      inflate.z.next_in = in.get();
      inflate.z.avail_in = static_cast<uInt>(n);
      do {
        inflate.z.next_out = window.get();
        inflate.z.avail_out = static_cast<uInt>(kInflateWindow);
        const int status = ::inflate(&inflate.z, Z_NO_FLUSH);
        const size_t produced = kInflateWindow - inflate.z.avail_out;
        if (produced > 0) {
          crc = crc32_z(crc, window.get(), produced);
          size += produced;
          if (!sink.Write(window.get(), produced)) return 17;
        }
        if (status == Z_STREAM_END) {
          ended = true;
        } else if (status == Z_MEM_ERROR) {
          return 4;
        } else if (status == Z_DATA_ERROR || status == Z_NEED_DICT || status == Z_STREAM_ERROR) {
          return 3;
        } else if (status == Z_BUF_ERROR && produced == 0 && inflate.z.avail_in > 0) {
          return 3;
        }
        // Output still pending when the window filled, even with no input left.
      } while (!ended && (inflate.z.avail_in > 0 || inflate.z.avail_out == 0));
      compressed += static_cast<uint64_t>(n) - inflate.z.avail_in;
      if (progress && progress(consumed)) return 5;
    }
    result.compressedSize = compressed;
    // The trailer follows the stream: first what is left of this block.
    size_t have = inflate.z.avail_in < 8 ? inflate.z.avail_in : 8;
    std::memcpy(trailer, inflate.z.next_in, have);
    const size_t extra = inflate.z.avail_in - have;
    if (have < 8) {
      const ptrdiff_t r = ReadFully(source, trailer + have, 8 - have);
      if (r < 0) return 9;
      if (static_cast<size_t>(r) < 8 - have) return 1;
    }
    if (extra > 0) return 3;
  }
  if (header.method != 0) {
    // Anything after the trailer (a second member, garbage) is not taken.
    unsigned char probe;
    const ptrdiff_t r = ReadFully(source, &probe, 1);
    if (r < 0) return 9;
    if (r > 0) return 3;
  }
  result.crc = static_cast<uint32_t>(crc);
  result.size = size;
  result.trailerCrc = GetLittle32(trailer);
  result.trailerSize = GetLittle32(trailer + 4);
  if (result.trailerCrc != result.crc || result.trailerSize != static_cast<uint32_t>(size)) {
    return 13;
  }
  return 0;
}

}  // namespace bngt32
