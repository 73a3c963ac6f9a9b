#include "name_keys.h"

#include "kintrail/platform/text.h"

#if defined(KINTRAIL_SERVER_WITH_WINNOW)
#include <kintrail/winnow/mfunctions.h>
#endif

namespace kt::server {
namespace {

#if !defined(KINTRAIL_SERVER_WITH_WINNOW)
// Stand-in used only while the analysis library is not part of the build:
// the same Windows-1252 upper-casing and accent replacements.
std::string NormalizeNameWin1252(std::string_view text) {
  std::string upper = Win1252UpperCase(text);
  std::string out;
  out.reserve(upper.size());
  for (unsigned char c : upper) {
    switch (c) {
      case 0xC0: case 0xC1: case 0xC2: case 0xC3: case 0xC4: case 0xC5: out += 'A'; break;
      case 0xC6: out += "AE"; break;
      case 0xC7: out += 'C'; break;
      case 0xC8: case 0xC9: case 0xCA: case 0xCB: out += 'E'; break;
      case 0xCC: case 0xCD: case 0xCF: out += 'I'; break;
      case 0xD0: out += 'D'; break;
      case 0xD1: out += 'N'; break;
      case 0xD2: case 0xD3: case 0xD4: case 0xD5: case 0xD6: case 0xD8: out += 'O'; break;
      case 0xDA: case 0xDB: case 0xDC: out += 'U'; break;
      case 0xDD: out += 'Y'; break;
      case 0xDF: out += "SS"; break;
      default: out += static_cast<char>(c);
    }
  }
  return out;
}
#endif

// The one call into the analysis library's normalisation (Windows-1252).
std::string Normalize(std::string_view win1252) {
#if defined(KINTRAIL_SERVER_WITH_WINNOW)
  return kt::winnow::MFunctions::NormalizeName(win1252);
#else
  return NormalizeNameWin1252(win1252);
#endif
}

}  // namespace

std::string LastNameKey(std::string_view utf8) {
  return Win1252ToUtf8(Normalize(Utf8ToWin1252(utf8)));
}

std::string ContainsKey(std::string_view utf8) {
  const std::string normalized = Normalize(Utf8ToWin1252(utf8));
  std::string out;
  out.reserve(normalized.size());
  for (unsigned char c : normalized) {
    switch (c) {
      case 0xCE: out += 'I'; break;   // Î
      case 0xD9: out += 'U'; break;   // Ù
      case 0x8C: out += "OE"; break;  // Œ
      case 0x8A: out += 'S'; break;   // Š
      case 0x8E: out += 'Z'; break;   // Ž
      case 0x9F: out += 'Y'; break;   // Ÿ
      default: out += static_cast<char>(c);
    }
  }
  return Win1252ToUtf8(out);
}

}  // namespace kt::server
