#pragma once
// Cuts a byte stream, fed in blocks of any size, into lines ending at CR LF,
// CR or LF; the line end is not part of the line. A last line without a line
// end is a line too. The pass that finds a line's end also tells whether the
// line has a byte above 127 or a double quote, the two things the reader
// must look for in every line.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kt::winnow {

struct LineBytes {
  bool highByte = false;  // a byte above 127
  bool quote = false;     // a '"'
};

namespace linebytes {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;

// The high bit of each byte of x that is zero; the lowest one is exact, those
// above a zero byte may be false, which no caller relies on.
constexpr uint64_t ZeroBytes(uint64_t x) { return (x - kOnes) & ~x & kHighBits; }

inline uint64_t Load(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}

// LineBytes of a whole text.
inline LineBytes Of(std::string_view text) {
  unsigned char any = 0;
  bool quote = false;
  for (char c : text) {
    any |= static_cast<unsigned char>(c);
    quote |= c == '"';
  }
  return {(any & 0x80) != 0, quote};
}

}  // namespace linebytes

template <class OnLine>
class LineSplitter {
 public:
  explicit LineSplitter(OnLine& onLine) : onLine_(onLine) {}

  void Feed(std::string_view block) {
    const char* p = block.data();
    const char* const end = p + block.size();
    if (skipLineFeed_ && p < end) {
      if (*p == '\n') ++p;
      skipLineFeed_ = false;
    }
    // Most files have no CR at all: then only LF ends a line.
    const bool carriageReturns = std::memchr(p, '\r', static_cast<size_t>(end - p)) != nullptr;
    while (p < end) {
      LineBytes bytes;
      const char* lineEnd = carriageReturns ? FindLineEnd<true>(p, end, bytes) : FindLineEnd<false>(p, end, bytes);
      if (lineEnd == end) {
        carry_.append(p, static_cast<size_t>(end - p));
        return;
      }
      Emit(std::string_view(p, static_cast<size_t>(lineEnd - p)), bytes);
      p = lineEnd + 1;
      if (*lineEnd == '\r') {
        if (p == end) {
          skipLineFeed_ = true;
        } else if (*p == '\n') {
          ++p;
        }
      }
    }
  }

  // The end of the stream: a last line without a line end.
  void Finish() {
    if (!carry_.empty()) {
      std::string last = std::move(carry_);
      carry_.clear();
      onLine_(std::string_view(last), linebytes::Of(last));
    }
  }

 private:
  // The first LF (or CR) at or after p, or end; `bytes` describes the bytes
  // before it. Eight bytes at a time on little-endian machines.
  template <bool CarriageReturnToo>
  static const char* FindLineEnd(const char* p, const char* end, LineBytes& bytes) {
    using namespace linebytes;
    uint64_t high = 0;
    uint64_t quote = 0;
    if constexpr (std::endian::native == std::endian::little) {
      for (; end - p >= 8; p += 8) {
        const uint64_t word = Load(p);
        uint64_t stop = ZeroBytes(word ^ (kOnes * '\n'));
        if constexpr (CarriageReturnToo) stop |= ZeroBytes(word ^ (kOnes * '\r'));
        const uint64_t quotes = ZeroBytes(word ^ (kOnes * '"'));
        if (stop != 0) {
          const int before = std::countr_zero(stop) / 8;  // bytes of the line in this word
          const uint64_t mask = before == 0 ? 0 : ~0ull >> (64 - 8 * before);
          high |= word & mask;
          quote |= quotes & mask;
          bytes = {(high & kHighBits) != 0, quote != 0};
          return p + before;
        }
        high |= word;
        quote |= quotes;
      }
    }
    unsigned char tailHigh = 0;
    bool tailQuote = false;
    for (; p < end; ++p) {
      if (*p == '\n' || (CarriageReturnToo && *p == '\r')) break;
      tailHigh |= static_cast<unsigned char>(*p);
      tailQuote |= *p == '"';
    }
    bytes = {(high & kHighBits) != 0 || (tailHigh & 0x80) != 0, quote != 0 || tailQuote};
    return p;
  }

  void Emit(std::string_view line, LineBytes bytes) {
    if (carry_.empty()) {
      onLine_(line, bytes);
      return;
    }
    // The line began in an earlier block.
    carry_.append(line);
    onLine_(std::string_view(carry_), linebytes::Of(carry_));
    carry_.clear();
  }

  OnLine& onLine_;
  std::string carry_;
  bool skipLineFeed_ = false;
};

}  // namespace kt::winnow
