// Text helpers of GEDCOM reading.
#include <kintrail/winnow/mfunctions.h>

#include <array>

#include <kintrail/platform/text.h>

#include "textscan.h"

namespace kt::winnow {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The scan of FirstYear (forward = true) or LastYear: a run of digits R; a
// non-digit ends the scan when R has more than 2 digits and empties R
// otherwise; the scan ends as soon as R has more than 3 digits. Returns the
// run (3 or 4 digits) in reading order, or an empty view. `digits` holds
// the run for LastYear, which collects it backwards.
std::string_view YearRun(std::string_view text, bool forward, char (&digits)[4]) {
  size_t length = 0;
  const size_t n = text.size();
  for (size_t k = 0; k < n; ++k) {
    const char c = forward ? text[k] : text[n - 1 - k];
    if (IsDigit(c)) {
      digits[length++] = c;
    } else if (length > 2) {
      break;
    } else {
      length = 0;
    }
    if (length > 3) break;
  }
  if (length != 3 && length != 4) return {};
  if (!forward)
    for (size_t i = 0; i < length / 2; ++i) std::swap(digits[i], digits[length - 1 - i]);
  return std::string_view(digits, length);
}

int YearNumber(std::string_view run) {
  int value = 0;
  for (char c : run) value = value * 10 + (c - '0');
  return value;
}

// Folded spelling of each upper-case Windows-1252 letter that loses its
// accent; nullptr for characters that stay as they are.
constexpr std::array<const char*, 256> MakeFoldTable() {
  std::array<const char*, 256> table{};
  for (int c : {0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5}) table[c] = "A";
  table[0xC6] = "AE";
  table[0xC7] = "C";
  for (int c : {0xC8, 0xC9, 0xCA, 0xCB}) table[c] = "E";
  for (int c : {0xCC, 0xCD, 0xCF}) table[c] = "I";  // not Î
  table[0xD0] = "D";
  table[0xD1] = "N";
  for (int c : {0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8}) table[c] = "O";
  for (int c : {0xDA, 0xDB, 0xDC}) table[c] = "U";  // not Ù
  table[0xDD] = "Y";
  table[0xDF] = "SS";
  return table;
}
constexpr auto kFold = MakeFoldTable();

// Latin-1 letter for an ANSEL diacritic (225..240) followed by a letter, or 0.
unsigned char AnselPair(unsigned char diacritic, unsigned char letter) {
  struct Pair {
    unsigned char letter;
    unsigned char result;
  };
  static constexpr Pair kGrave[] = {{'A', 192}, {'E', 200}, {'I', 204}, {'O', 210}, {'U', 217},
                                    {'a', 224}, {'e', 232}, {'i', 236}, {'o', 242}, {'u', 249}};
  static constexpr Pair kAcute[] = {{'A', 193}, {'E', 201}, {'I', 205}, {'O', 211},
                                    {'U', 218}, {'Y', 221}, {'a', 225}, {'e', 233},
                                    {'i', 237}, {'o', 243}, {'u', 250}, {'y', 253}};
  static constexpr Pair kCircumflex[] = {{'A', 194}, {'E', 202}, {'I', 206}, {'O', 212}, {'a', 226},
                                         {'e', 234}, {'i', 238}, {'o', 244}, {'u', 251}};
  static constexpr Pair kTilde[] = {{'A', 195}, {'N', 209}, {'O', 213}, {'a', 227}, {'n', 241}, {'o', 245}};
  static constexpr Pair kUmlaut[] = {{'A', 196}, {'E', 203}, {'I', 207}, {'O', 214}, {'U', 220},
                                     {'a', 228}, {'e', 235}, {'i', 239}, {'o', 246}, {'u', 252},
                                     {'y', 253}};
  static constexpr Pair kRing[] = {{'a', 229}};
  static constexpr Pair kCedilla[] = {{'C', 199}, {'c', 231}};
  auto find = [letter](const auto& pairs) -> unsigned char {
    for (const Pair& p : pairs)
      if (p.letter == letter) return p.result;
    return 0;
  };
  switch (diacritic) {
    case 225: return find(kGrave);
    case 226: return find(kAcute);
    case 227: return find(kCircumflex);
    case 228: return find(kTilde);
    case 232: return find(kUmlaut);
    case 234: return find(kRing);
    case 240: return find(kCedilla);
    default: return 0;
  }
}

constexpr std::array<unsigned char, 256> MakeIbmPcTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  const unsigned char pairs[][2] = {
      {128, 199}, {129, 252}, {130, 233}, {131, 226}, {132, 228}, {133, 224}, {135, 231}, {136, 234},
      {137, 235}, {138, 232}, {139, 239}, {140, 238}, {141, 236}, {142, 196}, {144, 201}, {149, 242},
      {150, 251}, {151, 249}, {160, 225}, {161, 237}, {162, 243}, {163, 250}, {164, 241}};
  for (const auto& p : pairs) table[p[0]] = p[1];
  return table;
}
constexpr auto kIbmPc = MakeIbmPcTable();

}  // namespace

namespace textscan {

void GivenNames(std::string_view line, std::string& out) {
  out.clear();
  const size_t at = line.find("NAME");
  if (at == std::string_view::npos) return;
  const std::string_view rest = line.substr(at + 4);
  const std::string_view surname = Between(rest, '/');
  // Every occurrence of "/surname/" is removed, scanning left to right.
  auto matchAt = [&](size_t i) {
    return i + surname.size() + 2 <= rest.size() && rest[i] == '/' && rest.substr(i + 1, surname.size()) == surname &&
           rest[i + 1 + surname.size()] == '/';
  };
  size_t pos = 0;
  size_t i = 0;
  while ((i = rest.find('/', i)) != std::string_view::npos) {
    if (matchAt(i)) {
      out.append(rest.substr(pos, i - pos));
      i += surname.size() + 2;
      pos = i;
    } else {
      ++i;
    }
  }
  out.append(rest.substr(pos));
  const std::string_view trimmed = TrimSpaces(out);
  if (trimmed.size() != out.size()) out.assign(std::string(trimmed));
}

void NormalizeName(std::string_view text, std::string& out) {
  // Upper case and folding of each byte, worked out once.
  struct Table {
    std::array<const char*, 256> folded{};
    std::array<unsigned char, 256> upper{};
    Table() {
      for (int c = 0; c < 256; ++c) {
        upper[c] = kt::Win1252ToUpper(static_cast<unsigned char>(c));
        folded[c] = kFold[upper[c]];
      }
    }
  };
  static const Table table;
  // A folded letter is at most two letters.
  out.resize(text.size() * 2);
  char* o = out.data();
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (const char* folded = table.folded[byte]) {
      *o++ = folded[0];
      if (folded[1] != '\0') *o++ = folded[1];
    } else {
      *o++ = static_cast<char>(table.upper[byte]);
    }
  }
  out.resize(static_cast<size_t>(o - out.data()));
}

void UpperCase(std::string_view text, std::string& out) {
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    out[i] = static_cast<char>(kt::Win1252ToUpper(static_cast<unsigned char>(text[i])));
}

int FirstYearNumber(std::string_view text) {
  char digits[4];
  return YearNumber(YearRun(text, true, digits));
}

int LastYearNumber(std::string_view text) {
  char digits[4];
  return YearNumber(YearRun(text, false, digits));
}

}  // namespace textscan

namespace MFunctions {

std::string TagValue(std::string_view line) { return std::string(textscan::TagValue(line)); }

std::string XrefId(std::string_view line) { return std::string(textscan::XrefId(line)); }

std::string Surname(std::string_view line) { return std::string(textscan::Surname(line)); }

std::string TextBetween(std::string_view text, char mark) { return std::string(textscan::Between(text, mark)); }

std::string GivenNames(std::string_view line) {
  std::string out;
  textscan::GivenNames(line, out);
  return out;
}

std::string FirstYear(std::string_view text) {
  char digits[4];
  return std::string(YearRun(text, true, digits));
}

std::string LastYear(std::string_view text) {
  char digits[4];
  return std::string(YearRun(text, false, digits));
}

std::string NormalizeName(std::string_view text) {
  std::string out;
  textscan::NormalizeName(text, out);
  return out;
}

std::string NormalizeNameUtf8(std::string_view utf8) {
  return kt::Win1252ToUtf8(NormalizeName(kt::Utf8ToWin1252(utf8)));
}

std::string AnselToAnsi(std::string_view text) {
  std::string result(text.size(), ' ');
  size_t out = 0;
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 225 || i + 1 == text.size()) {
      result[out++] = text[i];
      i += 1;
      continue;
    }
    const auto n = static_cast<unsigned char>(text[i + 1]);
    if (const unsigned char combined = AnselPair(c, n)) {
      result[out++] = static_cast<char>(combined);
    } else {
      result[out++] = text[i];
      result[out++] = text[i + 1];
    }
    i += 2;
  }
  return result;
}

std::string IbmPcToAnsi(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(kIbmPc[static_cast<unsigned char>(c)]);
  return result;
}

}  // namespace MFunctions
}  // namespace kt::winnow
