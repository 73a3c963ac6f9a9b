#include "kintrail/platform/text.h"

#include <array>

namespace kt {
namespace {

// Code points of Windows-1252 bytes 0x80-0x9F; the unassigned five map to
// themselves.
constexpr std::array<char16_t, 32> kWin1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Code points of CP437 bytes 0x80-0xFF.
constexpr std::array<char16_t, 128> kCp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8,
    0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2,
    0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1,
    0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD,
    0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562,
    0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560,
    0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393,
    0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6,
    0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0,
    0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// Base letters of Latin Extended-A (U+0100-U+017F); the few of that block
// that Windows-1252 holds never get here.
constexpr std::string_view kLatinExtendedABase =
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "IiIiJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOo"
    "OoOoRrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZzs";

// Base letters of the Latin-1 accented letters, for targets that lack them.
constexpr std::string_view kLatin1Base =
    "AAAAAAACEEEEIIII"  // U+00C0-U+00CF
    "DNOOOOO*OUUUUYPs"  // U+00D0-U+00DF
    "aaaaaaaceeeeiiii"  // U+00E0-U+00EF
    "dnooooo/ouuuuypy";  // U+00F0-U+00FF

// Closest ASCII letter for a character outside the target code page, or 0.
char ClosestLatinLetter(char32_t cp) {
  if (cp >= 0xC0 && cp <= 0xFF) return kLatin1Base[cp - 0xC0];
  if (cp >= 0x100 && cp <= 0x17F) return kLatinExtendedABase[cp - 0x100];
  switch (cp) {
    case 0x0218: return 'S';
    case 0x0219: return 's';
    case 0x021A: return 'T';
    case 0x021B: return 't';
    case 0x0160: return 'S';
    case 0x0161: return 's';
    case 0x017D: return 'Z';
    case 0x017E: return 'z';
    case 0x0178: return 'Y';
    case 0x1E9E: return 'S';
    case 0x2010:
    case 0x2011:
    case 0x2012: return '-';
    default: return 0;
  }
}

bool IsCombiningMark(char32_t cp) { return cp >= 0x0300 && cp <= 0x036F; }

int CodePointToCp437(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  for (size_t i = 0; i < kCp437High.size(); ++i)
    if (kCp437High[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

void AppendReference(std::string& out, char32_t cp) {
  out += "&#";
  out += std::to_string(static_cast<uint32_t>(cp));
  out += ';';
}

}  // namespace

char32_t Win1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kWin1252High[byte - 0x80];
  return byte;
}

int CodePointToWin1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (size_t i = 0; i < kWin1252High.size(); ++i)
    if (kWin1252High[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int32_t DecodeUtf8(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length;
  char32_t cp;
  char32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++pos;
    return -1;
  }
  if (pos + length > text.size()) {
    ++pos;
    return -1;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return -1;
    }
    cp = cp << 6 | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return -1;
  }
  pos += length;
  return static_cast<int32_t>(cp);
}

bool IsValidUtf8(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size())
    if (DecodeUtf8(text, pos) < 0) return false;
  return true;
}

std::string Win1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char c : text) AppendUtf8(out, Win1252ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToWin1252(std::string_view text, char replacement) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    const int32_t cp = DecodeUtf8(text, pos);
    if (cp < 0) {
      out += text[start];  // a stray byte is most likely already Windows-1252
      continue;
    }
    if (IsCombiningMark(static_cast<char32_t>(cp))) continue;
    const int mapped = CodePointToWin1252(static_cast<char32_t>(cp));
    if (mapped >= 0) {
      out += static_cast<char>(mapped);
    } else if (const char letter = ClosestLatinLetter(static_cast<char32_t>(cp))) {
      out += letter;
    } else {
      out += replacement;
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  const size_t units = bytes.size() / 2;
  const auto unit = [&](size_t i) -> char16_t {
    const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
    const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
    return static_cast<char16_t>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0));
  };
  for (size_t i = 0; i < units; ++i) {
    const char16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const char16_t low = unit(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
  }
  return out;
}

std::string Cp437ToWin1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
      continue;
    }
    const int mapped = CodePointToWin1252(kCp437High[byte - 0x80]);
    out += mapped >= 0 ? static_cast<char>(mapped) : '_';
  }
  return out;
}

std::string Win1252ToCp437(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const char32_t cp = Win1252ToCodePoint(static_cast<unsigned char>(c));
    int mapped = CodePointToCp437(cp);
    if (mapped < 0) {
      // Best fit, as the system's own conversion does: À becomes A.
      const char letter = ClosestLatinLetter(cp);
      mapped = letter && CodePointToCp437(static_cast<unsigned char>(letter)) >= 0
                   ? static_cast<unsigned char>(letter)
                   : '_';
    }
    out += static_cast<char>(mapped);
  }
  return out;
}

std::string Win1252ToLatin1WithReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const char32_t cp = Win1252ToCodePoint(static_cast<unsigned char>(c));
    if (cp <= 0xFF)
      out += c;
    else
      AppendReference(out, cp);
  }
  return out;
}

std::string Utf8ToLatin1WithReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    int32_t cp = DecodeUtf8(text, pos);
    if (cp < 0) cp = static_cast<int32_t>(Win1252ToCodePoint(static_cast<unsigned char>(text[start])));
    if (cp <= 0xFF)
      out += static_cast<char>(cp);
    else
      AppendReference(out, static_cast<char32_t>(cp));
  }
  return out;
}

unsigned char Win1252ToUpper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return c;
  }
}

unsigned char Win1252ToLower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

std::string Win1252UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(Win1252ToUpper(static_cast<unsigned char>(c)));
  return out;
}

std::string Win1252LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(Win1252ToLower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace kt
