#include "kintrail/platform/guid.h"

#include <cstdio>

namespace kt {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `digits` hexadecimal digits at `pos`, advancing it.
bool ReadHex(std::string_view text, size_t& pos, int digits, uint64_t& value) {
  if (pos + digits > text.size()) return false;
  value = 0;
  for (int i = 0; i < digits; ++i) {
    const int v = HexValue(text[pos++]);
    if (v < 0) return false;
    value = value << 4 | static_cast<uint64_t>(v);
  }
  return true;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

std::optional<Guid> Guid::Parse(std::string_view text) {
  const bool braced = !text.empty() && text.front() == '{';
  if (braced) {
    if (text.size() != 38 || text.back() != '}') return std::nullopt;
    text = text.substr(1, 36);
  }
  if (text.size() != 36) return std::nullopt;
  Guid guid;
  size_t pos = 0;
  uint64_t value = 0;
  if (!ReadHex(text, pos, 8, value)) return std::nullopt;
  guid.data1 = static_cast<uint32_t>(value);
  if (!Expect(text, pos, '-') || !ReadHex(text, pos, 4, value)) return std::nullopt;
  guid.data2 = static_cast<uint16_t>(value);
  if (!Expect(text, pos, '-') || !ReadHex(text, pos, 4, value)) return std::nullopt;
  guid.data3 = static_cast<uint16_t>(value);
  if (!Expect(text, pos, '-')) return std::nullopt;
  for (int i = 0; i < 8; ++i) {
    if (i == 2 && !Expect(text, pos, '-')) return std::nullopt;
    if (!ReadHex(text, pos, 2, value)) return std::nullopt;
    guid.data4[i] = static_cast<uint8_t>(value);
  }
  return guid;
}

std::string Guid::ToString() const {
  char buffer[39];
  std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1,
                data2, data3, data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6],
                data4[7]);
  return buffer;
}

}  // namespace kt
